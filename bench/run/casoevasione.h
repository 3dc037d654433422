#pragma once
// One case of the benchmark, in a process of its own so that its peak memory is its own: a
// company of N orders on one engine, converted into invoices grouped per customer by the real
// run, then the floor on an untouched copy of the same company.
#include "scratchdb.h"

#include <QString>

struct RisultatoCaso {
    Engine motore = Engine::SQLite;
    int ordini = 0;
    double secondiFixture = 0;
    double secondiRun = 0;
    double secondiPavimento = 0;
    double secondiPavimentoNativo = 0; // PostgreSQL: the floor through Qt's own client driver (QPSQL)
    double cpuRun = 0, cpuPavimento = 0; // processor seconds of this process (the server's not counted)
    long long piccoKb = 0;        // peak resident memory while the run ran
    long long transazioni = 0;    // the run's (and the floor's) transactions
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
