// Runs of the real program, from the request typed into its dialog to the stored documents, on a
// SQLite file and on PostgreSQL. Every expected value is worked out by hand from the orders below
// and ordineCompleto (evasionereale.h); prices net of VAT, euro, two decimals.
//
// Customers 2 and 6 pay by bank transfer ("BB30", no stamp duty, no bank charge) and get the
// order's reference line ("Fat.StRifOrd" "S" for customer 2, their own "S" for customer 6),
// which names the order's printed number (the fixture's orders carry NumDoc = NumRif).
#include "evasionereale.h"

#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// An order of customer 6 of which line 1 (ART00001, 10 x 38.25) had 4 delivered earlier,
// then `seconda`.
void ordineInParte(EvasioneReale &r, suite::LineInput seconda)
{
    suite::OrderInput o;
    o.cliente = 6;
    o.righe = {{.articolo = art(1), .qta = 10, .prezzo = 38.25, .qtaEvasa = 4}, std::move(seconda)};
    r.ordine(o);
}

// What every finished run leaves behind: nothing registered, locked or saved.
void nienteInSospeso(EvasioneReale &r)
{
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DocDaElab"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM LockGest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM AppoggioTemp"), QStringList{"0"});
}

// Every order line delivered: no quantity or value committed to customers any more, and
// nothing left in suspense.
void tuttoEvaso(EvasioneReale &r)
{
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM ArticoliProg WHERE QtaImpCli <> 0 OR ValImpCli <> 0"), QStringList{"0"});
    nienteInSospeso(r);
}

const QString kTotali = QStringLiteral("TotMerce, TotSpese, TotImpon, TotIva, TotDocum, ImponRitAcc");

class Evasioni : public ::testing::TestWithParam<Engine> {};

TEST_P(Evasioni, AnAutomaticRunMakesADeliveryNoteRowByRow)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.ordine(ordineCompleto(6));
    // committed before the run: what each line and level still has to deliver
    EXPECT_EQ(r.righe("SELECT Articolo, Livello1, Livello2, QtaImpCli, ValImpCli FROM ArticoliProg"
                      " WHERE QtaImpCli <> 0 ORDER BY Articolo, Livello1"),
              (QStringList{"ART00001 " + kNoLiv + " " + kNoLiv + " 10 382.5", "ART00003 " + kNoLiv + " " + kNoLiv + " 4 45",
                           "ART00005 M BLU 3 60", "ART00005 S ROSSO 2 40"}));

    const QStringList testi = r.esegui(Richiesta{});
    EXPECT_TRUE(testi.contains("Elaborazione terminata")) << testi.join(" | ").toStdString();

    r.confrontaNota({.testata = "2024 1 DDT B 14 01 0006 BB30 Euro S O 2024 1 null null 30/06/2024",
                     .totali = "527.5 15 542.5 113.95 656.45 0",
                     .righe = {"1 1 D null null null null null null null null", "2 2 A ART00001 10 38.25 382.5 22 1 1 10",
                               "3 3 A ART00005 5 20 100 22 1 2 5", "4 4 A ART00003 4 12.5 45 10 1 3 4"},
                     .riferimento = "Ord N. 1 DEL 01/03/2024",
                     .livelli = {"1 3 S ROSSO 2 20 40 2", "1 3 M BLU 3 20 60 3"},
                     .spese = {"1 1 TRA 15 22"}});

    // the order fully delivered, nothing committed any more
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    EXPECT_EQ(r.righe("SELECT RigDet, Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett ORDER BY RigDet"),
              (QStringList{"1 10 10 E 0", "2 5 5 E 0", "3 4 4 E 0"}));
    EXPECT_EQ(r.righe("SELECT Livello1, Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenLiv ORDER BY Qta"),
              (QStringList{"S 2 2 E 0", "M 3 3 E 0"}));
    tuttoEvaso(r);
}

