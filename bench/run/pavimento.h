#pragma once
// The floor of a run: the rows the run wrote, written again on an untouched copy of the same
// company with plain prepared INSERT, UPDATE and DELETE statements through the same driver,
// as many of each per table as the run made, in as many transactions.
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
    long long transazioni = 0;
    // Rows of the run's result: new, changed, removed (from comparing the two companies).
    long long nuove = 0, cambiate = 0, tolte = 0;
};

// Compares the company after the run (`dopo`) with its untouched copy (`prima`) over the tables
// the profile names, and plans the floor's statements on `prima`.
PianoPavimento pianificaPavimento(const QSqlDatabase &dopo, const QSqlDatabase &prima, const ProfiloScritture &profilo);

// Runs the plan on `db`; returns the seconds it took.
double eseguiPavimento(QSqlDatabase &db, const PianoPavimento &piano);
