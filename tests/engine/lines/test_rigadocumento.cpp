// One order line into one document line, on SQLite and PostgreSQL: amounts by their two paths
// and the document's rate, prices, description lines, note flags, provenance, long-description
// placement and packs.
#include "apperror.h"
#include "companyfixture.h"
#include "contesto.h"
#include "conversionediprova.h"
#include "gestrecordset.h"
#include "rowwriter.h"

namespace {

using suite::articleCode;

double numero(const Variant &v) { return v.isBlank() ? 0.0 : v.toDouble(); }

class RigaDocumento : public ConversioneDiProva {};

TEST_P(RigaDocumento, PartialLineRecomputedFromPriceDiscountAndQuantity)
{
    documento(true);
    gbArrUnitIntermedio = true;
    suite::OrderInput o;
    o.righe = {{.articolo = articleCode(1), .qta = 5, .prezzo = 10, .sconto = "10+5", .qtaEvasa = 2}};
    apri(ordine(o));
    conv.numDecGest = 4; // net price 8.55 at four decimals, total at the currency's two
    scriviRiga(1, 1);

    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "Qta")), 3);
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "QtaProv")), 3);
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValUnitario")), 10);
    EXPECT_EQ(campoRiga(1, "ScontoTot").text(), "10+5");
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValTotale")), 25.65);
    // Converted even though the two rates are equal.
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValEuro")), 25.65);
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValLire")), 49665);
}

TEST_P(RigaDocumento, ThirdCurrencyTwinsAtTheDocumentRate)
{
    documento(true, 1.1);
    suite::OrderInput o;
    o.moneta = suite::fx::kNonEuCurrency; // USD, operator "/", at the fixture's 1.085
    o.righe = {{.articolo = articleCode(1), .qta = 1, .prezzo = 100}};
    apri(ordine(o));
    scriviRiga(1, 1);

    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValTotale")), 100);
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValEuro")), 90.91);
    // From the unrounded euro value 90.9090..., not from 90.91.
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValLire")), 176025);
}

TEST_P(RigaDocumento, WholeLineKeepsTheOrderTotalAndItsTwinsUnlessTheRateDiffers)
{
    struct Caso {
        double cambio;
        double qtaEvasa; // what was fulfilled before; equal quantities at eight decimals count as whole
        double lire, euro;
    };
    const Caso casi[] = {{1.0, 0, 1, 2}, {2.0, 0, 239033, 123.45}, {1.0, 4e-9, 1, 2}};
    int32_t doc = 0;
    for (const Caso &k : casi) {
        SCOPED_TRACE(doc);
        suite::OrderInput o;
        o.righe = {{.articolo = articleCode(1),
                    .qta = 5,
                    .prezzo = 10,
                    .sconto = "50",
                    .qtaEvasa = k.qtaEvasa,
                    .extra = {{"ValTotale", 123.45}, {"ValLire", 1.0}, {"ValEuro", 2.0}}}};
        const int32_t n = ordine(o);
        documento(true, k.cambio, ++doc);
        apri(n);
        scriviRiga(1, 1);
        EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValTotale")), 123.45);
        EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValLire")), k.lire);
        EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValEuro")), k.euro);
    }
}

TEST_P(RigaDocumento, OpenOrderRunRecomputesWithTheStagedPrice)
{
    documento(true);
    suite::OrderInput o;
    o.righe = {{.articolo = articleCode(1), .qta = 5, .prezzo = 10}};
    const int32_t n = ordine(o);
    suite::insertRow(m_q, "OrdVenEvaDett",
                     {{"Utente", kUtenteProva}, {"Anno", int16_t(2024)}, {"NumRif", n}, {"RigLiv", int32_t(1)},
                      {"Livello1", " "}, {"Livello2", " "}, {"ASaldo", "N"}, {"QtaDaEva", 5.0},
                      {"ValUnitario", 7.0}});
    eva.obEvasManule = true;
    eva.mbDaOrdAperto = true;
    apri(n);
    scriviRiga(1, 1);
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValUnitario")), 7);
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValTotale")), 35);
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValEuro")), 35);
    EXPECT_DOUBLE_EQ(numero(campoRiga(1, "ValLire")), 67769);
}

TEST_P(RigaDocumento, DescriptionLineHasNoQuantityPriceOrTotal)
{
    suite::OrderInput o;
    o.righe = {{.tipoRiga = "D", .descrizione = "Consegna al piano", .extra = {{"DescPers1", "X"}}}};
    const int32_t n = ordine(o);
    int32_t doc = 0;
    for (const bool fattura : {true, false}) {
        SCOPED_TRACE(fattura);
        documento(fattura, 2.0, ++doc);
        apri(n);
        scriviRiga(1, 1);
        EXPECT_EQ(campoRiga(1, "TipoRiga").text(), "D");
        EXPECT_EQ(campoRiga(1, "NotaSopra").text(), "Consegna al piano");
        EXPECT_TRUE(campoRiga(1, "Qta").isNull());
        EXPECT_TRUE(campoRiga(1, "ValUnitario").isNull());
        EXPECT_TRUE(campoRiga(1, "ValTotale").isNull());
        // Its twins go as the order holds them (none), whatever the rates.
        EXPECT_TRUE(campoRiga(1, "ValLire").isNull());
        EXPECT_TRUE(campoRiga(1, "ValEuro").isNull());
        EXPECT_EQ(campoRiga(1, "DescPers1").text(), fattura ? "SSN" : "X");
    }
}

