// A run killed (SIGKILL) at a random instant leaves the company database consistent: the
// invariants of invarianti.h hold, the next run is refused while documents of the killed run
// are still registered, the recovery brings everything to its end, and a further run then
// fulfils the rest. On SQLite the file also passes its integrity check.
//
// EVASORD_CRASH_UCCISIONI kills per engine (3 by default; scripts/crash-sweep.sh runs the full
// form), EVASORD_CRASH_SEME the seed of the kill instants (printed, to repeat a sweep).
#include "companyfixture.h"
#include "contestodiprova.h"
#include "invarianti.h"
#include "scratchdb.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <random>

namespace {

const QString kData = QStringLiteral("31/12/2024");

struct Esito {
    int codice = -1;  // -1: killed
    QString giornale; // standard error
};

class Crash : public ::testing::TestWithParam<Engine> {
protected:
    static void SetUpTestSuite() { ensureCoreApp(); }

    // A new company of a few orders on the engine; nullptr when the engine is not available.
    std::unique_ptr<ScratchDb> nuovaDitta()
    {
        auto db = ScratchDb::create(GetParam());
        if (!db)
            return nullptr;
        QSqlDatabase q = db->open(QStringLiteral("crea"));
        suite::buildCompany(q, suite::FixtureOptions{.orders = 10, .customers = 4, .articles = 10});
        q.close();
        q = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("crea"));
        return db;
    }

    static QStringList argomenti(const ScratchDb &db, const QString &tipoEvasione, QStringList altri = {})
    {
        return QStringList{QStringLiteral("--db"), nomeDbAzienda(db), QStringLiteral("--data-lavoro"), kData,
                           QStringLiteral("--data"), kData, QStringLiteral("--tipo-evasione"), tipoEvasione,
                           QStringLiteral("--cambio"), QStringLiteral("USD=1.1")}
               + altri;
    }

    // Runs evasord_run; with `uccidiDopoMs` it is killed that long after its start (unless it
    // ended before).
    static Esito esegui(const QStringList &args, std::optional<int> uccidiDopoMs = std::nullopt)
    {
        QProcess p;
        p.setProgram(QStringLiteral(EVASORD_RUN));
        p.setArguments(args);
        p.start();
        if (!p.waitForStarted(10000))
            return {};
        if (uccidiDopoMs) {
            if (!p.waitForFinished(*uccidiDopoMs)) {
                ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
                p.waitForFinished(10000);
                return {-1, QString::fromUtf8(p.readAllStandardError())};
            }
        } else {
            p.waitForFinished(120000);
        }
        const int codice = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return {codice, QString::fromUtf8(p.readAllStandardError())};
    }

    static int righe(const QSqlDatabase &db, const QString &sql) { return static_cast<int>(righeQuery(db, sql).size()); }
    // The rows of a query, each one's values joined by blanks.
    static QStringList testi(const QSqlDatabase &db, const QString &sql)
    {
        QStringList out;
        for (const QVariantList &r : righeQuery(db, sql)) {
            QStringList valori;
            for (const QVariant &v : r)
                valori << v.toString();
            out << valori.join(QLatin1Char(' '));
        }
        return out;
    }

    static void integrita(const QSqlDatabase &db, Engine engine)
    {
        if (engine != Engine::SQLite)
            return;
        const auto r = righeQuery(db, QStringLiteral("PRAGMA integrity_check"));
        ASSERT_FALSE(r.empty());
        EXPECT_EQ(r.front().front().toString(), QStringLiteral("ok"));
    }
};

int uccisioni()
{
    const int n = qEnvironmentVariableIntValue("EVASORD_CRASH_UCCISIONI");
    return n > 0 ? n : 3;
}

uint32_t seme()
{
    bool ok = false;
    const uint32_t s = qEnvironmentVariable("EVASORD_CRASH_SEME").toUInt(&ok);
    return ok ? s : static_cast<uint32_t>(std::random_device{}());
}

