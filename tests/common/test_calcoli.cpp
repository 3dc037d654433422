// Amount arithmetic: the worked cases as tables, ties decided in decimal, both signs.
#include "calcoli.h"
#include "contesto.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

Variant cur(const char *testo) { return Variant(*Currency::parse(QString::fromLatin1(testo))); }
Variant dbl(double d) { return Variant(d); }
Variant intero(int16_t i) { return Variant(i); }

// The amount a double result stands for, as a caller storing it would read it.
QString importo(const Variant &v) { return Currency::fromDouble(v.toDouble()).toString(); }

// gsArrotIvaEuro for one test, given back after.
class ArrotIva {
public:
    explicit ArrotIva(const char *lettera) : m_prima(gsArrotIvaEuro) { gsArrotIvaEuro = QString::fromLatin1(lettera); }
    ~ArrotIva() { gsArrotIvaEuro = m_prima; }
    ArrotIva(const ArrotIva &) = delete;
    ArrotIva &operator=(const ArrotIva &) = delete;

private:
    QString m_prima;
};

struct CasoSconto {
    const char *testo;
    double atteso;
    bool errore;
};

TEST(CalcScontoComposto, CascadesOfTerms)
{
    const CasoSconto casi[] = {
        {"10+5", 14.5, false},    {"10-5", 5.5, false},       {"10,5+3", 13.185, false},
        {"50+50", 75, false},     {"20+10+5", 31.6, false},   {"-10", -10, false},
        {"+10", 10, false},       {"10+", 10, false},         {"10 + 5", 14.5, false},
        {"", 0, false},           {"   ", 0, false},          {"1,5+1,5+1,5", 4.432838, false},
        {"10++5", 0, true},       {"10+-5", 0, true},         {"10.5", 0, true},
        {"10%", 0, true},         {"10,5,3", 0, true},        {",", 0, false},
        // exact halves survive the cancellation of 100 - x: 1.4925125 and 0.0000005
        {"0,5+0,5+0,5", 1.492513, false}, {"0,0000005", 0.000001, false}, {"-0,0000005", -0.000001, false},
        {"99,9999995", 100, false},       {"33,3333335+0", 33.333334, false},
    };
    for (const auto &c : casi) {
        bool errore = !c.errore;
        const Variant r = CalcScontoComposto(QString::fromLatin1(c.testo), &errore, 0, 6);
        EXPECT_EQ(r.type(), Variant::Type::Double) << c.testo;
        EXPECT_DOUBLE_EQ(r.toDouble(), c.atteso) << c.testo;
        EXPECT_EQ(errore, c.errore) << c.testo;
    }
}

TEST(CalcScontoComposto, StartingPercentageAndNoRounding)
{
    bool errore = true;
    EXPECT_DOUBLE_EQ(CalcScontoComposto("10", &errore, 5, 6).toDouble(), 14.5);
    EXPECT_FALSE(errore);
    EXPECT_DOUBLE_EQ(CalcScontoComposto("10++5", &errore, 5, 6).toDouble(), 5);
    EXPECT_TRUE(errore);
    EXPECT_DOUBLE_EQ(CalcScontoComposto("   ", nullptr, 7, 6).toDouble(), 7);

    const double grezzo = CalcScontoComposto("20+10+5", nullptr, 0, kNessunArrotondamento).toDouble();
    EXPECT_LT(grezzo, 31.6);
    EXPECT_NEAR(grezzo, 31.6, 1e-12);
    // The default is six decimals, rounded to the nearest.
    EXPECT_DOUBLE_EQ(CalcScontoComposto("33,3333333").toDouble(), 33.333333);
}

TEST(CalcScontoComposto, TheCommaIsTheDecimalSignInAnyLocale)
{
    const QLocale prima;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    bool errore = true;
    const double r = CalcScontoComposto("10,5+3", &errore).toDouble();
    QLocale::setDefault(prima);
    EXPECT_DOUBLE_EQ(r, 13.185);
    EXPECT_FALSE(errore);
}

TEST(EspressioneNumValida, CharactersAndSigns)
{
    EXPECT_TRUE(EspressioneNumValida(""));
    EXPECT_TRUE(EspressioneNumValida("10 + 5,5 - 2"));
    EXPECT_FALSE(EspressioneNumValida("10 + - 5")); // the blanks go before the signs are checked
    EXPECT_FALSE(EspressioneNumValida("10--5"));
    EXPECT_FALSE(EspressioneNumValida("10;5"));
    EXPECT_FALSE(EspressioneNumValida("10.5"));
}

struct CasoPerc {
    const char *arrot;
    Variant valore;
    Variant percentuale;
    int16_t decimali;
    const char *atteso;
};

