#pragma once
// The suite's company database schema as data: tables, fields with their suite type and
// text length, primary keys and unique indexes, parsed from suite_schema.txt, and the DDL
// that creates it on SQLite and on PostgreSQL.
//
//   const suite::Schema &s = suite::Schema::suite();
//   s.create(db, suite::SqlEngine::SQLite);          // every table, in one transaction
//   const suite::TableDef &t = s.tableOrThrow(u"OrdVenTest");
//   t.primaryKey;                                    // {"Anno", "NumRif"}
//   t.field(u"numrif")->type;                        // FieldType::Long (names ignore case)
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

namespace suite {

enum class SqlEngine { SQLite, PostgreSQL };

// QSQLITE connections are SQLite; every other driver (QODBC) reaches PostgreSQL.
SqlEngine engineOf(const QSqlDatabase &db);

// The suite's field types. Integer is 16-bit, Long 32-bit; Boolean is a -1/0 16-bit number.
enum class FieldType { Text, Memo, Integer, Long, Double, Currency, Date, DateTime, Boolean };

QString fieldTypeName(FieldType t); // "text", "memo", "int16", ... as in the schema file

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int length = 0;                      // characters, Text only
    std::optional<QString> defaultValue; // a number literal as the schema gives it
};

struct TableDef {
    QString name;
    std::vector<FieldDef> fields; // in the order of the schema
    QStringList primaryKey;
    std::vector<QStringList> uniqueIndexes; // further unique indexes besides the key
    std::vector<QStringList> indexes;       // indexes that statements need, not unique

    const FieldDef *field(QStringView fieldName) const; // ignoring case; nullptr when absent
    bool isKeyField(QStringView fieldName) const;
};

class Schema {
public:
    // Parses the text form (see suite_schema.txt); a malformed text raises AppError 5 naming
    // the line.
    static Schema parse(QStringView text);
    // The suite's schema, parsed once from the text built into the library.
    static const Schema &suite();
    // The text it was parsed from.
    static QString suiteText();

    const std::vector<TableDef> &tables() const { return m_tables; }
    const TableDef *table(QStringView name) const; // ignoring case; nullptr when absent
    const TableDef &tableOrThrow(QStringView name) const; // AppError 5 when absent

    // The DDL statements for one engine: PostgreSQL first makes sure citext exists.
    QStringList createStatements(SqlEngine engine) const;
    // Runs them on an open connection in one transaction; raises AppError with the
    // database's message on failure (nothing is left half-made).
    void create(QSqlDatabase &db, SqlEngine engine) const;

private:
    std::vector<TableDef> m_tables;
};

// The column type of a field on one engine as the DDL declares it: SQLite texts carry
// their NOCASE collation ("VARCHAR(10) COLLATE NOCASE"), PostgreSQL texts are citext.
QString sqlType(const FieldDef &field, SqlEngine engine);

} // namespace suite
