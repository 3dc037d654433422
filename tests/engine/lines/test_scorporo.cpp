// Line amounts net of VAT: when the VAT comes out, at which decimals, and the unit value.
#include "contesto.h"
#include "scorporavaloririga.h"

#include <gtest/gtest.h>

namespace {

struct Caso {
    const char *nome;
    const char *tipoIva;
    double aliquota;
    const char *prezziIvati;
    double qta;
    int16_t decImporto, decUnitario;
    double importo, lire, euro;
    double nettoImporto, nettoLire, nettoEuro, unitario;
};

TEST(ScorporaValoriRiga, Table)
{
    azzeraContesto();
    giNumDecPrzLire = 0;
    giNumDecPrzEuro = 2;
    gsArrotIvaEuro = QStringLiteral("A");
    const Caso casi[] = {
        {"taxable, VAT included", "0", 22, "S", 4, 2, 2, 122, 236225, 122, 100, 193627, 100, 25},
        {"kind 1, flag in lower case", "1", 22, "s", 4, 2, 2, 122, 236225, 122, 100, 193627, 100, 25},
        {"other VAT kind", "2", 22, "S", 4, 2, 2, 122, 236225, 122, 122, 236225, 122, 30.5},
        {"prices without VAT", "0", 22, "N", 4, 2, 2, 122, 236225, 122, 122, 236225, 122, 30.5},
        {"flag empty", "0", 22, "", 4, 2, 2, 122, 236225, 122, 122, 236225, 122, 30.5},
        {"rate 0", "0", 0, "S", 4, 2, 2, 122, 236225, 122, 122, 236225, 122, 30.5},
        {"quantity 0: the net amount", "0", 22, "S", 0, 2, 2, 122, 236225, 122, 100, 193627, 100, 100},
        {"unit value rounded down", "0", 22, "N", 3, 2, 2, 20, 38725, 20, 20, 38725, 20, 6.66},
        {"unit value at four decimals", "0", 22, "N", 3, 2, 4, 20, 38725, 20, 20, 38725, 20, 6.6666},
        // The twins keep the lire and euro decimals whatever the order currency's are.
        {"twins at their own decimals", "0", 22, "S", 4, 0, 2, 10, 1000, 10, 8, 819, 8.2, 2},
    };
    for (const Caso &k : casi) {
        SCOPED_TRACE(k.nome);
        Variant unitario, netto, nettoLire, nettoEuro;
        ScorporaValoriRiga(Variant(k.qta), QString::fromLatin1(k.tipoIva), Variant(k.aliquota),
                           QString::fromLatin1(k.prezziIvati), k.decImporto, k.decUnitario, Variant(99.0),
                           Variant(k.importo), Variant(k.lire), Variant(k.euro), unitario, netto, nettoLire, nettoEuro);
        EXPECT_DOUBLE_EQ(netto.toDouble(), k.nettoImporto);
        EXPECT_DOUBLE_EQ(nettoLire.toDouble(), k.nettoLire);
        EXPECT_DOUBLE_EQ(nettoEuro.toDouble(), k.nettoEuro);
        EXPECT_DOUBLE_EQ(unitario.toDouble(), k.unitario);
    }
    azzeraContesto();
}

} // namespace