TEST(CalcImportoPerc, ModesByDecimalsAndSetting)
{
    const CasoPerc casi[] = {
        // Lire: always away from zero, whatever the setting.
        {"A", dbl(1001), intero(20), 0, "201"},
        {"A", dbl(-1001), intero(20), 0, "-201"},
        // Euro: nearest, exact halves away from zero, decided in decimal (1.265, 0.175).
        {"A", dbl(5.75), intero(22), 2, "1.27"},
        {"A", dbl(-5.75), intero(22), 2, "-1.27"},
        {"A", dbl(5.70), intero(22), 2, "1.25"},
        {"A", dbl(0.7955), dbl(22), 2, "0.18"},
        // "S" in euro: away from zero too.
        {"S", dbl(5.70), intero(22), 2, "1.26"},
        {"s", dbl(-5.70), intero(22), 2, "-1.26"},
        {"A", Variant::null(), intero(22), 2, "0"},
        {"A", Variant(QStringLiteral("5,75")), Variant(QStringLiteral("22")), 2, "1.27"},
        // Two amounts multiply to four decimals first (3.499965 is held as 3.5000) ...
        {"A", cur("1.05"), cur("3.3333"), 2, "0.04"},
        // ... an amount by a double does not.
        {"A", cur("1.05"), dbl(3.3333), 2, "0.03"},
    };
    for (const auto &c : casi) {
        ArrotIva a(c.arrot);
        const Variant r = CalcImportoPerc(c.valore, c.percentuale, c.decimali);
        EXPECT_EQ(r.type(), Variant::Type::Double);
        EXPECT_EQ(importo(r), QString::fromLatin1(c.atteso)) << c.valore.text().toStdString() << " " << c.percentuale.text().toStdString();
    }
}

TEST(CalcConIva, AmountPlusItsVat)
{
    ArrotIva a("A");
    // Rate 0: the amount as given, even with more decimals than asked.
    const Variant r0 = CalcConIva(dbl(100.123), intero(0), 2, "A");
    EXPECT_EQ(r0.type(), Variant::Type::Double);
    EXPECT_DOUBLE_EQ(r0.toDouble(), 100.123);
    EXPECT_TRUE(CalcConIva(cur("7.12345"), dbl(0), 2, "A").sameAs(cur("7.12345")));

    EXPECT_EQ(importo(CalcConIva(dbl(100), intero(22), 2, "A")), "122");
    // The amount is rounded first, its VAT computed on the rounded amount: 10.01 + 2.20.
    EXPECT_EQ(importo(CalcConIva(dbl(10.005), intero(22), 2, "A")), "12.21");
    EXPECT_EQ(importo(CalcConIva(dbl(-10.005), intero(22), 2, "A")), "-12.21");
    EXPECT_EQ(importo(CalcConIva(dbl(10.005), intero(22), 2, "T")), "12.2");
}

struct CasoScorporo {
    const char *arrot;
    Variant lordo;
    double aliquota;
    int16_t decimali;
    const char *atteso;
};

TEST(ScorporaIva, TaxablePartOfAGrossAmount)
{
    const CasoScorporo casi[] = {
        {"A", cur("122"), 22, 2, "100"},
        {"A", dbl(10), 22, 2, "8.2"},
        // 0.30 plus its VAT 0.07 would exceed 0.36: truncated to 0.29, on both sides of zero.
        {"A", dbl(0.36), 22, 2, "0.29"},
        {"A", dbl(-0.36), 22, 2, "-0.29"},
        {"A", dbl(-10), 22, 2, "-8.2"},
        // A half rounds up, and then taxable plus VAT exceed the amount: truncated (1.005).
        {"A", dbl(1.206), 20, 2, "1"},
        {"S", dbl(10), 22, 2, "8.19"},
        // Lire: truncated.
        {"A", dbl(1000), 22, 0, "819"},
        {"A", dbl(1220), 22, 0, "1000"},
        {"A", dbl(-1000), 22, 0, "-819"},
    };
    for (const auto &c : casi) {
        ArrotIva a(c.arrot);
        EXPECT_EQ(importo(ScorporaIva(c.lordo, dbl(c.aliquota), c.decimali)), QString::fromLatin1(c.atteso))
            << c.lordo.text().toStdString() << " at " << c.aliquota;
    }
}

TEST(ScorporaIva, RateZeroAndMinusHundred)
{
    ArrotIva a("A");
    EXPECT_TRUE(ScorporaIva(dbl(12.3456), intero(0), 2).sameAs(dbl(12.3456)));
    try {
        ScorporaIva(dbl(100), dbl(-100), 2);
        FAIL() << "a division by zero must reach the caller";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), ErrNum::DivByZero);
    }
}

