// Footers of small invoices and delivery notes, every figure computed by hand from the rules of
// the calculation; each test runs on SQLite and on PostgreSQL and checks the same figures.
#include "dialoghidiprova.h"
#include "provapiede.h"

namespace {

using suite::FieldValues;

const FieldValues kScontoPag = {{"FlScontoPag", "S"}};
const FieldValues kSoggRitAcc = {{"SoggRitAcc", "S"}};

TEST_P(ProvaPiede, TwoRatesExemptGiftsCreditLineAndExpenses)
{
    DocumentoProva d;
    d.testata = {{"Peso", 120.0}};
    d.righe = {{.iva = "22", .valTotale = 25.62, .qta = 3, .valUnitario = 9.99, .sconto = "10+5"},
               {.iva = "22", .valTotale = 100, .qta = 2},
               {.iva = "10", .valTotale = 200, .qta = 4},
               {.iva = "E10", .valTotale = 80},
               {.iva = "22", .valTotale = 10, .omaggio = "S"},
               {.iva = "10", .valTotale = 20, .omaggio = "I"},
               {.iva = "22", .valTotale = -15, .qta = -1},
               {.tipoRiga = "D"}};
    d.spese = {{.spesa = "TRA", .iva = "22", .importo = 15},
               {.spesa = "IMB", .iva = "22", .percentuale = 2},
               {.spesa = "PES", .iva = "10", .importo = 0.5}};
    const auto p = piede(d);
    EXPECT_SENZA_ERRORI(*p);

    // Goods 200 + 110.62 + 80; packing 2 % of them (7.81); weight 120 x 0.50.
    EXPECT_EQ(p->odTotMerce, C("390.62"));
    EXPECT_EQ(p->odTotSpese, C("82.81"));
    EXPECT_EQ(p->ogSpese.Importo("PES"), C("60"));
    EXPECT_EQ(p->ogSpese.Importo("TRA"), C("15"));
    EXPECT_EQ(p->ogSpese.Importo("IMB"), C("7.81"));
    EXPECT_EQ(p->ogSpesePerc.Importo("2"), C("7.81"));
    EXPECT_EQ(p->ogSpesePerc.Importo("3"), C("60"));
    EXPECT_FALSE(p->ogSpesePerc.Esiste("1"));

    // 10 %: 200 + 60 + the gift "I" 20; 22 %: 110.62 + 22.81 + the gift "S" 10.
    QStringList codici;
    for (const scIva &iva : p->ogIve.ocCollIva)
        codici << iva.osIva;
    EXPECT_EQ(codici, QStringList({"10", "22", "E10"}));
    const scIva &i10 = p->ogIve.ogIva("10"), &i22 = p->ogIve.ogIva("22"), &e10 = p->ogIve.ogIva("E10");
    EXPECT_EQ(i10.odImpon, C("280"));
    EXPECT_EQ(i10.odImpos, C("28"));
    EXPECT_EQ(i22.odImpon, C("143.43"));
    EXPECT_EQ(i22.odImpos, C("31.55"));
    EXPECT_EQ(i22.odIvaOmaggioT, C("2.20"));
    EXPECT_EQ(i22.odImpOmaggioT, C("10"));
    EXPECT_TRUE(e10.obIvaEsente);
    EXPECT_EQ(e10.odImpon, C("80"));
    EXPECT_EQ(p->odTotImponibile, C("423.43"));
    EXPECT_EQ(p->odTotIva, C("59.55"));
    EXPECT_EQ(p->odTotEsente, C("80"));
    EXPECT_EQ(p->odTotEsenteAppBol, C("80"));
    EXPECT_EQ(p->odTotFattura, C("562.98"));
    EXPECT_EQ(p->odTotOmaggi, C("32.20"));
    EXPECT_EQ(p->odTotOmaggiNoIva, C("30"));
    EXPECT_EQ(p->odTotImpOmaggi, C("20"));
    EXPECT_EQ(p->odTotPagare, C("530.78"));
    EXPECT_TRUE(p->odTotBolli.isZero());
    EXPECT_FALSE(p->obFattEsente);
    EXPECT_TRUE(p->obOmaSIvaPres);
    EXPECT_TRUE(p->obOmaTotPres);

    // Counterparts of 22 %: the lines, transport, packing. Their VAT rounded one by one adds
    // up to a cent more than the code's: the last counterpart and its share give it back.
    QStringList conti;
    for (const scControP &cp : i22.ocCollControPte)
        conti << cp.osConto;
    EXPECT_EQ(conti, QStringList({"58010001", "58010002", "58010003"}));
    EXPECT_EQ(i22.ogControp("58010001").odImpos, C("26.54"));
    EXPECT_EQ(i22.ogControp("58010002").odImpos, C("3.30"));
    EXPECT_EQ(i22.ogControp("58010003").odImpos, C("1.71"));
    EXPECT_EQ(i22.ogCdcComp("58010003", "", "").odImpos, C("1.71"));

    // Goods after each cascade discount: 10 then 5 on the first line, the others whole.
    EXPECT_EQ(p->oiNumSconti, 3);
    EXPECT_DOUBLE_EQ(p->odTotMerceSco(1).toDouble(), 394.97);
    EXPECT_DOUBLE_EQ(p->odTotMerceSco(2).toDouble(), 391.97);
    EXPECT_DOUBLE_EQ(p->odTotMerceSco(3).toDouble(), 390.62);
    EXPECT_EQ(p->odTotMerceSco(4).type(), Variant::Type::Integer);
}

TEST_P(ProvaPiede, PaymentDiscountAndApportionedExpense)
{
    DocumentoProva d;
    d.testata = {{"ScontoPag", " 2 "}, {"ScoPagSuDett", "N"}};
    d.righe = {{.iva = "22", .valTotale = 600, .extra = kScontoPag}, {.iva = "10", .valTotale = 400, .extra = kScontoPag}};
    d.spese = {{.spesa = "RIP", .iva = "22", .importo = 100}, {.spesa = "TRS", .iva = "22", .importo = 50}};
    auto p = piede(d);
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->osScontoPag, QStringLiteral("2"));
    EXPECT_EQ(p->obCassaPrevNoImpon, false);
    EXPECT_EQ(p->odScontoPag, C("2"));
    EXPECT_TRUE(p->obApplScontoPag);
    EXPECT_FALSE(p->ogIve.obEsiste(QStringLiteral("~§~Ç")));

