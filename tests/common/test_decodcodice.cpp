// The silent decode of codes on the company fixture, the inactive-article rule and the split of
// account codes.
#include "aiutodiprova.h"
#include "companyfixture.h"
#include "contestodiprova.h"
#include "decodcodice.h"
#include "dividiconto.h"
#include "listacampi.h"
#include "rowwriter.h"
#include "scratchdb.h"

#include <QSqlDatabase>
#include <gtest/gtest.h>

namespace {

class DecodCodiceTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        db = ScratchDb::create(GetParam());
        if (IsSkipped() || !db)
            GTEST_SKIP();
        c.creaDitta(*db, suite::FixtureOptions{.orders = 1, .customers = 4, .articles = 8});
        installaAiutoDiProva();
        gsNoDecInattivi.clear();
    }
    void TearDown() override { gsNoDecInattivi.clear(); }

    void inserisci(const QString &tabella, const suite::FieldValues &valori)
    {
        {
            QSqlDatabase q = db->open(QStringLiteral("righe"));
            suite::insertRow(q, tabella, valori);
            q.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("righe"));
    }
    int16_t decodifica(const QString &tipo, const QString &codice, Variant *campi = nullptr, const QString &filtro = {})
    {
        descrizione = "prima";
        return DecodCodice(tipo, Variant(codice), descrizione, std::nullopt, 0, 8, QString(), 0, campi, filtro).toInteger();
    }

    ContestoDiProva c;
    std::unique_ptr<ScratchDb> db;
    QString descrizione;
};

TEST_P(DecodCodiceTest, FoundOrNotFoundTheFieldListHoldsValues)
{
    Variant campi = listaNomi({"MagCausale", "MagCausaleRientro"});
    EXPECT_NE(decodifica("FattDocumento", "DDT", &campi), -1);
    EXPECT_EQ(descrizione, "Documento di trasporto");
    EXPECT_EQ(testiLista(campi), (QStringList{"VEN", "VEN"}));

    campi = listaNomi({"FattDocEvasione", "MagCausaleRientro", "RegimeMargine", "Tipo"});
    EXPECT_EQ(decodifica("FattDocumento", "NONCE", &campi), -1);
    EXPECT_EQ(descrizione, "");
    EXPECT_EQ(testiLista(campi), (QStringList{"<Empty>", "<Empty>", "<Empty>", "<Empty>"})); // never the names

    EXPECT_NE(decodifica("MagCausale", "ven"), -1); // no field list
    EXPECT_EQ(descrizione, "Vendita");
}

TEST_P(DecodCodiceTest, InactiveArticlesAreHiddenOnlyWhenAskedAndANullFlagIsActive)
{
    inserisci("Articoli", {{"Articolo", "NULLO"}, {"Descrizione", "Senza flag"}, {"Inattivo", Variant::null()}});
    const QString inattivo = suite::articleCode(8); // the fixture's last article is inactive

    c.personale("Articoli", "NoDecInattivi", "N");
    EXPECT_NE(decodifica("Articolo", inattivo), -1);

    gsNoDecInattivi.clear();
    c.personale("Articoli", "NoDecInattivi", "S");
    EXPECT_EQ(decodifica("Articolo", inattivo), -1);
    EXPECT_NE(decodifica("Articolo", "NULLO"), -1);
    EXPECT_EQ(descrizione, "Senza flag");
    EXPECT_NE(decodifica("Articolo", suite::articleCode(1), nullptr, "ArtMag = 'S'"), -1);
    // Other lookups are not filtered; the setting is read once.
    c.personale("Articoli", "NoDecInattivi", "N");
    EXPECT_EQ(decodifica("Articolo", inattivo), -1);
    EXPECT_EQ(c.chiaviLette().count(MenuConfig::chiavePersonale("Articoli", "NoDecInattivi")), 2);
}

TEST_P(DecodCodiceTest, ANullInternalFlagIsNotInternal)
{
    inserisci("FattDocumenti", {{"FattDocumento", "DDTN"}, {"Descrizione", "Ddt senza flag"}, {"Tipo", "B"},
                                {"Segno", "+"}, {"Interno", Variant::null()}});
    const QString filtro = "(tipo='B' or tipo='F') and Segno = '+' and" + CondizioneFlagNonS("Interno");
    EXPECT_NE(decodifica("FattDocumento", "DDTN", nullptr, filtro), -1);
    EXPECT_NE(decodifica("FattDocumento", "DDT", nullptr, filtro), -1);
    EXPECT_EQ(decodifica("FattDocumento", "DDTI", nullptr, filtro), -1); // internal
}

INSTANTIATE_TEST_SUITE_P(Engines, DecodCodiceTest, kBothEngines, engineParamName);

TEST(FiltroArticoliAttivi, TheConditionIsAppendedWithAnd)
{
    ContestoDiProva c;
    c.personale("Articoli", "NoDecInattivi", "s");
    gsNoDecInattivi.clear();
    QString vuoto;
    FiltroArticoliAttivi(vuoto);
    EXPECT_EQ(vuoto, " (Inattivo Is Null Or ucase(Inattivo)<>'S') ");
    QString f = "ArtMag = 'S'";
    FiltroArticoliAttivi(f);
    EXPECT_EQ(f, "ArtMag = 'S' And  (Inattivo Is Null Or ucase(Inattivo)<>'S') ");

    ContestoDiProva senza; // the default "N"
    gsNoDecInattivi.clear();
    QString g = "x";
    FiltroArticoliAttivi(g);
    EXPECT_EQ(g, "x");
    EXPECT_EQ(gsNoDecInattivi, "N");
    gsNoDecInattivi.clear();
}

TEST(DividiConto, ThreePartsWithOrWithoutSeparators)
{
    struct Caso {
        const char *conto, *gruppo, *mastro, *sottoconto;
    } casi[] = {
        {"14-01-0001", "14", "01", "0001"}, {"14010001", "14", "01", "0001"}, {"14-01-", "14", "01", ""},
        {"1401", "14", "01", ""},           {"14", "14", "", ""},             {"1", "1", "", ""},
        {"", "", "", ""},                   {"14-1", "14", "1", ""},          {"58-01-ABC-9", "58", "01", "ABC-9"},
    };
    for (const Caso &c : casi) {
        QString g = "x", m = "x", s = "x";
        DividiConto(c.conto, g, m, s);
        EXPECT_EQ(g, c.gruppo) << c.conto;
        EXPECT_EQ(m, c.mastro) << c.conto;
        EXPECT_EQ(s, c.sottoconto) << c.conto;
    }
}

} // namespace
