#include "istruzionisqlite.h"

#include "errori.h"
#include "esecuzione.h"

#include <sqlite3.h>

namespace {

// Digits with a decimal point and/or an exponent, as SQL writes a decimal number.
bool decimaleSemplice(QStringView t)
{
    qsizetype k = 0, cifre = 0;
    while (k < t.size() && t[k].isDigit()) ++k, ++cifre;
    if (k < t.size() && t[k] == QLatin1Char('.'))
        for (++k; k < t.size() && t[k].isDigit(); ++k) ++cifre;
    if (cifre == 0) return false;
    if (k < t.size() && (t[k] == QLatin1Char('e') || t[k] == QLatin1Char('E'))) {
        ++k;
        if (k < t.size() && (t[k] == QLatin1Char('+') || t[k] == QLatin1Char('-'))) ++k;
        const qsizetype esponente = k;
        while (k < t.size() && t[k].isDigit()) ++k;
        if (k == esponente) return false;
    }
    return k == t.size();
}

bool inizioNome(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool dentroNome(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// Where the quoted part that opens at `i` ends (the index of its closing character), a doubled
// closing character standing for itself; -1 when it is not closed.
qsizetype fineQuotata(QStringView sql, qsizetype i, QChar chiusura, QString *contenuto)
{
    bool doppie = false;
    for (qsizetype j = i + 1; j < sql.size(); ++j) {
        if (sql[j] != chiusura) continue;
        if (chiusura != QLatin1Char(']') && j + 1 < sql.size() && sql[j + 1] == chiusura) {
            doppie = true;
            ++j;
            continue;
        }
        if (contenuto) {
            *contenuto = sql.mid(i + 1, j - i - 1).toString();
            if (doppie) contenuto->replace(QString(2, chiusura), QString(chiusura));
        }
        return j;
    }
    return -1;
}

} // namespace

TestoLegato legaLetterali(QStringView sql, bool argomenti, bool decimali)
{
    TestoLegato out;
    const auto intero = [&] {
        TestoLegato t;
        t.sql = sql.toString();
        return t;
    };
    bool dopoConfronto = false;
    bool dopoSeparatore = false; // after "(" or ","
    int profondita = 0;
    int profonditaBy = -1;       // the depth of an ORDER BY or GROUP BY list, whose numbers are positions
    const auto lega = [&](bool numero) {
        return dopoConfronto || (argomenti && dopoSeparatore && !(numero && profonditaBy == profondita));
    };
    // The text is copied in spans, up to each literal that becomes a parameter.
    qsizetype copiato = 0;
    const auto parametro = [&](qsizetype da, qsizetype a) {
        out.sql.append(sql.mid(copiato, da - copiato));
        out.sql += QLatin1Char('?');
        copiato = a;
    };
    qsizetype i = 0;
    const qsizetype n = sql.size();
    const auto at = [&](qsizetype k) { return k < n ? sql[k] : QChar(); };
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('\'')) {
            QString valore;
            const qsizetype fine = fineQuotata(sql, i, c, &valore);
            if (fine < 0) return intero();
            if (lega(false)) {
                parametro(i, fine + 1);
                out.valori.push_back({true, 0, std::move(valore)});
            }
            i = fine + 1;
            dopoConfronto = dopoSeparatore = false;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
            const qsizetype fine = fineQuotata(sql, i, c == QLatin1Char('[') ? QLatin1Char(']') : c, nullptr);
            if (fine < 0) return intero();
            i = fine + 1;
            dopoConfronto = dopoSeparatore = false;
            continue;
        }
        if (inizioNome(c)) {
            qsizetype j = i + 1;
            while (j < n && dentroNome(sql[j])) ++j;
            const QStringView parola = sql.mid(i, j - i);
            if (parola.compare(QLatin1String("BY"), Qt::CaseInsensitive) == 0) {
                profonditaBy = profondita;
            } else if (profonditaBy == profondita) {
                for (const char *fine : {"LIMIT", "HAVING", "UNION", "INTERSECT", "EXCEPT", "WINDOW"})
                    if (parola.compare(QLatin1String(fine), Qt::CaseInsensitive) == 0) profonditaBy = -1;
            }
            i = j;
            dopoConfronto = dopoSeparatore = false;
            continue;
        }
        // A sign where a value may be bound, right before a number: the signed number is the value.
        const bool segno = c == QLatin1Char('-') && lega(true) &&
                           (at(i + 1).isDigit() || (at(i + 1) == QLatin1Char('.') && at(i + 2).isDigit()));
        if (segno || c.isDigit() || (c == QLatin1Char('.') && at(i + 1).isDigit())) {
            const qsizetype inizio = segno ? i + 1 : i;
            qsizetype j = inizio;
            while (j < n && sql[j].isDigit()) ++j;
            const bool semplice = !(at(j) == QLatin1Char('.') || dentroNome(at(j)));
            if (!semplice) {
                // A decimal or an exponent: copied as it stands.
                while (j < n && (dentroNome(sql[j]) || sql[j] == QLatin1Char('.') ||
                                 ((sql[j] == QLatin1Char('+') || sql[j] == QLatin1Char('-')) &&
                                  (sql[j - 1] == QLatin1Char('e') || sql[j - 1] == QLatin1Char('E')))))
                    ++j;
            }
            // The number's own magnitude must be a whole number of 64 bits, as the engines type
            // it; a cast right after it would apply before the sign.
            bool ok = false;
            const qint64 v = semplice ? sql.mid(inizio, j - inizio).toLongLong(&ok) : 0;
            const bool cast = at(j) == QLatin1Char(':') && at(j + 1) == QLatin1Char(':');
            if (lega(true) && ok && !(segno && cast)) {
                parametro(i, j);
                out.valori.push_back({false, segno ? -v : v, {}});
            } else if (lega(true) && !semplice && decimali && !cast && decimaleSemplice(sql.mid(inizio, j - inizio))) {
                parametro(i, j);
                out.valori.push_back({false, 0, sql.mid(i, j - i).toString(), true});
            } else if (segno) {
                j = i + 1; // the sign alone; the number follows as it stands
            }
            i = j;
            dopoConfronto = dopoSeparatore = false;
            continue;
        }
        // PostgreSQL's cast ("::") is an operator, not a parameter.
        if (c == QLatin1Char(':') && at(i + 1) == QLatin1Char(':')) {
            i += 2;
            dopoConfronto = dopoSeparatore = false;
            continue;
        }
        // Parameters or comments of its own: the statement goes as written.
        if (c == QLatin1Char('?') || c == QLatin1Char(':') || c == QLatin1Char('@') || c == QLatin1Char('$') ||
            (c == QLatin1Char('-') && at(i + 1) == QLatin1Char('-')) ||
            (c == QLatin1Char('/') && at(i + 1) == QLatin1Char('*')))
            return intero();
        // Operators: "=", "==", "<", "<=", "<>", ">", ">=", "!=" compare; "<<", ">>" shift.
        const QChar d = at(i + 1);
        qsizetype lunghezza = 1;
        bool confronto = false;
        if (c == QLatin1Char('=')) {
            confronto = true;
            lunghezza = d == QLatin1Char('=') ? 2 : 1;
        } else if (c == QLatin1Char('<')) {
            confronto = d != QLatin1Char('<');
            lunghezza = (d == QLatin1Char('=') || d == QLatin1Char('>') || d == QLatin1Char('<')) ? 2 : 1;
        } else if (c == QLatin1Char('>')) {
            confronto = d != QLatin1Char('>');
            lunghezza = (d == QLatin1Char('=') || d == QLatin1Char('>')) ? 2 : 1;
        } else if (c == QLatin1Char('!') && d == QLatin1Char('=')) {
            confronto = true;
            lunghezza = 2;
        }
        if (c == QLatin1Char('(')) {
            ++profondita;
        } else if (c == QLatin1Char(')')) {
            if (profonditaBy == profondita) profonditaBy = -1;
            --profondita;
        }
        i += lunghezza;
        dopoConfronto = confronto;
        dopoSeparatore = c == QLatin1Char('(') || c == QLatin1Char(',');
    }
    if (out.valori.empty()) return intero();
    out.sql.append(sql.mid(copiato));
    return out;
}

