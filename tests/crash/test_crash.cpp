// A run killed (SIGKILL) at a random instant leaves the company database consistent: the
// invariants of invarianti.h hold, the next run is refused while documents of the killed run
// are still registered, the recovery brings everything to its end, and a further run then
// fulfils the rest. The same for a cash-sale run, whose orders become posted stock movements.
// On SQLite the file also passes its integrity check.
//
// EVASORD_CRASH_UCCISIONI kills per engine (3 by default; scripts/crash-sweep.sh runs the full
// form), EVASORD_CRASH_SEME the seed of the kill instants (printed, to repeat a sweep).
#include "invarianti.h"
#include "provacrash.h"

#include <QElapsedTimer>
#include <iostream>
#include <random>

namespace {

class Crash : public ProvaCrash {
protected:
    void spazzata(bool corrispettivo);
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

// The kills of one kind of run: after each, the invariants; the refusal of the next run while
// documents of the killed one are registered, else its stop on the orders the killed one holds
// (a cash sale registers no document: its movements are found by their locks); the recovery,
// after which nothing of the run is left pending; a run of the rest. A cash sale's movements
// carry the values of an undisturbed run's; every other kill of one is followed by a run and a
// recovery in the next year, as a user who comes back to it after the new year.
void Crash::spazzata(bool corrispettivo)
{
    const QStringList extra = corrispettivo ? QStringList{QStringLiteral("--corrispettivo")} : QStringList{};
    const auto tipoDi = [&](int i) {
        return corrispettivo ? QStringLiteral("DDT") : i % 2 == 0 ? QStringLiteral("DDT") : QStringLiteral("FAT");
    };
    const auto violazioni = [&](const FotoOrdini &prima, const QSqlDatabase &q) {
        return corrispettivo ? prima.violazioniCorrispettivi(q) : prima.violazioni(q) + violazioniRiferimenti(q);
    };
    // How long the process takes to start, and a whole run, on this engine; what the whole run
    // gave.
    int avvioMs = 0, runMs = 0;
    std::optional<ValoriMovimenti> indisturbata;
    {
        auto db = nuovaDitta();
        if (!db)
            return;
        QElapsedTimer t;
        t.start();
        const Esito vuota =
            esegui(argomenti(*db, tipoDi(0), extra + QStringList{"--numero-da", "9999", "--numero-a", "9999"}));
        avvioMs = static_cast<int>(t.restart());
        ASSERT_EQ(vuota.codice, 1) << vuota.giornale.toStdString();
        const Esito intera = esegui(argomenti(*db, tipoDi(0), extra));
        runMs = static_cast<int>(t.elapsed());
        ASSERT_EQ(intera.codice, 0) << intera.giornale.toStdString();
        QSqlDatabase q = db->open(QStringLiteral("controllo"));
        indisturbata.emplace(q);
        chiudi(q);
    }
    const uint32_t s = seme();
    std::mt19937 caso(s);
    std::uniform_int_distribution<int> istante(avvioMs / 2, std::max(avvioMs / 2 + 1, runMs));
    std::cout << "seme " << s << ", avvio " << avvioMs << " ms, run " << runMs << " ms\n";

    int interrotte = 0, riprese = 0; // kills inside the run, of them taken up the next year
    for (int i = 0; i < uccisioni(); ++i) {
        const QString tipo = tipoDi(i);
        const int dopo = istante(caso);
        // A cash sale taken up again in the next year, after a run of that year met its orders.
        const bool annoDopo = corrispettivo && i % 2 == 1;
        const QString dataRipresa = annoDopo ? kDataAnnoDopo : kData;
        SCOPED_TRACE(QStringLiteral("uccisione %1: %2 dopo %3 ms%4")
                         .arg(i)
                         .arg(corrispettivo ? "corrispettivo" : tipo)
                         .arg(dopo)
                         .arg(annoDopo ? ", ripreso l'anno dopo" : "")
                         .toStdString());
        auto db = nuovaDitta();
        ASSERT_TRUE(db);
        QSqlDatabase q = db->open(QStringLiteral("controllo"));
        const FotoOrdini prima(q);
        q.close();
        // What a cash sale has moved so far carries the values the undisturbed run gave it.
        const auto valori = [&](bool tutti) {
            return corrispettivo ? ValoriMovimenti(q).differenze(*indisturbata, tutti) : QStringList{};
        };

        const Esito ucciso = esegui(argomenti(*db, tipo, extra), dopo);
        q.open();
        integrita(q, GetParam());
        EXPECT_EQ(violazioni(prima, q), QStringList{}) << "dopo l'uccisione";
        EXPECT_EQ(valori(false), QStringList{}) << "dopo l'uccisione";

        const bool interrotta = righe(q, QStringLiteral("SELECT Anno FROM DocDaElab")) > 0;
        if (interrotta) {
            const Esito rifiutata = esegui(argomenti(*db, tipo, extra));
            EXPECT_EQ(rifiutata.codice, 1) << rifiutata.giornale.toStdString();
            // A run stopped while closing its documents may have left no order to fulfil: the
            // selection refuses first then.
            EXPECT_TRUE(rifiutata.giornale.contains(QStringLiteral("Risultano delle elaborazioni interrotte"))
                        || rifiutata.giornale.contains(QStringLiteral("Non ci sono Ordini vendita")))
                << rifiutata.giornale.toStdString();
        }
        const bool tenuti = righe(q, QStringLiteral("SELECT Anno FROM LockGest")) > 0;
        if (!interrotta && tenuti) {
            // Nothing registered (a cash sale registers no document): the next run meets the
            // orders the killed one still holds and writes nothing; it replaces the request the
            // killed run saved. (When the killed run had finished every order but the release of
            // the last, there is no order left to select.)
            const QStringList movimenti = testi(q, QStringLiteral("SELECT Anno, NumReg, RigReg FROM MovMagDettApp"));
            const Esito fermata = esegui(argomenti(*db, tipo, extra, dataRipresa));
            EXPECT_TRUE(fermata.giornale.contains(QStringLiteral(" in uso da "))
                        || fermata.giornale.contains(QStringLiteral("Non ci sono Ordini vendita")))
                << fermata.giornale.toStdString();
            EXPECT_EQ(violazioni(prima, q), QStringList{}) << "dopo la run che trova gli ordini bloccati";
            EXPECT_EQ(testi(q, QStringLiteral("SELECT Anno, NumReg, RigReg FROM MovMagDettApp")), movimenti);
        }
        if (ucciso.codice == -1 && tenuti) {
            ++interrotte;
            riprese += annoDopo ? 1 : 0;
        }
        const Esito recupero = esegui(argomenti(*db, tipo, extra + QStringList{"--recupera"}, dataRipresa));
        EXPECT_EQ(recupero.codice, 0) << recupero.giornale.toStdString();
        EXPECT_EQ(violazioni(prima, q), QStringList{}) << "dopo il ripristino";
        EXPECT_EQ(violazioniDopoRipristino(q), QStringList{}) << "dopo il ripristino";
        EXPECT_EQ(valori(false), QStringList{}) << "dopo il ripristino";
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM DocDaElab")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest")), 0);
        EXPECT_EQ(testi(q, QStringLiteral("SELECT NumRif, RigLiv, TipoRiga, FlagStato FROM OrdVenDett"
                                          " WHERE FlagStato IN ('4', 'B')")),
                  QStringList{});
        // every movement posted whole
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM MovMagDettApp")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM MovMagLivApp")), 0);

        // The rest of the orders, as the run would have fulfilled them.
        const Esito resto = esegui(argomenti(*db, tipo, extra));
        EXPECT_TRUE(resto.codice == 0 || resto.giornale.contains(QStringLiteral("Non ci sono Ordini vendita")))
            << resto.giornale.toStdString();
        EXPECT_EQ(violazioni(prima, q), QStringList{}) << "alla fine";
        EXPECT_EQ(violazioniDopoRipristino(q), QStringList{}) << "alla fine";
        EXPECT_EQ(valori(true), QStringList{}) << "alla fine";
        EXPECT_EQ(ordiniAperti(q), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM DocDaElab")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest")), 0);
        integrita(q, GetParam());
        chiudi(q);
        if (HasFailure()) {
            std::cout << "giornale dell'uccisione:\n" << ucciso.giornale.toStdString() << "\ngiornale del ripristino:\n"
                      << recupero.giornale.toStdString() << "\n";
            break;
        }
    }
    std::cout << uccisioni() << " uccisioni, " << interrotte << " a run interrotta";
    if (corrispettivo)
        std::cout << ", " << riprese << " di queste riprese l'anno dopo";
    std::cout << "\n";
}

