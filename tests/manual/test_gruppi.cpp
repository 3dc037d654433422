// Entry, groups and release: the selection cut into groups, the staging of each group, the
// rate box, the release of the session's locks, one session per user.
#include "evamanuprova.h"

#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "processi.h"
#include "rowwriter.h"

#include <QRegularExpression>

// A further picking form of the same user on the same engine.
struct AltraSessione {
    explicit AltraSessione(const std::shared_ptr<scEvaOrdVen> &eva) : controllo(finestra)
    {
        controllo.ogEvaOrd = eva;
        controllo.Form_Load();
        finestra.allaChiusura = [this] { controllo.Form_Unload(); };
        controllo.EvasioneManuale();
    }
    VistaDiProva finestra;
    ControlloEvaManu controllo;
};

class Gruppi : public EvaManuProva {
protected:
    int32_t ordineDi(int32_t numRif, int cliente, suite::FieldValues extra = {}, QString moneta = {})
    {
        suite::OrderInput o;
        o.numRif = numRif;
        o.cliente = cliente;
        o.moneta = std::move(moneta);
        o.extra = std::move(extra);
        o.righe.push_back({.articolo = suite::articleCode(1), .qta = 5, .prezzo = 2});
        return ordine(o);
    }
    QStringList staging() { return righe(QStringLiteral("Select Utente, NumRif, Selez, EvadeTutto from OrdVenEvaTest Order by NumRif")); }
    QStringList blocchi() { return righe(QStringLiteral("Select Tipo, NumReg, Utente from LockGest Order by Tipo, NumReg")); }
    // A pick of this session as the picking does it: the lock row taken and kept under its key.
    void prendi(int32_t numRif)
    {
        QString chiave, utenteLock, gestione = QStringLiteral("3"), varie, stato;
        ASSERT_EQ(BloccaRecord(QStringLiteral("0"), QStringLiteral("O"), 2024, numRif, true, false, chiave, QStringLiteral("Il Ord"),
                               utenteLock, gestione, varie, false, QString(), 0, 0, 0, stato)
                      .toInteger(),
                  EsitoBlocco::Preso);
        controllo->RegistraBloccoOrdine(2024, numRif, chiave);
        esegui(QStringLiteral("Update OrdVenEvaTest Set Selez = 'S' Where NumRif = %1").arg(numRif));
    }
};

TEST_P(Gruppi, GruppiDegliOrdiniDiUnClienteConGliStessiCampiDiRottura)
{
    // 1, 2, 4 and 5 go together, 4 and 5 although customer 2's 3 lies between; 6 asks for a
    // document of its own (and its rule "N" comes before "S"); 3 is another customer.
    ordineDi(1, 1);
    ordineDi(2, 1);
    ordineDi(3, 2);
    ordineDi(4, 1);
    ordineDi(5, 1);
    ordineDi(6, 1, {{"RagOrd", "N"}});
    ControlloEvaManu &c = nuovoControllo();
    c.EvasioneManuale();
    ASSERT_TRUE(finestra.mostrata);
    EXPECT_EQ(staging(), (QStringList{"mario|6|N|N"}));
    EXPECT_EQ(finestra.cliente, QStringLiteral("Cliente 0001"));
    EXPECT_FALSE(finestra.cambioVisibile);
    EXPECT_EQ(finestra.chiamate.filter(QStringLiteral("Imposta_Griglia")),
              (QStringList{"Imposta_Griglia_Testa", "Imposta_Griglia_Corpo", "Imposta_Griglia_Spese"}));

    QStringList gruppi;
    for (int i = 0; i < 4 && !finestra.chiusa; ++i) {
        c.ComProsegui_Click(); // nothing picked: the next group without a run
        gruppi << staging().join(QLatin1Char(','));
    }
    EXPECT_EQ(gruppi, (QStringList{"mario|1|N|N,mario|2|N|N,mario|4|N|N,mario|5|N|N", "mario|3|N|N", ""}));
    EXPECT_TRUE(finestra.chiusa);
    EXPECT_TRUE(dialoghi->testi.isEmpty()) << dialoghi->testi.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(servizi.chiamate.isEmpty());
    EXPECT_TRUE(blocchi().isEmpty()) << "the session's row goes with the form";
}

TEST_P(Gruppi, SelezioneVuota)
{
    ordineDi(1, 1);
    eva.osCliDa = eva.osCliA = QStringLiteral("99999999");
    esegui(QStringLiteral("Insert Into OrdVenEvaTest (Utente, Anno, NumRif, Selez, EvadeTutto) Values ('mario', 2024, 77, 'S', 'S')"));
    ControlloEvaManu &c = nuovoControllo();
    c.EvasioneManuale();
    EXPECT_EQ(dialoghi->testi, QStringList{"Non ci sono dati nell'intervallo specificato"});
    EXPECT_FALSE(finestra.mostrata);
    EXPECT_TRUE(finestra.chiusa);
    EXPECT_TRUE(staging().isEmpty()) << "the user's old staging rows go with the form";
    EXPECT_TRUE(blocchi().isEmpty());
}

