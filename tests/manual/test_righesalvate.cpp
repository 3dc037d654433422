// The controller as the grids reach it: a saved header row picks or releases its order, a
// click on a flag does exactly what saving the row does, a saved line row carries its
// quantity to the rows that follow it, and a typed value is checked against its order.
#include "prelievodiprova.h"
#include "presentazione.h"
#include "regolecelle.h"

#include <vector>

namespace {

class RigheSalvate : public PrelievoDiProva {
protected:
    QStringList stagingSenzaNumero(int32_t numRif)
    {
        return ordinate(QStringLiteral("Select RigDet, Livello1, Livello2, Qta, QtaDaEva, ASaldo from OrdVenEvaDett"
                                       " Where Utente = 'mario' And NumRif = %1").arg(numRif)) +
               ordinate(QStringLiteral("Select Riga, Selez from OrdVenEvaSpese Where NumRif = %1").arg(numRif));
    }
    void marca(int32_t numRif, const char *selez, const char *tutto)
    {
        esegui(QStringLiteral("Update OrdVenEvaTest Set Selez = '%1', EvadeTutto = '%2' Where NumRif = %3").arg(selez, tutto).arg(numRif));
    }
};

TEST_P(RigheSalvate, AClickOnAnOrderFlagDoesWhatSavingItsRowDoes)
{
    c().msGesTaglie = QStringLiteral("S");
    const int32_t salvato = ordine(ordineTipo(), "N");
    const int32_t cliccato = ordine(ordineTipo(), "N");

    marca(salvato, "S", "S");
    EXPECT_FALSE(c().TestataSalvata(2024, salvato));
    EXPECT_TRUE(c().ClicFlag(GrigliaManuale::Testata, {.anno = 2024, .numRif = cliccato}, QStringLiteral("EvadeTutto")));
    EXPECT_EQ(marchi(cliccato), QStringList{"S|S"});
    EXPECT_EQ(stagingSenzaNumero(cliccato), stagingSenzaNumero(salvato));
    EXPECT_EQ(stagingSenzaNumero(cliccato).size(), 6);
    EXPECT_EQ(blocchi(), (QStringList{QStringLiteral("%1|mario|0|3").arg(salvato), QStringLiteral("%1|mario|0|3").arg(cliccato)}));
    EXPECT_EQ(finestra.chiamate.filter("Imposta_Griglia_Corpo").size(), 2);
    EXPECT_EQ(finestra.chiamate.filter("Imposta_Griglia_Spese").size(), 2);
    EXPECT_EQ(c().msMonetaOrdine, QStringLiteral("Euro"));

    // Taking the mark away releases as a saved row with "Sel." "N" does.
    marca(salvato, "N", "N");
    EXPECT_FALSE(c().TestataSalvata(2024, salvato));
    EXPECT_TRUE(c().ClicFlag(GrigliaManuale::Testata, {.anno = 2024, .numRif = cliccato}, QStringLiteral("Selez")));
    EXPECT_EQ(marchi(cliccato), QStringList{"N|N"});
    EXPECT_TRUE(staging().isEmpty());
    EXPECT_TRUE(blocchi().isEmpty());
    // A click on any other column changes nothing.
    EXPECT_FALSE(c().ClicFlag(GrigliaManuale::Testata, {.anno = 2024, .numRif = cliccato}, QStringLiteral("Descrizione")));
    EXPECT_TRUE(dialoghi->testi.isEmpty());
}

TEST_P(RigheSalvate, AnOrderInUseGivenUpComesBackUnmarked)
{
    std::vector<bool> clessidra;
    impostaPresentazioneEvasione({[&](bool acceso) { clessidra.push_back(acceso); }, {}});
    const int32_t n = ordine(ordineTipo(), "N");
    lockDi(QStringLiteral("luigi"), n);
    dialoghi->risposta = [](const RichiestaMsgCom &) { return 2; };
    EXPECT_TRUE(c().ClicFlag(GrigliaManuale::Testata, {.anno = 2024, .numRif = n}, QStringLiteral("Selez")));
    EXPECT_EQ(marchi(n), QStringList{"N|N"});
    EXPECT_TRUE(staging().isEmpty());
    EXPECT_EQ(dialoghi->testi, QStringList{QStringLiteral("Ordini vendita n.rif %1 anno 2024 in uso da luigi").arg(n)});
    // The hourglass of the pick is off again.
    EXPECT_EQ(clessidra, (std::vector<bool>{true, false}));
}

TEST_P(RigheSalvate, LineAndExpenseFlagsFollowTheirRows)
{
    c().msGesTaglie = QStringLiteral("S");
    c().mbMostraLivelli = false;
    suite::OrderInput o;
    o.righe = {{.articolo = suite::articleCode(5), .prezzo = 3, .livelli = {{"S", "ROSSO", 3, 0}, {"M", "BLU", 4, 0}}, .extra = {{"RigLivRAEE", 2}}},
               {.articolo = suite::articleCode(4), .qta = 7, .prezzo = 0.5}};
    o.spese = {{.spesa = "TRA", .importo = 15}};
    const int32_t n = ordine(o);
    ASSERT_EQ(c().PrelevaOrdine(daPrelevare(n, false)), Esito::Prelevato);
    const auto riga = [&](int32_t rigLiv, const char *l1, const char *l2) {
        return ChiaveRigaManuale{.anno = 2024, .numRif = n, .riga = rigLiv, .livello1 = l1, .livello2 = l2};
    };
    const auto flag = [&](const char *sql) { return ordinate(QString::fromUtf8(sql)); };

    // The summary row's quantity, saved, reaches its levels and then the fee line.
    esegui("Update OrdVenEvaDett Set QtaDaEva = 7 Where Livello1 = '*liv'");
    EXPECT_TRUE(c().RigaSalvata(riga(1, "*liv", " ")));
    EXPECT_EQ(flag("Select Livello1, QtaDaEva, ASaldo from OrdVenEvaDett Where RigLiv = 1 And Livello1 <> '*liv'"),
              (QStringList{"M|4|N", "S|3|N"}));
    EXPECT_EQ(flag("Select QtaDaEva, ASaldo from OrdVenEvaDett Where RigLiv = 2"), QStringList{"7|N"});

    // "A Saldo" clicked on a level row: switched, and the fee line takes it.
    c().mbMostraLivelli = true;
    EXPECT_TRUE(c().ClicFlag(GrigliaManuale::Righe, riga(1, "S", "ROSSO"), QStringLiteral("ASaldo")));
    EXPECT_EQ(flag("Select ASaldo from OrdVenEvaDett Where RigLiv = 1 And Livello1 = 'S'"), QStringList{"S"});
    EXPECT_EQ(flag("Select QtaDaEva, ASaldo from OrdVenEvaDett Where RigLiv = 2"), QStringList{"7|S"});
    // A summary row is never put to "A Saldo": told, nothing changes.
    EXPECT_FALSE(c().ClicFlag(GrigliaManuale::Righe, riga(1, "*liv", " "), QStringLiteral("ASaldo")));
    EXPECT_EQ(dialoghi->testi, QStringList{testiCelle::kRiepilogoASaldo});
    EXPECT_EQ(flag("Select ASaldo from OrdVenEvaDett Where Livello1 = '*liv'"), QStringList{"N"});
    // Another line column does not react.
    EXPECT_FALSE(c().ClicFlag(GrigliaManuale::Righe, riga(1, "S", "ROSSO"), QStringLiteral("QtaDaEva")));

    EXPECT_TRUE(c().ClicFlag(GrigliaManuale::Spese, {.anno = 2024, .numRif = n, .riga = 1}, QStringLiteral("Selez")));
    EXPECT_EQ(flag("Select Selez from OrdVenEvaSpese"), QStringList{"S"});
    EXPECT_TRUE(c().ClicFlag(GrigliaManuale::Spese, {.anno = 2024, .numRif = n, .riga = 1}, QStringLiteral("Selez")));
    EXPECT_EQ(flag("Select Selez from OrdVenEvaSpese"), QStringList{"N"});
}

TEST_P(RigheSalvate, ATypedValueIsCheckedAgainstItsOrderWithoutMovingTheHeader)
{
    suite::OrderInput totale;
    totale.righe = {{.articolo = suite::articleCode(1), .qta = 10, .prezzo = 2, .qtaEvasa = 4}};
    totale.extra = {{"ConsTotale", "S"}};
    const int32_t n = ordine(totale);
    ASSERT_EQ(c().PrelevaOrdine(daPrelevare(n, false)), Esito::Prelevato);
    const ChiaveRigaManuale linea{.anno = 2024, .numRif = n, .riga = 1, .livello1 = " ", .livello2 = " "};

    EsitoCella e = c().ControllaCella(GrigliaManuale::Righe, linea, QStringLiteral("QtaDaEva"), Variant("3"));
    EXPECT_FALSE(e.rifiutato);
    EXPECT_DOUBLE_EQ(e.valore.toDouble(), 6);
    EXPECT_EQ(dialoghi->testi, QStringList{testiCelle::kOrdineTotale});

    e = c().ControllaCella(GrigliaManuale::Testata, {.anno = 2024, .numRif = n}, QStringLiteral("Selez"), Variant("s"));
    EXPECT_EQ(e.valore.text(), "S");
    EXPECT_EQ(e.campoCollegato, "EvadeTutto");
    EXPECT_EQ(e.valoreCollegato, "S");

    e = c().ControllaCella(GrigliaManuale::Testata, {.anno = 2024, .numRif = n}, QStringLiteral("EvadeTutto"), Variant("x"));
    EXPECT_TRUE(e.rifiutato);
    EXPECT_EQ(dialoghi->testi.size(), 2);
    EXPECT_EQ(dialoghi->testi.last(), testiCelle::kSoloSN);

    // The order of a line that is not among the group's need not be delivered whole.
    esegui(QStringLiteral("Delete from OrdVenEvaTest Where NumRif = %1").arg(n));
    e = c().ControllaCella(GrigliaManuale::Righe, linea, QStringLiteral("QtaDaEva"), Variant("3"));
    EXPECT_DOUBLE_EQ(e.valore.toDouble(), 3);
    EXPECT_EQ(dialoghi->testi.size(), 2);
    EXPECT_TRUE(finestra.chiamate.filter("Imposta_Griglia_Testa").isEmpty());
}

TEST_P(RigheSalvate, ExtraLineColumnsAreStagedWithTheOrder)
{
    contesto->parametro(QStringLiteral("Mag.GesTaglie"), Variant(QStringLiteral("S")));
    contesto->personale(QStringLiteral("Ordini"), QStringLiteral("EvaLisCampiAgg1"), Variant(QStringLiteral("Articoli.Descrizione")));
    contesto->personale(QStringLiteral("Ordini"), QStringLiteral("EvaLisCampiAgg2"), Variant(QStringLiteral("OrdVenLiv.Qta")));
    nuovoControllo();
    c().msGesTaglie = QStringLiteral("S");
    esegui("Update Articoli Set Descrizione = 'Maglia' Where Articolo = 'ART00005'");
    const int32_t n = ordine(ordineTipo(), "N");
    marca(n, "S", "N");
    EXPECT_FALSE(c().TestataSalvata(2024, n));
    // A level source gives nothing on the rows that stand for a whole line.
    EXPECT_EQ(ordinate(QStringLiteral("Select RigDet, Livello1, AltriTesto1, AltriDouble1 from OrdVenEvaDett Where RigDet = 2")),
              (QStringList{"2|*liv|Maglia|", "2|M|Maglia|4", "2|S|Maglia|3"}));
    EXPECT_TRUE(dialoghi->testi.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, RigheSalvate, kBothEngines, engineParamName);

} // namespace