TEST_P(RigaDocumento, NotePrintFlagsMapped)
{
    const Variant valori[] = {Variant("N"), Variant("a"), Variant("S"), Variant("e"), Variant("X"), Variant::null()};
    suite::OrderInput o;
    for (const Variant &v : valori)
        o.righe.push_back({.articolo = articleCode(1), .qta = 1, .prezzo = 1,
                           .extra = {{"NotaSopraStamp", v}, {"NotaSottoStamp", v}}});
    const int32_t n = ordine(o);

    struct Caso {
        Variant parametro;
        QStringList attesi;
    };
    const Caso casi[] = {{Variant(), {"N", "N", "A", "A", "", ""}}, {Variant("S"), {"N", "N", "S", "S", "", ""}}};
    int32_t doc = 0;
    for (const Caso &k : casi) {
        SCOPED_TRACE(k.parametro.text().toStdString());
        if (!k.parametro.isEmpty())
            c.personale("EvasioneOrd", "NotaSoSotAttEEva", k.parametro);
        documento(false, 1.0, ++doc);
        apri(n);
        for (int32_t i = 1; i <= 6; ++i) {
            scriviRiga(i, i);
            avanti();
        }
        for (int32_t i = 1; i <= 6; ++i) {
            const QString atteso = k.attesi[i - 1];
            EXPECT_EQ(campoRiga(i, "NotaSopraStamp").text(), atteso) << i;
            EXPECT_EQ(campoRiga(i, "NotaSottoStamp").text(), atteso) << i;
            EXPECT_EQ(campoRiga(i, "NotaSopraStamp").isNull(), atteso.isEmpty()) << i;
        }
    }
}

TEST_P(RigaDocumento, IdentityProvenanceAndCopiedFields)
{
    suite::OrderInput o;
    o.extra = {{"Contratto", "C-7"}};
    o.righe = {{.articolo = articleCode(1),
                .qta = 10,
                .prezzo = 2.5,
                .iva = "10",
                .descrizione = "Vite M6",
                .extra = {{"RigLiv", int32_t(7)}, {"FormatoRiga", "F1"}, {"DescPers3", "p3"},
                          {"CentroDiCosto", "CDC1"}, {"BeneUsato", "S"}, {"PercProvv1", 2.5},
                          {"Lunghezza", 1.5}, {"Larghezza", 2.0}, {"Altezza", 3.0}, {"CompGiornMens", "G"},
                          {"DataCompDa", Date::fromYmd(2024, 1, 1)}, {"DataCompA", Date::fromYmd(2024, 12, 31)},
                          {"NotaSopra", "sopra"}, {"NotaSotto", "sotto"}, {"DoveStampoDesLung", int16_t(2)}}}};
    const int32_t n = ordine(o);
    int32_t doc = 0;
    for (const bool fattura : {true, false}) {
        SCOPED_TRACE(fattura);
        documento(fattura, 1.0, ++doc);
        apri(n);
        scriviRiga(8, 10);
        // The new line is the current row of the document lines.
        EXPECT_EQ(eva.mgRecs().LeggiCampo(conv.aliasDettDoc, u"RigLiv").toLong(), 10);

        const auto testo = [&](const char *campo) { return campoRiga(10, campo).text(); };
        const auto num = [&](const char *campo) { return numero(campoRiga(10, campo)); };
        EXPECT_EQ(num("Anno"), 2024);
        EXPECT_EQ(num("NumRif"), doc);
        EXPECT_EQ(num("RigDet"), 8);
        EXPECT_EQ(testo("TipoRiga"), "A");
        EXPECT_EQ(testo("FormatoRiga"), "F1");
        EXPECT_EQ(testo("Articolo"), articleCode(1));
        EXPECT_EQ(testo("Descrizione"), "Vite M6");
        EXPECT_EQ(num("DoveStampoDesLung"), 2);
        EXPECT_EQ(testo("UM"), "PZ");
        EXPECT_EQ(num("FatCon"), 1);
        EXPECT_EQ(num("Qta"), 10);
        EXPECT_EQ(num("ValTotale"), 25);
        EXPECT_EQ(testo("Iva"), "10");
        EXPECT_EQ(testo("GruppoVen") + testo("MastroVen") + testo("ContoVen"), "58010001");
        EXPECT_EQ(testo("Omaggio"), "N");
        EXPECT_EQ(testo("FlScontoPag"), "S");
        EXPECT_EQ(num("PercProvv1"), 2.5);
        EXPECT_EQ(testo("TipoProv"), "O");
        EXPECT_EQ(testo("FattDocumentoProv"), suite::fx::kOrderType);
        EXPECT_EQ(num("AnnoRifProv"), 2024);
        EXPECT_EQ(num("NumRifProv"), n);
        EXPECT_EQ(num("RigaRifProv"), 7);
        EXPECT_EQ(testo("Contratto"), "C-7");
        EXPECT_EQ(num("QtaProv"), 10);
        EXPECT_EQ(num("Lunghezza") + num("Larghezza") + num("Altezza"), 6.5);
        EXPECT_EQ(testo("DescPers3"), "p3");
        EXPECT_EQ(testo("NotaSopra"), "sopra");
        EXPECT_EQ(testo("NotaSotto"), "sotto");
        EXPECT_EQ(testo("CompGiornMens"), "G");
        EXPECT_EQ(campoRiga(10, "DataCompDa").toDate(), Date::fromYmd(2024, 1, 1));
        EXPECT_EQ(campoRiga(10, "DataCompA").toDate(), Date::fromYmd(2024, 12, 31));
        EXPECT_EQ(testo("CentroDiCosto"), "CDC1");
        EXPECT_EQ(testo("BeneUsato"), "S");
        EXPECT_EQ(testo("SoggRitAcc"), "N");
        EXPECT_EQ(num("RigLivRAEE"), 0);
        if (fattura) {
            EXPECT_EQ(num("OrdAnno"), 2024);
            EXPECT_EQ(num("OrdNumRif"), n);
            EXPECT_EQ(num("OrdRigDet"), 7); // the order line's key, not its RigDet
            EXPECT_EQ(testo("Riepilogativa"), "N");
        }
    }
}

