// "&Prosegui >>>": the checks on the staged lines, the rate, the balance-only run, the run and
// the next group, a run that does not go through.
#include "evamanuprova.h"

#include "blocchi.h"
#include "rowwriter.h"

class Prosegui : public EvaManuProva {
protected:
    // Order 1 of customer 1 (the group on display) and order 2 of customer 2 (the next group).
    ControlloEvaManu &dueGruppi(const QString &moneta = {}, const QString &livelli = QStringLiteral("N"))
    {
        contesto->parametro(QStringLiteral("Mag.GesTaglie"), Variant(livelli));
        for (int i = 1; i <= 2; ++i) {
            suite::OrderInput o;
            o.numRif = i;
            o.cliente = i;
            o.moneta = moneta;
            o.righe.push_back({.articolo = suite::articleCode(1), .qta = 5, .prezzo = 2});
            ordine(o);
        }
        ControlloEvaManu &c = nuovoControllo();
        c.EvasioneManuale();
        esegui(QStringLiteral("Update OrdVenEvaTest Set Selez = 'S' Where NumRif = 1"));
        return c;
    }
    void staged(int32_t rigLiv, double daEva, double qta, double evasa = 0, const QString &aSaldo = QStringLiteral("N"),
                const Variant &articolo = Variant(suite::articleCode(1)), const QString &liv1 = QStringLiteral(" "),
                const QString &liv2 = QStringLiteral(" "))
    {
        suite::insertRow(fixture, QStringLiteral("OrdVenEvaDett"),
                         {{"Utente", kUtente}, {"Anno", static_cast<int16_t>(2024)}, {"NumRif", 1}, {"RigLiv", rigLiv},
                          {"RigDet", static_cast<int16_t>(rigLiv)}, {"Livello1", liv1}, {"Livello2", liv2},
                          {"Articolo", articolo}, {"Qta", qta}, {"QtaEvasa", evasa}, {"QtaDaEva", daEva},
                          {"ASaldo", aSaldo}});
    }
    int esecuzioni() const { return static_cast<int>(servizi.chiamate.filter(QStringLiteral("EvadoOrdDett")).size()) +
                                    static_cast<int>(servizi.chiamate.filter(QStringLiteral("EvadeDettSoloASaldo")).size()); }
    QStringList staging() { return righe(QStringLiteral("Select NumRif from OrdVenEvaTest Order by NumRif")); }
};

TEST_P(Prosegui, RegoleDelleRigheDaEvadere)
{
    struct Riga {
        double daEva, qta, evasa;
        const char *aSaldo;
        bool articolo;
    };
    struct Caso {
        const char *nome;
        std::vector<Riga> righe;
        const char *messaggio; // refusal, or nullptr
        int esecuzioni;        // 0: the next group without a run
        bool soloASaldo;
    } casi[] = {
        {"negativa su riga positiva", {{-3, 5, 0, "N", true}}, "Non è possibile evadere Quantità negative", 0, false},
        {"negativa parziale", {{-3, -5, 0, "N", true}}, "Non è possibile evadere parzialmente Quantità negative", 0, false},
        {"negativa intera", {{-5, -5, 0, "N", true}}, nullptr, 1, false},
        {"negativa: il residuo", {{-3, -5, -2, "N", true}}, nullptr, 1, false},
        {"negativa: l'ordinato con un evaso", {{-5, -5, -2, "N", true}}, "Non è possibile evadere parzialmente Quantità negative", 0, false},
        {"positiva", {{2, 5, 0, "N", true}, {0, 5, 0, "N", true}}, nullptr, 1, false},
        {"solo a saldo", {{0, 5, 0, "S", true}, {0, 3, 0, "N", true}}, nullptr, 1, true},
        {"a saldo su articolo con Qta 0", {{0, 0, 0, "s", true}}, nullptr, 1, true},
        {"a saldo su descrizione", {{0, 0, 0, "S", false}}, nullptr, 0, false},
        {"tutto a zero", {{0, 5, 0, "N", true}}, nullptr, 0, false},
    };
    for (const Caso &caso : casi) {
        SCOPED_TRACE(caso.nome);
        ControlloEvaManu &c = dueGruppi();
        dialoghi->testi.clear();
        servizi.chiamate.clear();
        int32_t rig = 0;
        for (const Riga &r : caso.righe)
            staged(++rig, r.daEva, r.qta, r.evasa, QString::fromLatin1(r.aSaldo),
                   r.articolo ? Variant(suite::articleCode(1)) : Variant::null());
        c.ComProsegui_Click();
        EXPECT_EQ(esecuzioni(), caso.esecuzioni);
        if (caso.messaggio) {
            EXPECT_EQ(dialoghi->testi, QStringList{QString::fromUtf8(caso.messaggio)});
            EXPECT_EQ(staging(), QStringList{"1"}) << "the group stays";
        } else {
            EXPECT_EQ(staging(), QStringList{"2"}) << "the next group";
            if (caso.esecuzioni) {
                EXPECT_EQ(eva.obSoloASaldo, caso.soloASaldo);
            }
        }
        EXPECT_FALSE(c.mbProseguiInCorso);
        EXPECT_TRUE(finestra.pulsantiAbilitati);
        controllo->Form_Unload();
        esegui(QStringLiteral("Delete from OrdVenDett"));
        esegui(QStringLiteral("Delete from OrdVenTest"));
        esegui(QStringLiteral("Update ArticoliProg Set QtaImpCli = 0"));
    }
}

