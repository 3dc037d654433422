#include "esecuzione.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlResult>
#include <QDateTime>
#include <QVariant>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

namespace {

// SQLSTATE of the first diagnostic record of an ODBC handle; "" when there is none.
QString statoOdbc(SQLSMALLINT tipo, const QVariant &handle)
{
    if (!handle.isValid() || handle.metaType().sizeOf() != sizeof(SQLHANDLE))
        return {};
    const SQLHANDLE h = *static_cast<const SQLHANDLE *>(handle.constData());
    if (!h)
        return {};
    SQLWCHAR stato[6] = {};
    SQLINTEGER nativo = 0;
    SQLWCHAR msg[8];
    SQLSMALLINT lung = 0;
    const SQLRETURN r = SQLGetDiagRecW(tipo, h, 1, stato, &nativo, msg, 8, &lung);
    if (!SQL_SUCCEEDED(r))
        return {};
    QString s;
    for (int i = 0; i < 5 && stato[i]; ++i) s.append(QChar(static_cast<char16_t>(stato[i])));
    return s;
}

// Qt's own PostgreSQL client, whose error code is the SQLSTATE (its handles are libpq's: never
// to be read as ODBC ones).
bool nativo(const QSqlDriver *d)
{
    return d && qstrcmp(d->metaObject()->className(), "QPSQLDriver") == 0;
}

QString messaggio(const QSqlError &e, bool daLibpq)
{
    QString m = e.databaseText().trimmed();
    // The ODBC driver adds its own trailer after the server's text.
    const qsizetype fine = m.indexOf(QLatin1String(";\nError while"));
    if (fine >= 0) m.truncate(fine);
    if (daLibpq) m = testoLibpq(m);
    if (m.isEmpty()) m = e.driverText();
    return m;
}

GuastoMotore guasto(const QSqlError &e, MotoreDb motore, bool daLibpq)
{
    GuastoMotore g;
    g.motore = motore;
    g.messaggio = messaggio(e, daLibpq);
    if (motore == MotoreDb::SQLite)
        g.codiceSqlite = e.nativeErrorCode().toInt();
    return g;
}

// The bound values live in a list of the query's result; a pointer to the protected member
// reaches it without going through bindValue.
struct AccessoValori : QSqlResult {
    static QList<QVariant> &di(const QSqlResult *r) { return (r->*&AccessoValori::boundValues)(); }
};

} // namespace

QString testoLibpq(QString m)
{
    // "ERROR:  " and the details on lines of their own; the ODBC driver gives the first line
    // with one space.
    m = m.trimmed();
    if (m.startsWith(QLatin1String("ERROR:  "))) m.remove(6, 1);
    const qsizetype riga = m.indexOf(QLatin1Char('\n'));
    if (riga >= 0) m.truncate(riga);
    return m;
}

GuastoMotore guastoQuery(const QSqlQuery &q, MotoreDb motore)
{
    const bool libpq = nativo(q.driver());
    GuastoMotore g = guasto(q.lastError(), motore, libpq);
    if (motore == MotoreDb::PostgreSQL && q.result())
        g.statoSql = libpq ? q.lastError().nativeErrorCode() : statoOdbc(SQL_HANDLE_STMT, q.result()->handle());
    return g;
}

GuastoMotore guastoConnessione(const QSqlDatabase &db, MotoreDb motore)
{
    const bool libpq = nativo(db.driver());
    GuastoMotore g = guasto(db.lastError(), motore, libpq);
    if (motore == MotoreDb::PostgreSQL && db.driver())
        g.statoSql = libpq ? db.lastError().nativeErrorCode() : statoOdbc(SQL_HANDLE_DBC, db.driver()->handle());
    return g;
}

void sollevaGuasto(const GuastoMotore &g)
{
    throw erroreMotore(g);
}

void eseguiTesto(QSqlQuery &q, MotoreDb motore, const QString &sql)
{
    if (!q.exec(sql))
        sollevaGuasto(guastoQuery(q, motore));
}

QVariant *valoriLegati(QSqlQuery &q, qsizetype quanti)
{
    QList<QVariant> &v = AccessoValori::di(q.result());
    if (v.size() != quanti) {
        // The first use binds by position as bindValue does, so the driver reads the list.
        for (qsizetype i = 0; i < quanti; ++i) q.bindValue(static_cast<int>(i), QVariant());
        v.resize(quanti);
    }
    return v.data();
}

bool valoreLegatoNullo(const QVariant &v)
{
    if (v.isNull() || v.data_ptr().is_null)
        return true;
    switch (v.metaType().id()) {
    case QMetaType::QString: return v.toString().isNull();
    case QMetaType::QByteArray: return v.toByteArray().isNull();
    case QMetaType::QDate: return v.toDate().isNull();
    case QMetaType::QTime: return v.toTime().isNull();
    case QMetaType::QDateTime: return v.toDateTime().isNull();
    default: return false;
    }
}

sqlite3 *handleSqlite(const QSqlDatabase &db)
{
    const QVariant h = db.driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(h.constData());
}

void impostaSqlite(const QSqlDatabase &db, int attesaMs)
{
    sqlite3 *s = handleSqlite(db);
    if (!s)
        return;
    sqlite3_extended_result_codes(s, 1);
    sqlite3_busy_timeout(s, attesaMs);
}
