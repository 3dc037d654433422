// Orders whose data would give a plainly wrong document, and the runs and recoveries that meet
// them, with evasord_run on a SQLite file and on PostgreSQL: each such order is refused whole,
// named with its line and the reason, and the run or the recovery goes on with the others.
#include "evasionereale.h"

#include <gtest/gtest.h>

namespace {

// What every finished run leaves behind: nothing registered, locked or saved.
void nienteInSospeso(EvasioneReale &r)
{
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DocDaElab"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM LockGest"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM AppoggioTemp"), QStringList{"0"});
}

suite::OrderInput ordineDi(int cliente, suite::LineInput riga)
{
    suite::OrderInput o;
    o.cliente = cliente;
    o.righe = {std::move(riga)};
    return o;
}

// Everything a refused order could have changed: its lines, levels and state, and the
// committed quantities of the articles only refused orders use.
QStringList ordiniRifiutati(EvasioneReale &r, const QString &numeri)
{
    return r.righe("SELECT NumRif, RigDet, Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett WHERE NumRif IN (" + numeri
                   + ") ORDER BY NumRif, RigDet")
           + r.righe("SELECT NumRif, RigLiv, Livello1, QtaEvasa, StatoRiga, FlagStato FROM OrdVenLiv WHERE NumRif IN ("
                     + numeri + ") ORDER BY NumRif, RigLiv, Livello1")
           + r.righe("SELECT NumRif, Stato FROM OrdVenTest WHERE NumRif IN (" + numeri + ") ORDER BY NumRif")
           + r.righe("SELECT Articolo, Livello1, QtaImpCli, ValImpCli, QtaScarico FROM ArticoliProg"
                     " WHERE Articolo <> 'ART00003' ORDER BY Articolo, Livello1, Livello2");
}

class DatiErrati : public ::testing::TestWithParam<Engine> {
protected:
    QString infinito() const { return GetParam() == Engine::PostgreSQL ? "'Infinity'" : "9e999"; }
};

TEST_P(DatiErrati, AnOrderThatCannotBeConvertedIsRefusedByNameAndTheRunGoesOn)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    // ART00003 (4 x 12.50 less 10 % = 45.00, VAT 10) is the good orders' only article
    const suite::LineInput buona{.articolo = art(3), .qta = 4, .prezzo = 12.5, .sconto = "10"};
    r.ordine(ordineDi(2, buona));                                                  // 1
    r.ordine(ordineDi(3, {.articolo = art(1), .qta = 10, .prezzo = 38.25}));       // 2 quantity Null
    r.ordine(ordineDi(4, {.articolo = art(2), .qta = 3, .prezzo = 75.5}));         // 3 VAT code ZZ
    r.ordine(ordineDi(5, {.articolo = art(1), .qta = 2, .prezzo = 38.25}));        // 4 currency XXX
    r.ordine(ordineDi(1, {.articolo = art(1), .qta = 5, .prezzo = 38.25}));        // 5 a level on ART00001
    r.ordine(ordineDi(3, {.articolo = art(2), .qta = 1, .prezzo = 75.5}));         // 6 quantity 1e15
    r.ordine(ordineDi(4, {.articolo = art(2), .qta = 1, .prezzo = 75.5}));         // 7 infinite quantity
    r.ordine(ordineDi(5, {.articolo = art(1), .qta = 1, .prezzo = 38.25}));        // 8 price at the currency maximum
    suite::OrderInput spesa = ordineDi(1, {.articolo = art(2), .qta = 1, .prezzo = 75.5});
    spesa.spese = {{.spesa = "TRA", .importo = 15, .iva = "ZZ"}};                 // 9 expense VAT code ZZ
    r.ordine(spesa);
    r.ordine(ordineDi(3, {.articolo = art(1), .qta = 1, .prezzo = 6e10}));         // 10 its lire twin too large
    r.ordine(ordineDi(6, buona));                                                  // 11
    r.esegui("UPDATE OrdVenDett SET Qta = NULL WHERE NumRif = 2");
    r.esegui("UPDATE OrdVenDett SET Iva = 'ZZ' WHERE NumRif = 3");
    r.esegui("UPDATE OrdVenTest SET Moneta = 'XXX' WHERE NumRif = 4");
    r.esegui("INSERT INTO OrdVenLiv (Anno, NumRif, RigLiv, Livello1, Livello2, Qta, QtaEvasa) "
             "VALUES (2024, 5, 1, 'M', 'BLU', 5, 0)");
    r.esegui("UPDATE OrdVenDett SET Qta = 1e15 WHERE NumRif = 6");
    r.esegui("UPDATE OrdVenDett SET Qta = " + infinito() + " WHERE NumRif = 7");
    r.esegui("UPDATE OrdVenDett SET ValUnitario = 922337203685477.5807, ValTotale = 922337203685477.5807, "
             "ValEuro = 922337203685477.5807 WHERE NumRif = 8");
    const QString rifiutati = "2, 3, 4, 5, 6, 7, 8, 9, 10";
    const QStringList prima = ordiniRifiutati(r, rifiutati);

