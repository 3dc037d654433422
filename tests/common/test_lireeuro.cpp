#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "conversionieuro.h"
#include "monete.h"
#include "scratchdb.h"
#include "tabellearrotondamento.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>

namespace {

const suite::FixtureOptions kDittaPiccola{.orders = 2, .customers = 4, .articles = 8};

// The company context as the company-settings loader leaves it for the fixture's company.
void contestoMonete()
{
    gsMonetaDitta = "Euro";
    gsCodLira = "L.";
    gsCodEuro = "Euro";
    gsOperCambio = "/";
    gsCambioLiraEuro = "1936,27";
    giNumDecPrzLire = 0;
    giNumDecImpLire = 0;
    giNumDecPrzEuro = 2;
    giNumDecImpEuro = 2;
}

class LireEuro : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = ScratchDb::create(Engine::SQLite);
        c.creaDitta(*db, kDittaPiccola);
        contestoMonete();
        azzeraBandeArrotondamento();
    }
    void TearDown() override { azzeraBandeArrotondamento(); }

    void bande(const QString &tabella, std::initializer_list<std::tuple<double, double, const char *>> righe)
    {
        ggDbAzienda->Esegui(gsNomeConn, "DELETE FROM " + tabella);
        for (const auto &[finoA, passo, modo] : righe)
            ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("INSERT INTO %1 (FinoA, ValArrot, TipoArrot) VALUES (%2, %3, '%4')")
                                                .arg(tabella)
                                                .arg(finoA, 0, 'g', 15)
                                                .arg(passo, 0, 'g', 15)
                                                .arg(QLatin1String(modo)));
    }

    ContestoDiProva c;
    std::unique_ptr<ScratchDb> db;
};

TEST_F(LireEuro, CompanyRateBothDirections)
{
    EXPECT_DOUBLE_EQ(ConvertiInEuro(1000, 0.0, std::nullopt, QString("L."), true, Variant(int16_t(2))), 0.52);
    EXPECT_DOUBLE_EQ(ConvertiDaEuro(1, 0.0, "/", QString("L."), true, Variant(int16_t(0))), 1936.0);
    EXPECT_DOUBLE_EQ(ConvertiDaEuro(1, 0.0, "/", QString("l."), false), 1936.27); // code ignoring case
    EXPECT_DOUBLE_EQ(LireInEuro(1000, false, true), 0.52);
    EXPECT_DOUBLE_EQ(EuroInLire(1, false, true), 1936.0);
    EXPECT_DOUBLE_EQ(EuroInLire(Variant("2,5"), false, false), 4840.675);
    // The euro code: rate 1 whatever is passed.
    EXPECT_DOUBLE_EQ(ConvertiInEuro(12.345, 7.0, QString("/"), QString("Euro")), 12.345);
    EXPECT_DOUBLE_EQ(ConvertiDaEuro(12.345, 7.0, "*", QString("EURO")), 12.345);
}

TEST_F(LireEuro, TheRateTextReadsTheSameWhateverTheLocale)
{
    const QLocale prima;
    for (const char *nome : {"C", "it_IT.UTF-8", "en_US.UTF-8"}) {
        SCOPED_TRACE(nome);
        std::setlocale(LC_ALL, nome);
        QLocale::setDefault(QLocale(QString::fromLatin1(nome).section('.', 0, 0)));
        EXPECT_DOUBLE_EQ(ConvertiDaEuro(1, {}, "/", QString("L.")), 1936.27);
        EXPECT_DOUBLE_EQ(ConvertiInEuro(1936.27, {}, std::nullopt, QString("L.")), 1.0);
    }
    std::setlocale(LC_ALL, "C.UTF-8");
    QLocale::setDefault(prima);
}

