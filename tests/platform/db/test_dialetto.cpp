// What the suite's dialect means, checked on each engine by running it.
#include "errori.h"
#include "provadb.h"
#include "utilgenerali.h"

namespace {

using UtilGenerali::SqlValore;

class Dialetto : public ProvaDb {
protected:
    void SetUp() override
    {
        ProvaDb::SetUp();
        if (IsSkipped() || HasFailure()) return;
        crea(QStringLiteral("Voci"),
             {{"Codice", TipoCampo::Lungo}, {"Testo", TipoCampo::Testo, 40}, {"Altro", TipoCampo::Testo, 10},
              {"Qta", TipoCampo::Doppio}, {"Importo", TipoCampo::Valuta}, {"Giorno", TipoCampo::Data},
              {"Momento", TipoCampo::DataOra}},
             {QStringLiteral("Codice")});
    }
    void voce(int codice, const Variant &testo, const Variant &altro = Variant::null(), const Variant &qta = Variant::null())
    {
        esegui(QStringLiteral("INSERT INTO Voci (Codice, Testo, Altro, Qta) VALUES (%1, %2, %3, %4)")
                   .arg(codice)
                   .arg(SqlValore(testo, 8), SqlValore(altro, 8), SqlValore(qta, 5)));
    }
    // The codes the statement selects, in order.
    std::vector<int> codici(const QString &where, const QString &ordine = QStringLiteral(" ORDER BY Codice"))
    {
        return interi(QStringLiteral("SELECT Codice FROM Voci") + where + ordine);
    }
};

TEST_P(Dialetto, TextLiteralsRoundTripAndMatchThemselves)
{
    const QStringList testi = {QStringLiteral("O'Brien"), QStringLiteral("c:\\dati\\x"), QStringLiteral("50% sconto"),
                               QStringLiteral("a_b"), QStringLiteral("a*b?c#"), QStringLiteral("[x]"), QStringLiteral("àèìòù €"),
                               QStringLiteral("'; DROP TABLE Voci; --"), QStringLiteral("\"doppi\"")};
    for (int i = 0; i < testi.size(); ++i) voce(i + 1, testi[i]);
    for (int i = 0; i < testi.size(); ++i) {
        EXPECT_EQ(scalare(QStringLiteral("SELECT Testo FROM Voci WHERE Testo = ") + SqlValore(testi[i], 8)).toString(), testi[i]);
        // "begins with", the user's text made literal
        const QString like = SqlValore(UtilGenerali::LikeLetterale(testi[i]) + QLatin1Char('*'), 8);
        EXPECT_EQ(codici(QStringLiteral(" WHERE Testo Like ") + like), std::vector<int>{i + 1}) << testi[i].toStdString();
    }
    EXPECT_EQ(codici(QStringLiteral(" WHERE Testo Like '50*'")), std::vector<int>{3});
    EXPECT_EQ(codici(QStringLiteral(" WHERE Testo Like 'a?b'")), std::vector<int>{4});
    EXPECT_EQ(numeroErrore([] { SqlValore(QStringLiteral("a") + QChar(0) + QStringLiteral("b"), 8); }), ErrNum::InvalidCall);
}

TEST_P(Dialetto, TextComparesIgnoringCaseEverywhere)
{
    voce(1, "Alfa", "s");
    voce(2, "beta", "N");
    voce(3, "GAMMA", Variant::null());
    EXPECT_EQ(codici(" WHERE Testo = 'ALFA'"), std::vector<int>{1});
    EXPECT_EQ(codici(" WHERE 'x' = 'X' AND Testo >= 'B'"), (std::vector<int>{2, 3}));
    EXPECT_EQ(codici(" WHERE ucase(Altro) <> 'S'"), std::vector<int>{2}); // Null is not selected
    EXPECT_EQ(codici(" WHERE Testo & Altro = 'alfaS'"), std::vector<int>{1});
    EXPECT_EQ(codici(" WHERE Testo Like 'g*'"), std::vector<int>{3});
    EXPECT_EQ(codici(" WHERE Testo IN ('alfa', 'Gamma')"), (std::vector<int>{1, 3}));
    EXPECT_EQ(codici(QString(), " ORDER BY Testo & ''"), (std::vector<int>{1, 2, 3}));
}

TEST_P(Dialetto, ConcatenationTakesNullAsEmptyAndArithmeticKeepsNull)
{
    voce(1, "a", Variant::null(), 2.5);
    voce(2, Variant::null(), "b");
    EXPECT_EQ(scalare("SELECT Testo & Altro & '-' & Codice AS T FROM Voci WHERE Codice = 1").toString(), QStringLiteral("a-1"));
    EXPECT_EQ(scalare("SELECT Testo & Altro AS T FROM Voci WHERE Codice = 2").toString(), QStringLiteral("b"));
    EXPECT_TRUE(scalare("SELECT Qta + 1 AS T FROM Voci WHERE Codice = 2").isNull());
    EXPECT_DOUBLE_EQ(scalare("SELECT Qta / 2 AS T FROM Voci WHERE Codice = 1").toDouble(), 1.25);
    EXPECT_DOUBLE_EQ(scalare("SELECT Codice / 2 AS T FROM Voci WHERE Codice = 1").toDouble(), 0.5);
}

TEST_P(Dialetto, JetFunctionsTopAndDelete)
{
    voce(1, "abc", Variant::null(), 3.0);
    voce(2, "de", "x", Variant::null());
    voce(3, Variant::null(), "y", 1.0);
    EXPECT_EQ(codici(" WHERE isnull(Altro)"), std::vector<int>{1});
    EXPECT_EQ(codici(" WHERE LEN(Testo) > 2"), std::vector<int>{1});
    EXPECT_EQ(scalare("SELECT IIf(Qta Is Null, 0, Qta) + 1 AS T FROM Voci WHERE Codice = 2").toDouble(), 1.0);
    EXPECT_EQ(codici(" WHERE IIf(Altro Is Null, Qta > 2, Altro = 'Y')"), (std::vector<int>{1, 3}));
    // Jet sorts Null lowest: the highest quantity comes first in descending order.
    EXPECT_EQ(scalare("Select top 1 Qta from Voci order by Qta DESC").toDouble(), 3.0);
    EXPECT_EQ(scalare("Select top 1 Codice from Voci order by Qta").toLong(), 2);
    esegui(QStringLiteral("Delete * from Voci WHERE Voci.Codice = 2"));
    EXPECT_EQ(codici(QString()), (std::vector<int>{1, 3}));
}

TEST_P(Dialetto, DateLiteralsCompareAsDates)
{
    const auto d = [](int a, int m, int g, int h = 0) { return SqlValore(Date::fromYmd(a, m, g, h), 7); };
    esegui("INSERT INTO Voci (Codice, Giorno, Momento) VALUES (1, " + d(2024, 3, 5) + ", " + d(2024, 3, 5) + ")");
    esegui("INSERT INTO Voci (Codice, Giorno, Momento) VALUES (2, " + d(2024, 3, 6) + ", " + d(2024, 3, 5, 14) + ")");
    esegui("INSERT INTO Voci (Codice, Giorno, Momento) VALUES (3, #12/31/2023#, " + d(100, 1, 1) + ")");
    EXPECT_EQ(codici(" WHERE Momento = " + d(2024, 3, 5)), std::vector<int>{1});
    EXPECT_EQ(codici(" WHERE Momento >= " + d(2024, 3, 5)), (std::vector<int>{1, 2}));
    EXPECT_EQ(codici(" WHERE Giorno <= #03/05/2024#"), (std::vector<int>{1, 3}));
    EXPECT_EQ(codici(" WHERE Giorno > " + d(2024, 3, 5, 10)), std::vector<int>{2});
    EXPECT_EQ(codici(QString(), " ORDER BY Momento DESC"), (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(scalare("SELECT Momento FROM Voci WHERE Codice = 3").toDate(), Date::fromYmd(100, 1, 1));
}

TEST_P(Dialetto, UpdateOverAJoinChangesTheRowsTheJoinSelects)
{
    crea(QStringLiteral("Righe"), {{"Codice", TipoCampo::Lungo}, {"Riga", TipoCampo::Lungo}, {"Flag", TipoCampo::Testo, 1}},
         {QStringLiteral("Codice"), QStringLiteral("Riga")});
    voce(1, "a");
    voce(2, "b");
    for (const char *r : {"(1, 1, '0')", "(1, 2, '0')", "(2, 1, '0')", "(3, 1, '0')"})
        esegui(QStringLiteral("INSERT INTO Righe (Codice, Riga, Flag) VALUES ") + QLatin1String(r));
    // The target on the optional side of the join: only rows that exist are marked.
    esegui(QStringLiteral("Update (Voci left join Righe on Voci.Codice = Righe.Codice) Set Righe.Flag = '4' "
                          "Where Voci.Testo = 'A' AND LEN(Righe.Flag)>0"));
    EXPECT_EQ(conta(QStringLiteral("Righe WHERE Flag = '4'")), 2);
    EXPECT_EQ(conta(QStringLiteral("Righe WHERE Flag = '4' AND Codice = 1")), 2);
    esegui(QStringLiteral("Update Voci left join Righe on Voci.Codice = Righe.Codice Set Voci.Altro = 'z' Where Righe.Riga = 2"));
    EXPECT_EQ(conta(QStringLiteral("Voci WHERE Altro = 'Z'")), 1);
}

INSTANTIATE_TEST_SUITE_P(Motori, Dialetto, kBothEngines, engineParamName);

} // namespace
