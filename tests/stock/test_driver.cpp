// The posting drivers and the re-posting around them: one transaction per row, a failed row
// left as it was and reported, the error modes, the retry rule for record conflicts with its
// question, the lock stages, and the work-table procedures, on both engines.
#include "magazzinoprova.h"

#include "aggiornamovimento.h"
#include "connessionedb.h"
#include "contesto.h"
#include "errori.h"
#include "gestrecordset.h"
#include "blocchi.h"
#include "riaggiornamovimento.h"
#include "righeapp.h"

namespace {

// The row poster with faults of a test's own: for each row (by article), the errors to raise,
// one per attempt, before or after the real posting of the row.
class PostaRigaGuasta {
public:
    explicit PostaRigaGuasta(bool dopoIlPosting = false) : m_dopo(dopoIlPosting)
    {
        ServiziMagazzino s = serviziMagazzino();
        s.PostaRiga = [this](const QString &modo, bool definitive, GestRecordset &rec, const QString &tes,
                             const QString &riga, const QString &tipo, bool forArt, int16_t solo, double &vl, double &v,
                             bool prog, bool costi, double &tot, QString &perc, ContestoPosting &ctx) {
            // The row poster's own choice of the row's table: the work table only when posting it.
            const bool app = modo != QLatin1String("D") && !definitive;
            const bool dettaglio = tipo.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0;
            const QString tabella = (dettaglio ? QStringLiteral("MovMagDett") : QStringLiteral("MovMagLiv")) +
                                    (app ? QStringLiteral("App") : QString());
            const QString articolo = rec.LeggiCampo(riga, tabella + QStringLiteral(".Articolo")).text();
            ++tentativi[articolo];
            if (stati.contains(articolo))
                stati[articolo] << valoreStato();
            auto &coda = guasti[articolo];
            const auto guasto = [&] {
                if (!coda.empty()) {
                    const int32_t n = coda.front();
                    coda.erase(coda.begin());
                    throw erroreDb(n, QStringLiteral("guasto di prova"));
                }
            };
            if (!m_dopo)
                guasto();
            const int16_t r = AggiornaRigaMov(modo, definitive, rec, tes, riga, tipo, forArt, solo, vl, v, prog, costi,
                                              tot, perc, ctx);
            guasto();
            return r;
        };
        m_precedenti = impostaServiziMagazzino(s);
    }
    ~PostaRigaGuasta() { impostaServiziMagazzino(m_precedenti); }

    std::map<QString, std::vector<int32_t>> guasti;
    std::map<QString, int> tentativi;
    // The lock's stage seen while the rows of these articles were posted.
    std::map<QString, QStringList> stati;

private:
    static QString valoreStato()
    {
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), QStringLiteral("Select Stato from LockGest"));
        return rs.LeggiCampo(a, u"Stato").text();
    }
    bool m_dopo;
    ServiziMagazzino m_precedenti;
};

class Driver : public MagazzinoDiProva {
protected:
    void SetUp() override
    {
        MagazzinoDiProva::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        for (const char *a : {"P1", "P2", "P3"})
            articolo(a);
        causale("CAR", {});
    }
    // Movement n with three rows: P1, P2, P3.
    void treRighe(int32_t n)
    {
        movimento(n, "CAR");
        riga(n, 1, "P1", 1, 1.0);
        riga(n, 2, "P2", 2, 2.0);
        riga(n, 3, "P3", 3, 3.0);
    }
    QStringList tentativiMostrati() const
    {
        QStringList out;
        for (const QString &m : viste->registrato.messaggi)
            if (m.contains("tentativo"))
                out << m.section("\r\n", 1);
        return out;
    }
};

