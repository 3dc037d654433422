#include "variant.h"

#include "apperror.h"
#include "numparse.h"
#include "textcompare.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

[[noreturn]] void raise(int32_t n) { throw AppError::standard(n); }

template <typename Int>
Int roundToInt(double v)
{
    if (!std::isfinite(v))
        raise(ErrNum::Overflow);
    const double r = std::nearbyint(v); // default rounding: halves to even
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        raise(ErrNum::Overflow);
    return static_cast<Int>(r);
}

template <typename Int>
Int currencyToInt(Currency c)
{
    const Int128 n = divideRounded(c.units(), Currency::Scale, RoundMode::HalfEven);
    if (n < std::numeric_limits<Int>::min() || n > std::numeric_limits<Int>::max())
        raise(ErrNum::Overflow);
    return static_cast<Int>(n);
}

QString doubleText(double v)
{
    if (v == 0.0)
        return QStringLiteral("0");
    if (std::fabs(v) >= 1e15) {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
        QString s = QString::fromLatin1(buf, static_cast<qsizetype>(r.ptr - buf));
        // 1.50000000000000e+20 -> 1,5E+20
        const qsizetype e = s.indexOf(QLatin1Char('e'));
        QString mant = s.left(e), exp = s.mid(e + 1);
        while (mant.contains(QLatin1Char('.')) && (mant.endsWith(QLatin1Char('0')) || mant.endsWith(QLatin1Char('.'))))
            mant.chop(1);
        mant.replace(QLatin1Char('.'), QLatin1Char(','));
        return mant + QLatin1String("E") + exp;
    }
    QString s = QString::fromStdString(DecimalNumber::fromDouble(v).toString());
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

} // namespace

Variant Variant::null()
{
    Variant v;
    v.m_v = NullTag{};
    return v;
}

Variant::Variant(bool b) : m_v(b) {}
Variant::Variant(int16_t i) : m_v(i) {}
Variant::Variant(int32_t l) : m_v(l) {}
Variant::Variant(double d) : m_v(d) {}
Variant::Variant(::Currency c) : m_v(c) {}
Variant::Variant(::Date d) : m_v(d) {}
Variant::Variant(QString s) : m_v(std::move(s)) {}
Variant::Variant(const char *utf8) : m_v(QString::fromUtf8(utf8)) {}
Variant::Variant(VariantArray a) : m_v(std::make_shared<const VariantArray>(std::move(a))) {}

Variant::Type Variant::type() const
{
    return static_cast<Type>(m_v.index());
}

bool Variant::isNumber() const
{
    switch (type()) {
    case Type::Boolean: case Type::Integer: case Type::Long: case Type::Double: case Type::Currency:
        return true;
    default:
        return false;
    }
}

bool Variant::isBlank() const
{
    if (isEmpty() || isNull())
        return true;
    const QString *s = stringIf();
    return s && s->isEmpty();
}

bool Variant::isNumeric() const
{
    if (isNumber() || isEmpty())
        return true;
    if (const QString *s = stringIf())
        return parseNumber(*s).has_value();
    return false;
}

bool Variant::toBool() const
{
    switch (type()) {
    case Type::Empty: return false;
    case Type::Null: raise(ErrNum::InvalidNull);
    case Type::Boolean: return std::get<bool>(m_v);
    case Type::String: {
        const QString &s = std::get<QString>(m_v);
        if (textEquals(s, u"Vero") || textEquals(s, u"True")) return true;
        if (textEquals(s, u"Falso") || textEquals(s, u"False")) return false;
        const auto n = parseNumber(s);
        if (!n) raise(ErrNum::TypeMismatch);
        return *n != 0.0;
    }
    case Type::Currency: return !std::get<::Currency>(m_v).isZero();
    case Type::Array: raise(ErrNum::TypeMismatch);
    default: return toDouble() != 0.0;
    }
}

int16_t Variant::toInteger() const
{
    switch (type()) {
    case Type::Empty: return 0;
    case Type::Null: raise(ErrNum::InvalidNull);
    case Type::Boolean: return std::get<bool>(m_v) ? -1 : 0;
    case Type::Integer: return std::get<int16_t>(m_v);
    case Type::Long: {
        const int32_t l = std::get<int32_t>(m_v);
        if (l < std::numeric_limits<int16_t>::min() || l > std::numeric_limits<int16_t>::max())
            raise(ErrNum::Overflow);
        return static_cast<int16_t>(l);
    }
    case Type::Currency: return currencyToInt<int16_t>(std::get<::Currency>(m_v));
    case Type::Array: raise(ErrNum::TypeMismatch);
    default: return roundToInt<int16_t>(toDouble());
    }
}

int32_t Variant::toLong() const
{
    switch (type()) {
    case Type::Empty: return 0;
    case Type::Null: raise(ErrNum::InvalidNull);
    case Type::Boolean: return std::get<bool>(m_v) ? -1 : 0;
    case Type::Integer: return std::get<int16_t>(m_v);
    case Type::Long: return std::get<int32_t>(m_v);
    case Type::Currency: return currencyToInt<int32_t>(std::get<::Currency>(m_v));
    case Type::Array: raise(ErrNum::TypeMismatch);
    default: return roundToInt<int32_t>(toDouble());
    }
}

