// The header notes: the type's default codes, the order's carried codes, the payment terms' note
// of an invoice, the free notes of several orders.
#include "provaevasione.h"

namespace {

using suite::FieldValues;

class NoteTestata : public ProvaEvasione {
protected:
    QStringList codici(int32_t numRif) const
    {
        return {testata(numRif, "NumNota1").toString(), testata(numRif, "NumNota2").toString(),
                testata(numRif, "NumNota3").toString()};
    }
};

TEST_P(NoteTestata, TypeNotesThenTheOrdersCarriedCodes)
{
    preparaRun(QStringLiteral("DDT"));
    esegui(QStringLiteral("UPDATE FattDocumenti SET NumNota1 = NULL, NumNota2 = 'N01', NumNota3 = 'N02' "
                          "WHERE FattDocumento = 'DDT'"));
    // The type's codes packed to the front; of the order's, N02 is not carried into documents
    // and n01 is the type's own code in another case: only N03 is added.
    ASSERT_FALSE(evadi(ordine({.extra = {{"NumNota1", "N02"}, {"NumNota2", "n01"}, {"NumNota3", "N03"}}})));
    EXPECT_EQ(codici(1), QStringList({"N01", "N02", "N03"}));

    // A found header with a free place packs its codes and takes the order's new ones.
    esegui(QStringLiteral("UPDATE DdtTest SET NumNota1 = NULL, NumNota2 = '', NumNota3 = 'N01'"));
    ASSERT_FALSE(evadi(ordine({.extra = {{"NumNota1", "N03"}, {"NumNota3", "N01"}}})));
    EXPECT_EQ(codici(1), QStringList({"N01", "N03", ""}));

    // With three codes the order's are ignored.
    esegui(QStringLiteral("UPDATE DdtTest SET NumNota3 = 'X'"));
    ASSERT_FALSE(evadi(ordine({.extra = {{"NumNota1", "N03"}}})));
    EXPECT_EQ(codici(1), QStringList({"N01", "N03", "X"}));
}

TEST_P(NoteTestata, TheInvoicesPaymentNoteTakesTheThirdPlace)
{
    preparaRun(QStringLiteral("FAT"));
    esegui(QStringLiteral("UPDATE FattDocumenti SET NumNota1 = 'A', NumNota2 = 'B', NumNota3 = 'C' "
                          "WHERE FattDocumento = 'FAT'"));
    // Customer 3 pays by bank receipts, whose terms carry the note N03.
    ASSERT_FALSE(evadi(ordine({.cliente = 3, .extra = {{"NumNota1", "N01"}}})));
    EXPECT_EQ(codici(1), QStringList({"A", "B", "N03"}));
    EXPECT_TRUE(testata(1, "Nota").isNull());
}

TEST_P(NoteTestata, FreeNotesOfSeveralOrders)
{
    preparaRun(QStringLiteral("DDT"));
    const FieldValues primo = {{"EvasioneNota", "S"}, {"Nota", "Consegnare al mattino"}};
    ASSERT_FALSE(evadi(ordine({.extra = primo})));
    EXPECT_EQ(testata(1, "Nota").toString(), QStringLiteral("Consegnare al mattino"));
    EXPECT_EQ(testata(1, "StampoNota").toString(), QStringLiteral("S"));
    EXPECT_EQ(testata(1, "EvasioneNota").toString(), QStringLiteral("S"));

    ASSERT_FALSE(evadi(ordine({.extra = {{"EvasioneNota", "e"}, {"Nota", "Fragile"}}})));
    EXPECT_EQ(testata(1, "Nota").toString(), QStringLiteral("Consegnare al mattino\r\nFragile"));
    EXPECT_EQ(testata(1, "StampoNota").toString(), QStringLiteral("N"));
    EXPECT_EQ(testata(1, "EvasioneNota").toString(), QStringLiteral("e"));

    // Not carried: nothing changes; carried with no text: the line break alone.
    ASSERT_FALSE(evadi(ordine({.extra = {{"EvasioneNota", "N"}, {"Nota", "Interna"}}})));
    EXPECT_EQ(testata(1, "Nota").toString(), QStringLiteral("Consegnare al mattino\r\nFragile"));
    EXPECT_EQ(testata(1, "EvasioneNota").toString(), QStringLiteral("e"));
    ASSERT_FALSE(evadi(ordine({.extra = {{"EvasioneNota", "E"}, {"Nota", Variant::null()}}})));
    EXPECT_EQ(testata(1, "Nota").toString(), QStringLiteral("Consegnare al mattino\r\nFragile\r\n"));

    // An order whose note is not carried gives a new delivery note EvasioneNota "N".
    ASSERT_FALSE(evadi(ordine({.ragOrd = QStringLiteral("N"), .extra = {{"EvasioneNota", "N"}}})));
    EXPECT_EQ(testata(2, "EvasioneNota").toString(), QStringLiteral("N"));
    EXPECT_TRUE(testata(2, "StampoNota").isNull());
}

INSTANTIATE_TEST_SUITE_P(Engines, NoteTestata, kBothEngines, engineParamName);

} // namespace
