// The run's order selection with every criterion empty over 10,000 orders of 5 lines, and the
// statements that mark an order's lines and level rows, each beside the same statement
// hand-written in the engine's own SQL and run on a plain connection, side by side in one run.
// On SQLite always, on PostgreSQL when EVASORD_PG_* name a server. What matters is the ratio of
// each pair: the library's statement within 1.5 times the hand-written one.
#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "utilgenerali.h"
#include "scevaordven.h"
#include "scratchdb.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

constexpr int kOrdini = 10000;
constexpr int kOrdiniSegnati = 200; // orders whose lines one iteration marks

// One company of 10,000 orders on one engine, opened as the company database and on a plain
// Qt connection.
struct Banco {
    Engine motore;
    std::unique_ptr<ContestoDiProva> contesto;
    std::unique_ptr<ScratchDb> db;
    QSqlDatabase nativa;
    std::unique_ptr<scEvaOrdVen> eva;
    // The company as the engine's globals name it, put back before each benchmark.
    std::shared_ptr<ConnessioneDb> connessione;
    QString nomeConn;
    std::shared_ptr<MenuClient> menu;

    void attiva() const
    {
        ggDbAzienda = connessione;
        gsNomeConn = nomeConn;
        ggMenuClient = menu;
        UtilGenerali::ImpostaAreaDiLavoro(connessione.get());
    }

    explicit Banco(Engine m) : motore(m)
    {
        contesto = std::make_unique<ContestoDiProva>();
        contesto->menu().responder().setUtente(QStringLiteral("mario"));
        db = ScratchDb::create(m);
        if (!db)
            return;
        contesto->creaDitta(*db, suite::FixtureOptions{.orders = kOrdini, .linesPerOrder = 5});
        connessione = ggDbAzienda.condiviso();
        nomeConn = gsNomeConn;
        menu = ggMenuClient.condiviso();
        // The first write to the disk after the bulk build flushes the whole file: not a cost
        // of either side.
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update Monete Set Descrizione = Descrizione"));
        nativa = db->open(QStringLiteral("nativa_") + engineName(m));
        eva = std::make_unique<scEvaOrdVen>();
        eva->oiAnno = 2024;
        eva->otDataEvasione = Date::fromYmd(2024, 12, 31);
        eva->osTipoDocEva = QStringLiteral("DDT");
        eva->ovDataConsDa = eva->ovDataConsA = eva->ovDataRifDa = eva->ovDataRifA = Variant::null();
        eva->ovDataDocDa = eva->ovDataDocA = Variant::null();
        eva->msGesTaglie = QStringLiteral("S");
        eva->msAliasOrd = QStringLiteral("ordini");
    }
    ~Banco()
    {
        // Everything that holds the database goes before the database itself.
        eva.reset();
        if (nativa.isValid()) {
            const QString nome = nativa.connectionName();
            nativa.close();
            nativa = QSqlDatabase();
            QSqlDatabase::removeDatabase(nome);
        }
        connessione.reset();
        menu.reset();
        contesto.reset();
        db.reset();
    }
    Banco(const Banco &) = delete;
    Banco &operator=(const Banco &) = delete;
    bool pronto() const { return eva != nullptr; }
    bool sqlite() const { return motore == Engine::SQLite; }
};

// The companies, made once for the whole run and dropped before the program ends.
std::map<Engine, std::unique_ptr<Banco>> &banchi()
{
    static std::map<Engine, std::unique_ptr<Banco>> b;
    return b;
}

Banco *banco(Engine m, benchmark::State &state)
{
    auto &b = banchi()[m];
    if (!b) {
        if (m == Engine::PostgreSQL && !pgServer()) {
            state.SkipWithError("EVASORD_PG_HOST not set");
            return nullptr;
        }
        ensureCoreApp();
        b = std::make_unique<Banco>(m);
    }
    if (!b->pronto()) {
        state.SkipWithError("database not available");
        return nullptr;
    }
    b->attiva();
    return b.get();
}

void esegui(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

// The selection as a developer would write it for the engine: the same columns and joins.
QString selezioneNativa(bool sqlite)
{
    const QString data = sqlite ? QStringLiteral("'2024-12-31'") : QStringLiteral("DATE '2024-12-31'");
    return QStringLiteral(
               "SELECT t.*, m.*, f.*, n1.*, n2.*, n3.*, p.Bolli, p.SpeseBan, p.StRifOrd, p.Descrizione, p.PrezzoDDT, "
               "p.RagDDT, p.StRifCli, p.RagRB, p.FECodIPA, p.IndAmm, p.DicIntenti, g.NotaFissa, g.FeBanca "
               "FROM OrdVenTest t "
               "LEFT JOIN FattDocumenti f ON t.FattDocumento = f.FattDocumento "
               "LEFT JOIN Monete m ON t.Moneta = m.Moneta "
               "LEFT JOIN Pagamenti g ON t.Pagamento = g.Pagamento "
               "LEFT JOIN NoteFisse n1 ON t.NumNota1 = n1.NotaFissa "
               "LEFT JOIN NoteFisse n2 ON t.NumNota2 = n2.NotaFissa "
               "LEFT JOIN NoteFisse n3 ON t.NumNota3 = n3.NotaFissa "
               "LEFT JOIN PianoConti p ON t.GruppoCli = p.Gruppo AND t.MastroCli = p.Mastro AND t.ContoCli = p.Conto "
               "WHERE (t.Stato <> 'E' OR t.Stato IS NULL) AND t.DataRif <= %1 "
               "AND (t.Interno <> 'S' OR t.Interno IS NULL) AND t.GruppoCli IS NOT NULL")
        .arg(data);
}

void BM_SelezioneLibreria(benchmark::State &state)
{
    Banco *b = banco(static_cast<Engine>(state.range(0)), state);
    if (!b)
        return;
    const QString sql = b->eva->PrepSqlSelOrd(false, 0, 0);
    int32_t righe = 0;
    for (auto _ : state) {
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, sql, false, dbOpenDynaset);
        righe = rs.RecordCount(a);
        benchmark::DoNotOptimize(righe);
    }
    state.counters["ordini"] = righe;
}

