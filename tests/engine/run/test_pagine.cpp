// The run's selection read a few orders at a time, on both engines: every order converted once
// and in key order across pages and years, no order taken that was not locked, a stop by a
// lock releasing exactly the locks taken, and the picked orders of a manual run.
#include "evasionediprova.h"

#include "contesto.h"
#include "rowwriter.h"

namespace {

class Pagine : public EvasioneDiProva {
protected:
    void SetUp() override
    {
        EvasioneDiProva::SetUp();
        eva.mlRighePagina = 2;
    }
    QStringList lock() { return righe("Select Anno, NumReg, Utente from LockGest Order by Anno, NumReg"); }
    QStringList stati() { return righe("Select Anno, NumRif, Stato from OrdVenTest Order by Anno, NumRif"); }
    QStringList testate() const { return servizi.chiamate.filter(QStringLiteral("EvadoOrdTest")); }
    void ordineDel2023(int32_t numRif)
    {
        suite::OrderInput o;
        o.anno = 2023;
        o.numRif = numRif;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 5, .prezzo = 2}};
        ordine(o);
    }
};

TEST_P(Pagine, EveryOrderIsConvertedOnceInKeyOrderAPageAtATime)
{
    ordineDel2023(7);
    ordineDel2023(9);
    for (int32_t n = 1; n <= 5; ++n)
        ordineSemplice(n);
    // Order 6 enters the selection while the run converts order 1: it was not locked, so it
    // is not converted.
    ordineSemplice(6);
    esegui("Update OrdVenTest Set Stato = 'E' Where Anno = 2024 And NumRif = 6");
    int32_t righeTenute = 0;
    servizi.righe = [&](scEvaOrdVen &e, bool &esci, int16_t &creati) {
        righeTenute = std::max(righeTenute, e.mgRecs().RecordCount(e.msAliasOrd));
        if (e.mgRecs().LeggiCampo(e.msAliasOrd, u"OrdVenTest.NumRif").toLong() == 1)
            ggDbAzienda->Esegui(gsNomeConn, "Update OrdVenTest Set Stato = Null Where Anno = 2024 And NumRif = 6");
        ServiziDiProva::evadiTutto(e, esci, creati);
    };

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(dialoghi->testi, QStringList{"Elaborazione terminata"});
    EXPECT_EQ(testate(), (QStringList{"EvadoOrdTest 7", "EvadoOrdTest 9", "EvadoOrdTest 1", "EvadoOrdTest 2", "EvadoOrdTest 3",
                                      "EvadoOrdTest 4", "EvadoOrdTest 5"}));
    EXPECT_EQ(righeTenute, 2);
    EXPECT_EQ(stati(), (QStringList{"2023|7|E", "2023|9|E", "2024|1|E", "2024|2|E", "2024|3|E", "2024|4|E", "2024|5|E",
                                    "2024|6|"}));
    EXPECT_EQ(lock(), QStringList{});
    // Progress: the orders selected x 3 + 1, then x 2 + the documents.
    ASSERT_GE(vista.massimi.size(), 3u);
    EXPECT_EQ(vista.massimi.at(vista.massimi.size() - 2), 22);
    EXPECT_EQ(vista.massimi.back(), 21);
    EXPECT_EQ(eva.miNumErrori, 0);
}

TEST_P(Pagine, AStopByALockReleasesExactlyTheLocksTaken)
{
    ordineDel2023(7);
    ordineDel2023(9);
    for (int32_t n = 1; n <= 5; ++n)
        ordineSemplice(n);
    lockDi("luigi", 4);
    dialoghi->risposta = [](const RichiestaMsgCom &r) { return r.psLabel.contains("in uso") ? 2 : 1; };

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(dialoghi->testi, (QStringList{"Ordini vendita n.rif 4 anno 2024 in uso da luigi", "Elaborazione terminata"}));
    EXPECT_EQ(lock(), QStringList{"2024|4|luigi"});
    EXPECT_EQ(servizi.chiamate.filter(QStringLiteral("Evado")), QStringList{});
    EXPECT_EQ(eva.miNumErrori, 0);

    // Order 3 fulfilled by the other user while the question about order 2 is on the screen:
    // the stop comes at order 3, whose own lock was taken, and goes too.
    esegui("Delete from LockGest");
    lockDi("luigi", 2);
    dialoghi->testi.clear();
    dialoghi->risposta = [&](const RichiestaMsgCom &r) {
        if (r.psLabel.contains("in uso")) {
            esegui("Update OrdVenTest Set Stato = 'E' Where Anno = 2024 And NumRif = 3");
            esegui("Delete from LockGest");
        }
        return 1;
    };

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(dialoghi->testi, (QStringList{"Ordini vendita n.rif 2 anno 2024 in uso da luigi",
                                            "Ord n.rif 3 anno 2024 Gi\u00e0 evaso. ", "Elaborazione terminata"}));
    EXPECT_EQ(lock(), QStringList{});
    EXPECT_EQ(servizi.chiamate.filter(QStringLiteral("Evado")), QStringList{});
}

TEST_P(Pagine, AManualRunWalksThePickedOrdersInPages)
{
    for (int32_t n = 1; n <= 5; ++n) {
        ordineSemplice(n);
        if (n != 3)
            suite::insertRow(fixture, "OrdVenEvaTest", {{"Utente", kUtente}, {"Anno", int16_t(2024)}, {"NumRif", n}, {"Selez", "S"}});
        lockDi(kUtente, n);
    }
    suite::insertRow(fixture, "OrdVenEvaTest", {{"Utente", "luigi"}, {"Anno", int16_t(2024)}, {"NumRif", 3}, {"Selez", "S"}});
    // A picked order no longer there is not in the run.
    suite::insertRow(fixture, "OrdVenEvaTest", {{"Utente", kUtente}, {"Anno", int16_t(2024)}, {"NumRif", 8}, {"Selez", "S"}});
    eva.obEvasManule = true;

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(dialoghi->testi, QStringList{"Elaborazione terminata"});
    EXPECT_EQ(testate(), (QStringList{"EvadoOrdTest 1", "EvadoOrdTest 2", "EvadoOrdTest 4", "EvadoOrdTest 5"}));
    EXPECT_EQ(lock(), QStringList{"2024|3|mario"});
}

INSTANTIATE_TEST_SUITE_P(Motori, Pagine, kBothEngines, engineParamName);

} // namespace
