#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestoaiuto.h"
#include "contestodiprova.h"
#include "datiditta.h"
#include "finestraconnessionediprova.h"
#include "menuclient.h"
#include "scratchdb.h"
#include "scrivifile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const suite::FixtureOptions kDittaPiccola{.orders = 2, .customers = 4, .articles = 8};

class DatiDitta : public ::testing::Test {
protected:
    void SetUp() override
    {
        MenuConfig cfg;
        cfg.terminale = "PC2";
        cfg.dataLavoro = Date::fromYmd(2024, 5, 17);
        c = std::make_unique<ContestoDiProva>(cfg);
        db = ScratchDb::create(Engine::SQLite);
        c->creaDitta(*db, kDittaPiccola);
    }
    std::unique_ptr<ContestoDiProva> c;
    std::unique_ptr<ScratchDb> db;
};

TEST_F(DatiDitta, LoadsTheCompanyOfTheFixture)
{
    gbChiusuraDaMenu = true;
    CaricaDatiDitta();
    EXPECT_EQ(gtDataLavoro, Date::fromYmd(2024, 5, 17));
    EXPECT_EQ(gsDescAzie, "Ditta dimostrativa S.r.l.");
    EXPECT_EQ(giNumDecQtaFmt, 3);
    EXPECT_EQ(giNumDecQta, 3);
    EXPECT_EQ(gsMonetaDitta, "Euro");
    EXPECT_EQ(gsCodLira, "L.");
    EXPECT_EQ(gsCambioLiraEuro, "1936,27");
    EXPECT_EQ(giNumDecPrzLire, 0);
    EXPECT_EQ(giNumDecImpLire, 0);
    EXPECT_EQ(giNumDecPrzEuro, 2);
    EXPECT_EQ(giNumDecImpEuro, 2);
    EXPECT_EQ(glColErrore, 255);
    EXPECT_EQ(glColNormale, static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(glColBackGotFocus, 0xFFFF80);
    EXPECT_EQ(glColBackLostFocus, static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(glColBackForm, 0);
    EXPECT_EQ(gsStatoFinestra, "");
    EXPECT_EQ(gsArrotIvaEuro, "A");
    EXPECT_EQ(gsTastierinoVirgola, "");
    EXPECT_EQ(gsDecodHelpAbil, "N");
    EXPECT_FALSE(gbDecodHelpPersKey);
    EXPECT_EQ(gsFormatData, "dd/mm/yyyy");
    ASSERT_TRUE(ggDbDao);
    EXPECT_TRUE(ggDbDao->Database().EsisteTabella("Monete"));
    ASSERT_TRUE(ggContestoAiuto);
    EXPECT_TRUE(ggContestoAiuto->obAbilitato);
    EXPECT_EQ(ggContestoAiuto->ogMenuClient.get(), ggMenuClient.get());
    EXPECT_FALSE(gbChiusuraDaMenu);
}

TEST_F(DatiDitta, AsksTheMenuServerInItsOrder)
{
    InizProgramma();
    const QString p = QString::fromUtf8("Personal.Tutti.§");
    EXPECT_EQ(c->domande(),
              (QStringList{"DataLavoro", "DescAzie", "Mag.NumDecQta", "Ditta.Moneta", "Ditta.CodLira", "Ditta.CodEuro",
                           "Ditta.OperCambio", "Ditta.CambioLiraEuro", "Mag.NumDecQta", "ColBackGotFocus",
                           "ColBacklostFocus", p + "ColBackForm", p + "Massimizzato", "NomeTerminale",
                           p + "ArrotIvaEuro", p + "TastierinoVirgola", p + "DecodHelpAbil", p + "DecodHelpPersKey",
                           "SqlLogin", "SqlPwd", p + "ArrUnitIntermedio"}));
}

TEST_F(DatiDitta, EmptyCurrencySettingsTakeTheirDefaults)
{
    c->parametro("Ditta.Moneta", "");
    c->parametro("Ditta.CodLira", Variant());
    c->parametro("Ditta.CodEuro", "");
    c->parametro("Ditta.OperCambio", "");
    c->parametro("Ditta.CambioLiraEuro", "");
    c->parametro("ColBackGotFocus", "");
    c->parametro("ColBacklostFocus", Variant());
    CaricaDatiDitta();
    EXPECT_EQ(gsMonetaDitta, "Euro");
    EXPECT_EQ(gsCodLira, "L.");
    EXPECT_EQ(gsCodEuro, "Euro");
    EXPECT_EQ(gsOperCambio, "/");
    EXPECT_EQ(gsCambioLiraEuro, "1936,27");
    EXPECT_EQ(glColBackGotFocus, 0xFFFF80);
    EXPECT_EQ(glColBackLostFocus, static_cast<int32_t>(0x80000005u));
}

TEST_F(DatiDitta, ColoursAndDecimalsAreNumbers)
{
    c->parametro("ColBackGotFocus", "0");
    c->personale("Tutti", "ColBackForm", "12,6 grigio");
    CaricaDatiDitta();
    EXPECT_EQ(glColBackGotFocus, 0); // black, not the default
    EXPECT_EQ(glColBackForm, 13);

    c->personale("Tutti", "ColBackForm", "");
    CaricaDatiDitta();
    EXPECT_EQ(glColBackForm, 0);

    for (const auto &[chiave, valore] : {std::pair{"Mag.NumDecQta", ""}, std::pair{"ColBackGotFocus", "rosso"},
                                         std::pair{"ColBacklostFocus", "x"}}) {
        SCOPED_TRACE(chiave);
        const Variant buono = c->menu().responder().config().parametri.at(chiave);
        c->parametro(chiave, valore);
        try {
            CaricaDatiDitta();
            ADD_FAILURE() << "no conversion error";
        } catch (const AppError &e) {
            EXPECT_EQ(e.number(), 13);
        }
        c->parametro(chiave, buono);
    }
}

TEST_F(DatiDitta, MassimizzatoNamesTheTerminal)
{
    struct Caso {
        Variant elenco;
        const char *stato;
    };
    const Caso casi[] = {
        {Variant("pc1,pc2"), "2"},  // other letter case
        {Variant("PC2"), "2"},      // comma added
        {Variant("tutti"), "2"},
        {Variant("Tutti,"), "2"},
        {Variant("XPC2,"), "2"},    // a longer name with the same ending matches too
        {Variant("pc1,pc3"), ""},
        {Variant("PC22"), ""},
        {Variant("tutti,pc1"), ""},
        {Variant(""), ""},
        {Variant(), ""},            // not held: the empty default
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.elenco.text().toStdString());
        if (k.elenco.isEmpty())
            c->menu().responder().setConfig([&] {
                MenuConfig cfg = c->menu().responder().config();
                cfg.parametri.erase(MenuConfig::chiavePersonale("Tutti", "Massimizzato"));
                return cfg;
            }());
        else
            c->personale("Tutti", "Massimizzato", k.elenco);
        CaricaDatiDitta();
        EXPECT_EQ(gsStatoFinestra, k.stato);
    }
}

TEST_F(DatiDitta, UserOptionsWithTheirDefaults)
{
    c->personale("Tutti", "ArrotIvaEuro", ""); // held empty: empty, not "A"
    c->personale("Tutti", "TastierinoVirgola", "S");
    c->personale("Tutti", "DecodHelpAbil", "C");
    c->personale("Tutti", "DecodHelpPersKey", "s");
    c->personale("Tutti", "ArrUnitIntermedio", "S");
    InizProgramma();
    EXPECT_EQ(gsArrotIvaEuro, "");
    EXPECT_EQ(gsTastierinoVirgola, "S");
    EXPECT_EQ(gsDecodHelpAbil, "C");
    EXPECT_TRUE(gbDecodHelpPersKey);
    EXPECT_TRUE(gbArrUnitIntermedio);
}

TEST_F(DatiDitta, DateFormatFromTheChosenIniFirst)
{
    QTemporaryDir dir;
    scriviFile(dir.filePath("suite.ini"), "[Configurazioni]\nFormatData=yyyy-mm-dd\n");
    scriviFile(dir.filePath("ditta1.ini"), "[Configurazioni]\nFormatData=dd.mm.yy\n");
    gsFileIni = dir.filePath("suite.ini");
    CaricaDatiDitta();
    EXPECT_EQ(gsFormatData, "yyyy-mm-dd");
    gsIniScelta = "ditta1.ini";
    CaricaDatiDitta();
    EXPECT_EQ(gsFormatData, "dd.mm.yy");
}

TEST(MostraVersione, FillsTheConnectionWindow)
{
    ContestoDiProva c;
    c.parametro("Versione", "3.2");
    c.parametro("DataVersione", "01/02/2024");
    FinestraConnessioneInstallata f;
    MostraVersione(true, true);
    EXPECT_EQ(f->chiamate, (QStringList{"Carica", "Titolo", "Versione Versione 3.2", "DataVersione del 01/02/2024",
                                        "Immagini con accesso"}));
    f->chiamate.clear();
    MostraVersione(false, false);
    EXPECT_EQ(f->chiamate.front(), "Titolo");
    EXPECT_EQ(f->chiamate.back(), "Immagini");
}

} // namespace