TEST_F(LireEuro, DocumentRateOperatorsAndZeroRates)
{
    struct Caso {
        const char *nome;
        double valore;
        Variant cambio;
        const char *operatore;
        double euro;
    };
    const Caso casi[] = {
        {"units per euro", 110, Variant(1.1), "/", 100},
        {"euro per unit", 10, Variant(0.5), "*", 5},
        {"rate as Italian text", 110, Variant("1,1"), "/", 100},
        {"rate 0 with /", 50, Variant(0.0), "/", 50},
        {"rate 0 with *", 50, Variant(0.0), "*", 0},
        {"empty rate with /", 50, Variant(""), "/", 50},
        {"empty rate with *", 50, Variant(""), "*", 0},
        {"other operator multiplies", 10, Variant(3.0), "x", 30},
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.nome);
        EXPECT_NEAR(ConvertiInEuro(k.valore, k.cambio, QString(k.operatore), QString("USD")), k.euro, 1e-9);
    }
    EXPECT_NEAR(ConvertiDaEuro(100, Variant(1.1), "/", QString("USD")), 110, 1e-9);
    EXPECT_NEAR(ConvertiDaEuro(5, Variant(0.5), "*", QString("USD")), 10, 1e-9);
    EXPECT_NEAR(ConvertiDaEuro(5, Variant(0.0), "*", QString("USD")), 5, 1e-9);
    EXPECT_NEAR(ConvertiDaEuro(5, Variant(""), "/", QString("USD")), 5, 1e-9); // empty rate is 1 here
    EXPECT_NEAR(ConvertiDaEuro(5, Variant(3.0), "x", QString("USD")), 15, 1e-9);
    // The operator left out takes the company's.
    EXPECT_NEAR(ConvertiInEuro(110, Variant(1.1), std::nullopt, QString("USD")), 100, 1e-9);
    // A rate that is no number is an error for the caller.
    EXPECT_THROW(ConvertiInEuro(1, Variant("abc"), QString("/"), QString("USD")), AppError);
}

TEST_F(LireEuro, HalvesRoundAwayFromZero)
{
    EXPECT_DOUBLE_EQ(ConvertiInEuro(0.125, Variant(1.0), QString("*"), QString("USD"), true), 0.13);
    EXPECT_DOUBLE_EQ(ConvertiInEuro(-0.125, Variant(1.0), QString("*"), QString("USD"), true), -0.13);
    EXPECT_DOUBLE_EQ(ConvertiDaEuro(2.675, Variant(1.0), "/", QString("USD"), true, Variant(int16_t(2))), 2.68);
    EXPECT_DOUBLE_EQ(ConvertiDaEuro(0.5, Variant(5.0), "/", QString("USD"), true), 3.0); // 2.5, lire decimals 0
    EXPECT_DOUBLE_EQ(ConvertiDaEuro(-0.5, Variant(5.0), "/", QString("USD"), true), -3.0);
}

TEST_F(LireEuro, EuroBandsByBound)
{
    bande("ArrotEuro", {{100, 0.05, "A"}, {1000, 1, "T"}});
    struct Caso {
        double valore, atteso;
    };
    const Caso casi[] = {
        {99.97, 99.95}, {100, 100}, {100.01, 100}, {999.99, 999}, {5000.7, 5000}, // above every bound: the last
        {-3.33, -3.35}, // a negative value takes the first band
        {0.025, 0.05}, {-0.025, -0.05}, {0.024, 0.0},
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.valore);
        EXPECT_DOUBLE_EQ(ArrotValuta(k.valore, "E"), k.atteso);
    }
    // The table flag wins over the decimals flag.
    EXPECT_DOUBLE_EQ(ConvertiInEuro(199.99, Variant(1.0), QString("*"), QString("USD"), true, Variant(int16_t(2)), true),
                     199.0);
}

