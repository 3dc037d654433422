// Storing and registration of the header, the letter-of-intent note and the charges of a new
// invoice, and what a stopped order leaves behind.
#include "provaevasione.h"

#include <QSqlQuery>

namespace {

const QString kFaseNuova =
    QStringLiteral(" in Evasione Ordini: Evasione di un singolo Ordine: Creazione nuova testata di Evasione Ordini\r\n");
const QString kPrimaFrase = QStringLiteral("Oper. non imponib.ai sensi ART.8/C DPR 633/72 e succ.mod.\r\n"
                                           "Protocollo ricezione agenzia delle entrate: ");

class Registrazione : public ProvaEvasione {
protected:
    // Every later store of an invoice header is refused by the database.
    void rifiutaAggiornamenti()
    {
        if (pg()) {
            esegui(QStringLiteral("CREATE FUNCTION rifiuta() RETURNS trigger LANGUAGE plpgsql AS "
                                  "$$ BEGIN RAISE EXCEPTION 'aggiornamento rifiutato'; END $$"));
            esegui(QStringLiteral("CREATE TRIGGER rifiuta BEFORE UPDATE ON FatTest FOR EACH ROW EXECUTE FUNCTION rifiuta()"));
        } else {
            esegui(QStringLiteral("CREATE TRIGGER rifiuta BEFORE UPDATE ON FatTest "
                                  "BEGIN SELECT RAISE(ABORT, 'aggiornamento rifiutato'); END"));
        }
    }

    QStringList lock() const
    {
        QStringList out;
        QSqlQuery q(m_q);
        q.exec(QStringLiteral("SELECT Tipo, NumReg, Utente, Stato, Gestione, PadreTipo, PadreNumReg FROM LockGest"));
        while (q.next()) {
            QStringList r;
            for (int i = 0; i < 7; ++i)
                r << q.value(i).toString();
            out << r.join(QLatin1Char(' '));
        }
        return out;
    }
};

TEST_P(Registrazione, ThreeOrdersIntoOneInvoice)
{
    preparaRun(QStringLiteral("FAT"));
    // Customer 4 has a letter of intent in force, cited by its orders.
    const int32_t primo = ordine({.cliente = 4});
    ASSERT_FALSE(evadi(primo)) << eva.msErrori.toStdString();
    ASSERT_FALSE(evadi(ordine({.cliente = 4})));
    esegui(QStringLiteral("UPDATE PdcDicIntenti SET ProtRicezione = 'P-3' WHERE Conto = '0004'"));
    ASSERT_FALSE(evadi(ordine({.cliente = 4})));
    EXPECT_EQ(eva.msErrori, QString());

    EXPECT_EQ(conta("FatTest"), 1);
    EXPECT_EQ(testata(1, "ElePdcDicIntenti").toString(), kPrimaFrase + QStringLiteral("P-3"));
    EXPECT_EQ(conta("DocDaElab"), 1);
    QSqlQuery q(m_q);
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT Utente, Programma, Anno, NumReg, Comando, DataOraEvas FROM DocDaElab")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), kUtenteProva);
    EXPECT_EQ(q.value(1).toString(), kProgrammaProva);
    EXPECT_EQ(q.value(2).toInt(), 2024);
    EXPECT_EQ(q.value(3).toInt(), 1);
    EXPECT_EQ(q.value(4).toString(), QStringLiteral("C"));
    EXPECT_FALSE(q.value(5).isNull());
    EXPECT_EQ(lock(), QStringList({"F 1 " + kUtenteProva + " 1 3 O " + QString::number(primo)}));

    ASSERT_EQ(addebiti->chiamate.size(), 2u);
    const QStringList comuni = {"FatSpese", "2024", "1", "", "+", "", "14-01-0004", "", "TR60", "", "Euro"};
    EXPECT_EQ(addebiti->chiamate[0].servizio, QStringLiteral("AggiungiSpeseBanca"));
    EXPECT_EQ(addebiti->chiamate[0].argomenti, comuni + QStringList({"N8"}));
    EXPECT_EQ(addebiti->chiamate[1].servizio, QStringLiteral("AggiungiBolliDoc"));
    EXPECT_EQ(addebiti->chiamate[1].argomenti, comuni + QStringList({""}));
}

TEST_P(Registrazione, AChargeErrorIsListedAndTheRunGoesOn)
{
    preparaRun(QStringLiteral("FAT"));
    addebiti->erroreSpeseBanca = 7;
    addebiti->testoSpeseBanca = QStringLiteral("Pagamento senza spesa");
    EXPECT_FALSE(evadi(ordine({.ragOrd = QStringLiteral("N")})));
    EXPECT_EQ(eva.msErrori, QStringLiteral("Errore n\u00b07 : Pagamento senza spesa") + kFaseNuova);
    EXPECT_EQ(addebiti->chiamate.size(), 2u);
    EXPECT_EQ(conta("DocDaElab"), 1);

    // A text with the error number 0 is no error.
    addebiti->erroreSpeseBanca = 0;
    EXPECT_FALSE(evadi(ordine({.ragOrd = QStringLiteral("N")})));
    EXPECT_EQ(eva.miNumErrori, 1);
    EXPECT_EQ(conta("DocDaElab"), 2);
}

TEST_P(Registrazione, AStoppedOrderLeavesNoEmptyHeaderNorLock)
{
    preparaRun(QStringLiteral("FAT"));
    rifiutaAggiornamenti();
    EXPECT_TRUE(evadi(ordine({})));
    EXPECT_EQ(eva.miNumErrori, 1);
    EXPECT_TRUE(eva.msErrori.endsWith(kFaseNuova)) << eva.msErrori.toStdString();
    EXPECT_TRUE(eva.msErrori.contains(QStringLiteral("aggiornamento rifiutato")));
    EXPECT_EQ(conta("FatTest"), 0);
    EXPECT_EQ(conta("LockGest"), 0);
    EXPECT_EQ(conta("DocDaElab"), 0);
    EXPECT_TRUE(addebiti->chiamate.empty());
}

TEST_P(Registrazione, ARegisteredDocumentKeepsItsLockAndRegistration)
{
    preparaRun(QStringLiteral("FAT"));
    const int32_t primo = ordine({});
    ASSERT_FALSE(evadi(primo));
    rifiutaAggiornamenti();
    EXPECT_TRUE(evadi(ordine({})));
    EXPECT_TRUE(eva.msErrori.endsWith(
        QStringLiteral(" in Evasione Ordini: Evasione di un singolo Ordine di Evasione Ordini\r\n")));
    EXPECT_EQ(testata(1, "OrdNumRif").toInt(), primo);
    EXPECT_EQ(lock(), QStringList({"F 1 " + kUtenteProva + " 1 3 O " + QString::number(primo)}));
    EXPECT_EQ(conta("DocDaElab"), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, Registrazione, kBothEngines, engineParamName);

} // namespace
