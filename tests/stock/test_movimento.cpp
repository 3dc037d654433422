// The stock movement's own services on both engines: the header writer (year, numbering, the
// document fields, the lock), the row totals, the expense share of a row and the issue values of
// rows with levels.
#include "blocchi.h"
#include "dialoghi.h"
#include "dialoghidiprova.h"
#include "dittaprova.h"
#include "gestrecordset.h"
#include "quotaspese.h"
#include "rowwriter.h"
#include "scrivitestatamov.h"
#include "totalirighemov.h"
#include "utilgenerali.h"
#include "valoriscarico.h"

#include <optional>

namespace {

const QString kUtente = QStringLiteral("mario");

// One call of the header writer with the values a cash sale passes, each changeable.
struct Testata {
    Variant dataReg = Variant(Date::fromYmd(2024, 5, 10));
    QString preDoc;
    int32_t numDoc = 0;
    std::optional<Variant> dataDoc;
    QString numDocTesto, importoSpese;

    // Out.
    int32_t numReg = 0;
    int16_t anno = 0;
    QString utenteLock, aliasTes, chiaveLock;
    int16_t esito = -1;

    void scrivi(GestRecordset &rs)
    {
        QString gestione = QStringLiteral("3");
        esito = ScriviTestataMov(gestione, 2024, dataReg, 15, rs, numReg, anno, utenteLock, aliasTes,
                                 QStringLiteral("VEN"), QStringLiteral("01"), QStringLiteral("14010001"),
                                 QStringLiteral("14"), QStringLiteral("01"), QStringLiteral("0001"),
                                 QStringLiteral("L1"), QStringLiteral("Euro"), QStringLiteral("O"),
                                 QStringLiteral("OC"), 1.0, preDoc, numDoc, chiaveLock, dataDoc, numDocTesto,
                                 importoSpese);
    }
};

class Movimento : public DittaDiProva {
protected:
    void SetUp() override
    {
        DittaDiProva::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        c.menu().responder().setUtente(kUtente);
        giNumDecPrzEuro = 2;
        giNumDecPrzLire = 0;
        giNumDecImpEuro = 2;
    }
    void TearDown() override
    {
        m_rs.ChiudiTutti();
        ggRecLock().ChiudiTutti();
        DittaDiProva::TearDown();
    }

    // A column of the first row of a statement, as the program reads it.
    Variant campo(const QString &sql, QStringView nome)
    {
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, sql);
        return rs.NessunRecord(a) ? Variant() : rs.ValoreCampo(a, nome);
    }
    int conta(const QString &tabella) { return campo("Select Count(*) As N from " + tabella, u"N").toInteger(); }
    Variant testata(int32_t numReg, QStringView nome)
    {
        return campo(QStringLiteral("Select * from MovMagTes where Anno = 2024 and NumReg = %1").arg(numReg), nome);
    }

    GestRecordset m_rs;
};

TEST_P(Movimento, TheFirstHeaderOfAYearIsNumberOneStoredAndLockedForTheCaller)
{
    suite::insertRow(m_q, "MovMagTes", {{"Anno", int16_t{2023}}, {"NumReg", 40}});
    Testata t;
    t.scrivi(m_rs);
    ASSERT_EQ(t.esito, EsitoBlocco::Preso);
    EXPECT_EQ(t.anno, 2024);
    EXPECT_EQ(t.numReg, 1);
    // The record set stays on the new row.
    EXPECT_EQ(m_rs.LeggiCampo(t.aliasTes, u"NumReg").toLong(), 1);
    EXPECT_EQ(testata(1, u"DataReg").toDate(), Date::fromYmd(2024, 5, 10));
    EXPECT_EQ(testata(1, u"MagazzinoDest").text(), "14010001");
    EXPECT_EQ(testata(1, u"AutMan").text(), "A");
    EXPECT_DOUBLE_EQ(testata(1, u"CambioDocOrig").toDouble(), 0);

    const QString lock = QStringLiteral("Select * from LockGest where Tipo = 'M' and Anno = 2024 and NumReg = 1");
    EXPECT_EQ(campo(lock, u"Utente").text(), kUtente);
    EXPECT_EQ(campo(lock, u"Stato").text(), "0");
    EXPECT_EQ(campo(lock, u"Gestione").text(), "3");
    EXPECT_EQ(campo(lock, u"PadreTipo").text(), "O");
    EXPECT_EQ(campo(lock, u"PadreAnno").toInteger(), 2024);
    EXPECT_EQ(campo(lock, u"PadreNumReg").toLong(), 15);
    // the lock names what it belongs to, for whoever releases it by hand
    EXPECT_EQ(campo(lock, u"Varie").text(), "2024-15");
    EXPECT_EQ(ggRecLock().LeggiCampo(t.chiaveLock, u"NumReg").toLong(), 1);

    Testata seconda;
    seconda.scrivi(m_rs);
    EXPECT_EQ(seconda.numReg, 2);
}

