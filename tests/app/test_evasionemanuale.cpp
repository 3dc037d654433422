// A manual run of the real program, picked by a user's keys in the window "Selezione ordini da
// evadere" and handed over with "&Prosegui >>>", on a SQLite file and on PostgreSQL. Every
// expected value is worked out by hand from the orders below (prices net of VAT, euro).
#include "evasionereale.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// What every finished manual run leaves behind: no picking of the user, nothing locked,
// registered or saved.
void nienteInSospeso(EvasioneReale &r)
{
    for (const char *tabella : {"OrdVenEvaTest", "OrdVenEvaDett", "OrdVenEvaSpese", "LockGest", "DocDaElab", "AppoggioTemp"})
        EXPECT_EQ(r.righe(QStringLiteral("SELECT COUNT(*) FROM ") + tabella), QStringList{"0"}) << tabella;
}

// An order of customer 6 of one line, in its currency, with further header fields.
void ordineDiUnaRiga(EvasioneReale &r, suite::LineInput riga, const QString &moneta = {}, suite::FieldValues testata = {})
{
    suite::OrderInput o;
    o.cliente = 6;
    o.moneta = moneta;
    o.righe = {std::move(riga)};
    o.extra = std::move(testata);
    r.ordine(o);
}

class EvasioneManuale : public ::testing::TestWithParam<Engine> {};

TEST_P(EvasioneManuale, APickedGroupBecomesADeliveryNoteOfThePickedQuantities)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // Two orders of customer 6 with the same grouping fields: one group.
    r.ordine(ordineCompleto(6));
    ordineDiUnaRiga(r, {.articolo = art(2), .qta = 3, .prezzo = 75.5});

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

    nienteInSospeso(r);
}

// Both orders of the group picked whole with "Tutto": one note of the two, each order with its
// reference line; the transport, not picked, stays out.
TEST_P(EvasioneManuale, TwoOrdersPickedWholeShareOneNote)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.ordine(ordineCompleto(6));
    ordineDiUnaRiga(r, {.articolo = art(2), .qta = 3, .prezzo = 75.5});

    const QStringList picking{"Right", "S", "Return", "Down",                     // "Tutto" of order 1
                              "S", "Return", "Up",                                // "Tutto" of order 2
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Space"}; // "&Prosegui >>>"
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)), QStringList{"Elaborazione terminata"});

    // 382.50 + 100.00 + 45.00 + 226.50 = 754.00; at 22 % 709.00, VAT 155.98; at 10 % 45.00,
    // VAT 4.50. A note of two orders names no source order.
    r.confrontaNota({.testata = "2024 1 DDT B 14 01 0006 BB30 Euro S O null null null null 30/06/2024",
                     .totali = "754 0 754 160.48 914.48 0",
                     .righe = {"1 1 D null null null null null null null null", "2 2 A ART00001 10 38.25 382.5 22 1 1 10",
                               "3 3 A ART00005 5 20 100 22 1 2 5", "4 4 A ART00003 4 12.5 45 10 1 3 4",
                               "5 5 D null null null null null null null null", "6 6 A ART00002 3 75.5 226.5 22 2 1 3"},
                     .riferimento = "Ord N. 1 DEL 01/03/2024",
                     .livelli = {"1 3 S ROSSO 2 20 40 2", "1 3 M BLU 3 20 60 3"},
                     .spese = {}});
    EXPECT_EQ(r.righe("SELECT NotaSopra FROM DdtDett WHERE RigDet = 5"), QStringList{"Ord N. 2 DEL 01/03/2024"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 E"}));
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM OrdVenDett WHERE QtaEvasa <> Qta OR StatoRiga <> 'E'"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM ArticoliProg WHERE QtaImpCli <> 0 OR ValImpCli <> 0"), QStringList{"0"});
    nienteInSospeso(r);
}

