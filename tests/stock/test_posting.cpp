// The posting of a movement into the product progressives through its re-posting: loads,
// issues, the opening balance, counters, transfers, dates, valuation of issues at cost, rows
// that move no stock, level rows, and the un-posting that takes it all back, on both engines.
#include "magazzinoprova.h"

#include "connessionedb.h"
#include "contesto.h"

#include <cmath>

namespace {

class Posting : public MagazzinoDiProva {};

double lire(double euro)
{
    return std::round(euro * 1936.27);
}

TEST_P(Posting, ALoadCreatesTheProgressiveRowAndMovesTheWorkRows)
{
    articolo("P1");
    causale("CAR", {});
    movimento(1, "CAR");
    riga(1, 1, "P1", 10, 25.0);
    riga(1, 2, "P1", 2, 6.0);

    const EsitoPosting esito = riaggiorna(1);
    EXPECT_TRUE(esito.riuscito()) << esito.descrizione.toStdString();
    EXPECT_EQ(esito.righeNonEseguite, 0);

    const Valori p = prog("01", "P1");
    EXPECT_DOUBLE_EQ(p["QtaCarico"], 12);
    EXPECT_DOUBLE_EQ(p["ValCarico"], 31);
    EXPECT_DOUBLE_EQ(p["ValCaricoLire"], lire(25) + lire(6));
    EXPECT_DOUBLE_EQ(p["QtaScarico"], 0);
    EXPECT_DOUBLE_EQ(p["QtaIniziale"], 0);
    EXPECT_EQ(valore("Select DataUltCarico from ArticoliProg Where Articolo = 'P1'").toDate(),
              Date::fromYmd(2024, 3, 15));
    EXPECT_TRUE(valore("Select DataUltScarico from ArticoliProg Where Articolo = 'P1'").isNull());

    // The work rows are in the movement, with every field, and gone from the work table.
    EXPECT_EQ(conta("Select * from MovMagDettApp"), 0);
    EXPECT_EQ(
        conta("Select * from MovMagDett Where Anno = 2024 And NumReg = 1 And FlagStato = '0' And Articolo = 'P1'"), 2);
    EXPECT_DOUBLE_EQ(valore("Select ValEuro from MovMagDett Where RigLiv = 2").toDouble(), 6.0);
    EXPECT_EQ(valore("Select UM from MovMagDett Where RigLiv = 2").text(), "PZ");

    EXPECT_EQ(richieste, (QStringList{"AggValoriScarico 2024 1 [] []"}));
    EXPECT_EQ(viste->clessidre, (std::vector<bool>{true, false}));
    EXPECT_TRUE(dialoghi->mostrati().empty());
    EXPECT_EQ(viste->registrato.titolo, " Aggiornamento Movimenti");
    EXPECT_FALSE(viste->registrato.visibile);
}

TEST_P(Posting, IssuesValuedAtCostAndTakenBackExactly)
{
    struct Caso {
        const char *valorizza;
        double qtaMedioC, valMedioC, medioPonderale, costoUltimo;
        double unitario; // the value per piece the issue of 3 is valued at
    };
    // An opening of 10 pieces worth 50 euro is the fallback when the causal's cost is 0.
    const Caso casi[] = {
        {"C", 0, 0, 0, 0, 5.0},   {"C", 4, 26, 0, 0, 6.5}, {"P", 0, 0, 7.25, 0, 7.25},
        {"U", 0, 0, 0, 8.1, 8.1}, {"U", 0, 0, 0, 0, 5.0},
    };
    int n = 0;
    for (const Caso &c : casi) {
        ++n;
        const QString art = QStringLiteral("V%1").arg(n);
        articolo(art);
        inserisci("ArticoliProg", {{"Anno", 2024},
                                   {"Magazzino", "01"},
                                   {"Articolo", art},
                                   {"Livello1", "~ç~"},
                                   {"Livello2", "~ç~"},
                                   {"QtaIniziale", 10.0},
                                   {"ValIniziale", 50.0},
                                   {"ValInizialeLire", lire(50)}});
        inserisci("ArticoliCosti", {{"Anno", 2024},
                                    {"Articolo", art},
                                    {"Livello1", "~ç~"},
                                    {"Livello2", "~ç~"},
                                    {"QtaMedioC", c.qtaMedioC},
                                    {"ValMedioC", c.valMedioC},
                                    {"ValMedioCLire", lire(c.valMedioC)},
                                    {"MedioPonderale", c.medioPonderale},
                                    {"MedioPonderaleLire", lire(c.medioPonderale)},
                                    {"CostoUltimo", c.costoUltimo},
                                    {"CostoUltimoLire", lire(c.costoUltimo)}});
        const QString cau = QStringLiteral("S%1").arg(n);
        causale(cau, {{"CarScar", "S"}, {"Prov", "M"}, {"Dest", "C"}, {"ValorizzScarico", c.valorizza}});
        movimento(n, cau);
        riga(n, 1, art, 3, 36.0);
        ASSERT_TRUE(riaggiorna(n).riuscito()) << c.valorizza;

        Valori p = prog("01", art);
        EXPECT_DOUBLE_EQ(p["QtaScarico"], 3) << c.valorizza;
        EXPECT_DOUBLE_EQ(p["ValScarico"], 36) << c.valorizza;
        EXPECT_NEAR(p["ValScaUC"], 3 * c.unitario, 1e-9) << c.valorizza << " " << n;
        EXPECT_NEAR(valore(QStringLiteral("Select ValScarico from MovMagDett Where NumReg = %1").arg(n)).toDouble(),
                    c.unitario, 1e-9);

        // The costs change meanwhile: taking the issue back takes off what it added.
        esegui(QStringLiteral("Update ArticoliCosti Set MedioPonderale = 99, CostoUltimo = 99 Where Articolo = '%1'")
                   .arg(art));
        ASSERT_TRUE(riaggiorna(n, true).riuscito());
        p = prog("01", art);
        EXPECT_DOUBLE_EQ(p["QtaScarico"], 0);
        EXPECT_DOUBLE_EQ(p["ValScarico"], 0);
        EXPECT_NEAR(p["ValScaUC"], 0, 1e-9) << c.valorizza << " " << n;
        EXPECT_DOUBLE_EQ(p["QtaIniziale"], 10);
        EXPECT_EQ(conta(QStringLiteral("Select * from MovMagDett Where NumReg = %1").arg(n)), 0);
    }
}

TEST_P(Posting, ALoadValuedAtCostLowersTheIssuesAtCost)
{
    articolo("P1");
    inserisci("ArticoliCosti", {{"Anno", 2024},
                                {"Articolo", "P1"},
                                {"Livello1", "~ç~"},
                                {"Livello2", "~ç~"},
                                {"CostoUltimo", 4.0},
                                {"CostoUltimoLire", lire(4)}});
    causale("CAU", {{"ValorizzScarico", "U"}});
    causale("CAM", {{"ValorizzScarico", "U"}, {"Segno", "-"}});
    movimento(1, "CAU");
    riga(1, 1, "P1", 5, 30.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    Valori p = prog("01", "P1");
    EXPECT_DOUBLE_EQ(p["QtaCarico"], 5);
    EXPECT_DOUBLE_EQ(p["ValScaUC"], -20);
    EXPECT_DOUBLE_EQ(valore("Select ValScarico from MovMagDett Where NumReg = 1").toDouble(), 4.0);

    // A load with sign "-" lowers the loads and raises the issues at cost.
    movimento(2, "CAM");
    riga(2, 1, "P1", 2, 12.0);
    ASSERT_TRUE(riaggiorna(2).riuscito());
    p = prog("01", "P1");
    EXPECT_DOUBLE_EQ(p["QtaCarico"], 3);
    EXPECT_DOUBLE_EQ(p["ValCarico"], 18);
    EXPECT_DOUBLE_EQ(p["ValScaUC"], -12);
}

TEST_P(Posting, OpeningBalancesAndCounters)
{
    articolo("P1");
    causale("INI", {{"TipoMov", "V"}, {"Prov", "F"}, {"Dest", "M"}});
    causale("IN2", {{"TipoMov", "V"}, {"QualeProgrQta", 2}});
    causale("CNT", {{"CarScar", "N"}, {"Prov", "M"}, {"Dest", "F"}, {"QualeProgrQta", 3}, {"Segno", "+"}});
    causale("SC2", {{"CarScar", "S"}, {"Prov", "M"}, {"Dest", "C"}, {"QualeProgrQta", 2}, {"Segno", "+"}});

    // Two openings of the same warehouse: the second replaces the first.
    movimento(1, "INI");
    riga(1, 1, "P1", 10, 40.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    movimento(2, "INI");
    riga(2, 1, "P1", 7, 35.0);
    ASSERT_TRUE(riaggiorna(2).riuscito());
    Valori p = prog("01", "P1");
    EXPECT_DOUBLE_EQ(p["QtaIniziale"], 7);
    EXPECT_DOUBLE_EQ(p["ValIniziale"], 35);
    EXPECT_DOUBLE_EQ(p["QtaCarico"], 0);

    // The opening of counter 2 leaves the opening figures alone.
    movimento(3, "IN2");
    riga(3, 1, "P1", 4, 1.0);
    ASSERT_TRUE(riaggiorna(3).riuscito());
    // A counter-only causal moves counter 3 alone (warehouse as source, sign "+": down).
    movimento(4, "CNT");
    riga(4, 1, "P1", 6, 1.0);
    ASSERT_TRUE(riaggiorna(4).riuscito());
    // An issue with counter 2 and sign "+" raises the issues and lowers the counter.
    movimento(5, "SC2");
    riga(5, 1, "P1", 1.5, 9.0);
    ASSERT_TRUE(riaggiorna(5).riuscito());

    p = prog("01", "P1");
    EXPECT_DOUBLE_EQ(p["QtaIniziale"], 7);
    EXPECT_DOUBLE_EQ(p["ProgrQtaIniz2"], 4);
    EXPECT_DOUBLE_EQ(p["ProgrQta3"], -6);
    EXPECT_DOUBLE_EQ(p["QtaScarico"], 1.5);
    EXPECT_DOUBLE_EQ(p["ProgrQta2"], -1.5);
    EXPECT_DOUBLE_EQ(p["QtaCarico"], 0);
    EXPECT_DOUBLE_EQ(p["ProgrQta1"], 0);
}

TEST_P(Posting, ATransferIssuesFromTheSourceAndLoadsTheDestination)
{
    articolo("P1");
    causale("TRA", {{"CarScar", "S"}, {"Prov", "M"}, {"Dest", "M"}});
    movimento(1, "TRA", {{"MagazzinoProv", "01"}, {"MagazzinoDest", "02"}});
    riga(1, 1, "P1", 5, 10.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaScarico"], 5);
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaCarico"], 0);
    EXPECT_DOUBLE_EQ(prog("02", "P1")["QtaCarico"], 5);
    EXPECT_DOUBLE_EQ(prog("02", "P1")["QtaScarico"], 0);
}

TEST_P(Posting, DatesOnlyMoveForwardAndEmptyFiguresCountAsZero)
{
    articolo("P1");
    // A row written by another program: no dates, no quantities.
    inserisci("ArticoliProg", {{"Anno", 2024},
                               {"Magazzino", "01"},
                               {"Articolo", "P1"},
                               {"Livello1", "~ç~"},
                               {"Livello2", "~ç~"},
                               {"QtaIniziale", Variant::null()},
                               {"QtaCarico", Variant::null()},
                               {"ValCarico", Variant::null()}});
    causale("CAR", {});
    movimento(1, "CAR", {{"DataReg", Date::fromYmd(2024, 5, 2)}});
    riga(1, 1, "P1", 4, 8.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    movimento(2, "CAR", {{"DataReg", Date::fromYmd(2024, 4, 1)}});
    riga(2, 1, "P1", 1, 2.0);
    ASSERT_TRUE(riaggiorna(2).riuscito());
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaCarico"], 5);
    EXPECT_DOUBLE_EQ(prog("01", "P1")["ValCarico"], 10);
    EXPECT_EQ(valore("Select DataUltCarico from ArticoliProg Where Articolo = 'P1'").toDate(),
              Date::fromYmd(2024, 5, 2));
}

TEST_P(Posting, RowsThatMoveNoStockAreSkippedAndStillMoved)
{
    articolo("NOMAG", {{"ArtMag", "N"}});
    articolo("VUOTO", {{"ArtMag", Variant::null()}});
    causale("CAR", {});
    causale("ORD", {{"TipoMov", "O"}});
    movimento(1, "CAR");
    riga(1, 1, "NOMAG", 3, 3.0);
    riga(1, 2, "VUOTO", 3, 3.0);
    movimento(2, "ORD");
    riga(2, 1, "VUOTO", 4, 4.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    ASSERT_TRUE(riaggiorna(2).riuscito());
    EXPECT_TRUE(prog("01", "NOMAG").vuoto());
    EXPECT_DOUBLE_EQ(prog("01", "VUOTO")["QtaCarico"], 3);
    EXPECT_EQ(conta("Select * from MovMagDett"), 3);
    EXPECT_EQ(conta("Select * from MovMagDettApp"), 0);
}

TEST_P(Posting, AnArticleWithLevelsIsPostedThroughItsLevelRows)
{
    articolo("LV", {{"LivGruppo1", "TAGLIE"}});
    causale("CAR", {});
    movimento(1, "CAR");
    riga(1, 1, "LV", 4, 40.0);
    livello(1, 1, "S", "ROSSO", 3, 30.0);
    livello(1, 1, "M", "BLU", 1, 10.0);
    // A level row without its line is out of reach: neither posted nor moved.
    livello(1, 9, "L", "BLU", 5, 50.0);
    const EsitoPosting esito = riaggiorna(1);
    ASSERT_TRUE(esito.riuscito()) << esito.descrizione.toStdString();

    EXPECT_TRUE(prog("01", "LV").vuoto());
    EXPECT_DOUBLE_EQ(prog("01", "LV", "S", "ROSSO")["QtaCarico"], 3);
    EXPECT_DOUBLE_EQ(prog("01", "LV", "M", "BLU")["ValCarico"], 10);
    EXPECT_TRUE(prog("01", "LV", "L", "BLU").vuoto());
    // The level rows moved carry their line's article.
    EXPECT_EQ(conta("Select * from MovMagLiv Where Articolo = 'LV' And FlagStato = '0'"), 2);
    EXPECT_EQ(conta("Select * from MovMagDett Where Articolo = 'LV'"), 1);
    EXPECT_EQ(conta("Select * from MovMagLivApp Where RigLiv = 9"), 1);
    EXPECT_EQ(conta("Select * from MovMagLivApp Where RigLiv = 1"), 0);
}

TEST_P(Posting, UnpostingRestoresTheProgressivesExactly)
{
    articolo("P1");
    articolo("P2");
    articolo("LV", {{"LivGruppo1", "TAGLIE"}});
    causale("CAR", {{"ValorizzScarico", "U"}, {"AggMedioCar", "S"}, {"AggMedioPon", "S"}, {"AcqVen", "A"}});
    causale("VEN", {{"CarScar", "S"},
                    {"Prov", "M"},
                    {"Dest", "C"},
                    {"ValorizzScarico", "P"},
                    {"QualeProgrQta", 1},
                    {"AcqVen", "V"}});
    movimento(1, "CAR");
    riga(1, 1, "P1", 10, 22.5);
    riga(1, 2, "P2", 4, 9.99);
    riga(1, 3, "LV", 2, 5.0);
    livello(1, 3, "S", "ROSSO", 2, 5.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    const auto fotografia = [&] {
        return std::vector<Valori>{prog("01", "P1"), prog("01", "P2"), prog("01", "LV", "S", "ROSSO"), costi("P1"),
                                   costi("P2")};
    };
    const std::vector<Valori> prima = fotografia();

    movimento(2, "VEN");
    riga(2, 1, "P1", 3.333, 11.11);
    riga(2, 2, "P2", 1, 3.0);
    riga(2, 3, "LV", 1, 2.5);
    livello(2, 3, "S", "ROSSO", 1, 2.5);
    ASSERT_TRUE(riaggiorna(2).riuscito());
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaScarico"], 3.333);

    // Un-posting the issue (and deleting it) brings back every figure.
    ASSERT_TRUE(riaggiorna(2, true).riuscito());
    const std::vector<Valori> dopo = fotografia();
    for (size_t i = 0; i < prima.size(); ++i) {
        for (const auto &[nome, v] : prima[i].campi) {
            ASSERT_TRUE(dopo[i].campi.count(nome)) << nome.toStdString();
            EXPECT_NEAR(dopo[i].campi.at(nome), v, 1e-9) << i << " " << nome.toStdString();
        }
    }
    EXPECT_EQ(conta("Select * from MovMagDett Where NumReg = 2"), 0);
    EXPECT_EQ(conta("Select * from MovMagLiv Where NumReg = 2"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, Posting, kBothEngines, engineParamName);

} // namespace