TEST_P(RigaDocumento, LongDescriptionPlacement)
{
    struct Caso {
        bool daDocumento;
        const char *tipoDoc;
        const char *doveTipo;
        int16_t atteso;
    };
    // The order line's own placement is 2; the order type's fulfilment type (DDT) has 1.
    const Caso casi[] = {{false, "FAT", "1", 2}, {true, "FAT", "1", 1}, {true, "FAT", "3", 2},
                         {true, " ", "3", 1},    {true, "FAT", "", 0}};
    suite::OrderInput o;
    o.righe = {{.articolo = articleCode(1), .qta = 1, .prezzo = 1, .extra = {{"DoveStampoDesLung", int16_t(2)}}}};
    const int32_t n = ordine(o);
    int32_t doc = 0;
    for (const Caso &k : casi) {
        SCOPED_TRACE(doc);
        documento(true, 1.0, ++doc);
        eva.mbStDesLunDaDoc = k.daDocumento;
        eva.osTipoDocEva = QString::fromLatin1(k.tipoDoc);
        eva.osDoveDesLunga = QString::fromLatin1(k.doveTipo);
        apri(n);
        scriviRiga(1, 1);
        EXPECT_EQ(numero(campoRiga(1, "DoveStampoDesLung")), k.atteso);
    }
}

TEST_P(RigaDocumento, PacksFromDimensionsAndFromPiecesPerPack)
{
    documento(false);
    eva.mbQtaDaDimen = true;
    eva.msQtaDaDimUML = QStringLiteral(";ML;");
    eva.msNotaDimUML = QStringLiteral("\u00a7Colli\u00a7 x \u00a7Lun\u00a7 \u00a7UM\u00a7");
    suite::OrderInput o;
    o.righe = {{.articolo = articleCode(1), .qta = 10, .prezzo = 1, .qtaEvasa = 2.5,
                .extra = {{"UM", "ML"}, {"Colli", int16_t(4)}, {"Lunghezza", 2500.0}, {"NotaSotto", "4 x 2500 ML"}}},
               // ART00004 is sold in packs of 6.
               {.articolo = articleCode(4), .qta = 60, .prezzo = 1, .qtaEvasa = 30, .extra = {{"Colli", int16_t(2)}}}};
    apri(ordine(o));
    scriviRiga(1, 1);
    avanti();
    scriviRiga(2, 2);
    EXPECT_EQ(numero(campoRiga(1, "Colli")), 3);
    EXPECT_EQ(campoRiga(1, "NotaSotto").text(), "3 x 2500 ML");
    EXPECT_EQ(numero(campoRiga(2, "Colli")), 5);
}

TEST_P(RigaDocumento, ArithmeticFailureStoresNothingAndLeavesNoPendingRow)
{
    documento(false);
    eva.mdDivPezziConf = 0;
    suite::OrderInput o;
    o.righe = {{.articolo = articleCode(4), .qta = 60, .prezzo = 1, .extra = {{"Colli", int16_t(10)}}},
               {.articolo = articleCode(1), .qta = 1, .prezzo = 1}};
    apri(ordine(o));
    try {
        scriviRiga(1, 1);
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), ErrNum::DivByZero);
    }
    EXPECT_EQ(contaRighe("DdtDett"), 0);
    avanti();
    scriviRiga(2, 2);
    EXPECT_EQ(contaRighe("DdtDett"), 1);
    EXPECT_EQ(campoRiga(2, "Articolo").text(), articleCode(1));
}

INSTANTIATE_TEST_SUITE_P(Engines, RigaDocumento, kBothEngines, engineParamName);

} // namespace
