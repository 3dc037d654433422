#pragma once
// A fixed-point currency amount: a 64-bit count of ten-thousandths, as the run-time's
// Currency type. Never binary floating point.
#include "decimal.h"

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

class Currency {
public:
    static constexpr int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(int64_t units) { return Currency(units); }
    static Currency fromLong(int64_t whole);          // raises overflow (6) out of range
    // The double as the run-time shows it (15 significant digits), then to four decimals,
    // halves to even as the run-time's own conversion does; overflow (6) out of range.
    static Currency fromDouble(double value);
    // Plain decimal text with "." or "," as the decimal point; nullopt when malformed.
    static std::optional<Currency> parse(QStringView text);

    constexpr int64_t units() const { return m_units; }
    double toDouble() const { return static_cast<double>(m_units) / Scale; }
    DecimalNumber toDecimal() const { return DecimalNumber{m_units, -4}; }
    QString toString() const; // "-1234.5" style: "." decimal point, no trailing zeros

    // Rounded to `decimals` decimals (0..4) in the given mode; exact.
    Currency rounded(int decimals, RoundMode mode = RoundMode::HalfAway) const;

    constexpr bool isZero() const { return m_units == 0; }
    constexpr auto operator<=>(const Currency &) const = default;

    Currency operator-() const;
    Currency &operator+=(Currency o);
    Currency &operator-=(Currency o);
    friend Currency operator+(Currency a, Currency b) { return a += b; }
    friend Currency operator-(Currency a, Currency b) { return a -= b; }
    // Product of two amounts, exact then to four decimals (halves to even).
    friend Currency operator*(Currency a, Currency b);
    friend Currency operator*(Currency a, int64_t k);
    // A ratio of amounts is a plain number.
    friend double operator/(Currency a, Currency b);

private:
    constexpr explicit Currency(int64_t u) : m_units(u) {}
    int64_t m_units = 0;
};