// Two groups into invoices: customer 2's order picked with its levels hidden behind the summary
// row, then customer 6's, each handed over in turn; the form then closes.
TEST_P(EvasioneManuale, TwoGroupsBecomeAnInvoiceEach)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // order type "OCF" is fulfilled by invoices "FAT" (prefix "A" of the sales register)
    r.parametroMenu("Fat.DocOrd", "OCF");
    suite::OrderInput o;
    o.fattDocumento = "OCF";
    o.cliente = 2;
    o.righe = {{.articolo = art(2), .qta = 3, .prezzo = 75.5},
               {.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}}};
    r.ordine(o);
    o.cliente = 6;
    o.righe = {{.articolo = art(1), .qta = 10, .prezzo = 38.25}};
    o.spese = {{.spesa = "TRA", .importo = 15}};
    r.ordine(o);

    const QStringList picking{
        // customer 2: order 1 picked, then to "Da Evad." of its first line
        "S", "Return", "F10",
        // "&Nascondi Livelli": the line with levels as one summary row
        "Tab", "Tab", "Space",
        // back to the order grid and F10 to the first line again
        "Shift+Tab", "Shift+Tab", "Shift+Tab", "F10",
        "F9", "Down",            // ART00002: what is open of it
        "4", "Return", "Up",     // the summary row takes all of its levels or nothing: 5
        "Tab", "Tab", "Tab", "Tab", "Tab", "Space",
        // customer 6: the keys back on "Sel." of order 2; order 2 picked, its line whole, its
        // transport left out
        "S", "Return", "F10", "F9",
        "Tab", "Tab", "Tab", "Tab", "Tab", "Space"};
    const QStringList testi = r.esegui(Richiesta{}.manuale(picking, 2));
    // the 4 typed on the summary row became its whole 5, and the user was told why
    EXPECT_EQ(testi, (QStringList{"Riga di riepilogo di livelli che va evaso totalmente:\r\n"
                                  "Per evadere parzialmente passare alla visualizzazione dei livelli",
                                  "Elaborazione terminata", "Elaborazione terminata"}));

    // customer 2: 3 x 75.50 = 226.50 and 2 + 3 levels x 20.00 = 100.00, 326.50 at 22 %, VAT
    // 71.83; customer 6: 10 x 38.25 = 382.50, VAT 84.15, no expense
    EXPECT_EQ(r.righe("SELECT NumRif, FattDocumento, PreDoc, ContoCli, RagOrd, Pagamento, Stato, NumDoc, DataRif FROM FatTest "
                      "ORDER BY NumRif"),
              (QStringList{"1 FAT A 0002 S BB30 null null 30/06/2024", "2 FAT A 0006 S BB30 null null 30/06/2024"}));
    EXPECT_EQ(r.righe("SELECT NumRif, TotMerce, TotSpese, TotImpon, TotIva, TotDocum, ImponRitAcc FROM FatTest ORDER BY NumRif"),
              (QStringList{"1 326.5 0 326.5 71.83 398.33 0", "2 382.5 0 382.5 84.15 466.65 0"}));
    EXPECT_EQ(r.righe("SELECT NumRif, RigDet, TipoRiga, Articolo, Qta, ValTotale, Iva, OrdNumRif, OrdRigDet, "
                      "NumRifProv, Riepilogativa FROM FatDett ORDER BY NumRif, RigDet"),
              (QStringList{"1 1 D null null null null null null null N", "1 2 A ART00002 3 226.5 22 1 1 1 N",
                           "1 3 A ART00005 5 100 22 1 2 1 N", "2 1 D null null null null null null null N",
                           "2 2 A ART00001 10 382.5 22 2 1 2 N"}));
    // the summary row's 5 reached each level as its own open quantity
    EXPECT_EQ(r.righe("SELECT NumRif, RigLiv, Livello1, Livello2, Qta, ValTotale, QtaProv FROM FatLiv ORDER BY Qta"),
              (QStringList{"1 3 S ROSSO 2 40 2", "1 3 M BLU 3 60 3"}));
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM FatSpese"), QStringList{"0"});

    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 E"}));
    EXPECT_EQ(r.righe("SELECT NumRif, RigDet, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY NumRif, RigDet"),
              (QStringList{"1 1 3 E", "1 2 5 E", "2 1 10 E"}));
    EXPECT_EQ(r.righe("SELECT Livello1, QtaEvasa, StatoRiga FROM OrdVenLiv ORDER BY Qta"), (QStringList{"S 2 E", "M 3 E"}));
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM ArticoliProg WHERE QtaImpCli <> 0 OR ValImpCli <> 0"), QStringList{"0"});
    nienteInSospeso(r);

    // each group's run asks the menu server for its parameters anew (a change made between two
    // runs reaches the later one); the user's name is asked once while the program is linked
    const QStringList giornale = r.giornaleMenu();
    EXPECT_EQ(giornale.filter(QString::fromUtf8("LeggiParametro(\"Personal.EvasioneOrd.§DicIntentiVerif\"")).size(), 2);
    EXPECT_EQ(giornale.filter(QRegularExpression("^chiamata NomeUtente\\(")).size(), 1);
}

// A line sold by the metre, of pieces 2.5 m long: the user double clicks it, types 4 pieces into
// "Calcola quantità da dimensione", and 4 x 2500 / 1000 = 10 m go into the note.
TEST_P(EvasioneManuale, AQuantityFromDimensionsIsDelivered)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.parametroPersonale("Vendite", "QtaDaDimen", "S");
    r.parametroPersonale("Vendite", "QtaDaDimUML", "ML");
    ordineDiUnaRiga(r, {.articolo = art(2), .qta = 20, .prezzo = 3, .extra = {{"UM", "ML"}, {"Lunghezza", 2500.0}}});

    const QStringList picking{"S", "Return", "F10",  // order 1 picked, to "Da Evad." of its line
                              "DoppioClic", "4",     // the dialog: 4 pieces
                              "Tab", "Space",        // "&Ok"
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Space"};
    const QStringList testi = r.esegui(Richiesta{}.manuale(picking));
    EXPECT_EQ(testi, QStringList{"Elaborazione terminata"});

    // 10 x 3.00 = 30.00 at 22 %, VAT 6.60
    EXPECT_EQ(r.righe("SELECT NumRif, TotMerce, TotSpese, TotImpon, TotIva, TotDocum FROM DdtTest"),
              QStringList{"1 30 0 30 6.6 36.6"});
    EXPECT_EQ(r.righe("SELECT RigDet, Articolo, UM, Qta, ValUnitario, ValTotale, QtaProv FROM DdtDett ORDER BY RigDet"),
              (QStringList{"1 null null null null null null", "2 ART00002 ML 10 3 30 10"}));
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"P"});
    EXPECT_EQ(r.righe("SELECT QtaEvasa, StatoRiga FROM OrdVenDett"), QStringList{"10 P"});
    EXPECT_EQ(r.righe("SELECT Articolo, QtaImpCli, ValImpCli FROM ArticoliProg WHERE QtaImpCli <> 0 OR ValImpCli <> 0"),
              QStringList{"ART00002 10 30"});
    nienteInSospeso(r);
}

