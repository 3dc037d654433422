// Workstation price restrictions and the e-invoice notices.
#include "contesto.h"
#include "contestodiprova.h"
#include "loginterminali.h"
#include "messaggife.h"

#include <gtest/gtest.h>

namespace {

TEST(AbilitaTerminale, TheListsDecideAndTheFlagsSayWhereTheNameWasFound)
{
    struct Caso {
        QString abilitati, disabilitati;
        bool atteso, inAbilitati, inDisabilitati;
    };
    // the flags start true so that "left as the caller set it" shows
    const Caso casi[] = {
        {"", "", true, false, false},
        {"", "PC01", false, false, true},
        {"", " pc01 ;PC02", false, false, true},
        {"PC02;PC03", "", false, true, false},
        {"PC01", "PC01", false, true, true},
        {"PC01;PC09", "PC02", true, true, true},
    };
    for (const Caso &c : casi) {
        bool inAbilitati = true, inDisabilitati = true;
        EXPECT_EQ(AbilitaTerminale("PC01", c.abilitati, c.disabilitati, inAbilitati, inDisabilitati), c.atteso)
            << c.abilitati.toStdString() << " / " << c.disabilitati.toStdString();
        EXPECT_EQ(inAbilitati, c.inAbilitati) << c.abilitati.toStdString();
        EXPECT_EQ(inDisabilitati, c.inDisabilitati) << c.disabilitati.toStdString();
    }
}

TEST(AbilitaTerminale, StartUpDisablesWhatTheUsersListsName)
{
    MenuConfig config;
    config.terminale = "PC01";
    ContestoDiProva c(config);
    c.personale("Ordini", "DisabTermPrz", "PC05;pc01");
    LeggiRestrizioniTerminale();
    EXPECT_TRUE(gbDisabTermPrz);
    EXPECT_FALSE(gbDisabTermVisPrz);
    EXPECT_EQ(c.domande(), (QStringList{"NomeTerminale", MenuConfig::chiavePersonale("Ordini", "DisabTermPrz"),
                                        "NomeTerminale", MenuConfig::chiavePersonale("Ordini", "DisabTermVisPrz")}));
}

Variant matrice(std::vector<Variant> elementi, int32_t base = 0)
{
    VariantArray a;
    a.lowerBound = base;
    a.items = std::move(elementi);
    return Variant(a);
}

TEST(MessaggiFE, TextsOfTheInvoiceNotices)
{
    struct Caso {
        bool invio;
        Variant param;
        std::optional<QString> atteso;
    };
    const Caso casi[] = {
        {true, matrice({0, 0, int32_t{0}, "", 0, 0, int32_t{1234}}), "Inviate 1.234 fatture"},
        {true, matrice({0, 0, int32_t{0}, ": 2024/5", 0, 0, "7"}), "Inviate 7 fatture\r\nFatture non inviate per errori: 2024/5"},
        {true, matrice({0, int32_t{-3}, "rifiutate"}, 1), "Errore nell'invio delle fatture\r\nErr: -3 - rifiutate"},
        {true, matrice({0, 0, int32_t{0}, ""}), std::nullopt},
        {true, matrice({0, 0, "x", ""}), std::nullopt},
        {true, Variant("testo"), std::nullopt},
        {false, matrice({0, 0, int32_t{0}, int32_t{3}}), "Ci sono 3 fatture in attesa"},
        {false, matrice({0, 0, int32_t{0}, int32_t{0}}), std::nullopt},
        {false, matrice({0, 0, int32_t{0}, "molte"}), std::nullopt},
        {false, matrice({0, 0, int32_t{9}, "timeout"}), "Errore nella richiesta di fatture in attesa\r\nErr: 9 - timeout"},
        {false, matrice({}), std::nullopt},
    };
    for (const Caso &c : casi) {
        const std::optional<QString> testo = c.invio ? testoFEInvio(c.param) : testoFEAttesa(c.param);
        EXPECT_EQ(testo, c.atteso) << (c.atteso ? c.atteso->toStdString() : "nulla");
    }
}

} // namespace
