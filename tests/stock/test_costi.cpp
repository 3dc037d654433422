// The cost record of a product kept by the posting (weighted average, last cost with the
// expense share, highest cost, purchase and sale totals, load totals), the supplier data of a
// purchase, on both engines.
#include "magazzinoprova.h"

#include "connessionedb.h"
#include "contesto.h"

namespace {

class Costi : public MagazzinoDiProva {
protected:
    void SetUp() override
    {
        MagazzinoDiProva::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        // Purchases from a supplier that update every cost figure; sales that update the
        // average.
        causale("ACQ", {{"AggMedioPon", "S"}, {"AggCostoUlt", "S"}, {"AggMedioCar", "S"}, {"AcqVen", "A"}});
        causale("VEN", {{"CarScar", "S"}, {"Prov", "M"}, {"Dest", "C"}, {"AggMedioPon", "S"}, {"AcqVen", "V"}});
    }
};

TEST_P(Costi, TheFirstPurchaseCreatesTheCostRow)
{
    articolo("P1");
    quotaSpese = 0.25;
    movimento(1, "ACQ");
    riga(1, 1, "P1", 10, 25.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    const Valori c = costi("P1");
    ASSERT_FALSE(c.vuoto());
    EXPECT_DOUBLE_EQ(c["MedioPonderale"], 2.5);
    EXPECT_DOUBLE_EQ(c["CostoUltimo"], 2.75);
    EXPECT_DOUBLE_EQ(c["CostoUltimoLire"], 4841);
    EXPECT_DOUBLE_EQ(c["CostoPiu"], 2.5);
    EXPECT_DOUBLE_EQ(c["QtaAcquisti"], 10);
    EXPECT_DOUBLE_EQ(c["ValAcquisti"], 25);
    EXPECT_DOUBLE_EQ(c["QtaMedioC"], 10);
    EXPECT_DOUBLE_EQ(c["ValMedioC"], 25);
    EXPECT_DOUBLE_EQ(c["QtaVenduto"], 0);
    // The last cost of a row that had none is recorded with its date.
    EXPECT_EQ(valore("Select DataCostoUltimo from ArticoliCosti Where Articolo = 'P1'").toDate(),
              Date::fromYmd(2024, 3, 15));
    // Without expenses on the movement: no total, no setting.
    EXPECT_TRUE(richieste.contains("CalcolaQuotaSpese V 0 0  10 25 2.5")) << richieste.join('|').toStdString();
}

TEST_P(Costi, TheAverageFollowsLoadsAndIssues)
{
    articolo("P1");
    movimento(1, "ACQ");
    riga(1, 1, "P1", 10, 25.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    movimento(2, "ACQ");
    riga(2, 1, "P1", 10, 35.0);
    ASSERT_TRUE(riaggiorna(2).riuscito());
    EXPECT_DOUBLE_EQ(costi("P1")["MedioPonderale"], 3.0);
    EXPECT_DOUBLE_EQ(costi("P1")["CostoPiu"], 3.5);

    // An issue of 5 at 4 a piece: (3 x 20 - 4 x 5) / 15.
    movimento(3, "VEN");
    riga(3, 1, "P1", 5, 20.0);
    ASSERT_TRUE(riaggiorna(3).riuscito());
    Valori c = costi("P1");
    EXPECT_DOUBLE_EQ(c["MedioPonderale"], 2.67);
    EXPECT_DOUBLE_EQ(c["QtaVenduto"], 5);
    EXPECT_DOUBLE_EQ(c["ValVenduto"], 20);
    EXPECT_DOUBLE_EQ(c["QtaAcquisti"], 20);
    EXPECT_DOUBLE_EQ(c["CostoPiu"], 4.0);

    // Taking the issue back cannot take back the average: it is marked unreliable; the sale
    // totals go back, the last and highest costs stay.
    ASSERT_TRUE(riaggiorna(3, true).riuscito());
    c = costi("P1");
    EXPECT_DOUBLE_EQ(c["MedioPonderale"], 2.67);
    EXPECT_EQ(valore("Select CMPValido from ArticoliCosti Where Articolo = 'P1'").text(), "N");
    EXPECT_DOUBLE_EQ(c["QtaVenduto"], 0);
    EXPECT_DOUBLE_EQ(c["ValVenduto"], 0);
    EXPECT_DOUBLE_EQ(c["CostoUltimo"], 3.5);
    EXPECT_DOUBLE_EQ(c["CostoPiu"], 4.0);
}

TEST_P(Costi, AnOlderPurchaseKeepsTheLastCostAndItsPriceLists)
{
    articolo("P1");
    movimento(1, "ACQ");
    riga(1, 1, "P1", 2, 10.0, {{"ListDaAgg", "L1"}});
    ASSERT_TRUE(riaggiorna(1).riuscito());
    EXPECT_DOUBLE_EQ(valore("Select Prezzo from ArtListini Where Articolo = 'P1' And Listino = 'L1'").toDouble(), 5.0);

    movimento(2, "ACQ", {{"DataReg", Date::fromYmd(2024, 2, 1)}});
    riga(2, 1, "P1", 1, 9.0, {{"ListDaAgg", "L1"}});
    ASSERT_TRUE(riaggiorna(2).riuscito());
    const Valori c = costi("P1");
    EXPECT_DOUBLE_EQ(c["CostoUltimo"], 5.0);
    EXPECT_DOUBLE_EQ(c["CostoPiu"], 9.0);
    EXPECT_EQ(conta("Select * from ArtListini Where Articolo = 'P1'"), 1);
    EXPECT_DOUBLE_EQ(valore("Select Prezzo from ArtListini Where Articolo = 'P1'").toDouble(), 5.0);
}

TEST_P(Costi, TheMovementsExpensesAreSharedOverItsWorkRows)
{
    articolo("P1");
    contesto.personale("Magazzino", "RipartSpesePercVal", Variant("P"));
    quotaSpese = 0.5;
    movimento(1, "ACQ", {{"ImportoSpese", 12.0}});
    riga(1, 1, "P1", 4, 10.0);
    riga(1, 2, "P1", 6, 30.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    // Each pass (level rows, then lines) shares the expenses over the work rows' total.
    EXPECT_EQ(richieste.filter("TotaliRigheMov"),
              (QStringList{"TotaliRigheMov V 2024 1 App", "TotaliRigheMov V 2024 1 App"}));
    EXPECT_TRUE(richieste.contains("CalcolaQuotaSpese V 12 40 P 6 30 5")) << richieste.join('|').toStdString();
    EXPECT_DOUBLE_EQ(costi("P1")["CostoUltimo"], 5.5);
}

TEST_P(Costi, AUnitOfMeasureOtherThanTheStockUnit)
{
    articolo("P1");
    articolo("P2");
    articolo("P3");
    movimento(1, "ACQ");
    // One box of twelve worth 30: 2.50 a piece.
    riga(1, 1, "P1", 1, 30.0, {{"QtaAggMag", 12.0}, {"ValUnitario", 30.0}});
    // Stock unit: the unit price itself, converted.
    riga(1, 2, "P2", 4, 10.0, {{"ValUnitario", 2.4}});
    // No stock quantity (a value-only row): no division, the unit price.
    riga(1, 3, "P3", 2, 6.6, {{"QtaAggMag", 0.0}, {"ValUnitario", 3.3}});
    ASSERT_TRUE(riaggiorna(1).riuscito());
    EXPECT_DOUBLE_EQ(costi("P1")["CostoUltimo"], 2.5);
    EXPECT_DOUBLE_EQ(costi("P2")["CostoUltimo"], 2.4);
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaCarico"], 12);
    EXPECT_DOUBLE_EQ(costi("P3")["MedioPonderale"], 3.3);
    EXPECT_DOUBLE_EQ(costi("P3")["CostoUltimo"], 0);
}

TEST_P(Costi, CausalsThatPostNoCosts)
{
    articolo("P1");
    causale("INT", {{"TipoMov", "I"}, {"AggMedioPon", "S"}, {"AggCostoUlt", "S"}, {"AcqVen", "A"}});
    causale("IN2", {{"TipoMov", "V"}, {"QualeProgrQta", 2}, {"AggMedioPon", "S"}, {"AcqVen", "A"}});
    causale("INI", {{"TipoMov", "V"}, {"AggMedioPon", "S"}, {"AggMedioCar", "S"}, {"AcqVen", "A"}});
    movimento(1, "INT");
    riga(1, 1, "P1", 3, 3.0);
    movimento(2, "IN2");
    riga(2, 1, "P1", 3, 3.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    ASSERT_TRUE(riaggiorna(2).riuscito());
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaCarico"], 3);
    EXPECT_TRUE(costi("P1").vuoto());

    // An opening of counter 0 updates the costs and replaces the opening in the load totals.
    movimento(3, "INI");
    riga(3, 1, "P1", 10, 20.0);
    ASSERT_TRUE(riaggiorna(3).riuscito());
    movimento(4, "INI");
    riga(4, 1, "P1", 8, 24.0);
    ASSERT_TRUE(riaggiorna(4).riuscito());
    const Valori c = costi("P1");
    EXPECT_DOUBLE_EQ(c["QtaMedioC"], 8);
    EXPECT_DOUBLE_EQ(c["ValMedioC"], 24);
    EXPECT_DOUBLE_EQ(c["QtaAcquisti"], 18);
}

TEST_P(Costi, ALevelRowIsCostedAsFarAsTheArticlesListsGo)
{
    articolo("L0", {{"LivGruppo1", "TAGLIE"}, {"FlagLivLis", 0}});
    articolo("L1", {{"LivGruppo1", "TAGLIE"}, {"FlagLivLis", 1}});
    movimento(1, "ACQ");
    riga(1, 1, "L0", 4, 40.0);
    livello(1, 1, "S", "ROSSO", 3, 30.0);
    livello(1, 1, "M", "BLU", 1, 10.0);
    riga(1, 2, "L1", 2, 12.0);
    livello(1, 2, "S", "ROSSO", 2, 12.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    // Costs kept per article: the average is taken over the stock of every level.
    EXPECT_DOUBLE_EQ(costi("L0")["QtaAcquisti"], 4);
    EXPECT_DOUBLE_EQ(costi("L0")["MedioPonderale"], 10);
    movimento(2, "ACQ");
    riga(2, 1, "L0", 4, 80.0);
    livello(2, 1, "M", "BLU", 4, 80.0);
    ASSERT_TRUE(riaggiorna(2).riuscito());
    EXPECT_DOUBLE_EQ(costi("L0")["MedioPonderale"], 15);
    // Costs kept by the first level.
    EXPECT_DOUBLE_EQ(costi("L1", "S")["QtaAcquisti"], 2);
    EXPECT_TRUE(costi("L1").vuoto());
}

TEST_P(Costi, TheSupplierDataOfAPurchaseUnderTheSwitch)
{
    articolo("P1");
    movimento(1, "ACQ", {{"GruppoCliFor", "40"}, {"MastroCliFor", "01"}, {"ContoCliFor", "0007"}});
    riga(1, 1, "P1", 2, 10.0);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    EXPECT_EQ(conta("Select * from ArticoliFor"), 0);

    msUtilMovim = QStringLiteral("S");
    quotaSpese = 0.1;
    movimento(2, "ACQ", {{"GruppoCliFor", "40"}, {"MastroCliFor", "01"}, {"ContoCliFor", "0007"}});
    riga(2, 1, "P1", 2, 12.0, {{"UM", "CF"}});
    movimento(3, "ACQ",
              {{"GruppoCliFor", "40"},
               {"MastroCliFor", "01"},
               {"ContoCliFor", "0007"},
               {"DataReg", Date::fromYmd(2024, 1, 2)}});
    riga(3, 1, "P1", 2, 30.0);
    const EsitoPosting a = riaggiorna(2), b = riaggiorna(3);
    msUtilMovim.clear();
    ASSERT_TRUE(a.riuscito());
    ASSERT_TRUE(b.riuscito());
    EXPECT_EQ(conta("Select * from ArticoliFor Where Articolo = 'P1' And GruppoFor = '40' And MastroFor = '01' "
                    "And ContoFor = '0007' And Livello1 = '~ç~' And UltUM = 'CF' And Moneta = 'Euro'"),
              1);
    EXPECT_DOUBLE_EQ(valore("Select CostoUltimo from ArticoliFor").toDouble(), 6.1);
    EXPECT_EQ(valore("Select DataUltAcq from ArticoliFor").toDate(), Date::fromYmd(2024, 3, 15));
}

INSTANTIATE_TEST_SUITE_P(Engines, Costi, kBothEngines, engineParamName);

} // namespace
