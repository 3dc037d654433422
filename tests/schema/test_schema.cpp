// The schema description and the database it creates on SQLite and PostgreSQL: types,
// keys, text compared ignoring letter case, exact currency and dates.
#include "apperror.h"
#include "readback.h"
#include "rowwriter.h"
#include "scratchdb.h"
#include "suiteschema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

using namespace suite;

namespace {

SqlEngine toSql(Engine e) { return e == Engine::SQLite ? SqlEngine::SQLite : SqlEngine::PostgreSQL; }

} // namespace

TEST(SchemaText, CoversEveryTableThePiecesName)
{
    const char *const names[] = {
        "AppoggioTemp", "ArrotEuro", "ArrotLire", "ArtClasseAttr", "Articoli", "ArticoliCosti", "ArticoliFor",
        "ArticoliProg", "ArtLegami", "ArtListini", "Cambi", "Causali", "DdtDett", "DdtLiv", "DdtSpese", "DdtTest",
        "DocDaElab", "FatDett", "FatLiv", "FatSpese", "FattDocumenti", "FatTest", "FatTestFe", "LibriIva",
        "Listini", "LockGest", "MagCausali", "Monete", "MovMagDett", "MovMagDettApp", "MovMagLiv",
        "MovMagLivApp", "MovMagMatr", "MovMagMatrApp", "MovMagRintraccia", "MovMagRintracciaApp", "MovMagTes",
        "NoteFisse", "OrdAcqTes", "OrdVenDett", "OrdVenEvaDett", "OrdVenEvaSpese", "OrdVenEvaTest", "OrdVenLiv",
        "OrdVenSpese", "OrdVenTest", "Pagamenti", "PagTipi", "PdcDicIntenti", "PianoConti", "Spese", "Stati",
        "TabIva", "TaBolli"};
    const Schema &s = Schema::suite();
    for (const char *n : names)
        EXPECT_NE(s.table(QString::fromLatin1(n)), nullptr) << n;
    EXPECT_EQ(s.tables().size(), std::size(names));

    // Spellings of the SQL texts find the same tables and fields.
    EXPECT_EQ(s.table(u"Pianoconti"), s.table(u"PianoConti"));
    ASSERT_NE(s.table(u"Ordvenliv"), nullptr);
    EXPECT_NE(s.table(u"ArticoliProg")->field(u"QtaSCarico"), nullptr);

    // A few types the pieces rely on.
    const TableDef &lock = s.tableOrThrow(u"LockGest");
    EXPECT_EQ(lock.primaryKey, (QStringList{"Tipo", "Anno", "NumReg"}));
    EXPECT_EQ(lock.field(u"Ora")->type, FieldType::DateTime);
    const TableDef &fat = s.tableOrThrow(u"FatTest");
    EXPECT_EQ(fat.field(u"Anno")->type, FieldType::Integer);
    EXPECT_EQ(fat.field(u"NumRif")->type, FieldType::Long);
    EXPECT_EQ(fat.field(u"TotDocum")->type, FieldType::Currency);
    EXPECT_EQ(fat.field(u"Nota")->type, FieldType::Memo);
    EXPECT_EQ(fat.field(u"Bolli")->length, 1);
    EXPECT_EQ(s.tableOrThrow(u"Pagamenti").field(u"Percentuale12")->type, FieldType::Double);
    EXPECT_EQ(s.tableOrThrow(u"ArticoliProg").field(u"ProgrQta2")->defaultValue, QStringLiteral("0"));
    EXPECT_THROW(s.tableOrThrow(u"Inesistente"), AppError);
}

