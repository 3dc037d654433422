// The checks of the concurrent runs hold on the company as the fixture builds it, and each
// names the fault it is there for.
#include "invarianti.h"

#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "scratchdb.h"

#include <gtest/gtest.h>

namespace {

class Invarianti : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        nuovaDitta();
        if (IsSkipped() || !db)
            GTEST_SKIP();
    }
    void nuovaDitta()
    {
        contesto.reset();
        db.reset();
        contesto = std::make_unique<ContestoDiProva>();
        db = ScratchDb::create(GetParam());
        if (db)
            contesto->creaDitta(*db, suite::FixtureOptions{.orders = 30, .customers = 6, .articles = 16});
    }
    void esegui(const QString &sql) { ggDbAzienda->Esegui(gsNomeConn, sql); }

    std::unique_ptr<ContestoDiProva> contesto;
    std::unique_ptr<ScratchDb> db;
};

TEST_P(Invarianti, TheFixtureHoldsThem)
{
    const OrdiniPrima prima = fotografaOrdini();
    EXPECT_EQ(verificaInvarianti(prima, 2024), QStringList{});
    EXPECT_EQ(righeRimaste(), QStringList{});
    // Every 10th order is partly fulfilled; none is fulfilled in full.
    EXPECT_EQ(ordiniEvasi(2024), QList<int>{});
}

TEST_P(Invarianti, EachFaultIsNamed)
{
    struct Caso {
        const char *guasto;
        QStringList sql;
        QString atteso;
    };
    // Order 1's first line: article line 1 of the fixture.
    const QList<Caso> casi = {
        {"a second document line for an order line",
         {"Insert Into DdtTest (Anno, NumRif) Values (2024, 7)",
          "Insert Into DdtDett (Anno, NumRif, RigLiv, RigDet, TipoRiga, TipoProv, AnnoRifProv, NumRifProv, RigaRifProv, "
          "QtaProv) Values (2024, 7, 1, 1, 'A', 'O', 2024, 1, 1, 1)"},
         QStringLiteral("riga ordine 2024/1 riga 1: evasa 0 in piu', nei documenti 1")},
        {"a header left without lines", {"Insert Into FatTest (Anno, NumRif) Values (2024, 3)"},
         QStringLiteral("FatTest 2024/3 senza righe")},
        {"a committed quantity lost",
         {"Update ArticoliProg Set QtaImpCli = QtaImpCli + 1 Where Anno = 2024 And Articolo = 'ART00001'"},
         QStringLiteral("progressivo ART00001")},
        {"an order closed with open lines", {"Update OrdVenTest Set Stato = 'E' Where Anno = 2024 And NumRif = 2"},
         QStringLiteral("ordine 2024/2 'E' con righe aperte")},
    };
    for (const Caso &c : casi) {
        nuovaDitta();
        const OrdiniPrima prima = fotografaOrdini();
        for (const QString &sql : c.sql)
            esegui(sql);
        const QStringList guasti = verificaInvarianti(prima, 2024);
        EXPECT_EQ(guasti.size(), 1) << c.guasto << ": " << guasti.join(QStringLiteral(" | ")).toStdString();
        EXPECT_TRUE(!guasti.isEmpty() && guasti.first().startsWith(c.atteso))
            << c.guasto << ": " << guasti.join(QStringLiteral(" | ")).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Invarianti, kBothEngines, engineParamName);

} // namespace
