// The footer of a 100-line invoice with three VAT rates (some lines with cascade discounts) and
// two expenses, on a SQLite company database. Target: median at most 2 ms.
#include "companyfixture.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "documentiprova.h"
#include "sccalcpiedefat.h"
#include "scratchdb.h"

#include <benchmark/benchmark.h>

namespace {

// The company and the invoice, made once for every run of the benchmark.
struct Banco {
    ContestoDiProva c;
    std::unique_ptr<ScratchDb> db = ScratchDb::create(Engine::SQLite);
    Banco();
};

Banco::Banco()
{
    suite::FixtureOptions opt;
    opt.orders = 0;
    c.creaDitta(*db, opt);
    gsCodLira = suite::fx::kLire;
    gsCodEuro = suite::fx::kEuro;
    {
        QSqlDatabase q = db->open(QStringLiteral("banco"));
        DocumentoProva d;
        static const char *const aliquote[] = {"22", "10", "4"};
        for (int i = 0; i < 100; ++i)
            d.righe.push_back({.iva = aliquote[i % 3],
                               .valTotale = 10.0 + i * 1.37,
                               .qta = static_cast<double>(1 + i % 4),
                               .sconto = i % 5 == 0 ? QStringLiteral("10+5") : QString()});
        d.spese = {{.spesa = "TRA", .iva = "22", .importo = 15}, {.spesa = "IMB", .iva = "22", .percentuale = 2}};
        scriviDocumento(q, d);
        q.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("banco"));
}

void BM_PiedeFattura100Righe(benchmark::State &state)
{
    static Banco banco;
    scCalcPiedeFat calc;
    calc.osTabTesta = QStringLiteral("FatTest");
    calc.osTabDett = QStringLiteral("FatDett");
    calc.osTabLiv = QStringLiteral("FatLiv");
    calc.osTabSpese = QStringLiteral("FatSpese");
    for (auto _ : state) {
        calc.CalcPiedeFat(2024, 1, false, -1);
        benchmark::DoNotOptimize(calc.odTotFattura);
    }
    if (calc.oiNumErrori != 0)
        state.SkipWithError(calc.osErrori.toUtf8().constData());
    state.counters["totale"] = calc.odTotFattura.toDouble();
}
BENCHMARK(BM_PiedeFattura100Righe)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