    // Incidences on 400 and 650: 38.095 and 61.905. The expense of 100 goes 38.10 and 61.90:
    // the last code takes the rest, so nothing is lost or made up.
    const scIva &i10 = p->ogIve.ogIva("10"), &i22 = p->ogIve.ogIva("22");
    EXPECT_EQ(i10.odIncid, C("38.095"));
    EXPECT_EQ(i22.odIncid, C("61.905"));
    EXPECT_EQ(i10.odSpeseRipart, C("38.10"));
    EXPECT_EQ(i22.odSpeseRipart, C("61.90"));
    EXPECT_EQ(i10.ogControp("58010002").odSValSpese, C("38.10"));
    EXPECT_EQ(i22.ogCdcComp("58010002", "", "").odSValSpese, C("61.90"));

    // 2 % off the goods (8.00, 12.00) and off the expense subject to it (1.00).
    EXPECT_EQ(i10.odScoPagam, C("8"));
    EXPECT_EQ(i22.odScoPagam, C("12"));
    EXPECT_EQ(i22.odScoPagamSpese, C("1"));
    EXPECT_EQ(i22.odBaseScoPagam, C("650"));
    EXPECT_EQ(i22.odTotScoPagam, C("13"));
    EXPECT_EQ(i10.odImpon, C("430.10"));
    EXPECT_EQ(i10.odImpos, C("43.01"));
    EXPECT_EQ(i22.odImpon, C("698.90"));
    EXPECT_EQ(i22.odImpos, C("153.76"));
    EXPECT_EQ(p->odTotMerce, C("1000"));
    EXPECT_EQ(p->odTotSpese, C("150"));
    EXPECT_EQ(p->ogSpese.Importo("RIP"), C("100"));
    EXPECT_EQ(p->odTotImponibile, C("1129"));
    EXPECT_EQ(p->odTotIva, C("196.77"));
    EXPECT_EQ(p->odTotFattura, C("1325.77"));
    EXPECT_EQ(p->odTotPagare, C("1325.77"));

    // A cascade payment discount is held at four decimals: 1,5+1,5+1,5 is 4.432838, 4.4328.
    DocumentoProva e;
    e.numRif = 2;
    e.testata = {{"ScontoPag", "1,5+1,5+1,5"}};
    e.righe = {{.iva = "22", .valTotale = 1000, .extra = kScontoPag}};
    p = piede(e);
    EXPECT_EQ(p->odScontoPag, C("4.4328"));
    EXPECT_EQ(p->ogIve.ogIva("22").odScoPagam, C("44.33"));
}

TEST_P(ProvaPiede, WithholdingWithPackedRateAndPensionFund)
{
    // 20 % on half of the lines subject to withholding; pension fund 4 % of them.
    const auto documento = [](int32_t n, const SpesaProva &cassa) {
        DocumentoProva d;
        d.numRif = n;
        d.testata = {{"PercRitAcc", 2000.5}};
        d.righe = {{.iva = "22", .valTotale = 1000, .extra = kSoggRitAcc}, {.iva = "22", .valTotale = 200}};
        d.spese = {cassa};
        return d;
    };
    const FieldValues cassa = {{"CassaPrev", "S"}, {"Gruppo", "26"}, {"Mastro", "01"}, {"Conto", "0004"}};
    auto p = piede(documento(1, {.spesa = "CPA", .iva = "22", .percentuale = 4, .extra = cassa}));
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->odTotImpRitAcc, C("1000"));
    EXPECT_EQ(p->odTotImpRitAccEff, C("500"));
    EXPECT_EQ(p->odRitAcc, C("100"));
    EXPECT_EQ(p->ouPercCassaPrev, C("4"));
    EXPECT_EQ(p->ouTotCassaPrev, C("40"));
    EXPECT_EQ(p->osCassaPrevGruppo + p->osCassaPrevMastro + p->osCassaPrevConto, QStringLiteral("26010004"));
    EXPECT_EQ(p->odTotSpese, C("40"));
    EXPECT_EQ(p->ogSpese.Importo("CPA"), C("40"));
    EXPECT_EQ(p->ogSpesePerc.Importo("1"), C("40"));
    EXPECT_EQ(p->ogIve.ogIva("22").ogControp("58010004").odSValSpese, C("40"));
    EXPECT_EQ(p->odTotImponibile, C("1240"));
    EXPECT_EQ(p->odTotIva, C("272.80"));
    EXPECT_EQ(p->odTotFattura, C("1512.80"));
    EXPECT_EQ(p->odTotPagare, C("1412.80"));

    // A cap of 30.00; a fixed contribution of 25.00 takes the master's percentage.
    p = piede(documento(2, {.spesa = "CPA", .iva = "22", .percentuale = 4, .massimo = 30, .extra = cassa}));
    EXPECT_EQ(p->ouTotCassaPrev, C("30"));
    p = piede(documento(3, {.spesa = "CPF", .iva = "22", .importo = 25, .extra = cassa}));
    EXPECT_EQ(p->ouTotCassaPrev, C("25"));
    EXPECT_EQ(p->ouPercCassaPrev, C("2"));
    EXPECT_FALSE(p->ogSpesePerc.Esiste("1"));

    // Kept out of the taxable: the contribution is only taken off the amount to pay.
    c.personale("Tutti", "CassaPrevNoImpon", "s");
    p = calcola(documento(1, {}));
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_TRUE(p->obCassaPrevNoImpon);
    EXPECT_EQ(p->ouTotCassaPrev, C("40"));
    EXPECT_TRUE(p->odTotSpese.isZero());
    EXPECT_EQ(p->ogSpese.Conta(), 0);
    EXPECT_TRUE(p->ogSpesePerc.Importo("1").isZero());
    EXPECT_EQ(p->odTotImponibile, C("1200"));
    EXPECT_EQ(p->odTotIva, C("264"));
    EXPECT_EQ(p->odTotFattura, C("1464"));
    EXPECT_EQ(p->odTotPagare, C("1324"));

    // The caller's percentage wins over the header's: 0 means no withholding tax.
    auto calc = std::make_unique<scCalcPiedeFat>();
    tabelle(*calc, true);
    calc->CalcPiedeFat(2024, 1, false, 0);
    EXPECT_TRUE(calc->odRitAcc.isZero());
    EXPECT_EQ(calc->odTotImpRitAcc, C("1000")); // the base of the pension fund all the same
}