TEST_P(Prosegui, IlCambioVaDatoMaggioreDiZero)
{
    ControlloEvaManu &c = dueGruppi(QStringLiteral("USD"));
    staged(1, 2, 5);
    ASSERT_TRUE(c.mbCambioRichiesto);
    for (const QString &cambio : {QStringLiteral("0"), QStringLiteral("-1,5"), QString()}) {
        SCOPED_TRACE(cambio.toStdString());
        dialoghi->testi.clear();
        finestra.chiamate.clear();
        finestra.cambio = cambio;
        c.ComProsegui_Click();
        EXPECT_EQ(dialoghi->testi, QStringList{"E' obbligatorio inserire il cambio"});
        EXPECT_TRUE(finestra.chiamate.contains(QStringLiteral("PreparaCampoCambio")));
        EXPECT_EQ(esecuzioni(), 0);
        EXPECT_FALSE(eva.ogCambi().Esiste(QStringLiteral("USD")));
    }
    finestra.cambio = QStringLiteral("1,0875");
    c.ComProsegui_Click();
    EXPECT_EQ(esecuzioni(), 1);
    EXPECT_DOUBLE_EQ(eva.ogCambi().Valore(QStringLiteral("USD")), 1.0875);
    EXPECT_EQ(staging(), QStringList{"2"});
}

TEST_P(Prosegui, RigheDiRiepilogoTolteSoloQuandoParteLEvasione)
{
    ControlloEvaManu &c = dueGruppi({}, QStringLiteral("S"));
    const QString riepiloghi = QStringLiteral("Select * from OrdVenEvaDett Where Livello1 = '*liv'");
    // A summary row of 5 over two level rows with nothing to fulfil: the level rows decide.
    staged(1, 5, 5, 0, QStringLiteral("N"), Variant(suite::articleCode(5)), QStringLiteral("*liv"));
    staged(1, 0, 2, 0, QStringLiteral("N"), Variant(suite::articleCode(5)), QStringLiteral("S"), QStringLiteral("ROSSO"));
    staged(1, 0, 3, 0, QStringLiteral("N"), Variant(suite::articleCode(5)), QStringLiteral("M"), QStringLiteral("BLU"));
    staged(2, -1, 4);
    c.ComProsegui_Click();
    EXPECT_EQ(dialoghi->testi, QStringList{"Non è possibile evadere Quantità negative"});
    EXPECT_EQ(conta(riepiloghi), 1) << "a refused hand-over keeps the summary rows";

    esegui(QStringLiteral("Update OrdVenEvaDett Set QtaDaEva = 2 Where Livello1 = 'S' Or RigLiv = 2"));
    int riepiloghiAlLancio = -1;
    servizi.righe = [&](scEvaOrdVen &, bool &, int16_t &) { riepiloghiAlLancio = conta(riepiloghi); };
    c.ComProsegui_Click();
    EXPECT_EQ(esecuzioni(), 1);
    EXPECT_EQ(riepiloghiAlLancio, 0);
}

