// Orders whose lines have nothing left to deliver, levels already closed to balance and lines
// delivered beyond their quantity, through the real program and evasord_run on a SQLite file
// and on PostgreSQL: no empty document, movement or lock is left behind, nothing is delivered
// twice or delivered negative, and no committed quantity is released twice.
#include "evasionereale.h"

#include "vbdate.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// What every finished run leaves behind: nothing registered, locked or saved, no document
// without lines and no movement waiting to be posted.
void nienteInSospeso(EvasioneReale &r)
{
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DocDaElab"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM LockGest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM AppoggioTemp"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest WHERE NOT EXISTS (SELECT RigDet FROM DdtDett "
                      "WHERE DdtDett.Anno = DdtTest.Anno AND DdtDett.NumRif = DdtTest.NumRif)"),
              QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM FatTest WHERE NOT EXISTS (SELECT RigDet FROM FatDett "
                      "WHERE FatDett.Anno = FatTest.Anno AND FatDett.NumRif = FatTest.NumRif)"),
              QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM MovMagDettApp"), QStringList{"0"});
}

void nessunDocumento(EvasioneReale &r)
{
    for (const char *t : {"DdtTest", "DdtDett", "DdtLiv", "FatTest", "FatDett", "FatSpese", "MovMagTes", "MovMagDett"})
        EXPECT_EQ(r.righe(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(t)), QStringList{"0"}) << t;
}

const QString kImpegni = QStringLiteral("SELECT Articolo, Livello1, QtaImpCli, ValImpCli FROM ArticoliProg "
                                        "WHERE Anno = 2024 ORDER BY Articolo, Livello1");

// How the orders are converted: delivery notes, invoices or a cash sale.
struct Modo {
    const char *nome;
    QStringList argomenti;
};

const std::vector<Modo> kModi{{"ddt", {}},
                              {"fattura", {"--tipo-evasione", "FAT"}},
                              {"corrispettivo", {"--corrispettivo"}}};

bool corrispettivo(const Modo &m)
{
    return m.argomenti.contains(QStringLiteral("--corrispettivo"));
}

void preparaModo(EvasioneReale &r, const Modo &m)
{
    // the order type's stock causal for cash sales: an issue to the customer
    if (corrispettivo(m))
        r.esegui(QStringLiteral("UPDATE FattDocumenti SET MagCausaleRientro = 'VEN' WHERE FattDocumento = 'OC'"));
}

// A company ready for the conversion `modo` with one order of customer 6 of `righe`; null when
// the engine's server is not there.
std::unique_ptr<EvasioneReale> dittaConOrdine(Engine motore, const Modo &modo, std::vector<suite::LineInput> righe)
{
    auto r = std::make_unique<EvasioneReale>(motore);
    if (!r->pronta())
        return nullptr;
    preparaModo(*r, modo);
    suite::OrderInput o;
    o.cliente = 6;
    o.righe = std::move(righe);
    r->ordine(o);
    return r;
}

const QString kRigheOrdine = QStringLiteral(
    "SELECT NumRif, RigDet, TipoRiga, Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett ORDER BY NumRif, RigDet");
const QString kLivelliOrdine = QStringLiteral("SELECT NumRif, RigLiv, Livello1, Qta, QtaEvasa, StatoRiga, FlagStato "
                                              "FROM OrdVenLiv ORDER BY NumRif, RigLiv, Livello1");

class NienteDaConsegnare : public ::testing::TestWithParam<Engine> {};

