#include "readback.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

using suite::FieldType;

Variant fromSql(const QVariant &v, const suite::FieldDef &field)
{
    if (!v.isValid() || v.isNull())
        return Variant::null();
    switch (field.type) {
    case FieldType::Text:
    case FieldType::Memo: return v.toString();
    case FieldType::Integer:
    case FieldType::Boolean: return int16_t(v.toInt());
    case FieldType::Long: return int32_t(v.toInt());
    case FieldType::Double: return v.toDouble();
    case FieldType::Currency:
        // PostgreSQL: exact text or a double; SQLite: the ten-thousandths in an INTEGER.
        if (v.typeId() == QMetaType::QString)
            return Currency::parse(v.toString()).value();
        if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
            return Currency::fromUnits(v.toLongLong());
        return Currency::fromDouble(v.toDouble());
    case FieldType::Date:
    case FieldType::DateTime:
        if (v.typeId() == QMetaType::QDate)
            return Date::fromQDate(v.toDate());
        if (v.typeId() == QMetaType::QDateTime)
            return Date::fromQDateTime(v.toDateTime());
        return Date::parse(v.toString()).value();
    }
    return Variant::null();
}

TableRows readTable(const QSqlDatabase &db, const suite::TableDef &table)
{
    QStringList names;
    for (const auto &f : table.fields)
        names << f.name;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                            .arg(names.join(QStringLiteral(", ")), table.name, table.primaryKey.join(QStringLiteral(", ")));
    TableRows rows;
    if (!q.exec(sql)) {
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return rows;
    }
    while (q.next()) {
        std::vector<Variant> row;
        for (int i = 0; i < int(table.fields.size()); ++i)
            row.push_back(fromSql(q.value(i), table.fields[size_t(i)]));
        rows.push_back(std::move(row));
    }
    return rows;
}

QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    if (!q.prepare(sql)) {
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return {};
    }
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec()) {
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return {};
    }
    return q.next() ? q.value(0) : QVariant();
}

bool sameRow(const std::vector<Variant> &a, const std::vector<Variant> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].type() != b[i].type())
            return false;
        if (a[i].isText() ? a[i].text() != b[i].text() : !a[i].sameAs(b[i]))
            return false;
    }
    return true;
}

QString rowText(const std::vector<Variant> &row)
{
    QStringList parts;
    for (const Variant &v : row)
        parts << (v.isNull() ? QStringLiteral("Null") : v.typeName() + QLatin1Char(':') + v.text());
    return parts.join(QStringLiteral(" | "));
}