TEST_P(Movimento, TheDocumentFieldsGoTogetherAndOnlyWhenTheDocumentIsNamed)
{
    struct Caso {
        const char *nome;
        QString preDoc;
        int32_t numDoc;
        std::optional<Variant> dataDoc;
        QString numDocTesto;
        bool scritti;
        int32_t numDocAtteso;
        Date dataAttesa;
    };
    const Date data = Date::fromYmd(2024, 3, 1), reg = Date::fromYmd(2024, 5, 10);
    const Caso casi[] = {
        {"nessun documento, anche con la data", "", 0, Variant(data), "", false, 0, {}},
        {"prefisso", "B", 0, Variant(data), "", true, 0, data},
        {"numero", "", 12, Variant(data), "", true, 12, data},
        {"numero come testo", "", 12, Variant(data), "77", true, 77, data},
        {"senza data: quella del movimento", "", 12, std::nullopt, "", true, 12, reg},
    };
    for (const Caso &k : casi) {
        SCOPED_TRACE(k.nome);
        Testata t;
        t.preDoc = k.preDoc;
        t.numDoc = k.numDoc;
        t.dataDoc = k.dataDoc;
        t.numDocTesto = k.numDocTesto;
        t.scrivi(m_rs);
        ASSERT_EQ(t.esito, EsitoBlocco::Preso);
        if (!k.scritti) {
            EXPECT_TRUE(testata(t.numReg, u"PreDoc").isNull());
            EXPECT_TRUE(testata(t.numReg, u"NumDoc").isNull());
            EXPECT_TRUE(testata(t.numReg, u"DataDoc").isNull());
            continue;
        }
        EXPECT_EQ(testata(t.numReg, u"PreDoc").text(), k.preDoc);
        EXPECT_EQ(testata(t.numReg, u"NumDoc").toLong(), k.numDocAtteso);
        EXPECT_EQ(testata(t.numReg, u"DataDoc").toDate(), k.dataAttesa);
    }
}

TEST_P(Movimento, TheExpenseAmountIsWrittenOnlyWhenGiven)
{
    Testata senza, con;
    senza.scrivi(m_rs);
    con.importoSpese = QStringLiteral("12,50");
    con.scrivi(m_rs);
    EXPECT_TRUE(testata(senza.numReg, u"ImportoSpese").isNull());
    EXPECT_DOUBLE_EQ(testata(con.numReg, u"ImportoSpese").toDouble(), 12.5);
}

TEST_P(Movimento, NoMovementIsWrittenInYearZero)
{
    Testata t;
    t.dataReg = Variant(Date::fromYmd(2027, 1, 10));
    EXPECT_THROW(t.scrivi(m_rs), AppError);
    EXPECT_EQ(conta("MovMagTes"), 0);
    EXPECT_EQ(conta("LockGest"), 0);
}

TEST_P(Movimento, ADuplicateThatDoesNotGoAwayStopsTheNumberingAfterTenAttempts)
{
    // A unique index beside the key refuses every header of the same causal.
    suite::execSql(m_q, "CREATE UNIQUE INDEX MovMagTesUnaCausale ON MovMagTes (MagCausale)");
    suite::insertRow(m_q, "MovMagTes", {{"Anno", int16_t{2023}}, {"NumReg", 1}, {"MagCausale", "VEN"}});
    Testata t;
    try {
        t.scrivi(m_rs);
        FAIL() << "il movimento non doveva essere scritto";
    } catch (const AppError &e) {
        EXPECT_EQ(UtilGenerali::NumeroErrore(e), 3022);
    }
    EXPECT_EQ(conta("MovMagTes"), 1);
    EXPECT_EQ(conta("LockGest"), 0);
}