// A group in US dollars, a currency outside the EU of which no rate is known: the rate box shows
// "0", the hand-over is refused until the user types a rate, 1.25, which becomes the note's
// rate: its amounts stay in dollars, their euro twins are the dollars / 1.25.
TEST_P(EvasioneManuale, AGroupInAForeignCurrencyTakesTheTypedRate)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    ordineDiUnaRiga(r, {.articolo = art(1), .qta = 10, .prezzo = 38.25}, "USD");

    const QStringList picking{"S", "Return", "F10", "F9",                         // order 1 picked, its line whole
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Space",         // "&Prosegui >>>": no rate
                              "1", "Virgola", "2", "5",                           // the rate box: 1,25
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Space"}; // "&Prosegui >>>"
    const QStringList testi = r.esegui(Richiesta{}.manuale(picking));
    EXPECT_EQ(testi, (QStringList{"E' obbligatorio inserire il cambio", "Elaborazione terminata"}));

    // 10 x 38.25 = 382.50 dollars at 22 %, VAT 84.15; in euro 382.50 / 1.25 = 306.00, in lire
    // 306.00 x 1936.27 = 592,498.62, so 592,499
    EXPECT_EQ(r.righe("SELECT NumRif, Moneta, Cambio, TotMerce, TotImpon, TotIva, TotDocum FROM DdtTest"),
              QStringList{"1 USD 1.25 382.5 382.5 84.15 466.65"});
    EXPECT_EQ(r.righe("SELECT RigDet, Articolo, Qta, ValUnitario, ValTotale, ValEuro, ValLire FROM DdtDett "
                      "WHERE TipoRiga <> 'D' ORDER BY RigDet"),
              QStringList{"2 ART00001 10 38.25 382.5 306 592499"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM ArticoliProg WHERE QtaImpCli <> 0 OR ValImpCli <> 0"), QStringList{"0"});
    nienteInSospeso(r);
}

// The user picks an order, types a quantity (12 of 10, which is warned about), and gives up:
// "&Annulla" closes the picking window, then the fulfilment dialog, and the program ends.
// Nothing is written, nothing stays locked or staged.
TEST_P(EvasioneManuale, GivingUpLeavesTheOrdersAsTheyWere)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.ordine(ordineCompleto(6));
    const QStringList ordini = r.righe("SELECT NumRif, RigDet, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett ORDER BY RigDet");
    const QStringList impegni = r.righe("SELECT Articolo, Livello1, QtaImpCli, ValImpCli FROM ArticoliProg "
                                        "WHERE QtaImpCli <> 0 ORDER BY Articolo, Livello1");

    const QStringList picking{"S", "Return", "F10", "1", "2", "Return", "Down", // order 1 picked, 12 of its first line
                              "Tab", "Tab", "Tab", "Tab", "Space",             // "&Annulla" of the picking window
                              "Tab", "Space"};                                 // "&Annulla" of the dialog
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking, 0)), QStringList{"Attenzione: si sta evadendo più dell'ordinato"});

    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtDett"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"null"});
    EXPECT_EQ(r.righe("SELECT NumRif, RigDet, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett ORDER BY RigDet"), ordini);
    EXPECT_EQ(r.righe("SELECT Articolo, Livello1, QtaImpCli, ValImpCli FROM ArticoliProg WHERE QtaImpCli <> 0 "
                      "ORDER BY Articolo, Livello1"),
              impegni);
    nienteInSospeso(r);
}

