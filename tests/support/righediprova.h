#pragma once
// The rows of a query as texts, to compare with a table of expected rows on either engine:
// one text per row, its values joined by blanks, Null written "null", numbers in their
// shortest form ("7.5", "14523", "1e-08") whatever type the driver gives them.
#include <QMetaType>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <stdexcept>

inline QString testoValore(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("null");
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return QString::number(v.toDouble());
    default:
        return v.toString();
    }
}

inline QStringList righeTesto(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw std::runtime_error(q.lastError().text().toStdString());
    QStringList out;
    while (q.next()) {
        QStringList r;
        for (int i = 0; i < q.record().count(); ++i)
            r << testoValore(q.value(i));
        out << r.join(QLatin1Char(' '));
    }
    return out;
}

// The same rows read through the company database as the program reads them (amounts stored as
// ten-thousandths on SQLite come back as amounts).
QStringList righeDb(const QString &sql);