TEST_P(Movimento, AnotherUsersLockOnTheNewNumberIsReportedNotTaken)
{
    suite::insertRow(m_q, "LockGest", {{"Tipo", "M"}, {"Anno", int16_t{2024}}, {"NumReg", 1}, {"Utente", "luigi"},
                                       {"Stato", "0"}});
    Testata t;
    t.scrivi(m_rs);
    EXPECT_EQ(t.esito, EsitoBlocco::InUso);
    EXPECT_EQ(t.utenteLock, "luigi");
    EXPECT_EQ(conta("MovMagTes"), 1);
    EXPECT_EQ(campo("Select Utente from LockGest", u"Utente").text(), "luigi");
}

TEST_P(Movimento, TheRowTotalsAreTheSumOfQuantitiesOrOfValues)
{
    for (int r = 1; r <= 2; ++r)
        suite::insertRow(m_q, "MovMagDettApp", {{"Anno", int16_t{2024}}, {"NumReg", 7}, {"RigLiv", r},
                                                {"Qta", r == 1 ? 2.0 : 3.0}, {"ValTotale", r == 1 ? 10.0 : 15.0}});
    suite::insertRow(m_q, "MovMagDettApp", {{"Anno", int16_t{2024}}, {"NumReg", 8}, {"RigLiv", 1}, {"Qta", 100.0}});
    EXPECT_DOUBLE_EQ(TotaliRigheMov("Q", 2024, 7, "App").toDouble(), 5);
    EXPECT_DOUBLE_EQ(TotaliRigheMov("q", 2024, 7, "App").toDouble(), 5);
    EXPECT_DOUBLE_EQ(TotaliRigheMov("V", 2024, 7, "App").toDouble(), 25);
    EXPECT_DOUBLE_EQ(TotaliRigheMov("V", 2024, 9, "App").toDouble(), 0);

    // Any other mode reads nothing: a table that does not exist is not even looked for.
    auto dialoghi = std::make_unique<DialoghiDiProva>();
    DialoghiDiProva &d = *dialoghi;
    auto precedenti = impostaDialoghi(std::move(dialoghi));
    EXPECT_EQ(TotaliRigheMov("P", 2024, 7, "Manca").type(), Variant::Type::Integer);
    EXPECT_EQ(TotaliRigheMov("", 2024, 7, "Manca").toInteger(), 0);
    EXPECT_TRUE(d.mostrati().empty());
    d.rispondi(1);
    EXPECT_EQ(TotaliRigheMov("Q", 2024, 7, "Manca").toInteger(), 0);
    ASSERT_EQ(d.mostrati().size(), 1u);
    EXPECT_TRUE(d.testi().join("").startsWith("Errore(")) << d.testi().join("").toStdString();
    impostaDialoghi(std::move(precedenti));
}