// Another user holds the order: picking it says so, and "Esci" leaves it unpicked. With nothing
// picked "&Prosegui >>>" runs nothing and, no group being left, closes the window; the dialog's
// "&Annulla" ends the program. The other user's lock stays as it was.
TEST_P(EvasioneManuale, AnOrderLockedByAnotherUserIsLeftAlone)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.ordine(ordineCompleto(6));
    r.esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) "
                            "VALUES ('O', 2024, 1, 'mario', '0', '3')"));
    r.risposte({"2"}); // "Esci"

    const QStringList picking{"S", "Return", "F10",                           // order 1 picked: in use
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Space",     // "&Prosegui >>>"
                              "Tab", "Space"};                                // "&Annulla" of the dialog
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking, 0)), QStringList{"Ordini vendita n.rif 1 anno 2024 in uso da mario"});

    EXPECT_EQ(r.righe("SELECT Tipo, Anno, NumReg, Utente, Stato, Gestione FROM LockGest"), QStringList{"O 2024 1 mario 0 3"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"null"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM OrdVenDett WHERE QtaEvasa <> 0 OR StatoRiga IS NOT NULL"), QStringList{"0"});
    for (const char *tabella : {"OrdVenEvaTest", "OrdVenEvaDett", "OrdVenEvaSpese", "DocDaElab", "AppoggioTemp"})
        EXPECT_EQ(r.righe(QStringLiteral("SELECT COUNT(*) FROM ") + tabella), QStringList{"0"}) << tabella;
}

// 12 of a line of 10: the user is warned and goes on. The note carries the 12 delivered at the
// line's price, the order counts the 10 it had: fulfilled, nothing committed any more.
TEST_P(EvasioneManuale, MoreThanOrderedIsDeliveredAndTheOrderTakesItsOwn)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    ordineDiUnaRiga(r, {.articolo = art(1), .qta = 10, .prezzo = 38.25});

    const QStringList picking{"S", "Return", "F10", "1", "2", "Return",      // order 1 picked, 12 of 10
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Space"}; // "&Prosegui >>>"
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)),
              (QStringList{"Attenzione: si sta evadendo più dell'ordinato", "Elaborazione terminata"}));

    // 12 x 38.25 = 459.00 at 22 %, VAT 100.98
    EXPECT_EQ(r.righe("SELECT TotMerce, TotImpon, TotIva, TotDocum FROM DdtTest"), QStringList{"459 459 100.98 559.98"});
    EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValTotale, QtaProv FROM DdtDett WHERE TipoRiga <> 'D'"),
              QStringList{"ART00001 12 459 10"});
    EXPECT_EQ(r.righe("SELECT Qta, QtaEvasa, StatoRiga FROM OrdVenDett"), QStringList{"10 10 E"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM ArticoliProg WHERE QtaImpCli <> 0 OR ValImpCli <> 0"), QStringList{"0"});
    nienteInSospeso(r);
}

// Lines picked only to be closed ("A Saldo" "S", nothing to deliver): the hand-over makes a
// balance-only run, which closes them without a document and releases what they had committed.
TEST_P(EvasioneManuale, LinesClosedToBalanceMakeNoDocument)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.ordine(ordineCompleto(6));

    const QStringList picking{"S", "Return", "F10",                         // order 1 picked, to its first line
                              "Right", "S", "Return", "Down",               // ART00001 closed
                              "Down", "Down", "S", "Return", "Up",          // ART00003 closed
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Space"};  // "&Prosegui >>>"
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)), QStringList{"Elaborazione terminata"});

    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtDett"), QStringList{"0"});
    // closed as they stood; the line with levels, not picked, stays open, and so the order
    EXPECT_EQ(r.righe("SELECT RigDet, Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett ORDER BY RigDet"),
              (QStringList{"1 10 0 E null", "2 5 0 null null", "3 4 0 E null"}));
    EXPECT_EQ(r.righe("SELECT Livello1, QtaEvasa, StatoRiga FROM OrdVenLiv ORDER BY Livello1"),
              (QStringList{"M 0 null", "S 0 null"}));
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"P"});
    EXPECT_EQ(r.righe("SELECT Articolo, Livello1, QtaImpCli, ValImpCli FROM ArticoliProg WHERE QtaImpCli <> 0 OR "
                      "ValImpCli <> 0 ORDER BY Articolo, Livello1"),
              (QStringList{"ART00005 M 3 60", "ART00005 S 2 40"}));
    nienteInSospeso(r);
}

// An open order: its price can be typed in the line grid, and the note takes it; the order itself
// keeps its quantities, states and committed quantities, only its run marker moves.
TEST_P(EvasioneManuale, AnOpenOrderIsDeliveredAtTheTypedPriceAndStaysOpen)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    ordineDiUnaRiga(r, {.articolo = art(1), .qta = 10, .prezzo = 38.25}, {}, {{"OrdAperto", "S"}});

    const QStringList picking{"S", "Return", "F10",                         // order 1 picked, to its line
                              "4", "Return",                                // 4 of 10
                              "Right", "Right", "4", "0", "Return",         // "Val. Unitario": 40
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Space"};  // "&Prosegui >>>"
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)), QStringList{"Elaborazione terminata"});

    // 4 x 40.00 = 160.00 at 22 %, VAT 35.20
    EXPECT_EQ(r.righe("SELECT TotMerce, TotSpese, TotImpon, TotIva, TotDocum FROM DdtTest"), QStringList{"160 0 160 35.2 195.2"});
    EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValUnitario, ValTotale, QtaProv FROM DdtDett WHERE TipoRiga <> 'D'"),
              QStringList{"ART00001 4 40 160 4"});
    EXPECT_EQ(r.righe("SELECT Qta, QtaEvasa, StatoRiga, FlagStato, ValUnitario FROM OrdVenDett"), QStringList{"10 0 null 0 38.25"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"null"});
    EXPECT_EQ(r.righe("SELECT Articolo, QtaImpCli, ValImpCli FROM ArticoliProg WHERE QtaImpCli <> 0 OR ValImpCli <> 0"),
              QStringList{"ART00001 10 382.5"});
    nienteInSospeso(r);
}

