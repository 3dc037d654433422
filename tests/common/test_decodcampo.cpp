// The decode of a form's code fields when they are left, with the automatic lookup, on the
// company fixture.
#include "decodcampo.h"
#include "decodcodice.h"
#include "formdittaprova.h"
#include "listacampi.h"

namespace {

class DecodCampoTest : public FormDittaProva {
protected:
    void SetUp() override
    {
        FormDittaProva::SetUp();
        gsNoDecInattivi.clear();
        gsDecodHelpAbil = "N";
    }
    void TearDown() override { gsNoDecInattivi.clear(); }

    Variant lascia(const QString &tipo, const QString &testo, Variant *campi = nullptr, const QString &filtro = {})
    {
        codice->setText(testo);
        return CodiceLostFocus(tipo, codice, descrizione, std::nullopt, 0, 0, QString(), campi, filtro, 0, 0);
    }
};

TEST_F(DecodCampoTest, ADecodedCodeShowsItsDescriptionAndFillsTheFields)
{
    Variant campi = listaNomi({"FattDocEvasione", "MagCausaleRientro", "RegimeMargine"});
    EXPECT_EQ(lascia("FattDocumento", "oc", &campi, "tipo='O'").toInteger(), -1);
    EXPECT_EQ(descrizione->text(), "Ordine cliente");
    EXPECT_EQ(testiLista(campi), (QStringList{"DDT", "", "N"}));

    campi = listaNomi({"FattDocEvasione", "RegimeMargine"});
    EXPECT_EQ(lascia("FattDocumento", "DDT", &campi, "tipo='O'").toInteger(), 0);
    EXPECT_EQ(descrizione->text(), "** INESISTENTE **");
    EXPECT_EQ(testiLista(campi), (QStringList{"<Empty>", "<Empty>"}));
    EXPECT_TRUE(finestra->aperture.empty()); // "DecodHelpAbil" "N": no lookup of its own
}

TEST_F(DecodCampoTest, AnEmptyCodeNeverOpensALookup)
{
    gsDecodHelpAbil = "C";
    Variant campi = listaNomi({"Tipo"});
    EXPECT_EQ(lascia("FattDocumento", "  ", &campi).toInteger(), 0);
    EXPECT_EQ(descrizione->text(), "");
    EXPECT_EQ(testiLista(campi), QStringList{"<Empty>"});
    int16_t aperto = 0;
    codice->clear();
    EXPECT_EQ(DecodCampo("Articolo", codice, descrizione, std::nullopt, 0, 0, {}, nullptr, {}, {}, 0, std::nullopt, -1,
                         -1, {}, aperto)
                  .toInteger(),
              0);
    EXPECT_EQ(aperto, 0);
    EXPECT_TRUE(finestra->aperture.empty());
}

TEST_F(DecodCampoTest, ACodeThatFindsNothingWithF2IsTriedWithF3)
{
    gsDecodHelpAbil = "C";
    ggAiuto->OggettoRicerca().ovLeggiPar("RetZeroRec", Variant(int16_t(0)));

    // Nothing with either key: no window, the code keeps its text, the answer is False.
    EXPECT_FALSE(lascia("Articolo", "xyz").toBool());
    EXPECT_EQ(descrizione->text(), "** INESISTENTE **");
    EXPECT_EQ(codice->text(), "xyz");
    EXPECT_TRUE(finestra->aperture.empty());
    EXPECT_EQ(ggAiuto->OggettoRicerca().ovLeggiPar("RetZeroRec").toInteger(), 0);

    // No code begins with the text, a description holds it: the F3 window opens on it.
    finestra->scegli = FinestraAiutoDiProva::primoTrovato;
    EXPECT_EQ(lascia("Articolo", "articolo 3").toInteger(), -1);
    ASSERT_EQ(finestra->aperture.size(), 1u);
    EXPECT_EQ(finestra->aperture[0].modo, ModoRicerca::Descrizione);
    EXPECT_EQ(finestra->aperture[0].trovati, QStringList{suite::articleCode(3)});
    EXPECT_EQ(codice->text(), suite::articleCode(3));
    EXPECT_EQ(descrizione->text(), "Articolo 3");
}

TEST_F(DecodCampoTest, ClosingTheLookupWithoutAChoiceGivesTheCodeBack)
{
    gsDecodHelpAbil = "C";
    int16_t aperto = 0;
    codice->setText("ART0X");
    const Variant r = DecodCampo("Articolo", codice, descrizione, std::nullopt, 0, 0, {}, nullptr, {}, {}, 0,
                                 std::nullopt, -1, -1, "ART0", aperto);
    EXPECT_TRUE(r.type() == Variant::Type::Boolean && !r.toBool());
    EXPECT_EQ(aperto, -1);
    ASSERT_EQ(finestra->aperture.size(), 1u);
    EXPECT_EQ(finestra->aperture[0].testo, "ART0"); // shown in the field while the window is open
    EXPECT_EQ(finestra->aperture[0].trovati.size(), 8);
    EXPECT_EQ(codice->text(), "ART0X");

    // Lookups not allowed, or the message dialog on the screen: no window.
    EXPECT_EQ(DecodCampo("Articolo", codice, descrizione, std::nullopt, 0, 0, {}, nullptr, {}, {}, 0, std::nullopt, -1,
                         0, {}, aperto)
                  .toInteger(),
              0);
    QWidget msg;
    msg.setObjectName("frmMsgCom");
    msg.show();
    EXPECT_TRUE(MsgComVisibile());
    lascia("Articolo", "ART0X");
    EXPECT_EQ(finestra->aperture.size(), 1u);
}

TEST_F(DecodCampoTest, TheKeyComesFromTheSettings)
{
    struct Caso {
        const char *decodHelpAbil;
        bool persKey;
        const char *hlp;
        ModoRicerca modo;
    } casi[] = {
        {"D", false, "", ModoRicerca::Descrizione},
        {"2", false, "", ModoRicerca::Codice},       // -(2 + 1): a negative key searches the code
        {"C", true, "3", ModoRicerca::Descrizione},  // F3 for the article lookup
        {"C", true, "4", ModoRicerca::Tutto},
        {"C", true, "0", ModoRicerca::Codice},
    };
    for (const Caso &k : casi) {
        finestra->aperture.clear();
        gsDecodHelpAbil = k.decodHelpAbil;
        gbDecodHelpPersKey = k.persKey;
        c.personale("Tutti", "HlpArticolo", k.hlp);
        lascia("ArticoloCod", "ART");
        ASSERT_EQ(finestra->aperture.size(), 1u) << k.decodHelpAbil << k.hlp;
        EXPECT_EQ(finestra->aperture[0].modo, k.modo) << k.decodHelpAbil << k.hlp;
        EXPECT_EQ(finestra->aperture[0].titolo, "Articolo");
    }
    gbDecodHelpPersKey = false;
}

TEST_F(DecodCampoTest, AccountsAreShownWithSeparatorsAndLookedUpAsTyped)
{
    auto *cliente = new QLineEdit(&form);
    cliente->setText("14010003");
    EXPECT_EQ(ContoLostFocus(cliente, descrizione, -1, 3, nullptr, -1).toInteger(), -1);
    EXPECT_EQ(cliente->text(), "14-01-0003");
    EXPECT_EQ(descrizione->text(), "Cliente 0003");

    ContoGotFocus(cliente);
    EXPECT_EQ(cliente->text(), "14010003");

    gsDecodHelpAbil = "C";
    finestra->scegli = [](const RichiestaRicerca &r) -> std::optional<int> { return r.elenco->cerca(r.testo, r.modo).at(1); };
    cliente->setText("140100");
    EXPECT_EQ(ContoLostFocus(cliente, descrizione, -1, 3, nullptr, -1).toInteger(), -1);
    ASSERT_EQ(finestra->aperture.size(), 1u);
    EXPECT_EQ(finestra->aperture[0].testo, "140100");
    EXPECT_EQ(finestra->aperture[0].trovati.size(), 4);
    EXPECT_EQ(cliente->text(), "14-01-0002");
    EXPECT_EQ(descrizione->text(), "Cliente 0002");
}

TEST_F(DecodCampoTest, InactiveArticlesDecodeAsMissingWhenTheUserAsks)
{
    c.personale("Articoli", "NoDecInattivi", "S");
    const QString inattivo = suite::articleCode(8);
    EXPECT_EQ(lascia("Articolo", inattivo).toInteger(), 0);
    EXPECT_EQ(descrizione->text(), "** INESISTENTE **");
    EXPECT_EQ(lascia("Articolo", suite::articleCode(7)).toInteger(), -1);
    // Silent decodes of fields follow the same rule.
    codice->setText(inattivo);
    EXPECT_EQ(CodiceLostFocus("Articolo", codice, descrizione, std::nullopt, -1, 0, {}, nullptr, {}).toInteger(), 0);
}

} // namespace