    for (int volta = 1; volta <= 2; ++volta) {
        // the rate of a currency the company does not have is asked all the same
        QString giornale;
        EXPECT_EQ(r.eseguiRun({"--cambio", "XXX=1"}, &giornale), 3) << giornale.toStdString();
        for (const char *riga : {"Ordine n.rif 2 anno 2024 non evaso, riga 1: quantità mancante",
                                 "Ordine n.rif 3 anno 2024 non evaso, riga 1: codice IVA inesistente (ZZ)",
                                 "Ordine n.rif 4 anno 2024 non evaso, moneta inesistente (XXX)",
                                 "Ordine n.rif 5 anno 2024 non evaso, riga 1, livello M/BLU: l'articolo ART00001 non ha livelli",
                                 "Ordine n.rif 6 anno 2024 non evaso, riga 1: quantità oltre il limite gestito",
                                 "Ordine n.rif 7 anno 2024 non evaso, riga 1: quantità non valida",
                                 "Ordine n.rif 8 anno 2024 non evaso, riga 1: prezzo oltre il limite gestito",
                                 "Ordine n.rif 9 anno 2024 non evaso, spesa TRA: codice IVA inesistente (ZZ)",
                                 "Ordine n.rif 10 anno 2024 non evaso, riga 1: importo in lire oltre il limite gestito"})
            EXPECT_TRUE(giornale.contains(QString::fromUtf8(riga))) << volta << ": " << riga << "\n" << giornale.toStdString();
        EXPECT_TRUE(giornale.contains("[msgCom] Elaborazione terminata")) << giornale.toStdString();

        // the good orders into their notes, totalled (45.00, VAT 4.50); nothing of the others
        EXPECT_EQ(r.righe("SELECT NumRif, ContoCli, TotMerce, TotIva, TotDocum FROM DdtTest ORDER BY NumRif"),
                  (QStringList{"1 0002 45 4.5 49.5", "2 0006 45 4.5 49.5"}));
        EXPECT_EQ(r.righe("SELECT NumRifProv, Articolo, Qta, ValTotale FROM DdtDett WHERE TipoRiga = 'A' ORDER BY NumRifProv"),
                  (QStringList{"1 ART00003 4 45", "11 ART00003 4 45"}));
        EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtLiv"), QStringList{"0"});
        EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtSpese"), QStringList{"0"});
        EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest WHERE NumRif IN (1, 11) ORDER BY NumRif"),
                  (QStringList{"1 E", "11 E"}));
        EXPECT_EQ(ordiniRifiutati(r, rifiutati), prima);
        nienteInSospeso(r);

        // nothing is left for a recovery, and the next run meets the same orders again
        EXPECT_EQ(r.eseguiRun({"--recupera"}, &giornale), 0) << giornale.toStdString();
    }
}

TEST_P(DatiErrati, ACashSaleRefusesTheOrderAndPostsTheOthers)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.esegui(QStringLiteral("UPDATE FattDocumenti SET MagCausaleRientro = 'VEN' WHERE FattDocumento = 'OC'"));
    r.ordine(ordineDi(2, {.articolo = art(1), .qta = 10, .prezzo = 38.25}));
    r.ordine(ordineDi(3, {.articolo = art(2), .qta = 3, .prezzo = 75.5}));
    r.ordine(ordineDi(6, {.articolo = art(3), .qta = 4, .prezzo = 12.5, .sconto = "10"}));
    r.esegui("UPDATE OrdVenDett SET Qta = 1e15 WHERE NumRif = 1");
    r.esegui("UPDATE OrdVenDett SET Iva = 'ZZ' WHERE NumRif = 2");
    const QStringList prima = ordiniRifiutati(r, "1, 2");

    QString giornale;
    EXPECT_EQ(r.eseguiRun({"--corrispettivo"}, &giornale), 3) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Ordine n.rif 1 anno 2024 non evaso, riga 1: quantità oltre il limite gestito"))
        << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Ordine n.rif 2 anno 2024 non evaso, riga 1: codice IVA inesistente (ZZ)"))
        << giornale.toStdString();
    // one movement, of the third order, posted
    EXPECT_EQ(r.righe("SELECT Anno, NumReg, ContoCliFor FROM MovMagTes"), QStringList{"2024 1 0006"});
    EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValTotale FROM MovMagDett"), QStringList{"ART00003 4 45"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM MovMagDettApp"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 null", "2 null", "3 E"}));
    EXPECT_EQ(ordiniRifiutati(r, "1, 2"), prima);
    nienteInSospeso(r);
}