QVariant valoreColonna(sqlite3_stmt *s, int colonna)
{
    switch (sqlite3_column_type(s, colonna)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(s, colonna)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(s, colonna));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(s, colonna)),
                                   sqlite3_column_bytes(s, colonna)));
    default: {
        const auto *p = static_cast<const QChar *>(sqlite3_column_text16(s, colonna));
        return QVariant(QString(p, sqlite3_column_bytes16(s, colonna) / qsizetype(sizeof(QChar))));
    }
    }
}

QString nomeColonna(sqlite3_stmt *s, int colonna)
{
    QString nome(static_cast<const QChar *>(sqlite3_column_name16(s, colonna)));
    nome.remove(QLatin1Char('"'));
    return nome;
}

int numeroColonne(sqlite3_stmt *s) { return sqlite3_column_count(s); }

IstruzioniSqlite::Lettura &IstruzioniSqlite::prepara(const QString &sql)
{
    const auto it = m_letture.find(sql);
    if (it != m_letture.end())
        return it->second;
    // The texts of a program are few; a bound keeps one that builds texts without end in check.
    if (m_letture.size() >= 512)
        svuota();
    Lettura l;
    const int r = sqlite3_prepare_v3(m_db, sql.toUtf8().constData(), -1, SQLITE_PREPARE_PERSISTENT, &l.stmt, nullptr);
    if (r != SQLITE_OK || !l.stmt) {
        if (l.stmt) sqlite3_finalize(l.stmt);
        if (r == SQLITE_OK) // nothing but blanks or a comment: no columns, no rows
            throw erroreSintassi(QStringLiteral("istruzione vuota"));
        guasto();
    }
    return m_letture.emplace(sql, std::move(l)).first->second;
}