// Each call to the menu server is a round trip: the user's name is asked once while the program
// is linked, a parameter once per run, however many orders and lines the run converts.
TEST_P(Evasioni, ARunAsksTheMenuServerOncePerParameterNotPerOrder)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    constexpr int kOrdini = 40;
    for (int i = 0; i < kOrdini; ++i)
        r.ordine(ordineCompleto(1 + i % 8));

    const QStringList testi = r.esegui(Richiesta{});
    EXPECT_EQ(testi, QStringList{"Elaborazione terminata"});
    // one note per customer, each order its reference line and its three lines
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest"), QStringList{"8"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtDett"), QStringList{QString::number(kOrdini * 4)});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM OrdVenTest WHERE Stato = 'E'"), QStringList{QString::number(kOrdini)});

    const QStringList giornale = r.giornaleMenu();
    EXPECT_EQ(giornale.filter(QRegularExpression("^chiamata NomeUtente\\(")).size(), 1);
    // the run: from its first read of a personal parameter to the end of the program
    const auto inizio = std::find_if(giornale.begin(), giornale.end(),
                                     [](const QString &l) { return l.contains(QString::fromUtf8("EvasioneOrd.§DicIntentiVerif")); });
    const auto fine = std::find_if(inizio, giornale.end(), [](const QString &l) { return l.startsWith("comando fine"); });
    ASSERT_NE(inizio, giornale.end());
    QStringList ripetute;
    std::copy_if(inizio, fine, std::back_inserter(ripetute), [](const QString &l) { return l.startsWith("chiamata "); });
    QStringList diverse = ripetute;
    diverse.removeDuplicates();
    for (const QString &l : std::as_const(diverse))
        ripetute.removeOne(l);
    EXPECT_EQ(ripetute, QStringList{});
    EXPECT_LT(diverse.size(), kOrdini) << diverse.join("\n").toStdString();
}

TEST_P(Evasioni, InvoicesGroupOrdersPerCustomer)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // order type "OCF" is fulfilled by invoices "FAT" (prefix "A" of the sales register)
    r.parametroMenu("Fat.DocOrd", "OCF");
    const auto ordine = [&](int cliente, suite::LineInput riga, std::vector<suite::ExpenseInput> spese = {}) {
        suite::OrderInput o;
        o.cliente = cliente;
        o.fattDocumento = "OCF";
        o.righe = {std::move(riga)};
        o.spese = std::move(spese);
        return r.ordine(o);
    };
    ordine(2, {.articolo = art(2), .qta = 3, .prezzo = 75.5});                 // 226.50 at 22 %
    ordine(6, {.articolo = art(1), .qta = 2, .prezzo = 38.25});                // 76.50 at 22 %
    ordine(2, {.articolo = art(3), .qta = 1, .prezzo = 112.7}, {{.spesa = "TRA", .importo = 15}}); // 112.70 at 10 %

    const QStringList testi = r.esegui(Richiesta{});
    EXPECT_TRUE(testi.contains("Elaborazione terminata")) << testi.join(" | ").toStdString();

    // customer 2: orders 1 and 3 in one invoice; customer 6: its own
    EXPECT_EQ(r.righe("SELECT NumRif, FattDocumento, PreDoc, ContoCli, RagOrd, Pagamento, Stato, NumDoc FROM FatTest "
                      "ORDER BY NumRif"),
              (QStringList{"1 FAT A 0002 S BB30 null null", "2 FAT A 0006 S BB30 null null"}));
    // 22 %: 226.50 + 15.00 = 241.50, VAT 53.13; 10 %: 112.70, VAT 11.27
    // 22 %: 76.50, VAT 16.83
    EXPECT_EQ(r.righe("SELECT NumRif, " + kTotali + " FROM FatTest ORDER BY NumRif"),
              (QStringList{"1 339.2 15 354.2 64.4 418.6 0", "2 76.5 0 76.5 16.83 93.33 0"}));
    EXPECT_EQ(r.righe("SELECT NumRif, RigDet, TipoRiga, Articolo, Qta, ValTotale, Iva, OrdNumRif, OrdRigDet, "
                      "NumRifProv, Riepilogativa FROM FatDett ORDER BY NumRif, RigDet"),
              (QStringList{"1 1 D null null null null null null null N", "1 2 A ART00002 3 226.5 22 1 1 1 N",
                           "1 3 D null null null null null null null N", "1 4 A ART00003 1 112.7 10 3 1 3 N",
                           "2 1 D null null null null null null null N", "2 2 A ART00001 2 76.5 22 2 1 2 N"}));
    EXPECT_EQ(r.righe("SELECT NumRif, RigDet, NotaSopra FROM FatDett WHERE TipoRiga = 'D' ORDER BY NumRif, RigDet"),
              (QStringList{"1 1 Ord N. 1 DEL 01/03/2024", "1 3 Ord N. 3 DEL 01/03/2024",
                           "2 1 Ord N. 2 DEL 01/03/2024"}));
    EXPECT_EQ(r.righe("SELECT NumRif, Riga, Spesa, Importo, Iva FROM FatSpese"), QStringList{"1 1 TRA 15 22"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM FatLiv"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 E", "3 E"}));
    EXPECT_EQ(r.righe("SELECT NumRif, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY NumRif"),
              (QStringList{"1 3 E", "2 2 E", "3 1 E"}));
    tuttoEvaso(r);
}

