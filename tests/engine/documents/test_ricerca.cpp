// Which open header an order joins: a second order, like a first one or differing in one term,
// against the header the first one made (retouched where the case says); each case on SQLite and
// on PostgreSQL.
#include "provaevasione.h"

#include "contesto.h"

namespace {

using suite::FieldValues;

struct CasoRicerca {
    const char *nome;
    FieldValues primo{};           // fields of the first order
    FieldValues secondo{};         // fields of the second order
    QString ritocco{};             // SET clause applied to the first header before the second order
    QString ragOrd = QStringLiteral("S");
    bool fattura = false;
    int cliente = 1;
    int16_t splitPay = 0;
    QString raggrDataRif{};
    QString dicIntentiVerif = QStringLiteral("V");
    bool stessoOrdine = false;     // the second call converts the first order again
    bool unisce = true;
};

const Variant kNull = Variant::null();

const std::vector<CasoRicerca> kCasi = {
    {.nome = "S: an order like the first joins its header"},
    {.nome = "N: never joins", .ragOrd = "N", .unisce = false},
    {.nome = "n in lower case: never joins", .ragOrd = "n", .unisce = false},
    {.nome = "empty rule: never joins", .ragOrd = "", .unisce = false},
    {.nome = "a header with a state is closed", .ritocco = "Stato = 'S'", .unisce = false},
    {.nome = "another registration date", .ritocco = "DataRif = '2024-05-09'", .unisce = false},
    {.nome = "RaggrDataRif n: the registration date does not count", .ritocco = "DataRif = '2024-05-09'",
     .raggrDataRif = "n"},
    {.nome = "same destination code, other name", .primo = {{"IndSped", "D1"}},
     .secondo = {{"IndSped", "D1"}, {"RagSoc", "Altro nome"}}},
    {.nome = "other destination code", .primo = {{"IndSped", "D1"}}, .secondo = {{"IndSped", "D2"}}, .unisce = false},
    {.nome = "no destination code: a header with one is not joined", .ritocco = "IndSped = 'D1'", .unisce = false},
    {.nome = "no destination code: another address", .secondo = {{"IndirizzoSped", "Via Po 1"}}, .unisce = false},
    {.nome = "an empty destination code on both", .primo = {{"IndSped", ""}}, .secondo = {{"IndSped", ""}}},
    {.nome = "no destination code joins a header with an empty one", .primo = {{"IndSped", ""}}},
    {.nome = "an empty destination code joins a header without one", .secondo = {{"IndSped", ""}}},
    {.nome = "an empty destination code: a header with one is not joined", .primo = {{"IndSped", ""}},
     .secondo = {{"IndSped", ""}}, .ritocco = "IndSped = 'D1'", .unisce = false},
    {.nome = "an empty destination code: another address", .primo = {{"IndSped", ""}},
     .secondo = {{"IndSped", ""}, {"IndirizzoSped", "Via Po 1"}}, .unisce = false},
    {.nome = "an empty name and address join Null ones", .primo = {{"IndSped", ""}, {"RagSoc", ""}, {"IndirizzoSped", ""}},
     .secondo = {{"RagSoc", kNull}, {"IndirizzoSped", kNull}}},
    {.nome = "split payment: the order's IvaSosp does not count", .secondo = {{"IvaSosp", "S"}}, .splitPay = 2},
    {.nome = "IvaSosp differs", .secondo = {{"IvaSosp", "S"}}, .unisce = false},
    {.nome = "no withholding joins a header with Null", .ritocco = "PercRitAcc = NULL"},
    {.nome = "another withholding rate", .secondo = {{"PercRitAcc", 20.0}}, .unisce = false},
    {.nome = "empty language joins a Null language", .primo = {{"Lingua", kNull}}, .secondo = {{"Lingua", ""}},
     .ritocco = "Lingua = NULL"},
    {.nome = "empty language joins an empty one", .primo = {{"Lingua", ""}}, .secondo = {{"Lingua", kNull}}},
    {.nome = "another language", .secondo = {{"Lingua", "DE"}}, .unisce = false},
    {.nome = "Null and empty grouping fields are the same",
     .secondo = {{"Banca", ""}, {"CIG", ""}, {"Vettore", kNull}},
     .ritocco = "Banca = NULL, CUP = NULL, Vettore = ''"},
    {.nome = "every grouping text empty on one side and Null on the other",
     .primo = {{"IndSped", ""}, {"ScontoPag", ""}, {"Banca", ""}, {"Vettore", ""}, {"Resa", ""}, {"Agente1", ""},
               {"Agente2", ""}, {"Lingua", ""}, {"CIG", ""}, {"CUP", ""}},
     .secondo = {{"Resa", kNull}, {"Agente1", kNull}, {"Lingua", kNull}}},
    {.nome = "C: an empty contract joins a header without one", .primo = {{"Contratto", kNull}},
     .secondo = {{"Contratto", ""}}, .ragOrd = "C"},
    {.nome = "a bank on one side only", .secondo = {{"Banca", "BPM"}}, .unisce = false},
    {.nome = "names with apostrophes", .primo = {{"RagSoc", "Dell'Orto"}, {"IndirizzoSped", "Via dell'Arco"}},
     .secondo = {{"RagSoc", "Dell'Orto"}, {"IndirizzoSped", "Via dell'Arco"}}},
    {.nome = "codes compared ignoring case", .secondo = {{"Pagamento", "bb30"}, {"Agente1", "ag01"}}, .cliente = 2},
    {.nome = "no letter of intent: a header with one is not joined", .ritocco = "PdcDicIntenti = 1", .unisce = false},
    {.nome = "DicIntentiVerif S: the header's letter does not count", .ritocco = "PdcDicIntenti = 1",
     .dicIntentiVerif = "S"},
    {.nome = "the same letter of intent", .cliente = 4},
    {.nome = "another letter of intent", .ritocco = "PdcDicIntenti = 2", .cliente = 4, .unisce = false},
    {.nome = "invoice: joins an invoice like it", .fattura = true},
    {.nome = "invoice: a summary invoice is not joined", .ritocco = "Riepilogativa = 'S'", .fattura = true,
     .unisce = false},
    {.nome = "non-EU currency: the run's rate, whatever the order's", .primo = {{"Moneta", "USD"}, {"Cambio", 1.1}},
     .secondo = {{"Moneta", "USD"}, {"Cambio", 1.2}}},
    {.nome = "EU currency: the order's own rate", .primo = {{"Moneta", "SEK"}, {"Cambio", 11.245}},
     .secondo = {{"Moneta", "SEK"}, {"Cambio", 11.3}}, .unisce = false},
    {.nome = "O: the same order joins", .ragOrd = "O", .stessoOrdine = true},
    {.nome = "O: another order does not", .ragOrd = "O", .unisce = false},
    {.nome = "C: the same contract", .primo = {{"Contratto", "K1"}}, .secondo = {{"Contratto", "K1"}}, .ragOrd = "C"},
    {.nome = "C: another contract", .primo = {{"Contratto", "K1"}}, .secondo = {{"Contratto", "K2"}}, .ragOrd = "C",
     .unisce = false},
    {.nome = "a header made under another rule", .ritocco = "RagOrd = 'C'", .unisce = false},
};

class RicercaTestata : public ProvaEvasione {};

TEST_P(RicercaTestata, EachTermFindsOrMissesTheHeader)
{
    for (const CasoRicerca &k : kCasi) {
        SCOPED_TRACE(k.nome);
        svuota();
        preparaRun(k.fattura ? QStringLiteral("FAT") : QStringLiteral("DDT"));
        eva.oiSplitPay = k.splitPay;
        eva.msDicIntentiVerif = k.dicIntentiVerif;
        c.personale(QStringLiteral("EvasioneOrd"), QStringLiteral("RaggrDataRif"), Variant(k.raggrDataRif));
        const auto input = [&](const FieldValues &extra) {
            suite::OrderInput o;
            o.cliente = k.cliente;
            o.ragOrd = k.ragOrd;
            o.extra = extra;
            return o;
        };
        const int32_t primo = ordine(input(k.primo));
        ASSERT_FALSE(evadi(primo)) << eva.msErrori.toStdString();
        ASSERT_EQ(testata(1, "OrdNumRif").toInt(), primo);
        if (!k.ritocco.isEmpty())
            esegui(QStringLiteral("UPDATE %T SET ") + k.ritocco + QStringLiteral(" WHERE NumRif = 1"));
        const int32_t secondo = k.stessoOrdine ? primo : ordine(input(k.secondo));
        EXPECT_FALSE(evadi(secondo)) << eva.msErrori.toStdString();
        EXPECT_EQ(eva.msErrori, QString());
        const int32_t atteso = k.unisce ? 1 : 2;
        EXPECT_EQ(eva.mgRecs().LeggiCampo(eva.msAliasTesDoc, u"NumRif").toLong(), atteso);
        EXPECT_EQ(conta(eva.msTabTesta), atteso);
        EXPECT_EQ(conta(QStringLiteral("DocDaElab")), atteso);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, RicercaTestata, kBothEngines, engineParamName);

} // namespace
