// Stored values read back as the program's types.
#include "valoricampo.h"

#include <gtest/gtest.h>
#include <random>

namespace {

TEST(ValoriCampo, CurrencyStoredAsDoubleReadsBackAsTheDecimalItWasWritten)
{
    // The quick reading of amounts must agree with the decimal-correct conversion everywhere.
    std::mt19937_64 caso(7);
    std::uniform_int_distribution<int64_t> unita(-9'999'999'999'999LL, 9'999'999'999'999LL);
    std::uniform_real_distribution<double> libero(-2e9, 2e9);
    for (int i = 0; i < 200000; ++i) {
        const double d = i % 2 ? static_cast<double>(unita(caso)) / 10000.0 : libero(caso) / (1 + i % 1000);
        const Variant v = daMotore(QVariant(d), TipoCampo::Valuta);
        ASSERT_EQ(v.toCurrency(), Currency::fromDouble(d)) << d;
    }
    for (double d : {0.1 + 0.2, 2.675, 1.00005, -1.00015, 99999999.99995, 0.00005, 1e-12})
        EXPECT_EQ(daMotore(QVariant(d), TipoCampo::Valuta).toCurrency(), Currency::fromDouble(d)) << d;
    EXPECT_EQ(daMotore(QVariant(QStringLiteral("12.3400")), TipoCampo::Valuta).toCurrency(), Currency::fromUnits(123400));
    EXPECT_EQ(daMotore(QVariant(static_cast<qlonglong>(125)), TipoCampo::Valuta).toCurrency(), Currency::fromUnits(1250000));
}

TEST(ValoriCampo, EmptyIntoANumberOrDateStoresNull)
{
    for (TipoCampo t : {TipoCampo::Intero, TipoCampo::Lungo, TipoCampo::Doppio, TipoCampo::Valuta, TipoCampo::Data,
                        TipoCampo::DataOra})
        for (MotoreDb m : {MotoreDb::SQLite, MotoreDb::PostgreSQL}) {
            EXPECT_TRUE(versoMotore(Variant(""), t, m).isNull());
            EXPECT_TRUE(versoMotore(Variant(), t, m).isNull());
        }
    EXPECT_EQ(versoMotore(Variant(""), TipoCampo::Testo, MotoreDb::PostgreSQL).toString(), QString());
    EXPECT_FALSE(versoMotore(Variant(""), TipoCampo::Testo, MotoreDb::PostgreSQL).isNull());
    EXPECT_EQ(versoMotore(Variant(Date::fromYmd(2024, 3, 5, 10)), TipoCampo::Data, MotoreDb::SQLite).toString(),
              QStringLiteral("2024-03-05"));
    EXPECT_EQ(versoMotore(Variant(Date::fromYmd(2024, 3, 5)), TipoCampo::DataOra, MotoreDb::SQLite).toString(),
              QStringLiteral("2024-03-05 00:00:00"));
    EXPECT_EQ(versoMotore(Variant(Currency::fromUnits(12345)), TipoCampo::Valuta, MotoreDb::PostgreSQL).toString(),
              QStringLiteral("1.2345"));
}

} // namespace
