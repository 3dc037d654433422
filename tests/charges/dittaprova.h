#pragma once
// A company of the fixture for the tests of the document charges and totals, on the engine of
// the test's parameter: opened as the company database (orders left out), with a connection
// of its own to write the test's rows with.
#include "companyfixture.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "scratchdb.h"

#include <gtest/gtest.h>
#include <memory>

class DittaDiProva : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        m_db = ScratchDb::create(GetParam());
        if (IsSkipped() || HasFailure())
            return;
        suite::FixtureOptions opt;
        opt.orders = 0;
        opt.customers = 8;
        c.creaDitta(*m_db, opt);
        gsCodLira = suite::fx::kLire;
        gsCodEuro = suite::fx::kEuro;
        m_q = m_db->open(QStringLiteral("dittaprova"));
    }

    void TearDown() override
    {
        if (m_q.isValid()) {
            m_q.close();
            m_q = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("dittaprova"));
        }
    }

    ContestoDiProva c;
    std::unique_ptr<ScratchDb> m_db;
    QSqlDatabase m_q; // for the test's own rows
};
