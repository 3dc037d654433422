// The grid model over an updatable record set of the staging tables: typed values pass the
// cell rule, stay pending until the row is saved, and are then written through to the table.
#include "modellogriglia.h"

#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "gestrecordset.h"
#include "righediprova.h"
#include "rowwriter.h"
#include "scratchdb.h"

#include <gtest/gtest.h>

namespace {

class ModelloSuStaging : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        db = ScratchDb::create(GetParam());
        if (IsSkipped() || !db)
            GTEST_SKIP();
        c.creaDitta(*db, suite::FixtureOptions{.orders = 2, .linesPerOrder = 1, .customers = 4, .articles = 8});
        QSqlDatabase f = db->open(QStringLiteral("prova"));
        for (const int32_t n : {1, 2})
            suite::insertRow(f, QStringLiteral("OrdVenEvaTest"),
                             {{"Utente", "mario"}, {"Anno", static_cast<int16_t>(2024)}, {"NumRif", n}, {"Selez", "N"},
                              {"EvadeTutto", "N"}});
        f.close();
        const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                      QStringLiteral("Select OrdVenEvaTest.Utente,OrdVenEvaTest.Anno,OrdVenEvaTest.NumRif,"
                                                     "OrdVenEvaTest.Selez,OrdVenEvaTest.EvadeTutto,OrdVenTest.Descrizione"
                                                     " FROM OrdVenEvaTest INNER JOIN OrdVenTest On OrdVenEvaTest.Anno = "
                                                     "OrdVenTest.Anno And OrdVenEvaTest.NumRif = OrdVenTest.NumRif"
                                                     " ORDER BY OrdVenEvaTest.NumRif"),
                                      false, 2);
        m.Imposta(&rs.Recordset(alias));
        m.ImpostaModificabile(true);
        m.colonna(m.Colonna("Descrizione")).bloccata = true;
        m.ImpostaRigaSalvata([this](int riga) { salvate.push_back(riga); });
    }
    void TearDown() override
    {
        m.Imposta(nullptr);
        rs.ChiudiTutti();
        QSqlDatabase::removeDatabase(QStringLiteral("prova"));
    }
    bool scrivi(int riga, const char *campo, const QString &testo)
    {
        return m.setData(m.index(riga, m.Colonna(campo)), testo, Qt::EditRole);
    }
    QStringList flag() { return righeDb(QStringLiteral("Select NumRif, Selez, EvadeTutto from OrdVenEvaTest order by NumRif")); }

    ContestoDiProva c;
    std::unique_ptr<ScratchDb> db;
    GestRecordset rs;
    ModelloGriglia m;
    std::vector<int> salvate;
};

TEST_P(ModelloSuStaging, TypedValuesArePendingUntilTheRowIsSaved)
{
    EXPECT_EQ(m.Colonna("OrdVenEvaTest.Selez"), m.Colonna("selez"));
    EXPECT_FALSE(m.flags(m.index(0, m.Colonna("Descrizione"))) & Qt::ItemIsEditable);
    ASSERT_TRUE(scrivi(0, "Selez", "S"));
    EXPECT_EQ(m.Testo(0, "Selez"), "S");
    EXPECT_EQ(flag(), QStringList({"1 N N", "2 N N"}));
    // a typed value on another row saves the first one
    ASSERT_TRUE(scrivi(1, "EvadeTutto", "S"));
    EXPECT_EQ(flag(), QStringList({"1 S N", "2 N N"}));
    EXPECT_EQ(salvate, std::vector<int>({0}));
    EXPECT_TRUE(m.SalvaRiga());
    EXPECT_FALSE(m.SalvaRiga()) << "nothing left to save";
    EXPECT_EQ(flag(), QStringList({"1 S N", "2 N S"}));
    EXPECT_EQ(salvate, std::vector<int>({0, 1}));
}

TEST_P(ModelloSuStaging, TheCellRuleRefusesRewritesOrSetsASiblingCell)
{
    m.ImpostaRegola([this](int riga, const QString &campo, QString &testo) {
        testo = testo.toUpper();
        if (testo != QLatin1String("S") && testo != QLatin1String("N"))
            return false;
        // PostgreSQL gives the names in lower case
        if (campo.compare(QLatin1String("EvadeTutto"), Qt::CaseInsensitive) == 0 && testo == QLatin1String("S"))
            m.ImpostaTesto(riga, QStringLiteral("Selez"), QStringLiteral("S"));
        return true;
    });
    EXPECT_FALSE(scrivi(0, "Selez", "x"));
    EXPECT_EQ(m.Testo(0, "Selez"), "N");
    EXPECT_TRUE(scrivi(0, "EvadeTutto", "s"));
    EXPECT_EQ(m.Testo(0, "EvadeTutto"), "S");
    EXPECT_EQ(m.Testo(0, "Selez"), "S");
    m.SalvaRiga();
    EXPECT_EQ(flag(), QStringList({"1 S S", "2 N N"}));
}

TEST_P(ModelloSuStaging, AWriteTheDatabaseRefusesDropsThePendingValues)
{
    // another session changed the row since the grid read it
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update OrdVenEvaTest set EvadeTutto = 'S' where NumRif = 1"));
    ASSERT_TRUE(scrivi(0, "Selez", "S"));
    EXPECT_THROW(m.SalvaRiga(), AppError);
    EXPECT_EQ(m.RigaInModifica(), -1);
    EXPECT_EQ(m.Testo(0, "Selez"), "N");
    EXPECT_EQ(flag(), QStringList({"1 N S", "2 N N"}));
    EXPECT_TRUE(salvate.empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, ModelloSuStaging, kBothEngines, engineParamName);

} // namespace