// Orders the run selects (their header is not "E") with nothing left to deliver: every line
// fulfilled, no line at all, only a description line open, a line delivered beyond its
// quantity, a line whose levels are all closed. Each ends as a converted order with no line ends: no document, header or movement,
// no lock, its state "E" from its lines, and nothing released from the committed quantities.
TEST_P(NienteDaConsegnare, AnOrderWithNothingLeftToDeliverGetsNoDocument)
{
    for (const Modo &modo : kModi) {
        SCOPED_TRACE(modo.nome);
        EvasioneReale r(GetParam());
        if (!r.pronta())
            return;
        preparaModo(r, modo);
        suite::OrderInput o;
        o.cliente = 2;
        o.righe = {{.articolo = art(1), .qta = 10, .prezzo = 38.25, .qtaEvasa = 10},
                   {.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2, 2}, {"M", "BLU", 3, 3}}}};
        o.extra = {{"Stato", "P"}};
        r.ordine(o);
        o.cliente = 3;
        o.righe = {};
        r.ordine(o);
        o.cliente = 5;
        o.righe = {{.articolo = art(2), .qta = 3, .prezzo = 75.5, .qtaEvasa = 3},
                   {.tipoRiga = "D", .descrizione = "Consegna al piano"}};
        r.ordine(o);
        o.cliente = 6;
        o.righe = {{.articolo = art(3), .qta = 10, .prezzo = 12.5, .qtaEvasa = 15, .extra = {{"StatoRiga", "P"}}}};
        r.ordine(o);
        // the line still open, its level S closed to balance after 1 of 2, M delivered whole
        o.cliente = 7;
        o.righe = {{.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2, 1}, {"M", "BLU", 3, 3}}}};
        r.ordine(o);
        r.esegui(QStringLiteral("UPDATE OrdVenLiv SET StatoRiga = 'E' WHERE NumRif = 5"));
        const QStringList impegni = r.righe(kImpegni);
        const QStringList livelli =
            r.righe("SELECT NumRif, Livello1, QtaEvasa, StatoRiga FROM OrdVenLiv ORDER BY NumRif, Livello1");

        QString giornale;
        EXPECT_EQ(r.eseguiRun(modo.argomenti, &giornale), 0) << giornale.toStdString();
        EXPECT_TRUE(giornale.contains("Elaborazione terminata")) << giornale.toStdString();

        nessunDocumento(r);
        nienteInSospeso(r);
        EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"),
                  (QStringList{"1 E", "2 E", "3 E", "4 E", "5 E"}));
        EXPECT_EQ(r.righe("SELECT NumRif, RigDet, TipoRiga, Qta, QtaEvasa, StatoRiga FROM OrdVenDett "
                          "ORDER BY NumRif, RigDet"),
                  (QStringList{"1 1 A 10 10 E", "1 2 A 5 5 E", "3 1 A 3 3 E", "3 2 D null null null",
                               "4 1 A 10 15 E", "5 1 A 5 4 E"}));
        EXPECT_EQ(r.righe("SELECT NumRif, Livello1, QtaEvasa, StatoRiga FROM OrdVenLiv ORDER BY NumRif, Livello1"),
                  livelli);
        EXPECT_EQ(r.righe(kImpegni), impegni);

        // nothing left for a later run
        EXPECT_EQ(r.eseguiRun(modo.argomenti, &giornale), 1) << giornale.toStdString();
        EXPECT_TRUE(giornale.contains("Non ci sono Ordini vendita nell'intervallo")) << giornale.toStdString();
    }
}

// An order selected by its header's delivery date whose lines all have dates of their own
// outside the range: nothing is delivered, and the order, its lines open, is not closed.
TEST_P(NienteDaConsegnare, AnOrderWhoseLinesLieOutsideTheDeliveryDatesStaysOpen)
{
    // the header's delivery date: 21/03/2024
    const auto ditta = dittaConOrdine(
        GetParam(), kModi[0], {{.articolo = art(1), .qta = 10, .prezzo = 38.25, .extra = {{"DataCons", Date::fromYmd(2024, 5, 10)}}}});
    if (!ditta)
        return;
    EvasioneReale &r = *ditta;
    const QStringList impegni = r.righe(kImpegni);

    QStringList testi = r.esegui(Richiesta{}.campo(220, "15/03/2024").campo(230, "31/03/2024"));
    EXPECT_EQ(testi, QStringList{"Elaborazione terminata"});
    nessunDocumento(r);
    nienteInSospeso(r);
    EXPECT_EQ(r.righe("SELECT Qta, QtaEvasa, StatoRiga FROM OrdVenDett"), QStringList{"10 0 null"});
    // nothing of it was delivered: it is not "partly fulfilled"
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"null"});
    EXPECT_EQ(r.righe(kImpegni), impegni);

    // without the range the line is delivered
    testi = r.esegui(Richiesta{});
    EXPECT_EQ(testi, QStringList{"Elaborazione terminata"});
    EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValTotale FROM DdtDett WHERE TipoRiga = 'A'"), QStringList{"ART00001 10 382.5"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    nienteInSospeso(r);
}

