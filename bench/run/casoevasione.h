#pragma once
// One case of the benchmark, in a process of its own so that its peak memory is its own: a
// company of N orders on one engine, converted into invoices grouped per customer by the real
// run, then the floor on an untouched copy of the same company.
#include "scratchdb.h"

#include <QString>

struct RisultatoCaso {
    Engine motore = Engine::SQLite;
    bool nativo = false;          // PostgreSQL: the run through Qt's own client (QPSQL), not ODBC
    int ordini = 0;
    double secondiFixture = 0;
    double secondiRun = 0;
    // The floor through the run's own driver; on PostgreSQL also through the other one, and
    // through libpq in pipeline mode (the limit: one round trip a transaction).
    double secondiPavimento = 0;
    double secondiPavimentoAltro = 0;
    double secondiPipeline = 0;
    double cpuRun = 0, cpuPavimento = 0; // processor seconds of this process (the servers' not counted)
    long long piccoKb = 0;        // peak resident memory while the run ran
    long long partenzaKb = 0;     // resident memory when the run started
    long long chiamateMenu = 0;   // calls of the run to the menu server
    // PostgreSQL: round trips to the server of the run and of each floor.
    long long viaggiRun = 0, viaggiPavimento = 0, viaggiPavimentoAltro = 0, viaggiPipeline = 0;
    // The run's transactions as SQLite counts them (the PostgreSQL case takes the SQLite case's).
    long long commit = 0, commitConRighe = 0, flush = 0;
    long long transazioniPavimento = 0; // the floor's: the flushes on SQLite, commits that changed rows on PostgreSQL
    long long flushPavimento = 0;       // SQLite: counted on the floor, equal to the run's
    long long checkpoint = 0, checkpointPavimento = 0; // SQLite: the log copied into the file
    long long scritture = 0;      // rows inserted, updated, deleted by the run
    long long istruzioniPavimento = 0;
    int fatture = 0, righeFattura = 0, livelliFattura = 0;
    int righeOrdineConLivelli = 0, righeOrdine = 0;
    QString errore;               // empty when the run ended well and left nothing behind

    QString json() const;
    static RisultatoCaso daJson(const QString &testo);
};

// `profilo`: a file holding the run's write profile. SQLite counts the writes and saves them
// there; PostgreSQL, whose server cannot count them per statement, reads them back (the run
// writes the same rows in the same transactions on either engine).
RisultatoCaso eseguiCaso(Engine motore, int ordini, const QString &profilo);
