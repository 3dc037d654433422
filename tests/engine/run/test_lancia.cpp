// The run driver on both engines with recording services: a request run end to end, the refusals
// before any lock, the lock phase against another user and an order fulfilled meanwhile, the
// errors that stop a run, and no second run inside a run.
#include "evasionediprova.h"

#include "contesto.h"
#include "elaborazione.h"
#include "rowwriter.h"

namespace {

class Lancia : public EvasioneDiProva {
protected:
    QStringList lock() { return righe("Select NumReg, Utente from LockGest Order by NumReg"); }
    QStringList stati() { return righe("Select NumRif, Stato from OrdVenTest Order by NumRif"); }
    int appoggio() { return conta("Select * from AppoggioTemp"); }
    QStringList conversioni() const
    {
        QStringList c;
        for (const QString &x : servizi.chiamate)
            if (!x.contains("AppoggioTemp"))
                c << x;
        return c;
    }
};

TEST_P(Lancia, ARequestRunsEndToEnd)
{
    for (int32_t n = 1; n <= 10; ++n)
        ordineSemplice(n, {2, 3});
    // Order 4's expense is staged as selected; its stale staging row of another user goes.
    esegui("Insert into OrdVenSpese (Anno, NumRif, Riga, Spesa, Importo) values (2024, 4, 1, 'TRA', 15)");
    suite::insertRow(fixture, "OrdVenEvaSpese",
                     {{"Utente", "luigi"}, {"Anno", int16_t(2024)}, {"NumRif", 4}, {"Riga", 1}, {"Selez", "N"}});
    eva.ogCambi().setValore("USD", true, 1.085);

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(dialoghi->testi, QStringList{"Elaborazione terminata"});
    EXPECT_EQ(dialoghi->richieste.at(0).pvFontSize.toLong(), 24);
    QStringList attese;
    for (int n = 1; n <= 10; ++n)
        attese << QString("EvadoOrdTest %1").arg(n) << QString("EvadoOrdDett %1").arg(n) << QString("EvadoOrdSpese %1").arg(n);
    attese << "ChiudiFatBolle";
    EXPECT_EQ(conversioni(), attese);
    EXPECT_TRUE(std::all_of(servizi.inCorso.begin(), servizi.inCorso.end(), [](bool b) { return b; }));
    EXPECT_FALSE(ElaborazioneAttiva());

    for (const QString &s : stati())
        EXPECT_TRUE(s.endsWith("|E")) << s.toStdString();
    EXPECT_EQ(lock(), QStringList{});
    EXPECT_EQ(conta("Select * from DocDaElab"), 0);
    EXPECT_EQ(appoggio(), 0); // the saved request is removed at the normal end
    EXPECT_EQ(righe("Select Utente, NumRif, Riga, Selez from OrdVenEvaSpese"), QStringList{"mario|4|1|S"});
    // Progress: orders x 3 + 1 for the selection, then orders x 2 + documents for the closing.
    ASSERT_GE(vista.massimi.size(), 3u);
    EXPECT_EQ(vista.massimi.at(vista.massimi.size() - 2), 31);
    EXPECT_EQ(vista.massimi.back(), 30);
    EXPECT_FALSE(vista.visibile);
    EXPECT_EQ(eva.miNumErrori, 0);
}

TEST_P(Lancia, OrderStatesFollowTheOpenArticleLines)
{
    ordineSemplice(1, {2, 3});
    suite::OrderInput o;
    o.numRif = 2;
    o.righe = {{.articolo = suite::articleCode(1), .qta = 1, .prezzo = 2}, {.articolo = suite::articleCode(2), .qta = 1, .prezzo = 2}};
    ordine(o);
    o.numRif = 3; // an open order: its state is not written
    o.extra = {{"OrdAperto", "S"}};
    ordine(o);
    eva.osArticoloDa = eva.osArticoloA = suite::articleCode(1);

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(stati(), (QStringList{"1|E", "2|P", "3|"}));
    EXPECT_EQ(lock(), QStringList{});
}

TEST_P(Lancia, BalanceOnlyWritesTheStateCashSaleAndEmptyConversionsDoNot)
{
    ordineSemplice(1, {2});
    ordineSemplice(2, {2});
    const auto chiudiRiga1 = [](scEvaOrdVen &e, bool &, int16_t &) {
        if (e.mgRecs().LeggiCampo(e.msAliasOrd, u"OrdVenTest.NumRif").toLong() == 1)
            ggDbAzienda->Esegui(gsNomeConn, "Update OrdVenDett Set StatoRiga = 'E' Where NumRif = 1");
    };
    servizi.righe = chiudiRiga1;
    eva.obSoloASaldo = true;
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(stati(), (QStringList{"1|E", "2|P"}));
    EXPECT_EQ(conversioni(), (QStringList{"EvadeDettSoloASaldo 1", "EvadeDettSoloASaldo 2"}));

    ordineSemplice(3, {2});
    servizi.chiamate.clear();
    eva.obSoloASaldo = false;
    eva.obEvACorrisp = true;
    eva.osTipoDocEva.clear();
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(conversioni(), (QStringList{"EvadeDettCorrisp 2", "EvadeDettCorrisp 3"}));
    EXPECT_EQ(stati(), (QStringList{"1|E", "2|P", "3|"}));

    servizi.chiamate.clear();
    servizi.righe = [](scEvaOrdVen &, bool &, int16_t &) {}; // no row written
    eva.obEvACorrisp = false;
    eva.osTipoDocEva = "DDT";
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(conversioni(), (QStringList{"EvadoOrdTest 2", "EvadoOrdDett 2", "EvadoOrdTest 3", "EvadoOrdDett 3", "ChiudiFatBolle"}));
    EXPECT_EQ(stati(), (QStringList{"1|E", "2|P", "3|"}));
    EXPECT_EQ(lock(), QStringList{});
}

TEST_P(Lancia, NothingSelectedOrAnInterruptedRunStopsBeforeAnyLock)
{
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(dialoghi->testi, QStringList{"Non ci sono Ordini vendita nell'intervallo"});
    EXPECT_EQ(servizi.chiamate, (QStringList{"CancellaAppoggioTemp", "CreaAppoggioTemp"}));
    EXPECT_EQ(appoggio(), 26); // the saved request stays

    ordineSemplice(1);
    const auto docDaElab = [&](const QString &utente, const QString &programma, int16_t anno) {
        suite::insertRow(fixture, "DocDaElab",
                         {{"Utente", utente}, {"Programma", programma}, {"Anno", anno}, {"NumReg", 77}, {"Comando", "C"}});
    };
    docDaElab("luigi", "EvaOrdEvOr", 2024);
    docDaElab(kUtente, "EvaOrdEvOr", 2023);
    docDaElab(kUtente, "AltroPrg", 2024);
    dialoghi->testi.clear();
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(dialoghi->testi, QStringList{"Elaborazione terminata"});

    docDaElab(kUtente, "evaordevor", 2024);
    dialoghi->testi.clear();
    servizi.chiamate.clear();
    esegui("Update OrdVenTest Set Stato = Null");
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(dialoghi->testi,
              QStringList{"(DocDaElab) Risultano delle elaborazioni interrotte. Lanciare il programma di ripristino."});
    EXPECT_EQ(conversioni(), QStringList{});
    EXPECT_EQ(lock(), QStringList{});
    // The interrupted run's saved request is what its recovery reads: the refusal keeps it.
    EXPECT_FALSE(servizi.chiamate.join(' ').contains("AppoggioTemp")) << servizi.chiamate.join(' ').toStdString();

    // Refused as well when no order of the request is left.
    esegui("Update OrdVenTest Set Stato = 'E'");
    dialoghi->testi.clear();
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(dialoghi->testi,
              QStringList{"(DocDaElab) Risultano delle elaborazioni interrotte. Lanciare il programma di ripristino."});
}

TEST_P(Lancia, AnOrderHeldByAnotherUserAndEsciReleasesTheLocksTaken)
{
    for (int32_t n = 1; n <= 5; ++n)
        ordineSemplice(n);
    lockDi("luigi", 3); // through the test's own connection: another program
    dialoghi->risposta = [](const RichiestaMsgCom &r) { return r.psLabel.contains("in uso") ? 2 : 1; };

    eva.LanciaEvasioneOrdVen(false);

    ASSERT_EQ(dialoghi->testi.size(), 2);
    EXPECT_EQ(dialoghi->testi[0], "Ordini vendita n.rif 3 anno 2024 in uso da luigi");
    EXPECT_EQ(dialoghi->richieste[0].psCom1, "Riprova");
    EXPECT_EQ(dialoghi->richieste[0].pvCom2.text(), "Esci");
    EXPECT_EQ(dialoghi->testi[1], "Elaborazione terminata");
    EXPECT_EQ(lock(), QStringList{"3|luigi"});
    EXPECT_EQ(conversioni(), QStringList{});
    EXPECT_EQ(conta("Select * from DocDaElab"), 0);
    EXPECT_EQ(appoggio(), 26); // a stopped run keeps its saved request
    for (const QString &s : stati())
        EXPECT_TRUE(s.endsWith("|")) << s.toStdString();
}

TEST_P(Lancia, AnOrderFulfilledSinceTheSelectionIsFoundAfterItsLock)
{
    for (int32_t n = 1; n <= 5; ++n)
        ordineSemplice(n);
    lockDi("luigi", 2);
    // While the question is on the screen the other user fulfils order 3 and lets order 2 go.
    dialoghi->risposta = [&](const RichiestaMsgCom &r) {
        if (r.psLabel.contains("in uso")) {
            esegui("Update OrdVenTest Set Stato = 'E' Where NumRif = 3");
            esegui("Delete from LockGest");
        }
        return 1;
    };

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(dialoghi->testi, (QStringList{"Ordini vendita n.rif 2 anno 2024 in uso da luigi",
                                            "Ord n.rif 3 anno 2024 Gi\u00e0 evaso. ", "Elaborazione terminata"}));
    EXPECT_EQ(lock(), QStringList{}); // orders 1, 2 and 3 released
    EXPECT_EQ(conversioni(), QStringList{});
}

TEST_P(Lancia, ManualModeTakesNoLockButReleasesThePickedOrdersAfterAStop)
{
    for (int32_t n = 1; n <= 3; ++n) {
        ordineSemplice(n);
        suite::insertRow(fixture, "OrdVenEvaTest", {{"Utente", kUtente}, {"Anno", int16_t(2024)}, {"NumRif", n}, {"Selez", "S"}});
        lockDi(kUtente, n); // taken by the picking form
    }
    esegui("Update OrdVenTest Set Stato = 'E' Where NumRif = 2");
    eva.obEvasManule = true;

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(dialoghi->testi, (QStringList{"Ord n.rif 2 anno 2024 Gi\u00e0 evaso. ", "Elaborazione terminata"}));
    EXPECT_EQ(lock(), (QStringList{"2|mario", "3|mario"}));
    EXPECT_EQ(conversioni(), QStringList{});
}

TEST_P(Lancia, APickedOrderWithNothingToDeliverIsOnlyClosed)
{
    for (int32_t n = 1; n <= 2; ++n) {
        ordineSemplice(n, {2, 3});
        suite::insertRow(fixture, "OrdVenEvaTest", {{"Utente", kUtente}, {"Anno", int16_t(2024)}, {"NumRif", n}, {"Selez", "S"}});
        for (int32_t riga = 1; riga <= 2; ++riga)
            suite::insertRow(fixture, "OrdVenEvaDett",
                             {{"Utente", kUtente}, {"Anno", int16_t(2024)}, {"NumRif", n}, {"RigLiv", riga}, {"Livello1", ""},
                              {"Livello2", ""}, {"ASaldo", "S"}, {"QtaDaEva", n == 1 ? 1.0 : 0.0}});
        lockDi(kUtente, n);
    }
    servizi.soloASaldo = [](scEvaOrdVen &e) { return e.mgRecs().LeggiCampo(e.msAliasOrd, u"OrdVenTest.NumRif").toLong() == 2; };
    servizi.righe = [](scEvaOrdVen &e, bool &esci, int16_t &righe) {
        if (e.mgRecs().LeggiCampo(e.msAliasOrd, u"OrdVenTest.NumRif").toLong() == 2)
            ggDbAzienda->Esegui(gsNomeConn, "Update OrdVenDett Set StatoRiga = 'E' Where NumRif = 2");
        else
            ServiziDiProva::evadiTutto(e, esci, righe);
    };
    eva.obEvasManule = true;

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(conversioni(), (QStringList{"EvadoOrdTest 1", "EvadoOrdDett 1", "EvadoOrdSpese 1", "EvadeDettSoloASaldo 2",
                                          "ChiudiFatBolle"}));
    EXPECT_EQ(stati(), (QStringList{"1|E", "2|E"}));
    EXPECT_EQ(lock(), QStringList{});
}

TEST_P(Lancia, SettingsThatRefuseTheRun)
{
    ordineSemplice(1);
    contesto->personale("Ordini", "RigDescrEva", "a;b");
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(dialoghi->testi, QStringList{"Errore nei parametri di personalizzazione Ordini,RigDescrEva: pochi parametri"});
    EXPECT_EQ(servizi.chiamate, QStringList{});

    contesto->personale("Ordini", "RigDescrEva", "a;b;c;d");
    contesto->parametro("Ditta.RegIvaVen", "");
    eva.osTipoDocEva = "FAT";
    dialoghi->testi.clear();
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(dialoghi->testi, QStringList{"Manca nella tabella ditta il prefisso iva vendite"});
    EXPECT_TRUE(eva.mbRigDescrEva);
    EXPECT_EQ(eva.msRigDescrEva[1] + eva.msRigDescrEva[2] + eva.msRigDescrEva[3], "abc");
    EXPECT_EQ(conversioni(), QStringList{});
    EXPECT_EQ(lock(), QStringList{});
}

TEST_P(Lancia, AFailedOrderStopsTheRunAndKeepsWhatARecoveryNeeds)
{
    for (int32_t n = 1; n <= 3; ++n)
        ordineSemplice(n);
    servizi.righe = [](scEvaOrdVen &e, bool &esci, int16_t &righe) {
        if (e.mgRecs().LeggiCampo(e.msAliasOrd, u"OrdVenTest.NumRif").toLong() == 2) {
            e.AccodaErroreEva(3022, "chiave duplicata");
            esci = true;
            return;
        }
        ServiziDiProva::evadiTutto(e, esci, righe);
    };

    eva.LanciaEvasioneOrdVen(false);

    ASSERT_EQ(dialoghi->testi.size(), 2);
    EXPECT_TRUE(dialoghi->testi[0].startsWith("Errore n\u00b03022 : chiave duplicata in ")) << dialoghi->testi[0].toStdString();
    EXPECT_EQ(dialoghi->testi[1], "Elaborazione terminata");
    EXPECT_EQ(stati(), (QStringList{"1|E", "2|", "3|"}));
    EXPECT_EQ(lock(), (QStringList{"2|mario", "3|mario"}));
    EXPECT_EQ(conversioni(), (QStringList{"EvadoOrdTest 1", "EvadoOrdDett 1", "EvadoOrdSpese 1", "EvadoOrdTest 2",
                                          "EvadoOrdDett 2"}));
    EXPECT_EQ(conta("Select * from DocDaElab"), 2); // left for the recovery
    EXPECT_EQ(appoggio(), 26);
}

TEST_P(Lancia, AnErrorWhileClosingShowsTheListWithoutTheEndMessage)
{
    ordineSemplice(1);
    servizi.chiusura = [](scEvaOrdVen &e, bool &) {
        e.msFase = "Chiusura delle fatture/bolle";
        throw AppError(3197, "Dati modificati da un altro utente");
    };

    eva.LanciaEvasioneOrdVen(false);

    EXPECT_EQ(dialoghi->testi,
              QStringList{"Errore n\u00b03197 : Dati modificati da un altro utente in Chiusura delle fatture/bolle di Evasione Ordini\r\n"});
    EXPECT_EQ(conta("Select * from DocDaElab"), 1);
    EXPECT_EQ(appoggio(), 26);
    EXPECT_FALSE(vista.visibile);
    EXPECT_FALSE(ElaborazioneAttiva());
}

TEST_P(Lancia, NoSecondRunStartsInsideARun)
{
    ordineSemplice(1);
    ordineSemplice(2);
    int annidate = 0;
    servizi.righe = [&](scEvaOrdVen &e, bool &esci, int16_t &righe) {
        ++annidate;
        e.LanciaEvasioneOrdVen(false); // as a second OK would, while a message runs the event loop
        ServiziDiProva::evadiTutto(e, esci, righe);
    };
    eva.LanciaEvasioneOrdVen(false);
    EXPECT_EQ(annidate, 2);
    EXPECT_EQ(dialoghi->testi, QStringList{"Elaborazione terminata"});
    EXPECT_EQ(stati(), (QStringList{"1|E", "2|E"}));
}

INSTANTIATE_TEST_SUITE_P(Motori, Lancia, kBothEngines, engineParamName);

} // namespace
