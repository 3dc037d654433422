// The per-order driver and the engine's own settings, on both engines: the order's lock found
// again before it is converted, the dimension settings, the checks of the order type's stock
// causals, the common set-up of a run and the run's error list.
#include "evasionediprova.h"

#include "blocchi.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "rowwriter.h"

namespace {

class Ordine : public EvasioneDiProva {
protected:
    // The engine standing on one order, as the run leaves it before converting it.
    void suOrdine(int32_t numRif)
    {
        eva.msAliasOrd = QStringLiteral("ordini");
        eva.msAliasDocDaElab = QStringLiteral("docdaelab");
        GestRecordset &rs = eva.mgRecs();
        rs.Apri(*ggDbAzienda, gsNomeConn, eva.msAliasOrd, eva.PrepSqlSelOrd(false, 2024, numRif), false, dbOpenDynaset);
        rs.Apri(*ggDbAzienda, gsNomeConn, eva.msAliasDocDaElab, "Select * from DocDaElab", false, dbOpenDynaset);
    }
};

TEST_P(Ordine, AnOrderWhoseLockAnotherUserNowHoldsIsNotConverted)
{
    ordineSemplice(1);
    lockDi("luigi", 1);
    suOrdine(1);
    eva.msFase = "Evasione";
    bool esci = false;
    eva.EvadeOrdine(esci);
    EXPECT_TRUE(esci);
    EXPECT_EQ(servizi.chiamate, QStringList{});
    EXPECT_EQ(righe("Select NumReg, Utente from LockGest"), QStringList{"1|luigi"});
    EXPECT_EQ(eva.miNumErrori, 1);
    EXPECT_TRUE(eva.msErrori.contains("lock, Movimento n.rif 1 anno 2024 in uso da luigi : ")) << eva.msErrori.toStdString();
    EXPECT_TRUE(eva.msAliasLockOrd.isEmpty());
    EXPECT_EQ(righe("Select Stato from OrdVenTest"), QStringList{""});
}

TEST_P(Ordine, AnOrderWithoutALockRowOrWithItsOwnIsConvertedAndReleased)
{
    ordineSemplice(1);
    ordineSemplice(2);
    lockDi(kUtente, 2);
    for (int32_t n : {1, 2}) {
        suOrdine(n);
        bool esci = false;
        eva.EvadeOrdine(esci);
        EXPECT_FALSE(esci) << n;
    }
    EXPECT_EQ(righe("Select NumRif, Stato from OrdVenTest"), (QStringList{"1|E", "2|E"}));
    EXPECT_EQ(righe("Select * from LockGest"), QStringList{});
    EXPECT_EQ(eva.miNumErrori, 0);
}

// Expenses whose transfer stops half-way: what was written goes, the order keeps its lock and
// its state for the recovery, which then transfers them once.
class SpeseInterrotte : public ServiziDiProva {
public:
    void EvadoOrdSpese(scEvaOrdVen &eva, bool &pbEsci) override
    {
        ServiziDiProva::EvadoOrdSpese(eva, pbEsci);
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Insert into DdtSpese (Anno, NumRif, Riga, Spesa) values (2024, 1001, 1, 'TRA')"));
        pbEsci = true;
    }
};

TEST_P(Ordine, AStoppedExpenseTransferLeavesNoExpenseAndKeepsTheOrderLocked)
{
    SpeseInterrotte spese;
    eva.ImpostaServizi(&spese);
    ordineSemplice(1);
    lockDi(kUtente, 1);
    suOrdine(1);
    bool esci = false;
    eva.EvadeOrdine(esci);
    eva.ImpostaServizi(&servizi);
    EXPECT_TRUE(esci);
    EXPECT_EQ(righe("Select * from DdtSpese"), QStringList{});
    EXPECT_EQ(righe("Select NumReg, Utente from LockGest"), QStringList{"1|" + QString(kUtente)});
    EXPECT_EQ(righe("Select Stato from OrdVenTest"), QStringList{""});
}

TEST_P(Ordine, DimensionSettingsAreReadForEveryOrder)
{
    ordineSemplice(1);
    contesto->personale("Vendite", "QtaDaDimen", "s");
    contesto->personale("Vendite", "QtaDaDimUML", "ML");
    contesto->personale("Vendite", "NotaDimensioni", "Dimensioni");
    contesto->personale("Vendite", "NotaDimensioniUMQ", "Superficie");
    contesto->personale("Vendite", "QtaDimenRapp", "0");
    suOrdine(1);
    bool esci = false;
    eva.EvadeOrdine(esci);
    EXPECT_TRUE(eva.mbQtaDaDimen);
    EXPECT_EQ(eva.msQtaDaDimUML, ";ML;");
    EXPECT_EQ(eva.msQtaDaDimUMQ, ";;");
    EXPECT_EQ(eva.msNotaDimUML, "Dimensioni");
    EXPECT_EQ(eva.msNotaDimUMQ, "Superficie");
    EXPECT_EQ(eva.mdQtaDimenRapp, 1000.0);

    contesto->personale("Vendite", "QtaDimenRapp", "2,5");
    esegui("Update OrdVenTest Set Stato = Null");
    suOrdine(1);
    eva.EvadeOrdine(esci);
    EXPECT_EQ(eva.mdQtaDimenRapp, 2.5);
    contesto->personale("Vendite", "QtaDaDimen", "N");
    contesto->personale("Vendite", "QtaDimenRapp", "7");
    eva.EvadeOrdine(esci);
    EXPECT_FALSE(eva.mbQtaDaDimen);
    EXPECT_EQ(eva.mdQtaDimenRapp, 2.5); // kept when dimensions are off
}

TEST_P(Ordine, StockCausalChecksOfTheOrderType)
{
    esegui("Update MagCausali Set MagCausaleDiBa = 'CAR' Where MagCausale = 'VEN'");
    esegui("Update MagCausali Set MagScaricoComp = 'S' Where MagCausale = 'CAR'");
    struct Caso {
        const char *nome;
        QString tipo;
        bool corrispettivo;
        QString errore;
    };
    esegui("Insert into FattDocumenti (FattDocumento, Tipo, MagCausale) values ('OX', 'O', 'NOCAU')");
    esegui("Insert into FattDocumenti (FattDocumento, Tipo, MagCausale, MagCausaleRientro) values ('OY', 'O', 'VEN', 'NOCAU')");
    esegui("Insert into FattDocumenti (FattDocumento, Tipo, MagCausale, MagCausaleRientro) values ('OZ', 'O', 'VEN', 'VEN')");
    const std::vector<Caso> casi = {
        {"tipo inesistente", "NONCE", false, "tipo documento NONCE non trovato"},
        {"causale inesistente", "OX", false, "causale di magazzino NOCAU non trovata"},
        {"corrispettivo senza causale", "OC", true, "Nel tipo documento OC manca la causale di magazzino per evasione a corrispettivo"},
        {"causale di corrispettivo inesistente", "OY", true,
         "causale di magazzino per evasione a corrispettivo NOCAU non trovata"},
        {"cliente per corrispettivo mancante", "OZ", true,
         "Manca nei parametri iniziali (Conti comuni) il codice cliente per corrispettivo"},
        {"tipo OC", "OC", false, ""},
    };
    contesto->parametro("CauCon.ContoCliCorr", "");
    for (const Caso &c : casi) {
        eva.osFattDocOrd = c.tipo;
        eva.obEvACorrisp = c.corrispettivo;
        QString errore;
        EXPECT_EQ(eva.LetCtrFatDocOrdErr(errore), !c.errore.isEmpty()) << c.nome;
        EXPECT_EQ(errore, c.errore) << c.nome;
    }
    EXPECT_EQ(eva.msCarScar, "S");
    EXPECT_EQ(eva.msCausaleDiBa, "CAR");
    EXPECT_EQ(eva.msScaricoComp, "S");

    contesto->parametro("CauCon.ContoCliCorr", "9999");
    eva.osFattDocOrd = "OZ";
    eva.obEvACorrisp = true;
    QString errore;
    EXPECT_FALSE(eva.LetCtrFatDocOrdErr(errore));
    EXPECT_EQ(eva.msCausaleCorr, "VEN");
    EXPECT_EQ(eva.msDestCorr, "C");
    EXPECT_EQ(eva.msGruppoCliCorr + eva.msMastroCliCorr + eva.msContoCliCorr, "14019999");
}

TEST_P(Ordine, CommonSetUpChoosesTheTargetTables)
{
    contesto->parametro("Fat.ComeEva", "S");
    contesto->parametro("Fat.DescLibTest2", "Libero 2");
    contesto->parametro("Fat.RigaDaEva4", "Riga 4");
    eva.msErrori = "vecchio";
    eva.miNumErrori = 3;
    eva.osTipoDocEva = "FAT";
    ASSERT_TRUE(eva.LeggiComuniOK(false));
    EXPECT_EQ(eva.msErrori, "");
    EXPECT_EQ(eva.miNumErrori, 0);
    EXPECT_EQ(eva.osDocEvaTipo, "F");
    EXPECT_EQ(eva.msTabTesta + eva.msTabDett + eva.msTabLiv + eva.msTabSpese, "FatTestFatDettFatLivFatSpese");
    EXPECT_EQ(eva.msTipoLockTes, "F");
    EXPECT_EQ(eva.msFattAccomp, "N");
    EXPECT_EQ(eva.osDoveDesLunga, "1");
    EXPECT_EQ(eva.msGesTaglie, "S");
    EXPECT_EQ(eva.msDescLibTest[2], "Libero 2");
    EXPECT_EQ(eva.msRigaDaEva[4], "Riga 4");
    EXPECT_EQ(conta("Select * from AppoggioTemp"), 26);

    // A cash sale has no target type: nothing of a type is taken, delivery-note tables.
    eva.osTipoDocEva.clear();
    esegui("Delete from AppoggioTemp");
    contesto->parametro("Mag.GesTaglie", "n");
    ASSERT_TRUE(eva.LeggiComuniOK(false));
    EXPECT_EQ(eva.osDocEvaTipo + eva.msFattAccomp + eva.msFattDocEvasione + eva.msPrezzoDDT + eva.osDoveDesLunga, "");
    EXPECT_EQ(eva.msTabTesta + eva.msTabDett + eva.msTabLiv + eva.msTabSpese, "DdtTestDdtDettDdtLivDdtSpese");
    EXPECT_EQ(eva.msTipoLockTes, "D");
    EXPECT_EQ(eva.msGesTaglie, "N");
    eva.mgAvanzElab().Termina();
}

TEST_P(Ordine, ReopeningAnOrderAndItsDocumentSaysWhatIsMissing)
{
    ordineSemplice(3);
    eva.msTabTesta = "DdtTest";
    QString errori = "x";
    eva.RileggiDocEOrd(2024, 99, 0, 0, errori, kUtente);
    EXPECT_EQ(errori, "Manca la testata dell'ordine n.2024/99");
    eva.RileggiDocEOrd(2024, 3, 2024, 5, errori, kUtente);
    EXPECT_EQ(errori, "Manca la testata del documento n.2024/5");
    EXPECT_EQ(eva.LegDaOrdTes("OrdVenTest.NumRif").toLong(), 3);
    EXPECT_EQ(eva.LegDaOrdTes("FattDocumenti.FattDocEvasione").text(), "DDT");
    eva.RileggiDocEOrd(2024, 3, 0, 0, errori, kUtente);
    EXPECT_EQ(errori, "");
    EXPECT_TRUE(eva.mgRecs().Aperto(eva.msAliasDocDaElab));
}

INSTANTIATE_TEST_SUITE_P(Motori, Ordine, kBothEngines, engineParamName);

TEST(ErroriEvasione, ThirtyLinesThenDotsAndTheCountGoesOn)
{
    scEvaOrdVen eva;
    eva.msFase = "Fase";
    for (int i = 1; i <= 30; ++i)
        eva.AccodaErroreEva(i, "testo");
    EXPECT_EQ(eva.msErrori.count("\r\n"), 30);
    EXPECT_TRUE(eva.msErrori.startsWith("Errore n\u00b01 : testo in Fase di Evasione Ordini\r\nErrore n\u00b02 : "));
    EXPECT_FALSE(eva.msErrori.contains('.'));
    const QString trenta = eva.msErrori;
    for (int i = 31; i <= 35; ++i)
        eva.AccodaErroreEva(i, "testo");
    EXPECT_EQ(eva.msErrori, trenta + "..............");
    EXPECT_EQ(eva.miNumErrori, 35);
    for (int i = 0; i < 40000; ++i)
        eva.AccodaErroreEva(1, "");
    EXPECT_EQ(eva.miNumErrori, 40035);
    EXPECT_EQ(eva.msErrori, trenta + "..............");

    scEvaOrdVen vuoto;
    vuoto.AccodaErroreEva(5, "");
    EXPECT_EQ(vuoto.msErrori, "Errore n\u00b05 :  in  di Evasione Ordini\r\n");
}

} // namespace
