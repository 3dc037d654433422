// The header of a cash-sale movement on both engines: its fields from the order, the rate and
// the customer it takes, its year and its lock; a lock that is not the run's, and the release of
// a movement without rows.
#include "blocchi.h"
#include "gestrecordset.h"
#include "provaevasione.h"
#include "rowwriter.h"
#include "testatamovimento.h"

namespace {

using suite::customerAccount;

class TestataMovimento : public ProvaEvasione {
protected:
    void SetUp() override
    {
        ProvaEvasione::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        preparaRun(QStringLiteral("DDT"));
        eva.obEvACorrisp = true;
        eva.osFattDocOrd = suite::fx::kOrderType;
        eva.msCausaleCorr = QStringLiteral("VEN");
        eva.msDestCorr = QStringLiteral("C");
        eva.msGruppoCliCorr = QStringLiteral("14");
        eva.msMastroCliCorr = QStringLiteral("01");
        eva.msContoCliCorr = QStringLiteral("9999");
    }
    void TearDown() override
    {
        ggRecLock().ChiudiTutti();
        ProvaEvasione::TearDown();
    }

    // CreaTestMovMag on the order; true when it stopped.
    bool crea(int32_t numRif)
    {
        apriOrdine(numRif);
        bool esci = false;
        CreaTestMovMag(eva, esci);
        return esci;
    }
    QVariant mov(const QString &campo)
    {
        return valore(QStringLiteral("SELECT ") + campo + QStringLiteral(" FROM MovMagTes WHERE Anno = ") +
                      QString::number(eva.miAnnoMov) + QStringLiteral(" AND NumReg = ") +
                      QString::number(eva.mlNumRegMov));
    }
    QVariant lock(const QString &campo)
    {
        return valore(QStringLiteral("SELECT ") + campo + QStringLiteral(" FROM LockGest WHERE Tipo = 'M'"));
    }
};

TEST_P(TestataMovimento, TheHeaderCarriesTheOrderTheRateAndTheCustomerOfTheSale)
{
    struct Caso {
        const char *nome;
        QString moneta;
        double cambioOrdine;
        bool senzaCliente;
        QString dest;
        double cambio;
        QString cliente; // Gruppo + Mastro + Conto written, "" none
    };
    const QString cliente = customerAccount(3).code();
    const Caso casi[] = {
        {"moneta UE: il cambio dell'ordine", "SEK", 11.3, false, "C", 11.3, cliente},
        {"moneta extra UE: il cambio della richiesta", "USD", 1.2, false, "C", 1.085, cliente},
        {"ordine senza cliente: il cliente dei corrispettivi", "Euro", 1, true, "c", 1, "14019999"},
        {"causale non verso un cliente: nessun cliente", "Euro", 1, false, "M", 1, ""},
    };
    for (const Caso &k : casi) {
        SCOPED_TRACE(k.nome);
        svuota();
        esegui("DELETE FROM MovMagTes");
        eva.msDestCorr = k.dest;
        suite::OrderInput o{.cliente = 3, .moneta = k.moneta, .cambio = k.cambioOrdine};
        o.extra = {{"PreDoc", "X"}, {"NumDoc", 41}};
        if (k.senzaCliente)
            o.extra.push_back({"ContoCli", Variant::null()});
        const int32_t n = ordine(o);
        ASSERT_FALSE(crea(n)) << eva.msErrori.toStdString();

        EXPECT_EQ(eva.miAnnoMov, 2024);
        EXPECT_EQ(eva.mlNumRegMov, 1);
        EXPECT_DOUBLE_EQ(mov("Cambio").toDouble(), k.cambio);
        EXPECT_EQ(mov("MagazzinoDest").toString(), k.cliente);
        EXPECT_EQ(mov("GruppoCliFor").toString() + mov("MastroCliFor").toString() + mov("ContoCliFor").toString(),
                  k.cliente);
        EXPECT_EQ(mov("Moneta").toString(), k.moneta);
        EXPECT_EQ(mov("MagCausale").toString(), "VEN");
        EXPECT_EQ(mov("MagazzinoProv").toString(), "01");
        EXPECT_EQ(mov("Listino").toString(), "L1");
        EXPECT_EQ(mov("FattDocumento").toString(), "OC");
        EXPECT_EQ(mov("PreDoc").toString(), "X");
        EXPECT_EQ(mov("NumDoc").toInt(), 41);
        EXPECT_EQ(mov("DataDoc").toDate(), QDate(2024, 3, 1));
        EXPECT_EQ(mov("DataReg").toDate(), QDate(2024, 5, 10));
        EXPECT_EQ(lock("Utente").toString(), kUtenteProva);
        EXPECT_EQ(lock("PadreNumReg").toInt(), n);
        EXPECT_EQ(lock("Varie").toString(), QStringLiteral("2024-%1").arg(n));
        EXPECT_EQ(ggRecLock().LeggiCampo(eva.msAliasLockMov, u"NumReg").toLong(), 1);
        ggRecLock().ChiudiTutti();
    }
}

TEST_P(TestataMovimento, AnOrderWithoutDocumentNumberGivesAHeaderWithoutDocument)
{
    const int32_t n = ordine({.cliente = 1, .extra = {{"NumDoc", 0}}});
    ASSERT_FALSE(crea(n));
    EXPECT_TRUE(mov("PreDoc").isNull());
    EXPECT_TRUE(mov("NumDoc").isNull());
    EXPECT_TRUE(mov("DataDoc").isNull());
}

TEST_P(TestataMovimento, TheMovementTakesTheFinancialYearItsLockTheRunsYear)
{
    // The stock's year 2024 runs from July to June.
    c.parametro("Mag.AnnoCorr", Variant("2024"));
    c.parametro("Mag.DataInizio", Variant("01/07/2024"));
    c.parametro("Mag.DataFine", Variant("30/06/2025"));
    eva.oiAnno = 2025;
    eva.otDataEvasione = Date::fromYmd(2025, 3, 10);
    const int32_t n = ordine({.cliente = 1});
    ASSERT_FALSE(crea(n)) << eva.msErrori.toStdString();
    EXPECT_EQ(eva.miAnnoMov, 2024);
    EXPECT_EQ(mov("DataReg").toDate(), QDate(2025, 3, 10));
    EXPECT_EQ(lock("Anno").toInt(), 2024);
    EXPECT_EQ(lock("PadreAnno").toInt(), 2025);
    EXPECT_EQ(lock("PadreTipo").toString(), "O");
    EXPECT_EQ(lock("Stato").toString(), "0");
    EXPECT_EQ(lock("Gestione").toString(), "3");

    // Outside the years the stock knows: no movement, an error line.
    eva.otDataEvasione = Date::fromYmd(2027, 3, 10);
    EXPECT_TRUE(crea(n));
    EXPECT_EQ(conta("MovMagTes"), 1);
    EXPECT_TRUE(eva.msErrori.contains("Creazione testata mov. di magazzino")) << eva.msErrori.toStdString();
}

TEST_P(TestataMovimento, ANonEuCurrencyWithoutRateStopsTheOrder)
{
    const int32_t n = ordine({.cliente = 1, .moneta = "USD"});
    eva.setOgCambi(std::make_shared<VettoreChiavi>());
    EXPECT_TRUE(crea(n));
    EXPECT_EQ(conta("MovMagTes"), 0);
    EXPECT_TRUE(eva.msErrori.contains("Manca il cambio della moneta USD")) << eva.msErrori.toStdString();
}

TEST_P(TestataMovimento, AnotherUsersLockOnTheNumberIsReportedAndLeftAlone)
{
    suite::insertRow(m_q, "LockGest", {{"Tipo", "M"}, {"Anno", int16_t{2024}}, {"NumReg", 1}, {"Utente", "luigi"},
                                       {"Stato", "3"}});
    const int32_t n = ordine({.cliente = 1});
    EXPECT_TRUE(crea(n));
    EXPECT_EQ(eva.miNumErrori, 1);
    EXPECT_TRUE(eva.msErrori.contains("Movimento di magazzino n.reg 1 anno 2024 in uso da luigi"))
        << eva.msErrori.toStdString();
    EXPECT_EQ(conta("MovMagTes"), 0);
    EXPECT_EQ(lock("Utente").toString(), "luigi");
    EXPECT_EQ(lock("Stato").toString(), "3");
    EXPECT_TRUE(eva.msAliasLockMov.isEmpty());
}

TEST_P(TestataMovimento, AMovementGivenUpGoesWithItsLock)
{
    const int32_t n = ordine({.cliente = 1});
    ASSERT_FALSE(crea(n));
    CancellaTestMovMag(eva, eva.mgRecs(), eva.msRidMovTes, eva.msAliasLockMov, eva.msAliasTesDoc, true,
                       QStringLiteral("NumMovim"), QStringLiteral("AnnoMovim"));
    EXPECT_EQ(conta("MovMagTes"), 0);
    EXPECT_EQ(conta("LockGest"), 0);
    EXPECT_TRUE(eva.msAliasLockMov.isEmpty());
    EXPECT_EQ(eva.miNumErrori, 0);

    // Without pbFatRiep, on the header it stands on, nothing is released.
    ASSERT_FALSE(crea(n));
    CancellaTestMovMag(eva, eva.mgRecs(), eva.msRidMovTes, eva.msAliasLockMov, eva.msAliasTesDoc, false,
                       QStringLiteral("NumMovim"), QStringLiteral("AnnoMovim"));
    EXPECT_EQ(conta("MovMagTes"), 1);
    EXPECT_EQ(conta("LockGest"), 1);
    EXPECT_TRUE(eva.msAliasLockMov.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, TestataMovimento, kBothEngines, engineParamName);

} // namespace
