// The payment schedule on the company fixture, on both engines: start rules, spacings, VAT
// treatments, excluded months, charges per instalment and the error lines.
#include "dittaprova.h"
#include "scadutil.h"

#include <gtest/gtest.h>

namespace {

using suite::FieldValues;

struct Schedule {
    std::vector<Date> date;
    std::vector<double> importi;
    std::vector<double> spese;
    int16_t numScad = 0;
    int16_t numErrori = 0;
    QString errori;
    Date decorrenza;
};

struct Richiesta {
    Date data = Date::fromYmd(2024, 1, 15);
    double netto = 1000;
    double iva = 220;
    QString pagamento;
    QString gruppo = QStringLiteral("14"), mastro = QStringLiteral("01"), conto = QStringLiteral("0001");
    int16_t numDec = 2;
    int16_t modo = kScadNoSpese;
    double perc = 0;
    double passo = 0.01;
    QString modoArrot = QStringLiteral("A");
    double minimo = 0, massimo = 0;
    std::vector<double> spese{};
};

Schedule calcola(const Richiesta &r, Schedule s = {})
{
    s.spese = r.spese;
    int16_t modo = r.modo;
    Currency perc = Currency::fromDouble(r.perc), passo = Currency::fromDouble(r.passo);
    QString modoArrot = r.modoArrot;
    double minimo = r.minimo, massimo = r.massimo;
    CalcoloScadenze(r.data, r.netto, r.iva, r.pagamento, r.gruppo, r.mastro, r.conto, r.numDec, s.date, s.importi,
                    s.numScad, s.numErrori, s.errori, modo, perc, s.spese, passo, modoArrot, minimo, massimo,
                    s.decorrenza);
    return s;
}

Date d(int a, int m, int g) { return Date::fromYmd(a, m, g); }

class Scadenze : public DittaDiProva {
protected:
    void SetUp() override
    {
        DittaDiProva::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        // Terms of every shape used below; "T" and "A" tables in months and days.
        const auto termini = [&](const char *codice, int numScad, const char *dec, const char *per, const char *tratt,
                                 int gf, int ggmm, FieldValues extra = {}) {
            FieldValues v = {{"Pagamento", codice}, {"Descrizione", codice}, {"PagTipo", "RD"},
                             {"NumScad", numScad},   {"Decorrenza", dec},     {"Periodicita", per},
                             {"TrattamIva", tratt},  {"GiornoFisso", gf},     {"NumGGMM", ggmm}};
            v.insert(v.end(), extra.begin(), extra.end());
            suite::insertRow(m_q, QStringLiteral("Pagamenti"), v);
        };
        termini("ZERO", 0, "", "M", "P", 0, 0);
        termini("M3F", 3, "F", "M", "P", 0, 1);
        termini("M3F10", 3, "F", "M", "P", 10, 1);
        termini("M3U", 3, "", "M", "U", 0, 1);
        termini("M3N", 3, "", "M", "N", 0, 1);
        termini("M1U", 1, "", "M", "U", 0, 1);
        termini("D5", 1, "D", "G", "P", 5, 0);
        termini("T3", 3, "", "T", "N", 0, 0,
                {{"Periodo1", 1}, {"Percentuale1", 30.0}, {"Periodo2", 1}, {"Percentuale2", 30.0}, {"Periodo3", 1},
                 {"Percentuale3", 30.0}});
        termini("A2", 2, "", "A", "N", 0, 0,
                {{"Periodo1", 30}, {"Percentuale1", 0.0}, {"Periodo2", 30}, {"Percentuale2", 0.0}});
        termini("NEG", -1, "", "M", "P", 0, 1);
        // A customer who excludes August without a replacement day.
        suite::insertRow(m_q, QStringLiteral("PianoConti"),
                         {{"Gruppo", "14"}, {"Mastro", "01"}, {"Conto", "0099"}, {"Descrizione", "Cliente agosto"},
                          {"MeseNoEf1", 8}, {"MeseNoEf2", 0}, {"GioMesSucc1", 0}, {"GioMesSucc2", 0}});
    }
};

TEST_P(Scadenze, OneInstalmentWhenTheTermsHaveNone)
{
    Richiesta r;
    r.pagamento = QStringLiteral("ZERO");
    const Schedule s = calcola(r);
    EXPECT_EQ(s.numErrori, 0);
    ASSERT_EQ(s.numScad, 1);
    ASSERT_EQ(s.importi.size(), 2u);
    EXPECT_DOUBLE_EQ(s.importi[1], 1220.0);
    EXPECT_EQ(s.date[1], r.data);
    EXPECT_EQ(s.decorrenza, r.data);
}

TEST_P(Scadenze, StartRulesAndDueDates)
{
    Richiesta r;
    r.pagamento = QStringLiteral("M3F");
    Schedule s = calcola(r);
    EXPECT_EQ(s.decorrenza, d(2024, 1, 31));
    ASSERT_EQ(s.numScad, 3);
    EXPECT_EQ(s.date[1], d(2024, 2, 29));
    EXPECT_EQ(s.date[2], d(2024, 3, 31));
    EXPECT_EQ(s.date[3], d(2024, 4, 30));

    r.pagamento = QStringLiteral("M3F10");
    s = calcola(r);
    EXPECT_EQ(s.decorrenza, d(2024, 2, 10));
    EXPECT_EQ(s.date[1], d(2024, 3, 10));
    EXPECT_EQ(s.date[2], d(2024, 4, 10));
    EXPECT_EQ(s.date[3], d(2024, 5, 10));

    r.pagamento = QStringLiteral("D5");
    r.data = d(2024, 3, 20);
    EXPECT_EQ(calcola(r).decorrenza, d(2024, 4, 5));
    r.data = d(2024, 3, 3);
    EXPECT_EQ(calcola(r).decorrenza, d(2024, 3, 5));
}

TEST_P(Scadenze, ExcludedMonths)
{
    // Customer 6 excludes August (due on the 10th of September instead) and December.
    Richiesta r;
    r.pagamento = QStringLiteral("M3F");
    r.conto = QStringLiteral("0006");
    r.data = d(2024, 6, 15);
    Schedule s = calcola(r);
    ASSERT_EQ(s.numScad, 3);
    EXPECT_EQ(s.date[1], d(2024, 7, 31));
    EXPECT_EQ(s.date[2], d(2024, 9, 10));
    EXPECT_EQ(s.date[3], d(2024, 9, 30)); // counted from 31 August

    r.conto = QStringLiteral("0099"); // August excluded, no replacement day
    s = calcola(r);
    EXPECT_EQ(s.date[2], d(2024, 9, 30));
    EXPECT_EQ(s.date[3], d(2024, 10, 31)); // counted from 30 September
}

TEST_P(Scadenze, AmountsByVatTreatmentAndTable)
{
    struct Caso {
        const char *pagamento;
        double netto, iva;
        std::vector<double> attesi;
    };
    const Caso casi[] = {
        {"M3U", 1000, 220, {220, 500, 500}},
        {"M3F", 1000, 220, {553.33, 333.33, 333.34}},
        {"M3N", 1000, 220, {406.67, 406.67, 406.66}},
        {"T3", 1000, 0, {300, 300, 400}},      // the last takes the rest of the percentages
        {"A2", 1000, 0, {500, 500}},           // percentage 0: equal shares
        {"M1U", 1000, 220, {1220}},            // one instalment under "U" is "P"
    };
    for (const Caso &k : casi) {
        SCOPED_TRACE(k.pagamento);
        Richiesta r;
        r.pagamento = QString::fromLatin1(k.pagamento);
        r.netto = k.netto;
        r.iva = k.iva;
        const Schedule s = calcola(r);
        EXPECT_EQ(s.numErrori, 0);
        ASSERT_EQ(s.numScad, static_cast<int16_t>(k.attesi.size()));
        for (size_t i = 0; i < k.attesi.size(); ++i)
            EXPECT_NEAR(s.importi[i + 1], k.attesi[i], 1e-9) << "rata " << i + 1;
    }
    Richiesta r;
    r.pagamento = QStringLiteral("A2");
    const Schedule s = calcola(r);
    EXPECT_EQ(s.date[1], d(2024, 2, 14));
    EXPECT_EQ(s.date[2], d(2024, 3, 15));
}

TEST_P(Scadenze, ChargesPerInstalment)
{
    Richiesta r;
    r.pagamento = QStringLiteral("M3F");
    r.modo = kScadCalcolaSpese;
    r.perc = 1.5;
    r.modoArrot = QStringLiteral("S");
    Schedule s = calcola(r);
    ASSERT_EQ(s.numErrori, 0) << s.errori.toStdString();
    ASSERT_EQ(s.spese.size(), 4u);
    EXPECT_NEAR(s.spese[1], 8.30, 1e-9); // 1.5 % of 553.33 is 8.29995, up to the cent
    EXPECT_NEAR(s.spese[2], 5.00, 1e-9);
    EXPECT_NEAR(s.spese[3], 5.01, 1e-9);
    EXPECT_NEAR(s.importi[1], 561.63, 1e-9);
    EXPECT_NEAR(s.importi[3], 338.35, 1e-9);

    // Without a step the charge goes to the document's decimals, in its mode.
    r.passo = 0;
    s = calcola(r);
    EXPECT_EQ(s.numErrori, 0);
    EXPECT_NEAR(s.spese[1], 8.30, 1e-9);

    // A minimum raises a small charge; a maximum of 0 never caps.
    r = Richiesta{};
    r.pagamento = QStringLiteral("ZERO");
    r.netto = 120;
    r.iva = 0;
    r.modo = kScadCalcolaSpese;
    r.perc = 1;
    r.minimo = 1.5;
    s = calcola(r);
    EXPECT_NEAR(s.spese[1], 1.50, 1e-9);
    EXPECT_NEAR(s.importi[1], 121.50, 1e-9);

    // Charges given by the caller come off the net amount and back onto each instalment.
    r = Richiesta{};
    r.pagamento = QStringLiteral("M3N");
    r.netto = 1006;
    r.iva = 0;
    r.modo = kScadSpeseDate;
    r.spese = {0, 2, 2, 2};
    s = calcola(r);
    ASSERT_EQ(s.numScad, 3);
    EXPECT_NEAR(s.importi[1], 335.33, 1e-9);
    EXPECT_NEAR(s.importi[3], 335.34, 1e-9);
}

TEST_P(Scadenze, ErrorsAndEarlyEnds)
{
    // A stale caller's variables never come back from an early end.
    Schedule vecchio;
    vecchio.numScad = 7;
    vecchio.numErrori = 3;
    vecchio.errori = QStringLiteral("vecchio");
    Richiesta r;
    r.pagamento = QStringLiteral("NONCE");
    Schedule s = calcola(r, vecchio);
    EXPECT_EQ(s.numScad, 0);
    EXPECT_EQ(s.numErrori, 0);
    EXPECT_TRUE(s.errori.isEmpty());
    r.pagamento.clear();
    EXPECT_EQ(calcola(r, vecchio).numScad, 0);

    r.pagamento = QStringLiteral("NEG");
    EXPECT_EQ(calcola(r).numScad, -1);

    r.pagamento = QStringLiteral("M3F");
    r.conto = QStringLiteral("7777");
    s = calcola(r);
    EXPECT_EQ(s.numErrori, 1);
    EXPECT_EQ(s.numScad, 0);
    EXPECT_EQ(s.errori, QStringLiteral("Errore n°0 : Manca il cliente con codice :14-01-7777 in Calcolo scadenze\r\n"));

    // A rounding mode the library does not know is an error of the calculation.
    r.conto = QStringLiteral("0001");
    r.modo = kScadCalcolaSpese;
    r.perc = 1;
    r.modoArrot = QStringLiteral("X");
    s = calcola(r);
    EXPECT_EQ(s.numErrori, 1);
    EXPECT_TRUE(s.errori.startsWith(QStringLiteral("Errore n°5 : "))) << s.errori.toStdString();
    EXPECT_TRUE(s.errori.endsWith(QStringLiteral(" in Calcolo scadenze\r\n")));
}

INSTANTIATE_TEST_SUITE_P(Motori, Scadenze, kBothEngines, engineParamName);

TEST(TestoErroreScad, ThirtyLinesThenDotsThenOnlyCounted)
{
    ErroriScadenze e;
    for (int i = 0; i < 32; ++i)
        TestoErroreScad(e, 13, QStringLiteral("Tipo non corrispondente"));
    EXPECT_EQ(e.numero, 32);
    EXPECT_EQ(e.testo.count(QStringLiteral("\r\n")), 30);
    EXPECT_TRUE(e.testo.endsWith(QStringLiteral("\r\n..............")));
    EXPECT_TRUE(e.testo.startsWith(QStringLiteral("Errore n°13 : Tipo non corrispondente in Calcolo scadenze\r\n")));
}

TEST(LimitaImporto, BoundsAtEightDecimals)
{
    EXPECT_DOUBLE_EQ(LimitaImporto(1.5, 0, 1.2), 1.5);
    EXPECT_DOUBLE_EQ(LimitaImporto(1.5, 0, 99), 99);
    EXPECT_DOUBLE_EQ(LimitaImporto(0, 5, 7), 5);
    EXPECT_DOUBLE_EQ(LimitaImporto(0, 5, 5.000000001), 5.000000001); // equal at eight decimals
    EXPECT_DOUBLE_EQ(LimitaImporto(0, 0, 7), 7);
}

} // namespace