TEST_P(Driver, AFailedRowIsRolledBackLeftInPlaceAndReported)
{
    PostaRigaGuasta guasta(true);
    guasta.guasti["P2"] = {ErrDb::OdbcFallito};
    treRighe(1);
    const EsitoPosting esito = riaggiorna(1);
    EXPECT_FALSE(esito.riuscito());
    EXPECT_EQ(esito.numero, ErrDb::OdbcFallito);
    EXPECT_EQ(esito.righeNonEseguite, 1);

    // Rows 1 and 3 posted and moved; row 2's progressive row, created before the failure, is gone.
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaCarico"], 1);
    EXPECT_TRUE(prog("01", "P2").vuoto());
    EXPECT_DOUBLE_EQ(prog("01", "P3")["QtaCarico"], 3);
    EXPECT_EQ(conta("Select * from MovMagDett Where Articolo In ('P1', 'P3')"), 2);
    EXPECT_EQ(conta("Select * from MovMagDett Where Articolo = 'P2'"), 0);
    EXPECT_EQ(conta("Select * from MovMagDettApp Where Articolo = 'P2' And FlagStato = '0'"), 1);
    EXPECT_EQ(guasta.tentativi["P2"], 1);

    // The posting error form, once, with the movement and the failing row.
    ASSERT_EQ(viste->errori.size(), 1u);
    const ContenutoErrAggMov &e = viste->errori[0];
    EXPECT_EQ(e.titolo, "Errore durante l'Aggiornamento");
    EXPECT_TRUE(e.messaggio.startsWith("Errore (3146) ")) << e.messaggio.toStdString();
    EXPECT_EQ(e.valori.at(10), "1");
    EXPECT_EQ(e.valori.at(20), "15/03/2024");
    EXPECT_EQ(e.valori.at(30), "CAR");
    EXPECT_EQ(e.valori.at(70), "Euro");
    EXPECT_EQ(e.valori.at(80), "1");
    EXPECT_EQ(e.valori.at(90), "P2");
    EXPECT_EQ(e.valori.at(100), "2");
    EXPECT_EQ(e.valori.at(120), "2");
    EXPECT_EQ(e.valori.at(140), "3.873");
}

TEST_P(Driver, ErrorModesOfTheDriver)
{
    PostaRigaGuasta guasta;
    treRighe(1);
    GestRecordset rec;
    QString tes, riga;

    // -2: the first failed row stops the walk; its number comes back.
    guasta.guasti["P2"] = {ErrDb::OdbcFallito};
    int16_t errore = -2;
    EsitoPosting esito = AggiornaMovimento(2024, 1, rec, "D", true, tes, riga, true, "0", errore, true);
    EXPECT_EQ(errore, ErrDb::OdbcFallito);
    EXPECT_EQ(esito.numero, ErrDb::OdbcFallito);
    EXPECT_EQ(conta("Select * from MovMagDett"), 1);
    EXPECT_EQ(conta("Select * from MovMagDettApp"), 2);
    EXPECT_TRUE(viste->errori.empty());

    // Any other value: silent, the walk goes on.
    guasta.guasti["P2"] = {ErrDb::OdbcFallito};
    errore = 5;
    esito = AggiornaMovimento(2024, 1, rec, "d", true, tes, riga, true, "0", errore, true);
    EXPECT_EQ(esito.righeNonEseguite, 1);
    EXPECT_EQ(conta("Select * from MovMagDett"), 2);
    EXPECT_TRUE(viste->errori.empty());
    EXPECT_TRUE(dialoghi->mostrati().empty());

    // An empty selection: nothing to do, progress at 0.
    errore = 0;
    esito = AggiornaMovimento(2024, 1, rec, "L", true, tes, riga, true, "0", errore, true);
    EXPECT_TRUE(esito.riuscito());
    EXPECT_EQ(viste->registrato.massimo, 0);
    rec.Chiudi(tes);
}

struct CasoRetry {
    const char *nome;
    bool disaggiorna;
    std::vector<int32_t> conflitti;
    int risposta;          // to the question, 0 when none is expected
    QStringList tentativi; // the attempts shown
    bool eseguita;
};

