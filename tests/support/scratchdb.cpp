#include "scratchdb.h"

#include "filesqlite.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>

QString engineName(Engine e)
{
    return e == Engine::SQLite ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL");
}

std::string engineParamName(const ::testing::TestParamInfo<Engine> &info)
{
    return engineName(info.param).toStdString();
}

QString PgServer::odbcConnectText(const QString &database) const
{
    // The PostgreSQL driver takes braces around the driver name and the password only;
    // the other values of the test set-up are plain names.
    const auto b = [](const QString &v) { return QLatin1Char('{') + QString(v).replace(QLatin1Char('}'), QStringLiteral("}}")) + QLatin1Char('}'); };
    return QStringLiteral("DRIVER=%1;SERVER=%2;PORT=%3;DATABASE=%4;UID=%5;PWD=%6")
        .arg(b(driver), host)
        .arg(port)
        .arg(database, user, b(password));
}

std::optional<PgServer> pgServer()
{
    const QString host = qEnvironmentVariable("EVASORD_PG_HOST");
    if (host.isEmpty())
        return std::nullopt;
    PgServer s;
    s.host = host;
    s.port = qEnvironmentVariableIntValue("EVASORD_PG_PORT");
    if (s.port == 0) s.port = 5432;
    s.user = qEnvironmentVariable("EVASORD_PG_USER");
    s.password = qEnvironmentVariable("EVASORD_PG_PASSWORD");
    s.driver = qEnvironmentVariable("EVASORD_PG_DRIVER", QStringLiteral("PostgreSQL Unicode"));
    return s;
}

bool pgRequired()
{
    return qEnvironmentVariable("EVASORD_PG_REQUIRED") == QLatin1String("1");
}

void ensureCoreApp()
{
    // Qt SQL drivers are plugins; they load without an application object, but the
    // plugin search is cheaper and deterministic with one.
    static int argc = 1;
    static char arg0[] = "tests";
    static char *argv[] = {arg0, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // lives for the whole test process
}

namespace {

bool runAdmin(const PgServer &s, const QString &sql, QString *error)
{
    const QString name = QStringLiteral("scratch_admin_") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(s.odbcConnectText(QStringLiteral("postgres")));
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(sql);
            if (!ok && error) *error = q.lastError().text();
            db.close();
        } else if (error) {
            *error = db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace

std::unique_ptr<ScratchDb> ScratchDb::create(Engine engine)
{
    ensureCoreApp();
    std::unique_ptr<ScratchDb> db(new ScratchDb);
    db->m_engine = engine;
    if (engine == Engine::SQLite) {
        db->m_dir = std::make_unique<QTemporaryDir>();
        db->m_location = db->m_dir->filePath(QStringLiteral("ditta.db"));
        db->m_dbName = db->m_location;
        return db;
    }
    const auto server = pgServer();
    if (!server) {
        if (pgRequired())
            ADD_FAILURE() << "PostgreSQL is required but EVASORD_PG_HOST is not set";
        else
            [] { GTEST_SKIP() << "no PostgreSQL server configured (EVASORD_PG_HOST)"; }();
        return nullptr;
    }
    db->m_dbName = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(20);
    QString error;
    if (!runAdmin(*server, QStringLiteral("CREATE DATABASE ") + db->m_dbName, &error)) {
        ADD_FAILURE() << "cannot create a PostgreSQL database: " << error.toStdString();
        return nullptr;
    }
    db->m_location = server->odbcConnectText(db->m_dbName);
    return db;
}

ScratchDb::~ScratchDb()
{
    if (m_engine == Engine::PostgreSQL && !m_dbName.isEmpty()) {
        if (const auto server = pgServer())
            runAdmin(*server, QStringLiteral("DROP DATABASE IF EXISTS ") + m_dbName + QStringLiteral(" WITH (FORCE)"), nullptr);
    }
}

QSqlDatabase ScratchDb::open(const QString &connectionName) const
{
    QSqlDatabase db = QSqlDatabase::addDatabase(
        m_engine == Engine::SQLite ? QStringLiteral("QSQLITE") : QStringLiteral("QODBC"), connectionName);
    db.setDatabaseName(m_location);
    if (!db.open())
        ADD_FAILURE() << "cannot open the scratch database: " << db.lastError().text().toStdString();
    // Rows written here go into the same text indexes as the program's.
    FileSqlite::registraConfrontoTesti(db);
    return db;
}
