// evasord_run's command line, checked as the fulfilment dialog checks its fields: a value that
// is not what its option needs stops it before the company is touched, a request the dialog
// would refuse is refused with the dialog's message, and the dialog's delivery-date range and
// VAT period are taken.
#include "evasionereale.h"

#include <gtest/gtest.h>

namespace {

class RigaDiComando : public ::testing::TestWithParam<Engine> {};

// Nothing of the company touched: no document, lock, saved request or order state.
void intatta(EvasioneReale &r)
{
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM LockGest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM AppoggioTemp"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM OrdVenTest WHERE Stato IS NOT NULL"), QStringList{"0"});
}

TEST_P(RigaDiComando, AWrongValueIsRefusedAsTheDialogRefusesIt)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.ordine({.cliente = 2, .righe = {{.articolo = art(2), .qta = 3, .prezzo = 75.5}}});
    r.ordine({.cliente = 6, .righe = {{.articolo = art(1), .qta = 2, .prezzo = 38.25}}});
    struct Caso {
        QStringList argomenti;
        int uscita;
        QString messaggio;
    };
    const Caso casi[] = {
        // values that are not what the option needs
        {{"--numero-da", "1O"}, 2, "Valore errato per --numero-da: 1O"},
        {{"--numero-a", "x"}, 2, "Valore errato per --numero-a: x"},
        {{"--numero-da", "-1"}, 2, "Valore errato per --numero-da: -1"},
        {{"--cambio", "USD=-1"}, 2, "Valore errato per --cambio: -1"},
        {{"--cambio", "USD=1e400"}, 2, "Valore errato per --cambio: 1e400"},
        {{"--cambio", "USD=0"}, 2, "Valore errato per --cambio: 0"},
        {{"--cambio", "USD"}, 2, "Valore errato per --cambio: USD"},
        {{"--raggruppa", "X"}, 2, "Valore errato per --raggruppa: X"},
        {{"--periodo-iva", "13/2024"}, 2, "Valore errato per --periodo-iva: 13/2024"},
        {{"--periodo-iva", "2024"}, 2, "Valore errato per --periodo-iva: 2024"},
        {{"--consegna-da", "31/02/2024"}, 2, "Valore errato per --consegna-da: 31/02/2024"},
        {{"--data", "ieri"}, 2, "Valore errato per --data: ieri"},
        // requests the dialog refuses
        {{"--numero-da", "5", "--numero-a", "3"}, 1, "Si prega di inserire i numeri di inserimento in ordine crescente"},
        {{"--consegna-da", "30/06/2024", "--consegna-a", "01/06/2024"}, 1,
         "Si prega di inserire le date di consegna in ordine crescente"},
        {{"--tipo-evasione", "XYZ"}, 1, "tipo documento di evasione XYZ non trovato"},
        {{"--tipo-evasione", "DDTI"}, 1, "tipo documento di evasione DDTI non trovato"},
        {{"--prefisso", "Q"}, 1, "Prefisso errato: Q"},
    };
    for (const Caso &k : casi) {
        QString giornale;
        EXPECT_EQ(r.eseguiRun(k.argomenti, &giornale), k.uscita) << k.argomenti.join(' ').toStdString();
        EXPECT_TRUE(giornale.contains(k.messaggio)) << k.argomenti.join(' ').toStdString() << "\n" << giornale.toStdString();
        intatta(r);
    }
}

TEST_P(RigaDiComando, TheDeliveryDateRangeAndTheVatPeriodAreTaken)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // invoice orders ("OCF" into "FAT"), to deliver in May and in June
    const auto ordine = [&](int cliente, const QDate &consegna) {
        suite::OrderInput o;
        o.cliente = cliente;
        o.fattDocumento = "OCF";
        o.righe = {{.articolo = art(2), .qta = 3, .prezzo = 75.5}};
        o.extra = {{QStringLiteral("DataCons"), Variant(Date::fromQDate(consegna))}};
        return r.ordine(o);
    };
    ordine(2, QDate(2024, 5, 10));
    ordine(6, QDate(2024, 6, 20));
    QString giornale;
    EXPECT_EQ(r.eseguiRun({"--tipo-ordine", "OCF", "--consegna-da", "01/06/2024", "--consegna-a", "30/06/2024",
                           "--periodo-iva", "06/2024"},
                          &giornale),
              0)
        << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT NumRif, ContoCli, PeriodoIva, AnnoIva FROM FatTest"), QStringList{"1 0006 6 2024"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 null", "2 E"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, RigaDiComando, kBothEngines, engineParamName);

} // namespace
