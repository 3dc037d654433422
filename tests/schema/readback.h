#pragma once
// Reading rows back as the suite's value types, by the schema's field types, so that the
// same data reads the same on SQLite and on PostgreSQL.
#include "suiteschema.h"
#include "variant.h"

#include <QSqlDatabase>
#include <QVariant>
#include <vector>

using TableRows = std::vector<std::vector<Variant>>;

// A value as the driver returned it, as the field's type.
Variant fromSql(const QVariant &v, const suite::FieldDef &field);
// Every row of a table, all fields in schema order, rows in primary-key order.
TableRows readTable(const QSqlDatabase &db, const suite::TableDef &table);
// The first column of the first row of a query (Empty without a row).
QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});
// Whether two rows hold the same values (texts compared exactly, Null equal to Null).
bool sameRow(const std::vector<Variant> &a, const std::vector<Variant> &b);
QString rowText(const std::vector<Variant> &row);
