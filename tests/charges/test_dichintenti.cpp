// The letter-of-intent note of an invoice: the letters cited, the templates and their markers,
// the account's own letter where the database keeps none, failures.
#include "dichintenti.h"
#include "dialoghidiprova.h"
#include "dittaprova.h"

#include "connessionedb.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPrimaFrase = QStringLiteral("Oper. non imponib.ai sensi ART.8/C DPR 633/72 e succ.mod.");

class DichIntenti : public DittaDiProva {
protected:
    void SetUp() override
    {
        DittaDiProva::SetUp();
        giNumDecPrzEuro = 2;
    }

    void esegui(const QString &sql)
    {
        QSqlQuery q(m_q);
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    }

    // Customer 4's note (it has letter 1 in force: protocol, number 4 of 10/01/2024, 50000).
    QString nota(const Variant &codice = Variant(int16_t{0}), const QString &dicIntenti = {},
                 const QString &testoDef = {})
    {
        return TestoDichIntenti("14", "01", "0004", dicIntenti, QStringLiteral("DichIntentiTab"), testoDef, importo,
                                codice, &errore);
    }

    // A second letter in force of customer 4, and no protocol on either.
    void dueLettere()
    {
        esegui(QStringLiteral("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Attivo, "
                              "NrPrgIntenti, DataRicComIntenti, NrDichIntenti, DataDichIntenti, ImportoDichIntenti, "
                              "RifComunicIntenti) VALUES ('14', '01', '0004', 2, 'S', 9, '2024-03-01', 7, "
                              "'2024-02-20', 1234.5, 2)"));
        esegui(QStringLiteral("UPDATE PdcDicIntenti SET ProtRicezione = NULL"));
    }

    void modello(const QString &testo) { c.personale(QStringLiteral("Fatture"), QStringLiteral("DichIntentiTab"), Variant(testo)); }

    double importo = -1;
    ErroreDichIntenti errore;
};

TEST_P(DichIntenti, NothingToCite)
{
    EXPECT_EQ(TestoDichIntenti("14", "01", "0001", {}, "DichIntentiTab", {}, importo, Variant(int16_t{0}), &errore),
              QStringLiteral("NO"));
    EXPECT_EQ(importo, 0.0);
    esegui(QStringLiteral("UPDATE PdcDicIntenti SET Attivo = 'N'"));
    EXPECT_EQ(nota(), QStringLiteral("NO"));
    // The order's own letter is cited whatever its state.
    EXPECT_TRUE(nota(Variant(int16_t{1})).startsWith(kPrimaFrase));
    EXPECT_EQ(errore.numero, 0);
}

TEST_P(DichIntenti, StandardSentenceWithTheProtocol)
{
    esegui(QStringLiteral("UPDATE PdcDicIntenti SET ProtRicezione = '24011012345678-000004'"));
    EXPECT_EQ(nota(Variant(int16_t{1})),
              kPrimaFrase + kCrLf + QStringLiteral("Protocollo ricezione agenzia delle entrate: 24011012345678-000004"));
    EXPECT_EQ(importo, 50000.0);
}

TEST_P(DichIntenti, StandardSentenceOneLinePerLetter)
{
    dueLettere();
    EXPECT_EQ(nota(), kPrimaFrase + kCrLf + QStringLiteral("Vostra dich. nr.4 del  10/01/2024 - Nostra Reg. 4 del 10/01/2024") +
                          kCrLf + QStringLiteral("Vostra dich. nr.7 del  20/02/2024 - Nostra Reg. 9 del 01/03/2024"));
    EXPECT_DOUBLE_EQ(importo, 51234.5);
}

TEST_P(DichIntenti, SectionsForOneAndForSeveralLetters)
{
    modello(QStringLiteral("\u00a7M0\u00a7uno\u00a7/M0\u00a7\u00a7mn\u00a7pi\u00f9\u00a7/Mn\u00a7:\u00a7RigIni\u00a7["
                           "\u00a7Codice\u00a7\u00a7M1\u00a7 primo\u00a7/M1\u00a7\u00a7M2\u00a7 poi\u00a7/M2\u00a7"
                           "\u00a7MUL\u00a7 ultimo\u00a7/MUL\u00a7\u00a7M-UL\u00a7,\u00a7/M-UL\u00a7"
                           "\u00a7Rif1\u00a7 r1\u00a7/Rif1\u00a7\u00a7Rif2\u00a7 r2\u00a7/Rif2\u00a7]\u00a7RigFin\u00a7 fine"));
    EXPECT_EQ(nota(), QStringLiteral("uno:[1 r1] fine"));
    dueLettere();
    EXPECT_EQ(nota(), QStringLiteral("pi\u00f9:[1 primo, r1][2 poi ultimo r2] fine"));
    EXPECT_DOUBLE_EQ(importo, 51234.5);

    // Without a repeated section the whole template goes once per letter.
    modello(QStringLiteral("[\u00a7Codice\u00a7 \u00a7Importo\u00a7]"));
    EXPECT_EQ(nota(), QStringLiteral("[1 50.000][2 1.234,5]"));
    EXPECT_DOUBLE_EQ(importo, 51234.5);
}