TEST(SchemaText, MalformedDescriptionsAreRefusedWithTheirLine)
{
    struct Case {
        const char *text;
        int line;
    };
    const Case cases[] = {
        {"table T\n  A int16\n", 1},                        // no key
        {"table T\n  key A\n  A int64\n", 3},               // unknown type
        {"table T\n  key B\n  A int16\n", 1},               // key names a missing field
        {"table T\n  key A\n  A int16\n  a text(2)\n", 4},  // field twice (letter case ignored)
        {"  A int16\n", 1},                                 // field outside a table
        {"table T\n  key A\n  A int16 default x\n", 3},     // default not a number
        {"table T\n  key A\n  A{3..1} int16\n", 3},         // empty range
    };
    for (const Case &c : cases) {
        try {
            Schema::parse(QString::fromLatin1(c.text));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const AppError &e) {
            EXPECT_EQ(e.number(), ErrNum::InvalidCall);
            EXPECT_TRUE(e.description().contains(QStringLiteral("riga %1:").arg(c.line)))
                << c.text << " -> " << e.description().toStdString();
        }
    }
    const Schema ok = Schema::parse(u"# note\ntable T\n  key A\n  unique B1 B3\n  A text(4) # code\n  B{1..3} double default 0\n");
    const TableDef &t = ok.tableOrThrow(u"t");
    ASSERT_EQ(t.fields.size(), 4u);
    EXPECT_EQ(t.fields[3].name, QStringLiteral("B3"));
    EXPECT_EQ(t.fields[0].length, 4);
    EXPECT_EQ(t.uniqueIndexes.size(), 1u);
}

TEST(SchemaDdl, FollowsTheColumnTypeContract)
{
    const Schema s = Schema::parse(u"table Tx\n  key K\n  unique T1 M\n  index I L\n  K text(3)\n  M memo\n  I int16\n"
                                   u"  L int32\n  D double\n  C currency default 0\n  G date\n  H datetime\n  B bool\n  T1 int32\n");
    const QStringList lite = s.createStatements(SqlEngine::SQLite);
    ASSERT_EQ(lite.size(), 3);
    for (const char *part : {"K VARCHAR(3) COLLATE NOCASE NOT NULL", "M TEXT COLLATE NOCASE", "I SMALLINT", "L INTEGER",
                             "D DOUBLE", "C CURRENCY_E4 DEFAULT 0", "G DATE", "H DATETIME", "B SMALLINT", "PRIMARY KEY (K)"})
        EXPECT_TRUE(lite[0].contains(QString::fromLatin1(part))) << part;
    EXPECT_EQ(lite[1], QStringLiteral("CREATE UNIQUE INDEX Tx_u1 ON Tx (T1, M)"));
    EXPECT_EQ(lite[2], QStringLiteral("CREATE INDEX Tx_i1 ON Tx (I, L)"));
    const QStringList pg = s.createStatements(SqlEngine::PostgreSQL);
    ASSERT_EQ(pg.size(), 4);
    EXPECT_EQ(pg[0], QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"));
    for (const char *part : {"K citext NOT NULL", "M citext", "I smallint", "L integer", "D double precision",
                             "C numeric(19,4) DEFAULT 0", "G date", "H timestamp(0) without time zone", "B smallint"})
        EXPECT_TRUE(pg[1].contains(QString::fromLatin1(part))) << part;
    // Nulls lowest, as the translated ORDER BY wants them: a descending read walks the index back.
    EXPECT_EQ(pg[3], QStringLiteral("CREATE INDEX Tx_i1 ON Tx (I NULLS FIRST, L NULLS FIRST)"));
    // Identifiers are never quoted.
    EXPECT_FALSE(lite.join(QString()).contains(QLatin1Char('"')));
    EXPECT_FALSE(pg.join(QString()).contains(QLatin1Char('"')));
}

class SchemaOnEngine : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        m_scratch = ScratchDb::create(GetParam());
        if (!m_scratch)
            return;
        m_db = m_scratch->open(QStringLiteral("schema_%1").arg(int(GetParam())));
        engine = toSql(GetParam());
        Schema::suite().create(m_db, engine);
    }
    void TearDown() override
    {
        const QString name = m_db.connectionName();
        m_db = QSqlDatabase();
        if (!name.isEmpty())
            QSqlDatabase::removeDatabase(name);
    }
    QSqlDatabase &db() { return m_db; }
    SqlEngine engine = SqlEngine::SQLite;

private:
    std::unique_ptr<ScratchDb> m_scratch;
    QSqlDatabase m_db;
};