TEST_P(ProvaPiede, StampOnExemptAmounts)
{
    const auto esente = [](int32_t n, double valore, FieldValues testata = {{"Bolli", "S"}}) {
        DocumentoProva d;
        d.numRif = n;
        d.testata = std::move(testata);
        d.righe = {{.iva = "E10", .valTotale = valore}};
        return d;
    };
    // Exactly at the threshold no stamp is due; one cent more, 2.00.
    auto p = piede(esente(1, 77.47));
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_TRUE(p->odTotBolli.isZero());
    EXPECT_EQ(p->odTotFattura, C("77.47"));
    EXPECT_TRUE(p->obBolliEsenti);

    p = piede(esente(2, 77.48));
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->odTotBolli, C("2"));
    EXPECT_EQ(p->odTotFattura, C("79.48"));
    EXPECT_EQ(p->odTotEsente, C("79.48"));
    EXPECT_EQ(p->odTotPagare, C("79.48"));
    EXPECT_EQ(p->osGruppoBol + p->osMastroBol + p->osContoBol, QStringLiteral("60100050"));
    const scIva &bollo = p->ogIve.ogIva("E15");
    EXPECT_TRUE(bollo.obIvaBolli);
    EXPECT_TRUE(bollo.obIvaEsente);
    EXPECT_EQ(bollo.osDescrizione, QStringLiteral("Escl. art.15"));
    EXPECT_EQ(bollo.odImpon, C("2"));
    EXPECT_EQ(bollo.ogControp("60100050").odSVal, C("2"));
    EXPECT_EQ(p->oiSpeseScadNum(), 0);

    // A delivery note takes the flag from its caller; a credit note gets the stamp negative.
    DocumentoProva ddt = esente(3, 100, {});
    ddt.fattura = false;
    p = piede(ddt, Variant("S"));
    EXPECT_EQ(p->odTotBolli, C("2"));
    EXPECT_EQ(p->odTotFattura, C("102"));
    p = piede(esente(4, 100, {{"Bolli", "S"}, {"FattDocumento", "NC"}}));
    EXPECT_EQ(p->odTotBolli, C("-2"));
    EXPECT_EQ(p->odTotFattura, C("98"));

    // A non-profit company pays no stamp on exempt amounts.
    c.parametro(QStringLiteral("Fat.Onlus"), Variant("S"));
    p = calcola(esente(2, 0));
    EXPECT_TRUE(p->odTotBolli.isZero());
    EXPECT_EQ(p->odTotFattura, C("77.48"));
}

