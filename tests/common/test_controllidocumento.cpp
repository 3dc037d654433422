// The checks of a new document's fields: prefixes and registers, margin-scheme registers, the
// financial year of a date, the printed document number.
#include "companyfixture.h"
#include "contestodiprova.h"
#include "controllidocumento.h"
#include "scratchdb.h"

#include <gtest/gtest.h>

namespace {

TEST(CodiceInElenco, OneCharacterFoundInTheListText)
{
    struct Caso {
        const char *elenco, *codice;
        bool vuotoAmmesso, valido;
        const char *dopo;
    } casi[] = {
        {"ABC", " b ", false, true, "b"}, {"ABC", "AB", false, false, "AB"}, {"ABC", "D", false, false, "D"},
        {"ABC", "  ", true, true, ""},    {"ABC", "", false, false, ""},     {"", "A", false, false, "A"},
        {"", "", true, true, ""},         {"A,B", ",", false, true, ","},    {"abc", "C", false, true, "C"},
    };
    for (const Caso &c : casi) {
        QString codice = QString::fromUtf8(c.codice);
        EXPECT_EQ(CodiceInElenco(c.elenco, codice, c.vuotoAmmesso), c.valido) << c.elenco << " [" << c.codice << "]";
        EXPECT_EQ(codice, c.dopo);
    }
}

TEST(CodiceInElenco, PrefixesAndRegistersComeFromTheCompanyParameters)
{
    ContestoDiProva c;
    c.parametro("Fat.ElePrefDdt", "BC");
    c.parametro("Ditta.EleRegIvaVen", "AM");
    QString p = " c";
    EXPECT_TRUE(PrefDdtValido(p, false));
    EXPECT_EQ(p, "c");
    p = "A";
    EXPECT_FALSE(PrefDdtValido(p, false));
    EXPECT_TRUE(RegIvaVenValido(p, false));
    p = "";
    EXPECT_FALSE(PrefDdtValido(p, false));
    EXPECT_TRUE(RegIvaVenValido(p, true));
    EXPECT_EQ(LeggiElePrefDdt(), "BC");
    EXPECT_EQ(LeggiEleRegIvaVen(), "AM");

    ContestoDiProva senza;
    p = "B";
    EXPECT_FALSE(PrefDdtValido(p, true));
    EXPECT_EQ(LeggiElePrefDdt(), "");
}

class LibroIva : public ::testing::TestWithParam<Engine> {};

TEST_P(LibroIva, OnlyAnExistingMarginSchemeRegisterAnswersTrue)
{
    ContestoDiProva c;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    c.creaDitta(*db, suite::FixtureOptions{.orders = 1, .customers = 4, .articles = 8});
    EXPECT_TRUE(LeggiLibroIva(2024, "V", "M"));
    EXPECT_TRUE(LeggiLibroIva(2024, "v", "m"));
    EXPECT_FALSE(LeggiLibroIva(2024, "V", "A")); // not a margin-scheme register
    EXPECT_FALSE(LeggiLibroIva(2024, "V", "Z")); // no such register
    EXPECT_FALSE(LeggiLibroIva(2023, "V", "M"));
    EXPECT_FALSE(LeggiLibroIva(2024, "V", "'"));
}

INSTANTIATE_TEST_SUITE_P(Engines, LibroIva, kBothEngines, engineParamName);

TEST(ControllaDataEsercizio, PlacesTheDateInTheCurrentYearOrTheOnesAround)
{
    struct Caso {
        const char *annoCorr, *inizio, *fine;
        Date data;
        int16_t esito, anno;
        const char *messaggio;
    } casi[] = {
        {"2020", "01/01/2020", "31/12/2020", Date::fromYmd(2020, 6, 15), 0, 2020, ""},
        {"2020", "01/01/2020", "31/12/2020", Date::fromYmd(2020, 12, 31, 18, 0), 0, 2020, ""},
        {"2020", "01/01/2020", "31/12/2020", Date::fromYmd(2019, 6, 15), 0, 2019, "prima"},
        {"2020", "01/01/2020", "31/12/2020", Date::fromYmd(2019, 1, 1), 0, 2019, "prima"},
        {"2020", "01/01/2020", "31/12/2020", Date::fromYmd(2018, 12, 31), 4, 0,
         "La data di stampa è precedente all' esercizio"},
        {"2020", "01/01/2020", "31/12/2020", Date::fromYmd(2021, 1, 1), 0, 2021, "prima"},
        {"2020", "01/01/2020", "31/12/2020", Date::fromYmd(2022, 1, 2), 5, 0,
         "La data di stampa è successiva all' esercizio"},
        {"2020", "01/07/2020", "30/06/2021", Date::fromYmd(2019, 7, 1), 0, 2019, "prima"},
        {"2020", "01/07/2020", "30/06/2021", Date::fromYmd(2022, 6, 30), 0, 2021, "prima"},
        {"2020", "", "31/12/2020", Date::fromYmd(2020, 6, 15), 3, 0, "prima"},
        {"", "01/01/2020", "31/12/2020", Date::fromYmd(2020, 6, 15), 3, 0, "prima"},
        {"2020", "2020-01-01", "2020-12-31", Date::fromYmd(2020, 2, 1), 0, 2020, ""},
    };
    for (const Caso &k : casi) {
        ContestoDiProva c;
        c.parametro("Mag.AnnoCorr", k.annoCorr);
        c.parametro("Mag.DataInizio", k.inizio);
        c.parametro("Mag.DataFine", k.fine);
        int16_t anno = -1;
        QString messaggio = "prima";
        EXPECT_EQ(ControllaDataEsercizio(Variant(k.data), anno, messaggio).toInteger(), k.esito) << k.data.toString().toStdString();
        EXPECT_EQ(anno, k.anno) << k.data.toString().toStdString();
        EXPECT_EQ(messaggio, QString::fromUtf8(k.messaggio)) << k.data.toString().toStdString();
    }
    ContestoDiProva c;
    c.parametro("Mag.AnnoCorr", "2020");
    c.parametro("Mag.DataInizio", "01/01/2020");
    c.parametro("Mag.DataFine", "31/12/2020");
    int16_t anno = -1;
    QString messaggio;
    EXPECT_EQ(ControllaDataEsercizio(Variant::null(), anno, messaggio).toInteger(), 3);
    EXPECT_EQ(anno, 0);
}

TEST(FormattaNumDoc, TheNumberWithItsPrefix)
{
    struct Caso {
        const char *prefisso;
        Variant numero;
        int16_t qualsiasi;
        const char *atteso;
    } casi[] = {
        {"a", Variant(int32_t(123)), 0, "123/A"},  {"1", Variant(int32_t(123)), 0, "123"},
        {"ZA", Variant(int32_t(123)), 0, "123"},   {"", Variant(int32_t(123)), 0, "123"},
        {"Z", Variant(int32_t(123)), 0, "123/Z"},  {"1", Variant(int32_t(123)), -1, "123/1"},
        {".", Variant(int32_t(123)), -1, "123"},   {" . ", Variant(int32_t(123)), -1, "123"},
        {"", Variant(int32_t(123)), -1, "123"},    {"x ", Variant(int32_t(7)), -1, "7/X "},
        {"a", Variant(12.6), 0, "13/A"},           {"a", Variant(12.5), 0, "13/A"},
        {"a", Variant("12,6"), 0, "13/A"},         {"a", Variant("12/B"), 0, "12/B/A"},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(FormattaNumDoc(c.prefisso, c.numero, c.qualsiasi), c.atteso) << c.prefisso << " " << c.numero.text().toStdString();
}

} // namespace
