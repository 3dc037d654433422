// The program end inside the test process: the return to the caller or to the menu, the close
// timer, the refusals under a modal window or a run, and the reason cleared at each attempt.
#include "chiusura.h"
#include "contesto.h"
#include "elaborazione.h"
#include "eventiaiuto.h"
#include "gestoreaiuto.h"
#include "forms.h"
#include "frmprincipale.h"
#include "gestioneforms.h"
#include "menucomandi.h"
#include "shellinprova.h"

#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

FormDiProva *apri(const QString &keySec = "K1", const QString &keyLancia = {})
{
    EXPECT_TRUE(AttivaForm("frmEvasOrd", true, keySec, keyLancia, keyLancia.isEmpty() ? QString() : "SEC9",
                           keyLancia.isEmpty() ? QString() : "ritorno", true));
    return dynamic_cast<FormDiProva *>(Forms::Item(IndiceForm("frmEvasOrd")));
}

QStringList righe(ShellInProva &s)
{
    return journalLines(s.menu().journal());
}

TEST(Chiusura, ClosingTheWindowReturnsToItsCallerOrToTheMenuThenEnds)
{
    {
        ShellInProva s;
        FormDiProva *f = apri("K1", "VENDITE");
        ASSERT_TRUE(f);
        f->close();
        ASSERT_TRUE(s.attendiFine());
        const QStringList r = righe(s);
        const qsizetype lancio = r.indexOf(R"(chiamata AttivaProgramma("VENDITE", "SEC9", "ritorno") => Empty)");
        const qsizetype chiusa = r.indexOf(R"(chiamata FormChiusa("K1") => Empty)");
        ASSERT_GE(lancio, 0);
        EXPECT_GT(chiusa, lancio);
        EXPECT_EQ(s.chiamate().last(), "Scollega");
        EXPECT_FALSE(s.chiamate().contains("MostraMenu"));
    }
    {
        ShellInProva s;
        apri("K1")->close();
        ASSERT_TRUE(s.attendiFine());
        EXPECT_TRUE(righe(s).contains(R"(chiamata MostraMenu("Tutti") => Empty)"));
        EXPECT_TRUE(righe(s).contains(R"(chiamata LeggiParametro("MenuProcId", "") => Empty)"));
        EXPECT_FALSE(s.chiamate().contains("AttivaProgramma"));
    }
    {
        // while the menu's "fine" is handled nothing is relaunched
        ShellInProva s;
        apri("K1", "VENDITE");
        EXPECT_TRUE(s.menu().eseguiComando("fine").sameAs(Variant(QString())));
        EXPECT_EQ(s.fini, 1);
        EXPECT_FALSE(s.chiamate().contains("AttivaProgramma"));
        EXPECT_FALSE(s.chiamate().contains("MostraMenu"));
        EXPECT_TRUE(s.chiamate().contains("FormChiusa"));
        EXPECT_EQ(Forms::Count(), 0);
    }
}

TEST(Chiusura, AMenuThatDoesNotAnswerIsToldAndTheProgramStillEnds)
{
    ShellInProva s;
    s.dialoghi->rispondi(1);
    s.menu().responder().failCall("MostraMenu", 5);
    apri("K1")->close();
    ASSERT_TRUE(s.attendiFine());
    EXPECT_EQ(s.dialoghi->testi(), QStringList{"Il menu non è più disponibile"});

    ShellInProva t;
    t.dialoghi->rispondi(1);
    t.menu().responder().failCall("AttivaProgramma", 5);
    apri("K1", "VENDITE")->close();
    ASSERT_TRUE(t.attendiFine());
    EXPECT_EQ(t.dialoghi->testi(), QStringList{"Il menu non è più disponibile"});
}

