#include "nomisql.h"

#include <algorithm>
#include <iterator>
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

bool riservata(QStringView nome)
{
    if (nome.size() > 20) return false;
    char buf[24];
    for (qsizetype i = 0; i < nome.size(); ++i) {
        char16_t c = nome[i].unicode();
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
        buf[i] = static_cast<char>(c);
    }
    const std::string_view p(buf, static_cast<size_t>(nome.size()));
    const auto in = [&](const auto &elenco) { return std::find(std::begin(elenco), std::end(elenco), p) != std::end(elenco); };
    return in(kRiservate) || in(kRiservateAltre) || in(kRiservateUltime);
}

} // namespace

bool nomeDaQuotare(QStringView nome)
{
    if (nome.isEmpty()) return true;
    for (qsizetype i = 0; i < nome.size(); ++i) {
        const char16_t c = nome[i].unicode();
        const bool lettera = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!lettera && (i == 0 || c < '0' || c > '9')) return true;
    }
    return riservata(nome);
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
