#pragma once
// Statements on PostgreSQL through libpq, on the connection of Qt's own client: each text is
// prepared on the server once and run again with its values bound, and the commands that must
// come before or after it (a transaction's begin, savepoints) go out with it in one round trip
// (pipeline mode). Cells come out as Qt's driver gives them, so a record set reads the same
// values either way.
#include "errori.h"
#include "nomi.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <memory>
#include <unordered_map>
#include <vector>

struct pg_conn;
struct pg_result;

// A value for a "?" of a statement: a text in the server's input form (Null when null), and
// its type (0: the server takes it from where it stands, as it does a quoted literal).
struct ParametroPg {
    QByteArray testo;
    bool nullo = false;
    unsigned tipo = 0;
};

// A value bound by a statement of the library's own (Qt's form) as the server takes it.
ParametroPg parametroPg(const QVariant &v);

// One statement's result; owns the server's answer.
class RisultatoPg {
public:
    RisultatoPg() = default;
    explicit RisultatoPg(pg_result *r) : m_r(r) {}
    ~RisultatoPg();
    RisultatoPg(RisultatoPg &&o) noexcept : m_r(o.m_r) { o.m_r = nullptr; }
    RisultatoPg &operator=(RisultatoPg &&o) noexcept;
    RisultatoPg(const RisultatoPg &) = delete;
    RisultatoPg &operator=(const RisultatoPg &) = delete;

    int righe() const;
    int colonne() const;
    // The rows a write changed.
    int modificate() const;
    // The command's tag ("COMMIT", "ROLLBACK" ...).
    QByteArray comando() const;
    QString nome(int colonna) const;
    QMetaType meta(int colonna) const;
    // The cell as Qt's driver gives it with high precision (numeric as text).
    QVariant valore(int riga, int colonna) const;

private:
    pg_result *m_r = nullptr;
};

class IstruzioniPg {
public:
    explicit IstruzioniPg(pg_conn *c) : m_c(c) {}
    IstruzioniPg(const IstruzioniPg &) = delete;
    IstruzioniPg &operator=(const IstruzioniPg &) = delete;

    struct Istruzione {
        QByteArray nome;     // of the server's prepared statement; empty until prepared
        bool testuale = false; // its values' types cannot be told apart from their places: sent as written
        std::shared_ptr<void> forma; // what the record sets derive once from its columns
    };
    // The statement of a text whose values stand as "?" (outside quotes).
    Istruzione &istruzione(const QString &sql);

    // Sends the commands `prima`, the statement with its values, then the commands `dopo`, and
    // waits for all of them: one round trip. A failure of a command before the statement is
    // reported as it is (in `guasto`, with `falliPrima`); the statement's own failure too; a
    // failure after it as well. The result is the statement's.
    struct Esito {
        RisultatoPg risultato;
        bool riuscito = true;
        bool falliPrima = false;
        GuastoMotore guasto;
    };
    Esito esegui(const std::vector<QByteArray> &prima, Istruzione *istr, const QString &sql,
                 const std::vector<ParametroPg> &valori, const std::vector<QByteArray> &dopo);
    // Commands alone (no statement), in one round trip; the first failure raised.
    void comandi(const std::vector<QByteArray> &comandi);
    // Forgets the prepared statements (the server's go with DEALLOCATE ALL).
    void svuota();

private:
    pg_conn *m_c;
    int m_contatore = 0;
    std::unordered_map<QString, Istruzione, HashTesto> m_istruzioni;
};