TEST_F(LireEuro, LireBandsAndTheCacheOfOneRun)
{
    bande("ArrotLire", {{1000000, 10, "A"}, {1e12, 100, "S"}});
    EXPECT_DOUBLE_EQ(EuroInLire(10, true, false), 19360.0);       // 19362.7
    EXPECT_DOUBLE_EQ(EuroInLire(1000, true, false), 1936300.0);   // 1936270 rounded up to 100
    // The table is read once per run: a change made meanwhile is not seen.
    bande("ArrotLire", {{1e12, 1000, "A"}});
    EXPECT_DOUBLE_EQ(EuroInLire(10, true, false), 19360.0);
    azzeraBandeArrotondamento();
    EXPECT_DOUBLE_EQ(EuroInLire(10, true, false), 19000.0);
}

TEST_F(LireEuro, EmptyTableRoundsToThePriceDecimals)
{
    bande("ArrotEuro", {});
    EXPECT_DOUBLE_EQ(ArrotValuta(1.005, "E"), 1.01);
    giNumDecPrzLire = 0;
    bande("ArrotLire", {});
    EXPECT_DOUBLE_EQ(ArrotValuta(1936.5, "L"), 1937.0);
    EXPECT_EQ(bandeEuro().TipoArrot, std::vector<QString>{"Nessuno"});
}

TEST_F(LireEuro, AFailedReadIsTriedAgain)
{
    bande("ArrotEuro", {{1e12, 0.5, "A"}});
    auto conn = ggDbAzienda.condiviso();
    ggDbAzienda.reset();
    EXPECT_THROW(ArrotValuta(1.2, "E"), AppError);
    EXPECT_EQ(bandeEuro().caricato, 0);
    ggDbAzienda = conn;
    EXPECT_DOUBLE_EQ(ArrotValuta(1.2, "E"), 1.0);
    EXPECT_EQ(bandeEuro().caricato, 1);
}

TEST_F(LireEuro, ConvertiValuteByCurrencyAndChain)
{
    const Variant usd("USD");
    const Variant cambio(1.3);
    struct Caso {
        const char *nome;
        Variant valore;
        Variant moneta;
        const char *modo;
        int16_t catena;
        double lire, euro;
        Variant valuta;
    };
    // 100 USD at 1.3 per euro: 76.923076... euro, 76.92 rounded; lire of the unrounded euro
    // 148944 (148943.87), of the rounded one 148938 (148937.89).
    const Caso casi[] = {
        {"foreign, euro first, chain 0", Variant(100.0), usd, "E", 0, 148944, 76.92, Variant(100.0)},
        {"foreign, euro first, chain -1", Variant(100.0), usd, "E", -1, 148938, 76.92, Variant(100.0)},
        {"foreign, lire first, chain 0", Variant(100.0), usd, "L", 0, 148944, 76.92, Variant(100.0)},
        {"foreign, lire first, chain -1", Variant(100.0), usd, "L", -1, 148944, 76.92, Variant(100.0)},
        {"euro, chain 0: the value itself", Variant(1.23456), Variant("Euro"), "E", 0, 2390, 1.23456, Variant(1.23456)},
        {"euro, chain -1", Variant(1.23456), Variant("Euro"), "E", -1, 2390, 1.23, Variant(1.23)},
        {"lire, chain 0", Variant(1000.0), Variant("L."), "E", 0, 1000, 0.52, Variant(1000.0)},
        {"lire, chain -1", Variant(1000.0), Variant("L."), "E", -1, 1007, 0.52, Variant(1007.0)},
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.nome);
        Variant lire, euro, valuta;
        const Variant r = ConvertiValute(k.valore, cambio, "/", k.moneta, &lire, &euro, &valuta, true, true, true,
                                         std::nullopt, std::nullopt, std::nullopt, false, false, k.modo, "E", k.catena);
        EXPECT_DOUBLE_EQ(lire.toDouble(), k.lire);
        EXPECT_DOUBLE_EQ(euro.toDouble(), k.euro);
        EXPECT_DOUBLE_EQ(valuta.toDouble(), k.valuta.toDouble());
        EXPECT_DOUBLE_EQ(r.toDouble(), k.euro); // the company keeps euro
    }

    // A company in lire gets the lire value back.
    gsMonetaDitta = "L.";
    EXPECT_DOUBLE_EQ(ConvertiValute(Variant(100.0), cambio, "/", usd, nullptr, nullptr, nullptr, true, true, true,
                                    std::nullopt, std::nullopt, std::nullopt, false, false, "E", "E", 0)
                         .toDouble(),
                     148944);
}

