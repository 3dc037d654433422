// The rules of a typed cell and of a click on a flag, case by case (no database).
#include "clictoggle.h"
#include "contesto.h"
#include "regolecelle.h"

#include <gtest/gtest.h>

namespace {

struct CasoTestata {
    const char *campo;
    const char *testo;
    const char *consTotale;
    bool rifiutato;
    const char *valore;
    const char *collegato;       // "" no sibling change
    const char *valoreCollegato;
};

TEST(RegoleCelle, HeaderFlags)
{
    const CasoTestata casi[] = {
        {"EvadeTutto", "s", "N", false, "S", "Selez", "S"},
        {"Selez", "n", "N", false, "N", "EvadeTutto", "N"},
        {"EvadeTutto", "N", "S", false, "N", "Selez", "N"},
        {"Selez", "S", "S", false, "S", "EvadeTutto", "S"},
        // Without total delivery the sibling stays.
        {"EvadeTutto", "N", "N", false, "N", "", ""},
        {"Selez", "S", "", false, "S", "", ""},
        // A refused entry changes no sibling, even on a total-delivery order.
        {"EvadeTutto", "x", "S", true, "", "", ""},
        {"Selez", "", "S", true, "", "", ""},
        // Other columns pass as typed.
        {"Descrizione", "qualsiasi", "S", false, "qualsiasi", "", ""},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(std::string(c.campo) + " " + c.testo + " " + c.consTotale);
        const EsitoCella e = regoleCelle::Testata(QString::fromUtf8(c.campo), Variant(c.testo), QString::fromUtf8(c.consTotale));
        EXPECT_EQ(e.rifiutato, c.rifiutato);
        if (c.rifiutato) {
            EXPECT_EQ(e.messaggio, testiCelle::kSoloSN);
            EXPECT_TRUE(e.finestraDiSistema);
        } else {
            EXPECT_EQ(e.valore.text(), QString::fromUtf8(c.valore));
            EXPECT_TRUE(e.messaggio.isEmpty());
        }
        EXPECT_EQ(e.campoCollegato, QString::fromUtf8(c.collegato));
        EXPECT_EQ(e.valoreCollegato, QString::fromUtf8(c.valoreCollegato));
    }
}

TEST(RegoleCelle, BalanceFlagOfLinesAndExpenseFlag)
{
    RigaCella riepilogo{.livello1 = QStringLiteral("*liv")};
    RigaCella riga{.livello1 = QStringLiteral(" ")};
    EXPECT_EQ(regoleCelle::Righe("ASaldo", Variant("n"), riepilogo, "N").valore.text(), "N");
    const EsitoCella s = regoleCelle::Righe("ASaldo", Variant("S"), riepilogo, "N");
    EXPECT_TRUE(s.rifiutato);
    EXPECT_EQ(s.messaggio, testiCelle::kRiepilogoASaldo);
    EXPECT_FALSE(s.finestraDiSistema);
    EXPECT_EQ(regoleCelle::Righe("ASaldo", Variant("s"), riga, "N").valore.text(), "S");
    const EsitoCella x = regoleCelle::Righe("ASaldo", Variant("x"), riga, "N");
    EXPECT_TRUE(x.rifiutato);
    EXPECT_EQ(x.messaggio, testiCelle::kSoloSN);

    EXPECT_EQ(regoleCelle::Spese("Selez", Variant("s")).valore.text(), "S");
    EXPECT_TRUE(regoleCelle::Spese("Selez", Variant("1")).rifiutato);
    EXPECT_TRUE(regoleCelle::Spese("Selez", Variant("1")).finestraDiSistema);
}

struct CasoQta {
    const char *testo;
    double qta, qtaEvasa;
    const char *livello1;
    const char *consTotale;
    double atteso;
    QString messaggio;
};

TEST(RegoleCelle, QuantityToFulfil)
{
    const CasoQta casi[] = {
        // Negative line: always the whole open quantity.
        {"-3", -5, 0, " ", "N", -5, testiCelle::kNegativa},
        {"0", -5, 0, " ", "N", -5, testiCelle::kNegativa},
        {"-5", -5, 0, " ", "N", -5, {}},
        // Total-delivery order: open 6.
        {"0", 10, 4, " ", "S", 6, testiCelle::kOrdineTotale},
        {"3", 10, 4, " ", "s", 6, testiCelle::kOrdineTotale},
        {"6", 10, 4, " ", "S", 6, {}},
        {"", 10, 4, " ", "S", 6, testiCelle::kOrdineTotale},
        // Summary row of an ordinary order, open 8: nothing or all.
        {"0", 8, 0, "*liv", "N", 0, {}},
        {"8", 8, 0, "*liv", "N", 8, {}},
        {"5", 8, 0, "*liv", "N", 8, testiCelle::kRiepilogoTotale},
        // Ordinary line, open 6.
        {"7", 10, 4, " ", "N", 7, testiCelle::kPiuDellOrdinato},
        {"6,000000001", 10, 4, " ", "N", 6.000000001, {}},
        {"2,5", 10, 4, " ", "N", 2.5, {}},
        {"", 10, 4, " ", "N", 0, {}},
        {"abc", 10, 4, " ", "N", 0, {}},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(std::string(c.testo) + " qta " + std::to_string(c.qta) + " " + c.livello1 + " " + c.consTotale);
        const RigaCella riga{.anno = 2024, .numRif = 1, .livello1 = QString::fromUtf8(c.livello1), .qta = c.qta, .qtaEvasa = c.qtaEvasa};
        const EsitoCella e = regoleCelle::Righe("QtaDaEva", Variant(c.testo), riga, QString::fromUtf8(c.consTotale));
        EXPECT_FALSE(e.rifiutato);
        EXPECT_DOUBLE_EQ(e.valore.toDouble(), c.atteso);
        EXPECT_EQ(e.messaggio, c.messaggio);
        EXPECT_FALSE(e.finestraDiSistema);
    }
}

TEST(RegoleCelle, TypedQuantityRoundedToTheCompanyDecimals)
{
    const int16_t prima = giNumDecQta;
    giNumDecQta = 2;
    EXPECT_DOUBLE_EQ(regoleCelle::ArrotondaQtaDaEva(Variant("1,234")), 1.23);
    EXPECT_DOUBLE_EQ(regoleCelle::ArrotondaQtaDaEva(Variant("1,235")), 1.24);
    EXPECT_DOUBLE_EQ(regoleCelle::ArrotondaQtaDaEva(Variant("")), 0.0);
    EXPECT_DOUBLE_EQ(regoleCelle::ArrotondaQtaDaEva(Variant(-2.006)), -2.01);
    giNumDecQta = prima;
}

struct CasoClic {
    const char *campo;
    const char *selez, *tutto, *consTotale;
    const char *nuovoSelez, *nuovoTutto;
};

TEST(ClicFlag, HeaderToggles)
{
    const CasoClic casi[] = {
        {"Selez", "N", "N", "N", "S", "N"},
        {"Selez", "N", "N", "S", "S", "S"},
        {"Selez", "S", "S", "N", "N", "N"},
        {"Selez", "s", "N", "N", "N", "N"},
        {"EvadeTutto", "N", "N", "N", "S", "S"},
        {"EvadeTutto", "S", "S", "N", "S", "N"},
        {"EvadeTutto", "S", "S", "S", "N", "N"},
        {"Selez", "", "", "N", "S", ""},
        {"Descrizione", "S", "N", "S", "S", "N"},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(std::string(c.campo) + " " + c.selez + c.tutto + " " + c.consTotale);
        const FlagOrdine f = clicFlag::Testata(QString::fromUtf8(c.campo), {QString::fromUtf8(c.selez), QString::fromUtf8(c.tutto)},
                                               QString::fromUtf8(c.consTotale));
        EXPECT_EQ(f.selez, QString::fromUtf8(c.nuovoSelez));
        EXPECT_EQ(f.evadeTutto, QString::fromUtf8(c.nuovoTutto));
    }
}

TEST(ClicFlag, BalanceToggleRefusedOnlyTowardsYesOnASummaryRow)
{
    EXPECT_EQ(clicFlag::ASaldo("S", " "), "N");
    EXPECT_EQ(clicFlag::ASaldo("n", " "), "S");
    EXPECT_EQ(clicFlag::ASaldo("", " "), "S");
    EXPECT_EQ(clicFlag::ASaldo("N", "*liv"), "");
    EXPECT_EQ(clicFlag::ASaldo("S", "*LIV"), "N");
}

} // namespace
