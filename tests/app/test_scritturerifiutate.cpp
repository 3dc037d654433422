// Writes the database refuses in the middle of a run, through evasord_run on a SQLite file and on
// PostgreSQL: the run says so, leaves nothing half written, and the recovery then finishes it.
#include "evasionereale.h"

#include <gtest/gtest.h>

namespace {

void nienteInSospeso(EvasioneReale &r)
{
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DocDaElab"), QStringList{"0"});
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM LockGest"), QStringList{"0"});
}

const QString kRigheOrdine = QStringLiteral(
    "SELECT NumRif, RigDet, TipoRiga, Qta, QtaEvasa, StatoRiga, FlagStato FROM OrdVenDett ORDER BY NumRif, RigDet");
const QString kLivelliOrdine = QStringLiteral("SELECT NumRif, RigLiv, Livello1, Qta, QtaEvasa, StatoRiga, FlagStato "
                                              "FROM OrdVenLiv ORDER BY NumRif, RigLiv, Livello1");

class ScrittureRifiutate : public ::testing::TestWithParam<Engine> {};

// The release of an order's lock is refused: the run reports it and stops after that order, which
// keeps its lock and its document stays registered; the recovery then finishes the run.
TEST_P(ScrittureRifiutate, AnOrderLockThatCannotBeReleasedIsReported)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    suite::OrderInput o;
    o.cliente = 2;
    o.righe = {{.articolo = art(2), .qta = 3, .prezzo = 75.5}};
    r.ordine(o);
    r.rifiutaScritture(QStringLiteral("LockGest"), QStringLiteral("DELETE"), QStringLiteral("OLD.Tipo = 'O'"));

    QString giornale;
    EXPECT_EQ(r.eseguiRun({}, &giornale), 3) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("Ordini vendita n.rif 1 anno 2024 non sbloccato: ")) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("scrittura rifiutata")) << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT Tipo, NumReg, Utente FROM LockGest ORDER BY Tipo"), (QStringList{"D 1 demo", "O 1 demo"}));
    EXPECT_EQ(r.righe("SELECT NumReg FROM DocDaElab"), QStringList{"1"});
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"null"});

    r.accettaScritture(QStringLiteral("LockGest"));
    EXPECT_EQ(r.eseguiRun({"--recupera"}, &giornale), 0) << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT Stato FROM OrdVenTest"), QStringList{"E"});
    EXPECT_EQ(r.righe("SELECT NumRif, TotMerce FROM DdtTest"), QStringList{"1 226.5"});
    nienteInSospeso(r);
}

// An open note found for a second order of its customer, whose registration as a document of
// the run is refused: the note keeps what it had (the order's note is not added to it), and the
// order goes into it once the recovery has released it.
TEST_P(ScrittureRifiutate, AFoundNoteWhoseRegistrationIsRefusedKeepsWhatItHad)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    suite::OrderInput o;
    o.cliente = 6;
    o.righe = {{.articolo = art(1), .qta = 2, .prezzo = 38.25}};
    r.ordine(o);
    QString giornale;
    ASSERT_EQ(r.eseguiRun({}, &giornale), 0) << giornale.toStdString();
    const QStringList nota = r.righe("SELECT * FROM DdtTest");

    o.righe = {{.articolo = art(3), .qta = 4, .prezzo = 12.5}};
    o.extra = {{"EvasioneNota", "S"}, {"Nota", "Consegna al mattino"}};
    r.ordine(o);
    r.rifiutaScritture(QStringLiteral("DocDaElab"), QStringLiteral("INSERT"), QString());
    EXPECT_EQ(r.eseguiRun({}, &giornale), 3) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("scrittura rifiutata")) << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT * FROM DdtTest"), nota);
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtDett WHERE NumRifProv = 2"), QStringList{"0"});

    r.accettaScritture(QStringLiteral("DocDaElab"));
    EXPECT_EQ(r.eseguiRun({"--recupera"}, &giornale), 0) << giornale.toStdString();
    EXPECT_EQ(r.eseguiRun({}, &giornale), 0) << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT NumRif, Nota, TotMerce FROM DdtTest"), QStringList{"1 Consegna al mattino 126.5"});
    EXPECT_EQ(r.righe("SELECT NumRifProv, Articolo FROM DdtDett WHERE TipoRiga = 'A' ORDER BY RigDet"),
              (QStringList{"1 ART00001", "2 ART00003"}));
    nienteInSospeso(r);
}