TEST_P(ProvaPiede, StampsOnInstalments)
{
    const auto fattura = [](int32_t n, const char *pagamento, double valore, std::vector<SpesaProva> spese = {}) {
        DocumentoProva d;
        d.numRif = n;
        d.testata = {{"Bolli", "S"}, {"Pagamento", pagamento}};
        d.righe = {{.iva = "22", .valTotale = valore}};
        d.spese = std::move(spese);
        return d;
    };
    // Bank receipts in three instalments of 1220: the bracket up to 516.46, 2.58 each.
    auto p = piede(fattura(1, "RB306090", 1000));
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->odTotBolli, C("7.74"));
    EXPECT_EQ(p->odTotFattura, C("1227.74"));
    EXPECT_EQ(p->odTotEsente, C("7.74"));
    EXPECT_EQ(p->odTotPagare, C("1227.74"));
    EXPECT_EQ(p->ogIve.ogIva("E15").odImpon, C("7.74"));

    // Twelve monthly bank receipts of 1220, above the fourth bracket: the fifth bracket's 3.62
    // each (its limit times twelve is beyond the currency's range, and compares all the same).
    suite::insertRow(m_q, QStringLiteral("Pagamenti"),
                     {{"Pagamento", "RB12"}, {"Descrizione", "Ri.Ba. mensili"}, {"PagTipo", "RB"}, {"NumScad", 12},
                      {"Decorrenza", "F"}, {"Periodicita", "M"}, {"TrattamIva", "P"}, {"GiornoFisso", 0},
                      {"NumGGMM", 1}});
    p = piede(fattura(10, "RB12", 12000));
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->odTotBolli, C("43.44"));
    EXPECT_EQ(p->odTotPagare, C("14683.44"));

    // An instalment that with its stamp reaches the bracket's limit exactly takes that bracket.
    p = piede(fattura(2, "RB306090", 313.03)); // 381.90 + 3 x 1.81 = 3 x 129.11
    EXPECT_EQ(p->odTotBolli, C("5.43"));
    p = piede(fattura(3, "RB306090", 313.04));
    EXPECT_EQ(p->odTotBolli, C("6.21"));

    // A bill: 12 per mille of 1220, up to the cent; a small one is raised to 2.07.
    p = piede(fattura(4, "TR60", 1000));
    EXPECT_EQ(p->odTotBolli, C("14.64"));
    EXPECT_EQ(p->odTotFattura, C("1234.64"));
    p = piede(fattura(5, "TR60", 100));
    EXPECT_EQ(p->odTotBolli, C("2.07"));

    // A bill with a stamp expense row: the payment schedule prices it, 1.5 % of 1220 up to
    // the cent; the row's account and code take the place of the settings'.
    const FieldValues bollo = {{"TipoAddebito", "T"}};
    p = piede(fattura(6, "TR60", 1000, {{.spesa = "BOLS", .iva = "E15", .percentuale = 1.5, .extra = bollo}}));
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_DOUBLE_EQ(p->odTotBolliScad, 18.30);
    EXPECT_EQ(p->odTotBolli, C("18.30"));
    EXPECT_EQ(p->odTotFattura, C("1238.30"));
    EXPECT_EQ(p->oiSpeseScadNum(), 1);
    EXPECT_DOUBLE_EQ(p->odSpeseScad(1), 18.30);
    EXPECT_TRUE(p->odTotSpese.isZero());
    EXPECT_EQ(p->ogIve.ogIva("E15").ogControp("60100050").odImpon, C("18.30"));
    // An empty rounding flag is not "S": to the nearest cent, and the stamps stay.
    p = piede(fattura(11, "TR60", 1000, {{.spesa = "BOLV", .iva = "E15", .percentuale = 1.5, .extra = bollo}}));
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->odTotBolli, C("18.30"));
    EXPECT_EQ(p->odTotFattura, C("1238.30"));

    // The fixture's stamp expense is not subject to the payment discount: its charge rounds in
    // mode "5", to the nearest step (1 euro: 18.30 gives 18), and is then raised to its minimum.
    p = piede(fattura(7, "TR60", 1000, {{.spesa = "BOL", .iva = "E15", .percentuale = 1.5, .extra = bollo}}));
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->odTotBolli, C("77.47"));
    EXPECT_EQ(p->odTotFattura, C("1297.47"));

    // A stamp row with a code of its own: the code's own VAT data, not the settings' code's.
    p = piede(fattura(9, "TR60", 1000, {{.spesa = "BOLS", .iva = "N8", .percentuale = 1.5, .extra = bollo}}));
    EXPECT_SENZA_ERRORI(*p);
    const scIva &n8 = p->ogIve.ogIva("N8");
    EXPECT_EQ(n8.osDescrizione, QStringLiteral("N.I. art.8 c.1c"));
    EXPECT_TRUE(n8.obIvaEsente);
    EXPECT_EQ(n8.odImpon, C("18.30"));
    EXPECT_EQ(p->odTotEsente, C("18.30"));

    // Without the document's flag no stamp at all.
    DocumentoProva senza = fattura(8, "RB306090", 1000);
    senza.testata = {{"Pagamento", "RB306090"}};
    p = piede(senza);
    EXPECT_TRUE(p->odTotBolli.isZero());
}

