// The run against its floor: N orders x 5 lines converted into invoices grouped per customer,
// N = 1,000 and 10,000, on SQLite and (when EVASORD_PG_* name a server) PostgreSQL.
//
//   bench_run                         every case, each in a process of its own, then the figures
//   bench_run --ordini 1000           only that size
//   bench_run --caso sqlite 1000 P    one case (P: the file of the write profile); for a profiler
//
// Figures: run / floor time, the cost of one order at 10,000 against 1,000, peak memory, the
// run's calls to the menu server (a process of its own) per order, the transactions and flushes
// of run and floor; on PostgreSQL the round trips per order of the run and of each floor, and
// the floor through libpq in pipeline mode, the limit. With EVASORD_PG_NATIVO=1 the run reaches
// PostgreSQL through Qt's own client (QPSQL) instead of ODBC; the floors are the same, one
// through each driver, the run compared with its own driver's.
#include "casoevasione.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

namespace {

const QByteArray kRisultato = "RISULTATO ";

int caso(const QStringList &a)
{
    const Engine motore = a.value(0) == QLatin1String("pg") ? Engine::PostgreSQL : Engine::SQLite;
    try {
        const RisultatoCaso r = eseguiCaso(motore, a.value(1).toInt(), a.value(2));
        std::printf("%s%s\n", kRisultato.constData(), qPrintable(r.json()));
        return r.errore.isEmpty() ? 0 : 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
}

std::optional<RisultatoCaso> lancia(const QString &motore, int ordini, const QString &profilo)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--caso"), motore, QString::number(ordini), profilo});
    p.waitForFinished(-1);
    for (const QByteArray &riga : p.readAllStandardOutput().split('\n'))
        if (riga.startsWith(kRisultato))
            return RisultatoCaso::daJson(QString::fromUtf8(riga.mid(kRisultato.size())));
    std::fprintf(stderr, "%s %d: no result (exit %d)\n", qPrintable(motore), ordini, p.exitCode());
    return std::nullopt;
}

QString nomeCaso(const RisultatoCaso &r)
{
    if (r.motore == Engine::SQLite)
        return engineName(r.motore);
    return engineName(r.motore) + (r.nativo ? QStringLiteral("/QPSQL") : QStringLiteral("/ODBC"));
}

void stampa(const RisultatoCaso &r)
{
    const double n = r.ordini;
    const QString caso = nomeCaso(r);
    std::printf("%-16s %6d ordini  run %8.2f s (cpu %6.2f)  pavimento %7.2f s (cpu %6.2f)  run/pavimento %5.2f  "
                "per ordine %6.2f ms  picco %6.1f MB (alla partenza %5.1f)  chiamate al menu per ordine %.3f%s%s\n",
                qPrintable(caso), r.ordini, r.secondiRun, r.cpuRun, r.secondiPavimento, r.cpuPavimento,
                r.secondiRun / r.secondiPavimento, 1000 * r.secondiRun / n, double(r.piccoKb) / 1024, double(r.partenzaKb) / 1024,
                r.chiamateMenu / n,
                r.errore.isEmpty() ? "" : "  ERRORE: ", qPrintable(r.errore));
    std::printf("%-16s %6d ordini  commit del run %lld (con righe %lld, flush %lld)  transazioni del pavimento %lld",
                qPrintable(caso), r.ordini, r.commit, r.commitConRighe, r.flush, r.transazioniPavimento);
    if (r.motore == Engine::SQLite)
        std::printf(" (flush %lld)  checkpoint run %lld pavimento %lld", r.flushPavimento, r.checkpoint,
                    r.checkpointPavimento);
    std::printf("  scritture %lld  fatture %d righe %d livelli %d\n", r.scritture, r.fatture, r.righeFattura,
                r.livelliFattura);
    if (r.motore == Engine::PostgreSQL) {
        const char *altro = r.nativo ? "ODBC" : "QPSQL";
        std::printf("%-16s %6d ordini  viaggi per ordine: run %.1f, pavimento %.1f, pavimento %s %.1f (%.2f s), "
                    "pipeline libpq %.1f (%.2f s)  run/pipeline %.2f\n",
                    qPrintable(caso), r.ordini, r.viaggiRun / n, r.viaggiPavimento / n, altro, r.viaggiPavimentoAltro / n,
                    r.secondiPavimentoAltro, r.viaggiPipeline / n, r.secondiPipeline, r.secondiRun / r.secondiPipeline);
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments().mid(1);
    if (a.value(0) == QLatin1String("--caso"))
        return caso(a.mid(1));

    QList<int> misure{1000, 10000};
    if (a.value(0) == QLatin1String("--ordini"))
        misure = {a.value(1).toInt()};
    QStringList motori{QStringLiteral("sqlite")};
    if (!qEnvironmentVariable("EVASORD_PG_HOST").isEmpty())
        motori << QStringLiteral("pg");
    else
        std::printf("PostgreSQL: EVASORD_PG_HOST not set, SQLite only\n");

    QTemporaryDir profili;
    std::map<std::pair<QString, int>, RisultatoCaso> risultati;
    bool tuttoBene = true;
    for (const int n : misure) {
        const QString profilo = profili.filePath(QStringLiteral("profilo-%1.json").arg(n));
        for (const QString &m : motori) {
            const auto r = lancia(m, n, profilo);
            if (!r) {
                tuttoBene = false;
                continue;
            }
            stampa(*r);
            tuttoBene = tuttoBene && r->errore.isEmpty();
            risultati[{m, n}] = *r;
        }
    }
    for (const QString &m : motori) {
        const auto piccolo = risultati.find({m, 1000}), grande = risultati.find({m, 10000});
        if (piccolo == risultati.end() || grande == risultati.end())
            continue;
        const double costo1 = piccolo->second.secondiRun / 1000, costo10 = grande->second.secondiRun / 10000;
        std::printf("%-10s costo per ordine a 10.000 / a 1.000: %.2f\n", qPrintable(m), costo10 / costo1);
    }
    return tuttoBene ? 0 : 1;
}