TEST_P(Movimento, IssueValuesOfRowsWithLevelsAreTheWeightedAverageOfTheirLevels)
{
    const QString conLivelli = suite::articleCode(5), senzaLivelli = suite::articleCode(1);
    suite::insertRow(m_q, "MovMagTes", {{"Anno", int16_t{2024}}, {"NumReg", 3}});
    struct Dett {
        int32_t rigLiv;
        QString articolo;
        std::vector<std::pair<double, double>> livelli; // QtaAggMag, ValScarico
    };
    const Dett righe[] = {
        {1, conLivelli, {{3, 10}, {1, 14}}},   // (30 + 14) / 4
        {2, conLivelli, {{2, 10}, {-2, 12}}},  // quantities summing to 0: the sums as they are
        {3, conLivelli, {{0, 5}, {2, 10}}},    // a level without quantity counts once: (5 + 20) / 2
        {4, conLivelli, {}},                   // no level rows: its own values stay
        {5, senzaLivelli, {{1, 99}}},          // an article without levels is not touched
    };
    const char *livelli[] = {"S", "M"};
    for (const Dett &d : righe) {
        suite::insertRow(m_q, "MovMagDett", {{"Anno", int16_t{2024}}, {"NumReg", 3}, {"RigLiv", d.rigLiv},
                                             {"Articolo", d.articolo}, {"ValScarico", 7.0}, {"ValScaricoLire", 7.0}});
        for (size_t i = 0; i < d.livelli.size(); ++i)
            suite::insertRow(m_q, "MovMagLiv",
                             {{"Anno", int16_t{2024}}, {"NumReg", 3}, {"RigLiv", d.rigLiv}, {"Livello1", livelli[i]},
                              {"Livello2", "ROSSO"}, {"QtaAggMag", d.livelli[i].first},
                              {"ValScarico", d.livelli[i].second}, {"ValScaricoLire", d.livelli[i].second * 2}});
    }
    AvanzamentoElab avanzamento;
    AggValoriScarico(avanzamento, 2024, 3, "", "  ");
    EXPECT_EQ(avanzamento.memoria().massimo, 4);

    const auto scarico = [&](int32_t rigLiv, QStringView nome) {
        return campo(QStringLiteral("Select * from MovMagDett where Anno = 2024 and NumReg = 3 and RigLiv = %1").arg(rigLiv),
                     nome)
            .toDouble();
    };
    EXPECT_DOUBLE_EQ(scarico(1, u"ValScarico"), 11);
    EXPECT_DOUBLE_EQ(scarico(1, u"ValScaricoLire"), 22);
    EXPECT_DOUBLE_EQ(scarico(2, u"ValScarico"), 20 + 12);
    EXPECT_DOUBLE_EQ(scarico(2, u"ValScaricoLire"), 40 + 24);
    EXPECT_DOUBLE_EQ(scarico(3, u"ValScarico"), 12.5);
    EXPECT_DOUBLE_EQ(scarico(4, u"ValScarico"), 7);
    EXPECT_DOUBLE_EQ(scarico(4, u"ValScaricoLire"), 7);
    EXPECT_DOUBLE_EQ(scarico(5, u"ValScarico"), 7);
}

INSTANTIATE_TEST_SUITE_P(Engines, Movimento, kBothEngines, engineParamName);

TEST(QuotaSpese, TheShareFollowsTheCausalsRuleAndTheUsersSetting)
{
    giNumDecImpEuro = 2;
    struct Caso {
        const char *regola;
        double importo, totale;
        const char *impostazione;
        double qta, valTotale, valUnit, atteso;
    };
    const Caso casi[] = {
        {"Q", 100, 50, "V", 10, 0, 0, 2},         // by quantity: the same for every unit
        {"q", 100, 50, "v", 10, 0, 0, 2},         // letter case does not matter
        {"V", 100, 1000, "V", 5, 250, 0, 5},      // by value: the row's part over its units
        {"V", 10, 1000, "P", 5, 250, 7.5, 0.75},  // a percentage of the unit value
        {"V", -10, 1000, "V", 5, 250, 7.5, 0.75}, // a negative amount is of the other kind
        {"Q", -100, 50, "P", 10, 0, 0, 2},        // ... a value for a user of percentages
        {"", 100, 50, "V", 10, 0, 0, 0},          // no rule, no share
        {"Q", 4e-9, 50, "V", 10, 0, 0, 0},        // an amount that is 0 at eight decimals
        {"Q", 100, 4e-9, "V", 10, 0, 0, 0},       // a total that is 0
        {"V", 10, 1000, "P", 0, 250, 7.5, 0},     // a row without quantity, percentage or not
    };
    for (const Caso &k : casi) {
        SCOPED_TRACE(std::string(k.regola) + " " + std::to_string(k.importo));
        EXPECT_DOUBLE_EQ(CalcolaQuotaSpese(k.regola, k.importo, k.totale, k.impostazione, k.qta, k.valTotale, k.valUnit),
                         k.atteso);
    }
}

} // namespace