TEST_P(ProvaPiede, PricesIncludingVat)
{
    const FieldValues ivati = {{"PrezziIvati", "S"}};
    DocumentoProva d;
    d.testata = ivati;
    d.righe = {{.iva = "22", .valTotale = 122}, {.iva = "10", .valTotale = 55}};
    d.spese = {{.spesa = "TRA", .iva = "22", .importo = 12.20}};
    auto p = piede(d);
    EXPECT_SENZA_ERRORI(*p);
    const scIva *i22 = &p->ogIve.ogIva("22");
    EXPECT_EQ(i22->odSValIvSpese, C("14.88"));
    EXPECT_EQ(i22->odImpon, C("112.20"));
    EXPECT_EQ(i22->odImpos, C("24.68"));
    EXPECT_FALSE(i22->obForzato);
    EXPECT_EQ(p->ogIve.ogIva("10").odImpon, C("50"));
    EXPECT_EQ(p->odTotMerce, C("150"));
    EXPECT_EQ(p->odTotImponibile, C("162.20"));
    EXPECT_EQ(p->odTotIva, C("29.68"));
    EXPECT_EQ(p->odTotFattura, C("191.88"));

    // 10.01 at 22 %: taxable 8.20, VAT 1.81 by difference where the rate gives 1.80.
    d = {};
    d.numRif = 2;
    d.testata = ivati;
    d.righe = {{.iva = "22", .valTotale = 10.01}};
    p = piede(d);
    EXPECT_TRUE(p->ogIve.ogIva("22").obForzato);
    EXPECT_EQ(p->odTotImponibile, C("8.20"));
    EXPECT_EQ(p->odTotIva, C("1.81"));

    // An apportioned expense subject to the payment discount: its shares join the values
    // without VAT too, so the discount reaches them as in a net-price document.
    d = {};
    d.numRif = 3;
    d.testata = {{"PrezziIvati", "S"}, {"ScontoPag", "2"}};
    d.righe = {{.iva = "22", .valTotale = 244, .extra = kScontoPag}, {.iva = "10", .valTotale = 110, .extra = kScontoPag}};
    d.spese = {{.spesa = "RIPS", .iva = "22", .importo = 10}};
    p = piede(d);
    EXPECT_SENZA_ERRORI(*p);
    const scIva &i10 = p->ogIve.ogIva("10");
    i22 = &p->ogIve.ogIva("22");
    EXPECT_EQ(i10.odIncid, C("33.333"));
    EXPECT_EQ(i22->odIncid, C("66.667"));
    EXPECT_EQ(i10.odSValSpesePerSco, C("3.33"));
    EXPECT_EQ(i10.odSValIvSpesePerSco, C("3.66"));
    EXPECT_EQ(i22->odSValIvSpesePerSco, C("8.14"));
    EXPECT_EQ(i10.odScoPagamSpese, C("0.07"));
    EXPECT_EQ(i22->odScoPagamSpese, C("0.16"));
    EXPECT_EQ(i22->odScoPagam, C("4.88"));
    EXPECT_EQ(i10.odImpon, C("101.26"));
    EXPECT_EQ(i10.odImpos, C("10.13"));
    EXPECT_EQ(i22->odImpon, C("202.54"));
    EXPECT_EQ(i22->odImpos, C("44.56"));
    EXPECT_EQ(p->odTotMerce, C("300"));
    EXPECT_EQ(p->odTotImponibile, C("303.80"));
    EXPECT_EQ(p->odTotIva, C("54.69"));
    EXPECT_EQ(p->odTotFattura, C("358.49"));

    // With a pension fund the VAT on expenses is computed again: the apportioned expense
    // stays in it (10 + 4 with 22 % is 17.08).
    d = {};
    d.numRif = 4;
    d.testata = ivati;
    d.righe = {{.iva = "22", .valTotale = 122, .extra = kSoggRitAcc}};
    d.spese = {{.spesa = "RIP", .iva = "22", .importo = 10},
               {.spesa = "CPA", .iva = "22", .percentuale = 4, .extra = {{"CassaPrev", "S"}}}};
    p = piede(d);
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->odTotImpRitAcc, C("100"));
    EXPECT_TRUE(p->odRitAcc.isZero());
    EXPECT_EQ(p->ouTotCassaPrev, C("4"));
    EXPECT_EQ(p->odTotSpese, C("14"));
    i22 = &p->ogIve.ogIva("22");
    EXPECT_EQ(i22->odSValSpese, C("14"));
    EXPECT_EQ(i22->odSValIvSpese, C("17.08"));
    EXPECT_EQ(i22->odImpon, C("114"));
    EXPECT_EQ(i22->odImpos, C("25.08"));
    EXPECT_EQ(p->odTotFattura, C("139.08"));

    // Only exempt codes: the expense goes whole to the first one.
    d = {};
    d.numRif = 5;
    d.testata = ivati;
    d.righe = {{.iva = "E10", .valTotale = 100}, {.iva = "N8", .valTotale = 50}};
    d.spese = {{.spesa = "RIP", .iva = "E10", .importo = 10}};
    p = piede(d);
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_TRUE(p->obFattEsente);
    const scIva &e10 = p->ogIve.ogIva("E10");
    EXPECT_EQ(e10.odSpeseRipart, C("10"));
    EXPECT_EQ(e10.odSValIvSpese, C("10"));
    EXPECT_EQ(e10.odImpon, C("110"));
    EXPECT_EQ(p->odTotEsente, C("160"));
    EXPECT_TRUE(p->odTotIva.isZero());
    EXPECT_EQ(p->odTotFattura, C("160"));
}

TEST_P(ProvaPiede, ForeignCurrencyAndLire)
{
    // Dollars: no stamp settings for a currency other than the lire and the euro.
    DocumentoProva d;
    d.testata = {{"Moneta", "USD"}, {"Cambio", 1.085}, {"Bolli", "S"}};
    d.righe = {{.iva = "22", .valTotale = 100}, {.iva = "E10", .valTotale = 100}};
    auto p = piede(d);
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_TRUE(p->odTotBolli.isZero());
    EXPECT_EQ(p->odTotIva, C("22"));
    EXPECT_EQ(p->odTotFattura, C("222"));

    // Lire, no decimals: VAT rounded up (220.22 is 221) and the lire stamp columns.
    d = {};
    d.numRif = 2;
    d.testata = {{"Moneta", "L."}, {"Bolli", "S"}};
    d.righe = {{.iva = "22", .valTotale = 1001}, {.iva = "E10", .valTotale = 200000}};
    p = piede(d);
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->odTotIva, C("221"));
    EXPECT_EQ(p->odTotBolli, C("3873"));
    EXPECT_EQ(p->odTotFattura, C("205095"));
}

TEST_P(ProvaPiede, DeliveryNoteWithLevelsAndCompetence)
{
    DocumentoProva d;
    d.fattura = false;
    d.righe = {{.iva = "22",
                .valTotale = 999, // the level rows count, not the line
                .livelli = {{.livello1 = "S", .livello2 = "ROSSO", .qta = 2, .valUnitario = 15, .valTotale = 30},
                            {.livello1 = "M", .livello2 = "BLU", .qta = 3, .valUnitario = 15, .valTotale = 45}}},
               {.iva = "22",
                .valTotale = 100,
                .extra = {{"CentroDiCosto", "CC1"},
                          {"CompGiornMens", "G"},
                          {"DataCompDa", Date::fromYmd(2024, 3, 1)},
                          {"DataCompA", Date::fromYmd(2024, 3, 31)}}}};
    const auto p = piede(d, Variant("N"));
    EXPECT_SENZA_ERRORI(*p);
    const scIva &i22 = p->ogIve.ogIva("22");
    EXPECT_EQ(i22.odSVal, C("175"));
    EXPECT_EQ(i22.odImpos, C("38.50"));
    const scControP &cp = i22.ogControp("58010001");
    ASSERT_EQ(cp.ocCdcCompetenza.Count(), 2);
    EXPECT_EQ(cp.ocCdcCompetenza.Item(1).osKey, QStringLiteral("CD"));
    EXPECT_EQ(cp.ocCdcCompetenza.Item(1).odImpos, C("16.50"));
    EXPECT_EQ(cp.ocCdcCompetenza.Item(2).osKey, QStringLiteral("CCC1DG01/03/202431/03/2024"));
    EXPECT_EQ(cp.ocCdcCompetenza.Item(2).odImpon, C("100"));
    EXPECT_EQ(p->odTotMerce, C("175"));
    EXPECT_DOUBLE_EQ(p->odTotMerceSco(1).toDouble(), 175.0);
    EXPECT_EQ(p->odTotFattura, C("213.50"));
}