// Two orders with lines of the same levels, the second with an expense: the first keeps a line
// dated after the delivery range, so it stays partly fulfilled; a later run delivers that line
// and closes it.
TEST_P(NienteDaConsegnare, AnOrderPartlyDeliveredStaysOpenAndTheNextRunClosesIt)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // the headers' delivery date: 21/03/2024
    const std::vector<suite::LevelInput> livelli{{"S", "ROSSO", 2}, {"M", "BLU", 3, 1}};
    suite::OrderInput o;
    o.cliente = 6;
    o.righe = {{.articolo = art(1), .qta = 10, .prezzo = 38.25},
               {.articolo = art(5), .prezzo = 20, .livelli = livelli},
               {.articolo = art(2), .qta = 4, .prezzo = 75.5, .extra = {{"DataCons", Date::fromYmd(2024, 5, 10)}}},
               {.prezzo = 0, .tipoRiga = QStringLiteral("D"), .descrizione = QStringLiteral("Consegna a parte")}};
    r.ordine(o);
    o.righe = {{.articolo = art(5), .prezzo = 20, .livelli = livelli}, {.articolo = art(1), .qta = 1, .prezzo = 38.25}};
    o.spese = {{.spesa = "TRA", .importo = 15}};
    r.ordine(o);

    EXPECT_EQ(r.esegui(Richiesta{}.campo(220, "15/03/2024").campo(230, "31/03/2024")),
              QStringList{"Elaborazione terminata"});
    nienteInSospeso(r);
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 P", "2 E"}));
    EXPECT_EQ(r.righe(kRigheOrdine), (QStringList{"1 1 A 10 10 E 0", "1 2 A 5 5 E 0", "1 3 A 4 0 null null",
                                            "1 4 D null null null 0", "2 1 A 5 5 E 0", "2 2 A 1 1 E 0"}));
    EXPECT_EQ(r.righe(kLivelliOrdine), (QStringList{"1 2 M 3 3 E 0", "1 2 S 2 2 E 0", "2 1 M 3 3 E 0", "2 1 S 2 2 E 0"}));
    // only the second order's expense, once
    EXPECT_EQ(r.righe("SELECT Spesa, Importo FROM DdtSpese"), QStringList{"TRA 15"});

    EXPECT_EQ(r.esegui(Richiesta{}), QStringList{"Elaborazione terminata"});
    nienteInSospeso(r);
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 E"}));
    EXPECT_EQ(r.righe("SELECT NumRif, QtaEvasa, StatoRiga FROM OrdVenDett WHERE RigDet = 3"), QStringList{"1 4 E"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtLiv"), QStringList{"4"});
    EXPECT_EQ(r.righe("SELECT Spesa, Importo FROM DdtSpese"), QStringList{"TRA 15"});
}

// The demo company with one of its orders fulfilled by hand: the run ends clean and the order
// is closed from its lines.
TEST_P(NienteDaConsegnare, TheDemoCompanyWithAnOrderFulfilledByHandEndsClean)
{
    EvasioneReale r(GetParam(), suite::FixtureOptions{});
    if (!r.pronta())
        return;
    r.esegui(QStringLiteral("UPDATE OrdVenDett SET StatoRiga = 'E', QtaEvasa = Qta WHERE NumRif = 2"));

    QString giornale;
    EXPECT_EQ(r.eseguiRun({"--cambio", "USD=1,085"}, &giornale), 0) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Elaborazione terminata")) << giornale.toStdString();
    EXPECT_FALSE(giornale.contains("Errore")) << giornale.toStdString();
    nienteInSospeso(r);
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtDett WHERE NumRifProv = 2"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest WHERE NumRif = 2"), QStringList{"E"});
    // and nothing is left for the next run
    EXPECT_EQ(r.eseguiRun({"--cambio", "USD=1,085"}, &giornale), 1) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Non ci sono Ordini vendita nell'intervallo")) << giornale.toStdString();
}