// Orders of one customer in lire joining one note: each line fits, but with the sixth order the
// note's VAT (taken as a currency amount) would no longer fit one, and its closing could never
// store it. Past the limit the run takes (9,000 billion), the order that would join is refused.
TEST_P(DatiErrati, AnOrderIsRefusedWhenTheDocumentItJoinsWouldPassTheLimit)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    for (int i = 0; i < 6; ++i) {
        suite::OrderInput o = ordineDi(2, {.articolo = art(2), .qta = 1, .prezzo = 8e12});
        o.moneta = "L.";
        r.ordine(o);
    }
    QString giornale;
    EXPECT_EQ(r.eseguiRun({}, &giornale), 3) << giornale.toStdString();
    for (int n = 2; n <= 6; ++n)
        EXPECT_TRUE(giornale.contains(QStringLiteral("Ordine n.rif %1 anno 2024 non evaso, importo del documento n.rif 1 "
                                                     "oltre il limite gestito")
                                          .arg(n)))
            << n << "\n" << giornale.toStdString();
    // the first order alone, its note closed: 8,000 billion lire, VAT 22 %
    EXPECT_EQ(r.righe("SELECT NumRif, Moneta, TotMerce, TotIva, TotDocum FROM DdtTest"),
              QStringList{"1 L. 8e+12 1.76e+12 9.76e+12"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest WHERE Stato IS NOT NULL"), QStringList{"1 E"});
    nienteInSospeso(r);
}

// A run stopped by another user's lock on the number its second note would take, with two
// orders it had taken and not converted (their lines marked): one of them now holds a quantity
// that no document can carry. The recovery names that order and finishes everything else, and
// the program runs again.
TEST_P(DatiErrati, ARecoveryMeetingAnOrderItCannotConvertNamesItAndFinishesTheRest)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.ordine(ordineDi(2, {.articolo = art(2), .qta = 3, .prezzo = 75.5}));
    r.ordine(ordineDi(6, {.articolo = art(1), .qta = 2, .prezzo = 38.25}));
    r.ordine(ordineDi(6, {.articolo = art(3), .qta = 4, .prezzo = 12.5, .sconto = "10"}));
    r.esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) "
                            "VALUES ('D', 2024, 2, 'mario', '0', '3')"));
    QString giornale;
    EXPECT_EQ(r.eseguiRun({}, &giornale), 3) << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT NumReg FROM DocDaElab"), QStringList{"1"});
    EXPECT_EQ(r.righe("SELECT Tipo, NumReg, Utente FROM LockGest ORDER BY Tipo, NumReg"),
              (QStringList{"D 1 demo", "D 2 mario", "O 2 demo", "O 3 demo"}));
    r.esegui("DELETE FROM LockGest WHERE Utente = 'mario'");
    r.esegui("UPDATE OrdVenDett SET FlagStato = '4' WHERE NumRif IN (2, 3)");
    r.esegui("UPDATE OrdVenDett SET Qta = 1e15 WHERE NumRif = 2");

    EXPECT_EQ(r.eseguiRun({"--recupera"}, &giornale), 3) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Ordine n.rif 2 anno 2024 non completato, riga 1: quantità oltre il limite gestito"))
        << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("[msgCom] Ripristino terminato")) << giornale.toStdString();
    // the first note closed (226.50, VAT 49.83), the third order converted into a note of its
    // own (45.00, VAT 4.50); the second order as it was, its run's markers taken back
    EXPECT_EQ(r.righe("SELECT NumRif, ContoCli, TotMerce, TotIva, TotDocum FROM DdtTest ORDER BY NumRif"),
              (QStringList{"1 0002 226.5 49.83 276.33", "2 0006 45 4.5 49.5"}));
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 null", "3 E"}));
    EXPECT_EQ(r.righe("SELECT NumRif, Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett WHERE NumRif = 2"),
              QStringList{"2 1e+15 0 null 0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtDett WHERE NumRifProv = 2"), QStringList{"0"});
    nienteInSospeso(r);

    // the next run is not refused: it meets the order again and says so
    EXPECT_EQ(r.eseguiRun({}, &giornale), 3) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Ordine n.rif 2 anno 2024 non evaso, riga 1: quantità oltre il limite gestito"))
        << giornale.toStdString();
    nienteInSospeso(r);
}

