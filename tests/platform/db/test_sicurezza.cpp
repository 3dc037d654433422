// Hostile text in a statement: names that try to end the quoting or the statement, and
// statements built to exhaust the stack. Each gives its error and changes nothing.
#include "errori.h"
#include "provadb.h"

namespace {

class Sicurezza : public ProvaDb {
protected:
    void SetUp() override
    {
        ProvaDb::SetUp();
        if (IsSkipped() || HasFailure()) return;
        crea(QStringLiteral("T"), {{"Id", TipoCampo::Lungo}, {"Nome", TipoCampo::Testo}, {"Campo", TipoCampo::Testo}},
             {QStringLiteral("Id")});
        crea(QStringLiteral("U"), {{"Id", TipoCampo::Lungo}}, {QStringLiteral("Id")});
        // A column whose name holds a blank, as Jet allows between brackets.
        esegui(motore() == MotoreDb::SQLite ? QStringLiteral("ALTER TABLE T ADD COLUMN \"Nome Campo\" VARCHAR(20)")
                                            : QStringLiteral("ALTER TABLE T ADD COLUMN \"nome campo\" citext"));
        db.AggiornaCatalogo(conn);
        esegui("INSERT INTO T (Id, Nome, Campo, [Nome Campo]) VALUES (1, 'n', 'c', 'nc')");
        esegui("INSERT INTO T (Id, Nome, Campo) VALUES (2, 'm', 'd')");
        esegui("INSERT INTO U (Id) VALUES (1)");
    }

    // Nothing changed: both tables and their rows as the set-up left them.
    void intatte()
    {
        EXPECT_EQ(conta("U"), 1);
        EXPECT_EQ(conta("T WHERE Nome = 'n' AND Campo = 'c'"), 1);
        EXPECT_EQ(conta("T WHERE Nome = 'm' AND Campo = 'd'"), 1);
    }
};

TEST_P(Sicurezza, ABracketedNameIsOneNameAndNeverEndsTheStatement)
{
    EXPECT_EQ(scalare("SELECT [Nome Campo] FROM T WHERE Id = 1").toString(), QStringLiteral("nc"));
    const QString a = rs.Apri(db, conn, QString(), QStringLiteral("SELECT [Nome Campo], Id AS [Numero riga] FROM T WHERE Id = 1"));
    EXPECT_EQ(rs.LeggiCampo(a, u"Nome Campo").toString(), QStringLiteral("nc"));
    EXPECT_EQ(rs.LeggiCampo(a, u"Numero riga").toLong(), 1);
    rs.Chiudi(a);
    // A name that is no column fails; it is never read as a text.
    EXPECT_EQ(numeroErrore([&] { scalare("SELECT [Nessuno] FROM T"); }), ErrDb::ParametriInsufficienti);
    EXPECT_EQ(numeroErrore([&] { scalare("SELECT Id FROM [Nessuna]"); }), ErrDb::TabellaInesistente);
    const char *ostili[] = {
        "SELECT [Id FROM T; DROP TABLE U; SELECT Id] FROM T",
        "UPDATE T SET [Nome = 'x'; UPDATE T SET Campo] = 'y'",
        "UPDATE T SET Nome = 'x'; UPDATE T SET Campo = 'y'",
        "DELETE FROM T WHERE Id = 3; DROP TABLE U",
        "SELECT [a\nb] FROM T",
        "SELECT [a[b] FROM T",
        "SELECT [] FROM T",
        "SELECT Id FROM T WHERE [Nome] = 'n' -- ; DROP TABLE U",
        "CREATE TABLE V (Id INTEGER); DROP TABLE U",
    };
    for (const char *sql : ostili) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(numeroErrore([&] { esegui(QString::fromUtf8(sql)); }), ErrDb::Sintassi);
        intatte();
    }
    // A text alias is a name like any other.
    EXPECT_EQ(scalare("SELECT Id AS 'x\"; DROP TABLE U; --' FROM T WHERE Id = 2").toLong(), 2);
    intatte();
}