TEST_P(Crash, AKilledRunLeavesNothingHalfWrittenAndIsRecovered) { spazzata(false); }

TEST_P(Crash, AKilledCashSaleLeavesNothingHalfWrittenAndIsRecovered) { spazzata(true); }

// A run stopped by a failing write inside an order (the database refuses the order's n-th
// document line) and then recovered: the order is resumed into the document that holds its
// reference line, which it gets once, and nothing else of it is written twice.
TEST_P(Crash, AnOrderStoppedAfterItsReferenceLineIsResumedWithoutRepeatingIt)
{
    struct Caso {
        const char *tipo;
        const char *dett;
        int righeScritte; // document lines of the order written before the refused one
    };
    for (const Caso caso : {Caso{"DDT", "DdtDett", 0}, Caso{"DDT", "DdtDett", 1}, Caso{"FAT", "FatDett", 2}}) {
        SCOPED_TRACE(QStringLiteral("%1, %2 righe scritte").arg(caso.tipo).arg(caso.righeScritte).toStdString());
        auto db = nuovaDitta();
        if (!db)
            return;
        QSqlDatabase q = db->open(QStringLiteral("controllo"));
        const FotoOrdini prima(q);
        // the third order the run converts
        const auto ordini = righeQuery(q, QStringLiteral("SELECT NumRif FROM OrdVenTest WHERE FattDocumento = 'OC'"
                                                         " AND (Stato IS NULL OR Stato <> 'E') ORDER BY NumRif"));
        ASSERT_GE(ordini.size(), 3u);
        const QString numRif = ordini[2].front().toString();
        const QString dett = QString::fromLatin1(caso.dett);
        guasto(q, dett, numRif, caso.righeScritte);
        const Esito fermata = esegui(argomenti(*db, QString::fromLatin1(caso.tipo)));
        EXPECT_EQ(fermata.codice, 3) << fermata.giornale.toStdString();
        EXPECT_TRUE(fermata.giornale.contains(QStringLiteral("guasto di prova"))) << fermata.giornale.toStdString();
        togliGuasto(q, dett);
        // the order's reference line stands only with a line of the order
        EXPECT_EQ(violazioniRiferimenti(q), QStringList{}) << "dopo la fermata";
        EXPECT_EQ(prima.violazioni(q), QStringList{}) << "dopo la fermata";

        const Esito recupero = esegui(argomenti(*db, QString::fromLatin1(caso.tipo), {"--recupera"}));
        EXPECT_EQ(recupero.codice, 0) << recupero.giornale.toStdString();
        EXPECT_EQ(violazioniRiferimenti(q), QStringList{}) << "dopo il ripristino";
        EXPECT_EQ(prima.violazioni(q), QStringList{}) << "dopo il ripristino";
        // the order is whole in one document, after its one reference line
        EXPECT_EQ(righe(q, QStringLiteral("SELECT DISTINCT Anno, NumRif FROM %1 WHERE TipoProv = 'O' AND NumRifProv = %2")
                               .arg(dett, numRif)),
                  1);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM OrdVenTest WHERE NumRif = %1 AND Stato = 'E'").arg(numRif)), 1);

        const Esito resto = esegui(argomenti(*db, QString::fromLatin1(caso.tipo)));
        EXPECT_EQ(resto.codice, 0) << resto.giornale.toStdString();
        EXPECT_EQ(violazioniRiferimenti(q), QStringList{}) << "alla fine";
        EXPECT_EQ(prima.violazioni(q), QStringList{}) << "alla fine";
        EXPECT_EQ(ordiniAperti(q), 0);
        integrita(q, GetParam());
        chiudi(q);
    }
}