TEST_P(Evasioni, APartialDeliveryThenTheBalanceJoinTheOpenNote)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // line 1 had 4 of 10 delivered earlier: 6 still committed
    ordineInParte(r, {.articolo = art(2), .qta = 3, .prezzo = 75.5});

    // first the article ART00002 alone: 3 x 75.50 = 226.50, VAT 49.83
    QStringList testi = r.esegui(Richiesta{}.articolo(art(2), art(2)));
    EXPECT_TRUE(testi.contains("Elaborazione terminata")) << testi.join(" | ").toStdString();
    EXPECT_EQ(r.righe("SELECT RigDet, TipoRiga, Articolo, Qta, ValTotale, RigaRifProv FROM DdtDett ORDER BY RigDet"),
              (QStringList{"1 D null null null null", "2 A ART00002 3 226.5 2"}));
    EXPECT_EQ(r.righe("SELECT NumRif, " + kTotali + " FROM DdtTest"), QStringList{"1 226.5 0 226.5 49.83 276.33 0"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"P"});
    EXPECT_EQ(r.righe("SELECT RigDet, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY RigDet"),
              (QStringList{"1 4 P", "2 3 E"}));
    EXPECT_EQ(r.righe("SELECT Articolo, QtaImpCli, ValImpCli FROM ArticoliProg WHERE Articolo IN ('ART00001', 'ART00002') "
                      "ORDER BY Articolo"),
              (QStringList{"ART00001 6 229.5", "ART00002 0 0"}));
    nienteInSospeso(r);

    // then the balance: the 6 left of line 1 (229.50) go into the same open note, which is
    // totalled again: 456.00, VAT 100.32
    testi = r.esegui(Richiesta{});
    EXPECT_TRUE(testi.contains("Elaborazione terminata")) << testi.join(" | ").toStdString();
    EXPECT_EQ(r.righe("SELECT RigDet, TipoRiga, Articolo, Qta, ValTotale, RigaRifProv, QtaProv FROM DdtDett "
                      "ORDER BY RigDet"),
              (QStringList{"1 D null null null null null", "2 A ART00002 3 226.5 2 3", "3 D null null null null null",
                           "4 A ART00001 6 229.5 1 6"}));
    EXPECT_EQ(r.righe("SELECT NumRif, " + kTotali + " FROM DdtTest"), QStringList{"1 456 0 456 100.32 556.32 0"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    EXPECT_EQ(r.righe("SELECT RigDet, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY RigDet"),
              (QStringList{"1 10 E", "2 3 E"}));
    tuttoEvaso(r);
}

TEST_P(Evasioni, ACashSaleIsPostedAsAStockMovement)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // the order type's stock causal for cash sales: an issue to the customer
    r.esegui(QStringLiteral("UPDATE FattDocumenti SET MagCausaleRientro = 'VEN' WHERE FattDocumento = 'OC'"));
    suite::OrderInput o;
    o.cliente = 6;
    o.righe = {{.articolo = art(1), .qta = 10, .prezzo = 38.25},
               {.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3}}}};
    r.ordine(o);
    const QStringList prima = r.righe("SELECT Articolo, Livello1, QtaScarico, ValScarico FROM ArticoliProg "
                                      "WHERE Articolo IN ('ART00001', 'ART00005') AND QtaImpCli <> 0 ORDER BY Articolo, Livello1");
    EXPECT_EQ(prima, (QStringList{"ART00001 " + kNoLiv + " 0 0", "ART00005 M 0 0", "ART00005 S 0 0"}));

    const QStringList testi = r.esegui(Richiesta{}.corrispettivo());
    EXPECT_TRUE(testi.contains("Elaborazione terminata")) << testi.join(" | ").toStdString();

    // no document; one movement of the order, posted
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT Anno, NumReg, FattDocumento, MagCausale, MagazzinoProv, MagazzinoDest, GruppoCliFor, "
                      "MastroCliFor, ContoCliFor, Moneta, AutMan FROM MovMagTes"),
              QStringList{"2024 1 OC VEN 01 14010006 14 01 0006 Euro A"});
    EXPECT_EQ(r.righe("SELECT DataReg FROM MovMagTes"), QStringList{"30/06/2024"});
    EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValTotale FROM MovMagDett ORDER BY Articolo"),
              (QStringList{"ART00001 10 382.5", "ART00005 5 100"}));
    EXPECT_EQ(r.righe("SELECT Articolo, Livello1, Livello2, Qta, ValTotale FROM MovMagLiv ORDER BY Qta"),
              (QStringList{"ART00005 S ROSSO 2 40", "ART00005 M BLU 3 60"}));
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM MovMagDettApp"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM MovMagLivApp"), QStringList{"0"});
    // the issue in the progressives, nothing committed any more
    EXPECT_EQ(r.righe("SELECT Articolo, Livello1, QtaScarico, ValScarico, QtaImpCli, ValImpCli FROM ArticoliProg "
                      "WHERE Articolo IN ('ART00001', 'ART00005') AND QtaScarico <> 0 ORDER BY Articolo, Livello1"),
              (QStringList{"ART00001 " + kNoLiv + " 10 382.5 0 0", "ART00005 M 3 60 0 0", "ART00005 S 2 40 0 0"}));
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    EXPECT_EQ(r.righe("SELECT RigDet, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY RigDet"),
              (QStringList{"1 10 E", "2 5 E"}));
    EXPECT_EQ(r.righe("SELECT Livello1, QtaEvasa, StatoRiga FROM OrdVenLiv ORDER BY Qta"), (QStringList{"S 2 E", "M 3 E"}));
    nienteInSospeso(r);
}

