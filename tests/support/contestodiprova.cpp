#include "contestodiprova.h"

#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "scratchdb.h"
#include "utilgenerali.h"

QString nomeDbAzienda(const ScratchDb &db)
{
    return db.engine() == Engine::SQLite ? db.location() : QStringLiteral("ODBC;") + db.location();
}

namespace {

suite::SqlEngine motoreSchema(const ScratchDb &db)
{
    return db.engine() == Engine::SQLite ? suite::SqlEngine::SQLite : suite::SqlEngine::PostgreSQL;
}

} // namespace

ContestoDiProva::ContestoDiProva(MenuConfig config)
{
    ensureCoreApp();
    azzeraContesto();
    m_menu = std::make_shared<InProcessMenuClient>(std::move(config));
    ggMenuClient = m_menu;
}

ContestoDiProva::~ContestoDiProva()
{
    azzeraContesto();
}

void ContestoDiProva::parametro(const QString &chiave, const Variant &valore)
{
    m_menu->responder().setParametro(chiave, valore);
}

void ContestoDiProva::personale(const QString &sezione, const QString &nome, const Variant &valore)
{
    m_menu->responder().setParametro(MenuConfig::chiavePersonale(sezione, nome), valore);
}

QStringList ContestoDiProva::chiaviLette() const
{
    QStringList out;
    for (const auto &e : m_menu->journal()) {
        if (e.kind == JournalEntry::Kind::Chiamata && e.op == QLatin1String("LeggiParametro") && !e.args.empty())
            out << e.args.front().text();
    }
    return out;
}

QStringList ContestoDiProva::domande() const
{
    QStringList out;
    for (const auto &e : m_menu->journal()) {
        if (e.kind != JournalEntry::Kind::Chiamata)
            continue;
        out << (e.op == QLatin1String("LeggiParametro") && !e.args.empty() ? e.args.front().text() : e.op);
    }
    return out;
}

void ContestoDiProva::apriDitta(const ScratchDb &db)
{
    gsNomeDBAzie = nomeDbAzienda(db);
    auto conn = std::make_shared<ConnessioneDb>();
    gsNomeConn = conn->Connetti(gsNomeDBAzie);
    ggDbAzienda = conn;
    UtilGenerali::ImpostaAreaDiLavoro(conn.get());
}

void ContestoDiProva::creaSchema(const ScratchDb &db)
{
    {
        QSqlDatabase q = db.open(QStringLiteral("creaschema"));
        suite::Schema::suite().create(q, motoreSchema(db));
        q.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("creaschema"));
    apriDitta(db);
}

void ContestoDiProva::creaDitta(const ScratchDb &db)
{
    creaDitta(db, suite::FixtureOptions{});
}

void ContestoDiProva::creaDitta(const ScratchDb &db, const suite::FixtureOptions &opt)
{
    {
        QSqlDatabase q = db.open(QStringLiteral("creaditta"));
        suite::buildCompany(q, opt);
        q.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("creaditta"));
    const auto parametri = suite::menuParameters(opt);
    for (auto it = parametri.cbegin(); it != parametri.cend(); ++it)
        parametro(it.key(), Variant(it.value()));
    apriDitta(db);
}
