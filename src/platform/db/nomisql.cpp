#include "nomisql.h"

#include <array>
#include <vector>
#include <string_view>

namespace {

// Words that SQLite or PostgreSQL reserve (or read as a clause) where a name could stand.
constexpr std::string_view kRiservate[] = {
    "abort", "action", "add", "after", "all", "alter", "always", "analyse", "analyze", "and", "any", "array", "as", "asc",
    "asymmetric", "attach", "autoincrement", "before", "begin", "between", "both", "by", "cascade", "case", "cast",
    "check", "collate", "column", "commit", "conflict", "constraint", "create", "cross", "current", "current_catalog",
    "current_date", "current_role", "current_time", "current_timestamp", "current_user", "database", "default",
    "deferrable", "deferred", "delete", "desc", "detach", "distinct", "do", "drop", "each", "else", "end", "escape",
    "except", "exclude", "exclusive", "exists", "explain", "false", "fetch", "filter", "first", "following", "for",
    "foreign", "from", "full", "generated", "glob", "grant", "group", "groups", "having", "if", "ignore", "ilike",
    "immediate", "in", "index", "indexed", "initially", "inner", "insert", "instead", "intersect", "into", "is",
    "isnull", "join", "key", "last", "lateral", "leading", "left", "like", "limit", "localtime", "localtimestamp",
    "match", "materialized", "natural", "no", "not", "nothing", "notnull", "null", "nulls", "of", "offset", "on",
    "only", "or", "order", "others", "outer", "over", "partition", "placing", "plan", "pragma", "preceding", "primary",
    "query", "raise", "range", "recursive", "references", "regexp", "reindex", "release", "rename", "replace",
    "restrict", "returning", "right",
};
constexpr std::string_view kRiservateAltre[] = {
    "rollback", "row", "rows", "savepoint", "select", "session_user", "set", "similar", "some", "symmetric", "table",
    "temp", "temporary", "then", "ties", "to", "trailing", "transaction", "trigger", "true", "unbounded", "union",
    "unique", "update", "user", "using", "vacuum", "values", "variadic", "verbose", "view", "virtual",
};
constexpr std::string_view kRiservateUltime[] = {"when", "where", "window", "with", "without", "current_schema"};

// The words grouped by length and first letter: a name meets two or three of them at most.
constexpr size_t kLunghezze = 21;
using Gruppi = std::array<std::vector<std::string_view>, kLunghezze * 27>;

size_t gruppo(size_t lunghezza, char primo) { return lunghezza * 27 + static_cast<size_t>(primo >= 'a' && primo <= 'z' ? primo - 'a' : 26); }

const Gruppi &gruppi()
{
    static const Gruppi g = [] {
        Gruppi out;
        const auto aggiungi = [&](const auto &elenco) {
            for (std::string_view w : elenco) out[gruppo(w.size(), w.front())].push_back(w);
        };
        aggiungi(kRiservate);
        aggiungi(kRiservateAltre);
        aggiungi(kRiservateUltime);
        return out;
    }();
    return g;
}

// A reserved word, given in lower case.
bool riservata(std::string_view p)
{
    if (p.size() < 2 || p.size() >= kLunghezze) return false;
    for (std::string_view w : gruppi()[gruppo(p.size(), p.front())])
        if (w == p) return true;
    return false;
}

} // namespace

bool nomeDaQuotare(QStringView nome)
{
    if (nome.isEmpty()) return true;
    // One pass: the characters checked and, for a short name, its lower-case form made.
    char minuscolo[kLunghezze];
    const qsizetype n = nome.size();
    const char16_t *p = nome.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = p[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
        else if (!((c >= 'a' && c <= 'z') || c == '_' || (i > 0 && c >= '0' && c <= '9'))) return true;
        if (i < static_cast<qsizetype>(kLunghezze)) minuscolo[i] = static_cast<char>(c);
    }
    return n < static_cast<qsizetype>(kLunghezze) && riservata(std::string_view(minuscolo, static_cast<size_t>(n)));
}

QString nomeSql(QStringView nome, MotoreDb motore)
{
    if (!nomeDaQuotare(nome)) return nome.toString();
    QString s;
    s.reserve(nome.size() + 2);
    s.append(QLatin1Char('"'));
    for (const QChar c : nome) {
        char16_t u = c.unicode();
        // PostgreSQL folds unquoted ASCII letters to lower case: the schema's names are so.
        if (motore == MotoreDb::PostgreSQL && u >= 'A' && u <= 'Z') u = static_cast<char16_t>(u + 32);
        if (u == '"') s.append(QLatin1Char('"'));
        s.append(QChar(u));
    }
    s.append(QLatin1Char('"'));
    return s;
}