int IstruzioniSqlite::righeCambiate() const { return sqlite3_changes(m_db); }

void IstruzioniSqlite::svuota()
{
    for (auto &[testo, l] : m_letture) sqlite3_finalize(l.stmt);
    m_letture.clear();
}

IstruzioniSqlite::Azzera::~Azzera()
{
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
}

void IstruzioniSqlite::lega(sqlite3_stmt *s, const std::vector<ValoreLegato> &valori)
{
    for (size_t k = 0; k < valori.size(); ++k) {
        const ValoreLegato &v = valori[k];
        const int pos = static_cast<int>(k) + 1;
        const int r = v.testo ? sqlite3_bind_text16(s, pos, v.stringa.isNull() ? static_cast<const void *>(u"") : static_cast<const void *>(v.stringa.utf16()),
                                                    static_cast<int>(v.stringa.size() * qsizetype(sizeof(QChar))),
                                                    SQLITE_TRANSIENT)
                              : sqlite3_bind_int64(s, pos, v.numero);
        if (r != SQLITE_OK) guasto();
    }
}

bool IstruzioniSqlite::passo(sqlite3_stmt *s)
{
    const int r = sqlite3_step(s);
    if (r == SQLITE_ROW) return true;
    if (r == SQLITE_DONE) return false;
    guasto();
}

void IstruzioniSqlite::guasto()
{
    GuastoMotore g;
    g.motore = MotoreDb::SQLite;
    g.codiceSqlite = sqlite3_extended_errcode(m_db);
    g.messaggio = QString(static_cast<const QChar *>(sqlite3_errmsg16(m_db))).trimmed();
    sollevaGuasto(g);
}