// An article with levels linked to its WEEE-fee line: the fee line follows the pieces picked on
// the levels, all of them (3 + 1), not the level typed last.
TEST_P(EvasioneManuale, TheFeeLineFollowsAllThePiecesOfItsArticle)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    suite::OrderInput o;
    o.cliente = 6;
    o.righe = {{.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}, .extra = {{"RigLivRAEE", 2}}},
               {.articolo = art(2), .qta = 5, .prezzo = 1.5}};
    r.ordine(o);

    const QStringList picking{"S", "Return", "F10",                         // order 1 picked, to its first row
                              "3", "Return", "Down",                        // M/BLU: 3 of 3
                              "1", "Return", "Down",                        // S/ROSSO: 1 of 2
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Space"};  // "&Prosegui >>>"
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)), QStringList{"Elaborazione terminata"});

    // 4 x 20.00 = 80.00 and the fee 4 x 1.50 = 6.00, 86.00 at 22 %, VAT 18.92
    EXPECT_EQ(r.righe("SELECT TotMerce, TotImpon, TotIva, TotDocum FROM DdtTest"), QStringList{"86 86 18.92 104.92"});
    EXPECT_EQ(r.righe("SELECT RigDet, Articolo, Qta, ValTotale, RigaRifProv, QtaProv FROM DdtDett WHERE TipoRiga <> 'D' "
                      "ORDER BY RigDet"),
              (QStringList{"2 ART00005 4 80 1 4", "3 ART00002 4 6 2 4"}));
    EXPECT_EQ(r.righe("SELECT RigDet, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY RigDet"), (QStringList{"1 4 P", "2 4 P"}));
    EXPECT_EQ(r.righe("SELECT Livello1, QtaEvasa, StatoRiga FROM OrdVenLiv ORDER BY Livello1"), (QStringList{"M 3 E", "S 1 P"}));
    EXPECT_EQ(r.righe("SELECT Articolo, Livello1, QtaImpCli, ValImpCli FROM ArticoliProg WHERE QtaImpCli <> 0 OR ValImpCli <> 0 "
                      "ORDER BY Articolo"),
              (QStringList{"ART00002 " + kNoLiv + " 1 1.5", "ART00005 S 1 20"}));
    nienteInSospeso(r);
}

// A manual run that dies in the middle of a line leaves the user's picking, the order's lock and
// the line taken by the run; the recovery then delivers what this user picked. Another user's
// picking of the same line, left behind long ago, is no part of it.
TEST_P(EvasioneManuale, TheRecoveryDeliversWhatThisUserPicked)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    ordineDiUnaRiga(r, {.articolo = art(1), .qta = 10, .prezzo = 38.25});
    // the note's article line is refused: the run stops with the order line taken
    r.rifiutaScritture("DdtDett", "INSERT", "NEW.TipoRiga = 'A'");
    const QStringList picking{"S", "Return", "F10", "5", "Return",          // order 1 picked, 5 of 10
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Space"}; // "&Prosegui >>>"
    const QStringList testi = r.esegui(Richiesta{}.manuale(picking));
    EXPECT_TRUE(testi.contains("Elaborazione terminata")) << testi.join(" | ").toStdString();
    r.accettaScritture("DdtDett");
    ASSERT_EQ(r.righe("SELECT FlagStato, QtaEvasa FROM OrdVenDett"), QStringList{"4 0"});
    ASSERT_EQ(r.righe("SELECT COUNT(*) FROM DocDaElab"), QStringList{"1"});
    // What the program, killed at that point, leaves besides: the picking and the order's lock,
    // which the picking window gives up only when it closes.
    r.esegui(QStringLiteral("DELETE FROM LockGest WHERE Tipo = 'O'"));
    r.esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) "
                            "VALUES ('O', 2024, 1, 'demo', '0', '3')"));
    r.esegui(QStringLiteral("DELETE FROM OrdVenEvaTest"));
    r.esegui(QStringLiteral("DELETE FROM OrdVenEvaDett"));
    const QString picking2 = QStringLiteral(
        "INSERT INTO OrdVenEvaDett (Utente, Anno, NumRif, RigDet, RigLiv, Livello1, Livello2, Articolo, UM, Qta, QtaEvasa, "
        "ASaldo, QtaDaEva, ValUnitario) VALUES ('%1', 2024, 1, 1, 1, ' ', ' ', 'ART00001', 'PZ', 10, 0, 'N', %2, 38.25)");
    r.esegui(QStringLiteral("INSERT INTO OrdVenEvaTest (Utente, Anno, NumRif, Selez, EvadeTutto) "
                            "VALUES ('demo', 2024, 1, 'S', 'N')"));
    r.esegui(picking2.arg("demo").arg(5));
    r.esegui(picking2.arg("luigi").arg(3));

    QString giornale;
    EXPECT_EQ(r.eseguiRun({"--recupera"}, &giornale), 0) << giornale.toStdString();

    // 5 x 38.25 = 191.25 delivered once; 5 still committed
    EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValTotale, QtaProv, NumRifProv FROM DdtDett WHERE TipoRiga = 'A'"),
              QStringList{"ART00001 5 191.25 5 1"});
    EXPECT_EQ(r.righe("SELECT NumRif, TotMerce FROM DdtTest"), QStringList{"1 191.25"});
    EXPECT_EQ(r.righe("SELECT Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett"), QStringList{"10 5 P 0"});
    EXPECT_EQ(r.righe("SELECT Articolo, QtaImpCli, ValImpCli FROM ArticoliProg WHERE QtaImpCli <> 0 OR ValImpCli <> 0"),
              QStringList{"ART00001 5 191.25"});
    EXPECT_EQ(r.righe("SELECT Utente, QtaDaEva FROM OrdVenEvaDett WHERE Utente = 'luigi'"), QStringList{"luigi 3"});
    for (const char *tabella : {"LockGest", "DocDaElab", "AppoggioTemp"})
        EXPECT_EQ(r.righe(QStringLiteral("SELECT COUNT(*) FROM ") + tabella), QStringList{"0"}) << tabella;
}

