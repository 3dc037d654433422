#include "valoricampo.h"

#include "apperror.h"
#include "decimal.h"
#include "letterali.h"

#include <QDate>
#include <QDateTime>
#include <cmath>
#include <limits>

namespace {

Variant numeroIntero(qlonglong n)
{
    if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
        return Variant(static_cast<int32_t>(n));
    return Variant(static_cast<double>(n));
}

Variant perValore(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::Short: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::UShort:
        return numeroIntero(v.toLongLong());
    case QMetaType::Bool: return Variant(static_cast<int16_t>(v.toBool() ? -1 : 0));
    case QMetaType::Double: case QMetaType::Float: return Variant(v.toDouble());
    case QMetaType::QDate: return Variant(Date::fromQDate(v.toDate()));
    case QMetaType::QDateTime: return Variant(Date::fromQDateTime(v.toDateTime()));
    default: return Variant(v.toString());
    }
}

double comeDouble(const QVariant &v, bool &ok)
{
    if (v.typeId() == QMetaType::Double) {
        ok = true;
        return v.toDouble();
    }
    return v.toString().toDouble(&ok);
}

} // namespace

Variant daMotore(const QVariant &v, TipoCampo tipo)
{
    if (v.isNull())
        return Variant::null();
    const int id = v.typeId();
    // The common cases read straight from the stored value.
    switch (tipo) {
    case TipoCampo::Testo: case TipoCampo::Memo:
        if (id == QMetaType::QString) return Variant(*static_cast<const QString *>(v.constData()));
        break;
    case TipoCampo::Lungo:
        if (id == QMetaType::LongLong) return numeroIntero(*static_cast<const qlonglong *>(v.constData()));
        if (id == QMetaType::Int) return Variant(static_cast<int32_t>(*static_cast<const int *>(v.constData())));
        break;
    case TipoCampo::Doppio:
        if (id == QMetaType::Double) return Variant(*static_cast<const double *>(v.constData()));
        break;
    case TipoCampo::Valuta:
        // SQLite holds an amount as its ten-thousandths.
        if (id == QMetaType::LongLong) return Variant(Currency::fromUnits(*static_cast<const qlonglong *>(v.constData())));
        break;
    case TipoCampo::Data: case TipoCampo::DataOra:
        if (id == QMetaType::QString)
            if (const auto d = leggiDataIso(*static_cast<const QString *>(v.constData()))) return Variant(*d);
        break;
    default:
        break;
    }
    bool ok = true;
    switch (tipo) {
    case TipoCampo::Testo: case TipoCampo::Memo:
        return Variant(v.toString());
    case TipoCampo::Intero: {
        const qlonglong n = v.toLongLong(&ok);
        if (ok && n >= std::numeric_limits<int16_t>::min() && n <= std::numeric_limits<int16_t>::max())
            return Variant(static_cast<int16_t>(n));
        return perValore(v);
    }
    case TipoCampo::Lungo: {
        const qlonglong n = v.toLongLong(&ok);
        if (ok) return numeroIntero(n);
        return perValore(v);
    }
    case TipoCampo::Doppio: {
        const double d = comeDouble(v, ok);
        return ok ? Variant(d) : perValore(v);
    }
    case TipoCampo::Valuta:
        switch (v.typeId()) {
        case QMetaType::Int: case QMetaType::LongLong: return Variant(Currency::fromUnits(v.toLongLong()));
        case QMetaType::Double: {
            // ten-thousandths that went in as a floating-point number
            const double d = std::nearbyint(v.toDouble());
            if (!std::isfinite(d) || std::fabs(d) > 9.2e18) return perValore(v);
            return Variant(Currency::fromUnits(static_cast<int64_t>(d)));
        }
        default: {
            const QString t = v.toString();
            if (const auto c = Currency::parse(t)) return Variant(*c);
            // PostgreSQL's numeric goes beyond the currency range: Jet overflows there.
            if (DecimalNumber::fromString(t.toStdString())) throw AppError::standard(ErrNum::Overflow);
            return perValore(v);
        }
        }
    case TipoCampo::Data: case TipoCampo::DataOra:
        switch (v.typeId()) {
        case QMetaType::QDate: return Variant(Date::fromQDate(v.toDate()));
        case QMetaType::QDateTime: return Variant(Date::fromQDateTime(v.toDateTime()));
        default:
            if (const auto d = leggiDataIso(v.toString())) return Variant(*d);
            return perValore(v);
        }
    case TipoCampo::Sconosciuto:
        break;
    }
    return perValore(v);
}

