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
        // The interrupted runs of the losers, recovered.
        QSet<QString> interrotte;
        for (const QString &r : righeRimaste())
            interrotte.insert(r.section(QLatin1Char(' '), -1));
        for (const EsitoRun &e : esiti) {
            const QString &u = e.richiesta.utente;
            if (!righeRimaste().filter(QStringLiteral("di ") + u).isEmpty()) {
                EXPECT_TRUE(e.bloccata()) << giro.toStdString() << ": " << u.toStdString()
                                          << " left rows without meeting a lock\n"
                                          << e.giornale.toStdString();
                const EsitoRun r = processi.recupera(u, kAttesaMs);
                EXPECT_EQ(r.codice, 0) << giro.toStdString() << ": recovery of " << u.toStdString() << "\n"
                                       << r.giornale.toStdString();
            }
        }
        EXPECT_EQ(righe(righeRimaste()), QString()) << giro.toStdString();
        EXPECT_EQ(righe(verificaInvarianti(prima, kAnno)), QString()) << giro.toStdString();
    }

    void verificaEsiti(const std::vector<EsitoRun> &esiti, const QString &giro)
    {
        const QList<int> evasi = ordiniEvasi(kAnno);
        int perdenti = 0;
        for (const EsitoRun &e : esiti) {
            const std::string chi = giro.toStdString() + ": " + e.richiesta.utente.toStdString();
            EXPECT_TRUE(e.terminata()) << chi << "\n" << e.giornale.toStdString();
            // Errors, or giving up, only after a record in use.
            EXPECT_TRUE(e.codice == 0 || e.bloccata()) << chi << "\n" << e.giornale.toStdString();
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
        std::printf("%s: %d of %zu programs gave up on a record in use\n", qPrintable(giro), perdenti, esiti.size());
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
};

// Overlapping ranges over orders 1..n for `programmi` programs: each range reaches into the next.
std::vector<RunConcorrente> intervalli(int programmi, int n, const QString &tipoDoc, QRandomGenerator *caso = nullptr)
{
    std::vector<RunConcorrente> out;
    const int passo = n / (programmi + 1);
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

TEST_P(Concorrenza, TwoProgramsOnOverlappingRanges)
{
    const int giri = variabile("EVASORD_CONC_GIRI", 1);
    const int ordini = variabile("EVASORD_CONC_ORDINI", 40);
    QRandomGenerator caso(quint32(variabile("EVASORD_CONC_SEME", 1)));
    for (int g = 1; g <= giri && !HasFailure(); ++g) {
        if (!nuovaDitta(ordini))
            return;
        verificaGiro(intervalli(2, ordini, QStringLiteral("DDT"), g > 1 ? &caso : nullptr),
                     QStringLiteral("2 programmi, giro %1").arg(g));
    }
}

TEST_P(Concorrenza, FourProgramsOnOverlappingRanges)
{
    const int giri = variabile("EVASORD_CONC_GIRI", 1);
    const int ordini = variabile("EVASORD_CONC_ORDINI", 40);
    QRandomGenerator caso(quint32(variabile("EVASORD_CONC_SEME", 1)));
    for (int g = 1; g <= giri && !HasFailure(); ++g) {
        if (!nuovaDitta(ordini))
            return;
        verificaGiro(intervalli(4, ordini, QStringLiteral("DDT"), g > 1 ? &caso : nullptr),
                     QStringLiteral("4 programmi, giro %1").arg(g));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Concorrenza, kBothEngines, engineParamName);

} // namespace
