#pragma once
// Scratch databases for tests: an empty SQLite file in a temporary folder, or an empty
// PostgreSQL database on the test server (EVASORD_PG_* variables, see scripts/test.sh),
// reached through ODBC as the program reaches it. Each is removed when it goes out of scope.
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

enum class Engine { SQLite, PostgreSQL };
QString engineName(Engine e);

struct PgServer {
    QString host, user, password, driver;
    int port = 0;
    // ODBC connect text for one database of the server.
    QString odbcConnectText(const QString &database) const;
};

// The test server, or nullopt when none is configured.
std::optional<PgServer> pgServer();
// Whether PostgreSQL-backed tests must fail rather than skip without a server.
bool pgRequired();
// An application object for the test process (the database connections need one).
void ensureCoreApp();

class ScratchDb {
public:
    // SQLite: a new empty file. PostgreSQL: a new empty database (citext available).
    // For PostgreSQL without a server: nullptr after GTEST_SKIP (or a failure when required);
    // call it through SCRATCH_DB_OR_SKIP.
    static std::unique_ptr<ScratchDb> create(Engine engine);
    ~ScratchDb();
    ScratchDb(const ScratchDb &) = delete;
    ScratchDb &operator=(const ScratchDb &) = delete;

    Engine engine() const { return m_engine; }
    // SQLite: the file path. PostgreSQL: the ODBC connect text of the database.
    const QString &location() const { return m_location; }
    const QString &databaseName() const { return m_dbName; }
    // A new Qt SQL connection to it under the given connection name (QSQLITE or QODBC).
    QSqlDatabase open(const QString &connectionName) const;

private:
    ScratchDb() = default;
    Engine m_engine = Engine::SQLite;
    QString m_location;
    QString m_dbName;
    std::unique_ptr<QTemporaryDir> m_dir;
};

// In a TEST body: `auto db = SCRATCH_DB_OR_SKIP(Engine::PostgreSQL);`
#define SCRATCH_DB_OR_SKIP(engine)                                                                 \
    ([&] {                                                                                          \
        auto _db = ScratchDb::create(engine);                                                       \
        return _db;                                                                                 \
    }());                                                                                           \
    if (::testing::Test::IsSkipped() || ::testing::Test::HasFailure())                        \
        return

// Value-parameterised suites over both engines: INSTANTIATE_TEST_SUITE_P(Engines, X, kBothEngines, engineParamName)
#define kBothEngines ::testing::Values(Engine::SQLite, Engine::PostgreSQL)
std::string engineParamName(const ::testing::TestParamInfo<Engine> &info);
