// The selected expenses of an order carried into its delivery note, on both engines.
#include "apperror.h"
#include "provaevasione.h"
#include "righediprova.h"
#include "spesedocumento.h"

namespace {

class SpeseDocumento : public ProvaEvasione {
protected:
    void SetUp() override
    {
        ProvaEvasione::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        // An expense code that is never carried into documents.
        suite::insertRow(m_q, QStringLiteral("Spese"), {{"Spesa", "NOEV"}, {"TipoEvasione", int16_t{0}}});
    }

    void nuovoRun()
    {
        svuota();
        esegui(QStringLiteral("DELETE FROM DdtSpese"));
        esegui(QStringLiteral("DELETE FROM OrdVenEvaSpese"));
        preparaRun(QStringLiteral("DDT"));
    }

    // The order's expense row staged for a user.
    void stagia(int32_t numOrd, int32_t riga, const char *selez, const QString &utente = kUtenteProva)
    {
        suite::insertRow(m_q, QStringLiteral("OrdVenEvaSpese"),
                         {{"Utente", utente}, {"Anno", 2024}, {"NumRif", numOrd}, {"Riga", riga}, {"Selez", selez}});
    }

    // The order into its delivery note, every expense of it selected, as an automatic run does.
    void evadiConSpese(int32_t numOrd)
    {
        ASSERT_FALSE(evadi(numOrd)) << eva.msErrori.toStdString();
        selezionaSpese(numOrd);
        bool esci = false;
        EvadoOrdSpese(eva, esci);
        EXPECT_FALSE(esci);
    }

    // The delivery note's expense rows: "Riga Spesa Importo Iva Percentuale ImportoMax ImportoMin SoggRitAcc".
    QStringList righe() const
    {
        return righeDb(QStringLiteral("SELECT Riga, Spesa, Importo, Iva, Percentuale, ImportoMax, ImportoMin, "
                                      "SoggRitAcc FROM DdtSpese ORDER BY Riga"));
    }
};

TEST_P(SpeseDocumento, TwoOrdersIntoOneDocumentByTheKindOfTransfer)
{
    const struct {
        const char *spesa;
        QStringList attese;
    } casi[] = {
        {"TRA", {"1 TRA 10 22 1 20 2 S"}},                         // 1: once per document
        {"IMB", {"1 IMB 10 22 1 20 2 S", "2 IMB 5 10 3 30 3 N"}}, // 2: every time
        {"INC", {"1 INC 15 22 1 20 2 S"}},                         // 3: summed, the rest of the first
        {"NOEV", {}},                                              // 0: never
    };
    for (const auto &k : casi) {
        SCOPED_TRACE(k.spesa);
        nuovoRun();
        suite::OrderInput a{.cliente = 2};
        a.spese = {{.spesa = k.spesa, .importo = 10, .percentuale = 1, .iva = "22",
                    .extra = {{"ImportoMax", 20.0}, {"ImportoMin", 2.0}, {"SoggRitAcc", "S"}}}};
        suite::OrderInput b{.cliente = 2};
        b.spese = {{.spesa = k.spesa, .importo = 5, .percentuale = 3, .iva = "10",
                    .extra = {{"ImportoMax", 30.0}, {"ImportoMin", 3.0}, {"SoggRitAcc", "N"}}}};
        evadiConSpese(ordine(a));
        evadiConSpese(ordine(b));
        EXPECT_EQ(conta(QStringLiteral("DdtTest")), 1);
        EXPECT_EQ(righe(), k.attese);
        EXPECT_EQ(eva.msErrori, QString());
    }
}

TEST_P(SpeseDocumento, OnlyTheUsersSelectionAfterTheLastRow)
{
    nuovoRun();
    suite::OrderInput o{.cliente = 2};
    o.spese = {{.spesa = "TRA", .importo = 10}, {.spesa = "IMB", .importo = 7}, {.spesa = "INC", .importo = 4}};
    const int32_t n = ordine(o);
    ASSERT_FALSE(evadi(n)) << eva.msErrori.toStdString();
    suite::insertRow(m_q, QStringLiteral("DdtSpese"), {{"Anno", 2024}, {"NumRif", 1}, {"Riga", 4}, {"Spesa", "ZZZ"}});
    stagia(n, 1, "S");
    stagia(n, 2, "N");
    stagia(n, 3, "S", QStringLiteral("Rossi"));

    // A run already stopped carries nothing.
    bool esci = true;
    EvadoOrdSpese(eva, esci);
    EXPECT_TRUE(esci);
    EXPECT_EQ(righe().size(), 1);

    esci = false;
    EvadoOrdSpese(eva, esci);
    EXPECT_EQ(righe(), QStringList({"4 ZZZ null null null null null null", "5 TRA 10 22 0 0 0 N"}));
    EXPECT_EQ(eva.msFase, QStringLiteral("Evasione spese: Creazione spese fattura"));
}

TEST_P(SpeseDocumento, ANullAmountIsSummedAsZero)
{
    nuovoRun();
    suite::OrderInput a{.cliente = 2};
    a.spese = {{.spesa = "INC", .extra = {{"Importo", Variant::null()}}}};
    suite::OrderInput b{.cliente = 2};
    b.spese = {{.spesa = "INC", .importo = 5}};
    evadiConSpese(ordine(a));
    EXPECT_EQ(righe(), QStringList({"1 INC null 22 0 0 0 N"}));
    evadiConSpese(ordine(b));
    EXPECT_EQ(righe(), QStringList({"1 INC 5 22 0 0 0 N"}));
}

TEST_P(SpeseDocumento, AnExpenseCodeMissingFromTheMasterStopsTheTransfer)
{
    nuovoRun();
    suite::OrderInput o{.cliente = 2};
    o.spese = {{.spesa = "TRA", .importo = 10}, {.spesa = "ZZZ", .importo = 3}, {.spesa = "IMB", .importo = 7}};
    const int32_t n = ordine(o);
    ASSERT_FALSE(evadi(n));
    for (int32_t riga = 1; riga <= 3; ++riga)
        stagia(n, riga, "S");
    bool esci = false;
    EXPECT_THROW(EvadoOrdSpese(eva, esci), AppError);
    EXPECT_EQ(righe(), QStringList({"1 TRA 10 22 0 0 0 N"}));
    EXPECT_EQ(eva.msFase, QStringLiteral("Evasione spese: Creazione spese fattura"));
}

TEST_P(SpeseDocumento, ANewInvoicesChargesComeBeforeTheOrdersExpenses)
{
    // The document charges' own operations in place of the recording ones.
    addebiti.reset();
    svuota();
    esegui(QStringLiteral("DELETE FROM OrdVenEvaSpese"));
    preparaRun(QStringLiteral("FAT"));
    // Customer 3: bank receipts in three instalments with the collection charge INC (2.50 each).
    suite::OrderInput o{.cliente = 3};
    o.spese = {{.spesa = "TRA", .importo = 15}};
    evadiConSpese(ordine(o));
    EXPECT_EQ(eva.msErrori, QString());
    EXPECT_EQ(righeDb(QStringLiteral("SELECT Riga, Spesa, Importo FROM FatSpese ORDER BY Riga")),
              QStringList({"1 INC 7.5", "2 TRA 15"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, SpeseDocumento, kBothEngines, engineParamName);

} // namespace