// Two orders without a destination code, the first stored with the empty text, the second
// Null: one group, and the run puts them into its one note as the group promised.
TEST_P(EvasioneManuale, OrdersWithAnEmptyDestinationCodeShareOneNote)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    ordineDiUnaRiga(r, {.articolo = art(1), .qta = 10, .prezzo = 38.25}, {}, {{"IndSped", ""}});
    ordineDiUnaRiga(r, {.articolo = art(2), .qta = 3, .prezzo = 75.5});

    const QStringList picking{"Right", "S", "Return", "Down",                     // "Tutto" of order 1
                              "S", "Return", "Up",                                // "Tutto" of order 2
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Space"}; // "&Prosegui >>>"
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)), QStringList{"Elaborazione terminata"});

    EXPECT_EQ(r.righe("SELECT NumRif FROM DdtTest"), QStringList{"1"});
    EXPECT_EQ(r.righe("SELECT NumRif, Articolo, Qta, NumRifProv FROM DdtDett WHERE TipoRiga = 'A' ORDER BY RigDet"),
              (QStringList{"1 ART00001 10 1", "1 ART00002 3 2"}));
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 E"}));
    nienteInSospeso(r);
}

// Lines with levels: their packs, their dimension note and the delivery state line after them
// follow what is picked over all the line's levels. The first line (5 pieces in 5 packs) goes
// whole; of the second (10 m in bars of 2.5 m) 2 + 3 m go.
TEST_P(EvasioneManuale, PacksAndDeliveryStateOfALineFollowAllItsLevels)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.parametroPersonale("Ordini", "RigDescrEva", "D;Consegna completa;Consegna parziale");
    r.parametroPersonale("Vendite", "QtaDaDimen", "S");
    r.parametroPersonale("Vendite", "QtaDaDimUML", "ML");
    suite::OrderInput o;
    o.cliente = 6;
    o.righe = {{.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}, .extra = {{"Colli", 5}}},
               {.articolo = art(5),
                .prezzo = 3,
                .livelli = {{"S", "ROSSO", 4}, {"M", "BLU", 6}},
                .extra = {{"UM", "ML"}, {"Colli", 4}, {"Lunghezza", 2500.0}, {"NotaSotto", "4 barre da 2,5 m"}}}};
    r.ordine(o);

    const QStringList picking{"S", "Return", "F10",                         // order 1 picked, to its first row
                              "3", "Return", "Down", "2", "Return", "Down", // line 1: M/BLU 3 of 3, S/ROSSO 2 of 2
                              "2", "Return", "Down", "3", "Return",         // line 2: M/BLU 2 of 6, S/ROSSO 3 of 4
                              "Tab", "Tab", "Tab", "Tab", "Tab", "Space"};  // "&Prosegui >>>"
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)), QStringList{"Elaborazione terminata"});

    // line 1 whole: its 5 packs; line 2, 5 of 10 m: 5 / 2.5 = 2 bars
    EXPECT_EQ(r.righe("SELECT RigDet, TipoRiga, Articolo, UM, Qta, Colli, NotaSotto, NotaSopra FROM DdtDett ORDER BY RigDet"),
              (QStringList{"1 D null null null null null Ord N. 1 DEL 01/03/2024",
                           "2 A ART00005 PZ 5 5 null null", "3 D null null null null null Consegna completa",
                           "4 A ART00005 ML 5 2 2 x 2500 null", "5 D null null null null null Consegna parziale"}));
    EXPECT_EQ(r.righe("SELECT RigDet, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY RigDet"), (QStringList{"1 5 E", "2 5 P"}));
    nienteInSospeso(r);
}

