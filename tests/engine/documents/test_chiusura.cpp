// The closing of a run's documents, on both engines: totals, e-invoice stamp fields, locks and
// DocDaElab rows, and what is left for the recovery when a document cannot be closed.
#include "apperror.h"
#include "avanzamentoelab.h"
#include "chiusuradocumenti.h"
#include "documentiprova.h"
#include "provaevasione.h"
#include "rifiutidiprova.h"
#include "righediprova.h"
#include "sccalcpiedefat.h"
#include "spesedocumento.h"

#include <QSqlQuery>

namespace {

const QString kTotali = QStringLiteral("TotMerce, TotSpese, TotIva, TotDocum, TotImpon, ImponRitAcc");

class Chiusura : public ProvaEvasione {
protected:
    // Document numRif of the run's kind, registered by the run and locked by `utenteLock` at
    // stage "1" (no lock row when it is empty).
    void documento(DocumentoProva d, const QString &utenteLock = kUtenteProva)
    {
        d.fattura = eva.osDocEvaTipo == QLatin1String("F");
        scriviDocumento(m_q, d);
        suite::insertRow(m_q, QStringLiteral("DocDaElab"),
                         {{"Utente", kUtenteProva}, {"Programma", kProgrammaProva}, {"Anno", 2024},
                          {"NumReg", d.numRif}, {"DataOraEvas", Date::now()}, {"Comando", "C"}});
        if (!utenteLock.isEmpty())
            suite::insertRow(m_q, QStringLiteral("LockGest"),
                             {{"Tipo", eva.msTipoLockTes}, {"Anno", 2024}, {"NumReg", d.numRif}, {"Utente", utenteLock},
                              {"Stato", "1"}, {"Gestione", "3"}, {"Ora", Date::now()}});
    }

    // The six totals the footer calculator gives for the document, in the header's order.
    QString attesi(int32_t numRif, const std::optional<Variant> &bolli = std::nullopt) const
    {
        scCalcPiedeFat calc;
        calc.osTabTesta = eva.msTabTesta;
        calc.osTabDett = eva.msTabDett;
        calc.osTabLiv = eva.msTabLiv;
        calc.osTabSpese = eva.msTabSpese;
        calc.CalcPiedeFat(2024, numRif, false, -1, bolli);
        EXPECT_EQ(calc.oiNumErrori, 0) << calc.osErrori.toStdString();
        QStringList t;
        for (const Currency &k : {calc.odTotMerce, calc.odTotSpese, calc.odTotIva, calc.odTotFattura,
                                  calc.odTotImponibile, calc.odTotImpRitAcc})
            t << QString::number(k.toDouble());
        return t.join(QLatin1Char(' '));
    }

    // The header's six totals ("null" for one not written), numbers as the calculator's.
    QString totali(int32_t numRif) const
    {
        const QStringList r = righeDb(QStringLiteral("SELECT ") + kTotali + QStringLiteral(" FROM ") + eva.msTabTesta +
                                      QStringLiteral(" WHERE Anno = 2024 AND NumRif = ") + QString::number(numRif));
        return r.isEmpty() ? QStringLiteral("nessuna testata") : r.first();
    }

    // The DocDaElab rows opened again, as the run driver opens them, and the closing run on them.
    // Returns the stop flag.
    bool chiudi()
    {
        preparaRun(eva.osTipoDocEva);
        bool esci = false;
        ChiudiFatBolle(eva, eva.msAliasDocDaElab, esci, avanzamento);
        return esci;
    }

    QStringList registrati() const { return righeTesto(m_q, QStringLiteral("SELECT NumReg FROM DocDaElab ORDER BY NumReg")); }
    QStringList lock() const
    {
        return righeTesto(m_q, QStringLiteral("SELECT NumReg, Utente, Stato FROM LockGest ORDER BY NumReg"));
    }

