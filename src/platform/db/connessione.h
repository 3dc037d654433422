#pragma once
// One open connection of a ConnessioneDb: the Qt SQL connection, its engine, catalogue and
// translator, its transaction depth and the prepared statements of the record sets' writes.
#include "catalogo.h"
#include "istruzionipg.h"
#include "istruzionisqlite.h"
#include "nomi.h"
#include "motoredb.h"
#include "traduttoresql.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

class Connessione {
public:
    Connessione(QString nome, QString nomeQt, MotoreDb motore);
    // A PostgreSQL connection through Qt's own client (QPSQL) rather than ODBC.
    bool nativa() const { return m_nativa; }
    // The library's statements go through libpq (eseguiPg) rather than through Qt's driver.
    bool viaLibpq() const { return m_pg != nullptr; }
    ~Connessione();
    Connessione(const Connessione &) = delete;
    Connessione &operator=(const Connessione &) = delete;

    const QString &nome() const { return m_nome; }
    MotoreDb motore() const { return m_motore; }
    QSqlDatabase db() const { return QSqlDatabase::database(m_nomeQt, false); }
    CatalogoDb &catalogo() { return *m_catalogo; }
    TraduttoreSql &traduttore() { return *m_traduttore; }

    // A statement in the suite's dialect, translated (or as written when `passante`), run; the
    // rows it inserted, changed or deleted.
    int esegui(const QString &sql, bool passante);
    // A query for a statement that the caller runs; forward-only (but on the libpq route),
    // decimals as text.
    QSqlQuery nuovaQuery() const;
    // Runs a statement of the caller's (the text, or the prepared query when `sql` is null), or
    // raises the mapped error; `scrive` tells a statement that may change rows. A statement that
    // fails inside a transaction leaves the rest of the transaction standing, as on the suite's
    // Jet engine: the ODBC driver sees to it (statement-level rollback), on the native route a
    // savepoint set before the statement.
    void eseguiIstruzione(QSqlQuery &q, bool scrive, const QString *sql = nullptr);
    // The prepared query of a statement text of the library's own, kept for reuse (on the native
    // route a query that only holds the values bound, for eseguiPg).
    QSqlQuery &preparata(const QString &sql);
    // SQLite: the record sets' reads, prepared on the engine's own handle; null on PostgreSQL.
    IstruzioniSqlite *istruzioniSqlite() { return m_letture.get(); }
    // The native route: a statement prepared on the server and run with its values bound (the
    // literals of legaLetterali, or the values of a text of the library's own with "?"), the
    // transaction commands still to send and the statement savepoint going with it in one
    // round trip; a failure undoes only the statement, as eseguiIstruzione does. `istr` gives
    // the statement, whose `forma` the record sets keep.
    RisultatoPg eseguiPg(const QString &sqlTradotto, bool argomenti, bool scrive, IstruzioniPg::Istruzione **istr = nullptr);
    RisultatoPg eseguiPg(const QString &sql, const QList<QVariant> &valori, bool scrive);

    // Nested transactions: the outermost level is a real transaction (SQLite: BEGIN IMMEDIATE,
    // so that a writer holds the database from its first statement), inner levels savepoints.
    // A commit or a rollback with nothing open does nothing.
    void inizia();
    void conferma();
    void annulla();
    int livello() const { return m_livello; }
    // Rollbacks so far (a failed commit among them): what was written in an open transaction may
    // be gone once it changes.
    uint64_t annullamenti() const { return m_annullamenti; }

    // How long a statement waits for another user's lock before it fails with 3260.
    void impostaAttesaBlocchi(int ms);
    int attesaBlocchi() const { return m_attesaMs; }

    // The description of a set that never has a row ("... WHERE 0=1", the structure of a table
    // to add rows to), kept once read: such a set is opened again without asking the server.
    std::shared_ptr<void> &formaSenzaRighe(const QString &sqlTradotto) { return m_senzaRighe[sqlTradotto]; }

    void schemaCambiato();
    // Changes whenever the prepared statements are dropped (a change of schema).
    uint64_t generazione() const { return m_generazione; }

private:
    void eseguiInterno(const QString &sql);
    void eseguiTransazione(const QString &sql);
    RisultatoPg eseguiParametri(const QString &sql, std::vector<ParametroPg> &&valori, bool scrive,
                                IstruzioniPg::Istruzione **istr, const QString *originale);
    // Native route: the transaction commands held back go out now, before a statement of Qt's.
    void inviaSospesi();
    void iniziaPg();
    void confermaPg();
    void annullaPg();
    // A text of the library's own, of one or more statements.
    void eseguiControllo(const QString &sql);

    static constexpr const char *kPuntoIstruzione = "evasord_istr";
    bool m_nativa = false;
    // Per transaction level on the native route: whether a statement wrote since the level's
    // statement savepoint was set.
    enum class PuntoIstruzione : uint8_t { Pulito, Scritto };
    std::vector<PuntoIstruzione> m_puntoIstruzione;
    QString m_nome;
    QString m_nomeQt;
    MotoreDb m_motore;
    int m_livello = 0;
    int m_attesaMs = 2000;
    uint64_t m_generazione = 1;
    uint64_t m_annullamenti = 0;
    std::unique_ptr<CatalogoDb> m_catalogo;
    std::unique_ptr<TraduttoreSql> m_traduttore;
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>, HashTesto> m_preparate;
    std::unique_ptr<IstruzioniSqlite> m_letture;
    std::unique_ptr<IstruzioniPg> m_pg;
    std::unordered_map<QString, std::shared_ptr<void>, HashTesto> m_senzaRighe;
    // Native route: the transaction commands (a begin, the savepoints of levels) held back to go
    // with the next statement; a level that sent nothing leaves nothing to undo or commit.
    std::vector<QByteArray> m_sospesi;
};