TEST_P(Driver, TheRetryRuleForRecordConflicts)
{
    const int32_t B = ErrDb::Bloccato, M = ErrDb::ModificatoDaAltri;
    const auto n = [](const char *motivo, int da, int a) {
        QStringList l;
        for (int i = da; i <= a; ++i)
            l << QStringLiteral("Dati %1 tentativo n. %2").arg(QLatin1String(motivo)).arg(i);
        return l;
    };
    const std::vector<CasoRetry> casi = {
        {"locked twice", false, {B, B}, 0, n("bloccati", 2, 3), true},
        {"changed twice", false, {M, M}, 0, n("modificati", 1, 2), true},
        {"both kinds share the count",
         false,
         {B, M},
         0,
         {"Dati bloccati tentativo n. 2", "Dati modificati tentativo n. 2"},
         true},
        {"locked ten times, no", false, std::vector<int32_t>(10, B), RispostaMsg::No, n("bloccati", 2, 10), false},
        {"changed ten times, yes", false, std::vector<int32_t>(11, M), RispostaMsg::Si,
         n("modificati", 1, 9) + QStringList{"Dati modificati tentativo n. 1", "Dati modificati tentativo n. 1"}, true},
        {"un-posting, eleven times, no", true, std::vector<int32_t>(11, B), RispostaMsg::No, n("bloccati", 1, 10),
         false},
    };
    int32_t numero = 0;
    for (const CasoRetry &caso : casi) {
        SCOPED_TRACE(caso.nome);
        ++numero;
        treRighe(numero);
        if (caso.disaggiorna) {
            ASSERT_TRUE(riaggiorna(numero).riuscito());
        }
        PostaRigaGuasta guasta;
        guasta.guasti["P1"] = caso.conflitti;
        viste->registrato.messaggi.clear();
        const size_t domande = dialoghi->mostrati().size();
        if (caso.risposta)
            dialoghi->rispondi(caso.risposta);
        const EsitoPosting esito = riaggiorna(numero, caso.disaggiorna);
        EXPECT_EQ(tentativiMostrati(), caso.tentativi);
        ASSERT_EQ(dialoghi->mostrati().size(), domande + (caso.risposta ? 1 : 0));
        if (caso.risposta) {
            const auto &d = dialoghi->mostrati().back();
            EXPECT_EQ(d.pulsantiMsgBox, PulsantiMsg::SiNo);
            EXPECT_EQ(d.icona, IconaMsg::Domanda);
            EXPECT_EQ(d.testo,
                      QString(caso.conflitti.front() == B ? "Dati in uso da altri: RIPROVARE"
                                                          : "Dati modificati da altri: RIPROVARE") +
                          "\r\n(In caso contrario i dati delle sintesi movimenti potrebbero non essere giusti)");
        }
        EXPECT_EQ(esito.riuscito(), caso.eseguita);
        // A posted row is in the movement; a row that failed posting is not; a row that failed
        // un-posting still is, and the re-posting stopped.
        const int attesi = caso.disaggiorna ? (caso.eseguita ? 0 : 1) : (caso.eseguita ? 1 : 0);
        EXPECT_EQ(conta(QStringLiteral("Select * from MovMagDett Where NumReg = %1 And Articolo = 'P1'").arg(numero)),
                  attesi);
        EXPECT_TRUE(viste->errori.empty());
    }
}

TEST_P(Driver, TheLockStagesOfAReposting)
{
    PostaRigaGuasta guasta;
    guasta.stati["P1"];
    guasta.stati["P3"];
    treRighe(1);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    EXPECT_EQ(guasta.stati["P1"], QStringList{"3"});

    // Re-posted with un-posting: "2" while the old rows go, "3" while the new ones come.
    riga(1, 4, "P1", 5, 5.0);
    guasta.stati["P1"].clear();
    ASSERT_TRUE(riaggiorna(1, true).riuscito());
    EXPECT_EQ(guasta.stati["P1"], (QStringList{"2", "3"}));
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaCarico"], 5);
    EXPECT_TRUE(prog("01", "P2")["QtaCarico"] == 0);
    EXPECT_EQ(conta("Select * from MovMagDett Where NumReg = 1"), 1);

    // Without the old rows: the new rows join them.
    riga(1, 5, "P3", 1, 1.0);
    guasta.stati["P3"].clear();
    ASSERT_TRUE(riaggiorna(1, false, true).riuscito());
    EXPECT_EQ(guasta.stati["P3"], QStringList{"3"});
    EXPECT_EQ(conta("Select * from MovMagDett Where NumReg = 1"), 2);
    EXPECT_DOUBLE_EQ(prog("01", "P3")["QtaCarico"], 1);
}

