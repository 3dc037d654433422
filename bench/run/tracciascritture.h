#pragma once
// What a run writes on a SQLite company file, counted by SQLite itself: rows inserted, updated
// and deleted per table, and its transactions: every commit, the commits that changed a row,
// and the commits that wrote pages to the log, each one a flush of the disk (a transaction
// that changed no row, or rewrote rows with the bytes they had, writes no page). A read-only
// transaction is not counted. The floor writes the same rows with the same flushes.
#include <QSqlDatabase>
#include <QString>
#include <map>
#include <memory>

struct ScrittureTabella {
    long long inseriti = 0, aggiornati = 0, cancellati = 0;
};

struct ProfiloScritture {
    std::map<QString, ScrittureTabella> tabelle; // by table name in lower case
    long long commit = 0;     // every commit of a transaction that began to write
    long long conRighe = 0;   // commits of transactions that inserted, updated or deleted a row
    long long flush = 0;      // commits that wrote pages to the log
    long long checkpoint = 0; // the log copied into the file (each 1,000 pages, as SQLite does)

    long long righe() const;
    // The same rows per table with the same flushes.
    bool stesseScritture(const ProfiloScritture &altro) const;
    QString json() const;
    static ProfiloScritture daJson(const QString &testo);
};

// Counts on one open QSQLITE connection from construction to destruction.
class TracciaScritture {
public:
    explicit TracciaScritture(const QSqlDatabase &db);
    ~TracciaScritture();
    TracciaScritture(const TracciaScritture &) = delete;
    TracciaScritture &operator=(const TracciaScritture &) = delete;

    const ProfiloScritture &profilo() const;
    // Also times every statement (texts with their numbers and literals blanked); the slowest
    // kinds by total time, to stderr.
    void cronometraIstruzioni();
    void stampaIstruzioni(int quante) const;

    struct TempoIstruzione {
        long long volte = 0;
        long long ns = 0;
    };
    std::map<QString, TempoIstruzione> tempi;

    struct Stato; // what the hooks count

private:
    void *m_handle = nullptr;
    std::unique_ptr<Stato> m_stato;
};