TEST_P(ProvaPiede, WithholdingRunWithOnlyAnApportionedExpense)
{
    // Only the expense is subject to withholding: in the nested run it has no code to be
    // spread over, which ends that run with an error; the withholding is not computed (the
    // user is told), while the document's own totals are.
    DialoghiInstallati dialoghi;
    dialoghi->rispondi(1);
    DocumentoProva d;
    d.testata = {{"PercRitAcc", 20.0}};
    d.righe = {{.iva = "22", .valTotale = 100}};
    d.spese = {{.spesa = "RIP", .iva = "22", .importo = 10, .extra = kSoggRitAcc}};
    const auto p = piede(d);
    const QString errore = QStringLiteral("Errore n°5 : Spese con IVA da ripartire senza codici IVA su cui ripartirle"
                                          " in  CalcPiedeFat (Ripartizione IVA spese) \r\n");
    ASSERT_EQ(dialoghi->mostrati().size(), 1u);
    EXPECT_EQ(dialoghi->mostrati()[0].testo, errore + "Totali ritenuta d'acconto non aggiornati");
    EXPECT_TRUE(p->osErrori.startsWith(errore)) << p->osErrori.toStdString();
    EXPECT_TRUE(p->odTotImpRitAcc.isZero());
    EXPECT_TRUE(p->odRitAcc.isZero());
    EXPECT_EQ(p->odTotImponibile, C("110"));
    EXPECT_EQ(p->odTotIva, C("24.20"));
    EXPECT_EQ(p->odTotFattura, C("134.20"));
    EXPECT_EQ(p->odTotPagare, C("134.20"));

}

TEST_P(ProvaPiede, ErrorsEndTheCalculationAndAreListed)
{
    DocumentoProva d;
    d.numRif = 13;
    auto p = calcola(d);
    EXPECT_EQ(p->oiNumErrori, 1);
    EXPECT_EQ(p->osErrori,
              QStringLiteral("Errore n°0 : Non è stata trovata la testata del doc. 13 2024 in  CalcPiedeFat (Lettura testata) \r\n"));

    p = piede(d); // a header without lines
    EXPECT_EQ(p->osErrori,
              QStringLiteral("Errore n°0 : Documento senza dettagli: 13 2024 in  CalcPiedeFat (Lettura Dettagli Normali) \r\n"));
    EXPECT_TRUE(p->odTotFattura.isZero());
    auto calc = std::make_unique<scCalcPiedeFat>();
    tabelle(*calc, true);
    calc->obErrNoDett = false;
    calc->CalcPiedeFat(2024, 13, false, -1);
    EXPECT_EQ(calc->oiNumErrori, 0);

    // The errors of the nested withholding run are shown, and join the list.
    DialoghiInstallati dialoghi;
    dialoghi->rispondi(1);
    scCalcPiedeFat vuoto; // no document: the nested run finds no header
    tabelle(vuoto, true);
    vuoto.odRitAcc = C("7");
    vuoto.CalcRitAcc(20, 2);
    ASSERT_EQ(dialoghi->mostrati().size(), 1u);
    EXPECT_TRUE(dialoghi->mostrati()[0].testo.startsWith(QStringLiteral("Errore n°0 : Non è stata trovata la testata")));
    EXPECT_TRUE(dialoghi->mostrati()[0].testo.endsWith(QStringLiteral("\r\nTotali ritenuta d'acconto non aggiornati")));
    EXPECT_EQ(dialoghi->mostrati()[0].pulsanti, QStringList({"&Ok"}));
    EXPECT_EQ(vuoto.oiNumErrori, 2);
    EXPECT_TRUE(vuoto.osErrori.contains(QStringLiteral(" : Totali ritenuta d'acconto non aggiornati in ")));
    EXPECT_EQ(vuoto.odRitAcc, C("7"));

    // A failing read ends the calculation in its stage; the totals are not the document's.
    d.numRif = 14;
    d.righe = {{.iva = "22", .valTotale = 100}};
    scrivi(d);
    tabelle(*calc, true);
    calc->osTabSpese = QStringLiteral("SpeseMancanti");
    calc->CalcPiedeFat(2024, 14, false, -1);
    EXPECT_EQ(calc->oiNumErrori, 1);
    EXPECT_TRUE(calc->osErrori.contains(QStringLiteral("CalcPiedeFat (Lettura Spese)"))) << calc->osErrori.toStdString();
    EXPECT_TRUE(calc->odTotFattura.isZero());
}