TEST_P(Crash, AKilledRunLeavesNothingHalfWrittenAndIsRecovered)
{
    // How long the process takes to start, and a whole run, on this engine.
    int avvioMs = 0, runMs = 0;
    {
        auto db = nuovaDitta();
        if (!db)
            return;
        QElapsedTimer t;
        t.start();
        const Esito vuota = esegui(argomenti(*db, QStringLiteral("DDT"), {"--numero-da", "9999", "--numero-a", "9999"}));
        avvioMs = static_cast<int>(t.restart());
        ASSERT_EQ(vuota.codice, 1) << vuota.giornale.toStdString();
        const Esito intera = esegui(argomenti(*db, QStringLiteral("DDT")));
        runMs = static_cast<int>(t.elapsed());
        ASSERT_EQ(intera.codice, 0) << intera.giornale.toStdString();
    }
    const uint32_t s = seme();
    std::mt19937 caso(s);
    std::uniform_int_distribution<int> istante(avvioMs / 2, std::max(avvioMs / 2 + 1, runMs));
    std::cout << "seme " << s << ", avvio " << avvioMs << " ms, run " << runMs << " ms\n";

    for (int i = 0; i < uccisioni(); ++i) {
        const QString tipo = i % 2 == 0 ? QStringLiteral("DDT") : QStringLiteral("FAT");
        const int dopo = istante(caso);
        SCOPED_TRACE(QStringLiteral("uccisione %1: %2 dopo %3 ms").arg(i).arg(tipo).arg(dopo).toStdString());
        auto db = nuovaDitta();
        ASSERT_TRUE(db);
        QSqlDatabase q = db->open(QStringLiteral("controllo"));
        const FotoOrdini prima(q);
        q.close();

        const Esito ucciso = esegui(argomenti(*db, tipo), dopo);
        q.open();
        integrita(q, GetParam());
        EXPECT_EQ(prima.violazioni(q), QStringList{}) << "dopo l'uccisione";

        const bool interrotta = righe(q, QStringLiteral("SELECT Anno FROM DocDaElab")) > 0;
        if (interrotta) {
            const Esito rifiutata = esegui(argomenti(*db, tipo));
            EXPECT_EQ(rifiutata.codice, 1) << rifiutata.giornale.toStdString();
            // A run stopped while closing its documents may have left no order to fulfil: the
            // selection refuses first then.
            EXPECT_TRUE(rifiutata.giornale.contains(QStringLiteral("Risultano delle elaborazioni interrotte"))
                        || rifiutata.giornale.contains(QStringLiteral("Non ci sono Ordini vendita")))
                << rifiutata.giornale.toStdString();
        }
        const Esito recupero = esegui(argomenti(*db, tipo, {"--recupera"}));
        EXPECT_EQ(recupero.codice, 0) << recupero.giornale.toStdString();
        EXPECT_EQ(prima.violazioni(q), QStringList{}) << "dopo il ripristino";
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM DocDaElab")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest")), 0);
        EXPECT_EQ(testi(q, QStringLiteral("SELECT NumRif, RigLiv, TipoRiga, FlagStato FROM OrdVenDett"
                                          " WHERE FlagStato IN ('4', 'B')")),
                  QStringList{});

        // The rest of the orders, as the run would have fulfilled them.
        const Esito resto = esegui(argomenti(*db, tipo));
        EXPECT_TRUE(resto.codice == 0 || resto.giornale.contains(QStringLiteral("Non ci sono Ordini vendita")))
            << resto.giornale.toStdString();
        EXPECT_EQ(prima.violazioni(q), QStringList{}) << "alla fine";
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM OrdVenTest WHERE FattDocumento = 'OC'"
                                          " AND (Stato IS NULL OR Stato <> 'E')")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM DocDaElab")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest")), 0);
        integrita(q, GetParam());
        q.close();
        q = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("controllo"));
        if (HasFailure()) {
            std::cout << "giornale dell'uccisione:\n" << ucciso.giornale.toStdString() << "\ngiornale del ripristino:\n"
                      << recupero.giornale.toStdString() << "\n";
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Crash, kBothEngines, engineParamName);

} // namespace
