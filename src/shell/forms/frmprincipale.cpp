#include "frmprincipale.h"

#include "contesto.h"
#include "gestioneforms.h"
#include "forms.h"
#include "guard.h"

#include <QLabel>
#include <QTimer>

namespace {

// The design intervals: a close armed without a new interval still fires.
constexpr int kIntervalloChiudi = 100;
constexpr int kIntervalloVarie = 100;

} // namespace

frmPrincipale::frmPrincipale(QWidget *parent)
    : QWidget(parent), lblChiusura(new QLabel(QStringLiteral("Chiusura in corso"), this)), TimVarie(new QTimer(this)),
      timChiudi(new QTimer(this))
{
    setObjectName(QStringLiteral("frmPrincipale"));
    setWindowTitle(QString::fromLatin1(kCaptionPrincipale));
    lblChiusura->setObjectName(QStringLiteral("lblChiusura"));
    lblChiusura->setGeometry(20, 20, 240, 30);
    resize(280, 70);
    TimVarie->setObjectName(QStringLiteral("TimVarie"));
    TimVarie->setInterval(kIntervalloVarie);
    timChiudi->setObjectName(QStringLiteral("timChiudi"));
    timChiudi->setInterval(kIntervalloChiudi);
    connect(timChiudi, &QTimer::timeout, this, [this] { guarded("frmPrincipale::timChiudi_Timer", [&] { timChiudi_Timer(); }); });
    connect(TimVarie, &QTimer::timeout, this, [this] { guarded("frmPrincipale::timVarie_Timer", [&] { timVarie_Timer(); }); });
}

void frmPrincipale::Form_Load()
{
    obRiprova = true;
    oiTmpAttesa = 3000;
}

void frmPrincipale::timChiudi_Timer()
{
    timChiudi->stop();
    const int16_t flag = oiChiudi;
    if (TentaChiusura(oiChiudi))
        return;
    oiChiudi = flag;
    timChiudi->setInterval(oiTmpAttesa);
    timChiudi->start();
}

void frmPrincipale::timVarie_Timer()
{
    TimVarie->stop();
    if (oiFlagVarie == 1) {
        const int16_t i = IndiceForm(osNomeForm);
        if (i >= 0) {
            if (QWidget *form = Forms::Item(i)) {
                form->activateWindow();
                form->setFocus(Qt::OtherFocusReason);
            }
            return;
        }
    }
    oiFlagVarie = 0;
}

frmPrincipale *formPrincipale()
{
    return qobject_cast<frmPrincipale *>(ggFrmPrincipale.data());
}

frmPrincipale *CaricaFormPrincipale()
{
    auto nuova = std::make_unique<frmPrincipale>();
    frmPrincipale *p = nuova.get();
    ggFrmPrincipale = Forms::Carica(std::move(nuova));
    p->Form_Load();
    return p;
}
