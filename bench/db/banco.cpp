#include "banco.h"

#include "filesqlite.h"
#include "suiteschema.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>

namespace {

std::optional<Banco> gSqlite, gPostgres;

void creaTabelleLettura(const Banco &b)
{
    const bool sq = b.sqlite();
    const QString t = sq ? QStringLiteral("VARCHAR(40) COLLATE NOCASE") : QStringLiteral("citext");
    // SQLite keeps an amount as its ten-thousandths (see the schema).
    const QString cur = sq ? QStringLiteral("CURRENCY_E4") : QStringLiteral("numeric(19,4)");
    const QString dbl = sq ? QStringLiteral("DOUBLE") : QStringLiteral("double precision");
    eseguiGrezzo(b, QStringLiteral("CREATE TABLE Testate (Anno SMALLINT, NumRif INTEGER, Cliente %1, Descrizione %1, Moneta %1, "
                                   "DataRif DATE, Cambio %2, Totale %3, Stato %1, PRIMARY KEY (Anno, NumRif))")
                        .arg(t, dbl, cur));
    eseguiGrezzo(b, QStringLiteral("CREATE TABLE Righe (Anno SMALLINT, NumRif INTEGER, RigLiv INTEGER, Articolo %1, Descrizione %1, "
                                   "UM %1, Qta %2, QtaEvasa %2, Prezzo %3, Importo %3, DataCons DATE, Iva %1, FlagStato %1, "
                                   "PRIMARY KEY (Anno, NumRif, RigLiv))")
                        .arg(t, dbl, cur));
}

// Headers and lines, ten lines a header, made by the engine itself.
void riempiTabelleLettura(const Banco &b)
{
    const int testate = kRigheLettura / 10;
    if (b.sqlite()) {
        const QString serie = QStringLiteral("WITH RECURSIVE s(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM s WHERE i < %1) ");
        eseguiGrezzo(b, serie.arg(testate - 1) +
                            QStringLiteral("INSERT INTO Testate SELECT 2024, i + 1, 'C' || (i % 97), 'Ordine numero ' || i, 'EUR', "
                                           "date('2024-03-01', '+' || (i % 28) || ' days'), 1.0, 10002500 + i * 10000, 'A' FROM s"));
        eseguiGrezzo(b, serie.arg(kRigheLettura - 1) +
                            QStringLiteral("INSERT INTO Righe SELECT 2024, 1 + i / 10, 1 + i % 10, 'ART' || substr('0000' || (i % 500), -5), "
                                           "'Articolo di prova ' || i, 'PZ', 1 + i % 7, 0, 125000, 125000 * (1 + i % 7), '2024-04-10', "
                                           "'22', '0' FROM s"));
        return;
    }
    eseguiGrezzo(b, QStringLiteral("INSERT INTO Testate SELECT 2024, i + 1, 'C' || (i % 97), 'Ordine numero ' || i, 'EUR', "
                                   "DATE '2024-03-01' + (i % 28), 1.0, 1000.25 + i, 'A' FROM generate_series(0, %1) i")
                        .arg(testate - 1));
    eseguiGrezzo(b, QStringLiteral("INSERT INTO Righe SELECT 2024, 1 + i / 10, 1 + i % 10, 'ART' || lpad((i % 500)::text, 5, '0'), "
                                   "'Articolo di prova ' || i, 'PZ', 1 + i % 7, 0, 12.5, 12.5 * (1 + i % 7), DATE '2024-04-10', "
                                   "'22', '0' FROM generate_series(0, %1) i")
                        .arg(kRigheLettura - 1));
    eseguiGrezzo(b, QStringLiteral("ANALYZE"));
}

void prepara(std::optional<Banco> &b, Engine e)
{
    b.emplace();
    b->motore = e == Engine::SQLite ? MotoreDb::SQLite : MotoreDb::PostgreSQL;
    b->db = ScratchDb::create(e);
    b->connetti = e == Engine::SQLite ? b->db->location() : QStringLiteral("ODBC;") + b->db->location();
    b->nomeGrezza = e == Engine::SQLite ? QStringLiteral("banco_sqlite") : QStringLiteral("banco_pg");
    QSqlDatabase db = b->grezza();
    suite::Schema::suite().create(db, e == Engine::SQLite ? suite::SqlEngine::SQLite : suite::SqlEngine::PostgreSQL);
    creaTabelleLettura(*b);
    riempiTabelleLettura(*b);
}

} // namespace

QSqlDatabase Banco::grezza() const
{
    QSqlDatabase c = QSqlDatabase::database(nomeGrezza, false);
    if (!c.isValid()) {
        c = db->open(nomeGrezza);
        c.setNumericalPrecisionPolicy(QSql::HighPrecision);
        if (sqlite()) FileSqlite::prepara(c);
    }
    return c;
}

const Banco *banco(int64_t motore)
{
    const std::optional<Banco> &b = motore == 0 ? gSqlite : gPostgres;
    return b ? &*b : nullptr;
}

void eseguiGrezzo(const Banco &b, const QString &sql)
{
    QSqlQuery q(b.grezza());
    if (!q.exec(sql)) qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

TipoCampo tipoSchema(const QString &tabella, const QString &campo)
{
    const suite::FieldDef *f = suite::Schema::suite().tableOrThrow(tabella).field(campo);
    if (!f) qFatal("%s.%s non esiste", qPrintable(tabella), qPrintable(campo));
    switch (f->type) {
    case suite::FieldType::Text: return TipoCampo::Testo;
    case suite::FieldType::Memo: return TipoCampo::Memo;
    case suite::FieldType::Integer: case suite::FieldType::Boolean: return TipoCampo::Intero;
    case suite::FieldType::Long: return TipoCampo::Lungo;
    case suite::FieldType::Double: return TipoCampo::Doppio;
    case suite::FieldType::Currency: return TipoCampo::Valuta;
    case suite::FieldType::Date: return TipoCampo::Data;
    case suite::FieldType::DateTime: return TipoCampo::DataOra;
    }
    return TipoCampo::Sconosciuto;
}

void preparaBanchi()
{
    prepara(gSqlite, Engine::SQLite);
    if (!qEnvironmentVariableIsEmpty("EVASORD_PG_HOST")) prepara(gPostgres, Engine::PostgreSQL);
}

void chiudiBanchi()
{
    for (std::optional<Banco> *b : {&gSqlite, &gPostgres}) {
        if (!*b) continue;
        const QString nome = (*b)->nomeGrezza;
        QSqlDatabase::database(nome, false).close();
        QSqlDatabase::removeDatabase(nome);
        b->reset();
    }
}

Coppia::~Coppia()
{
    using benchmark::Counter;
    m_st.counters["grezza_ms"] = Counter(m_grezza * 1000.0, Counter::kAvgIterations);
    m_st.counters["libreria_ms"] = Counter(m_libreria * 1000.0, Counter::kAvgIterations);
    m_st.counters["rapporto"] = m_grezza > 0 ? m_libreria / m_grezza : 0.0;
}