TEST(ApplicaSconto, RoundedOrKeptToEightDecimals)
{
    EXPECT_EQ(importo(ApplicaSconto(dbl(10), dbl(33.333), 2, false)), "6.6667");
    EXPECT_DOUBLE_EQ(ApplicaSconto(dbl(10), dbl(33.333), 2, false).toDouble(), 6.6667);
    EXPECT_EQ(importo(ApplicaSconto(dbl(10), dbl(33.333), 2, true)), "6.67");
    // 8.575 is a half in decimal: up.
    EXPECT_EQ(importo(ApplicaSconto(cur("8.75"), intero(2), 2, true)), "8.58");
    EXPECT_EQ(importo(ApplicaSconto(cur("-8.75"), intero(2), 2, true)), "-8.58");
    EXPECT_DOUBLE_EQ(ApplicaSconto(dbl(1), dbl(1.0 / 3.0), 2, false).toDouble(), 0.99666667);
    EXPECT_EQ(importo(CalcPrezzoNetto(dbl(9.99), intero(10), true, 2)), "8.99");
}

TEST(CalcImportoRiga, NetPriceTimesQuantity)
{
    EXPECT_EQ(importo(CalcImportoRiga(dbl(9.99), intero(3), intero(10), true, 2)), "26.97");
    EXPECT_EQ(importo(CalcImportoRiga(dbl(9.99), intero(3), intero(10), false, 2)), "26.973");
    EXPECT_EQ(importo(CalcImportoRiga(dbl(9.99), dbl(-3), intero(10), true, 2)), "-26.97");
    // The product itself is not rounded.
    EXPECT_EQ(importo(CalcImportoRiga(dbl(0.333), dbl(1.5), intero(0), false, 2)), "0.4995");
    EXPECT_EQ(importo(CalcImportoRiga(dbl(9.99), Variant::null(), intero(10), true, 2)), "0");
}

struct CasoRitenuta {
    const char *importo;
    double aliquota;
    double ritenuta;
    const char *soggetto; // the amount after the call
};

TEST(CalcRitenuta, PlainAndPackedRates)
{
    const CasoRitenuta casi[] = {
        {"1000", 20, 200, "1000"},
        {"1000", 2050.5, 102.5, "500"},  // 20.50 % of half the amount
        {"1000", 2000, 200, "1000"},     // share 0: the whole amount
        {"1000", 100, 10, "1000"},       // 100 is already packed: 1.00 %
        {"1000.01", 2050.5, 102.50205, "500.01"}, // 500.005: a half, up; the tax unrounded
        {"-1000.01", 2050.5, -102.50205, "-500.01"},
        {"1000", 99.5, 995, "1000"},
        {"333.33", 2000.3333, 22.22, "111.1"},
    };
    for (const auto &c : casi) {
        Currency imp = *Currency::parse(QString::fromLatin1(c.importo));
        const Variant r = CalcRitenuta(imp, c.aliquota, 2);
        EXPECT_EQ(r.type(), Variant::Type::Double);
        EXPECT_NEAR(r.toDouble(), c.ritenuta, 1e-9) << c.importo << " at " << c.aliquota;
        EXPECT_EQ(imp.toString(), QString::fromLatin1(c.soggetto)) << c.importo << " at " << c.aliquota;
    }
}

struct CasoScomponi {
    double aliquota;
    double percentuale;
    double quota;
};

TEST(ScomponiRitenuta, RateAndShare)
{
    const CasoScomponi casi[] = {
        {2050.5, 20.5, 50},     {2000, 20, 100},         {100, 1, 100},
        {2050.1234, 20.5, 12.34}, {2050.00005, 20.5, 0.01}, {2050.99995, 20.5, 100},
        {2050.12344, 20.5, 12.34}, {400.25, 4, 25},
    };
    for (const auto &c : casi) {
        double p = -1;
        double s = -1;
        ScomponiRitenuta(c.aliquota, p, s);
        EXPECT_DOUBLE_EQ(p, c.percentuale) << c.aliquota;
        EXPECT_DOUBLE_EQ(s, c.quota) << c.aliquota;
    }
}

TEST(ChiaveControP, CentreAndCompetence)
{
    EXPECT_TRUE(ChiaveControP("VEN", "2024").sameAs(Variant("CVEND2024")));
    EXPECT_TRUE(ChiaveControP("", "").sameAs(Variant("CD")));
    EXPECT_TRUE(ChiaveControP(" A ", "B").sameAs(Variant("C A DB")));
    EXPECT_TRUE(VarDaIntero(dbl(12.5), 3).sameAs(intero(3)));
}

} // namespace
