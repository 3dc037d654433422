#include "provadb.h"
#include "utilgenerali.h"

namespace {

using Prova = ProvaDb;

TEST_P(Prova, ScriveELeggeUnaRiga)
{
    crea(QStringLiteral("Monete"),
         {{"Moneta", TipoCampo::Testo, 4}, {"Descrizione", TipoCampo::Testo, 30}, {"NumDec", TipoCampo::Intero},
          {"Cambio", TipoCampo::Doppio}, {"Minimo", TipoCampo::Valuta}, {"DataIns", TipoCampo::Data}},
         {QStringLiteral("Moneta")});
    esegui(QStringLiteral("INSERT INTO Monete (Moneta, Descrizione, NumDec, Cambio, Minimo, DataIns) VALUES (") +
           UtilGenerali::SqlValore(Variant("EUR"), 8) + ", " + UtilGenerali::SqlValore(Variant("Euro"), 8) + ", 2, 1.5, 12.34, " +
           UtilGenerali::SqlValore(Variant(Date::fromYmd(2024, 3, 5)), 7) + ")");
    const QString a = rs.Apri(db, conn, QString(), QStringLiteral("Select * from Monete where moneta = 'eur'"));
    ASSERT_FALSE(rs.NessunRecord(a));
    EXPECT_EQ(rs.LeggiCampo(a, u"Descrizione").toString(), QStringLiteral("Euro"));
    EXPECT_EQ(rs.LeggiCampo(a, u"numdec").type(), Variant::Type::Integer);
    EXPECT_EQ(rs.LeggiCampo(a, u"Minimo").toCurrency(), Currency::fromUnits(123400));
    EXPECT_EQ(rs.LeggiCampo(a, u"Monete.DataIns").toDate(), Date::fromYmd(2024, 3, 5));
    EXPECT_DOUBLE_EQ(rs.LeggiCampo(a, u"Cambio").toDouble(), 1.5);
}

// A statement tells how many rows it inserted, changed or deleted, also inside a transaction
// (where the native route sends the statement savepoint with it); rollbacks are counted.
TEST_P(Prova, AStatementTellsTheRowsItChangedAndRollbacksAreCounted)
{
    crea(QStringLiteral("Conti"), {{"K", TipoCampo::Intero}, {"N", TipoCampo::Intero}}, {QStringLiteral("K")});
    EXPECT_EQ(db.Esegui(conn, QStringLiteral("Insert into Conti (K, N) values (1, 0)")), 1);
    EXPECT_EQ(db.Esegui(conn, QStringLiteral("Insert into Conti (K, N) values (2, 0)")), 1);
    EXPECT_EQ(db.Annullamenti(conn), 0u);
    db.BeginTrans(conn);
    for (int giro = 0; giro < 2; ++giro) {
        EXPECT_EQ(db.Esegui(conn, QStringLiteral("Update Conti Set N = N + 1 where K = 3")), 0);
        EXPECT_EQ(db.Esegui(conn, QStringLiteral("Update Conti Set N = N + 1 where K = 1")), 1);
        EXPECT_EQ(db.Esegui(conn, QStringLiteral("Update Conti Set N = N + 1 where K >= 1")), 2);
    }
    db.BeginTrans(conn);
    EXPECT_EQ(db.Esegui(conn, QStringLiteral("Delete from Conti where K = 2")), 1);
    db.Rollback(conn);
    EXPECT_EQ(db.Annullamenti(conn), 1u);
    db.CommitTrans(conn);
    EXPECT_EQ(db.Annullamenti(conn), 1u);
    EXPECT_EQ(scalare(QStringLiteral("Select N from Conti where K = 1")).toInteger(), 4);
    EXPECT_EQ(conta(QStringLiteral("Conti")), 2);
}

INSTANTIATE_TEST_SUITE_P(Motori, Prova, kBothEngines, engineParamName);

} // namespace
