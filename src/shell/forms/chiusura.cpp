#include "chiusura.h"

#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "elaborazione.h"
#include "formprogramma.h"
#include "forms.h"
#include "frmprincipale.h"
#include "gestioneforms.h"
#include "menuclient.h"
#include "menucomandi.h"
#include "mostraform.h"
#include "testoerrore.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

std::function<void()> &fineProcesso()
{
    static std::function<void()> f;
    return f;
}

void terminaProcesso()
{
    if (fineProcesso()) {
        fineProcesso()();
        return;
    }
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void messaggio(const QString &testo)
{
    dialoghi().MsgBox(testo, PulsantiMsg::Ok, IconaMsg::Nessuna, QString());
}

const QString kMenuNonDisponibile = QStringLiteral("Il menu non è più disponibile");

} // namespace

void impostaFineProcesso(std::function<void()> fine)
{
    fineProcesso() = std::move(fine);
}

void RichiediChiusura(bool subito)
{
    try {
        if (subito) {
            int16_t flag = 1;
            TentaChiusura(flag);
            return;
        }
        frmPrincipale *p = formPrincipale();
        if (!p)
            throw erroreOggettoNonImpostato();
        p->oiChiudi = 1;
        p->oiTmpAttesa = 100;
        p->timChiudi->stop();
        p->timChiudi->setInterval(1);
        p->timChiudi->start();
    } catch (...) {
        messaggio(QStringLiteral("Non riesco a chiudere il programma"));
    }
}

bool ChiudiConTimer()
{
    frmPrincipale *p = formPrincipale();
    if (!p) {
        RichiediChiusura(true);
        return true;
    }
    p->oiChiudi = 0;
    p->timChiudi->start();
    return true;
}

bool FineProgramma()
{
    // No pending events are run here: a queued command of the menu server would be handled in
    // the middle of the end.
    gsStatoModale.clear();
    // A modal window on the screen, or a run writing its documents: the program stays.
    if (UtilGenerali::ChiusuraImpedita() || ElaborazioneAttiva()) {
        gsStatoModale = QString::fromLatin1(kStatoModale);
        // A close request (not the menu's "fine", which gets the refusal as its answer) is
        // carried out once the run has ended.
        if (ElaborazioneAttiva() && !gbChiusuraDaMenu)
            RinviaAFineElaborazione([] {
                if (formPrincipale())
                    RichiediChiusura(false);
            });
        return false;
    }
    frmPrincipale *principale = formPrincipale();
    if (principale)
        principale->show();
    int16_t esito = 0;
    if (!ScaricaForms(esito, QString::fromLatin1(kCaptionPrincipale))) {
        if (principale)
            principale->hide();
        return false;
    }
    try {
        ScollegaMenu();
        if (principale)
            Forms::Scarica(principale);
        ggFrmPrincipale = nullptr;
    } catch (const AppError &e) {
        TestoErrore(e);
        return false;
    }
    terminaProcesso();
    return true;
}

void ScollegaMenu()
{
    try {
        ggDbDao.reset();
    } catch (...) {
    }
    try {
        ggDbAzienda.reset();
    } catch (...) {
    }
    try {
        if (ggMenuClient)
            ggMenuClient->Scollega();
    } catch (...) {
    }
    std::shared_ptr<scMenuComandiClie> comandi = ggMenuComandi.condiviso();
    std::shared_ptr<MenuClient> client = ggMenuClient.condiviso();
    ggMenuComandi.reset();
    ggMenuClient.reset();
    // The last references go with this call once the event loop runs it.
    if (QCoreApplication::instance() && (comandi || client))
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [comandi, client] {}, Qt::QueuedConnection);
}

void RitornaAlChiamante(QWidget *form, bool ritorno)
{
    FormProgramma *f = formProgramma(form);
    // Nothing goes back through a menu link that has been lost.
    const bool menuPerso = ggMenuClient && ggMenuClient->Interrotto();
    if (ritorno && !gbChiusuraDaMenu && !menuPerso) {
        if (!f || f->osKeyLancia.isEmpty()) {
            TornaAlMenu();
        } else {
            try {
                LanciaProgramma(f->osKeyLancia, f->osKeySecLancia, f->osParamLancia);
            } catch (const AppError &) {
                // the window still closes and the program still ends
                messaggio(kMenuNonDisponibile);
            }
        }
    }
    gbChiusuraDaMenu = false;
    RichiediChiusura(false);
    try {
        if (f && !f->osKeySec.isEmpty() && ggMenuClient)
            ggMenuClient->FormChiusa(f->osKeySec);
    } catch (...) {
    }
}

void LanciaProgramma(const QString &keyProgramma, const QString &keySec, const QString &param)
{
    ggMenuComandi->ogMenuClient()->AttivaProgramma(keyProgramma, keySec, param);
}

void TornaAlMenu()
{
    bool riuscito = true;
    try {
        ggMenuClient->MostraMenu(QStringLiteral("Tutti"));
    } catch (...) {
        riuscito = false;
    }
    // The menu's process would be brought to the front by its task id; the desktop here
    // lets only the menu itself come forward, which MostraMenu asks.
    try {
        if (ggMenuClient)
            ggMenuClient->LeggiParametro(QStringLiteral("MenuProcId"));
    } catch (...) {
    }
    if (!riuscito)
        messaggio(kMenuNonDisponibile);
}