TEST(Chiusura, AModalWindowOrARunHoldsTheProgramAndTheReasonIsClearedEachTime)
{
    ShellInProva s;
    FormDiProva *f = apri();
    QString durante;
    QDialog modale;
    QTimer::singleShot(0, &modale, [&] {
        durante = s.menu().eseguiComando("fine").text();
        modale.accept();
    });
    modale.exec();
    EXPECT_EQ(durante, kStatoModale);
    EXPECT_EQ(gsStatoModale, kStatoModale);
    EXPECT_EQ(s.fini, 0);
    EXPECT_TRUE(FormCaricata("frmEvasOrd"));

    {
        ElaborazioneInCorso run;
        EXPECT_EQ(s.menu().eseguiComando("fine").text(), kStatoModale);
    }
    // a window that will not close: the reason is no longer the modal one
    f->rifiutaChiusura = true;
    EXPECT_EQ(s.menu().eseguiComando("fine").text(), "No Chiudi");
    EXPECT_TRUE(gsStatoModale.isEmpty());
    EXPECT_FALSE(formPrincipale()->isVisible());
    f->rifiutaChiusura = false;
    EXPECT_EQ(s.menu().eseguiComando("fine").text(), "");
    EXPECT_EQ(s.fini, 1);
}

TEST(Chiusura, TheCloseTimerRetriesUntilTheModalWindowHasGone)
{
    ShellInProva s;
    apri();
    QDialog modale;
    QTimer::singleShot(0, &modale, [] { RichiediChiusura(false); });
    // What the close request left while the modal window was still open (looked at from inside
    // it: once it is accepted a pending retry may end the program before exec returns).
    int finiDuranteModale = -1, oiChiudi = -1, intervallo = -1;
    QTimer::singleShot(350, &modale, [&] {
        finiDuranteModale = s.fini;
        if (formPrincipale()) {
            oiChiudi = formPrincipale()->oiChiudi;
            intervallo = formPrincipale()->timChiudi->interval();
        }
        modale.accept();
    });
    modale.exec();
    EXPECT_EQ(finiDuranteModale, 0);
    EXPECT_EQ(oiChiudi, 1);
    EXPECT_EQ(intervallo, 100);
    ASSERT_TRUE(s.attendiFine(1000));
    EXPECT_EQ(Forms::Count(), 0);
}

TEST(Chiusura, ACloseRequestedDuringARunIsCarriedOutWhenTheRunEnds)
{
    {
        ShellInProva s;
        apri();
        {
            ElaborazioneInCorso run;
            ElaborazioneInCorso notifica; // the progress notice, ending with the run
            RichiediChiusura(false);
            // the close timer runs meanwhile (the run lets events through)
            EXPECT_FALSE(s.attendiFine(300));
            EXPECT_TRUE(FormCaricata("frmEvasOrd"));
        }
        ASSERT_TRUE(s.attendiFine(1000));
        EXPECT_EQ(Forms::Count(), 0);
        EXPECT_EQ(s.fini, 1);
    }
    {
        // the menu's "fine" gets its refusal as its answer and is not carried out later
        ShellInProva s;
        apri();
        {
            ElaborazioneInCorso run;
            EXPECT_EQ(s.menu().eseguiComando("fine").text(), kStatoModale);
        }
        EXPECT_FALSE(s.attendiFine(300));
        EXPECT_TRUE(FormCaricata("frmEvasOrd"));
    }
}

TEST(Chiusura, TimVariePassesTheFocusOnlyToALoadedForm)
{
    ShellInProva s;
    frmPrincipale *p = formPrincipale();
    p->oiFlagVarie = 1;
    p->osNomeForm = "frmNonCaricata";
    p->TimVarie->start(0);
    ASSERT_TRUE(ShellInProva::attendi([&] { return p->oiFlagVarie == 0; }, 1000));
    EXPECT_FALSE(p->TimVarie->isActive());

    apri();
    p->oiFlagVarie = 1;
    p->osNomeForm = "FRMEVASORD";
    p->TimVarie->start(0);
    ASSERT_TRUE(ShellInProva::attendi([&] { return !p->TimVarie->isActive(); }, 1000));
    EXPECT_EQ(p->oiFlagVarie, 1);
}