QVariant nulloPer(TipoCampo tipo, MotoreDb motore)
{
    switch (tipo) {
    case TipoCampo::Intero: case TipoCampo::Lungo: return QVariant(QMetaType(QMetaType::Int));
    case TipoCampo::Doppio: return QVariant(QMetaType(QMetaType::Double));
    case TipoCampo::Valuta:
        return QVariant(QMetaType(motore == MotoreDb::SQLite ? QMetaType::LongLong : QMetaType::QString));
    case TipoCampo::Data:
        return QVariant(QMetaType(motore == MotoreDb::SQLite ? QMetaType::QString : QMetaType::QDate));
    case TipoCampo::DataOra:
        return QVariant(QMetaType(motore == MotoreDb::SQLite ? QMetaType::QString : QMetaType::QDateTime));
    default: return QVariant(QMetaType(QMetaType::QString));
    }
}

QVariant versoMotore(const Variant &v, TipoCampo tipo, MotoreDb motore)
{
    if (v.isNull())
        return nulloPer(tipo, motore);
    // A text that was never given a value (Empty, a Null text read with LeggiCampo) is bound as
    // Null: a field copied from a Null one stays Null, and the statements that look for it with
    // Is Null find it. A text given as "" stores the empty text.
    if (eTesto(tipo) || tipo == TipoCampo::Sconosciuto)
        return QVariant(v.text());
    if (v.isBlank())
        return nulloPer(tipo, motore);
    switch (tipo) {
    case TipoCampo::Intero: return QVariant(static_cast<int>(v.toInteger()));
    case TipoCampo::Lungo: return QVariant(static_cast<int>(v.toLong()));
    case TipoCampo::Doppio: return QVariant(v.toDouble());
    case TipoCampo::Valuta: {
        const Currency c = v.toCurrency();
        return motore == MotoreDb::SQLite ? QVariant(static_cast<qlonglong>(c.units())) : QVariant(c.toString());
    }
    case TipoCampo::Data: {
        const Date d = v.toDate().dateOnly();
        if (motore == MotoreDb::PostgreSQL) return QVariant(d.toQDate());
        const QDate g = d.toQDate();
        return QVariant(QString::asprintf("%04d-%02d-%02d", g.year(), g.month(), g.day()));
    }
    case TipoCampo::DataOra: {
        const Date d = v.toDate();
        if (motore == MotoreDb::PostgreSQL) return QVariant(d.toQDateTime());
        const QDateTime dt = d.toQDateTime();
        return QVariant(QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", dt.date().year(), dt.date().month(),
                                          dt.date().day(), dt.time().hour(), dt.time().minute(), dt.time().second()));
    }
    default: return QVariant(v.text());
    }
}

Variant neutro(TipoCampo tipo)
{
    switch (tipo) {
    case TipoCampo::Testo: case TipoCampo::Memo: return Variant(QString());
    case TipoCampo::Intero: return Variant(static_cast<int16_t>(0));
    case TipoCampo::Lungo: return Variant(static_cast<int32_t>(0));
    case TipoCampo::Doppio: return Variant(0.0);
    case TipoCampo::Valuta: return Variant(Currency());
    case TipoCampo::Data: case TipoCampo::DataOra: return Variant(Date());
    case TipoCampo::Sconosciuto: break;
    }
    return Variant();
}

Variant neutroCodice(int16_t codice)
{
    switch (codice) {
    case 2: return Variant(static_cast<int16_t>(0));
    case 3: return Variant(static_cast<int32_t>(0));
    case 4: case 5: return Variant(0.0);
    case 6: return Variant(Currency());
    case 7: return Variant(Date());
    case 8: return Variant(QString());
    case 11: return Variant(false);
    default: return Variant();
    }
}

TipoCampo tipoDaMeta(QMetaType m)
{
    switch (m.id()) {
    case QMetaType::Int: case QMetaType::Short: case QMetaType::LongLong: case QMetaType::UInt:
    case QMetaType::UShort: case QMetaType::ULongLong:
        return TipoCampo::Lungo;
    case QMetaType::Double: case QMetaType::Float: return TipoCampo::Doppio;
    case QMetaType::QDate: return TipoCampo::Data;
    case QMetaType::QDateTime: return TipoCampo::DataOra;
    default: return TipoCampo::Sconosciuto;
    }
}
