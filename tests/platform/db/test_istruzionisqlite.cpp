// Record sets on SQLite read through the engine's own interface, their statements kept prepared
// with the compared literals bound: the same cells and names as Qt's driver gives, and each read
// with its own values.
#include "connessione.h"
#include "istruzionisqlite.h"
#include "provadb.h"
#include "utilgenerali.h"

#include <QSqlRecord>

namespace {

struct CasoLegame {
    const char *sql;
    const char *atteso;
    std::vector<std::pair<char, const char *>> valori; // t(ext), n(umber) or d(ecimal), value as written
    bool argomenti = false;
    bool decimali = false;
};

TEST(LegaLetterali, ComparedTextsAndWholeNumbersBecomeParameters)
{
    const std::vector<CasoLegame> casi = {
        {"SELECT * FROM T WHERE Anno = 2024 AND NumRif = 17", "SELECT * FROM T WHERE Anno = ? AND NumRif = ?",
         {{'n', "2024"}, {'n', "17"}}},
        {"SELECT a FROM T WHERE c='O''Brien' AND d<>'' AND e>=5 AND f<=6 AND g<7 AND h>8 AND i!=9 AND j==10",
         "SELECT a FROM T WHERE c=? AND d<>? AND e>=? AND f<=? AND g<? AND h>? AND i!=? AND j==?",
         {{'t', "O'Brien"}, {'t', ""}, {'n', "5"}, {'n', "6"}, {'n', "7"}, {'n', "8"}, {'n', "9"}, {'n', "10"}}},
        // Numbers with a meaning of their own, decimals, lists, names with digits: as written.
        {"SELECT Periodo1, 'x' AS k FROM T2 WHERE a IN (1, 'b') AND d = 1.5 AND e = 2e3 ORDER BY 1 DESC LIMIT 1 OFFSET 2",
         "SELECT Periodo1, 'x' AS k FROM T2 WHERE a IN (1, 'b') AND d = 1.5 AND e = 2e3 ORDER BY 1 DESC LIMIT 1 OFFSET 2",
         {}},
        // A signed whole number is one value; a sign that is an operator, a spaced sign, a cast
        // right after, a magnitude beyond 64 bits stay.
        {"SELECT * FROM T WHERE c = -3 AND d = a - 4 AND e = - 5 AND f = -6::text AND g = -9223372036854775808",
         "SELECT * FROM T WHERE c = ? AND d = a - 4 AND e = - 5 AND f = -6::text AND g = -9223372036854775808",
         {{'n', "-3"}}},
        {"UPDATE T SET a = CAST((-33) AS double precision), b = (-(3185.94)) + 0.5 WHERE c > -1.5e2 AND d = -.5",
         "UPDATE T SET a = CAST((?) AS double precision), b = (-(3185.94)) + 0.5 WHERE c > -1.5e2 AND d = -.5",
         {{'n', "-33"}}, true},
        // PostgreSQL: decimals too, as written, signed or not.
        {"UPDATE T SET a = CAST((-33) AS double precision), b = (-(3185.94)) + 0.5 WHERE c > -1.5e2 AND d = -.5 AND e = 1.2.3",
         "UPDATE T SET a = CAST((?) AS double precision), b = (-(?)) + 0.5 WHERE c > ? AND d = ? AND e = 1.2.3",
         {{'n', "-33"}, {'d', "3185.94"}, {'d', "-1.5e2"}, {'d', "-.5"}}, true, true},
        {"SELECT \"a=1\" FROM [b=2] WHERE x << 3 = 4 AND y = 99999999999999999999",
         "SELECT \"a=1\" FROM [b=2] WHERE x << 3 = ? AND y = 99999999999999999999", {{'n', "4"}}},
        {"SELECT * FROM T WHERE d = '2024-05-02 10:00:00' AND x = 'a?b'", "SELECT * FROM T WHERE d = ? AND x = ?",
         {{'t', "2024-05-02 10:00:00"}, {'t', "a?b"}}},
        // Parameters or comments already there, an open quote: the text goes whole.
        {"SELECT * FROM T WHERE a = ? AND b = 1", "SELECT * FROM T WHERE a = ? AND b = 1", {}},
        {"SELECT * FROM T WHERE a = 1 -- b = 2", "SELECT * FROM T WHERE a = 1 -- b = 2", {}},
        {"SELECT * FROM T WHERE a = 'open", "SELECT * FROM T WHERE a = 'open", {}},
        // A write's arguments and lists too, positions of ORDER BY and GROUP BY apart.
        {"UPDATE T SET a = jet_op('+', 'C', a, 5), b = 'x' WHERE k IN (1, 'z') AND d = 1.5",
         "UPDATE T SET a = jet_op(?, ?, a, ?), b = ? WHERE k IN (?, ?) AND d = 1.5",
         {{'t', "+"}, {'t', "C"}, {'n', "5"}, {'t', "x"}, {'n', "1"}, {'t', "z"}}, true},
        {"INSERT INTO T (a, b) VALUES ('x', 5)", "INSERT INTO T (a, b) VALUES (?, ?)", {{'t', "x"}, {'n', "5"}}, true},
        {"INSERT INTO T (a, b) SELECT 'u' AS u, x FROM S WHERE y = 2 GROUP BY 1, 2 ORDER BY 2, f(3) LIMIT 1",
         "INSERT INTO T (a, b) SELECT 'u' AS u, x FROM S WHERE y = ? GROUP BY 1, 2 ORDER BY 2, f(?) LIMIT 1",
         {{'n', "2"}, {'n', "3"}}, true},
        {"SELECT f(1, 'a') FROM T", "SELECT f(1, 'a') FROM T", {}},
    };
    for (const CasoLegame &c : casi) {
        SCOPED_TRACE(c.sql);
        const TestoLegato t = legaLetterali(QString::fromUtf8(c.sql), c.argomenti, c.decimali);
        EXPECT_EQ(t.sql, QString::fromUtf8(c.atteso));
        ASSERT_EQ(t.valori.size(), c.valori.size());
        for (size_t k = 0; k < c.valori.size(); ++k) {
            const char tipo = c.valori[k].first;
            EXPECT_EQ(t.valori[k].testo, tipo == 't');
            EXPECT_EQ(t.valori[k].decimale, tipo == 'd');
            if (tipo == 'n') EXPECT_EQ(t.valori[k].numero, QByteArray(c.valori[k].second).toLongLong());
            else EXPECT_EQ(t.valori[k].stringa, QString::fromUtf8(c.valori[k].second));
        }
    }
}

class LettureDirette : public ProvaDb {
protected:
    void SetUp() override
    {
        ProvaDb::SetUp();
        if (IsSkipped() || HasFailure()) return;
        crea(QStringLiteral("Voci"),
             {{"Codice", TipoCampo::Testo, 10}, {"Riga", TipoCampo::Intero}, {"Numero", TipoCampo::Lungo},
              {"Cambio", TipoCampo::Doppio}, {"Importo", TipoCampo::Valuta}, {"Giorno", TipoCampo::Data},
              {"Momento", TipoCampo::DataOra}, {"Nota", TipoCampo::Memo}, {"Libero", TipoCampo::Sconosciuto}},
             {QStringLiteral("Codice"), QStringLiteral("Riga")});
        crea(QStringLiteral("Gruppi"), {{"Codice", TipoCampo::Testo, 10}, {"Nome", TipoCampo::Testo, 20}},
             {QStringLiteral("Codice")});
        esegui("INSERT INTO Voci (Codice, Riga, Numero, Cambio, Importo, Giorno, Momento, Nota, Libero) VALUES "
               "('A', 1, 2147483647, 1.085, 100.5, #05/02/2024#, #05/02/2024 10:30:00#, 'àèì €', 'x')");
        esegui("INSERT INTO Voci (Codice, Riga, Numero, Cambio, Importo, Nota) VALUES ('A', 2, -7, 0.1, -0.0001, '')");
        esegui("INSERT INTO Voci (Codice, Riga) VALUES ('b', 3)");
        esegui("INSERT INTO Voci (Codice, Riga, Libero) VALUES ('5', 4, '12')");
        db.Esegui(conn, QStringLiteral("UPDATE Voci SET Libero = 2.5 WHERE Riga = 3"), dbSQLPassThrough);
        esegui("INSERT INTO Gruppi (Codice, Nome) VALUES ('A', 'Primo')");
    }
    Connessione &connessione() { return *db.condivisa(conn); }
};

// Statements in SQLite's dialect, as the translation leaves them.
TEST_P(LettureDirette, CellsAndNamesAreThoseOfQtsDriver)
{
    Connessione &c = connessione();
    ASSERT_NE(c.istruzioniSqlite(), nullptr);
    const char *const istruzioni[] = {
        "SELECT * FROM Voci ORDER BY Riga",
        "SELECT Voci.*, Gruppi.* FROM Voci LEFT JOIN Gruppi ON Voci.Codice = Gruppi.Codice WHERE Voci.Riga >= 2 ORDER BY Voci.Riga",
        "SELECT \"Voci\".\"Codice\" AS \"Cod\", Numero * 2 AS Doppio, Riga + 0.5, 'k' AS Fisso, NULL AS Niente FROM Voci "
        "WHERE Codice = 'a' ORDER BY 2",
        "SELECT Codice, Libero FROM Voci WHERE Codice = 5 OR Libero = 12",
        "SELECT Codice FROM Voci WHERE Codice = 'nessuno'",
    };
    for (const char *sql : istruzioni) {
        SCOPED_TRACE(sql);
        QSqlQuery q = c.nuovaQuery();
        ASSERT_TRUE(q.exec(QString::fromUtf8(sql)));
        std::vector<QString> nomiQt;
        const QSqlRecord r = q.record();
        std::vector<std::vector<QVariant>> righeQt;
        while (q.next()) {
            righeQt.emplace_back();
            for (int i = 0; i < r.count(); ++i) righeQt.back().push_back(q.value(i));
        }
        for (int i = 0; i < r.count(); ++i) nomiQt.push_back(r.fieldName(i));
        q.finish();

        IstruzioniSqlite &l = *c.istruzioniSqlite();
        const TestoLegato t = legaLetterali(QString::fromUtf8(sql));
        IstruzioniSqlite::Lettura &p = l.prepara(t.sql);
        std::vector<QString> nomi;
        for (int i = 0; i < numeroColonne(p.stmt); ++i) nomi.push_back(nomeColonna(p.stmt, i));
        std::vector<std::vector<QVariant>> righe;
        l.leggi(p, t.valori, [&](sqlite3_stmt *s) {
            righe.emplace_back();
            for (int i = 0; i < numeroColonne(s); ++i) righe.back().push_back(valoreColonna(s, i));
        });
        if (!righeQt.empty()) {
            EXPECT_EQ(nomi, nomiQt);
        }
        ASSERT_EQ(righe.size(), righeQt.size());
        for (size_t k = 0; k < righe.size(); ++k)
            for (size_t i = 0; i < righe[k].size(); ++i) {
                const QVariant &a = righe[k][i], &b = righeQt[k][i];
                EXPECT_EQ(a.metaType(), b.metaType()) << k << "," << i;
                EXPECT_EQ(a.isNull(), b.isNull()) << k << "," << i;
                EXPECT_EQ(a, b) << k << "," << i << " " << qPrintable(b.toString());
            }
    }
}

// One prepared statement serves every read of the same shape, each with its own values.
TEST_P(LettureDirette, EachReadOfAStatementKeptPreparedHasItsOwnValues)
{
    const auto codici = [&](const QString &sql) {
        QStringList out;
        const QString a = rs.Apri(db, conn, QStringLiteral("V"), sql, false, dbOpenDynaset);
        for (rs.MoveFirst(a); !rs.Eof(a); rs.MoveNext(a))
            out << rs.LeggiCampo(a, u"Codice").toString() + QString::number(rs.LeggiCampo(a, u"Riga").toLong());
        return out.join(QLatin1Char(' '));
    };
    EXPECT_EQ(codici("SELECT * FROM Voci WHERE Codice = 'A' ORDER BY Riga"), QStringLiteral("A1 A2"));
    EXPECT_EQ(codici("SELECT * FROM Voci WHERE Codice = 'B' ORDER BY Riga"), QStringLiteral("b3"));
    EXPECT_EQ(codici("SELECT * FROM Voci WHERE Codice = 5 ORDER BY Riga"), QStringLiteral("54"));
    EXPECT_EQ(codici("SELECT * FROM Voci WHERE Codice = 'Z' ORDER BY Riga"), QString());
    EXPECT_EQ(codici("SELECT * FROM Voci WHERE Riga > 1 AND Riga < 4 ORDER BY Riga"), QStringLiteral("A2 b3"));
    EXPECT_EQ(codici("SELECT * FROM Voci WHERE Riga > 2 AND Riga < 5 ORDER BY Riga"), QStringLiteral("b3 54"));
    // A write through a set read by a shared statement goes to its own row, checked as read.
    const QString a = rs.Apri(db, conn, QStringLiteral("W"), "SELECT * FROM Voci WHERE Codice = 'A' AND Riga = 2", false,
                              dbOpenDynaset);
    rs.Edit(a);
    rs.ScriviCampo(a, u"Nota", Variant(QStringLiteral("seconda")));
    rs.Update(a);
    const QString b = rs.Apri(db, conn, QStringLiteral("W2"), "SELECT * FROM Voci WHERE Codice = 'A' AND Riga = 1", false,
                              dbOpenDynaset);
    rs.Edit(b);
    rs.ScriviCampo(b, u"Nota", Variant(QStringLiteral("prima")));
    rs.Update(b);
    EXPECT_EQ(scalare("SELECT Nota FROM Voci WHERE Riga = 2").toString(), QStringLiteral("seconda"));
    EXPECT_EQ(scalare("SELECT Nota FROM Voci WHERE Riga = 1").toString(), QStringLiteral("prima"));
    // Writes of one shape, each with its own values.
    esegui("INSERT INTO Gruppi (Codice, Nome) VALUES ('B', 'Secondo')");
    esegui("INSERT INTO Gruppi (Codice, Nome) VALUES ('C', 'Terzo')");
    esegui("UPDATE Voci SET Numero = Numero + 3, Nota = Nota & 'x' WHERE Riga = 2");
    esegui("UPDATE Voci SET Numero = Numero + 4, Nota = Nota & 'y' WHERE Riga = 2");
    EXPECT_EQ(scalare("SELECT Nome FROM Gruppi WHERE Codice = 'c'").toString(), QStringLiteral("Terzo"));
    EXPECT_EQ(conta("Gruppi"), 3);
    EXPECT_EQ(scalare("SELECT Numero FROM Voci WHERE Riga = 2").toLong(), 0);
    EXPECT_EQ(scalare("SELECT Nota FROM Voci WHERE Riga = 2").toString(), QStringLiteral("secondaxy"));
    EXPECT_EQ(numeroErrore([&] { esegui("UPDATE Voci SET Numero = Numero + 5 WHERE Riga = 1"); }), 6); // Jet's overflow
    // A failing read raises the library's error and leaves the statement ready for the next.
    EXPECT_EQ(numeroErrore([&] { codici("SELECT * FROM Voci WHERE Codice = 'A' AND Riga = Numero / 0"); }), 11);
    EXPECT_EQ(codici("SELECT * FROM Voci WHERE Codice = 'A' ORDER BY Riga"), QStringLiteral("A1 A2"));
}

// A table made anew with other fields under the same name is read with its own fields.
TEST_P(LettureDirette, ATableMadeAnewIsReadWithItsNewFields)
{
    const auto primo = [&](QStringView campo) {
        const QString a = rs.Apri(db, conn, QStringLiteral("G"), QStringLiteral("SELECT * FROM Gruppi"));
        return rs.LeggiCampo(a, campo).toString();
    };
    EXPECT_EQ(primo(u"Nome"), QStringLiteral("Primo"));
    rs.ChiudiTutti();
    db.Esegui(conn, QStringLiteral("DROP TABLE Gruppi"), dbSQLPassThrough);
    crea(QStringLiteral("Gruppi"), {{"Sigla", TipoCampo::Testo, 10}, {"Titolo", TipoCampo::Testo, 20}},
         {QStringLiteral("Sigla")});
    esegui("INSERT INTO Gruppi (Sigla, Titolo) VALUES ('Z', 'Nuovo')");
    EXPECT_EQ(primo(u"Titolo"), QStringLiteral("Nuovo"));
    EXPECT_EQ(numeroErrore([&] { primo(u"Nome"); }), 0); // an absent field reads as Empty, no error
    EXPECT_EQ(primo(u"Nome"), QString());
}

INSTANTIATE_TEST_SUITE_P(Motori, LettureDirette, ::testing::Values(Engine::SQLite), engineParamName);

} // namespace
