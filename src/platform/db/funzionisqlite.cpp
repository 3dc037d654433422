#include "funzionisqlite.h"

#include "apperror.h"
#include "funzionijet.h"
#include "letterali.h"
#include "likejet.h"
#include "operatorijet.h"
#include "textcompare.h"
#include "tipijet.h"

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

QString testoSqlite(sqlite3_value *v)
{
    const void *p = sqlite3_value_text16(v);
    const int n = sqlite3_value_bytes16(v);
    return QString(static_cast<const QChar *>(p), n / 2);
}

// The value by the type the translator gave it; an unknown type by what SQLite holds.
Variant daSqlite(sqlite3_value *v, char tipo)
{
    const int t = sqlite3_value_type(v);
    if (t == SQLITE_NULL) return Variant::null();
    switch (tipo) {
    case 'B': return Variant(sqlite3_value_int64(v) != 0);
    case 'I': case 'L': {
        if (t == SQLITE_INTEGER) {
            const sqlite3_int64 n = sqlite3_value_int64(v);
            if (tipo == 'I' && n >= std::numeric_limits<int16_t>::min() && n <= std::numeric_limits<int16_t>::max())
                return Variant(static_cast<int16_t>(n));
            if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
                return Variant(static_cast<int32_t>(n));
        }
        break;
    }
    case 'C':
        if (t == SQLITE_INTEGER) return Variant(Currency::fromUnits(sqlite3_value_int64(v)));
        if (t == SQLITE_FLOAT) return Variant(Currency::fromDouble(sqlite3_value_double(v) / 10000.0));
        break;
    case 'F':
        if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) return Variant(sqlite3_value_double(v));
        break;
    case 'D':
        if (t == SQLITE_TEXT) {
            if (const auto d = leggiDataIso(testoSqlite(v))) return Variant(*d);
        }
        break;
    case 'T': return Variant(testoSqlite(v));
    default: break;
    }
    switch (t) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 n = sqlite3_value_int64(v);
        if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
            return Variant(static_cast<int32_t>(n));
        return Variant(static_cast<double>(n));
    }
    case SQLITE_FLOAT: return Variant(sqlite3_value_double(v));
    default: return Variant(testoSqlite(v));
    }
}

void testoRisultato(sqlite3_context *c, const QString &s)
{
    sqlite3_result_text16(c, s.utf16(), static_cast<int>(s.size() * 2), SQLITE_TRANSIENT);
}

// The result in the form of its type: currency in ten-thousandths, dates as ISO texts,
// conditions as -1 or 0.
void versoSqlite(sqlite3_context *c, const Variant &r, char tipo)
{
    if (r.isNull() || r.isEmpty()) {
        sqlite3_result_null(c);
        return;
    }
    const Variant v = comeTipo(r, tipoDaLettera(tipo));
    switch (v.type()) {
    case Variant::Type::Boolean: sqlite3_result_int(c, v.toBool() ? -1 : 0); return;
    case Variant::Type::Integer: case Variant::Type::Long: sqlite3_result_int64(c, v.toLong()); return;
    case Variant::Type::Currency:
        if (tipo == 'C') sqlite3_result_int64(c, v.toCurrency().units());
        else sqlite3_result_double(c, v.toCurrency().toDouble());
        return;
    case Variant::Type::Double: sqlite3_result_double(c, v.toDouble()); return;
    case Variant::Type::Date: testoRisultato(c, v.toDate().toIsoString()); return;
    default: testoRisultato(c, v.text()); return;
    }
}

char lettera(sqlite3_value *tipi, int i)
{
    const unsigned char *t = sqlite3_value_text(tipi);
    const int n = sqlite3_value_bytes(tipi);
    return t && i < n ? static_cast<char>(t[i]) : '?';
}

template <typename Calcolo>
void protetto(sqlite3_context *c, Calcolo calcolo)
{
    try {
        calcolo();
    } catch (const AppError &e) {
        const QByteArray m = QStringLiteral("Jet:%1 %2").arg(e.number()).arg(e.description()).toUtf8();
        sqlite3_result_error(c, m.constData(), static_cast<int>(m.size()));
    } catch (const std::exception &e) {
        sqlite3_result_error(c, e.what(), -1);
    }
}

