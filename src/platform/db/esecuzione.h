#pragma once
// Running statements on an engine and turning its failures into the library's errors. The
// ODBC driver's SQLSTATE is read from the statement's own diagnostic record (Qt keeps only
// the native number); Qt's own PostgreSQL client gives it as the error code; SQLite's extended
// result code comes from the error Qt reports once extended codes are on for the connection.
#include "errori.h"
#include "motoredb.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

struct sqlite3;

// libpq's text of a failure as the ODBC driver gives it: its first line.
QString testoLibpq(QString m);
GuastoMotore guastoQuery(const QSqlQuery &q, MotoreDb motore);
GuastoMotore guastoConnessione(const QSqlDatabase &db, MotoreDb motore);
[[noreturn]] void sollevaGuasto(const GuastoMotore &g);

// Runs the text on the query, or raises the mapped error.
void eseguiTesto(QSqlQuery &q, MotoreDb motore, const QString &sql);
// The `quanti` values bound to a prepared query, for the caller to write in place before it
// runs: QSqlQuery::bindValue builds and looks up a placeholder name for every value, which on
// a wide row's write costs more than the statement itself.
QVariant *valoriLegati(QSqlQuery &q, qsizetype quanti);

// Whether a bound value goes as Null, as the drivers read it: a typed null as well (a null
// text, bytes, date or time).
bool valoreLegatoNullo(const QVariant &v);

// SQLite's own handle of the connection; nullptr on another driver.
sqlite3 *handleSqlite(const QSqlDatabase &db);
// SQLite: extended result codes and the busy timeout, on the connection's own handle.
void impostaSqlite(const QSqlDatabase &db, int attesaMs);
