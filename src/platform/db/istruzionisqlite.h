#pragma once
// Statements on SQLite through the engine's own interface rather than Qt's driver: a statement
// is kept prepared by its text, and the literals it compares with (or assigns) are bound as
// values, so that a statement repeated with other keys (a run reads and writes with the same
// few statements for every order and line) is parsed, planned and described once. Values come
// out as Qt's driver gives them, so a record set reads the same cells either way.
#include <QString>
#include <QStringView>
#include <QVariant>
#include <memory>
#include <unordered_map>
#include <vector>

#include "nomi.h"

struct sqlite3;
struct sqlite3_stmt;

// A literal of the statement bound in its place: a text, a whole number, or (PostgreSQL) a
// decimal number as written, which the server takes as the "numeric" the literal is.
struct ValoreLegato {
    bool testo = false;
    qint64 numero = 0;
    QString stringa;
    bool decimale = false;
};

struct TestoLegato {
    QString sql;
    std::vector<ValoreLegato> valori;
};

// The statement (in the engine's dialect, SQLite's or PostgreSQL's) with each text or whole-number literal that stands right
// after a comparison or an assignment ("=") turned into "?", and the values in order; with
// `argomenti`, also those that open or follow a "," in a list (a function's arguments, VALUES),
// which a write may take but a read may not, as they name the columns of its result. A number
// in ORDER BY or GROUP BY is a position and stays, as does anything else (LIMIT's numbers, a
// decimal); a text with parameters or comments of its own is given back whole.
// A whole number with its sign ("= -5", "(-5") is one value. With `decimali` (PostgreSQL, whose
// decimal literal is an exact "numeric") a decimal number is bound too, as written.
TestoLegato legaLetterali(QStringView sql, bool argomenti = false, bool decimali = false);

// A cell as Qt's SQLite driver gives it with high precision: a whole number as a 64-bit integer,
// a real as a double, a text as a text, a blob as bytes, Null as a Null text.
QVariant valoreColonna(sqlite3_stmt *s, int colonna);
// A column's name as Qt's driver names the field: as SQLite gives it, without double quotes.
QString nomeColonna(sqlite3_stmt *s, int colonna);
int numeroColonne(sqlite3_stmt *s);

class IstruzioniSqlite {
public:
    explicit IstruzioniSqlite(sqlite3 *db) : m_db(db) {}
    ~IstruzioniSqlite() { svuota(); }
    IstruzioniSqlite(const IstruzioniSqlite &) = delete;
    IstruzioniSqlite &operator=(const IstruzioniSqlite &) = delete;

    struct Lettura {
        sqlite3_stmt *stmt = nullptr;
        // What the record sets derive once from the statement's columns.
        std::shared_ptr<void> forma;
    };
    // The prepared statement of the text; raises the engine's error mapped as the library does.
    Lettura &prepara(const QString &sql);
    // Binds the values, then hands every row to `riga` (the statement positioned on it); the
    // statement is reset afterwards, whatever happens.
    template <typename F>
    void leggi(Lettura &l, const std::vector<ValoreLegato> &valori, F &&riga)
    {
        Azzera azzera{l.stmt};
        lega(l.stmt, valori);
        while (passo(l.stmt)) riga(l.stmt);
    }
    // Runs a statement to its end, rows it gives ignored (a write: see legaLetterali); the rows
    // it inserted, changed or deleted.
    int esegui(const TestoLegato &t)
    {
        Lettura &l = prepara(t.sql);
        leggi(l, t.valori, [](sqlite3_stmt *) {});
        return righeCambiate();
    }
    void svuota();

private:
    int righeCambiate() const;
    struct Azzera {
        sqlite3_stmt *s;
        ~Azzera();
    };
    void lega(sqlite3_stmt *s, const std::vector<ValoreLegato> &valori);
    bool passo(sqlite3_stmt *s);
    [[noreturn]] void guasto();

    sqlite3 *m_db;
    std::unordered_map<QString, Lettura, HashTesto> m_letture;
};
