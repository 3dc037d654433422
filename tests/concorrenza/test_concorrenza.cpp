// Two and four programs fulfilling overlapping ranges of orders at once on one company
// database, on SQLite and PostgreSQL: no order line fulfilled twice, no number given twice, no
// committed quantity lost; a program that meets an order or a document in use by another gives
// up and says so.
//
// The reduced form runs here; concorrenza.sh runs the full form (more rounds, larger companies)
// through the same tests with EVASORD_CONC_GIRI, EVASORD_CONC_ORDINI and EVASORD_CONC_SEME.
#include "invarianti.h"
#include "processievasione.h"

#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "utilgenerali.h"
#include "contestodiprova.h"
#include "scratchdb.h"

#include <QRandomGenerator>
#include <QSet>
#include <gtest/gtest.h>
#include <algorithm>

namespace {

constexpr int16_t kAnno = 2024;
constexpr int kAttesaMs = 600000;

int variabile(const char *nome, int predefinito)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(nome, &ok);
    return ok && v > 0 ? v : predefinito;
}

QString righe(const QStringList &l)
{
    return l.join(QStringLiteral("\n"));
}

// Overlapping ranges over orders 1..n for `programmi` programs: each range reaches into the next.
std::vector<RunConcorrente> intervalli(int programmi, int n, const QString &tipoDoc, QRandomGenerator *caso = nullptr)
{
    std::vector<RunConcorrente> out;
    const int passo = n / (programmi + 1);
    if (programmi < 0) {
        // Side by side: each its own orders, all on the same customers and articles.
        programmi = -programmi;
        for (int i = 0; i < programmi; ++i)
            out.push_back({QStringLiteral("utente%1").arg(i + 1), 1 + i * n / programmi, (i + 1) * n / programmi,
                           QStringLiteral("OC"), tipoDoc, QString()});
        return out;
    }
    for (int i = 0; i < programmi; ++i) {
        RunConcorrente r;
        r.utente = QStringLiteral("utente%1").arg(i + 1);
        r.ordineDa = 1 + i * passo;
        r.ordineA = std::min(n, r.ordineDa + 2 * passo - 1);
        if (caso) {
            r.ordineDa = 1 + int(caso->bounded(n));
            r.ordineA = std::min(n, r.ordineDa + int(caso->bounded(n / 2)) + 1);
        }
        if (i == programmi - 1 && !caso)
            r.ordineA = n;
        r.tipoDoc = tipoDoc;
        out.push_back(r);
    }
    return out;
}

class Concorrenza : public ::testing::TestWithParam<Engine> {
protected:
    // A new company of `ordini` orders; the checks must hold on it before any run.
    bool nuovaDitta(int ordini)
    {
        contesto.reset();
        db.reset();
        contesto = std::make_unique<ContestoDiProva>();
        db = ScratchDb::create(GetParam());
        if (IsSkipped() || !db)
            return false;
        contesto->creaDitta(*db, suite::FixtureOptions{.orders = ordini, .customers = 6, .articles = 16});
        prima = fotografaOrdini();
        EXPECT_EQ(verificaInvarianti(prima, kAnno), QStringList{});
        return !HasFailure();
    }

    // The runs at once, then every check; `giro` names the round in the failures.
    void verificaGiro(const std::vector<RunConcorrente> &richieste, const QString &giro)
    {
        ProcessiEvasione processi(QStringLiteral(EVASORD_RUN), nomeDbAzienda(*db), kAnno);
        const std::vector<EsitoRun> esiti = processi.esegui(richieste, kAttesaMs);
        verificaEsiti(esiti, giro);
        // The interrupted runs of the losers, recovered (once per user: two sessions may share one).
        QStringList recuperati;
        for (const EsitoRun &e : esiti) {
            const QString &u = e.richiesta.utente;
            if (recuperati.contains(u) || righeRimaste().filter(QStringLiteral("di ") + u).isEmpty())
                continue;
            recuperati << u;
            const bool bloccato = std::any_of(esiti.begin(), esiti.end(), [&u, this](const EsitoRun &x) {
                return x.richiesta.utente == u && (x.bloccata() || (unSoloUtente && registrazioneDoppia(x)));
            });
            EXPECT_TRUE(bloccato) << giro.toStdString() << ": " << u.toStdString() << " left rows without meeting a lock\n"
                                  << e.giornale.toStdString();
            const EsitoRun r = processi.recupera(u, kAttesaMs);
            EXPECT_EQ(r.codice, 0) << giro.toStdString() << ": recovery of " << u.toStdString() << "\n"
                                   << r.giornale.toStdString();
        }
        EXPECT_EQ(righe(righeRimaste()), QString()) << giro.toStdString();
        EXPECT_EQ(righe(verificaInvarianti(prima, kAnno)), QString()) << giro.toStdString();
    }

    static bool registrazioneDoppia(const EsitoRun &e)
    {
        return e.codice == 3 && e.giornale.contains(QStringLiteral("Errore n°3022")) &&
               e.giornale.contains(QStringLiteral("DocDaElab"));
    }