    AvanzamentoElab avanzamento;
};

DocumentoProva fattura(int32_t numRif, std::vector<RigaProva> righe, suite::FieldValues testata = {},
                       std::vector<SpesaProva> spese = {})
{
    DocumentoProva d;
    d.numRif = numRif;
    d.righe = std::move(righe);
    d.testata = std::move(testata);
    d.spese = std::move(spese);
    return d;
}

TEST_P(Chiusura, ThreeInvoicesAreTotalledAndReleased)
{
    preparaRun(QStringLiteral("FAT"));
    // A run without documents closes nothing.
    EXPECT_FALSE(chiudi());
    EXPECT_EQ(eva.mlContaAvanz, 0);

    documento(fattura(1, {{.iva = "22", .valTotale = 100}}));
    // Stamp duty on an exempt amount; its lock row went missing and is taken again.
    documento(fattura(2, {{.iva = "E10", .valTotale = 100}}, {{"Bolli", "S"}}), QString());
    documento(fattura(3, {{.iva = "22", .valTotale = 50}}, {}, {{.spesa = "TRA", .iva = "22", .importo = 15}}));
    const QString attesi2 = attesi(2), attesi3 = attesi(3);

    EXPECT_FALSE(chiudi());
    EXPECT_EQ(eva.msErrori, QString());
    EXPECT_EQ(totali(1), QStringLiteral("100 0 22 122 100 0"));
    EXPECT_EQ(totali(2), attesi2);
    EXPECT_EQ(totali(2).split(' ').value(3), QStringLiteral("102"));
    EXPECT_EQ(totali(3), attesi3);
    EXPECT_EQ(righeDb(QStringLiteral("SELECT NumRif, FENumeroBollo, FEImportoBollo FROM FatTestFe")),
              QStringList({"2 SI 2"}));
    EXPECT_EQ(registrati(), QStringList());
    EXPECT_EQ(lock(), QStringList());
    EXPECT_EQ(eva.mlContaAvanz, 3);
    EXPECT_EQ(avanzamento.memoria().fatti, 3);
    EXPECT_EQ(eva.msFase, QStringLiteral("Chiusura delle fatture/bolle"));
    EXPECT_FALSE(eva.mgRecs().Aperto(eva.msAliasDocDaElab));
}

TEST_P(Chiusura, ADeliveryNoteTakesItsCustomersStampFlag)
{
    preparaRun(QStringLiteral("DDT"));
    // Customer 1 is charged stamp duty, customer 2 is not.
    documento(fattura(1, {{.iva = "E10", .valTotale = 100}}));
    documento(fattura(2, {{.iva = "E10", .valTotale = 100}}, {{"ContoCli", "0002"}}));
    const QString attesi1 = attesi(1, Variant("S")), attesi2 = attesi(2, Variant(""));
    EXPECT_FALSE(chiudi());
    EXPECT_EQ(eva.msErrori, QString());
    EXPECT_EQ(totali(1), attesi1);
    EXPECT_EQ(totali(1).split(' ').value(3), QStringLiteral("102"));
    EXPECT_EQ(totali(2), attesi2);
    EXPECT_EQ(totali(2).split(' ').value(3), QStringLiteral("100"));
    EXPECT_EQ(conta(QStringLiteral("FatTestFe")), 0);
    EXPECT_EQ(registrati(), QStringList());
    EXPECT_EQ(lock(), QStringList());
}

TEST_P(Chiusura, ADocumentThatCannotBeClosedIsLeftForTheRecovery)
{
    const struct {
        const char *nome;
        bool senzaRighe = false;
        bool feRifiutato = false;
        QString utenteLock = kUtenteProva;
        QStringList errori;      // fragments of the error list, in order
        QString lockRimasto;     // "Utente Stato" of the document's lock afterwards
    } casi[] = {
        {.nome = "piede con errori",
         .senzaRighe = true,
         .errori = {"Errore n\u00b00 : Doc. n.rif %1 anno 2024: errori nel calcolo del piede, totali non scritti in "
                    "Chiusura delle fatture/bolle di Evasione Ordini\r\n",
                    "Documento senza dettagli"},
         .lockRimasto = kUtenteProva + " 2"},
        {.nome = "bollo elettronico rifiutato",
         .feRifiutato = true,
         .errori = {"Doc. n.rif %1 anno 2024: bollo della fattura elettronica non scritto, ", "scrittura rifiutata"},
         .lockRimasto = kUtenteProva + " 2"},
        {.nome = "blocco di un altro utente",
         .utenteLock = QStringLiteral("Rossi"),
         .errori = {"Errore n\u00b03260 : Doc. n.rif %1 anno 2024 in uso da Rossi: totali non scritti in Chiusura "
                    "delle fatture/bolle di Evasione Ordini\r\n"},
         .lockRimasto = QStringLiteral("Rossi 1")},
    };
    int32_t base = 0;
    for (const auto &k : casi) {
        SCOPED_TRACE(k.nome);
        svuota();
        preparaRun(QStringLiteral("FAT"));
        base += 10;
        const int32_t secondo = base + 2;
        if (k.feRifiutato)
            rifiutaScrittura(m_q, GetParam(), QStringLiteral("rifiutafe%1").arg(base), QStringLiteral("FatTestFe"),
                             QStringLiteral("INSERT"), QStringLiteral("NEW.NumRif = %1").arg(secondo));
        documento(fattura(base + 1, {{.iva = "22", .valTotale = 100}}));
        documento(fattura(secondo, k.senzaRighe ? std::vector<RigaProva>{} : std::vector<RigaProva>{{.iva = "E10", .valTotale = 100}},
                          {{"Bolli", "S"}}),
                  k.utenteLock);
        documento(fattura(base + 3, {{.iva = "22", .valTotale = 50}}));

        // The run then keeps its saved criteria, as after a stop.
        EXPECT_TRUE(chiudi());
        int dove = 0;
        for (const QString &e : k.errori) {
            const int trovato = eva.msErrori.indexOf(e.arg(secondo), dove);
            EXPECT_GE(trovato, 0) << e.arg(secondo).toStdString() << " in " << eva.msErrori.toStdString();
            dove = std::max(trovato, dove);
        }
        EXPECT_EQ(totali(base + 1), QStringLiteral("100 0 22 122 100 0"));
        EXPECT_EQ(totali(secondo), QStringLiteral("null null null null null null"));
        EXPECT_EQ(totali(base + 3), QStringLiteral("50 0 11 61 50 0"));
        EXPECT_EQ(registrati(), QStringList({QString::number(secondo)}));
        EXPECT_EQ(lock(), QStringList({QString::number(secondo) + ' ' + k.lockRimasto}));
        EXPECT_EQ(conta(QStringLiteral("FatTestFe WHERE NumRif = %1").arg(secondo)), 0);
        EXPECT_EQ(eva.mlContaAvanz, 3);
        eva.mlContaAvanz = 0;
    }
}

TEST_P(Chiusura, AnErrorEndsTheClosingAndLeavesTheRestRegistered)
{
    preparaRun(QStringLiteral("FAT"));
    rifiutaScrittura(m_q, GetParam(), QStringLiteral("rifiuta2"), QStringLiteral("FatTest"), QStringLiteral("UPDATE"),
                     QStringLiteral("NEW.NumRif = 2"));
    for (int32_t n = 1; n <= 3; ++n)
        documento(fattura(n, {{.iva = "22", .valTotale = 100}}));
    preparaRun(QStringLiteral("FAT"));
    bool esci = false;
    try {
        ChiudiFatBolle(eva, eva.msAliasDocDaElab, esci, avanzamento);
        ADD_FAILURE() << "the closing went on";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("scrittura rifiutata"))) << e.description().toStdString();
    }
    EXPECT_EQ(eva.msFase, QStringLiteral("Chiusura delle fatture/bolle"));
    EXPECT_EQ(totali(1), QStringLiteral("100 0 22 122 100 0"));
    EXPECT_EQ(totali(2), QStringLiteral("null null null null null null"));
    EXPECT_EQ(registrati(), QStringList({"2", "3"}));
    EXPECT_EQ(lock(), QStringList({"2 " + kUtenteProva + " 2", "3 " + kUtenteProva + " 1"}));
    EXPECT_EQ(eva.mlContaAvanz, 2);
}

