// Two users on the same company database: locks, changes made since a row was read,
// duplicate keys, and transactions nested as the suite nests them.
#include "errori.h"
#include "provadb.h"
#include "utilgenerali.h"

namespace {

class Concorrenza : public ProvaDb {
protected:
    void SetUp() override
    {
        ProvaDb::SetUp();
        if (IsSkipped() || HasFailure()) return;
        crea(QStringLiteral("LockGest"),
             {{"Tipo", TipoCampo::Testo, 2}, {"Anno", TipoCampo::Intero}, {"NumReg", TipoCampo::Lungo},
              {"Utente", TipoCampo::Testo, 20}, {"Fase", TipoCampo::Testo, 1}},
             {QStringLiteral("Tipo"), QStringLiteral("Anno"), QStringLiteral("NumReg")});
        esegui("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Fase) VALUES ('O', 2024, 1, 'anna', '0')");
        conn2 = db2.Connetti(nomeConnessione(*scratch));
        db.ImpostaAttesaBlocchi(300);
        db2.ImpostaAttesaBlocchi(300);
    }
    void TearDown() override
    {
        rs2.ChiudiTutti();
        db2.Chiudi();
        ProvaDb::TearDown();
    }
    QString riga(GestRecordset &g, ConnessioneDb &c, const QString &n)
    {
        return g.Apri(c, n, QString(), QStringLiteral("Select * from LockGest Where Tipo = 'O' AND Anno = 2024 AND NumReg = 1"),
                      false, dbOpenDynaset);
    }
    ConnessioneDb db2;
    QString conn2;
    GestRecordset rs2;
};

TEST_P(Concorrenza, ARowHeldByAnotherUsersTransactionIsLocked)
{
    db.BeginTrans();
    const QString a = riga(rs, db, conn);
    rs.Edit(a);
    rs.ScriviCampo(a, u"Fase", Variant("1"));
    rs.Update(a);
    const QString b = riga(rs2, db2, conn2);
    rs2.Edit(b);
    rs2.ScriviCampo(b, u"Fase", Variant("2"));
    EXPECT_EQ(numeroErrore([&] { rs2.Update(b); }), ErrDb::Bloccato);
    EXPECT_EQ(numeroErrore([&] { db2.Esegui(conn2, QStringLiteral("UPDATE LockGest SET Fase = '3'")); }), ErrDb::Bloccato);
    db.CommitTrans();
    EXPECT_EQ(UtilGenerali::NumeroErrore(ErrDb::Bloccato), 3260);
}

TEST_P(Concorrenza, ARowChangedSinceItWasReadIsNotOverwritten)
{
    const QString a = riga(rs, db, conn);
    const QString b = riga(rs2, db2, conn2);
    rs.Edit(a);
    rs.ScriviCampo(a, u"Utente", Variant("anna"));
    rs.ScriviCampo(a, u"Fase", Variant("1"));
    rs.Update(a);
    rs2.Edit(b);
    rs2.ScriviCampo(b, u"Fase", Variant("2"));
    EXPECT_EQ(numeroErrore([&] { rs2.Update(b); }), ErrDb::ModificatoDaAltri);
    EXPECT_EQ(scalare(QStringLiteral("SELECT Fase FROM LockGest")).toString(), QStringLiteral("1"));
    // Read again, the second user's write goes through.
    const QString c = riga(rs2, db2, conn2);
    rs2.Edit(c);
    rs2.ScriviCampo(c, u"Fase", Variant("2"));
    rs2.Update(c);
    EXPECT_EQ(scalare(QStringLiteral("SELECT Fase FROM LockGest")).toString(), QStringLiteral("2"));
}

TEST_P(Concorrenza, ADuplicateKeyIsRefusedWith3022)
{
    const QString a = rs.Apri(db, conn, QString(), QStringLiteral("Select * from LockGest where 1=2"), false, dbOpenDynaset);
    rs.AddNew(a);
    rs.ScriviCampo(a, u"Tipo", Variant("o")); // the key ignores letter case
    rs.ScriviCampo(a, u"Anno", Variant(static_cast<int16_t>(2024)));
    rs.ScriviCampo(a, u"NumReg", Variant(1));
    EXPECT_EQ(numeroErrore([&] { rs.Update(a); }), ErrDb::ChiaveDuplicata);
    rs.ScriviCampo(a, u"NumReg", Variant(2));
    rs.Update(a);
    EXPECT_EQ(conta(QStringLiteral("LockGest")), 2);
}

TEST_P(Concorrenza, NestedTransactionsKeepTheOuterWrite)
{
    db.Rollback(); // nothing open: nothing happens
    db.CommitTrans();
    db.BeginTrans();
    esegui(QStringLiteral("UPDATE LockGest SET Fase = 'A'"));
    db.BeginTrans();
    esegui(QStringLiteral("UPDATE LockGest SET Utente = 'B'"));
    EXPECT_EQ(db.LivelloTransazioni(), 2);
    db.Rollback();
    db.CommitTrans();
    EXPECT_EQ(db.LivelloTransazioni(), 0);
    EXPECT_EQ(scalare(QStringLiteral("SELECT Fase & Utente AS X FROM LockGest")).toString(), QStringLiteral("Aanna"));
    // An inner commit is undone by the outer rollback.
    db.BeginTrans();
    db.BeginTrans();
    esegui(QStringLiteral("UPDATE LockGest SET Fase = 'C'"));
    db.CommitTrans();
    db.Rollback();
    EXPECT_EQ(scalare(QStringLiteral("SELECT Fase FROM LockGest")).toString(), QStringLiteral("A"));
}

TEST_P(Concorrenza, AFailedStatementLeavesTheTransactionStanding)
{
    db.BeginTrans();
    esegui(QStringLiteral("UPDATE LockGest SET Fase = 'X'"));
    EXPECT_NE(numeroErrore([&] { esegui(QStringLiteral("UPDATE Inesistente SET A = 1")); }), 0);
    EXPECT_EQ(numeroErrore([&] { esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg) VALUES ('O', 2024, 1)")); }),
              ErrDb::ChiaveDuplicata);
    esegui(QStringLiteral("UPDATE LockGest SET Utente = 'Y'"));
    db.CommitTrans();
    EXPECT_EQ(scalare(QStringLiteral("SELECT Fase & Utente AS X FROM LockGest")).toString(), QStringLiteral("XY"));
}

TEST_P(Concorrenza, ExistenceChecksAnswerFromTheCatalogue)
{
    DatabaseDao d = db.Database(conn);
    EXPECT_TRUE(d.EsisteTabella(QStringLiteral("lockgest")));
    EXPECT_FALSE(d.EsisteTabella(QString()));
    EXPECT_FALSE(d.EsisteTabella(QStringLiteral("Nessuna")));
    EXPECT_TRUE(d.EsisteCampo(QStringLiteral("LockGest"), QStringLiteral("numreg")));
    EXPECT_FALSE(d.EsisteCampo(QStringLiteral("LockGest"), QStringLiteral("Manca")));
    EXPECT_FALSE(d.EsisteCampo(QStringLiteral("Manca"), QStringLiteral("Tipo")));
    EXPECT_EQ(d.TableDefs(QStringLiteral("LockGest")).Fields(QStringLiteral("Anno")).Type(), 3);
    EXPECT_EQ(d.TableDefs(QStringLiteral("LockGest")).Fields(QStringLiteral("NumReg")).Type(), 4);
    EXPECT_EQ(d.TableDefs(QStringLiteral("LockGest")).Fields(QStringLiteral("Utente")).Type(), 10);
    EXPECT_EQ(numeroErrore([&] { d.TableDefs(QStringLiteral("Manca")); }), ErrDb::ElementoNonTrovato);
    // Inside a transaction on PostgreSQL a check must not disturb it.
    db.BeginTrans();
    esegui(QStringLiteral("UPDATE LockGest SET Fase = 'Z'"));
    EXPECT_FALSE(d.EsisteCampo(QStringLiteral("LockGest"), QStringLiteral("Manca2")));
    db.CommitTrans();
    EXPECT_EQ(scalare(QStringLiteral("SELECT Fase FROM LockGest")).toString(), QStringLiteral("Z"));
    EXPECT_FALSE(db.Impostazione(conn + QStringLiteral(":DbTipoSql")).toBool());
}

INSTANTIATE_TEST_SUITE_P(Motori, Concorrenza, kBothEngines, engineParamName);

} // namespace