TEST_P(Evasioni, AnInterruptedRunIsRefusedUntilRecovered)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    suite::OrderInput o;
    o.cliente = 2;
    o.righe = {{.articolo = art(2), .qta = 3, .prezzo = 75.5}};
    r.ordine(o);
    o.cliente = 6;
    o.righe = {{.articolo = art(1), .qta = 2, .prezzo = 38.25}};
    r.ordine(o);
    // another user holds the number the second note would take; the user gives up on it
    r.esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) "
                            "VALUES ('D', 2024, 2, 'mario', '0', '3')"));
    r.risposte({"2"});
    QStringList testi = r.esegui(Richiesta{}, QStringLiteral("in uso da"));
    // the user's stop ends the run, which says so
    EXPECT_EQ(testi, (QStringList{"Doc. in uso da mario", "Elaborazione terminata"}));
    // the first note stays as the run left it: converted, registered, not totalled; the second
    // one, never locked, is not left behind empty
    EXPECT_EQ(r.righe("SELECT NumRif, ContoCli, TotDocum FROM DdtTest ORDER BY NumRif"), QStringList{"1 0002 null"});
    EXPECT_EQ(r.righe("SELECT RigDet, Articolo, Qta FROM DdtDett ORDER BY RigDet"),
              (QStringList{"1 null null", "2 ART00002 3"}));
    EXPECT_EQ(r.righe("SELECT NumReg, Anno FROM DocDaElab"), QStringList{"1 2024"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 null"}));

    // the next run is refused and changes nothing
    r.risposte({});
    r.esegui(QStringLiteral("DELETE FROM LockGest WHERE Utente = 'mario'"));
    const QStringList documenti = r.righe("SELECT NumRif, TotDocum FROM DdtTest ORDER BY NumRif");
    testi = r.esegui(Richiesta{}, QStringLiteral("Risultano delle elaborazioni interrotte"));
    EXPECT_TRUE(testi.contains("(DocDaElab) Risultano delle elaborazioni interrotte. Lanciare il programma di ripristino."))
        << testi.join(" | ").toStdString();
    EXPECT_EQ(r.righe("SELECT NumRif, TotDocum FROM DdtTest ORDER BY NumRif"), documenti);
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 null"}));
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtDett WHERE NumRif = 2"), QStringList{"0"});

    // the recovery closes the note the run left (226.50, VAT 49.83) and releases the order it
    // did not reach
    QString giornale;
    EXPECT_EQ(r.eseguiRun({"--recupera"}, &giornale), 0) << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT NumRif, " + kTotali + " FROM DdtTest ORDER BY NumRif"),
              QStringList{"1 226.5 0 226.5 49.83 276.33 0"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 null"}));
    nienteInSospeso(r);

    // and the program runs again: the second order into a note of its own (76.50, VAT 16.83)
    testi = r.esegui(Richiesta{});
    EXPECT_EQ(testi, QStringList{"Elaborazione terminata"});
    EXPECT_EQ(r.righe("SELECT NumRif, ContoCli, " + kTotali + " FROM DdtTest ORDER BY NumRif"),
              (QStringList{"1 0002 226.5 0 226.5 49.83 276.33 0", "2 0006 76.5 0 76.5 16.83 93.33 0"}));
    EXPECT_EQ(r.righe("SELECT NumRif, RigDet, Articolo, Qta, ValTotale, NumRifProv FROM DdtDett WHERE NumRif = 2 "
                      "ORDER BY RigDet"),
              (QStringList{"2 1 null null null null", "2 2 ART00001 2 76.5 2"}));
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 E"}));
    tuttoEvaso(r);
}

// A balance-only run is asked of evasord_run: the dialog has no such choice (manual picking
// gives it), and evasord_run runs the same engine with the same services. Every selected line
// is closed to balance there, with no staging of a picking to say so.
TEST_P(Evasioni, ABalanceOnlyRunClosesTheLinesWithoutADocument)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // 4 of 10 delivered on line 1; 1 of the 3 M/BLU of line 2: 6, 2 and 2 still committed
    ordineInParte(r, {.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3, 1}}});
    EXPECT_EQ(r.righe("SELECT Articolo, Livello1, QtaImpCli, ValImpCli FROM ArticoliProg WHERE QtaImpCli <> 0 "
                      "ORDER BY Articolo, Livello1"),
              (QStringList{"ART00001 " + kNoLiv + " 6 229.5", "ART00005 M 2 40", "ART00005 S 2 40"}));

    QString giornale;
    EXPECT_EQ(r.eseguiRun({"--solo-a-saldo"}, &giornale), 0) << giornale.toStdString();

    // closed as they stand: nothing more delivered, nothing committed, no document
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtDett"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    EXPECT_EQ(r.righe("SELECT RigDet, Qta, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY RigDet"),
              (QStringList{"1 10 4 E", "2 5 1 E"}));
    EXPECT_EQ(r.righe("SELECT Livello1, Qta, QtaEvasa, StatoRiga FROM OrdVenLiv ORDER BY Qta"),
              (QStringList{"S 2 0 E", "M 3 1 E"}));
    tuttoEvaso(r);
}