TEST_P(DichIntenti, TemplateAndInsertOfTheAccount)
{
    modello(QStringLiteral("Vedi \u00a3parola\u00a3 n.\u00a7NrDich\u00a7"));
    EXPECT_EQ(nota(Variant(int16_t{0}), QStringLiteral("\u00a3inserto\u00a3")), QStringLiteral("Vedi inserto n.4"));
    EXPECT_EQ(nota(Variant(int16_t{0}), QStringLiteral("testo libero")), QStringLiteral("Vedi parola n.4"));
    // The account's framed text is the template, whatever is configured.
    EXPECT_EQ(nota(Variant(int16_t{0}), QStringLiteral("\u00a7Lettera \u00a7Codice\u00a7 del \u00a7DtDich\u00a7\u00a7")),
              QStringLiteral("Lettera 1 del 10/01/2024"));
    // A sign alone is no frame.
    modello({});
    EXPECT_TRUE(nota(Variant(int16_t{0}), QStringLiteral("\u00a7"), QStringLiteral("ripiego \u00a7Codice\u00a7"))
                    .startsWith(QStringLiteral("ripiego 1")));
}

TEST_P(DichIntenti, EmptyDatesAndZeroNumbersPrintNothing)
{
    esegui(QStringLiteral("UPDATE PdcDicIntenti SET DataRicAE = NULL, NrPrgIntenti = 0, DataAIntenti = NULL"));
    modello(QStringLiteral("\u00a7AnnoRicAgEn\u00a7|\u00a7DtRicAgEn\u00a7|\u00a7NrRic\u00a7|\u00a7DataA\u00a7|"
                           "\u00a7DataDa\u00a7"));
    EXPECT_EQ(nota(), QStringLiteral("||||01/01/2024"));
    // A block without its closing tag stays as it is.
    modello(QStringLiteral("\u00a7M0\u00a7 aperto \u00a7Codice\u00a7"));
    EXPECT_EQ(nota(), QStringLiteral("\u00a7M0\u00a7 aperto 1"));
}

TEST_P(DichIntenti, TheAccountsOwnLetterWhereTheDatabaseKeepsNone)
{
    c.parametro(QStringLiteral("Fat.MessDichIntenti"), Variant("Rif."));
    c.personale(QStringLiteral("Fatture"), QStringLiteral("DichIntentiDopo"), Variant("in corso"));
    c.personale(QStringLiteral("Fatture"), QStringLiteral("DichIntentiTesto"),
                Variant(QStringLiteral("Dich. \u00a7NrDich\u00a7 del \u00a7DtDich\u00a7, reg. \u00a7NrRic\u00a7 del \u00a7DtRic\u00a7")));
    esegui(QStringLiteral("DELETE FROM PdcDicIntenti"));
    EXPECT_EQ(nota(), QStringLiteral("Rif. Vs. dichiarazione d'intento in corso"));
    esegui(QStringLiteral("UPDATE PianoConti SET DicIntenti = NULL"));
    EXPECT_EQ(nota(), QStringLiteral("Dich. 4 del 10/01/2024, reg. 4 del 10/01/2024"));
    EXPECT_EQ(importo, 50000.0);
    esegui(QStringLiteral("DROP TABLE PdcDicIntenti"));
    ggDbAzienda->AggiornaCatalogo(gsNomeConn);
    EXPECT_EQ(nota(Variant(int16_t{1})), QStringLiteral("Dich. 4 del 10/01/2024, reg. 4 del 10/01/2024"));
    esegui(QStringLiteral("UPDATE PianoConti SET NrPrgIntenti = 0"));
    EXPECT_EQ(nota(), QStringLiteral("NO"));
    EXPECT_EQ(errore.numero, 0);
}

TEST_P(DichIntenti, AFailureGivesAnEmptyNoteAndItsCause)
{
    EXPECT_EQ(nota(Variant(int32_t{100000})), QString());
    EXPECT_EQ(errore.numero, 6);

    // Without a caller to tell, the error dialog.
    DialoghiInstallati dialoghi;
    dialoghi->rispondi(1);
    EXPECT_EQ(TestoDichIntenti("14", "01", "0004", {}, "DichIntentiTab", {}, importo, Variant(int32_t{100000})),
              QString());
    ASSERT_EQ(dialoghi->mostrati().size(), 1u);
    EXPECT_TRUE(dialoghi->mostrati().front().testo.contains(QStringLiteral("Errore(6)")))
        << dialoghi->mostrati().front().testo.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, DichIntenti, kBothEngines, engineParamName);

} // namespace
