#include "catalogo.h"

#include <QSqlQuery>
#include <algorithm>
#include <QVariant>

TabellaCatalogo::TabellaCatalogo(QString nome, std::vector<ColonnaCatalogo> colonne, std::vector<int> chiave)
    : m_nome(std::move(nome)), m_colonne(std::move(colonne)), m_chiave(std::move(chiave))
{
    for (int i = 0; i < static_cast<int>(m_colonne.size()); ++i)
        m_indice.emplace(m_colonne[static_cast<size_t>(i)].nome, i);
}

int TabellaCatalogo::indice(QStringView colonna) const
{
    const auto it = m_indice.find(colonna);
    return it == m_indice.end() ? -1 : it->second;
}

TipoCampo tipoDaDichiarazione(QStringView d)
{
    const QString t = d.trimmed().toString().toLower();
    const auto inizia = [&](const char *p) { return t.startsWith(QLatin1String(p)); };
    if (inizia("varchar") || inizia("character varying") || inizia("char") || inizia("citext") || inizia("nvarchar"))
        return TipoCampo::Testo;
    if (inizia("text") || inizia("memo") || inizia("clob"))
        return TipoCampo::Memo;
    if (inizia("smallint") || inizia("int2") || inizia("bool"))
        return TipoCampo::Intero;
    if (inizia("integer") || inizia("int4") || t == QLatin1String("int") || inizia("bigint") || inizia("int8"))
        return TipoCampo::Lungo;
    if (inizia("double") || inizia("float") || inizia("real"))
        return TipoCampo::Doppio;
    // SQLite's currency is an INTEGER of ten-thousandths ("CURRENCY_E4"); a plain "CURRENCY"
    // column of an older file holds floating-point amounts and reads as such.
    if (inizia("currency_e4") || inizia("numeric") || inizia("decimal") || inizia("money"))
        return TipoCampo::Valuta;
    if (inizia("currency"))
        return TipoCampo::Doppio;
    if (inizia("datetime") || inizia("timestamp"))
        return TipoCampo::DataOra;
    if (inizia("date"))
        return TipoCampo::Data;
    return TipoCampo::Sconosciuto;
}

CatalogoDb::CatalogoDb(QSqlDatabase db, MotoreDb motore) : m_db(std::move(db)), m_motore(motore) {}

void CatalogoDb::svuota()
{
    m_tabelle.clear();
    ++m_versione;
}

std::shared_ptr<const TabellaCatalogo> CatalogoDb::tabella(QStringView nome)
{
    if (nome.isEmpty())
        return nullptr;
    auto it = m_tabelle.find(nome);
    if (it == m_tabelle.end())
        it = m_tabelle.emplace(nome.toString(), leggi(nome.toString())).first;
    return it->second;
}

std::shared_ptr<const TabellaCatalogo> CatalogoDb::leggi(const QString &nome)
{
    return m_motore == MotoreDb::SQLite ? leggiSqlite(nome) : leggiPostgres(nome);
}

std::shared_ptr<const TabellaCatalogo> CatalogoDb::leggiSqlite(const QString &nome)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    // The table's own spelling, looked up without regard to case.
    q.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name = ? COLLATE NOCASE"));
    q.addBindValue(nome);
    if (!q.exec() || !q.next())
        return nullptr;
    const QString vero = q.value(0).toString();
    q.finish();
    bool semplice = false; // a table (not a view) without triggers
    q.prepare(QStringLiteral("SELECT (SELECT type FROM sqlite_master WHERE name = ?) = 'table' AND NOT EXISTS"
                             " (SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ? COLLATE NOCASE)"));
    q.addBindValue(vero);
    q.addBindValue(vero);
    if (q.exec() && q.next()) semplice = q.value(0).toInt() != 0;
    q.finish();
    QString quotato = vero;
    quotato.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    if (!q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quotato)))
        return nullptr;
    std::vector<ColonnaCatalogo> colonne;
    std::vector<std::pair<int, int>> chiave; // (position in key, column)
    while (q.next()) {
        ColonnaCatalogo c;
        c.nome = q.value(1).toString();
        c.tipo = tipoDaDichiarazione(q.value(2).toString());
        c.nonNullo = q.value(3).toInt() != 0;
        c.nullaSeTaciuta = semplice && q.value(4).isNull();
        const int pk = q.value(5).toInt();
        if (pk > 0) {
            chiave.emplace_back(pk, static_cast<int>(colonne.size()));
            c.nonNullo = true;
        }
        colonne.push_back(std::move(c));
    }
    std::sort(chiave.begin(), chiave.end());
    std::vector<int> k;
    for (const auto &p : chiave) k.push_back(p.second);
    return std::make_shared<const TabellaCatalogo>(vero, std::move(colonne), std::move(k));
}

std::shared_ptr<const TabellaCatalogo> CatalogoDb::leggiPostgres(const QString &nome)
{
    QSqlQuery q(m_db);
    // Row by row only through ODBC: Qt's own client would leave libpq reading the library's next
    // statement row by row.
    q.setForwardOnly(m_db.driverName() != QLatin1String("QPSQL"));
    // Unquoted names fold to lower case: the schema is created that way.
    q.prepare(QStringLiteral(
        "SELECT a.attname, format_type(a.atttypid, a.atttypmod), a.attnotnull,"
        " COALESCE(array_position(i.indkey::int2[], a.attnum) - array_lower(i.indkey::int2[], 1) + 1, 0), c.relname,"
        " c.relkind IN ('r','p') AND NOT a.atthasdef AND a.attidentity = '' AND a.attgenerated = ''"
        "   AND (SELECT ty.typdefaultbin IS NULL FROM pg_catalog.pg_type ty WHERE ty.oid = a.atttypid)"
        "   AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_trigger t WHERE t.tgrelid = c.oid AND NOT t.tgisinternal)"
        " FROM pg_catalog.pg_class c"
        " JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
        " JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped"
        " LEFT JOIN pg_catalog.pg_index i ON i.indrelid = c.oid AND i.indisprimary"
        " WHERE c.relname = lower(?) AND c.relkind IN ('r','v','p')"
        " AND n.nspname = ANY (current_schemas(false))"
        " ORDER BY a.attnum"));
    q.addBindValue(nome);
    if (!q.exec())
        return nullptr;
    std::vector<ColonnaCatalogo> colonne;
    std::vector<std::pair<int, int>> chiave;
    QString vero;
    while (q.next()) {
        ColonnaCatalogo c;
        c.nome = q.value(0).toString();
        c.tipo = tipoDaDichiarazione(q.value(1).toString());
        c.nonNullo = q.value(2).toInt() != 0 || q.value(2).toString() == QLatin1String("1");
        const int pk = q.value(3).toInt();
        if (pk > 0) chiave.emplace_back(pk, static_cast<int>(colonne.size()));
        vero = q.value(4).toString();
        c.nullaSeTaciuta = q.value(5).toInt() != 0; // a boolean, or "1" from the ODBC driver
        colonne.push_back(std::move(c));
    }
    if (colonne.empty())
        return nullptr;
    std::sort(chiave.begin(), chiave.end());
    std::vector<int> k;
    for (const auto &p : chiave) k.push_back(p.second);
    return std::make_shared<const TabellaCatalogo>(vero, std::move(colonne), std::move(k));
}