// The progressives of the two levels of ART00005 that the orders below carry.
const QString kLivelliDellOrdine = QStringLiteral(
    " WHERE Anno = 2024 AND Articolo = 'ART00005' AND ((Livello1 = 'S' AND Livello2 = 'ROSSO')"
    " OR (Livello1 = 'M' AND Livello2 = 'BLU')) ORDER BY Livello1");

// A level closed to balance ("E" with less fulfilled than ordered: the customer kept no more of
// it) has nothing left: no level row, its fulfilled quantity and its committed quantity stay;
// the line delivers and counts only its other level.
TEST_P(NienteDaConsegnare, ALevelClosedToBalanceIsNotDeliveredAgain)
{
    // a balance-only run closes the other level and passes over the closed one as well
    const Modo soloASaldo{"solo a saldo", {"--solo-a-saldo"}};
    for (const Modo &modo : {kModi[0], kModi[2], soloASaldo}) {
        SCOPED_TRACE(modo.nome);
        const auto ditta =
            dittaConOrdine(GetParam(), modo, {{.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}}});
        if (!ditta)
            return;
        EvasioneReale &r = *ditta;
        // S/ROSSO closed to balance with nothing delivered: its commitment released then
        r.esegui(QStringLiteral("UPDATE OrdVenLiv SET StatoRiga = 'E' WHERE Livello1 = 'S'"));
        r.esegui(QStringLiteral("UPDATE ArticoliProg SET QtaImpCli = 0, ValImpCli = 0, ValImpCliLire = 0 "
                                "WHERE Articolo = 'ART00005' AND Livello1 = 'S' AND Livello2 = 'ROSSO'"));

        QString giornale;
        EXPECT_EQ(r.eseguiRun(modo.argomenti, &giornale), 0) << giornale.toStdString();

        const bool consegna = !modo.argomenti.contains(QStringLiteral("--solo-a-saldo"));
        if (!consegna) {
            EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtDett"), QStringList{"0"});
        } else if (!corrispettivo(modo)) {
            EXPECT_EQ(r.righe("SELECT RigLiv, Livello1, Livello2, Qta, ValTotale, QtaProv FROM DdtLiv"),
                      QStringList{"2 M BLU 3 60 3"});
            EXPECT_EQ(r.righe("SELECT RigDet, TipoRiga, Articolo, Qta, ValTotale, QtaProv FROM DdtDett ORDER BY RigDet"),
                      (QStringList{"1 D null null null null", "2 A ART00005 3 60 3"}));
            EXPECT_EQ(r.righe("SELECT TotMerce FROM DdtTest"), QStringList{"60"});
        } else {
            EXPECT_EQ(r.righe("SELECT Livello1, Qta, ValTotale FROM MovMagLiv"), QStringList{"M 3 60"});
            EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValTotale FROM MovMagDett"), QStringList{"ART00005 3 60"});
            EXPECT_EQ(r.righe("SELECT Livello1, QtaScarico FROM ArticoliProg" + kLivelliDellOrdine),
                      (QStringList{"M 3", "S 0"}));
        }
        const QString evasaM = consegna ? QStringLiteral("3") : QStringLiteral("0");
        EXPECT_EQ(r.righe("SELECT Livello1, Qta, QtaEvasa, StatoRiga FROM OrdVenLiv ORDER BY Livello1"),
                  (QStringList{"M 3 " + evasaM + " E", "S 2 0 E"}));
        EXPECT_EQ(r.righe("SELECT Qta, QtaEvasa, StatoRiga FROM OrdVenDett"), QStringList{"5 " + evasaM + " E"});
        EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
        EXPECT_EQ(r.righe("SELECT Livello1, QtaImpCli, ValImpCli FROM ArticoliProg" + kLivelliDellOrdine),
                  (QStringList{"M 0 0", "S 0 0"}));
        nienteInSospeso(r);
    }
}

