// Stored values read back as the program's types.
#include "valoricampo.h"

#include <gtest/gtest.h>
#include <random>

namespace {

TEST(ValoriCampo, CurrencyGoesToSQLiteAsTenThousandthsAndComesBackExactOverTheWholeRange)
{
    const Currency estremi[] = {Currency::fromUnits(INT64_MAX), Currency::fromUnits(INT64_MIN),
                                Currency::fromUnits(1234567890123456), Currency::fromUnits(-1), Currency()};
    for (const Currency c : estremi) {
        const QVariant scritto = versoMotore(Variant(c), TipoCampo::Valuta, MotoreDb::SQLite);
        EXPECT_EQ(scritto.typeId(), QMetaType::LongLong);
        EXPECT_EQ(scritto.toLongLong(), c.units());
        EXPECT_EQ(daMotore(scritto, TipoCampo::Valuta).toCurrency(), c);
        const QVariant pg = versoMotore(Variant(c), TipoCampo::Valuta, MotoreDb::PostgreSQL);
        EXPECT_EQ(daMotore(pg, TipoCampo::Valuta).toCurrency(), c) << pg.toString().toStdString();
    }
    EXPECT_EQ(daMotore(QVariant(QStringLiteral("12.3400")), TipoCampo::Valuta).toCurrency(), Currency::fromUnits(123400));
    // ten-thousandths that reached the column as a floating-point number
    EXPECT_EQ(daMotore(QVariant(125000.0), TipoCampo::Valuta).toCurrency(), Currency::fromUnits(125000));
    EXPECT_TRUE(versoMotore(Variant::null(), TipoCampo::Valuta, MotoreDb::SQLite).isNull());
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
