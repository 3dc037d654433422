#include "filesqlite.h"

#include "esecuzione.h"

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
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    if (!solaLettura && modoJournal(db) != QLatin1String("wal"))
        leggi(db, QStringLiteral("PRAGMA journal_mode = WAL"));
}

} // namespace FileSqlite