TEST_P(ProvaPiede, OneCalculatorForEveryDocumentOfARun)
{
    DocumentoProva a;
    a.testata = {{"Bolli", "S"}, {"Pagamento", "RB306090"}};
    a.righe = {{.iva = "22", .valTotale = 1000}};
    DocumentoProva b;
    b.numRif = 2;
    b.testata = {{"Abbuono", 5.0}, {"Acconto", 60.0}};
    b.righe = {{.iva = "10", .valTotale = 50}};
    scrivi(a);
    scrivi(b);
    scCalcPiedeFat calc;
    tabelle(calc, true);
    calc.CalcPiedeFat(2024, 1, false, -1);
    EXPECT_EQ(calc.odTotBolli, C("7.74"));
    calc.CalcPiedeFat(2024, 2, false, -1);
    EXPECT_SENZA_ERRORI(calc);
    EXPECT_TRUE(calc.odTotBolli.isZero());
    EXPECT_TRUE(calc.odTotEsente.isZero());
    EXPECT_EQ(calc.ogIve.ocCollIva.Count(), 1);
    EXPECT_EQ(calc.odTotFattura, C("55"));
    EXPECT_EQ(calc.odAbbuono, C("5"));
    EXPECT_EQ(calc.odTotPagare, C("-10")); // an advance beyond the total
}

TEST_P(ProvaPiede, ExpenseAmountsBandsAndDiscountOnTheRows)
{
    // 3 % of 1000.00 with a cap of 25, a floor of 40, and neither.
    DocumentoProva d;
    d.righe = {{.iva = "22", .valTotale = 1000}};
    d.spese = {{.spesa = "IMB", .iva = "22", .percentuale = 3, .massimo = 25},
               {.spesa = "IMB", .iva = "22", .percentuale = 3, .minimo = 40},
               {.spesa = "IMB", .iva = "22", .percentuale = 3}};
    auto p = piede(d);
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_EQ(p->ogSpesePerc.Importo("1"), C("25"));
    EXPECT_EQ(p->ogSpesePerc.Importo("2"), C("40"));
    EXPECT_EQ(p->ogSpesePerc.Importo("3"), C("30"));
    EXPECT_EQ(p->ogSpese.Importo("IMB"), C("95"));
    EXPECT_EQ(p->odTotSpese, C("95"));

    // A fixed expense of 8.00 in a band of goods, bounds included; a lone lower bound charges
    // from it up, a lone upper bound up to it.
    struct Caso {
        double merce, minimo, massimo;
        bool addebitata;
    };
    const Caso casi[] = {{99.99, 100, 500, false}, {100, 100, 500, true},  {500, 100, 500, true},
                         {500.01, 100, 500, false}, {99.99, 100, 0, false}, {100, 100, 0, true},
                         {500, 0, 500, true},       {500.01, 0, 500, false}, {1, 0, 0, true}};
    int32_t n = 10;
    for (const Caso &k : casi) {
        SCOPED_TRACE(n);
        DocumentoProva f;
        f.numRif = n++;
        f.righe = {{.iva = "22", .valTotale = k.merce}};
        f.spese = {{.spesa = "TRA", .iva = "22", .importo = 8, .minimo = k.minimo, .massimo = k.massimo}};
        p = piede(f);
        EXPECT_EQ(p->odTotSpese, k.addebitata ? C("8") : Currency());
        // charged or not, the expense has its place in the breakdown and the totals
        EXPECT_TRUE(p->ogSpese.Esiste("TRA"));
        EXPECT_TRUE(p->ogIve.ogIva("22").obCdcCompEsiste("58010002", "", ""));
    }

    // The payment discount already on the rows: the expense enters discounted, and no
    // discount is computed in the footer.
    d = {};
    d.numRif = 30;
    d.testata = {{"ScontoPag", "2"}, {"ScoPagSuDett", "S"}};
    d.righe = {{.iva = "22", .valTotale = 100, .extra = kScontoPag}};
    d.spese = {{.spesa = "TRS", .iva = "22", .importo = 100}};
    p = piede(d);
    EXPECT_SENZA_ERRORI(*p);
    EXPECT_FALSE(p->obApplScontoPag);
    EXPECT_EQ(p->odTotSpese, C("98"));
    EXPECT_EQ(p->ogSpese.Importo("TRS"), C("98"));
    EXPECT_EQ(p->ogIve.ogIva("22").odSValSpese, C("98"));
    EXPECT_EQ(p->ogIve.ogIva("22").odSVal, C("100"));
    EXPECT_EQ(p->odTotImponibile, C("198"));
}

TEST_P(ProvaPiede, MarginSchemeDepositsAndTheDefaultAccount)
{
    suite::insertRow(m_q, QStringLiteral("FattDocumenti"),
                     {{"FattDocumento", "FATM"}, {"Descrizione", "Fattura beni usati"}, {"Tipo", "F"}, {"Segno", "+"},
                      {"RegimeMargine", "S"}});
    suite::insertRow(m_q, QStringLiteral("Articoli"),
                     {{"Articolo", "CAUZ"}, {"Descrizione", "Cassa a rendere"}, {"Cauzione", "S"}, {"ArtMag", "N"}});
    c.personale(QStringLiteral("Fatture"), QStringLiteral("GestVuotiCauz"), Variant("S"));
    const FieldValues senzaConto = {{"GruppoVen", Variant::null()}, {"MastroVen", Variant::null()}, {"ContoVen", Variant::null()}};
    DocumentoProva d;
    d.testata = {{"FattDocumento", "FATM"}};
    d.righe = {{.iva = "22", .valTotale = 100, .extra = {{"BeneUsato", "U"}}},
               {.iva = "22", .valTotale = 50},
               {.iva = "22", .valTotale = 10, .extra = {{"Articolo", "CAUZ"}}},
               {.iva = "22", .valTotale = 200.03, .extra = senzaConto},
               {.iva = "22", .valTotale = 30.03, .extra = {{"ContoVen", "0003"}}}};
    const auto p = piede(d);
    EXPECT_SENZA_ERRORI(*p);

    // Used goods form a key of their own; the line without account comes first (its account is
    // the default sales account), so the plain key is made first.
    QStringList codici;
    for (const scIva &iva : p->ogIve.ocCollIva)
        codici << iva.osIva;
    EXPECT_EQ(codici, QStringList({"22", QStringLiteral("22~§U")}));
    const scIva &i22 = p->ogIve.ogIva("22"), &usati = p->ogIve.ogIva(QStringLiteral("22~§U"));
    EXPECT_EQ(usati.osDescrizione, QStringLiteral("Iva 22%"));
    EXPECT_EQ(usati.odImpos, C("22"));
    EXPECT_EQ(i22.odSVal, C("290.06"));
    EXPECT_EQ(i22.odMerce, C("280.06")); // the deposit is no goods
    EXPECT_EQ(p->odTotMerce, C("380.06"));

    // The counterparts' VAT (57.21 + 6.61) is a cent above the code's 63.81: the last
    // counterpart, the one of account 58-01-0003, gives it back on both engines.
    QStringList conti;
    for (const scControP &cp : i22.ocCollControPte)
        conti << cp.osConto;
    EXPECT_EQ(conti, QStringList({"58010001", "58010003"}));
    EXPECT_EQ(i22.odImpos, C("63.81"));
    EXPECT_EQ(i22.ogControp("58010001").odImpos, C("57.21"));
    EXPECT_EQ(i22.ogControp("58010003").odImpos, C("6.60"));
    EXPECT_EQ(p->odTotFattura, C("475.87"));
}