TEST_P(SchemaOnEngine, CreatesEveryTableWithItsColumns)
{
    if (!db().isOpen()) return;
    for (const TableDef &t : Schema::suite().tables()) {
        // Unquoted names in any letter case reach the table and its fields.
        const QString sql = QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(t.name.toUpper());
        QSqlQuery q(db());
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        EXPECT_EQ(q.record().count(), int(t.fields.size())) << t.name.toStdString();
        for (const FieldDef &f : t.fields)
            EXPECT_GE(q.record().indexOf(f.name.toLower()), 0) << t.name.toStdString() << "." << f.name.toStdString();
    }
    // The declared types as the catalogue gives them back.
    if (engine == SqlEngine::SQLite) {
        QSqlQuery q(db());
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA table_info(LockGest)")));
        QStringList types;
        while (q.next())
            types << q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
        EXPECT_EQ(types, (QStringList{"Tipo VARCHAR(1)", "Anno SMALLINT", "NumReg INTEGER", "Utente VARCHAR(30)",
                                      "Stato VARCHAR(1)", "Gestione VARCHAR(1)", "PadreTipo VARCHAR(1)",
                                      "PadreAnno SMALLINT", "PadreNumReg INTEGER", "Ora DATETIME", "Varie VARCHAR(50)"}));
    } else {
        QSqlQuery q(db());
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT column_name, udt_name, numeric_precision, numeric_scale FROM "
                                          "information_schema.columns WHERE table_name = 'fattest' AND column_name IN "
                                          "('anno', 'numrif', 'totdocum', 'datarif', 'nota', 'cambio') ORDER BY column_name")));
        QStringList types;
        while (q.next())
            types << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString()
                         + (q.value(1).toString() == QLatin1String("numeric")
                                ? QStringLiteral("(%1,%2)").arg(q.value(2).toInt()).arg(q.value(3).toInt())
                                : QString());
        EXPECT_EQ(types, (QStringList{"anno int2", "cambio float8", "datarif date", "nota citext", "numrif int4",
                                      "totdocum numeric(19,4)"}));
    }
}

TEST_P(SchemaOnEngine, TextComparesIgnoringLetterCase)
{
    if (!db().isOpen()) return;
    insertRow(db(), QStringLiteral("LockGest"), {{"Tipo", "O"}, {"Anno", 2024}, {"NumReg", 7}, {"Utente", "Mario"},
                                                {"Stato", "0"}, {"Ora", Date::fromYmd(2024, 3, 5, 14, 7, 9)}});
    insertRow(db(), QStringLiteral("LockGest"), {{"Tipo", "O"}, {"Anno", 2024}, {"NumReg", 8}, {"Utente", "luigi"}});

    // "=" and "<>", bound and literal.
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT NumReg FROM LockGest WHERE Utente = ?"), {QStringLiteral("MARIO")}).toInt(), 7);
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT NumReg FROM lockgest WHERE tipo = 'o' AND utente <> 'MARIO'")).toInt(), 8);
    // Ranges and ORDER BY: "luigi" before "Mario".
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT COUNT(*) FROM LockGest WHERE Utente >= ? AND Utente <= ?"),
                     {QStringLiteral("L"), QStringLiteral("m")}).toInt(), 1);
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT Utente FROM LockGest ORDER BY Utente")).toString(), QStringLiteral("luigi"));
    // LIKE, bound and literal.
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT NumReg FROM LockGest WHERE Utente LIKE ?"), {QStringLiteral("MAR%")}).toInt(), 7);
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT NumReg FROM LockGest WHERE Utente LIKE 'LU%'")).toInt(), 8);

    // The unique key holds whatever the letter case: a second taker of the same record fails.
    EXPECT_THROW(insertRow(db(), QStringLiteral("LockGest"), {{"Tipo", "o"}, {"Anno", 2024}, {"NumReg", 7}, {"Utente", "Anna"}}),
                 AppError);

    // A flag stored as "s" counts as "S".
    insertRow(db(), QStringLiteral("OrdVenTest"), {{"Anno", 2024}, {"NumRif", 1}, {"Interno", "s"}});
    insertRow(db(), QStringLiteral("OrdVenTest"), {{"Anno", 2024}, {"NumRif", 2}, {"Interno", "N"}});
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT COUNT(*) FROM OrdVenTest WHERE Interno = 'S'")).toInt(), 1);
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT NumRif FROM OrdVenTest WHERE Interno <> 'S'")).toInt(), 2);
}