void BM_SelezioneNativa(benchmark::State &state)
{
    Banco *b = banco(static_cast<Engine>(state.range(0)), state);
    if (!b)
        return;
    const QString sql = selezioneNativa(b->sqlite());
    int32_t righe = 0;
    for (auto _ : state) {
        QSqlQuery q(b->nativa);
        q.setForwardOnly(true);
        if (!q.exec(sql))
            qFatal("%s", qPrintable(q.lastError().text()));
        std::vector<QVariant> celle;
        const int n = q.record().count();
        righe = 0;
        while (q.next()) {
            for (int i = 0; i < n; ++i)
                celle.push_back(q.value(i));
            ++righe;
        }
        benchmark::DoNotOptimize(celle.data());
    }
    state.counters["ordini"] = righe;
}

// The first orders of the selection, walked with the engine's cursor.
void apriCursore(Banco &b)
{
    b.eva->mgRecs().Apri(*ggDbAzienda, gsNomeConn, b.eva->msAliasOrd, b.eva->PrepSqlSelOrd(false, 0, 0), false,
                         dbOpenDynaset);
}

void BM_SegnaRigheLibreria(benchmark::State &state)
{
    Banco *b = banco(static_cast<Engine>(state.range(0)), state);
    if (!b)
        return;
    apriCursore(*b);
    GestRecordset &rs = b->eva->mgRecs();
    for (auto _ : state) {
        rs.MoveFirst(b->eva->msAliasOrd);
        for (int i = 0; i < kOrdiniSegnati; ++i, rs.MoveNext(b->eva->msAliasOrd)) {
            ggDbAzienda->Esegui(gsNomeConn, b->eva->PrepSqlDett(1, false));
            ggDbAzienda->Esegui(gsNomeConn, b->eva->PrepSqlDett(2, false));
        }
    }
    state.SetItemsProcessed(state.iterations() * kOrdiniSegnati);
}

void BM_SegnaRigheNativa(benchmark::State &state)
{
    Banco *b = banco(static_cast<Engine>(state.range(0)), state);
    if (!b)
        return;
    apriCursore(*b);
    GestRecordset &rs = b->eva->mgRecs();
    std::vector<std::pair<int, int>> chiavi;
    rs.MoveFirst(b->eva->msAliasOrd);
    for (int i = 0; i < kOrdiniSegnati; ++i, rs.MoveNext(b->eva->msAliasOrd))
        chiavi.emplace_back(rs.LeggiCampo(b->eva->msAliasOrd, u"OrdVenTest.Anno").toLong(),
                            rs.LeggiCampo(b->eva->msAliasOrd, u"OrdVenTest.NumRif").toLong());
    for (auto _ : state) {
        for (const auto &[anno, numRif] : chiavi) {
            esegui(b->nativa, QStringLiteral("UPDATE OrdVenDett SET FlagStato = '4' WHERE Anno = %1 AND NumRif = %2 "
                                             "AND (StatoRiga <> 'E' OR StatoRiga IS NULL)")
                                  .arg(anno)
                                  .arg(numRif));
            esegui(b->nativa, QStringLiteral("UPDATE OrdVenLiv SET FlagStato = '4' WHERE Anno = %1 AND NumRif = %2 "
                                             "AND length(Livello1) > 0 AND EXISTS (SELECT 1 FROM OrdVenDett d "
                                             "WHERE d.Anno = OrdVenLiv.Anno AND d.NumRif = OrdVenLiv.NumRif "
                                             "AND d.RigLiv = OrdVenLiv.RigLiv AND (d.StatoRiga <> 'E' OR d.StatoRiga IS NULL))")
                                  .arg(anno)
                                  .arg(numRif));
        }
    }
    state.SetItemsProcessed(state.iterations() * kOrdiniSegnati);
}

const auto kMotori = {static_cast<int64_t>(Engine::SQLite), static_cast<int64_t>(Engine::PostgreSQL)};

} // namespace

BENCHMARK(BM_SelezioneLibreria)->ArgsProduct({kMotori})->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SelezioneNativa)->ArgsProduct({kMotori})->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SegnaRigheLibreria)->ArgsProduct({kMotori})->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SegnaRigheNativa)->ArgsProduct({kMotori})->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    banchi().clear();
    benchmark::Shutdown();
    return 0;
}