// Three orders of one customer go into one note. The second line of the second order is refused:
// its line is rolled back and the run stops; the recovery and the next run then number the
// note's lines on from what it holds, each order line once, without gaps or repeats.
TEST_P(ScrittureRifiutate, ALineRolledBackInAGroupedNoteLeavesTheNumbersToWhatIsStored)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    for (int n = 0; n < 3; ++n) {
        suite::OrderInput o;
        o.cliente = 2;
        o.righe = {{.articolo = art(1), .qta = 2, .prezzo = 38.25}, {.articolo = art(3), .qta = 4, .prezzo = 12.5}};
        r.ordine(o);
    }
    r.rifiutaScritture(QStringLiteral("DdtDett"), QStringLiteral("INSERT"),
                       QStringLiteral("NEW.NumRifProv = 2 AND NEW.RigaRifProv = 2"));
    QString giornale;
    EXPECT_EQ(r.eseguiRun({}, &giornale), 3) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("scrittura rifiutata")) << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT RigDet, RigLiv, TipoRiga, NumRifProv, RigaRifProv FROM DdtDett ORDER BY RigDet"),
              (QStringList{"1 1 D null null", "2 2 A 1 1", "3 3 A 1 2", "4 4 D null null", "5 5 A 2 1"}));

    r.accettaScritture(QStringLiteral("DdtDett"));
    EXPECT_EQ(r.eseguiRun({"--recupera"}, &giornale), 0) << giornale.toStdString();
    EXPECT_EQ(r.eseguiRun({}, &giornale), 0) << giornale.toStdString();
    EXPECT_EQ(r.righe("SELECT COUNT(*) FROM DdtTest"), QStringList{"1"});
    EXPECT_EQ(r.righe("SELECT RigDet, RigLiv, TipoRiga, NumRifProv, RigaRifProv FROM DdtDett ORDER BY RigDet"),
              (QStringList{"1 1 D null null", "2 2 A 1 1", "3 3 A 1 2", "4 4 D null null", "5 5 A 2 1", "6 6 A 2 2",
                           "7 7 D null null", "8 8 A 3 1", "9 9 A 3 2"}));
    EXPECT_EQ(r.righe("SELECT NumRif, QtaEvasa, StatoRiga FROM OrdVenDett ORDER BY NumRif, RigDet"),
              (QStringList{"1 2 E", "1 4 E", "2 2 E", "2 4 E", "3 2 E", "3 4 E"}));
    nienteInSospeso(r);
}

// The second line's second level cannot be written: that line is rolled back with its levels and
// the run stops; the recovery and the next run then deliver each level once.
TEST_P(ScrittureRifiutate, ALevelRolledBackInTheMiddleOfAnOrderIsDeliveredOnceAfterwards)
{
    EvasioneReale r(GetParam());
    if (!r.pronta())
        return;
    suite::OrderInput o;
    o.cliente = 2;
    o.righe = {{.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 2}, {"M", "BLU", 3, 1}}},
               {.articolo = art(5), .prezzo = 20, .livelli = {{"S", "ROSSO", 4}, {"M", "BLU", 6}}},
               {.articolo = art(1), .qta = 2, .prezzo = 38.25}};
    r.ordine(o);
    r.rifiutaScritture(QStringLiteral("DdtLiv"), QStringLiteral("INSERT"),
                       QStringLiteral("NEW.RigLivOrig = 2 AND NEW.Livello1 = 'M'"));
    QString giornale;
    EXPECT_EQ(r.eseguiRun({}, &giornale), 3) << giornale.toStdString();
    EXPECT_TRUE(giornale.contains("scrittura rifiutata")) << giornale.toStdString();
    EXPECT_EQ(r.righe(kLivelliOrdine), (QStringList{"1 1 M 3 3 E 0", "1 1 S 2 2 E 0", "1 2 M 6 0 null 4",
                                              "1 2 S 4 0 null 4"}));

    r.accettaScritture(QStringLiteral("DdtLiv"));
    EXPECT_EQ(r.eseguiRun({"--recupera"}, &giornale), 0) << giornale.toStdString();
    r.eseguiRun({}, &giornale);
    nienteInSospeso(r);
    EXPECT_EQ(r.righe("SELECT NumRif, Stato FROM OrdVenTest ORDER BY NumRif"), QStringList{"1 E"});
    EXPECT_EQ(r.righe(kRigheOrdine), (QStringList{"1 1 A 5 5 E 0", "1 2 A 10 10 E 0", "1 3 A 2 2 E 0"}));
    EXPECT_EQ(r.righe(kLivelliOrdine), (QStringList{"1 1 M 3 3 E 0", "1 1 S 2 2 E 0", "1 2 M 6 6 E 0", "1 2 S 4 4 E 0"}));
    EXPECT_EQ(r.righe("SELECT RigLivOrig, Livello1, Qta FROM DdtLiv ORDER BY RigLivOrig, Livello1"),
              (QStringList{"1 M 2", "1 S 2", "2 M 6", "2 S 4"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, ScrittureRifiutate, kBothEngines, engineParamName);

} // namespace
