// Jet's meaning of the dialect on both engines: every construct run as a statement against
// the value (or the error) Jet gives for it.
#include "errori.h"
#include "provadb.h"
#include "utilgenerali.h"

#include <cmath>

namespace {

using UtilGenerali::SqlValore;

Variant C(const char *importo) { return Variant(*Currency::parse(QString::fromLatin1(importo))); }
Variant D(int a, int m, int g, int h = 0, int mi = 0, int s = 0) { return Variant(Date::fromYmd(a, m, g, h, mi, s)); }
Variant I(int n) { return Variant(static_cast<int16_t>(n)); }
Variant L(int32_t n) { return Variant(n); }
Variant F(double d) { return Variant(d); }
Variant T(const char *s) { return Variant(QString::fromUtf8(s)); }

struct Caso {
    const char *jet;
    Variant atteso;   // the value, of its type (a double is compared as a number of any type)
    int errore = 0;   // or the error raised
};

class SemanticaJet : public ProvaDb {
protected:
    void SetUp() override
    {
        ProvaDb::SetUp();
        if (IsSkipped() || HasFailure()) return;
        crea(QStringLiteral("Prove"),
             {{"Id", TipoCampo::Lungo}, {"Testo", TipoCampo::Testo, 20}, {"Vuoto", TipoCampo::Testo, 20},
              {"Intero", TipoCampo::Intero}, {"Lungo", TipoCampo::Lungo}, {"Negativo", TipoCampo::Lungo},
              {"Doppio", TipoCampo::Doppio}, {"Frazione", TipoCampo::Doppio}, {"Importo", TipoCampo::Valuta},
              {"Giorno", TipoCampo::Data}, {"Momento", TipoCampo::DataOra}},
             {QStringLiteral("Id")});
        esegui("INSERT INTO Prove (Id, Testo, Vuoto, Intero, Lungo, Negativo, Doppio, Frazione, Importo, Giorno, Momento) "
               "VALUES (1, 'Abc', NULL, 7, 2147483647, -2147483648, 2.5, 7.5, 123456789012.3456, " +
               SqlValore(Date::fromYmd(2024, 3, 5), 7) + ", " + SqlValore(Date::fromYmd(2024, 3, 5, 14, 30), 7) + ")");
        esegui("INSERT INTO Prove (Id, Testo, Importo) VALUES (2, 'àbc', 3.3)");
    }

    // The expression's value on the first row.
    Variant valore(const char *jet)
    {
        return scalare(QStringLiteral("SELECT ") + QString::fromUtf8(jet) + QStringLiteral(" AS X FROM Prove WHERE Id = 1"));
    }

    void verifica(const Caso &c)
    {
        SCOPED_TRACE(c.jet);
        if (c.errore) {
            EXPECT_EQ(numeroErrore([&] { valore(c.jet); }), c.errore);
            return;
        }
        Variant v;
        try {
            v = valore(c.jet);
        } catch (const AppError &e) {
            ADD_FAILURE() << e.what();
            return;
        }
        const Variant &a = c.atteso;
        switch (a.type()) {
        case Variant::Type::Null: EXPECT_TRUE(v.isNull()) << v.typeName().toStdString(); break;
        case Variant::Type::Double:
            ASSERT_TRUE(v.isNumber()) << v.typeName().toStdString();
            EXPECT_NEAR(v.toDouble(), a.toDouble(), std::fabs(a.toDouble()) * 1e-13);
            break;
        case Variant::Type::String:
            ASSERT_TRUE(v.isText()) << v.typeName().toStdString();
            EXPECT_EQ(v.toString().toStdString(), a.toString().toStdString());
            break;
        default:
            ASSERT_EQ(v.typeName().toStdString(), a.typeName().toStdString());
            EXPECT_TRUE(v.sameAs(a)) << v.text().toStdString() << " invece di " << a.text().toStdString();
            break;
        }
    }

