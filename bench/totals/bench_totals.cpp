// The footer of a 100-line invoice with three VAT rates (some lines with cascade discounts) and
// two expenses, on a company database of each engine, as a run computes it: cold (the
// translator has not seen the document's statements: a run meets each document once) and
// warm (the same document again). The raw baseline reads the rows the footer is made of
// (header, lines with their VAT codes, levels, expenses) with raw Qt SQL; "rapporto" is the
// footer's time over it. Target: median at most 2 ms on SQLite.
#include "companyfixture.h"
#include "connessione.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "documentiprova.h"
#include "sccalcpiedefat.h"
#include "scratchdb.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

// The company and the invoice of one engine; one at a time, as the program's context is one.
struct Banco {
    Engine motore;
    ContestoDiProva c;
    std::unique_ptr<ScratchDb> db;
    QSqlDatabase grezza;
    explicit Banco(Engine e);
    ~Banco();
};

Banco::Banco(Engine e) : motore(e), db(ScratchDb::create(e))
{
    suite::FixtureOptions opt;
    opt.orders = 0;
    c.creaDitta(*db, opt);
    gsCodLira = suite::fx::kLire;
    gsCodEuro = suite::fx::kEuro;
    grezza = db->open(QStringLiteral("banco_grezza"));
    grezza.setNumericalPrecisionPolicy(QSql::HighPrecision);
    DocumentoProva d;
    static const char *const aliquote[] = {"22", "10", "4"};
    for (int i = 0; i < 100; ++i)
        d.righe.push_back({.iva = aliquote[i % 3],
                           .valTotale = 10.0 + i * 1.37,
                           .qta = static_cast<double>(1 + i % 4),
                           .sconto = i % 5 == 0 ? QStringLiteral("10+5") : QString()});
    d.spese = {{.spesa = "TRA", .iva = "22", .importo = 15}, {.spesa = "IMB", .iva = "22", .percentuale = 2}};
    scriviDocumento(grezza, d);
}

Banco::~Banco()
{
    grezza.close();
    grezza = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("banco_grezza"));
}

Banco *banco(Engine e)
{
    static std::unique_ptr<Banco> b;
    if (!b || b->motore != e) {
        b.reset();
        if (e == Engine::PostgreSQL && qEnvironmentVariableIsEmpty("EVASORD_PG_HOST")) return nullptr;
        b = std::make_unique<Banco>(e);
    }
    return b.get();
}

void leggiGrezzo(QSqlDatabase &db)
{
    static const char *const testi[] = {
        "SELECT * FROM FatTest WHERE Anno = 2024 AND NumRif = 1",
        "SELECT FatDett.*, TabIva.* FROM FatDett LEFT JOIN TabIva ON FatDett.Iva = TabIva.Iva WHERE FatDett.Anno = 2024 AND "
        "FatDett.NumRif = 1 ORDER BY FatDett.RigLiv",
        "SELECT * FROM FatLiv WHERE Anno = 2024 AND NumRif = 1",
        "SELECT FatSpese.*, Spese.* FROM FatSpese LEFT JOIN Spese ON FatSpese.Spesa = Spese.Spesa WHERE FatSpese.Anno = 2024 AND "
        "FatSpese.NumRif = 1",
        "SELECT * FROM TaBolli"};
    for (const char *t : testi) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.setNumericalPrecisionPolicy(QSql::HighPrecision);
        q.exec(QLatin1String(t));
        const int n = q.record().count();
        while (q.next())
            for (int i = 0; i < n; ++i) benchmark::DoNotOptimize(q.value(i).toString());
    }
}

// Engine (0 SQLite, 1 PostgreSQL), translation (0 cold, 1 warm).
void PiedeFattura100Righe(benchmark::State &st)
{
    Banco *b = banco(st.range(0) == 0 ? Engine::SQLite : Engine::PostgreSQL);
    if (!b) return st.SkipWithError("motore non disponibile");
    const bool calda = st.range(1) != 0;
    scCalcPiedeFat calc;
    calc.osTabTesta = QStringLiteral("FatTest");
    calc.osTabDett = QStringLiteral("FatDett");
    calc.osTabLiv = QStringLiteral("FatLiv");
    calc.osTabSpese = QStringLiteral("FatSpese");
    calc.CalcPiedeFat(2024, 1, false, -1); // the catalogue and, for a warm run, the translations
    using Orologio = std::chrono::steady_clock;
    double grezza = 0, piede = 0;
    for (auto _ : st) {
        if (!calda) ggDbAzienda->connessione(gsNomeConn).traduttore().svuota();
        auto t0 = Orologio::now();
        leggiGrezzo(b->grezza);
        auto t1 = Orologio::now();
        calc.CalcPiedeFat(2024, 1, false, -1);
        auto t2 = Orologio::now();
        benchmark::DoNotOptimize(calc.odTotFattura);
        grezza += std::chrono::duration<double>(t1 - t0).count();
        piede += std::chrono::duration<double>(t2 - t1).count();
        st.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    if (calc.oiNumErrori != 0) st.SkipWithError(calc.osErrori.toUtf8().constData());
    st.counters["totale"] = calc.odTotFattura.toDouble();
    st.counters["grezza_ms"] = benchmark::Counter(grezza * 1000.0, benchmark::Counter::kAvgIterations);
    st.counters["rapporto"] = grezza > 0 ? piede / grezza : 0.0;
}
BENCHMARK(PiedeFattura100Righe)
    ->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1}) // one engine after the other
    ->UseManualTime()
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