TEST_P(Gruppi, CambioDelGruppo)
{
    ordineDi(1, 1, {}, QStringLiteral("USD"));
    ordineDi(2, 2, {}, QStringLiteral("USD"));
    suite::insertRow(fixture, QStringLiteral("Cambi"),
                     {{"Moneta", "USD"}, {"Data", Date::fromYmd(2024, 6, 28)}, {"Cambio", 1.0875}});
    ControlloEvaManu &c = nuovoControllo();
    c.EvasioneManuale();
    EXPECT_TRUE(c.mbCambioRichiesto);
    EXPECT_EQ(c.msMonetaGruppo, QStringLiteral("USD"));
    EXPECT_TRUE(finestra.cambioVisibile);
    EXPECT_EQ(finestra.didascaliaCambio, QStringLiteral("Cambio USD:"));
    EXPECT_EQ(finestra.cambio, QStringLiteral("1,0875"));
    EXPECT_EQ(finestra.dataCambio, QStringLiteral("Del 28/06/2024"));

    // A rate of the day after the fulfilment date is not proposed.
    esegui(QStringLiteral("Delete from Cambi"));
    suite::insertRow(fixture, QStringLiteral("Cambi"),
                     {{"Moneta", "USD"}, {"Data", Date::fromYmd(2024, 7, 1)}, {"Cambio", 1.1}});
    c.ComProsegui_Click();
    EXPECT_TRUE(finestra.cambioVisibile);
    EXPECT_EQ(finestra.cambio, QStringLiteral("0"));
    EXPECT_EQ(finestra.dataCambio, QString());
    EXPECT_EQ(c.mtDataCambio, Date()) << "no date of the previous group";
}

TEST_P(Gruppi, IlRilascioTogliesoloIBlocchiDellaSessione)
{
    ordineDi(1, 1);
    ordineDi(2, 1);
    ordineDi(3, 1);
    ordineDi(4, 2);
    ControlloEvaManu &c = nuovoControllo();
    c.EvasioneManuale();
    prendi(1);
    prendi(2);
    // Order 2's lock was freed by the unlock utility and taken by another user meanwhile;
    // order 3 is held by the same user elsewhere (another program of the same kind).
    esegui(QStringLiteral("Delete from LockGest Where Tipo = 'O' And NumReg = 2"));
    lockDi(QStringLiteral("luigi"), 2);
    lockDi(kUtente, 3);
    esegui(QStringLiteral("Update OrdVenEvaTest Set Selez = 'S' Where NumRif = 3"));
    EXPECT_TRUE(c.BloccoDellaSessione(2024, 1));
    EXPECT_FALSE(c.BloccoDellaSessione(2024, 3));

    c.ComProsegui_Click(); // nothing staged to fulfil: the group is released
    EXPECT_EQ(staging(), QStringList{"mario|4|N|N"});
    EXPECT_EQ(blocchi().filter(QRegularExpression("^O")), (QStringList{"O|2|luigi", "O|3|mario"}));
    ASSERT_EQ(dialoghi->testi.size(), 1);
    EXPECT_TRUE(dialoghi->testi[0].contains(QStringLiteral(" lock, Movimento n.rif 2 anno 2024 in uso da luigi")))
        << dialoghi->testi[0].toStdString();
    EXPECT_FALSE(c.BloccoDellaSessione(2024, 1));
    EXPECT_FALSE(c.BloccoDellaSessione(2024, 2));
}

TEST_P(Gruppi, UnaSolaSessionePerUtente)
{
    ordineDi(1, 1);
    ControlloEvaManu &c = nuovoControllo();
    c.EvasioneManuale();
    ASSERT_TRUE(finestra.mostrata);
    prendi(1);

    AltraSessione altra(c.ogEvaOrd);
    EXPECT_FALSE(altra.finestra.mostrata);
    EXPECT_TRUE(altra.finestra.chiusa);
    ASSERT_EQ(dialoghi->testi.size(), 1);
    EXPECT_TRUE(dialoghi->testi[0].startsWith(QStringLiteral("La selezione ordini da evadere è già aperta dall'utente mario")));
    // The first session keeps its staging and its lock.
    EXPECT_EQ(staging(), QStringList{"mario|1|S|N"});
    EXPECT_EQ(conta(QStringLiteral("Select * from LockGest Where Tipo = 'O' And NumReg = 1")), 1);

    // Once the first form is closed, a new session opens.
    finestra.Chiudi();
    EXPECT_EQ(conta(QStringLiteral("Select * from LockGest")), 0);
    AltraSessione terza(c.ogEvaOrd);
    EXPECT_TRUE(terza.finestra.mostrata);
    terza.finestra.Chiudi();
}