// An order to invoice ("OCF", fulfilled by invoices "FAT") of customer 3, who pays by three bank
// receipts ("RB306090": collection charge "INC" of 2.50 each, excluded from VAT under "E15") and
// bears stamp duty.
suite::OrderInput ordineConRicevute(EvasioneReale &r, suite::LineInput riga)
{
    r.parametroMenu("Fat.DocOrd", "OCF");
    suite::OrderInput o;
    o.cliente = 3;
    o.fattDocumento = "OCF";
    o.righe = {std::move(riga)};
    return o;
}

TEST_P(Evasioni, AnInvoiceGetsItsBankChargeAndTheStampsOfItsReceipts)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.ordine(ordineConRicevute(r, {.articolo = art(2), .qta = 4, .prezzo = 75.5})); // 302.00 at 22 %, VAT 66.44

    const QStringList testi = r.esegui(Richiesta{});
    EXPECT_TRUE(testi.contains("Elaborazione terminata")) << testi.join(" | ").toStdString();

    // the charge: 3 x 2.50, under its own VAT code
    EXPECT_EQ(r.righe("SELECT NumRif, Riga, Spesa, Importo, Iva FROM FatSpese"), QStringList{"1 1 INC 7.5 E15"});
    // before the stamps 302.00 + 66.44 + 7.50 = 375.94; one receipt of a third of it with its
    // own stamp, (375.94 + 3 x 1.81) / 3 = 127.13, stays in the first bracket (up to 129.11):
    // three stamps of 1.81 = 5.43, and 381.37 in all
    EXPECT_EQ(r.righe("SELECT NumRif, Bolli, SpeseBan, " + kTotali + " FROM FatTest"),
              QStringList{"1 S S 302 7.5 302 66.44 381.37 0"});
    EXPECT_EQ(r.righe("SELECT NumRif, FENumeroBollo, FEImportoBollo FROM FatTestFe"), QStringList{"1 SI 5.43"});
    tuttoEvaso(r);
}