    std::vector<int> righe(const QString &dove)
    {
        return interi(QStringLiteral("SELECT Id FROM Prove WHERE ") + dove + " ORDER BY Id");
    }
};

TEST_P(SemanticaJet, EveryConstructGivesJetsValueOrJetsError)
{
    const Caso casi[] = {
        // "&": Null only when every part is Null; numbers and dates as the workstation writes them
        {"Vuoto & Vuoto", Variant::null()},
        {"Vuoto & 'x' & Vuoto", T("x")},
        {"Testo & Intero & '|' & Doppio", T("Abc7|2,5")},
        {"'' & Importo", T("123456789012,3456")},
        {"'' & Giorno & ' ' & Momento", T("05/03/2024 05/03/2024 14:30:00")},
        // "+" between texts joins them, Null stays Null; a numeric text adds
        {"'a' + 'b'", T("ab")},
        {"Vuoto + 'b'", Variant::null()},
        {"'5' + 1", F(6)},
        // Like: the whole pattern language, ignoring case, from literals and expressions
        {"IIf(Testo Like 'a*', 1, 0)", I(1)},
        {"IIf('a1' Like '[a-c]#', 1, 0)", I(1)},
        {"IIf('d1' Like '[!a-c]#', 1, 0)", I(1)},
        {"IIf('b' Like '[!a-c]', 1, 0)", I(0)},
        {"IIf('x*y' Like 'x[*]y', 1, 0)", I(1)},
        {"IIf('x%y' Like 'x_y', 1, 0)", I(0)},
        {"IIf(Testo Like Left(Testo, 1) & '?' & '*', 1, 0)", I(1)},
        {"IIf(Testo Not Like '*b', 1, 0)", I(1)},
        {"IIf(Vuoto Like '*', 1, 0)", I(0)},
        // arithmetic: whole numbers of 32 bits, "\" and Mod round first, division by zero
        {"7.5 \\ 2", L(4)},
        {"-7 \\ 2", L(-3)},
        {"6.5 Mod 4", L(2)},
        {"-7 Mod 3", L(-1)},
        {"Negativo Mod -1", L(0)},
        {"Negativo \\ -1", {}, ErrNum::Overflow},
        {"7 \\ 0", {}, ErrNum::DivByZero},
        {"1 / 0", {}, ErrNum::DivByZero},
        {"Lungo + 1", {}, ErrNum::Overflow},
        {"-Negativo", {}, ErrNum::Overflow},
        {"Abs(Negativo)", {}, ErrNum::Overflow},
        {"-2 ^ 2", F(-4)},
        {"2 ^ -1", F(0.5)},
        {"(-8) ^ (1 / 3)", {}, ErrNum::InvalidCall},
        {"Intero * 3 - 1", L(20)},
        {"Doppio / 2", F(1.25)},
        // dates: days are numbers
        {"Giorno + 1", D(2024, 3, 6)},
        {"Momento - 0.5", D(2024, 3, 5, 2, 30)},
        {"#03/10/2024# - Giorno", F(5)},
        // exact currency
        {"Importo", C("123456789012.3456")},
        {"Importo + 0.0001", C("123456789012.3457")},
        {"Importo * 2", C("246913578024.6912")},
        {"1.1 + 2.2", C("3.3")},
        {"Importo * 1.5", C("185185183518.5184")},
        {"IIf(Id = 1, Importo, 0)", C("123456789012.3456")},
        {"CCur(Doppio)", C("2.5")},
        {"CCur(1.00005)", C("1")},
        // conversions
        {"CStr(Doppio)", T("2,5")},
        {"CStr(Importo)", T("123456789012,3456")},
        {"CStr(3.0)", T("3")},
        {"CStr(Intero)", T("7")},
        {"CStr(Vuoto)", {}, ErrNum::InvalidNull},
        {"CLng(2.5)", L(2)},
        {"CLng(3.5)", L(4)},
        {"CLng(Importo)", {}, ErrNum::Overflow},
        {"CLng(Vuoto)", {}, ErrNum::InvalidNull},
        {"CInt(Frazione)", I(8)},
        {"CDbl(Importo)", F(123456789012.3456)},
        {"CDbl('1.234,5')", F(1234.5)},
        {"'2,5' * 2", F(5)},
        {"CCur('12,34')", C("12.34")},
        {"Val(' 12 5.5abc')", F(125.5)},
        {"Val('abc')", F(0)},
        {"Val('-1e3x')", F(-1000)},
        // numbers
        {"Int(-2.5)", F(-3)},
        {"Fix(-2.5)", F(-2)},
        {"Int(Frazione)", F(7)},
        {"Sgn(-Doppio)", I(-1)},
        {"Round(2.5)", F(2)},
        {"Round(3.5)", F(4)},
        {"Round(Doppio)", F(2)},
        {"Round(0.125, 2)", F(0.12)},
        {"Round(Importo, 2)", C("123456789012.35")},
        {"Round(1.5, -1)", {}, ErrNum::InvalidCall},
        {"Round(Doppio, 1)", F(2.5)},
        {"Fix(Importo)", C("123456789012")},
        {"Abs(Intero)", L(7)},
        {"Abs(-2.5)", F(2.5)},
        {"Sgn(Importo)", I(1)},
        {"CInt(40000)", {}, ErrNum::Overflow},
        {"Nz(Importo, 0)", C("123456789012.3456")},
        {"Count(Vuoto)", L(0)},
        {"Avg(Importo)", C("123456789012.3456")},
        {"Min(Giorno)", D(2024, 3, 5)},
        // texts
        {"Len(Testo)", L(3)},
        {"Len(Intero)", L(1)},
        {"UCase('àb')", T("ÀB")},
        {"InStr('abcabc', 'C')", L(3)},
        {"InStr(4, 'abcabc', 'c')", L(6)},
        {"InStr(1, 'abc', 'B', 0)", L(0)},
        {"InStr('abc', '')", L(1)},
        {"InStr(2, Testo, 'b')", L(2)},
        {"LCase(Testo) & Testo + Testo", T("abcAbcAbc")},
        {"Mid('abcdef', 2, 3)", T("bcd")},
        {"Mid('abc', 5)", T("")},
        {"Mid('abc', 0)", {}, ErrNum::InvalidCall},
        {"Left(Testo, 2) & Right(Testo, 2)", T("Abbc")},
        {"Left('abc', -1)", {}, ErrNum::InvalidCall},
        {"'[' & Trim('  a b  ') & '|' & LTrim('  a ') & '|' & RTrim(' a  ') & ']'", T("[a b|a | a]")},
        {"Space(3) & '.'", T("   .")},
        // dates
        {"Year(Giorno) * 100 + Month(Momento)", L(202403)},
        {"Day(Giorno)", I(5)},
        {"DateSerial(2024, 14, 0)", D(2025, 1, 31)},
        {"DateSerial(24, 2, 30)", D(2024, 3, 1)},
        {"DateAdd('m', 1, #01/31/2024#)", D(2024, 2, 29)},
        {"DateAdd('h', 10, Momento)", D(2024, 3, 6, 0, 30)},
        {"DateAdd('yyyy', -1, Giorno)", D(2023, 3, 5)},
        {"DateDiff('d', Giorno, #03/10/2024#)", L(5)},
        {"DateDiff('m', #12/31/2023#, #01/01/2024#)", L(1)},
        {"DateDiff('yyyy', #12/31/2023#, #01/01/2024#)", L(1)},
        {"DateDiff('ww', #03/02/2024#, #03/10/2024#)", L(2)},
        {"DateDiff('h', #03/05/2024 23:59#, #03/06/2024 00:01#)", L(1)},
        {"DateAdd('x', 1, Giorno)", {}, ErrDb::Sintassi},
        {"Weekday(Giorno) * 10000 + Hour(Momento) * 100 + Minute(Momento) + Second(Momento)", L(31430)},
        {"DateDiff('q', #12/31/2023#, #01/01/2024#)", L(1)},
        {"DateDiff('w', #03/01/2024#, #03/15/2024#)", L(2)},
        {"DateDiff('n', #03/05/2024 10:00#, #03/05/2024 11:30#)", L(90)},
        {"DateDiff('s', Momento, DateAdd('s', 30, Momento))", L(30)},
        {"DateAdd('q', 1, Giorno)", D(2024, 6, 5)},
        {"DateAdd('ww', 1, Giorno)", D(2024, 3, 12)},
        {"Int(Momento)", D(2024, 3, 5)},
        {"IIf(Id = 1, Giorno, 'x')", T("05/03/2024")},
        // Format as the Italian workstation writes
        {"Format(Doppio, '0.00')", T("2,50")},
        {"Format(1234.5, '#,##0.00')", T("1.234,50")},
        {"Format(0.5, '#.##')", T(",5")},
        {"Format(2.5, '0')", T("3")},
        {"Format(0.256, 'Percent')", T("25,60%")},
        {"Format(Importo, 'Standard')", T("123.456.789.012,35")},
        {"Format(Giorno, 'dd/mm/yyyy')", T("05/03/2024")},
        {"Format(Giorno, 'dddd d mmmm yy')", T("martedì 5 marzo 24")},
        {"Format(Momento, 'hh:nn')", T("14:30")},
        {"Format(Momento, 'Long Date')", T("martedì 5 marzo 2024")},
        {"Format(Giorno, 'ddd dd-mmm-yy')", T("mar 05-mar-24")},
        {"Format(Testo, '>')", T("ABC")},
        {"Format(Vuoto, '0')", Variant::null()},
        {"Format(Doppio, 'qq')", {}, ErrDb::Sintassi},
        // IIf and Nz with branches of different types; Null where a value is wanted
        {"IIf(Id = 1, 1, 'a')", T("1")},
        {"IIf(Id = 2, 1, 'a')", T("a")},
        {"IIf(Vuoto Is Null, Doppio, Intero)", F(2.5)},
        {"Nz(Vuoto, 'z')", T("z")},
        {"Nz(Testo, 0)", T("Abc")},
        {"Nz(Vuoto)", T("")},
        // refused as Jet refuses them
        {"Ignota(1)", {}, ErrDb::FunzioneSconosciuta},
        {"Upper(Testo)", {}, ErrDb::FunzioneSconosciuta},
        {"#03/05/2024 -1:00#", {}, ErrDb::Sintassi},
    };
    for (const Caso &c : casi) verifica(c);
}

TEST_P(SemanticaJet, ConditionsSelectTheRowsJetSelects)
{
    EXPECT_EQ(righe("Importo = 1.1 + 2.2"), std::vector<int>{2});
    EXPECT_EQ(righe("Importo = 123456789012.3455 + 0.0001"), std::vector<int>{1});
    EXPECT_EQ(righe("Importo > 3"), (std::vector<int>{1, 2}));
    EXPECT_EQ(righe("Importo < Intero"), std::vector<int>{});
    EXPECT_EQ(righe("Giorno + 1 = #03/06/2024#"), std::vector<int>{1});
    EXPECT_EQ(righe("Momento >= Giorno AND DateAdd('d', 1, Giorno) > Momento"), std::vector<int>{1});
    EXPECT_EQ(righe("Testo Like '[a-c]B*'"), (std::vector<int>{1}));
    EXPECT_EQ(righe("Testo Like 'ÀB?'"), (std::vector<int>{2}));
    // A customer range over a Null code selects nothing: "&" of Nulls is Null.
    EXPECT_EQ(righe("Vuoto & Vuoto >= ''"), std::vector<int>{});
    EXPECT_EQ(righe("Testo & Vuoto >= ''"), (std::vector<int>{1, 2}));
}

// Texts compare ignoring case over every letter, "CAFFÈ" as "caffè", on either engine and
// whatever reaches them: a key through its index, two expressions, grouping, ordering, Like.
TEST_P(SemanticaJet, EveryLetterComparesIgnoringCase)
{
    crea(QStringLiteral("Codici"), {{"Codice", TipoCampo::Testo, 20}, {"Id", TipoCampo::Lungo}}, {QStringLiteral("Codice")});
    int id = 0;
    for (const char *codice : {"CAFFÈ", "à1", "é1", "Città", "ÖL", "b", "ΣΟΦΊΑ"})
        esegui(QStringLiteral("INSERT INTO Codici (Codice, Id) VALUES (%1, %2)").arg(SqlValore(T(codice), 8)).arg(++id));
    const auto trova = [&](const char *codice) {
        return interi(QStringLiteral("SELECT Id FROM Codici WHERE Codice = ") + SqlValore(T(codice), 8));
    };
    EXPECT_EQ(trova("caffè"), std::vector<int>{1});
    EXPECT_EQ(trova("À1"), std::vector<int>{2});
    EXPECT_EQ(trova("CITTÀ"), std::vector<int>{4});
    EXPECT_EQ(trova("öl"), std::vector<int>{5});
    EXPECT_EQ(trova("σοφία"), std::vector<int>{7});
    EXPECT_EQ(trova("caffé"), std::vector<int>{});
    EXPECT_EQ(interi("SELECT Id FROM Codici WHERE Codice >= 'CITTÀ' AND Codice <= 'città' ORDER BY Id"), std::vector<int>{4});
    // another key that differs only in case is the same key
    EXPECT_EQ(numeroErrore([&] { esegui("INSERT INTO Codici (Codice, Id) VALUES ('caffè', 9)"); }), ErrDb::ChiaveDuplicata);

    esegui("INSERT INTO Prove (Id, Testo) VALUES (3, 'CAFFÈ')");
    esegui("INSERT INTO Prove (Id, Testo) VALUES (4, 'caffè')");
    esegui("INSERT INTO Prove (Id, Testo) VALUES (5, 'Caffè')");
    EXPECT_EQ(righe("Testo = 'ÀBC'"), std::vector<int>{2});
    EXPECT_EQ(righe("UCase(Testo) = 'àbc'"), std::vector<int>{2});
    EXPECT_EQ(righe("Testo = 'CAFFè'"), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(righe("Testo IN ('caffÈ', 'x')"), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(righe("Testo Like 'caff[È]'"), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(righe("InStr(Testo, 'FÈ') = 4"), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(scalare("SELECT Count(*) AS N FROM (SELECT DISTINCT Testo FROM Prove WHERE Id >= 3) AS T").toLong(), 1);
    EXPECT_EQ(interi("SELECT Id FROM Prove WHERE Id >= 3 ORDER BY Testo, Id DESC"), (std::vector<int>{5, 4, 3}));
}

TEST_P(SemanticaJet, CurrencyIsExactOverItsWholeRange)
{
    esegui("INSERT INTO Prove (Id, Importo) VALUES (3, 922337203685477.5807)");
    esegui("INSERT INTO Prove (Id, Importo) VALUES (4, -922337203685477.5807)");
    EXPECT_TRUE(scalare("SELECT Importo FROM Prove WHERE Id = 3").sameAs(C("922337203685477.5807")));
    EXPECT_TRUE(scalare("SELECT Importo FROM Prove WHERE Id = 4").sameAs(C("-922337203685477.5807")));
    EXPECT_TRUE(scalare("SELECT Sum(Importo) AS S FROM Prove WHERE Id IN (3, 4)").sameAs(C("0")));
    EXPECT_TRUE(scalare("SELECT Sum(Importo) AS S FROM Prove WHERE Id IN (1, 2)").sameAs(C("123456789015.6456")));
    EXPECT_TRUE(scalare("SELECT Max(Importo) AS S FROM Prove").sameAs(C("922337203685477.5807")));
    EXPECT_EQ(numeroErrore([&] { scalare("SELECT Importo + 1 AS S FROM Prove WHERE Id = 3"); }), ErrNum::Overflow);
    // Written through a record set and through statements alike.
    const QString a = rs.Apri(db, conn, QString(), QStringLiteral("SELECT Id, Importo FROM Prove WHERE Id = 2"), false,
                              dbOpenDynaset);
    rs.Edit(a);
    rs.ScriviCampo(a, u"Importo", C("98765432109876.5432"));
    rs.Update(a);
    rs.Chiudi(a);
    EXPECT_EQ(righe("Importo = 98765432109876.5432"), std::vector<int>{2});
    esegui("UPDATE Prove SET Importo = Importo * 2 WHERE Id = 2");
    EXPECT_TRUE(scalare("SELECT Importo FROM Prove WHERE Id = 2").sameAs(C("197530864219753.0864")));
    esegui("UPDATE Prove SET Importo = Doppio / 3 WHERE Id = 1");
    EXPECT_TRUE(scalare("SELECT Importo FROM Prove WHERE Id = 1").sameAs(C("0.8333")));
}

TEST_P(SemanticaJet, DistinctRowTopAndUnion)
{
    crea(QStringLiteral("Righe"), {{"Id", TipoCampo::Lungo}, {"Riga", TipoCampo::Lungo}}, {"Id", "Riga"});
    for (const char *r : {"(1, 1)", "(1, 2)", "(2, 1)", "(3, 1)"})
        esegui(QStringLiteral("INSERT INTO Righe (Id, Riga) VALUES ") + r);
    esegui("INSERT INTO Prove (Id, Testo) VALUES (3, 'Abc')");
    const auto conta = [&](const char *sql) {
        const QString a = rs.Apri(db, conn, QString(), QString::fromUtf8(sql));
        const int n = rs.RecordCount(a);
        rs.Chiudi(a);
        return n;
    };
    // DISTINCTROW: one row per order that has lines, duplicate values kept; one table: every row.
    EXPECT_EQ(conta("SELECT DISTINCTROW Prove.Testo FROM Prove INNER JOIN Righe ON Prove.Id = Righe.Id"), 3);
    EXPECT_EQ(conta("SELECT DISTINCT Prove.Testo FROM Prove INNER JOIN Righe ON Prove.Id = Righe.Id"), 2);
    EXPECT_EQ(conta("SELECT DISTINCTROW Testo FROM Prove"), 3);
    EXPECT_EQ(conta("SELECT DISTINCT Testo FROM Prove"), 2);
    // TOP in a member of a UNION takes that member's rows.
    EXPECT_EQ(conta("SELECT TOP 1 Id FROM Prove ORDER BY Id DESC UNION SELECT Riga FROM Righe"), 3);
    EXPECT_EQ(scalare("SELECT Importo FROM Prove WHERE Id = 2 UNION ALL SELECT Id FROM Righe WHERE Riga = 2").typeName(),
              C("1").typeName());
}

INSTANTIATE_TEST_SUITE_P(Motori, SemanticaJet, kBothEngines, engineParamName);

} // namespace