TEST_P(Gruppi, SessioneDiUnAltroUtenteSulloStessoNumero)
{
    ordineDi(1, 1);
    suite::insertRow(fixture, QStringLiteral("LockGest"),
                     {{"Tipo", "V"}, {"Anno", static_cast<int16_t>(0)},
                      {"NumReg", ControlloEvaManu::NumeroSessione(kUtente)}, {"Utente", "luigi"}, {"Stato", "0"},
                      {"Gestione", "3"}});
    ControlloEvaManu &c = nuovoControllo();
    c.EvasioneManuale();
    EXPECT_TRUE(finestra.mostrata);
    EXPECT_EQ(conta(QStringLiteral("Select * from LockGest Where Tipo = 'V' And Utente = 'mario'")), 1);
    finestra.Chiudi();
    EXPECT_EQ(blocchi(), QStringList{QStringLiteral("V|%1|luigi").arg(ControlloEvaManu::NumeroSessione(kUtente))});
}

// The session row a picking of the same user left: taken over when its program is over (with
// the order locks it had taken while picking), refused when it may still be open or when it
// stopped inside a run whose orders wait for the recovery.
TEST_P(Gruppi, SessioneRimastaDiUnProgrammaTerminato)
{
    ordineDi(1, 1);
    const int32_t numero = ControlloEvaManu::NumeroSessione(kUtente);
    const IdentitaProcesso io = QuestoProcesso();
    const QString questo = io.macchina + QStringLiteral(";%1;").arg(io.pid);
    const QString server = ggDbAzienda->SessioneServer(gsNomeConn);
    const bool pg = GetParam() == Engine::PostgreSQL;
    ASSERT_EQ(server.isEmpty(), !pg);
    const struct Caso {
        const char *nome;
        QString varie;
        const char *stato;
        bool bloccoDaRiprendere; // an order lock of that session
        bool ripresa;            // the new session opens
    } casi[] = {
        {"processo terminato, numero dato di nuovo", questo + QStringLiteral("00000000"), "0", true, true},
        {"processo inesistente", io.macchina + QStringLiteral(";99999999;00000000"), "0", true, true},
        {"questo processo, vivo", questo + io.avvio, "0", false, false},
        {"senza identita (altro programma)", QString(), "0", false, false},
        {"altra macchina", QStringLiteral("ffffffff;1234;abcdef12"), "0", false, false},
        {"altra macchina, sessione del server chiusa", QStringLiteral("ffffffff;1234;abcdef12;99999999:abcdef12"), "0", true, pg},
        {"altra macchina, sessione del server aperta", QStringLiteral("ffffffff;1234;abcdef12;") + server, "0", false, false},
        {"terminato durante un'evasione, ordini da ripristinare", questo + QStringLiteral("00000000"), "1", true, false},
        {"terminato durante un'evasione, gia ripristinato", questo + QStringLiteral("00000000"), "1", false, true},
    };
    for (const Caso &caso : casi) {
        SCOPED_TRACE(caso.nome);
        esegui(QStringLiteral("Delete from LockGest"));
        dialoghi->testi.clear();
        suite::insertRow(fixture, QStringLiteral("LockGest"),
                         {{"Tipo", "V"}, {"Anno", int16_t{0}}, {"NumReg", numero}, {"Utente", kUtente}, {"Stato", caso.stato},
                          {"Gestione", "3"}, {"Varie", caso.varie}});
        if (caso.bloccoDaRiprendere)
            suite::insertRow(fixture, QStringLiteral("LockGest"),
                             {{"Tipo", "O"}, {"Anno", int16_t{2024}}, {"NumReg", int32_t{1}}, {"Utente", kUtente}, {"Stato", "0"},
                              {"Gestione", "3"}, {"PadreTipo", "V"}, {"PadreAnno", int16_t{0}}, {"PadreNumReg", numero}});
        finestra.mostrata = finestra.chiusa = false;
        ControlloEvaManu &c = nuovoControllo();
        c.EvasioneManuale();
        EXPECT_EQ(finestra.mostrata, caso.ripresa);
        if (caso.ripresa) {
            EXPECT_TRUE(dialoghi->testi.isEmpty()) << dialoghi->testi.join(QLatin1Char('\n')).toStdString();
            // the row is this session's now, naming this process; the dead one's lock is gone
            const QStringList sessione = righe(QStringLiteral("Select Varie, Stato from LockGest Where Tipo = 'V'"));
            ASSERT_EQ(sessione.size(), 1);
            EXPECT_TRUE(sessione[0].startsWith(questo + io.avvio)) << sessione[0].toStdString();
            EXPECT_TRUE(sessione[0].endsWith(QStringLiteral("|0")));
            EXPECT_EQ(conta(QStringLiteral("Select * from LockGest Where Tipo = 'O'")), 0);
            finestra.Chiudi();
            EXPECT_EQ(conta(QStringLiteral("Select * from LockGest")), 0);
        } else {
            ASSERT_EQ(dialoghi->testi.size(), 1);
            EXPECT_TRUE(dialoghi->testi[0].startsWith(QStringLiteral("La selezione ordini da evadere ")));
            EXPECT_EQ(dialoghi->testi[0].contains(QStringLiteral("ripristino")), QString(caso.stato) == "1");
            // what the other session holds stays as it was
            EXPECT_EQ(righe(QStringLiteral("Select Varie, Stato from LockGest Where Tipo = 'V'")),
                      QStringList{caso.varie + "|" + caso.stato});
            EXPECT_EQ(conta(QStringLiteral("Select * from LockGest Where Tipo = 'O'")), caso.bloccoDaRiprendere ? 1 : 0);
        }
    }
}