double Variant::toDouble() const
{
    switch (type()) {
    case Type::Empty: return 0.0;
    case Type::Null: raise(ErrNum::InvalidNull);
    case Type::Boolean: return std::get<bool>(m_v) ? -1.0 : 0.0;
    case Type::Integer: return std::get<int16_t>(m_v);
    case Type::Long: return std::get<int32_t>(m_v);
    case Type::Double: return std::get<double>(m_v);
    case Type::Currency: return std::get<::Currency>(m_v).toDouble();
    case Type::Date: return std::get<::Date>(m_v).serial();
    case Type::String: {
        const auto n = parseNumber(std::get<QString>(m_v));
        if (!n) raise(ErrNum::TypeMismatch);
        return *n;
    }
    case Type::Array: raise(ErrNum::TypeMismatch);
    }
    return 0.0;
}

::Currency Variant::toCurrency() const
{
    switch (type()) {
    case Type::Empty: return {};
    case Type::Null: raise(ErrNum::InvalidNull);
    case Type::Currency: return std::get<::Currency>(m_v);
    case Type::Integer: return ::Currency::fromLong(std::get<int16_t>(m_v));
    case Type::Long: return ::Currency::fromLong(std::get<int32_t>(m_v));
    case Type::Boolean: return ::Currency::fromLong(std::get<bool>(m_v) ? -1 : 0);
    case Type::String: {
        const QString &s = std::get<QString>(m_v);
        if (const auto c = ::Currency::parse(s)) return *c;
        return ::Currency::fromDouble(toDouble()); // grouped digits, exponents
    }
    case Type::Array: raise(ErrNum::TypeMismatch);
    default: return ::Currency::fromDouble(toDouble());
    }
}

::Date Variant::toDate() const
{
    switch (type()) {
    case Type::Empty: return {};
    case Type::Null: raise(ErrNum::InvalidNull);
    case Type::Date: return std::get<::Date>(m_v);
    case Type::String: {
        const QString &s = std::get<QString>(m_v);
        if (const auto d = ::Date::parse(s)) return *d;
        const auto n = parseNumber(s);
        if (!n) raise(ErrNum::TypeMismatch);
        return ::Date::fromSerial(*n);
    }
    case Type::Array: raise(ErrNum::TypeMismatch);
    default: return ::Date::fromSerial(toDouble());
    }
}

QString Variant::toString() const
{
    switch (type()) {
    case Type::Empty: return {};
    case Type::Null: raise(ErrNum::InvalidNull);
    case Type::Boolean: return std::get<bool>(m_v) ? QStringLiteral("Vero") : QStringLiteral("Falso");
    case Type::Integer: return QString::number(std::get<int16_t>(m_v));
    case Type::Long: return QString::number(std::get<int32_t>(m_v));
    case Type::Double: return doubleText(std::get<double>(m_v));
    case Type::Currency: {
        QString s = std::get<::Currency>(m_v).toString();
        s.replace(QLatin1Char('.'), QLatin1Char(','));
        return s;
    }
    case Type::Date: return std::get<::Date>(m_v).toString();
    case Type::String: return std::get<QString>(m_v);
    case Type::Array: raise(ErrNum::TypeMismatch);
    }
    return {};
}

const VariantArray &Variant::toArray() const
{
    if (type() != Type::Array)
        raise(ErrNum::TypeMismatch);
    return *std::get<std::shared_ptr<const VariantArray>>(m_v);
}

QString Variant::text() const
{
    if (isNull() || isEmpty())
        return {};
    return toString();
}

std::optional<int> Variant::compare(const Variant &a, const Variant &b)
{
    if (a.isNull() || b.isNull())
        return std::nullopt;
    if (a.isArray() || b.isArray())
        raise(ErrNum::TypeMismatch);
    const auto sign = [](double x, double y) { return (x > y) - (x < y); };
    const bool aText = a.isText() || (a.isEmpty() && b.isText());
    const bool bText = b.isText() || (b.isEmpty() && a.isText());
    if (aText && bText)
        return textCompare(a.text(), b.text());
    if (aText != bText) {
        const Variant &t = aText ? a : b;
        const Variant &n = aText ? b : a;
        if (n.isDate()) {
            if (const auto d = ::Date::parse(t.text())) {
                const int c = sign(n.toDate().serial(), d->serial());
                return aText ? -c : c;
            }
        } else if (const auto num = parseNumber(t.text())) {
            const int c = sign(n.toDouble(), *num);
            return aText ? -c : c;
        }
        return aText ? 1 : -1; // a number sorts before a text
    }
    if (a.type() == Type::Currency && b.type() == Type::Currency) {
        const auto x = std::get<::Currency>(a.m_v), y = std::get<::Currency>(b.m_v);
        return (x > y) - (x < y);
    }
    return sign(a.toDouble(), b.toDouble());
}

bool Variant::sameAs(const Variant &o) const
{
    if (type() != o.type())
        return false;
    switch (type()) {
    case Type::Empty: case Type::Null: return true;
    case Type::String: return textEquals(std::get<QString>(m_v), std::get<QString>(o.m_v));
    case Type::Array: {
        const auto &x = toArray(), &y = o.toArray();
        if (x.lowerBound != y.lowerBound || x.items.size() != y.items.size()) return false;
        for (size_t i = 0; i < x.items.size(); ++i)
            if (!x.items[i].sameAs(y.items[i])) return false;
        return true;
    }
    default: return m_v == o.m_v;
    }
}

Variant operator&(const Variant &a, const Variant &b)
{
    return Variant(a.text() + b.text());
}

QString Variant::typeName() const
{
    static const char *names[] = {"Empty", "Null", "Boolean", "Integer", "Long", "Double",
                                  "Currency", "Date", "String", "Array"};
    return QString::fromLatin1(names[static_cast<int>(type())]);
}