Op operatore(char c)
{
    switch (c) {
    case '+': return Op::Piu;
    case '-': return Op::Meno;
    case '*': return Op::Per;
    case '/': return Op::Diviso;
    case '\\': return Op::DivisioneIntera;
    case 'M': return Op::Modulo;
    case '^': return Op::Potenza;
    default: return Op::Nessuno;
    }
}

// jet_op(operator, types of a, b and the result, a, b)
void jetOp(sqlite3_context *c, int, sqlite3_value **v)
{
    protetto(c, [&] {
        const Op op = operatore(lettera(v[0], 0));
        const Variant r = operaJet(op, daSqlite(v[2], lettera(v[1], 0)), daSqlite(v[3], lettera(v[1], 1)));
        versoSqlite(c, r, lettera(v[1], 2));
    });
}

// jet_neg(types of a and the result, a)
void jetNeg(sqlite3_context *c, int, sqlite3_value **v)
{
    protetto(c, [&] { versoSqlite(c, negaJet(daSqlite(v[1], lettera(v[0], 0))), lettera(v[0], 1)); });
}

// jet_cat(types, a, b, ...)
void jetCat(sqlite3_context *c, int n, sqlite3_value **v)
{
    protetto(c, [&] {
        QString s;
        bool tuttiNull = true;
        for (int i = 1; i < n; ++i) {
            const Variant x = daSqlite(v[i], lettera(v[0], i - 1));
            if (x.isNull()) continue;
            tuttiNull = false;
            s += testoJet(x);
        }
        if (tuttiNull) sqlite3_result_null(c);
        else testoRisultato(c, s);
    });
}

// jet_like(text, pattern)
void jetLike(sqlite3_context *c, int, sqlite3_value **v)
{
    if (sqlite3_value_type(v[0]) == SQLITE_NULL || sqlite3_value_type(v[1]) == SQLITE_NULL) {
        sqlite3_result_null(c);
        return;
    }
    sqlite3_result_int(c, likeJet(testoSqlite(v[0]), testoSqlite(v[1])) ? 1 : 0);
}

// jet_come(types from and to, a)
void jetCome(sqlite3_context *c, int, sqlite3_value **v)
{
    protetto(c, [&] { versoSqlite(c, daSqlite(v[1], lettera(v[0], 0)), lettera(v[0], 1)); });
}

// jet_fn(function, types of the arguments and of the result, arguments...)
void jetFn(sqlite3_context *c, int n, sqlite3_value **v)
{
    protetto(c, [&] {
        const auto f = static_cast<FnJet>(sqlite3_value_int(v[0]));
        std::vector<Variant> argomenti;
        argomenti.reserve(static_cast<size_t>(n - 2));
        for (int i = 2; i < n; ++i) argomenti.push_back(daSqlite(v[i], lettera(v[1], i - 2)));
        versoSqlite(c, chiamaFunzioneJet(f, argomenti), lettera(v[1], n - 2));
    });
}

// The collation of the text columns.
int confrontaTesti(void *, int na, const void *a, int nb, const void *b)
{
    return textCompareUtf8(static_cast<const char *>(a), na, static_cast<const char *>(b), nb);
}

} // namespace

void registraConfrontoTesti(sqlite3 *db)
{
    sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, confrontaTesti, nullptr);
}

void registraFunzioniJet(sqlite3 *db)
{
    const int flag = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, "jet_op", 4, flag, nullptr, jetOp, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_neg", 2, flag, nullptr, jetNeg, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_cat", -1, flag, nullptr, jetCat, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_like", 2, flag, nullptr, jetLike, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_come", 2, flag, nullptr, jetCome, nullptr, nullptr, nullptr);
    // Date and Now are not deterministic, but they never come here: the translator writes them
    // with SQLite's own functions.
    sqlite3_create_function_v2(db, "jet_fn", -1, flag, nullptr, jetFn, nullptr, nullptr, nullptr);
    // Double quotes name columns only: a misspelt name must fail, not read as a text.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
}
