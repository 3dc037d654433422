// A manual run of the real program, picked by a user's keys in the window "Selezione ordini da
// evadere" and handed over with "&Prosegui >>>", on a SQLite file and on PostgreSQL. Every
// expected value is worked out by hand from the orders below (prices net of VAT, euro).
#include "evasionereale.h"

#include <gtest/gtest.h>

namespace {

class EvasioneManuale : public ::testing::TestWithParam<Engine> {};

TEST_P(EvasioneManuale, APickedGroupBecomesADeliveryNoteOfThePickedQuantities)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // Two orders of customer 6 with the same grouping fields: one group.
    r.ordine(ordineCompleto(6));
    suite::OrderInput o2;
    o2.cliente = 6;
    o2.righe = {{.articolo = art(2), .qta = 3, .prezzo = 75.5}};
    r.ordine(o2);

    const QStringList picking{
        // order grid, on "Sel." of order 1: picked; then order 2
        "S", "Return", "Down", "S", "Return",
        // F10 saves the row (order 2 picked) and goes to "Da Evad." of the first line
        "F10",
        "4", "Return", "Down",                        // ART00001: 4 of 10
        "1", "Return", "Down",                        // ART00005 M/BLU: 1 of 3
        "2", "Return", "Down",                        // ART00005 S/ROSSO: 2 of 2
        "Right", "S", "Return", "Left", "Down",       // ART00003: closed, nothing delivered
        "3", "Return", "Up",                          // ART00002 of order 2
        "F10", "Clic",                                // expenses: the transport picked
        "F10",                                        // order grid, on "Sel." of order 2
        "N", "Return", "Up",                          // order 2 given back
        "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Space"}; // "&Prosegui >>>"
    const QStringList testi = r.esegui(Richiesta{}.manuale(picking));
    // the run's own end and nothing else: no refusal, warning or error on the way
    EXPECT_EQ(testi, QStringList{"Elaborazione terminata"});

    // One note of order 1: 4 x 38.25 = 153.00 and 1 + 2 levels x 20.00 = 60.00, goods 213.00;
    // the transport 15.00; taxable 228.00 at 22 %, VAT 50.16, total 278.16.
    // The reference line, then the picked quantities; ART00003, closed with nothing to deliver,
    // and order 2, given back, have no line.
    r.confrontaNota({.testata = "2024 1 DDT B 14 01 0006 BB30 Euro S O 2024 1 null null 30/06/2024",
                     .totali = "213 15 228 50.16 278.16 0",
                     .righe = {"1 1 D null null null null null null null null", "2 2 A ART00001 4 38.25 153 22 1 1 4",
                               "3 3 A ART00005 3 20 60 22 1 2 3"},
                     .riferimento = "Ord N. 1 DEL 01/03/2024",
                     .livelli = {"1 3 M BLU 1 20 20 1", "1 3 S ROSSO 2 20 40 2"},
                     .spese = {"1 1 TRA 15 22"}});

    // order 1 partly delivered, its third line closed; order 2 as it was
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 P", "2 null"}));
    EXPECT_EQ(r.righe("SELECT NumRif, RigDet, Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett ORDER BY NumRif, RigDet"),
              (QStringList{"1 1 10 4 P 0", "1 2 5 3 P 0", "1 3 4 0 E 0", "2 1 3 0 null null"}));
    EXPECT_EQ(r.righe("SELECT Livello1, Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenLiv ORDER BY Livello1"),
              (QStringList{"M 3 1 P 0", "S 2 2 E 0"}));
    // still committed: 6 x 38.25 of ART00001, 2 x 20.00 of M/BLU and order 2 whole; nothing of
    // the closed line and of the delivered S/ROSSO
    EXPECT_EQ(r.righe("SELECT Articolo, Livello1, Livello2, QtaImpCli, ValImpCli FROM ArticoliProg"
                      " WHERE QtaImpCli <> 0 OR ValImpCli <> 0 ORDER BY Articolo, Livello1"),
              (QStringList{"ART00001 " + kNoLiv + " " + kNoLiv + " 6 229.5", "ART00002 " + kNoLiv + " " + kNoLiv + " 3 226.5",
                           "ART00005 M BLU 2 40"}));

    // the user's picking is gone, and so are its locks
    for (const char *tabella : {"OrdVenEvaTest", "OrdVenEvaDett", "OrdVenEvaSpese", "LockGest", "DocDaElab", "AppoggioTemp"})
        EXPECT_EQ(r.righe(QStringLiteral("SELECT COUNT(*) FROM ") + tabella), QStringList{"0"}) << tabella;
}

INSTANTIATE_TEST_SUITE_P(Engines, EvasioneManuale, kBothEngines, engineParamName);

} // namespace
