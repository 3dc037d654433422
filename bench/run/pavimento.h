#pragma once
// The floor of a run: the rows the run wrote, written again on an untouched copy of the same
// company with plain prepared INSERT, UPDATE and DELETE statements through the same driver,
// as many of each per table as the run made, in as many transactions as the run's that wrote:
// on SQLite those that wrote pages (the flushes), on PostgreSQL those that changed a row.
#include "tracciascritture.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <vector>

struct IstruzionePavimento {
    QString sql;            // prepared once per text
    QVariantList valori;
};

struct PianoPavimento {
    std::vector<IstruzionePavimento> istruzioni;
    // Rows of the run's result: new, changed, removed (from comparing the two companies).
    long long nuove = 0, cambiate = 0, tolte = 0;
};

// Compares the company after the run (`dopo`) with its untouched copy (`prima`) over the tables
// the profile names, and plans the floor's statements on `prima`.
PianoPavimento pianificaPavimento(const QSqlDatabase &dopo, const QSqlDatabase &prima, const ProfiloScritture &profilo);

// Runs the plan on `db` in `transazioni` transactions, the statements spread evenly over them;
// returns the seconds it took.
double eseguiPavimento(QSqlDatabase &db, const PianoPavimento &piano, long long transazioni);
