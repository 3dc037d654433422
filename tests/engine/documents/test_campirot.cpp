// The break fields of manual grouping: which two orders need two documents.
#include "provaevasione.h"

#include "campirot.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "utilgenerali.h"

namespace {

using suite::FieldValues;

struct CasoRottura {
    const char *nome;
    FieldValues primo{}, secondo{};
    QString ragOrd = QStringLiteral("S");
    int16_t splitPay = 0;
    bool stessoOrdine = false;
    bool diversi = false;
};

const std::vector<CasoRottura> kCasi = {
    {.nome = "a code in another letter case", .primo = {{"Pagamento", "RD"}, {"Banca", "bpm"}},
     .secondo = {{"Pagamento", "rd"}, {"Banca", "BPM"}}},
    {.nome = "S: contract and order do not count", .primo = {{"Contratto", "K1"}}, .secondo = {{"Contratto", "K2"}}},
    {.nome = "C: another contract", .primo = {{"Contratto", "K1"}}, .secondo = {{"Contratto", "K2"}}, .ragOrd = "C",
     .diversi = true},
    {.nome = "C: the same contract", .primo = {{"Contratto", "K1"}}, .secondo = {{"Contratto", "k1"}}, .ragOrd = "C"},
    {.nome = "O: another order", .ragOrd = "O", .diversi = true},
    {.nome = "O: the same order", .ragOrd = "O", .stessoOrdine = true},
    {.nome = "N: even the same order", .ragOrd = "N", .stessoOrdine = true, .diversi = true},
    {.nome = "both without a letter of intent"},
    {.nome = "a letter of intent on one side", .secondo = {{"PdcDicIntenti", int16_t{1}}}, .diversi = true},
    {.nome = "split payment: IvaSosp does not count", .secondo = {{"IvaSosp", "S"}}, .splitPay = 2},
    {.nome = "IvaSosp differs", .secondo = {{"IvaSosp", "S"}}, .diversi = true},
    {.nome = "name and address count joined", .primo = {{"RagSoc", "Rossi"}, {"IndirizzoSped", "Via Po"}},
     .secondo = {{"RagSoc", "RossiVia"}, {"IndirizzoSped", " Po"}}},
    {.nome = "another destination warehouse", .secondo = {{"MagazzDest", "02"}}, .diversi = true},
    {.nome = "an open order", .secondo = {{"OrdAperto", "S"}}, .diversi = true},
    {.nome = "another CUP", .secondo = {{"CUP", "X"}}, .diversi = true},
    {.nome = "another customer", .secondo = {{"ContoCli", "0002"}}, .diversi = true},
    // Null and the empty text are the same value, as in the search of an open document.
    {.nome = "Null and empty texts", .primo = {{"IndSped", ""}, {"Banca", ""}, {"CIG", ""}, {"Vettore", Variant::null()}},
     .secondo = {{"Vettore", ""}, {"Agente2", ""}, {"MagazzDest", Variant::null()}}},
    {.nome = "C: a Null and an empty contract", .primo = {{"Contratto", Variant::null()}}, .secondo = {{"Contratto", ""}},
     .ragOrd = "C"},
    {.nome = "an empty destination code and one", .primo = {{"IndSped", ""}}, .secondo = {{"IndSped", "D1"}},
     .diversi = true},
};

class CampiRottura : public ProvaEvasione {
protected:
    void leggi(int32_t numRif)
    {
        m_alias = m_recs.Apri(*ggDbAzienda, gsNomeConn, m_alias,
                              QStringLiteral("Select OrdVenTest.* from OrdVenTest Where NumRif = ") +
                                  UtilGenerali::SqlValore(Variant(numRif), 3),
                              false, dbOpenSnapshot);
        CampiRotLeggi(eva, m_recs, m_alias);
    }

    GestRecordset m_recs;
    QString m_alias;
};

TEST_P(CampiRottura, WhichOrdersNeedAnotherDocument)
{
    for (const CasoRottura &k : kCasi) {
        SCOPED_TRACE(k.nome);
        svuota();
        eva.oiSplitPay = k.splitPay;
        const int32_t primo = ordine({.ragOrd = k.ragOrd, .extra = k.primo});
        const int32_t secondo = k.stessoOrdine ? primo : ordine({.ragOrd = k.ragOrd, .extra = k.secondo});
        leggi(primo);
        CampiRotNew2Old(eva);
        leggi(secondo);
        EXPECT_EQ(CampiRotDiversi(eva), k.diversi);
    }
    m_recs.ChiudiTutti();
}

TEST_P(CampiRottura, TheFirstOrderDiffersFromTheEmptyRecord)
{
    scEvaOrdVen nuovo;
    leggi(ordine({}));
    nuovo.mvCampiRotNew = eva.mvCampiRotNew;
    EXPECT_TRUE(CampiRotDiversi(nuovo));
    EXPECT_EQ(eva.mvCampiRotNew.size(), 28);
    m_recs.ChiudiTutti();
}

INSTANTIATE_TEST_SUITE_P(Engines, CampiRottura, kBothEngines, engineParamName);

} // namespace
