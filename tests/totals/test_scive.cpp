// The VAT breakdown model: keys, order of adding, counterparts with their shares, the goods
// per cascade-discount index, and the errors a stage meets when it skips an existence test.
#include "scive.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

int numeroErrore(const std::function<void()> &f)
{
    try {
        f();
    } catch (const AppError &e) {
        return e.number();
    }
    return 0;
}

QStringList chiavi(const scIve &ive)
{
    QStringList out;
    for (const scIva &iva : ive.ocCollIva)
        out << iva.osIva;
    return out;
}

TEST(scIve, KeysIgnoreCaseAndKeepTheOrderOfAdding)
{
    scIve ive;
    EXPECT_FALSE(ive.obEsiste(QStringLiteral("22")));
    EXPECT_EQ(numeroErrore([&] { ive.ogIva(QStringLiteral("22")); }), 5);

    scIva &e = ive.AddIva(QStringLiteral("e10"));
    ive.AddIva(QStringLiteral("22"));
    ive.AddIva(QStringLiteral("10"));
    EXPECT_TRUE(ive.obEsiste(QStringLiteral("E10")));
    EXPECT_EQ(&ive.ogIva(QStringLiteral("E10")), &e);
    EXPECT_EQ(chiavi(ive), QStringList({"e10", "22", "10"}));
    EXPECT_TRUE(e.odImpon.isZero());
    EXPECT_EQ(e.oiNumSconti, 0);

    e.odSVal = Currency::fromLong(5);
    EXPECT_EQ(numeroErrore([&] { ive.AddIva(QStringLiteral("E10")); }), 457);
    EXPECT_EQ(ive.ogIva(QStringLiteral("e10")).odSVal, Currency::fromLong(5));

    ive.ocCollIva.Remove(QStringLiteral("22"));
    EXPECT_EQ(chiavi(ive), QStringList({"e10", "10"}));
    ive.Clear();
    EXPECT_EQ(ive.ocCollIva.Count(), 0);
    ive.AddIva(QStringLiteral("22"));
    EXPECT_EQ(chiavi(ive), QStringList({"22"}));
}

TEST(scIve, CounterpartsAndShares)
{
    scIve ive;
    scIva &iva = ive.AddIva(QStringLiteral("22"));
    const QString conto = QStringLiteral("58010001"), vuoto;
    EXPECT_FALSE(iva.obCPEsiste(conto));
    EXPECT_EQ(numeroErrore([&] { iva.obCdcCompEsiste(conto, vuoto, vuoto); }), 5);

    iva.AddControP(conto, vuoto, vuoto);
    EXPECT_TRUE(iva.obCdcCompEsiste(conto, vuoto, vuoto));
    EXPECT_FALSE(iva.obCdcCompEsiste(conto, QStringLiteral("CC1"), vuoto));
    EXPECT_EQ(iva.ogControp(conto).ocCdcCompetenza.Item(1).osKey, QStringLiteral("CD"));
    EXPECT_EQ(numeroErrore([&] { iva.AddControP(conto, QStringLiteral("CC1"), vuoto); }), 457);
    EXPECT_EQ(iva.ogControp(conto).ocCdcCompetenza.Count(), 1);

    scControPCDCComp &q = iva.AddCdcComp(conto, QStringLiteral("CC1"), QStringLiteral("G01/03/2024"));
    EXPECT_EQ(q.osKey, QStringLiteral("CCC1DG01/03/2024"));
    EXPECT_EQ(q.osCentroDiCosto, QStringLiteral("CC1"));

    iva.ogCP(conto, true, QStringLiteral("qualsiasi"), vuoto).odSVal = Currency::fromLong(3);
    iva.ogCP(conto, false, QStringLiteral("CC1"), QStringLiteral("G01/03/2024")).odSVal = Currency::fromLong(2);
    EXPECT_EQ(iva.ogControp(conto).odSVal, Currency::fromLong(3));
    EXPECT_EQ(iva.ogCdcComp(conto, QStringLiteral("cc1"), QStringLiteral("g01/03/2024")).odSVal, Currency::fromLong(2));
    EXPECT_EQ(numeroErrore([&] { iva.ogCP(conto, false, QStringLiteral("CC2"), vuoto); }), 5);

    // The empty account is a key like any other.
    iva.AddControP(vuoto, vuoto, vuoto);
    EXPECT_TRUE(iva.obCPEsiste(vuoto));
    iva.CPClear();
    EXPECT_FALSE(iva.obCPEsiste(conto));
}

TEST(scIve, GoodsPerDiscountIndex)
{
    scIve ive;
    scIva &iva = ive.AddIva(QStringLiteral("22"));
    iva.odMerce = Currency::fromLong(7);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(0), 7.0);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(5), 7.0);

    iva.PrepMerceSco(3);
    EXPECT_EQ(iva.oiNumSconti, 3);
    for (int16_t i = 1; i <= 3; ++i)
        EXPECT_DOUBLE_EQ(iva.odMerceSco(i), 0.0);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(4), 7.0);

    iva.setOdMerceSco(1, 200.0);
    iva.setOdMerceSco(2, 180.0);
    ive.setOdMerceSco(QStringLiteral("22"), 3, 171.0);
    ive.PrepMerceSco(QStringLiteral("22"), 5);
    EXPECT_DOUBLE_EQ(ive.odMerceSco(QStringLiteral("22"), 4), 171.0);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(5), 171.0);
    iva.PrepMerceSco(2);
    EXPECT_EQ(ive.oiNumSconti(QStringLiteral("22")), 5);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(2), 180.0);

    EXPECT_EQ(numeroErrore([&] { iva.setOdMerceSco(6, 1.0); }), 9);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(6), 7.0);
}

} // namespace