// The keys from "Da Evad." of the line grid to "&Prosegui >>>", pressed.
QStringList prosegui()
{
    return {"Tab", "Tab", "Tab", "Tab", "Tab", "Space"};
}

QStringList ripeti(const QString &tasto, int volte)
{
    QStringList out;
    for (int i = 0; i < volte; ++i)
        out << tasto;
    return out;
}

const QString kSelezioneAperta = QStringLiteral(
    "La selezione ordini da evadere è ancora aperta: concluderla o chiuderla prima di una nuova richiesta.");
const QString kSessioneAperta = QStringLiteral(
    "La selezione ordini da evadere è già aperta dall'utente demo in un'altra sessione.\r\nChiuderla prima di aprirne "
    "un'altra; se nessuno la sta usando sbloccarla con l'utility di sblocco.");
const QString kBlocchiOrdini = QStringLiteral("SELECT COUNT(*) FROM LockGest WHERE Tipo = 'O'");

// With the picking window open the user goes back to the dialog and presses OK, on "Manuale"
// again and then on "Automatica": both refused, and the window's picks stand. "&Prosegui >>>"
// then hands over the one picked order with its picked quantity, in manual mode.
TEST_P(EvasioneManuale, TheDialogTakesNoNewRequestWhileThePickingIsOpen)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    suite::OrderInput o;
    o.cliente = 2;
    o.righe = {{.articolo = art(1), .qta = 10, .prezzo = 38.25}};
    r.ordine(o);
    ordineDiUnaRiga(r, {.articolo = art(2), .qta = 3, .prezzo = 75.5});

    QStringList picking{"S", "Return", "F10", "4", "Return", // order 1 picked, 4 of its 10
                        "Alt+Tab", "Space"};                 // the dialog: OK on "Manuale"
    // "Automatica" (22 fields back from OK) and OK
    picking << ripeti("Shift+Tab", 22) << "Left" << ripeti("Tab", 22) << "Space";
    picking << "Alt+Tab" << prosegui(); // the picking window again
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)),
              (QStringList{kSelezioneAperta, kSelezioneAperta, "Elaborazione terminata"}));

    // 4 x 38.25 = 153.00 at 22 %, VAT 33.66
    EXPECT_EQ(r.righe("SELECT NumRif, ContoCli, TotMerce, TotIva, TotDocum FROM DdtTest"),
              QStringList{"1 0002 153 33.66 186.66"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 P", "2 null"}));
    EXPECT_EQ(r.righe("SELECT NumRif, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY NumRif"),
              (QStringList{"1 4 P", "2 0 null"}));
    nienteInSospeso(r);
}

// Extra header columns of the user: one named with a blank, one of a field that does not exist.
// The second is left out with one message; the first shows, and the picking works.
TEST_P(EvasioneManuale, ABadExtraHeaderColumnIsLeftOutAndThePickingWorks)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.parametroPersonale("Ordini", "EvaLisCampiTeAgg1", "OrdVenTest.Listino:Listino Cliente:900");
    r.parametroPersonale("Ordini", "EvaLisCampiTeAgg2", "OrdVenTest.Inesistente");
    r.parametroPersonale("Ordini", "EvaLisCampiTeAgg3", "Resa:Resa merce");
    ordineDiUnaRiga(r, {.articolo = art(1), .qta = 10, .prezzo = 38.25});

    QStringList picking{"S", "Return", "F10", "F9"};
    picking << prosegui();
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)),
              (QStringList{"Colonne aggiuntive non valide nei parametri personali (Ordini), non mostrate: EvaLisCampiTeAgg2",
                           "Elaborazione terminata"}));
    EXPECT_EQ(r.righe("SELECT TotMerce FROM DdtTest"), QStringList{"382.5"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    nienteInSospeso(r);
}

// The program dies (killed) while its user picks: its session row and the lock of the order it
// had picked stay behind. The same user starts the program again and picks that order: the
// leftovers of the dead session are taken over, and the order is delivered.
TEST_P(EvasioneManuale, AfterItsProgramIsKilledTheUserTakesThePickingBack)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    ordineDiUnaRiga(r, {.articolo = art(1), .qta = 10, .prezzo = 38.25});

    std::unique_ptr<ProgrammaDiProva> morto = r.avvia(Richiesta{}.manuale({"S", "Return", "F10"}, 0));
    ASSERT_TRUE(morto);
    ASSERT_TRUE(r.attendiConteggio(kBlocchiOrdini, 1));
    morto->menu().killProgram();
    EXPECT_EQ(morto->attendiFine(), -1);
    morto.reset();
    EXPECT_EQ(r.righe("SELECT Tipo, Utente FROM LockGest ORDER BY Tipo"), (QStringList{"O demo", "V demo"}));

    QStringList picking{"S", "Return", "F10", "F9"};
    picking << prosegui();
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)), QStringList{"Elaborazione terminata"});
    EXPECT_EQ(r.righe("SELECT TotMerce FROM DdtTest"), QStringList{"382.5"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    nienteInSospeso(r);
}

// A second program of the same user while the first one picks: its picking is refused, and the
// first one's session and lock stay as they are.
TEST_P(EvasioneManuale, AnOpenPickingOfTheSameUserIsNotTakenOver)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    ordineDiUnaRiga(r, {.articolo = art(1), .qta = 10, .prezzo = 38.25});

    std::unique_ptr<ProgrammaDiProva> primo = r.avvia(Richiesta{}.manuale({"S", "Return", "F10"}, 0));
    ASSERT_TRUE(primo);
    ASSERT_TRUE(r.attendiConteggio(kBlocchiOrdini, 1));
    // the second program's picking is refused; "&Annulla" of its dialog ends it
    EXPECT_EQ(r.esegui(Richiesta{}.manuale({"Tab", "Space"}, 0)), QStringList{kSessioneAperta});
    EXPECT_EQ(r.righe("SELECT Tipo, Utente FROM LockGest ORDER BY Tipo"), (QStringList{"O demo", "V demo"}));
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM OrdVenEvaTest WHERE Selez = 'S'"), QStringList{"1"});

    primo->menu().command("fine");
    EXPECT_EQ(primo->attendiFine(), 0);
    nienteInSospeso(r);
}

