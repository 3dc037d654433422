#pragma once
// What a run writes on a SQLite company file, counted by SQLite itself: rows inserted, updated
// and deleted per table, and the transactions that wrote (a read-only transaction is not
// counted). The floor writes the same counts.
#include <QSqlDatabase>
#include <QString>
#include <map>

struct ScrittureTabella {
    long long inseriti = 0, aggiornati = 0, cancellati = 0;
};

struct ProfiloScritture {
    std::map<QString, ScrittureTabella> tabelle; // by table name in lower case
    long long transazioni = 0;

    long long righe() const;
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

    const ProfiloScritture &profilo() const { return m_profilo; }
    // Also times every statement (texts with their numbers and literals blanked); the slowest
    // kinds by total time, to stderr.
    void cronometraIstruzioni();
    void stampaIstruzioni(int quante) const;

    struct TempoIstruzione {
        long long volte = 0;
        long long ns = 0;
    };
    std::map<QString, TempoIstruzione> tempi;

private:
    void *m_handle = nullptr;
    ProfiloScritture m_profilo;
};