TEST_P(Chiusura, AnInvoiceOfTheRunIsClosedWithTheLockAndRegistrationItsAssemblyLeft)
{
    // The document charges' own operations: customer 3 pays by bank receipts in three
    // instalments, each charged INC 2.50.
    addebiti.reset();
    preparaRun(QStringLiteral("FAT"));
    suite::OrderInput o{.cliente = 3};
    o.spese = {{.spesa = "TRA", .importo = 15, .iva = "22"}};
    const int32_t n = ordine(o);
    ASSERT_FALSE(evadi(n)) << eva.msErrori.toStdString();
    selezionaSpese(n);
    bool esci = false;
    EvadoOrdSpese(eva, esci);
    ASSERT_FALSE(esci);
    // The order's one line, as the line conversion writes it.
    suite::insertRow(m_q, QStringLiteral("FatDett"),
                     {{"Anno", 2024}, {"NumRif", 1}, {"RigLiv", 1}, {"RigDet", 1}, {"TipoRiga", "A"},
                      {"Articolo", "ART00001"}, {"Qta", 1.0}, {"ValUnitario", 100.0}, {"ValTotale", 100.0},
                      {"ValEuro", 100.0}, {"GruppoVen", "58"}, {"MastroVen", "01"}, {"ContoVen", "0001"},
                      {"Iva", "22"}, {"Omaggio", "N"}, {"FlScontoPag", "N"}, {"SoggRitAcc", "N"}});
    ASSERT_EQ(registrati(), QStringList({"1"}));
    ASSERT_EQ(lock().size(), 1);
    const QString attesi1 = attesi(1);

    EXPECT_FALSE(chiudi());
    EXPECT_EQ(eva.msErrori, QString());
    EXPECT_EQ(totali(1), attesi1);
    EXPECT_EQ(totali(1).split(' ').value(1), QStringLiteral("22.5"));
    EXPECT_EQ(registrati(), QStringList());
    EXPECT_EQ(lock(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Engines, Chiusura, kBothEngines, engineParamName);

} // namespace
