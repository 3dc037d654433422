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

INSTANTIATE_TEST_SUITE_P(Engines, ScrittureRifiutate, kBothEngines, engineParamName);

} // namespace