TEST_P(SchemaOnEngine, CurrencyDatesAndLongTextReadBackExactly)
{
    if (!db().isOpen()) return;
    const TableDef &t = Schema::suite().tableOrThrow(u"FatTest");
    const QString longNote = QString(600, QLatin1Char('x')) + QStringLiteral("\u00e8 fine");
    struct Row {
        int32_t numRif;
        Currency amount;
        Date data;
    };
    const Row rows[] = {
        {1, Currency::parse(u"123456789.1234").value(), Date::fromYmd(2024, 3, 5)},
        {2, Currency::parse(u"0.0001").value(), Date::fromYmd(100, 1, 1)},
        {3, Currency::parse(u"-99999999.9999").value(), Date::fromYmd(9999, 12, 31)},
        {4, Currency::parse(u"15").value(), Date::fromYmd(2000, 2, 29)},
    };
    for (const Row &r : rows)
        insertRow(db(), t.name, {{"Anno", 2024}, {"NumRif", r.numRif}, {"TotDocum", r.amount}, {"DataRif", r.data},
                                 {"Nota", longNote}});
    insertRow(db(), QStringLiteral("DocDaElab"), {{"Utente", "u"}, {"Programma", "EvaOrdEvOr"}, {"Anno", 2024},
                                                  {"NumReg", 1}, {"DataOraEvas", Date::fromYmd(2024, 3, 5, 23, 59, 58)}});

    const TableRows back = readTable(db(), t);
    ASSERT_EQ(back.size(), std::size(rows));
    const auto col = [&](const char *name) {
        for (size_t i = 0; i < t.fields.size(); ++i)
            if (t.fields[i].name == QLatin1String(name)) return i;
        return size_t(0);
    };
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i][col("TotDocum")].toCurrency(), rows[i].amount) << i;
        EXPECT_EQ(back[i][col("DataRif")].toDate(), rows[i].data) << i;
        EXPECT_EQ(back[i][col("Nota")].toString(), longNote);
        EXPECT_TRUE(back[i][col("TotMerce")].isNull());
    }
    const TableRows stamp = readTable(db(), Schema::suite().tableOrThrow(u"DocDaElab"));
    ASSERT_EQ(stamp.size(), 1u);
    EXPECT_EQ(stamp[0][4].toDate(), Date::fromYmd(2024, 3, 5, 23, 59, 58));

    // Sums of currency stay exact in the database as well.
    const QVariant sum = scalar(db(), QStringLiteral("SELECT SUM(TotDocum) FROM FatTest WHERE NumRif <= 2"));
    const FieldDef &cur = *t.field(u"TotDocum");
    EXPECT_EQ(fromSql(sum, cur).toCurrency(), Currency::parse(u"123456789.1235").value());

    // Dates compare as dates: the ISO text on SQLite, the date type on PostgreSQL.
    EXPECT_EQ(scalar(db(), QStringLiteral("SELECT COUNT(*) FROM FatTest WHERE DataRif > ?"),
                     {sqlValue(Date::fromYmd(2000, 1, 1), *t.field(u"DataRif"), engine)}).toInt(), 3);
}

TEST_P(SchemaOnEngine, DefaultsStartNewProgressiveRowsAtZero)
{
    if (!db().isOpen()) return;
    insertRow(db(), QStringLiteral("ArticoliProg"), {{"Anno", 2024}, {"Magazzino", "01"}, {"Articolo", "A"},
                                                     {"Livello1", "~\u00e7~"}, {"Livello2", "~\u00e7~"}});
    const TableRows rows = readTable(db(), Schema::suite().tableOrThrow(u"ArticoliProg"));
    ASSERT_EQ(rows.size(), 1u);
    const TableDef &t = Schema::suite().tableOrThrow(u"ArticoliProg");
    for (size_t i = 0; i < t.fields.size(); ++i) {
        if (t.isKeyField(t.fields[i].name) || t.fields[i].type == FieldType::Date)
            continue;
        EXPECT_TRUE(rows[0][i].isNumber() && rows[0][i].toDouble() == 0) << t.fields[i].name.toStdString();
    }
    EXPECT_EQ(rows[0][3].toString(), QStringLiteral("~\u00e7~"));
}

INSTANTIATE_TEST_SUITE_P(Engines, SchemaOnEngine, kBothEngines, engineParamName);