TEST_P(Prosegui, UnDoppioClicEsegueUnaVolta)
{
    ControlloEvaManu &c = dueGruppi();
    staged(1, 2, 5);
    int clicInterni = 0;
    finestra.agliEventi = [&] {
        ++clicInterni;
        c.ComProsegui_Click();
    };
    c.ComProsegui_Click();
    EXPECT_GE(clicInterni, 1);
    EXPECT_EQ(esecuzioni(), 1);
    EXPECT_EQ(staging(), QStringList{"2"});
}

TEST_P(Prosegui, UnEvasioneNonCompletataChiudeLaSelezione)
{
    ControlloEvaManu &c = dueGruppi();
    staged(1, 2, 5);
    servizi.righe = [](scEvaOrdVen &, bool &esci, int16_t &) { esci = true; };
    c.ComProsegui_Click();
    EXPECT_EQ(esecuzioni(), 1);
    EXPECT_TRUE(finestra.chiusa);
    ASSERT_FALSE(dialoghi->testi.isEmpty());
    EXPECT_TRUE(dialoghi->testi.last().startsWith(QStringLiteral("L'evasione del gruppo di ordini non è stata completata")));
    EXPECT_TRUE(staging().isEmpty()) << "order 2 is not staged over what the run left";
    EXPECT_EQ(conta(QStringLiteral("Select * from OrdVenEvaDett")), 0);
    EXPECT_EQ(conta(QStringLiteral("Select * from LockGest")), 0);
}

TEST_P(Prosegui, DopoLEvasioneDellUltimoGruppoSiChiudeSenzaBlocchi)
{
    ControlloEvaManu &c = dueGruppi();
    staged(1, 2, 5);
    QString chiave, utenteLock, gestione = QStringLiteral("3"), varie, stato;
    ASSERT_EQ(BloccaRecord(QStringLiteral("0"), QStringLiteral("O"), 2024, 1, true, false, chiave, QStringLiteral("Il Ord"),
                           utenteLock, gestione, varie, false, QString(), 0, 0, 0, stato)
                  .toInteger(),
              EsitoBlocco::Preso);
    c.RegistraBloccoOrdine(2024, 1, chiave);
    c.ComProsegui_Click();
    EXPECT_EQ(esecuzioni(), 1);
    EXPECT_EQ(conta(QStringLiteral("Select * from LockGest Where Tipo = 'O'")), 0);
    EXPECT_EQ(staging(), QStringList{"2"});

    // The last group: picked and run, then the form closes without a message of its own.
    esegui(QStringLiteral("Update OrdVenEvaTest Set Selez = 'S'"));
    suite::insertRow(fixture, QStringLiteral("OrdVenEvaDett"),
                     {{"Utente", kUtente}, {"Anno", static_cast<int16_t>(2024)}, {"NumRif", 2}, {"RigLiv", 1},
                      {"RigDet", static_cast<int16_t>(1)}, {"Livello1", " "}, {"Livello2", " "},
                      {"Articolo", suite::articleCode(1)}, {"Qta", 5.0}, {"QtaEvasa", 0.0}, {"QtaDaEva", 5.0},
                      {"ASaldo", "N"}});
    dialoghi->testi.clear();
    c.ComProsegui_Click();
    EXPECT_EQ(esecuzioni(), 2);
    EXPECT_TRUE(finestra.chiusa);
    EXPECT_FALSE(dialoghi->testi.join(QLatin1Char('\n')).contains(QStringLiteral("non è stata completata")));
    EXPECT_EQ(conta(QStringLiteral("Select * from LockGest")), 0);
    EXPECT_TRUE(staging().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motori, Prosegui, kBothEngines, engineParamName);
