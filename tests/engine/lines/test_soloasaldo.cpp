// The balance-only closing on both engines: the picked lines and levels closed with their
// commitments released in one transaction, the order's lock staged "5" then "6"; and the
// orders of a manual run that have nothing to deliver.
#include "blocchi.h"
#include "evasionedettagli.h"
#include "righeprova.h"
#include "rowwriter.h"

namespace {

using suite::articleCode;

const QString kArt1 = articleCode(1), kArt2 = articleCode(2);
const QString kTaglie = articleCode(5);

class SoloASaldo : public ProvaRighe {
protected:
    // An order of two lines and a line with two levels, the first line partly delivered.
    int32_t ordineTipo()
    {
        suite::OrderInput o;
        o.cliente = 3;
        o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5, .qtaEvasa = 3},
                   {.articolo = kTaglie, .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}},
                   {.articolo = kArt2, .qta = 4, .prezzo = 12}};
        return ordine(o);
    }

    // The engine of a balance-only run on the order, holding the order's lock.
    scEvaOrdVen &motoreSoloASaldo(int32_t numRif)
    {
        scEvaOrdVen &eva = motore(numRif, true);
        eva.obSoloASaldo = true;
        QString utente, gestione = QStringLiteral("3"), varie, stato;
        EXPECT_EQ(BloccaRecord(QStringLiteral("0"), QStringLiteral("O"), 2024, numRif, true, false, eva.msAliasLockOrd,
                               QStringLiteral("Ordini vendita"), utente, gestione, varie, false, QString(), 0, 0, 0,
                               stato)
                      .toInteger(),
                  EsitoBlocco::Preso);
        return eva;
    }

    bool chiudi(scEvaOrdVen &eva)
    {
        bool esci = false;
        EvadeDettSoloASaldo(eva, esci);
        return esci;
    }
};

TEST_P(SoloASaldo, ThePickedLinesAndLevelsAreClosedAndTheirRemainderReleased)
{
    const int32_t n = ordineTipo();
    scelta(n, 1, 0, "S");
    scelta(n, 2, 0, "S", "S", "ROSSO"); // M BLU is not picked
    const double i1 = impegnato(kArt1), iS = impegnato(kTaglie, "S", "ROSSO"), iM = impegnato(kTaglie, "M", "BLU"),
                 i2 = impegnato(kArt2);
    scEvaOrdVen &eva = motoreSoloASaldo(n);

    ASSERT_FALSE(chiudi(eva)) << eva.msErrori.toStdString();
    EXPECT_EQ(statoBlocco(n), "6");
    const StatoOrdine r1 = rigaOrdine(n, 1), r2 = rigaOrdine(n, 2), r3 = rigaOrdine(n, 3);
    EXPECT_EQ(r1.statoRiga, "E"); // it was "P"
    EXPECT_DOUBLE_EQ(r1.qtaEvasa.toDouble(), 3);
    EXPECT_EQ(r1.flagStato, "");
    EXPECT_EQ(r2.statoRiga, "P"); // a level is still open
    EXPECT_EQ(livelloOrdine(n, 2, "S", "ROSSO").statoRiga, "E");
    EXPECT_EQ(livelloOrdine(n, 2, "M", "BLU").statoRiga, "");
    EXPECT_EQ(r3.statoRiga, "");
    EXPECT_DOUBLE_EQ(impegnato(kArt1), i1 - 7);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "S", "ROSSO"), iS - 2);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "M", "BLU"), iM);
    EXPECT_DOUBLE_EQ(impegnato(kArt2), i2);
    EXPECT_TRUE(righeDocumento().empty());
}

TEST_P(SoloASaldo, AFailureChangesNothingAndLeavesTheLockAtFive)
{
    // The last picked line's article has a bill of materials that contains itself.
    const int32_t n = ordineTipo();
    scelta(n, 1, 0, "S");
    scelta(n, 2, 0, "S", "S", "ROSSO");
    scelta(n, 3, 0, "S");
    suite::insertRow(m_q, "ArtLegami", {{"ArticoloPadre", kArt2}, {"ArticoloFiglio", kArt2}, {"Qta", 1.0}, {"UM", "PZ"}});
    sql(QStringLiteral("UPDATE Articoli SET DistBase = 1 WHERE Articolo = ?"), {kArt2});
    c.parametro("Ditta.InstDiBa", Variant("S"));
    const double i1 = impegnato(kArt1), iS = impegnato(kTaglie, "S", "ROSSO");
    scEvaOrdVen &eva = motoreSoloASaldo(n);
    eva.msCausaleDiBa = QStringLiteral("DIBA");

    EXPECT_TRUE(chiudi(eva));
    EXPECT_EQ(eva.miNumErrori, 1);
    EXPECT_ERRORE(eva, "in Evasione dettagli: Evasione dei dettagli Solo a Saldo di Evasione Ordini");
    EXPECT_EQ(statoBlocco(n), "5");
    EXPECT_EQ(rigaOrdine(n, 1).statoRiga, "P");
    EXPECT_EQ(livelloOrdine(n, 2, "S", "ROSSO").statoRiga, "");
    EXPECT_DOUBLE_EQ(impegnato(kArt1), i1);
    EXPECT_DOUBLE_EQ(impegnato(kTaglie, "S", "ROSSO"), iS);
}

TEST_P(SoloASaldo, AnOpenOrderOrAnOrderWithNothingPickedIsLeftAlone)
{
    suite::OrderInput o;
    o.cliente = 3;
    o.extra = {{"OrdAperto", "S"}};
    o.righe = {{.articolo = kArt1, .qta = 10, .prezzo = 2.5}};
    const int32_t aperto = ordine(o);
    scelta(aperto, 1, 0, "S");
    const int32_t senzaScelte = ordineTipo();
    for (const int32_t n : {aperto, senzaScelte}) {
        const QString prima = rigaOrdine(n, 1).statoRiga;
        scEvaOrdVen &eva = motoreSoloASaldo(n);
        EXPECT_FALSE(chiudi(eva)) << n;
        EXPECT_EQ(statoBlocco(n), "0") << n;
        EXPECT_EQ(rigaOrdine(n, 1).statoRiga, prima) << n;
        EXPECT_EQ(eva.miNumErrori, 0) << n;
    }
}

TEST_P(SoloASaldo, AManualOrderWithNothingToDeliverIsOnlyClosed)
{
    const int32_t n = ordineTipo();
    scelta(n, 1, 0, "S");
    scelta(n, 2, 4e-9, "S", "S", "ROSSO");
    scEvaOrdVen &eva = motore(n, true);
    EXPECT_TRUE(OrdineSoloASaldo(eva));
    scelta(n, 3, 2, "N");
    EXPECT_FALSE(OrdineSoloASaldo(eva));
    // Another user's picks are not this run's.
    suite::insertRow(m_q, QStringLiteral("OrdVenEvaDett"),
                     {{"Utente", "luigi"}, {"Anno", 2024}, {"NumRif", n}, {"RigLiv", 1}, {"Livello1", " "},
                      {"Livello2", " "}, {"ASaldo", "N"}, {"QtaDaEva", 5.0}});
    sql(QStringLiteral("DELETE FROM OrdVenEvaDett WHERE Utente = ? AND RigLiv = 3"), {kUtente});
    EXPECT_TRUE(OrdineSoloASaldo(eva));
    eva.obEvasManule = false;
    EXPECT_FALSE(OrdineSoloASaldo(eva));
}

INSTANTIATE_TEST_SUITE_P(Engines, SoloASaldo, kBothEngines, engineParamName);

} // namespace