TEST(AttivaForm, ASecondActivationHandsOverTheKeysWithoutLoadingAgain)
{
    ShellInProva s;
    FormDiProva *f = apri("K1");
    f->activateWindow();
    EXPECT_TRUE(AttivaForm("frmEvasOrd", true, "K2", "VENDITE", "SEC9", "ritorno", true));
    EXPECT_EQ(FormDiProva::create, 1);
    EXPECT_EQ(FormDiProva::attivazioniDaAltri, 1);
    EXPECT_EQ(f->osKeySec, "K2");
    EXPECT_EQ(f->osKeyLancia, "VENDITE");
    // without a launching program the keys stay
    EXPECT_TRUE(AttivaForm("frmEvasOrd", true, "K3", "", "", "", true));
    EXPECT_EQ(f->osKeySec, "K2");
    EXPECT_EQ(Forms::Count(), 2);
}

TEST(AttivaForm, AWindowWhoseLoadFailsIsUnloadedAndTheProgramEnds)
{
    ShellInProva s;
    RegistraFormProgramma("frmEvasOrd", [] { return std::make_unique<FormDiProva>(-1); });
    EXPECT_FALSE(AttivaForm("frmEvasOrd", true, "K1", "", "", "", true));
    EXPECT_EQ(s.fini, 1);
    EXPECT_FALSE(FormCaricata("frmEvasOrd"));
    EXPECT_FALSE(s.chiamate().contains("FormChiusa"));
}

TEST(SegnalaErrore, GoesToTheMenuOrIsShownHereWhenTheMenuIsGone)
{
    ShellInProva s;
    SegnalaErrore("Impossibile aprire il programma richiesto", 5, "Prima ", " dopo");
    EXPECT_EQ(s.menu().responder().messaggi(),
              QStringList{"Prima Errore(5): Impossibile aprire il programma richiesto dopo"});
    s.menu().responder().failCall("InviaComando", 5);
    s.dialoghi->rispondi(1);
    SegnalaErrore(AppError(3260, "Record bloccato", "LockGest"));
    EXPECT_EQ(s.dialoghi->testi(), QStringList{"Errore(3260): Record bloccato - LockGest"});
}

TEST(MessaggioEChiudi, ShowsTheMessageThenEndsTheProgram)
{
    ShellInProva s;
    s.dialoghi->rispondi(1);
    MessaggioEChiudi("La form richiesta e' inesistente", PulsantiMsg::Ok, true);
    EXPECT_EQ(s.dialoghi->testi(), QStringList{"La form richiesta e' inesistente"});
    EXPECT_FALSE(formPrincipale()->isVisible());
    ASSERT_TRUE(s.attendiFine());
}

TEST(Comandi, TheCommandSinkKeepsTheLastCommandAndAnEmptyArrayDoesNoHarm)
{
    ShellInProva s;
    EXPECT_TRUE(s.menu().eseguiComando("sconosciuto", "K", Variant(VariantArray{})).sameAs(Variant(QString())));
    EXPECT_EQ(ggMenuComandi->UltCom, "sconosciuto");
    EXPECT_EQ(ggMenuComandi->UltParam, "");
    VariantArray a;
    a.items = {Variant("primo"), Variant(int32_t{2})};
    s.menu().eseguiComando("keyprgsec", "K", Variant(a));
    EXPECT_EQ(ggMenuComandi->UltParam, "primo");
    EXPECT_TRUE(ggMenuComandi->UltParamVar.isArray());
}

TEST(Comandi, TheKeysChosenInTheLookupWindowAnswerKeyPrgPrimAndKeyPrgSec)
{
    ShellInProva s;
    scEventiAiuto eventi;
    emit eventi.ogAiuto()->LanciaKeyPrim("ARTICOLI");
    emit eventi.ogAiuto()->LanciaKeySec("SEC4");
    EXPECT_EQ(s.menu().eseguiComando("keyprgprim").text(), "ARTICOLI");
    EXPECT_EQ(s.menu().eseguiComando("KeyPrgSec").text(), "SEC4");
    // the main menu asked from the lookup window
    emit eventi.ogAiuto()->ClsMainMenuFrm();
    EXPECT_TRUE(s.chiamate().contains("MostraMenu"));
    Variant ritorno;
    emit eventi.ogAiuto()->ClsPrepDecod("id", "Clienti", "Codice", "C1", false, "", ritorno);
    EXPECT_TRUE(ritorno.sameAs(Variant(true)));
    gsKeyPrgPrim.clear();
    gsKeyPrgSec.clear();
}

} // namespace