// A colour written "CAFFÈ" on the order and "caffè" in the product progressives is one colour on
// either engine: the delivery releases what the order had committed there.
TEST_P(Evasioni, AnAccentedLevelInAnotherCaseIsTheSameLevel)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    suite::OrderInput o;
    o.cliente = 6;
    o.righe = {{.articolo = art(5), .prezzo = 20, .livelli = {{"S", "CAFFÈ", 2}, {"M", "BLU", 3}}}};
    r.ordine(o);
    r.esegui(QStringLiteral("UPDATE ArticoliProg SET Livello2 = 'caffè' WHERE Livello2 = 'CAFFÈ'"));
    EXPECT_EQ(r.righe("SELECT Livello1, Livello2, QtaImpCli, ValImpCli FROM ArticoliProg WHERE QtaImpCli <> 0 ORDER BY Livello1"),
              (QStringList{"M BLU 3 60", "S caffè 2 40"}));

    const QStringList testi = r.esegui(Richiesta{});
    EXPECT_TRUE(testi.contains("Elaborazione terminata")) << testi.join(" | ").toStdString();

    EXPECT_EQ(r.righe("SELECT Livello1, Livello2, Qta FROM DdtLiv ORDER BY Livello1"), (QStringList{"M BLU 3", "S CAFFÈ 2"}));
    EXPECT_EQ(r.righe("SELECT Livello1, Livello2, QtaImpCli, ValImpCli FROM ArticoliProg WHERE Articolo = 'ART00005' "
                      "AND (QtaImpCli <> 0 OR ValImpCli <> 0 OR Livello2 = 'caffè')"),
              QStringList{"S caffè 0 0"});
    tuttoEvaso(r);
}

// Orders without a destination code, one stored with the empty text and the others Null, go
// into one invoice like any orders whose grouping fields agree: one collection charge and one
// set of stamps for the lot.
TEST_P(Evasioni, OrdersWithAnEmptyDestinationCodeShareOneInvoice)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    suite::OrderInput o = ordineConRicevute(r, {.articolo = art(2), .qta = 2, .prezzo = 75.5});
    o.extra = {{"IndSped", ""}};
    r.ordine(o);
    r.ordine(o);
    o.extra = {{"IndSped", Variant::null()}};
    r.ordine(o);

    const QStringList testi = r.esegui(Richiesta{});
    EXPECT_TRUE(testi.contains("Elaborazione terminata")) << testi.join(" | ").toStdString();

    // one invoice of the three orders, with one collection charge (3 x 2.50) and one stamp row
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM FatTest"), QStringList{"1"});
    EXPECT_EQ(r.righe("SELECT NumRif, Riga, Spesa, Importo, Iva FROM FatSpese"), QStringList{"1 1 INC 7.5 E15"});
    EXPECT_EQ(r.righe("SELECT NumRifProv, COUNT(*) FROM FatDett WHERE TipoRiga = 'A' GROUP BY NumRifProv ORDER BY NumRifProv"),
              (QStringList{"1 1", "2 1", "3 1"}));
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM FatTestFe"), QStringList{"1"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"E", "E", "E"}));
    tuttoEvaso(r);
}

INSTANTIATE_TEST_SUITE_P(Engines, Evasioni, kBothEngines, engineParamName);

} // namespace
