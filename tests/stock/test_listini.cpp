// The sale price list re-priced from a new cost: the row valid at the date or a new one with
// its validity chained, the mark-ups, VAT-inclusive and lire lists, and a failure that leaves
// the posting around it usable, on both engines.
#include "magazzinoprova.h"

#include "aggiornaartlistini.h"
#include "connessionedb.h"
#include "contesto.h"
#include "transazioni.h"

namespace {

class Listini : public MagazzinoDiProva {
protected:
    void SetUp() override
    {
        MagazzinoDiProva::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        articolo("P1", {{"Maggior", 10.0}});
        articolo("P0", {{"Maggior", 0.0}});
        articolo("SENZAIVA", {{"Maggior", 10.0}, {"IvaVendite", Variant::null()}});
        inserisci("Listini", {{"Listino", "LL"}, {"Descrizione", "In lire"}, {"Moneta", "L."}, {"Ivato", "N"}});
        contesto.parametro("Mag.PercRicListClie", Variant("5"));
    }
    void aggiorna(const QString &art, const QString &listino, const Date &data, const QString &ordine = {},
                  double costo = 100.0)
    {
        AggiornaArtListini(art, "~ç~", "~ç~", listino, Variant(data), costo, costo * 1936.27, QString(), QString(),
                           ordine, "14", "01", "0001");
    }
    double prezzo(const QString &art, const QString &listino, const char *campo = "Prezzo")
    {
        return valore(QStringLiteral("Select %1 from ArtListini Where Articolo = '%2' And Listino = '%3'")
                          .arg(QLatin1String(campo), art, listino))
            .toDouble();
    }
    const Date marzo = Date::fromYmd(2024, 3, 15);
};

TEST_P(Listini, PricesFromTheCost)
{
    struct Caso {
        const char *articolo, *listino, *ordine;
        double prezzo;
    };
    const Caso casi[] = {
        {"P1", "L1", "", 100},        // no mark-up: the cost as it came
        {"P1", "NOLIST", "A", 100},   // a list missing from Listini: the cost
        {"P1", "L1", "A", 110},       // the article's 10 %
        {"P1", "L1", "aa", 121},      // twice
        {"P1", "L1", "AF", 115.5},    // then the account's (0: the company's 5 %)
        {"P0", "L2", "A", 122},       // VAT-inclusive list at 22 %
        {"SENZAIVA", "L2", "A", 100}, // no sales VAT code: neither mark-up nor VAT
    };
    for (const Caso &c : casi) {
        esegui("Delete from ArtListini Where Articolo In ('P1', 'P0', 'SENZAIVA')");
        aggiorna(c.articolo, c.listino, marzo, c.ordine);
        EXPECT_NEAR(prezzo(c.articolo, c.listino), c.prezzo, 1e-9) << c.articolo << " " << c.ordine;
    }
    // The lire twin of a euro price, and the euro twin of a lire list's price.
    EXPECT_DOUBLE_EQ(prezzo("SENZAIVA", "L2", "PrezzoLire"), 193627);
    aggiorna("P1", "LL", marzo, "A", 10.0);
    EXPECT_NEAR(prezzo("P1", "LL", "PrezzoLire"), 21298.97, 1e-6);
    EXPECT_DOUBLE_EQ(prezzo("P1", "LL"), 11.0);
    EXPECT_TRUE(dialoghi->mostrati().empty());
}

TEST_P(Listini, OrderFWithoutAMarkUpLeavesTheListAlone)
{
    contesto.parametro("Mag.PercRicListClie", Variant("0"));
    aggiorna("P1", "L1", marzo, "F");
    EXPECT_EQ(conta("Select * from ArtListini Where Articolo = 'P1'"), 0);
    contesto.parametro("Mag.PercRicListClie", Variant("5"));
    aggiorna("P1", "L1", marzo, "f");
    EXPECT_DOUBLE_EQ(prezzo("P1", "L1"), 105);
}

TEST_P(Listini, ValidityOfTheRows)
{
    const Date inizio = Date::fromYmd(2024, 1, 1), fine = Date::fromYmd(9999, 12, 31);
    inserisci("ArtListini", {{"Articolo", "P1"},
                             {"Listino", "L1"},
                             {"Livello1", "~ç~"},
                             {"Livello2", "~ç~"},
                             {"DataInizio", inizio},
                             {"DataFine", fine},
                             {"Prezzo", 1.0},
                             {"Sconto", "10"},
                             {"ScoSomSost", "S"}});
    // A row valid at the date: only its prices, and its discount fields cleared.
    aggiorna("P1", "L1", marzo);
    EXPECT_EQ(conta("Select * from ArtListini Where Articolo = 'P1'"), 1);
    EXPECT_DOUBLE_EQ(prezzo("P1", "L1"), 100);
    EXPECT_EQ(valore("Select Sconto from ArtListini Where Articolo = 'P1'").text(), "");
    EXPECT_EQ(valore("Select DataFine from ArtListini Where Articolo = 'P1'").toDate(), fine);

    // Before the first row: a new row from the date, ending where the next one starts.
    aggiorna("P1", "L1", Date::fromYmd(2023, 12, 1), QString(), 90.0);
    EXPECT_EQ(conta("Select * from ArtListini Where Articolo = 'P1'"), 2);
    EXPECT_EQ(valore("Select DataFine from ArtListini Where Articolo = 'P1' And Prezzo = 90").toDate(),
              Date::fromYmd(2023, 12, 31));
    // From the company's list date when the settings say so ("d" as "D").
    contesto.parametro("Mag.QualeDataLis", Variant("d"));
    contesto.parametro("Mag.DataListino", Variant("01/06/2024"));
    aggiorna("P0", "L1", marzo);
    EXPECT_EQ(valore("Select DataInizio from ArtListini Where Articolo = 'P0'").toDate(), Date::fromYmd(2024, 6, 1));
    EXPECT_EQ(valore("Select DataFine from ArtListini Where Articolo = 'P0'").toDate(), fine);
}

TEST_P(Listini, AFailureIsShownAndTheTransactionAroundItGoesOn)
{
    // The new row would start on the company's list date, where a row starts already.
    contesto.parametro("Mag.QualeDataLis", Variant("D"));
    contesto.parametro("Mag.DataListino", Variant("01/06/2024"));
    inserisci("ArtListini", {{"Articolo", "P1"},
                             {"Listino", "L1"},
                             {"Livello1", "~ç~"},
                             {"Livello2", "~ç~"},
                             {"DataInizio", Date::fromYmd(2024, 6, 1)},
                             {"DataFine", Date::fromYmd(9999, 12, 31)},
                             {"Prezzo", 1.0}});
    dialoghi->rispondi(1);
    IniziaTransazione();
    esegui("Update Articoli Set Descrizione = 'prima' Where Articolo = 'P0'");
    aggiorna("P1", "L1", marzo);
    esegui("Update Articoli Set Descrizione = 'dopo' Where Articolo = 'P1'");
    ConfermaTransazione();
    ASSERT_EQ(dialoghi->mostrati().size(), 1u);
    EXPECT_TRUE(dialoghi->mostrati()[0].testo.endsWith("\r\nListino non aggiornato"))
        << dialoghi->mostrati()[0].testo.toStdString();
    EXPECT_EQ(conta("Select * from ArtListini Where Articolo = 'P1'"), 1);
    EXPECT_DOUBLE_EQ(prezzo("P1", "L1"), 1.0);
    EXPECT_EQ(valore("Select Descrizione from Articoli Where Articolo = 'P0'").text(), "prima");
    EXPECT_EQ(valore("Select Descrizione from Articoli Where Articolo = 'P1'").text(), "dopo");

    // A company list date that is no date.
    contesto.parametro("Mag.DataListino", Variant("non una data"));
    dialoghi->rispondi(1);
    aggiorna("P0", "L1", marzo);
    ASSERT_EQ(dialoghi->mostrati().size(), 2u);
    EXPECT_TRUE(dialoghi->mostrati()[1].testo.endsWith("\r\nListino non aggiornato"));
    EXPECT_EQ(conta("Select * from ArtListini Where Articolo = 'P0'"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, Listini, kBothEngines, engineParamName);

} // namespace