// A line delivered beyond its quantity and still open has nothing left: no line of minus the
// excess, no committed quantity raised; it is closed, and the order's other line is delivered.
TEST_P(NienteDaConsegnare, ALineDeliveredBeyondItsQuantityIsClosedNotDeliveredNegative)
{
    for (const Modo &modo : {kModi[0], kModi[2]}) {
        SCOPED_TRACE(modo.nome);
        const auto ditta = dittaConOrdine(
            GetParam(), modo,
            {{.articolo = art(1), .qta = 10, .prezzo = 38.25, .qtaEvasa = 15, .extra = {{"StatoRiga", "P"}}},
             {.articolo = art(3), .qta = 4, .prezzo = 12.5}});
        if (!ditta)
            return;
        EvasioneReale &r = *ditta;
        const QStringList impegniArt1 = r.righe("SELECT QtaImpCli, ValImpCli FROM ArticoliProg WHERE Articolo = 'ART00001'");

        QString giornale;
        EXPECT_EQ(r.eseguiRun(modo.argomenti, &giornale), 0) << giornale.toStdString();

        if (!corrispettivo(modo)) {
            EXPECT_EQ(r.righe("SELECT RigDet, TipoRiga, Articolo, Qta, ValTotale, RigaRifProv FROM DdtDett ORDER BY RigDet"),
                      (QStringList{"1 D null null null null", "2 A ART00003 4 50 2"}));
            EXPECT_EQ(r.righe("SELECT TotMerce FROM DdtTest"), QStringList{"50"});
        } else {
            EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValTotale FROM MovMagDett"), QStringList{"ART00003 4 50"});
        }
        EXPECT_EQ(r.righe("SELECT RigDet, Qta, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY RigDet"),
                  (QStringList{"1 10 15 E", "2 4 4 E"}));
        EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
        EXPECT_EQ(r.righe("SELECT QtaImpCli, ValImpCli FROM ArticoliProg WHERE Articolo = 'ART00001'"), impegniArt1);
        EXPECT_EQ(r.righe("SELECT QtaImpCli, ValImpCli FROM ArticoliProg WHERE Articolo = 'ART00003'"),
                  QStringList{"0 0"});
        nienteInSospeso(r);
    }
}

// The recovery of a run that had taken such an order (its lines marked, its lock held) and
// written nothing of it makes no document either.
TEST_P(NienteDaConsegnare, TheRecoveryMakesNoDocumentForAnOrderWithNothingToDeliver)
{
    for (const Modo &modo : {kModi[0], kModi[2]}) {
        SCOPED_TRACE(modo.nome);
        const auto ditta = dittaConOrdine(
            GetParam(), modo, {{.articolo = art(1), .qta = 10, .prezzo = 38.25, .qtaEvasa = 15, .extra = {{"StatoRiga", "P"}}}});
        if (!ditta)
            return;
        EvasioneReale &r = *ditta;
        r.esegui(QStringLiteral("UPDATE OrdVenDett SET FlagStato = '4'"));
        r.esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) "
                                "VALUES ('O', 2024, 1, 'demo', '0', '3')"));
        const QStringList impegni = r.righe(kImpegni);

        QString giornale;
        EXPECT_EQ(r.eseguiRun(QStringList{"--recupera"} + modo.argomenti, &giornale), 0) << giornale.toStdString();
        nessunDocumento(r);
        nienteInSospeso(r);
        EXPECT_EQ(r.righe("SELECT Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett"), QStringList{"10 15 E 0"});
        EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
        EXPECT_EQ(r.righe(kImpegni), impegni);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, NienteDaConsegnare, kBothEngines, engineParamName);

} // namespace
