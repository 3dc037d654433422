#include "currency.h"

#include "apperror.h"

#include <cmath>
#include <limits>

namespace {

int64_t checked(Int128 v)
{
    if (v > std::numeric_limits<int64_t>::max() || v < std::numeric_limits<int64_t>::min())
        throw AppError::standard(ErrNum::Overflow);
    return static_cast<int64_t>(v);
}

} // namespace

Currency Currency::fromLong(int64_t whole)
{
    return Currency(checked(static_cast<Int128>(whole) * Scale));
}

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 9.3e14)
        throw AppError::standard(ErrNum::Overflow);
    const DecimalNumber d = DecimalNumber::fromDouble(value);
    // units = mantissa x 10^(exponent + 4)
    const int e = d.exponent + 4;
    Int128 u = 0;
    if (e >= 0)
        u = d.mantissa * pow10Int(e);
    else if (e < -30)
        u = 0;
    else
        u = divideRounded(d.mantissa, pow10Int(-e), RoundMode::HalfEven);
    return Currency(checked(u));
}

std::optional<Currency> Currency::parse(QStringView text)
{
    QString t = text.trimmed().toString();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    const std::string s = t.toStdString();
    const auto d = DecimalNumber::fromString(s);
    if (!d)
        return std::nullopt;
    const int e = d->exponent + 4;
    Int128 u = d->mantissa;
    if (e >= 0) {
        for (int i = 0; i < e; ++i) {
            u *= 10;
            if (u > std::numeric_limits<int64_t>::max() || u < std::numeric_limits<int64_t>::min())
                return std::nullopt;
        }
    } else {
        u = divideRounded(u, pow10Int(-e < 36 ? -e : 36), RoundMode::HalfEven);
    }
    if (u > std::numeric_limits<int64_t>::max() || u < std::numeric_limits<int64_t>::min())
        return std::nullopt;
    return Currency(static_cast<int64_t>(u));
}

QString Currency::toString() const
{
    DecimalNumber d{m_units, -4};
    d.normalize();
    return QString::fromStdString(d.toString());
}

Currency Currency::rounded(int decimals, RoundMode mode) const
{
    if (decimals >= 4)
        return *this;
    const Int128 den = pow10Int(4 - decimals);
    const Int128 n = divideRounded(m_units, den, mode);
    return Currency(checked(n * den));
}

Currency Currency::operator-() const
{
    return Currency(checked(-static_cast<Int128>(m_units)));
}

Currency &Currency::operator+=(Currency o)
{
    m_units = checked(static_cast<Int128>(m_units) + o.m_units);
    return *this;
}

Currency &Currency::operator-=(Currency o)
{
    m_units = checked(static_cast<Int128>(m_units) - o.m_units);
    return *this;
}

Currency operator*(Currency a, Currency b)
{
    const Int128 p = static_cast<Int128>(a.m_units) * b.m_units;
    return Currency(checked(divideRounded(p, Currency::Scale, RoundMode::HalfEven)));
}

Currency operator*(Currency a, int64_t k)
{
    return Currency(checked(static_cast<Int128>(a.m_units) * k));
}

double operator/(Currency a, Currency b)
{
    if (b.m_units == 0)
        throw AppError::standard(ErrNum::DivByZero);
    return static_cast<double>(a.m_units) / static_cast<double>(b.m_units);
}
