// Record sets as the suite's code uses them: fields named by table and field, reads that need
// no Null test, writes through sets opened over joins, searches.
#include "errori.h"
#include "provadb.h"
#include "utilgenerali.h"

namespace {

using UtilGenerali::SqlValore;

class Insiemi : public ProvaDb {
protected:
    void SetUp() override
    {
        ProvaDb::SetUp();
        if (IsSkipped() || HasFailure()) return;
        crea(QStringLiteral("OrdVenTest"),
             {{"Anno", TipoCampo::Intero}, {"NumRif", TipoCampo::Lungo}, {"Stato", TipoCampo::Testo, 1},
              {"Moneta", TipoCampo::Testo, 4}, {"Descrizione", TipoCampo::Testo, 40}, {"DataCons", TipoCampo::Data},
              {"Cambio", TipoCampo::Doppio}, {"Totale", TipoCampo::Valuta}, {"GruppoCli", TipoCampo::Testo, 2},
              {"MastroCli", TipoCampo::Testo, 2}, {"ContoCli", TipoCampo::Testo, 5}},
             {QStringLiteral("Anno"), QStringLiteral("NumRif")});
        crea(QStringLiteral("Monete"),
             {{"Moneta", TipoCampo::Testo, 4}, {"Descrizione", TipoCampo::Testo, 40}, {"Cee", TipoCampo::Testo, 1},
              {"NumDec", TipoCampo::Intero}},
             {QStringLiteral("Moneta")});
        crea(QStringLiteral("PianoConti"),
             {{"Gruppo", TipoCampo::Testo, 2}, {"Mastro", TipoCampo::Testo, 2}, {"Conto", TipoCampo::Testo, 5},
              {"Descrizione", TipoCampo::Testo, 40}, {"Bolli", TipoCampo::Testo, 1}},
             {QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")});
        esegui("INSERT INTO Monete (Moneta, Descrizione, Cee, NumDec) VALUES ('EUR', 'Euro', 'S', 2)");
        esegui("INSERT INTO Monete (Moneta, Descrizione, Cee, NumDec) VALUES ('USD', 'Dollaro', 'N', 2)");
        esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione, Bolli) VALUES ('01', '02', '00003', 'Rossi', 'S')");
        esegui("INSERT INTO OrdVenTest (Anno, NumRif, Stato, Moneta, Descrizione, DataCons, Cambio, Totale, GruppoCli, "
               "MastroCli, ContoCli) VALUES (2024, 1, NULL, 'EUR', 'Primo ordine', " +
               SqlValore(Date::fromYmd(2024, 5, 2), 7) + ", 1, 100.5, '01', '02', '00003')");
        esegui("INSERT INTO OrdVenTest (Anno, NumRif, Stato, Moneta, Descrizione) VALUES (2024, 2, 'P', 'USD', 'Secondo')");
        esegui("INSERT INTO OrdVenTest (Anno, NumRif, Stato, Moneta, Descrizione) VALUES (2024, 3, NULL, 'XXX', NULL)");
    }
    QString cursoreOrdini(int16_t tipo = dbOpenDynaset)
    {
        return rs.Apri(db, conn, QStringLiteral("Ord"),
                       "Select OrdVenTest.*, Monete.* FROM OrdVenTest left join Monete on OrdVenTest.Moneta = Monete.Moneta "
                       "ORDER BY OrdVenTest.NumRif",
                       false, tipo);
    }
};

TEST_P(Insiemi, FieldsOfAJoinAreReachedByTableAndField)
{
    const QString a = cursoreOrdini();
    EXPECT_EQ(rs.RecordCount(a), 3);
    EXPECT_EQ(rs.LeggiCampo(a, u"OrdVenTest.Descrizione").toString(), QStringLiteral("Primo ordine"));
    EXPECT_EQ(rs.LeggiCampo(a, u"Monete.Descrizione").toString(), QStringLiteral("Euro"));
    EXPECT_EQ(rs.LeggiCampo(a, u"monete.descrizione").toString(), QStringLiteral("Euro"));
    EXPECT_EQ(rs.LeggiCampo(a, u"Cee").toString(), QStringLiteral("S")); // unique: the bare name is enough
    EXPECT_EQ(rs.LeggiCampo(a, u"NUMRIF").toLong(), 1);
    // A name two tables share is not resolved to one of them.
    EXPECT_EQ(numeroErrore([&] { rs.LeggiCampo(a, u"Descrizione"); }), ErrDb::ElementoNonTrovato);
    EXPECT_EQ(numeroErrore([&] { rs.LeggiCampo(a, u"Moneta"); }), ErrDb::ElementoNonTrovato);
    // A field the statement did not read, or a table it did not join, reads as nothing.
    EXPECT_TRUE(rs.LeggiCampo(a, u"OrdVenLiv.Livello1").isEmpty());
    EXPECT_TRUE(rs.LeggiCampo(a, u"Abbuono").isEmpty());
    EXPECT_EQ(rs.LeggiCampo(a, u"Abbuono", 5).toDouble(), 0.0);
    // A single-table set answers a field asked under another table's name.
    const QString t = rs.Apri(db, conn, QString(), QStringLiteral("select * from Monete where Moneta = 'USD'"));
    EXPECT_EQ(rs.LeggiCampo(t, u"OrdVenTest.Cee").toString(), QStringLiteral("N"));
}

TEST_P(Insiemi, ANameIsFoundByItsTextNotByWhereItIsStored)
{
    const QString a = rs.Apri(db, conn, QString(), QStringLiteral("select * from OrdVenTest order by NumRif"));
    char16_t nome[7] = u"NumRif";
    EXPECT_EQ(rs.LeggiCampo(a, QStringView(nome, 6)).toLong(), 1);
    std::copy_n(u"Moneta", 6, nome); // same place, same length, another field
    EXPECT_EQ(rs.LeggiCampo(a, QStringView(nome, 6)).toString(), QStringLiteral("EUR"));
}

TEST_P(Insiemi, NullReadsAsTheNeutralValueAndValoreCampoKeepsIt)
{
    const QString a = cursoreOrdini(dbOpenSnapshot);
    rs.MoveLast(a);
    EXPECT_EQ(rs.LeggiCampo(a, u"NumRif").toLong(), 3);
    EXPECT_EQ(rs.LeggiCampo(a, u"Stato").toString(), QString());
    EXPECT_EQ(rs.LeggiCampo(a, u"Cambio").type(), Variant::Type::Double);
    EXPECT_EQ(rs.LeggiCampo(a, u"Cambio").toDouble(), 0.0);
    EXPECT_EQ(rs.LeggiCampo(a, u"Totale").type(), Variant::Type::Currency);
    EXPECT_EQ(rs.LeggiCampo(a, u"DataCons").toDate(), Date());
    EXPECT_EQ(rs.LeggiCampo(a, u"Monete.NumDec").type(), Variant::Type::Integer);
    EXPECT_TRUE(rs.ValoreCampo(a, u"OrdVenTest.Stato").isNull());
    EXPECT_TRUE(rs.ValoreCampo(a, u"Cee").isNull());
    EXPECT_EQ(rs.LeggiCampo(a, u"DataCons", 7).toDate(), Date());
    // Past the end nothing is read and nothing fails.
    rs.MoveNext(a);
    EXPECT_TRUE(rs.Eof(a));
    EXPECT_EQ(rs.AbsolutePosition(a), -1);
    EXPECT_TRUE(rs.LeggiCampo(a, u"OrdVenTest.NumRif").isEmpty());
    EXPECT_EQ(rs.LeggiCampo(a, u"OrdVenTest.NumRif", 3).toLong(), 0);
    EXPECT_EQ(numeroErrore([&] { rs.MoveNext(a); }), ErrDb::NessunRecordCorrente);
    rs.MovePrevious(a);
    EXPECT_EQ(rs.AbsolutePosition(a), 2);
}

TEST_P(Insiemi, FindFirstEvaluatesTheCriterion)
{
    const QString a = cursoreOrdini(dbOpenSnapshot);
    rs.FindFirst(a, QStringLiteral("Anno = 2024 And OrdVenTest.Stato = 'p'"));
    EXPECT_FALSE(rs.NoMatch(a));
    EXPECT_EQ(rs.LeggiCampo(a, u"NumRif").toLong(), 2);
    rs.FindFirst(a, QStringLiteral("DataCons = ") + SqlValore(Date::fromYmd(2024, 5, 2), 7));
    EXPECT_EQ(rs.LeggiCampo(a, u"NumRif").toLong(), 1);
    rs.FindFirst(a, QStringLiteral("Stato Is Null And Monete.Descrizione Is Null"));
    EXPECT_EQ(rs.LeggiCampo(a, u"NumRif").toLong(), 3);
    rs.FindFirst(a, QStringLiteral("OrdVenTest.Descrizione Like 'sec*' Or Cambio > 10"));
    EXPECT_EQ(rs.LeggiCampo(a, u"NumRif").toLong(), 2);
    rs.FindFirst(a, QStringLiteral("Stato = 'E'"));
    EXPECT_TRUE(rs.NoMatch(a));
    EXPECT_EQ(rs.LeggiCampo(a, u"NumRif").toLong(), 2); // the current row did not move
    EXPECT_EQ(numeroErrore([&] { rs.FindFirst(a, QStringLiteral("Inesistente = 1")); }), ErrDb::CampoSconosciuto);
}

TEST_P(Insiemi, WritesThroughAJoinedSetGoToTheFieldsOwnTable)
{
    const QString a = cursoreOrdini();
    rs.MoveNext(a);
    rs.Edit(a);
    rs.ScriviCampo(a, u"OrdVenTest.Stato", Variant("E"));
    rs.Update(a);
    EXPECT_EQ(rs.LeggiCampo(a, u"Stato").toString(), QStringLiteral("E"));
    EXPECT_EQ(scalare("select Stato from OrdVenTest where NumRif = 2").toString(), QStringLiteral("E"));
    EXPECT_EQ(scalare("select Descrizione from Monete where Moneta = 'USD'").toString(), QStringLiteral("Dollaro"));
    // A second edit of the same row checks against what the first stored.
    rs.Edit(a);
    rs.ScriviCampo(a, u"Totale", Variant(Currency::fromUnits(123456)));
    rs.ScriviCampo(a, u"DataCons", Variant(""));
    rs.Update(a);
    EXPECT_EQ(scalare("select Totale from OrdVenTest where NumRif = 2").toCurrency(), Currency::fromUnits(123456));
    // A header joined with the chart of accounts: its totals written back by key.
    const QString h = rs.Apri(db, conn, QString(),
                              "Select OrdVenTest.*,Pianoconti.Bolli From OrdVenTest Left Join Pianoconti On "
                              "OrdVenTest.GruppoCli = Pianoconti.Gruppo And OrdVenTest.MastroCli = Pianoconti.Mastro And "
                              "OrdVenTest.ContoCli = Pianoconti.Conto where anno = 2024 AND NumRif = 1",
                              false, dbOpenDynaset);
    EXPECT_EQ(rs.LeggiCampo(h, u"Bolli").toString(), QStringLiteral("S"));
    rs.Edit(h);
    rs.ScriviCampo(h, u"Totale", Variant(Currency::fromUnits(77700)));
    rs.ScriviCampo(h, u"Cambio", Variant(""));
    rs.Update(h);
    EXPECT_EQ(scalare("select Totale from OrdVenTest where NumRif = 1").toCurrency(), Currency::fromUnits(77700));
    EXPECT_TRUE(scalare("select Cambio from OrdVenTest where NumRif = 1").isNull()); // "" into a number stores Null
    // A field of a table whose key the set does not hold cannot be written.
    rs.Edit(h);
    rs.ScriviCampo(h, u"Pianoconti.Bolli", Variant("N"));
    EXPECT_EQ(numeroErrore([&] { rs.Update(h); }), ErrDb::SolaLettura);
    rs.CancelUpdate(h);
    // An ambiguous or missing field is never written.
    rs.Edit(a);
    EXPECT_EQ(numeroErrore([&] { rs.ScriviCampo(a, u"Descrizione", Variant("x")); }), ErrDb::ElementoNonTrovato);
    EXPECT_EQ(numeroErrore([&] { rs.ScriviCampo(a, u"Inesistente", Variant("x")); }), ErrDb::ElementoNonTrovato);
    EXPECT_EQ(numeroErrore([&] { rs.ScriviCampo(a, u"NumRif", Variant("abc")); }), ErrNum::TypeMismatch);
}

TEST_P(Insiemi, AGivenEmptyTextIsStoredAndANullReadStaysNull)
{
    // The run copies fields as read and later finds its rows with "Is Null": a Null text read with
    // LeggiCampo (or ValoreCampo) goes back as Null; a text given as "" is the empty text.
    const QString a = rs.Apri(db, conn, QString(), "Select * from OrdVenTest where NumRif = 3", false, dbOpenDynaset);
    const Variant letto = rs.LeggiCampo(a, u"Stato");
    EXPECT_EQ(letto.toString(), QString());
    rs.Edit(a);
    rs.ScriviCampo(a, u"Stato", letto);
    rs.ScriviCampo(a, u"Descrizione", rs.ValoreCampo(a, u"Descrizione"));
    rs.ScriviCampo(a, u"GruppoCli", Variant(""));
    rs.ScriviCampo(a, u"MastroCli", Variant(QStringLiteral("")));
    rs.ScriviCampo(a, u"ContoCli", Variant());
    rs.Update(a);
    rs.Chiudi(a);
    EXPECT_EQ(conta("OrdVenTest WHERE NumRif = 3 AND Stato IS NULL AND Descrizione IS NULL AND ContoCli IS NULL"), 1);
    EXPECT_EQ(conta("OrdVenTest WHERE NumRif = 3 AND GruppoCli = '' AND MastroCli = ''"), 1);
}

TEST_P(Insiemi, AddedRowsStayInTheSetAndDeletedRowsLeaveIt)
{
    const QString a = rs.Apri(db, conn, QStringLiteral("Mon"), QStringLiteral("Select * from Monete where 1=2"), false,
                              dbOpenDynaset);
    EXPECT_TRUE(rs.NessunRecord(a));
    for (const char *m : {"GBP", "CHF"}) {
        rs.AddNew(a);
        rs.ScriviCampo(a, u"Moneta", Variant(m));
        rs.ScriviCampo(a, u"Descrizione", Variant(QStringLiteral("Moneta ") + QLatin1String(m)));
        rs.ScriviCampo(a, u"NumDec", Variant(""));
        rs.Update(a);
    }
    EXPECT_TRUE(rs.Eof(a)); // storing a new row leaves the set where it was
    EXPECT_EQ(rs.RecordCount(a), 2);
    rs.VaiUltimoModificato(a);
    EXPECT_EQ(rs.LeggiCampo(a, u"Moneta").toString(), QStringLiteral("CHF"));
    EXPECT_TRUE(rs.ValoreCampo(a, u"NumDec").isNull());
    rs.MoveFirst(a);
    rs.Delete(a);
    EXPECT_EQ(rs.RecordCount(a), 1);
    EXPECT_EQ(conta("Monete WHERE Moneta = 'GBP'"), 0);
    rs.MoveNext(a);
    EXPECT_EQ(rs.LeggiCampo(a, u"Moneta").toString(), QStringLiteral("CHF"));
    // A read-only set refuses writes.
    const QString s = rs.Apri(db, conn, QString(), QStringLiteral("Select * from Monete"));
    EXPECT_EQ(numeroErrore([&] { rs.AddNew(s); }), ErrDb::SolaLettura);
    EXPECT_EQ(numeroErrore([&] { rs.Update(a); }), ErrDb::SenzaAddNewEdit);
    rs.Chiudi(QStringLiteral("nessuno")); // closing an unknown alias is harmless
}

// An alias names the set last opened under it, in any letter case; a closed alias names none.
TEST_P(Insiemi, AnAliasAlwaysReadsTheSetLastOpenedUnderIt)
{
    const QString a = QStringLiteral("Mon");
    const auto descrizione = [&](const QString &alias) { return rs.LeggiCampo(alias, u"Descrizione").toString(); };
    rs.Apri(db, conn, a, QStringLiteral("Select * from Monete where Moneta = 'EUR'"));
    const QString b = rs.Apri(db, conn, QStringLiteral("Altro"), QStringLiteral("Select * from Monete where Moneta = 'USD'"));
    EXPECT_EQ(descrizione(a), QStringLiteral("Euro"));
    EXPECT_EQ(descrizione(QStringLiteral("MON")), QStringLiteral("Euro"));
    EXPECT_EQ(descrizione(b), QStringLiteral("Dollaro"));
    rs.Apri(db, conn, QStringLiteral("mon"), QStringLiteral("Select * from Monete where Moneta = 'USD'"));
    EXPECT_EQ(descrizione(a), QStringLiteral("Dollaro"));
    rs.Riapri(a, QStringLiteral("Select * from Monete where Moneta = 'EUR'"));
    EXPECT_EQ(descrizione(QStringLiteral("mOn")), QStringLiteral("Euro"));
    rs.Chiudi(QStringLiteral("MON"));
    EXPECT_EQ(numeroErrore([&] { descrizione(a); }), ErrDb::ElementoNonTrovato);
    EXPECT_EQ(descrizione(b), QStringLiteral("Dollaro"));
    rs.ChiudiTutti();
    EXPECT_EQ(numeroErrore([&] { descrizione(b); }), ErrDb::ElementoNonTrovato);
}

TEST_P(Insiemi, ANewRowGivesTheTableValuesOfTheFieldsItDidNotWrite)
{
    const bool sq = motore() == MotoreDb::SQLite;
    esegui(QStringLiteral("CREATE TABLE Prog (Anno SMALLINT NOT NULL, Articolo %1 NOT NULL, Qta %2 DEFAULT 0, Valore %3 DEFAULT 0, "
                          "Note %1, PRIMARY KEY (Anno, Articolo))")
               .arg(sq ? QStringLiteral("VARCHAR(10) COLLATE NOCASE") : QStringLiteral("citext"),
                    sq ? QStringLiteral("DOUBLE") : QStringLiteral("double precision"),
                    sq ? QStringLiteral("CURRENCY") : QStringLiteral("numeric(19,4)")));
    db.AggiornaCatalogo(conn);
    // Every field twice: the copy holds what the table holds too.
    const QString a = rs.Apri(db, conn, QString(), QStringLiteral("Select Prog.*, Prog.Qta As Copia from Prog Where 0=1"), false,
                              dbOpenDynaset);
    for (int i = 1; i <= 40; ++i) {
        rs.AddNew(a);
        rs.ScriviCampo(a, u"Anno", Variant(static_cast<int16_t>(2024)));
        rs.ScriviCampo(a, u"Articolo", Variant(QStringLiteral("A%1").arg(i)));
        if (i % 2) rs.ScriviCampo(a, u"Qta", Variant(static_cast<double>(i)));
        rs.Update(a);
    }
    EXPECT_EQ(rs.RecordCount(a), 40);
    rs.VaiUltimoModificato(a);
    EXPECT_EQ(rs.LeggiCampo(a, u"Articolo").toString(), QStringLiteral("A40"));
    EXPECT_EQ(rs.LeggiCampo(a, u"Qta").toDouble(), 0.0);
    EXPECT_EQ(rs.LeggiCampo(a, u"Copia").toDouble(), 0.0);
    EXPECT_EQ(rs.ValoreCampo(a, u"Valore").toCurrency(), Currency());
    EXPECT_TRUE(rs.ValoreCampo(a, u"Note").isNull());
    // Written and defaulted values are found by a search over the rows added.
    rs.FindFirst(a, QStringLiteral("Qta = 39"));
    ASSERT_FALSE(rs.NoMatch(a));
    EXPECT_EQ(rs.LeggiCampo(a, u"Articolo").toString(), QStringLiteral("A39"));
    rs.FindFirst(a, QStringLiteral("Qta = 0 And Articolo = 'A2'"));
    EXPECT_FALSE(rs.NoMatch(a));
    // A row added and never read again is edited against what the table holds.
    rs.MoveFirst(a);
    rs.Delete(a);
    rs.MoveNext(a);
    EXPECT_EQ(rs.LeggiCampo(a, u"Articolo").toString(), QStringLiteral("A2"));
    rs.Edit(a);
    rs.ScriviCampo(a, u"Valore", Variant(Currency::fromUnits(15000)));
    rs.Update(a);
    EXPECT_EQ(scalare("select Valore from Prog where Articolo = 'A2'").toCurrency(), Currency::fromUnits(15000));
    EXPECT_EQ(conta("Prog"), 39);
    // Changed or deleted by another user before the set read them back: a field with a default
    // shows the change, and a deleted row gives 3167. A field without one is Null as added,
    // like a field written: neither is read again.
    for (const char *art : {"A41", "A42"}) {
        rs.AddNew(a);
        rs.ScriviCampo(a, u"Anno", Variant(static_cast<int16_t>(2024)));
        rs.ScriviCampo(a, u"Articolo", Variant(art));
        rs.ScriviCampo(a, u"Qta", Variant(1.0));
        rs.Update(a);
    }
    esegui("UPDATE Prog SET Note = 'altro', Valore = 5 WHERE Articolo = 'A41'");
    esegui("DELETE FROM Prog WHERE Articolo = 'A42'");
    rs.VaiUltimoModificato(a);
    EXPECT_EQ(rs.LeggiCampo(a, u"Qta").toDouble(), 1.0); // written: no read needed
    EXPECT_TRUE(rs.ValoreCampo(a, u"Note").isNull());
    EXPECT_EQ(numeroErrore([&] { rs.LeggiCampo(a, u"Valore"); }), ErrDb::RecordEliminato);
    rs.MovePrevious(a);
    EXPECT_EQ(rs.ValoreCampo(a, u"Valore").toCurrency(), Currency::fromUnits(50000));
    EXPECT_TRUE(rs.ValoreCampo(a, u"Note").isNull());
}

// A field a new row did not write is Null only where nothing else can have set it: a trigger's
// value is read from the table.
TEST_P(Insiemi, ANewRowReadsWhatATriggerWrote)
{
    const bool sq = motore() == MotoreDb::SQLite;
    esegui(QStringLiteral("CREATE TABLE Trig (Chiave INTEGER NOT NULL PRIMARY KEY, Note %1, Altro %1)")
               .arg(sq ? QStringLiteral("VARCHAR(20) COLLATE NOCASE") : QStringLiteral("citext")));
    if (sq) {
        db.Esegui(conn, "CREATE TRIGGER Trig_nuova AFTER INSERT ON Trig BEGIN UPDATE Trig SET Note = 'dal trigger' WHERE Chiave = NEW.Chiave; END",
                  dbSQLPassThrough);
    } else {
        db.Esegui(conn, "CREATE FUNCTION trig_nuova() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN NEW.Note := 'dal trigger'; RETURN NEW; END $$",
                  dbSQLPassThrough);
        db.Esegui(conn, "CREATE TRIGGER trig_nuova BEFORE INSERT ON Trig FOR EACH ROW EXECUTE FUNCTION trig_nuova()", dbSQLPassThrough);
    }
    db.AggiornaCatalogo(conn);
    const QString a = rs.Apri(db, conn, QString(), QStringLiteral("Select * from Trig Where 0=1"), false, dbOpenDynaset);
    rs.AddNew(a);
    rs.ScriviCampo(a, u"Chiave", Variant(int32_t(1)));
    rs.Update(a);
    rs.VaiUltimoModificato(a);
    EXPECT_EQ(rs.LeggiCampo(a, u"Note").toString(), QStringLiteral("dal trigger"));
    EXPECT_TRUE(rs.ValoreCampo(a, u"Altro").isNull());
}

// The structure of a table read with "Where 0=1" is kept, and read again after a change of
// the schema; a condition that holds is not mistaken for one that never does.
TEST_P(Insiemi, ASetWithoutRowsFollowsTheSchema)
{
    const auto campi = [&](const QString &sql) {
        const QString a = rs.Apri(db, conn, QString(), sql, false, dbOpenDynaset);
        EXPECT_EQ(rs.RecordCount(a), 0);
        return rs.Recordset(a).FieldsCount();
    };
    const int prima = campi(QStringLiteral("Select * from Monete Where 0=1"));
    EXPECT_EQ(campi(QStringLiteral("Select * from Monete Where 0=1")), prima);
    esegui("ALTER TABLE Monete ADD COLUMN Simbolo VARCHAR(3)");
    EXPECT_EQ(campi(QStringLiteral("Select * from Monete Where 0=1")), prima + 1);
    for (const char *sql : {"Select * from Monete Where 1=1", "Select * from Monete Where 0<>1", "Select Count(*) from Monete Where 0=1"}) {
        const QString a = rs.Apri(db, conn, QString(), QString::fromLatin1(sql), false, dbOpenSnapshot);
        EXPECT_EQ(rs.RecordCount(a), QByteArray(sql).contains("Count") ? 1 : 2) << sql;
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, Insiemi, kBothEngines, engineParamName);

} // namespace