// Customer 6's orders 1 and 3 can share a note (neither has a carrier: Null on one, an empty
// text on the other), order 2 cannot (another delivery term); customer 2's order 4 comes first.
// The picking shows customer 2, then orders 1 and 3 together, then order 2.
TEST_P(EvasioneManuale, ACustomersJoinableOrdersComeTogether)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    ordineDiUnaRiga(r, {.articolo = art(1), .qta = 10, .prezzo = 38.25});
    ordineDiUnaRiga(r, {.articolo = art(2), .qta = 3, .prezzo = 75.5}, {}, {{"Resa", "ZZZ"}});
    ordineDiUnaRiga(r, {.articolo = art(2), .qta = 2, .prezzo = 75.5}, {}, {{"Vettore", QString("")}});
    suite::OrderInput o;
    o.cliente = 2;
    o.righe = {{.articolo = art(1), .qta = 2, .prezzo = 38.25}};
    r.ordine(o);
    ASSERT_EQ(r.righe("SELECT NumRif FROM OrdVenTest WHERE Vettore = ''"), QStringList{"3"});

    QStringList picking{"S", "Return", "F10", "F9"}; // customer 2: order 4
    picking << prosegui();
    // customer 6: orders 1 and 3, both whole ("Tutto")
    picking << "Right" << "S" << "Return" << "Down" << "S" << "Return" << "Up" << ripeti("Tab", 6) << "Space";
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking, 2)), (QStringList{"Elaborazione terminata", "Elaborazione terminata"}));

    // 2 x 38.25 = 76.50; 10 x 38.25 + 2 x 75.50 = 533.50
    EXPECT_EQ(r.righe("SELECT NumRif, ContoCli, TotMerce FROM DdtTest ORDER BY NumRif"),
              (QStringList{"1 0002 76.5", "2 0006 533.5"}));
    EXPECT_EQ(r.righe("SELECT NumRif, NotaSopra FROM DdtDett WHERE TipoRiga = 'D' ORDER BY NumRif, RigDet"),
              (QStringList{"1 Ord N. 4 DEL 01/03/2024", "2 Ord N. 1 DEL 01/03/2024", "2 Ord N. 3 DEL 01/03/2024"}));
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 null", "3 E", "4 E"}));
    nienteInSospeso(r);
}

// A line with levels, shown by its summary row, whose S/ROSSO was closed with nothing delivered:
// the summary row stands for M/BLU alone, 3 of 3, and the 3 typed on it is taken as it is.
TEST_P(EvasioneManuale, ASummaryRowShowsTheTotalOfItsLevels)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.parametroPersonale("Ordini", "EvaManLivGruppo", "S");
    suite::OrderInput o;
    o.cliente = 6;
    o.righe = {{.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}}};
    r.ordine(o);
    r.esegui(QStringLiteral("UPDATE OrdVenLiv SET StatoRiga = 'E' WHERE Livello1 = 'S'"));

    QStringList picking{"S", "Return", "F10", "3", "Return"};
    picking << prosegui();
    EXPECT_EQ(r.esegui(Richiesta{}.manuale(picking)), QStringList{"Elaborazione terminata"});

    EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValTotale FROM DdtDett WHERE TipoRiga <> 'D'"), QStringList{"ART00005 3 60"});
    EXPECT_EQ(r.righe("SELECT Livello1, Qta FROM DdtLiv"), QStringList{"M 3"});
    EXPECT_EQ(r.righe("SELECT Livello1, QtaEvasa, StatoRiga FROM OrdVenLiv ORDER BY Livello1"),
              (QStringList{"M 3 E", "S 0 E"}));
    nienteInSospeso(r);
}

INSTANTIATE_TEST_SUITE_P(Engines, EvasioneManuale, kBothEngines, engineParamName);

} // namespace
