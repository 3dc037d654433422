#include "contesto.h"
#include "contestodiprova.h"
#include "parametri.h"

#include <gtest/gtest.h>

namespace {

const QString kMarcatore = QString::fromUtf8("§ç~$!^");

TEST(LeggiParamMenu, AnswersAsTheServerHoldsIt)
{
    ContestoDiProva c;
    c.parametro("Mag.NumDecQta", int16_t(3));
    c.parametro("Fat.PrefDdt", "");
    EXPECT_TRUE(LeggiParamMenu("mag.numdecqta").sameAs(Variant(int16_t(3))));
    EXPECT_TRUE(LeggiParamMenu("Fat.PrefDdt").sameAs(Variant("")));
    EXPECT_TRUE(LeggiParamMenu("Ditta.Moneta").isEmpty()); // not held: no default applied
    EXPECT_EQ(c.chiaviLette(), (QStringList{"mag.numdecqta", "Fat.PrefDdt", "Ditta.Moneta"}));
}

TEST(LeggiParamMenu, WithoutAMenuClientRaises91)
{
    azzeraContesto();
    try {
        LeggiParamMenu("DescAzie");
        FAIL();
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), 91);
    }
}

TEST(LeggiParamPers, OnlyTheMarkerTriggersTheDefault)
{
    ContestoDiProva c;
    c.personale("Tutti", "Vuoto", "");
    c.personale("Tutti", "Pieno", "S");
    c.personale("Tutti", "Maiuscolo", QString::fromUtf8("§Ç~$!^")); // the marker in other letter case

    struct Caso {
        const char *nome;
        std::optional<Variant> predefinito;
        Variant atteso;
    };
    const Caso casi[] = {
        {"Vuoto", Variant("N"), Variant("")},       // held empty: empty, not the default
        {"Pieno", Variant("N"), Variant("S")},
        {"Assente", Variant("N"), Variant("N")},    // absent with a default
        {"Assente", std::nullopt, Variant(kMarcatore)}, // absent without one: the marker
        {"Maiuscolo", Variant("N"), Variant("N")},
        {"Assente", Variant(int16_t(0)), Variant(int16_t(0))}, // the default keeps its type
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.nome);
        EXPECT_TRUE(LeggiParamPers("Tutti", k.nome, k.predefinito).sameAs(k.atteso));
    }
    EXPECT_EQ(c.chiaviLette().front(), QString::fromUtf8("Personal.Tutti.§Vuoto"));
}

TEST(LeggiParamPers, FallbackKeyOnlyWhenBothArgumentsAreGiven)
{
    ContestoDiProva c;
    c.personale("Ordini", "Colonne", "A,B");
    c.personale("Fatture", "Proprie", "C");

    Variant grezzo;
    // The first key is absent: the fallback answers.
    EXPECT_TRUE(LeggiParamPers("Ddt", "Colonne", Variant("X"), &grezzo, Variant("Ordini"), Variant("Colonne"))
                    .sameAs(Variant("A,B")));
    EXPECT_TRUE(grezzo.sameAs(Variant("A,B")));
    // The first key is held: the fallback is not asked.
    const int prima = c.chiaviLette().size();
    EXPECT_TRUE(LeggiParamPers("Fatture", "Proprie", Variant("X"), nullptr, Variant("Ordini"), Variant("Colonne"))
                    .sameAs(Variant("C")));
    EXPECT_EQ(c.chiaviLette().size(), prima + 1);
    // Only one fallback argument: no second question.
    EXPECT_TRUE(LeggiParamPers("Ddt", "Colonne", Variant("X"), nullptr, Variant("Ordini")).sameAs(Variant("X")));
    EXPECT_EQ(c.chiaviLette().size(), prima + 2);
    // Both keys absent: the default, or the marker without one; raw gets the marker.
    EXPECT_TRUE(LeggiParamPers("Ddt", "Nulla", Variant("X"), &grezzo, Variant("Ordini"), Variant("Nulla"))
                    .sameAs(Variant("X")));
    EXPECT_TRUE(grezzo.sameAs(Variant(kMarcatore)));
    EXPECT_TRUE(LeggiParamPers("Ddt", "Nulla", std::nullopt, nullptr, Variant("Ordini"), Variant("Nulla"))
                    .sameAs(Variant(kMarcatore)));
    EXPECT_EQ(c.chiaviLette().mid(prima + 2),
              (QStringList{QString::fromUtf8("Personal.Ddt.§Nulla"), QString::fromUtf8("Personal.Ordini.§Nulla"),
                           QString::fromUtf8("Personal.Ddt.§Nulla"), QString::fromUtf8("Personal.Ordini.§Nulla")}));
}

} // namespace