// A cash sale stopped after it had taken two orders (locked, their lines marked) and before any
// movement: the recovery refuses the one no movement can carry and posts the other.
TEST_P(DatiErrati, ACashSaleRecoveryRefusesTheOrderItCannotConvertAndPostsTheOther)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.esegui(QStringLiteral("UPDATE FattDocumenti SET MagCausaleRientro = 'VEN' WHERE FattDocumento = 'OC'"));
    r.ordine(ordineDi(2, {.articolo = art(1), .qta = 10, .prezzo = 38.25}));
    r.ordine(ordineDi(6, {.articolo = art(3), .qta = 4, .prezzo = 12.5, .sconto = "10"}));
    for (int n : {1, 2})
        r.esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) "
                                "VALUES ('O', 2024, %1, 'demo', '0', '3')")
                     .arg(n));
    r.esegui("UPDATE OrdVenDett SET FlagStato = '4'");
    r.esegui("UPDATE OrdVenDett SET Qta = 1e15 WHERE NumRif = 1");

    QString giornale;
    EXPECT_EQ(r.eseguiRun({"--recupera", "--corrispettivo"}, &giornale), 3) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Ordine n.rif 1 anno 2024 non completato, riga 1: quantità oltre il limite gestito"))
        << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT NumReg, ContoCliFor FROM MovMagTes"), QStringList{"1 0006"});
    EXPECT_EQ(r.righe("SELECT Articolo, Qta, ValTotale FROM MovMagDett"), QStringList{"ART00003 4 45"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM MovMagDettApp"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 null", "2 E"}));
    EXPECT_EQ(r.righe("SELECT NumRif, QtaEvasa, FlagStato FROM OrdVenDett ORDER BY NumRif"),
              (QStringList{"1 0 0", "2 4 0"}));
    nienteInSospeso(r);
}

// The same interrupted run, and a lock of the run on an order that is gone since: the recovery
// cannot finish that one. It says so, leaves it for another recovery and finishes the rest.
TEST_P(DatiErrati, ARecoveryLeavesAnOrderItCannotFinishAndFinishesTheRest)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    r.ordine(ordineDi(2, {.articolo = art(2), .qta = 3, .prezzo = 75.5}));
    r.ordine(ordineDi(6, {.articolo = art(3), .qta = 4, .prezzo = 12.5, .sconto = "10"}));
    r.esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) "
                            "VALUES ('D', 2024, 2, 'mario', '0', '3')"));
    QString giornale;
    EXPECT_EQ(r.eseguiRun({}, &giornale), 3) << giornale.toStdString();
    r.esegui("DELETE FROM LockGest WHERE Utente = 'mario'");
    r.esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) "
                            "VALUES ('O', 2024, 99, 'demo', '0', '3')"));

    EXPECT_EQ(r.eseguiRun({"--recupera"}, &giornale), 1) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Manca la testata dell'ordine n.2024/99")) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Ordine n.rif 99 anno 2024 non completato")) << giornale.toStdString();
    EXPECT_FALSE(giornale.contains("[msgCom] Ripristino terminato")) << giornale.toStdString();
    // the note of the first order closed, the second order released; the lock left as it was
    EXPECT_EQ(r.righe("SELECT NumRif, ContoCli, TotMerce, TotIva, TotDocum FROM DdtTest ORDER BY NumRif"),
              QStringList{"1 0002 226.5 49.83 276.33"});
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), (QStringList{"1 E", "2 null"}));
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DocDaElab"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT Tipo, NumReg, Utente FROM LockGest"), QStringList{"O 99 demo"});

    // the next run is not refused: the second order into its note
    EXPECT_EQ(r.eseguiRun({}, &giornale), 0) << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT NumRif, ContoCli FROM DdtTest ORDER BY NumRif"), (QStringList{"1 0002", "2 0006"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, DatiErrati, kBothEngines, engineParamName);

} // namespace