// A cash sale stopped inside an order (a refused movement row) or inside the posting of its
// movement (a refused posted row), then recovered: the movement is completed and posted once,
// its rows numbered on after those written before the stop, the rows posted before the stop
// kept with their progressives, and the order closed.
TEST_P(Crash, AStoppedCashSaleIsCompletedAndPostedOnceByTheRecovery)
{
    struct Caso {
        const char *tabella;
        // The saved request gone (a later run of the user removed it), and the recovery asked
        // as for delivery notes: the movements the run left say what it was.
        bool richiestaPersa;
    };
    for (const Caso caso : {Caso{"MovMagDettApp", false}, Caso{"MovMagDett", false}, Caso{"MovMagDett", true}}) {
        const QString tabella = QString::fromLatin1(caso.tabella);
        SCOPED_TRACE(QStringLiteral("%1%2").arg(tabella, caso.richiestaPersa ? " senza richiesta" : "").toStdString());
        auto db = nuovaDitta();
        if (!db)
            return;
        QSqlDatabase q = db->open(QStringLiteral("controllo"));
        const FotoOrdini prima(q);
        const QString numRif = ordineDiMagazzino(q, 1);
        ASSERT_FALSE(numRif.isEmpty());
        const QStringList corrispettivo{QStringLiteral("--corrispettivo")};

        guasto(q, tabella, numRif, 1);
        const Esito fermata = esegui(argomenti(*db, QStringLiteral("DDT"), corrispettivo));
        EXPECT_EQ(fermata.codice, 3) << fermata.giornale.toStdString();
        EXPECT_TRUE(fermata.giornale.contains(QStringLiteral("guasto di prova"))) << fermata.giornale.toStdString();
        togliGuasto(q, tabella);
        EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "dopo la fermata";
        // the order's movement is held, still to post in part
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest WHERE Tipo = 'M' AND PadreNumReg = ") + numRif), 1);
        EXPECT_GT(righe(q, QStringLiteral("SELECT Anno FROM MovMagDettApp WHERE NumRifProv = ") + numRif), 0);

        if (caso.richiestaPersa)
            righeQuery(q, QStringLiteral("DELETE FROM AppoggioTemp"));
        const Esito recupero = esegui(argomenti(*db, QStringLiteral("DDT"),
                                                (caso.richiestaPersa ? QStringList{} : corrispettivo) + QStringList{"--recupera"}));
        EXPECT_EQ(recupero.codice, 0) << recupero.giornale.toStdString();
        EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "dopo il ripristino";
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM MovMagDettApp")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM DdtTest")), 0);
        EXPECT_EQ(violazioniDopoRipristino(q), QStringList{}) << "dopo il ripristino";
        // one movement for the order, all its stock lines in it, numbered on from the rows
        // written before the stop
        EXPECT_EQ(righe(q, QStringLiteral("SELECT DISTINCT Anno, NumReg FROM MovMagDett WHERE NumRifProv = ") + numRif), 1);
        QStringList numeri;
        for (int i = 1; i <= righe(q, QStringLiteral("SELECT Anno FROM MovMagDett WHERE NumRifProv = ") + numRif); ++i)
            numeri << QString::number(i);
        EXPECT_EQ(testi(q, QStringLiteral("SELECT RigReg FROM MovMagDett WHERE NumRifProv = %1 ORDER BY RigReg").arg(numRif)),
                  numeri);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM OrdVenTest WHERE Stato = 'E' AND NumRif = ") + numRif), 1);

        const Esito resto = esegui(argomenti(*db, QStringLiteral("DDT"), corrispettivo));
        EXPECT_EQ(resto.codice, 0) << resto.giornale.toStdString();
        EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "alla fine";
        EXPECT_EQ(ordiniAperti(q), 0);
        integrita(q, GetParam());
        chiudi(q);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Crash, kBothEngines, engineParamName);

} // namespace
