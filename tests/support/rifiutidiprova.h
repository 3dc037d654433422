#pragma once
// A database that refuses some writes, on either engine: a trigger that raises an error, for
// the tests of what a failed store leaves behind.
//
//   rifiutaScrittura(m_q, GetParam(), "rifiuta2", "FatTest", "UPDATE", "NEW.NumRif = 2");
#include "scratchdb.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

// Every `evento` ("INSERT", "UPDATE" or "DELETE") on `tabella` of a row that meets `condizione`
// (on NEW or OLD; "" for every row) fails with "scrittura rifiutata". `nome` names the trigger.
inline void rifiutaScrittura(const QSqlDatabase &db, Engine motore, const QString &nome, const QString &tabella,
                             const QString &evento, const QString &condizione = {})
{
    QStringList sql;
    if (motore == Engine::PostgreSQL) {
        sql << QStringLiteral("CREATE FUNCTION %1_f() RETURNS trigger LANGUAGE plpgsql AS "
                              "$$ BEGIN RAISE EXCEPTION 'scrittura rifiutata'; END $$")
                   .arg(nome)
            << QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW %4 EXECUTE FUNCTION %1_f()")
                   .arg(nome, evento, tabella,
                        condizione.isEmpty() ? QString() : QStringLiteral("WHEN (") + condizione + QLatin1Char(')'));
    } else {
        sql << QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, 'scrittura rifiutata'); END")
                   .arg(nome, evento, tabella,
                        condizione.isEmpty() ? QString() : QStringLiteral("WHEN ") + condizione);
    }
    for (const QString &s : sql) {
        QSqlQuery q(db);
        if (!q.exec(s))
            throw std::runtime_error(q.lastError().text().toStdString());
    }
}