TEST_P(Driver, AFailedUnpostingStopsTheRepostingBeforeAnythingNew)
{
    treRighe(1);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    riga(1, 4, "P1", 5, 5.0);
    PostaRigaGuasta guasta;
    guasta.guasti["P2"] = {ErrDb::OdbcFallito};
    const EsitoPosting esito = riaggiorna(1, true);
    EXPECT_EQ(esito.numero, ErrDb::OdbcFallito);
    ASSERT_EQ(viste->errori.size(), 1u);
    EXPECT_EQ(viste->errori[0].titolo, "Errore durante il Disaggiornamento");
    EXPECT_EQ(viste->errori[0].valori.at(90), "P2");
    // The failed row is still there and still posted; the others were taken out once each.
    EXPECT_EQ(conta("Select * from MovMagDett Where NumReg = 1"), 1);
    EXPECT_DOUBLE_EQ(prog("01", "P2")["QtaCarico"], 2);
    EXPECT_DOUBLE_EQ(prog("01", "P3")["QtaCarico"], 0);
    EXPECT_EQ(guasta.tentativi["P2"], 1);
    EXPECT_EQ(conta("Select * from MovMagDettApp"), 1);
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaCarico"], 0);
}

TEST_P(Driver, RowsUnpostedInPlaceArePostedAgain)
{
    treRighe(1);
    ASSERT_TRUE(riaggiorna(1).riuscito());
    GestRecordset rec;
    QString tes, riga;
    int16_t errore = 0;
    // Taken out and marked "2", not deleted.
    EXPECT_TRUE(DisaggiornaMovimento(2024, 1, rec, riga, "D", true, tes, false, "2", errore).riuscito());
    EXPECT_EQ(conta("Select * from MovMagDett Where NumReg = 1 And FlagStato = '2'"), 3);
    EXPECT_DOUBLE_EQ(prog("01", "P3")["QtaCarico"], 0);

    // Posted again, only the rows marked "2", their lire and euro values from their totals at
    // the movement's rate.
    esegui("Update MovMagDett Set FlagStato = '0', ValTotale = 20 Where RigLiv = 1");
    esegui("Update MovMagDett Set ValTotale = 30, ValEuro = 0, ValLire = 0 Where RigLiv = 3");
    EXPECT_TRUE(AggiornaMovimento(2024, 1, rec, "D", true, tes, riga, false, "0", errore, true).riuscito());
    rec.Chiudi(tes);
    EXPECT_EQ(conta("Select * from MovMagDett Where NumReg = 1 And FlagStato = '0'"), 3);
    EXPECT_DOUBLE_EQ(valore("Select ValEuro from MovMagDett Where RigLiv = 1").toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(valore("Select ValEuro from MovMagDett Where RigLiv = 3").toDouble(), 30.0);
    EXPECT_DOUBLE_EQ(valore("Select ValLire from MovMagDett Where RigLiv = 3").toDouble(), 58088);
    EXPECT_DOUBLE_EQ(prog("01", "P1")["QtaCarico"], 0);
    EXPECT_DOUBLE_EQ(prog("01", "P3")["QtaCarico"], 3);
    EXPECT_DOUBLE_EQ(prog("01", "P3")["ValCarico"], 30);
}

TEST_P(Driver, RowsWithoutTheirHeaderAreNotPosted)
{
    riga(5, 1, "P1", 1, 1.0);
    GestRecordset rec;
    QString tes, riga;
    int16_t errore = 0;
    dialoghi->rispondi(RispostaMsg::Ok);
    const EsitoPosting esito = AggiornaMovimento(2024, 5, rec, "D", true, tes, riga, true, "0", errore, true);
    rec.Chiudi(tes);
    EXPECT_EQ(esito.numero, 3021);
    ASSERT_EQ(dialoghi->mostrati().size(), 1u);
    EXPECT_TRUE(dialoghi->mostrati()[0].testo.startsWith("Errore(3021)")) << dialoghi->mostrati()[0].testo.toStdString();
    EXPECT_EQ(conta("Select * from MovMagDettApp"), 1);
    EXPECT_TRUE(prog("01", "P1").vuoto());
}

TEST_P(Driver, WithoutTheProgressFormTheActiveFormShowsTheProgress)
{
    AvanzamentoRegistrato attiva;
    viste->attiva = &attiva;
    treRighe(1);
    QString chiave, utente, gestione = QStringLiteral("3"), varie, stato;
    ASSERT_EQ(BloccaRecord("0", "M", 2024, 1, true, false, chiave, "x", utente, gestione, varie, false, "O", 2024, 1, 0,
                           stato)
                  .toInteger(),
              0);
    EXPECT_TRUE(RiaggiornaMovimento(2024, 1, false, false, chiave, false).riuscito());
    SbloccaRecord(chiave, true);
    EXPECT_EQ(attiva.messaggi, (QStringList{"Aggiornamento movimenti in corso: Righe dei livelli",
                                            "Aggiornamento movimenti in corso: Righe di dettaglio",
                                            "Aggiornamento movimenti in corso: Righe di dettaglio",
                                            "Aggiornamento movimenti in corso: Righe di dettaglio",
                                            "Aggiornamento movimenti in corso: Righe di dettaglio"}));
    EXPECT_EQ(attiva.fatti, 3);
    EXPECT_TRUE(viste->registrato.messaggi.isEmpty());
    viste->attiva = nullptr;
}

TEST_P(Driver, WorkTableProcedures)
{
    const auto matricole = [&](const char *tabella, int32_t num) {
        return conta(QStringLiteral("Select * from %1 Where Anno = 2024 And NumReg = %2").arg(tabella).arg(num));
    };
    for (int32_t num : {1, 2})
        for (int rig : {1, 2}) {
            inserisci("MovMagMatrApp",
                      {{"Anno", 2024}, {"NumReg", num}, {"RigLiv", rig}, {"Matricola", QString("A%1").arg(rig)}});
            inserisci("MovMagRintracciaApp", {{"Anno", 2024}, {"NumReg", num}, {"RigLiv", rig}, {"Lotto", "L"}});
        }
    inserisci("MovMagMatr", {{"Anno", 2024}, {"NumReg", 1}, {"RigLiv", 7}, {"Matricola", "VECCHIA"}});
    inserisci("MovMagMatr", {{"Anno", 2024}, {"NumReg", 3}, {"RigLiv", 7}, {"Matricola", "ALTRA"}});

    // A copy replaces the movement's rows; nothing to copy leaves them.
    EXPECT_EQ(CopiaRigheApp(2024, 1, "MovMagMatrApp", "MovMagMatr"), 0);
    EXPECT_EQ(matricole("MovMagMatr", 1), 2);
    EXPECT_EQ(conta("Select * from MovMagMatr Where Matricola = 'VECCHIA'"), 0);
    EXPECT_EQ(CopiaRigheApp(2024, 3, "MovMagMatrApp", "MovMagMatr"), 0);
    EXPECT_EQ(matricole("MovMagMatr", 3), 1);
    // A failed copy leaves the table as it was and says so.
    dialoghi->rispondi(RispostaMsg::Ok);
    EXPECT_EQ(CopiaRigheApp(2024, 1, "MovMagMatrApp", "MovMagRintraccia"), 1);
    EXPECT_EQ(matricole("MovMagRintraccia", 1), 0);
    ASSERT_EQ(dialoghi->mostrati().size(), 1u);
    EXPECT_TRUE(dialoghi->mostrati()[0].testo.startsWith("Errore(")) << dialoghi->mostrati()[0].testo.toStdString();

    // Clearing: second table first, a line key for the second, third and fourth only.
    CancellaRigheApp(2024, 1, QString("MovMagRintracciaApp"), QString("MovMagMatrAPP"), 1);
    EXPECT_EQ(matricole("MovMagMatrApp", 1), 1);
    EXPECT_EQ(matricole("MovMagRintracciaApp", 1), 0);
    // A table that is no work table is refused, and stops the clearing there.
    dialoghi->rispondi(RispostaMsg::Ok);
    CancellaRigheApp(2024, 2, QString("MovMagMatr"), QString("MovMagRintracciaApp"), std::nullopt,
                     QString("MovMagMatrApp"));
    EXPECT_EQ(dialoghi->mostrati().back().testo, "Nome File non valido");
    EXPECT_EQ(matricole("MovMagRintracciaApp", 2), 0);
    EXPECT_EQ(matricole("MovMagMatrApp", 2), 2);
    dialoghi->rispondi(RispostaMsg::Ok);
    CancellaRigheApp(2024, 2, std::nullopt, QString("MovMagMatrApp; Delete from Articoli"));
    EXPECT_EQ(dialoghi->mostrati().back().testo, "Nome File non valido");
    EXPECT_EQ(matricole("MovMagMatrApp", 2), 2);
    CancellaRigheApp(2024, 3, QString("MovMagMatr"), std::nullopt, std::nullopt, std::nullopt, std::nullopt, true);
    EXPECT_EQ(matricole("MovMagMatr", 3), 0);
    EXPECT_GT(conta("Select * from Articoli"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, Driver, kBothEngines, engineParamName);

} // namespace