TEST_F(LireEuro, ConvertiValuteFromTheCompanyCurrency)
{
    Variant lire, euro, valuta;
    // The value is in euro: lire from it, the document currency from it.
    Variant r = ConvertiValute(Variant(100.0), Variant(1.3), "/", Variant("USD"), &lire, &euro, &valuta, true, true,
                               true, std::nullopt, std::nullopt, std::nullopt, false, false, "M", "E", 0);
    EXPECT_DOUBLE_EQ(euro.toDouble(), 100);
    EXPECT_DOUBLE_EQ(lire.toDouble(), 193627);
    EXPECT_DOUBLE_EQ(valuta.toDouble(), 130);
    EXPECT_DOUBLE_EQ(r.toDouble(), 130);
    // The value is in lire: euro unrounded, then the document currency rounded.
    r = ConvertiValute(Variant(1000.0), Variant(1.3), "/", Variant("USD"), &lire, &euro, &valuta, true, true, true,
                       std::nullopt, std::nullopt, std::nullopt, false, false, "M", "L", 0);
    EXPECT_DOUBLE_EQ(lire.toDouble(), 1000);
    EXPECT_NEAR(euro.toDouble(), 1000 / 1936.27, 1e-12);
    EXPECT_DOUBLE_EQ(valuta.toDouble(), 0.67);
}

TEST_F(LireEuro, OmittedDecimalsAreThePriceDecimals)
{
    giNumDecPrzEuro = 3;
    giNumDecImpEuro = 2;
    EXPECT_DOUBLE_EQ(LireInEuro(1000, false, true), 0.516);
    EXPECT_DOUBLE_EQ(LireInEuro(1000, false, true, Variant(int16_t(2))), 0.52);
}

class Monete : public ::testing::TestWithParam<Engine> {};

TEST_P(Monete, LeggiMonetaReadsTheRecordOrItsDefaults)
{
    ContestoDiProva c;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    c.creaDitta(*db, kDittaPiccola);
    ggDbAzienda->Esegui(gsNomeConn, "UPDATE Monete SET NumDec = 3, Operatore = '*' WHERE Moneta = 'USD'");

    Variant importi, prezzi;
    QString oper, cee;
    EXPECT_EQ(LeggiMoneta("usd", &importi, &prezzi, &oper, &cee), 3);
    EXPECT_TRUE(importi.sameAs(Variant(int32_t(2))));
    EXPECT_TRUE(prezzi.sameAs(Variant(int32_t(3))));
    EXPECT_EQ(oper, "*");
    EXPECT_EQ(cee, "N");
    EXPECT_EQ(LeggiMoneta("USD", &importi), 2);  // only the amount decimals asked
    EXPECT_EQ(LeggiMoneta("USD"), 3);
    EXPECT_EQ(LeggiMoneta("L.", &importi, &prezzi), 0);

    importi = prezzi = Variant();
    EXPECT_EQ(LeggiMoneta("XYZ", &importi, &prezzi, &oper, &cee), 2);
    EXPECT_TRUE(importi.sameAs(Variant(int32_t(2))));
    EXPECT_EQ(oper, "/");
    EXPECT_EQ(cee, "N");
    EXPECT_EQ(LeggiMoneta("O'Brien"), 2); // a quote in the code is a literal, not SQL
}

INSTANTIATE_TEST_SUITE_P(Engines, Monete, kBothEngines, engineParamName);

} // namespace
