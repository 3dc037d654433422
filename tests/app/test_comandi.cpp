// The menu server's commands to the running program.
#include "programmadiprova.h"

#include <gtest/gtest.h>

namespace {

Variant matrice(std::vector<Variant> elementi)
{
    VariantArray a;
    a.items = std::move(elementi);
    return Variant(a);
}

class Comandi : public ::testing::Test {
protected:
    void avvia(QStringList risposte = {})
    {
        p.risposteDialoghi(std::move(risposte));
        p.avvia();
        ASSERT_TRUE(p.attendiAvvio());
    }
    QString risposta(const QString &com, const QString &keySec = {}, const Variant &param = {})
    {
        const auto r = p.menu().command(com, keySec, param, 15000);
        return r ? r->text() : QStringLiteral("(nessuna risposta)");
    }
    void termina()
    {
        EXPECT_EQ(risposta("fine"), "");
        EXPECT_EQ(p.attendiFine(), 0);
    }
    ProgrammaDiProva p{EVASORD_PROG};
};

TEST_F(Comandi, EachWordGetsItsAnswerAndMalformedInvoiceNoticesShowNothing)
{
    avvia();
    const auto esiste = p.menu().command("esiste");
    ASSERT_TRUE(esiste);
    EXPECT_TRUE(esiste->sameAs(Variant(true)));
    EXPECT_EQ(risposta("paramprgclie"), "$Default$");
    for (const char *com : {"comandoprgclie", "keyprgprim", "keyprgsec", "sconosciuto", "ritornoa"})
        EXPECT_EQ(risposta(com), "") << com;
    for (const Variant &param : {Variant(int32_t{5}), matrice({0, 0}), matrice({}), matrice({0, 0, "x", "y"})})
        EXPECT_EQ(risposta("FEInvio", {}, param), "");
    EXPECT_EQ(risposta("FEAttesa", {}, matrice({0, 0, int32_t{0}, int32_t{0}})), "");
    EXPECT_TRUE(p.dialoghi().isEmpty());

    EXPECT_EQ(risposta("FEInvio", {}, matrice({0, 0, int32_t{0}, "", 0, 0, int32_t{1234}})), "");
    EXPECT_EQ(risposta("FEInvio", {}, matrice({0, 0, int32_t{17}, "rifiutate", 0, 0, int32_t{0}})), "");
    EXPECT_EQ(risposta("FEAttesa", {}, matrice({0, 0, int32_t{0}, int32_t{3}})), "");
    const QStringList testi = p.testiDialoghi();
    EXPECT_EQ(testi, (QStringList{"Inviate 1.234 fatture",
                                  "Errore nell'invio delle fatture\r\nErr: 17 - rifiutate",
                                  "Ci sono 3 fatture in attesa"}));
    EXPECT_EQ(p.dialoghi().front().pulsanti, QStringList{"&Ok"});
    termina();
}

TEST_F(Comandi, FineWithAModalDialogOpenIsRefusedThenEndsTheProgram)
{
    avvia({"attesa:4000"});
    // the notice stays open, as a user would leave it; the next commands come meanwhile
    const uint32_t avviso = p.menu().sendCommand("FEAttesa", {}, matrice({0, 0, int32_t{0}, int32_t{2}}));
    EXPECT_EQ(risposta("fine"), "Maschera Modal");
    EXPECT_EQ(risposta("FINE"), "Maschera Modal");
    const auto r = p.menu().awaitAnswer(avviso, 15000);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->text(), "");
    EXPECT_FALSE(p.chiamate().contains("Scollega"));
    termina();
}

TEST_F(Comandi, PrepPassaAListsTheWindowAndAttivaHandsOverTheLaunchKeys)
{
    RichiestaLancio lancio;
    lancio.osParam = "/F frmEvasOrd";
    lancio.osChiLancia = "VENDITE";
    lancio.osKeySecLancia = "SEC9";
    lancio.osParamLancia = "ritorno";
    lancio.osTipoForm = "0";
    p.config().lanci["KEY2"] = lancio;
    avvia();
    EXPECT_EQ(risposta("preppassaa", "SEC1"), "");
    EXPECT_TRUE(p.menu().journalLines().contains(
        R"(chiamata AggiungiPassaA("Evasione Ordini - Ditta dimostrativa S.r.l.", "frmEvasOrd", "") => Empty)"));

    EXPECT_EQ(risposta("attiva", "KEY2"), "");
    EXPECT_EQ(risposta("preppassaa", "KEY2"), "");
    EXPECT_TRUE(p.menu().journalLines().contains(
        R"(chiamata AggiungiPassaA("Evasione Ordini - Ditta dimostrativa S.r.l.", "frmEvasOrd", "KEY2") => Empty)"));

    // "fine" closes the window without handing control back to its launching program
    termina();
    const QStringList chiamate = p.chiamate();
    EXPECT_FALSE(chiamate.contains("AttivaProgramma"));
    EXPECT_FALSE(chiamate.contains("MostraMenu"));
    EXPECT_TRUE(p.menu().journalLines().contains(R"(chiamata FormChiusa("KEY2") => Empty)"));
    EXPECT_EQ(chiamate.last(), "Scollega");
}

TEST_F(Comandi, PassaAToAnotherWindowEndsTheProgramWithItsMessage)
{
    avvia();
    EXPECT_EQ(risposta("passaa", "SEC1", "frmAltro"), "");
    EXPECT_EQ(p.attendiFine(), 0);
    EXPECT_EQ(p.testiDialoghi(), QStringList{"La form richiesta e' inesistente"});
}

} // namespace
