#include "scratchdb.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class ScratchDbTest : public ::testing::TestWithParam<Engine> {};

TEST_P(ScratchDbTest, OpensAnEmptyDatabaseThatCompares)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    {
        QSqlDatabase c = db->open(QStringLiteral("selftest"));
        QSqlQuery q(c);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT 1 + 1")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 2);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("selftest"));
}

INSTANTIATE_TEST_SUITE_P(Engines, ScratchDbTest, kBothEngines, engineParamName);

} // namespace