// Every figure the lines stage files, in its order of filing.
QStringList riassunto(const scCalcPiedeFat &c)
{
    auto importi = [](const ImportiIva &i) {
        return QStringList{i.odSVal.toString(), i.odSValPerSco.toString(), i.odSValOmaggio.toString(),
                           i.odSValOmaggioT.toString(), i.odMerce.toString(), i.odImpon.toString(), i.odImpos.toString()}
            .join(QLatin1Char(' '));
    };
    QStringList r;
    for (const scIva &iva : c.ogIve.ocCollIva) {
        r << iva.osIva + ": " + importi(iva);
        for (int16_t s = 1; s <= iva.oiNumSconti; ++s)
            r << QStringLiteral("  sconto %1: %2").arg(s).arg(iva.odMerceSco(s), 0, 'g', 17);
        for (const scControP &cp : iva.ocCollControPte) {
            r << "  " + cp.osConto + ": " + importi(cp);
            for (int i = 1; i <= cp.ocCdcCompetenza.Count(); ++i)
                r << "    " + cp.ocCdcCompetenza.Item(i).osKey + ": " + importi(cp.ocCdcCompetenza.Item(i));
        }
    }
    r << c.odTotMerce.toString() << c.odTotFattura.toString();
    return r;
}

// A long document is read a few lines at a time: pages that end inside a line's level rows,
// between lines of one RigDet and between VAT codes and accounts give the footer of one page,
// with the rows filed in the same order (the cascade discounts depend on it).
TEST_P(ProvaPiede, LinesReadInPagesGiveTheFooterOfOnePage)
{
    DocumentoProva d;
    d.fattura = false;
    const FieldValues altroConto = {{"ContoVen", "0003"}};
    const FieldValues senzaConto = {{"GruppoVen", Variant::null()}, {"MastroVen", Variant::null()}, {"ContoVen", Variant::null()}};
    d.righe = {{.iva = "22", .valTotale = 100},
               {.iva = "22", .valTotale = 5, .extra = senzaConto},
               {.iva = "10", .valTotale = 50, .sconto = "10+5"},
               {.iva = "22",
                .valTotale = 999,
                .livelli = {{.livello1 = "S", .livello2 = "ROSSO", .qta = 2, .valUnitario = 15, .valTotale = 30},
                            {.livello1 = "M", .livello2 = "BLU", .qta = 3, .valUnitario = 15, .valTotale = 45},
                            {.livello1 = "M", .livello2 = "VERDE", .qta = 1, .valUnitario = 15.5, .valTotale = 15.5}}},
               {.iva = "22", .valTotale = 33.33, .qta = 3, .sconto = "20", .extra = {{"RigDet", 1}}},
               {.iva = "22", .valTotale = 70, .sconto = "5+2", .extra = altroConto},
               {.iva = "22", .valTotale = 12.5, .qta = 2, .extra = altroConto},
               {.iva = "10", .valTotale = 8, .omaggio = "S"},
               {.iva = "22", .valTotale = 0, .tipoRiga = "D"},
               {.iva = "10",
                .valTotale = 0,
                .sconto = "3",
                .livelli = {{.livello1 = "L", .livello2 = "NERO", .qta = 4, .valUnitario = 2.35, .valTotale = 9.4},
                            {.livello1 = "XL", .livello2 = "NERO", .qta = 1, .valUnitario = 2.35, .valTotale = 2.35}}}};
    scrivi(d);
    for (const bool livelli : {true, false}) {
        auto calcolaA = [&](int32_t righe) {
            scCalcPiedeFat calc;
            tabelle(calc, false);
            if (!livelli)
                calc.osTabLiv.clear();
            calc.olRighePagina = righe;
            calc.CalcPiedeFat(d.anno, d.numRif, false, -1, Variant("N"));
            EXPECT_SENZA_ERRORI(calc);
            return riassunto(calc);
        };
        const QStringList intero = calcolaA(1000);
        // Every line counted once: the goods of all but the gift of kind "S".
        EXPECT_EQ(intero.at(intero.size() - 2), livelli ? QStringLiteral("373.08") : QStringLiteral("1269.83"));
        ASSERT_EQ(intero.filter(QStringLiteral("sconto 3:")).size(), 2) << intero.join(QLatin1Char('\n')).toStdString();
        for (const int32_t righe : {1, 2, 3})
            EXPECT_EQ(calcolaA(righe), intero) << "livelli " << livelli << ", righe " << righe;
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, ProvaPiede, kBothEngines, engineParamName);

} // namespace
