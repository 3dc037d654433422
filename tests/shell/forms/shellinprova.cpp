#include "shellinprova.h"

#include "avvio.h"
#include "chiusura.h"
#include "contesto.h"
#include "forms.h"
#include "frmprincipale.h"
#include "menuclient.h"
#include "menucomandi.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

void FormDiProva::closeEvent(QCloseEvent *e)
{
    if (rifiutaChiusura) {
        e->ignore();
        return;
    }
    if (m_caricata == 1)
        RitornaAlChiamante(this, true);
    e->accept();
}

ShellInProva::ShellInProva()
{
    m_agganci = impostaAgganci({[] { ScollegaMenu(); }, [] { return Variant(FineProgramma()); }});
    impostaFineProcesso([this] { ++fini; });
    RegistraFormProgramma(QStringLiteral("frmEvasOrd"), [] { return std::make_unique<FormDiProva>(); });
    CaricaFormPrincipale();
    ggMenuComandi = std::make_shared<scMenuComandiClie>();
    ggMenuComandi->impostaOgMenuClient(ggMenuClient.condiviso());
    FormDiProva::create = 0;
    FormDiProva::attivazioniDaAltri = 0;
}

ShellInProva::~ShellInProva()
{
    for (QWidget *form : Forms::Elenco()) {
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        delete form;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    impostaFineProcesso({});
    impostaAgganci(std::move(m_agganci));
    RegistraFormProgramma(QStringLiteral("frmEvasOrd"), {});
}

QStringList ShellInProva::chiamate() const
{
    return journalCalls(const_cast<ShellInProva *>(this)->menu().journal());
}

bool ShellInProva::attendiFine(int ms)
{
    return attendi([this] { return fini > 0; }, ms);
}

bool ShellInProva::attendi(const std::function<bool()> &fatto, int ms)
{
    const QDeadlineTimer scadenza(ms);
    while (!fatto()) {
        if (scadenza.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}
