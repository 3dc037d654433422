#include "frmevasord.h"

#include "chiusura.h"
#include "contesto.h"
#include "finestraconnessione.h"
#include "guard.h"
#include "menuclient.h"
#include "menucomandi.h"
#include "modhtmlhelp.h"
#include "risvid.h"
#include "tastivb.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int32_t kContestoAiuto = 35300;
} // namespace

frmEvasOrd::frmEvasOrd(QWidget *parent)
    : QWidget(parent), labDitta(new QLabel(this)), ComAnnulla(new QPushButton(QStringLiteral("&Annulla"), this))
{
    setObjectName(QStringLiteral("frmEvasOrd"));
    setWindowTitle(QStringLiteral("Evasione Ordini"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(600, 400);
    labDitta->setObjectName(QStringLiteral("labDitta"));
    labDitta->setGeometry(20, 20, 560, 30);
    ComAnnulla->setObjectName(QStringLiteral("ComAnnulla"));
    ComAnnulla->setGeometry(480, 350, 100, 30);
    ImpostaHelpContextID(this, kContestoAiuto);
    connect(ComAnnulla, &QPushButton::clicked, this, [this] { close(); });
}

void frmEvasOrd::Form_Load()
{
    miLoadOk = -1;
    try {
        setWindowTitle(windowTitle() + QStringLiteral(" - ") + gsDescAzie);
        labDitta->setText(gsDescAzie);
        double fattore = -2;
        RisVidForm(this, false, fattore);
        finestraConn().Scarica();
        miLoadOk = 1;
    } catch (const AppError &e) {
        SegnalaErrore(e, windowTitle() + QStringLiteral("\r\n"), QString());
        gbChiusuraDaMenu = true;
    }
}

void frmEvasOrd::PassaA()
{
    ggMenuClient->AggiungiPassaA(windowTitle(), objectName(), osKeySec);
}

void frmEvasOrd::closeEvent(QCloseEvent *e)
{
    guarded("frmEvasOrd::Form_Unload", [&] {
        if (miLoadOk == 1)
            RitornaAlChiamante(this, true);
    });
    e->accept();
}

void frmEvasOrd::keyPressEvent(QKeyEvent *e)
{
    int16_t codice = KeyCodeVb(*e);
    bool gestito = false;
    guarded("frmEvasOrd::Form_KeyDown", [&] { gestito = GestioneF1(codice, ShiftVb(e->modifiers()), this, -1); });
    if (!gestito)
        QWidget::keyPressEvent(e);
}
