#include "decimal.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr int kMaxPow = 36;

std::string int128ToString(Int128 v)
{
    if (v == 0)
        return "0";
    const bool neg = v < 0;
    UInt128 u = neg ? static_cast<UInt128>(-(v + 1)) + 1 : static_cast<UInt128>(v);
    std::string s;
    while (u > 0) {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(u % 10)));
        u /= 10;
    }
    if (neg)
        s.insert(s.begin(), '-');
    return s;
}

} // namespace

Int128 pow10Int(int n)
{
    Int128 r = 1;
    for (int i = 0; i < n; ++i)
        r *= 10;
    return r;
}

std::optional<RoundMode> roundModeFromLetter(char letter)
{
    switch (letter) {
    case 'A': case 'a': return RoundMode::HalfAway;
    case 'S': case 's': return RoundMode::Up;
    case 'I': case 'i': return RoundMode::Down;
    case 'T': case 't': return RoundMode::TowardZero;
    default: return std::nullopt;
    }
}

void DecimalNumber::normalize()
{
    if (mantissa == 0) {
        exponent = 0;
        return;
    }
    while (mantissa % 10 == 0) {
        mantissa /= 10;
        ++exponent;
    }
}

DecimalNumber DecimalNumber::fromDouble(double value)
{
    DecimalNumber d;
    if (!std::isfinite(value) || value == 0.0)
        return d;
    char buf[64];
    // d.dddddddddddddde+XX: 15 significant digits, independent of the process locale.
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
    const auto e = s.find('e');
    int exp10 = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + s.size(), exp10);
    Int128 m = 0;
    bool neg = false;
    int fracDigits = 0;
    bool afterPoint = false;
    for (size_t i = 0; i < e; ++i) {
        const char c = s[i];
        if (c == '-') neg = true;
        else if (c == '.') afterPoint = true;
        else {
            m = m * 10 + (c - '0');
            if (afterPoint) ++fracDigits;
        }
    }
    d.mantissa = neg ? -m : m;
    d.exponent = exp10 - fracDigits;
    d.normalize();
    return d;
}

std::optional<DecimalNumber> DecimalNumber::fromString(std::string_view text)
{
    DecimalNumber d;
    size_t i = 0;
    bool neg = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        neg = text[i] == '-';
        ++i;
    }
    bool anyDigit = false, afterPoint = false;
    int fracDigits = 0, sigDigits = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (d.mantissa == 0 && c == '0') {
                if (afterPoint) ++fracDigits;
                continue;
            }
            if (sigDigits >= kMaxPow)
                return std::nullopt;
            d.mantissa = d.mantissa * 10 + (c - '0');
            ++sigDigits;
            if (afterPoint) ++fracDigits;
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    int exp10 = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && text[i] == '+') ++i;
        auto r = std::from_chars(text.data() + i, text.data() + text.size(), exp10);
        if (r.ec != std::errc() || r.ptr == text.data() + i)
            return std::nullopt;
        i = static_cast<size_t>(r.ptr - text.data());
    }
    if (i != text.size())
        return std::nullopt;
    if (neg) d.mantissa = -d.mantissa;
    d.exponent = exp10 - fracDigits;
    d.normalize();
    return d;
}

std::string DecimalNumber::toString() const
{
    std::string digits = int128ToString(mantissa < 0 ? -mantissa : mantissa);
    std::string out = mantissa < 0 ? "-" : "";
    if (exponent >= 0) {
        out += digits;
        if (mantissa != 0) out.append(static_cast<size_t>(exponent), '0');
        return out;
    }
    const size_t frac = static_cast<size_t>(-exponent);
    if (digits.size() <= frac)
        digits.insert(0, frac - digits.size() + 1, '0');
    out += digits.substr(0, digits.size() - frac);
    out += '.';
    out += digits.substr(digits.size() - frac);
    return out;
}

double DecimalNumber::toDouble() const
{
    if (mantissa == 0)
        return 0.0;
    const std::string s = int128ToString(mantissa) + "e" + std::to_string(exponent);
    double v = 0.0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

Int128 divideRounded(Int128 num, Int128 den, RoundMode mode)
{
    Int128 q = num / den; // truncates toward zero
    const Int128 r = num % den;
    if (r == 0)
        return q;
    const bool positive = num > 0;
    const Int128 twiceR = (r < 0 ? -r : r) * 2;
    switch (mode) {
    case RoundMode::TowardZero: return q;
    case RoundMode::Up: return positive ? q + 1 : q;
    case RoundMode::Down: return positive ? q : q - 1;
    case RoundMode::HalfAway:
        if (twiceR >= den) return positive ? q + 1 : q - 1;
        return q;
    case RoundMode::HalfEven:
        if (twiceR > den || (twiceR == den && (q % 2 != 0))) return positive ? q + 1 : q - 1;
        return q;
    }
    return q;
}

double roundToStep(double value, RoundMode mode, double step, int exponent)
{
    if (!std::isfinite(value) || !std::isfinite(step) || step <= 0.0)
        return value;
    DecimalNumber v = DecimalNumber::fromDouble(value);
    if (v.mantissa == 0)
        return 0.0;
    DecimalNumber unit = DecimalNumber::fromDouble(step);
    if (unit.mantissa <= 0)
        return value;
    unit.exponent += exponent;

    // q = v / unit = (vm / um) x 10^d
    const int d = v.exponent - unit.exponent;
    Int128 num = v.mantissa, den = unit.mantissa;
    if (d > 20) {
        // The value is far coarser than the step: it is a multiple already at double precision.
        return value;
    }
    if (d < -20) {
        // |q| is far below one half: only the direction of the mode matters.
        const bool pos = v.mantissa > 0;
        Int128 n = 0;
        if (mode == RoundMode::Up && pos) n = 1;
        if (mode == RoundMode::Down && !pos) n = -1;
        DecimalNumber r{n * unit.mantissa, unit.exponent};
        return r.toDouble();
    }
    if (d >= 0) num *= pow10Int(d);
    else den *= pow10Int(-d);
    const Int128 n = divideRounded(num, den, mode);
    Int128 m = 0;
    if (__builtin_mul_overflow(n, unit.mantissa, &m))
        return static_cast<double>(static_cast<long double>(n) * static_cast<long double>(unit.toDouble()));
    DecimalNumber r{m, unit.exponent};
    r.normalize();
    const double out = r.toDouble();
    return out == 0.0 ? 0.0 : out; // no negative zero
}
