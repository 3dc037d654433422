#pragma once
// The company database connection as the suite's library offered it: named connections opened
// by Connetti, statements run by Esegui in the suite's SQL dialect (translated for the engine;
// option 64 sends the text unchanged), settings read and written by Impostazione, the DAO-like
// schema view of Database, and nested transactions.
#include "databasedao.h"
#include "motoredb.h"
#include "nomi.h"
#include "variant.h"

#include <QString>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class Connessione;

// Esegui's option: the text goes to the engine as written.
inline constexpr int32_t dbSQLPassThrough = 64;

class ConnessioneDb {
public:
    ConnessioneDb();
    ~ConnessioneDb();
    ConnessioneDb(const ConnessioneDb &) = delete;
    ConnessioneDb &operator=(const ConnessioneDb &) = delete;

    // Settings: "DbSqlPubUID" and "DbSqlPubPWD" (login of ODBC data sources), "DbAccPWD"
    // (password of a complete ODBC text), and per connection name & ":DbTipoSql" (whether
    // the connection wants the SQL-server isolation statements; False on both engines here:
    // PostgreSQL never reads uncommitted data and refuses SET TRANSACTION inside a transaction).
    // "DbPgNativo" (True/False): a PostgreSQL server named by a complete ODBC text or a file data
    // source is reached through Qt's own PostgreSQL client instead of ODBC, with the same
    // translation, error numbers and statement-level rollback (fewer round trips and far less
    // processor time per statement); unset, the environment's EVASORD_PG_NATIVO=1 asks for it.
    // A data source named in odbc.ini stays on ODBC.
    // The type code (12, Variant) is accepted as the suite passes it. An unknown setting reads Empty.
    Variant Impostazione(const QString &nome, int16_t tipo = 12) const;
    void Impostazione(const QString &nome, int16_t tipo, const Variant &valore);

    // Opens the database and returns the connection's name. `nomeDb` is, told apart in this
    // order: "ODBC;..." a complete ODBC connect text; "...dsn" an ODBC file data source; a name
    // without "." an ODBC data source; anything else the path of a SQLite file (a Windows path
    // is mapped). ODBC sources are PostgreSQL servers. Login values are brace-quoted or refused,
    // never spliced into the connect text. Errors: 3024 file missing, 3343 not a database,
    // 3059 login refused, 3146 any other failure (a server that does not answer within the
    // wait of ImpostaAttesaConnessione among them).
    QString Connetti(const QString &nomeDb, int16_t opzioni = 0, bool esclusivo = false, bool solaLettura = false,
                     const QString &connetti = {});
    bool Connesso(const QString &nomeConn = {}) const;
    // Closes one connection ("" closes all).
    void Chiudi(const QString &nomeConn = {});

    // Runs an action statement. With dbSQLPassThrough the text goes unchanged. The result is the
    // number of rows it inserted, changed or deleted (the suite's RecordsAffected).
    int32_t Esegui(const QString &nomeConn, const QString &sql, int32_t opzioni = 0);

    // The schema of the connection's database (tables, fields, DAO type codes).
    DatabaseDao Database(const QString &nomeConn = {});

    // Nested transactions on one connection ("" the first one).
    void BeginTrans(const QString &nomeConn = {});
    void CommitTrans(const QString &nomeConn = {});
    void Rollback(const QString &nomeConn = {});
    int LivelloTransazioni(const QString &nomeConn = {}) const;
    // Rollbacks on the connection so far, a failed commit among them (0 with none open).
    uint64_t Annullamenti(const QString &nomeConn = {}) const;

    // Transactions of every connection of this object, as the workspace of the suite had them.
    void BeginTransTutte();
    void CommitTransTutte();
    void RollbackTutte();

    MotoreDb Motore(const QString &nomeConn = {}) const;
    // The server's own session behind the connection, for a record that must later tell whether
    // its holder is still connected: on PostgreSQL the backend's process number and a digest of
    // its start ("pid:digest"); empty on SQLite (no server) or when the server does not tell.
    QString SessioneServer(const QString &nomeConn = {});
    // Whether the server session of such a text still exists; nullopt when the engine cannot
    // tell (SQLite, an empty or foreign text, a failed question).
    std::optional<bool> SessioneServerAttiva(const QString &sessione, const QString &nomeConn = {});
    // How long a statement waits for another user's lock before failing with 3260 (default 2 s).
    void ImpostaAttesaBlocchi(int millisecondi, const QString &nomeConn = {});
    // How long Connetti waits for a PostgreSQL server that does not answer (default 15 s).
    void ImpostaAttesaConnessione(int secondi) { m_attesaConnessione = secondi; }
    // Drops the cached schema (after a schema change made outside this connection).
    void AggiornaCatalogo(const QString &nomeConn = {});

    // For the record sets of the library.
    Connessione &connessione(const QString &nomeConn);
    const Connessione &connessione(const QString &nomeConn) const;
    std::shared_ptr<Connessione> condivisa(const QString &nomeConn);

private:
    QString apriSqlite(const QString &percorso, bool solaLettura);
    QString apriOdbc(const QString &testoConnessione);
    QString apriPgNativo(const QString &testoConnessione);
    bool pgNativo() const;
    // The session settings of a PostgreSQL connection; a failure closes it and raises.
    void impostaSessionePg(const QString &nomeQt);
    QString registra(const QString &nomeQt, MotoreDb motore);

    std::vector<std::shared_ptr<Connessione>> m_connessioni;
    std::unordered_map<QString, Variant, HashNome, UgualeNome> m_impostazioni;
    int m_attesaConnessione = 15;
};