    void verificaEsiti(const std::vector<EsitoRun> &esiti, const QString &giro)
    {
        const QList<int> evasi = ordiniEvasi(kAnno);
        int perdenti = 0;
        for (const EsitoRun &e : esiti) {
            const std::string chi = giro.toStdString() + ": " + e.richiesta.utente.toStdString();
            // Two sessions of one user share the user's saved request: the second to save it
            // refuses to start.
            if (unSoloUtente && e.codice == 1 &&
                e.giornale.contains(QStringLiteral("Errore durante la creazione del file temporaneo delle selezioni"))) {
                ++perdenti;
                continue;
            }
            // ... and the user's registration of the documents of a run: the second to register the
            // same open document stops on the duplicate key, and its run is left for the recovery.
            if (unSoloUtente && registrazioneDoppia(e)) {
                ++perdenti;
                continue;
            }
            EXPECT_TRUE(e.terminata()) << chi << "\n" << e.giornale.toStdString();
            // Errors, or giving up, only after a record in use.
            EXPECT_TRUE(e.codice != 3 || e.bloccata()) << chi << "\n" << e.giornale.toStdString();
            if (e.bloccata()) {
                ++perdenti;
                continue;
            }
            // A run that met no lock fulfilled its whole range.
            for (int n = e.richiesta.ordineDa; n <= e.richiesta.ordineA; ++n) {
                if (tipoOrdine(n) == e.richiesta.tipoOrdine) {
                    EXPECT_TRUE(evasi.contains(n)) << chi << ": order " << n << " left open\n" << e.giornale.toStdString();
                }
            }
        }
        std::printf("%s: %d of %zu programs gave up on a record in use; %lld orders fulfilled\n", qPrintable(giro),
                    perdenti, esiti.size(), static_cast<long long>(evasi.size()));
    }

    // Rounds of `programmi` runs at once: the first on fixed ranges, the others on drawn ones.
    // A negative number of programs puts their ranges side by side, in every round.
    void giri(int programmi, const QString &tipoOrdine, const QString &tipoDoc, const QString &utente = {},
              const QString &raggruppa = {})
    {
        unSoloUtente = !utente.isEmpty();
        const int giri = variabile("EVASORD_CONC_GIRI", 1);
        const int ordini = variabile("EVASORD_CONC_ORDINI", 40);
        QRandomGenerator caso(quint32(variabile("EVASORD_CONC_SEME", 1)));
        for (int g = 1; g <= giri && !HasFailure(); ++g) {
            if (!nuovaDitta(ordini))
                return;
            // The order type's stock causal for cash sales.
            if (tipoDoc.isEmpty())
                ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update FattDocumenti Set MagCausaleRientro = 'VEN' "
                                                               "Where FattDocumento = ") +
                                                    UtilGenerali::SqlValore(Variant(tipoOrdine), 8));
            std::vector<RunConcorrente> runs = intervalli(programmi, ordini, tipoDoc, g > 1 ? &caso : nullptr);
            for (RunConcorrente &r : runs) {
                r.tipoOrdine = tipoOrdine;
                if (!utente.isEmpty())
                    r.utente = utente;
                r.raggruppa = raggruppa;
            }
            verificaGiro(runs, QStringLiteral("%1 programmi %2->%3, giro %4")
                                   .arg(std::abs(programmi))
                                   .arg(tipoOrdine, tipoDoc.isEmpty() ? QStringLiteral("corrispettivo") : tipoDoc)
                                   .arg(g));
        }
    }

    QString tipoOrdine(int numRif)
    {
        if (tipi.isEmpty())
            tipi = tipiOrdine(kAnno);
        return tipi.value(numRif);
    }

    std::unique_ptr<ContestoDiProva> contesto;
    std::unique_ptr<ScratchDb> db;
    OrdiniPrima prima;
    QMap<int, QString> tipi;
    bool unSoloUtente = false; // every program runs as the same user
};

TEST_P(Concorrenza, TwoProgramsOnOverlappingRanges)
{
    giri(2, QStringLiteral("OC"), QStringLiteral("DDT"));
}

TEST_P(Concorrenza, FourProgramsOnOverlappingRanges)
{
    giri(4, QStringLiteral("OC"), QStringLiteral("DDT"));
}

// Invoices grouped per customer: the programs also meet each other's open invoices.
TEST_P(Concorrenza, FourProgramsInvoicingOverlappingRanges)
{
    giri(4, QStringLiteral("OCF"), QStringLiteral("FAT"));
}

// Side by side on the same customers and articles: every program writes at once (numbers,
// committed quantities, the customers' open delivery notes).
TEST_P(Concorrenza, FourProgramsOnRangesSideBySide)
{
    giri(-4, QStringLiteral("OC"), QStringLiteral("DDT"));
}

// Side by side, each order into a new delivery note: nobody waits for anybody, every program
// numbers its documents against the others' and moves the same committed quantities.
TEST_P(Concorrenza, FourProgramsSideBySideEachOrderItsOwnDocument)
{
    giri(-4, QStringLiteral("OC"), QStringLiteral("DDT"), {}, QStringLiteral("N"));
}

// Two sessions of one user (two workstations, one login): neither may take the other's locks
// or documents for its own.
TEST_P(Concorrenza, TwoSessionsOfOneUserSideBySide)
{
    giri(-2, QStringLiteral("OC"), QStringLiteral("DDT"), QStringLiteral("mario"));
}

// Cash sales: movement numbers and the progressives posted by several programs at once.
TEST_P(Concorrenza, TwoProgramsSellingForCashOnOverlappingRanges)
{
    giri(2, QStringLiteral("OC"), QString());
}

INSTANTIATE_TEST_SUITE_P(Engines, Concorrenza, kBothEngines, engineParamName);

} // namespace