TEST_P(Sicurezza, LongChainsRunAndDeepNestingIsRefusedWithoutACrash)
{
    // An OR chain of 40,000 terms is an ordinary (if long) condition.
    QString o = QStringLiteral("Id = 2");
    for (int i = 3; i < 40000; ++i) o += QStringLiteral(" OR Id = %1").arg(i);
    EXPECT_EQ(conta("T WHERE " + o), 1);
    QString e = QStringLiteral("Nome <> ''");
    for (int i = 0; i < 4000; ++i) e += QStringLiteral(" AND Id > 0");
    EXPECT_EQ(conta("T WHERE " + e), 2);
    // Nesting beyond reason, in every form, is "too complex".
    const auto ripeti = [](const char *pezzo, int volte) {
        QString s;
        for (int i = 0; i < volte; ++i) s += QLatin1String(pezzo);
        return s;
    };
    const QString profonde[] = {
        "SELECT Id FROM T WHERE " + ripeti("(", 20000) + "Id = 1" + ripeti(")", 20000),
        "SELECT Id FROM T WHERE " + ripeti("NOT ", 20000) + "Id = 1",
        "SELECT " + ripeti("-", 20000) + "Id AS X FROM T",
        "SELECT " + ripeti("- ", 20000) + "Id AS X FROM T",
        "SELECT Id" + ripeti(" + Id", 40000) + " AS X FROM T",
        "SELECT Id FROM T WHERE Id" + ripeti(" = Id", 40000),
        "SELECT " + ripeti("Len(", 20000) + "Nome" + ripeti(")", 20000) + " AS X FROM T",
        "SELECT Id FROM T WHERE Id IN " + ripeti("(SELECT Id FROM T WHERE Id IN ", 5000) + "(1)" + ripeti(")", 5000),
    };
    for (const QString &sql : profonde) {
        SCOPED_TRACE(sql.left(60).toStdString());
        EXPECT_EQ(numeroErrore([&] { scalare(sql); }), ErrDb::Sintassi);
    }
    intatte();
}

TEST_P(Sicurezza, CriteriaOverflowAsJetDoesInsteadOfStoppingTheProgram)
{
    esegui("INSERT INTO U (Id) VALUES (-2147483648)");
    const QString a = rs.Apri(db, conn, QString(), QStringLiteral("SELECT Id FROM U ORDER BY Id"));
    EXPECT_EQ(numeroErrore([&] { rs.FindFirst(a, QStringLiteral("Id \\ -1 = 1")); }), ErrNum::Overflow);
    EXPECT_EQ(numeroErrore([&] { rs.FindFirst(a, QStringLiteral("-Id > 0")); }), ErrNum::Overflow);
    EXPECT_EQ(numeroErrore([&] { rs.FindFirst(a, QStringLiteral("Id / 0 > 1")); }), ErrNum::DivByZero);
    EXPECT_EQ(numeroErrore([&] { rs.FindFirst(a, QStringLiteral("Ignota(Id) = 1")); }), ErrDb::FunzioneSconosciuta);
    rs.FindFirst(a, QStringLiteral("Id Mod -1 = 0 And Id < 0"));
    ASSERT_FALSE(rs.NoMatch(a));
    EXPECT_EQ(rs.LeggiCampo(a, u"Id").toLong(), -2147483647 - 1);
    QString o = QStringLiteral("Id = 5");
    for (int i = 6; i < 40000; ++i) o += QStringLiteral(" Or Id = %1").arg(i);
    rs.FindFirst(a, o + QStringLiteral(" Or Id = 1"));
    ASSERT_FALSE(rs.NoMatch(a));
    EXPECT_EQ(rs.LeggiCampo(a, u"Id").toLong(), 1);
    EXPECT_EQ(numeroErrore([&] { rs.FindFirst(a, QString(20000, QLatin1Char('(')) + "Id = 1" + QString(20000, QLatin1Char(')'))); }),
              ErrDb::Sintassi);
    rs.Chiudi(a);
}

INSTANTIATE_TEST_SUITE_P(Motori, Sicurezza, kBothEngines, engineParamName);

} // namespace