// The session row says while its group is handed over to the run: "1" during the run, "0"
// after it.
TEST_P(Gruppi, LaSessioneSegnaLaConsegnaAllaRun)
{
    ordineDi(1, 1);
    ordineDi(2, 2); // the next group: the form stays open
    ControlloEvaManu &c = nuovoControllo();
    c.EvasioneManuale();
    prendi(1);
    esegui(QStringLiteral("Insert Into OrdVenEvaDett (Utente, Anno, NumRif, RigDet, RigLiv, Livello1, Livello2, Articolo, Qta, "
                          "QtaEvasa, QtaDaEva, ASaldo) Values ('mario', 2024, 1, 1, 1, ' ', ' ', 'ART00001', 5, 0, 5, 'N')"));
    QStringList stati;
    servizi.righe = [&](scEvaOrdVen &e, bool &esci, int16_t &create) {
        stati << righe(QStringLiteral("Select Stato from LockGest Where Tipo = 'V'"));
        ServiziDiProva::evadiTutto(e, esci, create);
    };
    c.ComProsegui_Click();
    stati << righe(QStringLiteral("Select Stato from LockGest Where Tipo = 'V'"));
    EXPECT_EQ(stati, (QStringList{"1", "0"}));
}

TEST_P(Gruppi, ChiusuraPrimaDelCaricamentoNonToccaNulla)
{
    esegui(QStringLiteral("Insert Into OrdVenEvaTest (Utente, Anno, NumRif, Selez, EvadeTutto) Values ('mario', 2024, 77, 'S', 'S')"));
    VistaDiProva f;
    ControlloEvaManu c(f);
    c.Form_Unload();
    EXPECT_EQ(staging().size(), 1);
}

TEST_P(Gruppi, SenzaPoterTogliereLoStagingNessunGruppo)
{
    ordineDi(1, 1);
    esegui(QStringLiteral("Insert Into OrdVenEvaTest (Utente, Anno, NumRif, Selez, EvadeTutto) Values ('mario', 2024, 77, 'S', 'S')"));
    esegui(QStringLiteral("Drop Table OrdVenEvaSpese"));
    ControlloEvaManu &c = nuovoControllo();
    c.EvasioneManuale();
    EXPECT_FALSE(finestra.mostrata);
    EXPECT_TRUE(finestra.chiusa);
    ASSERT_FALSE(dialoghi->testi.isEmpty());
    EXPECT_TRUE(dialoghi->testi[0].startsWith(QStringLiteral("Errore N° ")));
    EXPECT_TRUE(dialoghi->testi[0].endsWith(QStringLiteral(" in EvasioneManuale (CancellaAppo)")));
    EXPECT_TRUE(staging().isEmpty()) << "no group staged";
    EXPECT_TRUE(blocchi().isEmpty());
}

TEST_P(Gruppi, MostraENascondiLivelli)
{
    contesto->parametro(QStringLiteral("Mag.GesTaglie"), Variant(QStringLiteral("S")));
    ControlloEvaManu &c = nuovoControllo();
    ASSERT_TRUE(c.mbMostraLivelli);
    EXPECT_EQ(finestra.didascaliaLivelli, QStringLiteral("&Nascondi Livelli"));
    finestra.chiamate.clear();
    c.comLivelli_Click();
    EXPECT_FALSE(c.mbMostraLivelli);
    EXPECT_EQ(finestra.didascaliaLivelli, QStringLiteral("&Mostra Livelli"));
    EXPECT_EQ(finestra.chiamate, QStringList{"Imposta_Griglia_Corpo"});
    c.comLivelli_Click();
    EXPECT_TRUE(c.mbMostraLivelli);
    EXPECT_EQ(finestra.didascaliaLivelli, QStringLiteral("&Nascondi Livelli"));
}

INSTANTIATE_TEST_SUITE_P(Motori, Gruppi, kBothEngines, engineParamName);
