#include "filesqlite.h"

#include "esecuzione.h"
#include "funzionisqlite.h"

#include <QSqlQuery>
#include <QVariant>

namespace FileSqlite {

namespace {

QString leggi(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        return {};
    return q.value(0).toString().toLower();
}

} // namespace

QString modoJournal(const QSqlDatabase &db)
{
    return leggi(db, QStringLiteral("PRAGMA journal_mode"));
}

void prepara(const QSqlDatabase &db, bool solaLettura, int attesaMs)
{
    impostaSqlite(db, attesaMs);
    // Before any statement that compares texts: a collation set later would expire the
    // connection's kept statements.
    registraConfrontoTesti(db);
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    if (!solaLettura && modoJournal(db) != QLatin1String("wal") &&
        leggi(db, QStringLiteral("PRAGMA journal_mode = WAL")) == QLatin1String("wal"))
        // Written elsewhere, its text indexes may follow SQLite's own NOCASE (A to Z only).
        // A rebuild refused (two keys that now compare equal) leaves them as they were.
        q.exec(QStringLiteral("REINDEX NOCASE"));
}

void registraConfrontoTesti(const QSqlDatabase &db)
{
    if (sqlite3 *s = handleSqlite(db))
        ::registraConfrontoTesti(s);
}

} // namespace FileSqlite
