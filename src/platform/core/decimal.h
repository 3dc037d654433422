#pragma once
// Decimal-correct rounding of binary doubles.
//
// A double is first read as the decimal number the run-time would show for it (15
// significant digits: 2.675 is 2.675, 0.1 + 0.2 is 0.3), and then rounded exactly in
// decimal. So 2.675 to two decimals is 2.68 and 1.12 rounded up to a step of 0.01 stays 1.12.
#include <cstdint>
#include <optional>
#include <string>

// 128-bit integers for exact intermediate products (a GCC/Clang extension).
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

enum class RoundMode : uint8_t {
    HalfAway,   // nearest, exact halves away from zero ("A")
    Up,         // toward +infinity ("S")
    Down,       // toward -infinity ("I")
    TowardZero, // truncation ("T")
    HalfEven,   // nearest, exact halves to the even neighbour (the run-time's own conversions)
};

// The mode of a rounding letter ("A", "S", "I", "T", any case); nullopt for any other text.
std::optional<RoundMode> roundModeFromLetter(char letter);

// An exact decimal: mantissa x 10^exponent.
struct DecimalNumber {
    Int128 mantissa = 0;
    int exponent = 0;

    // The double as the run-time shows it: at most 15 significant digits.
    static DecimalNumber fromDouble(double value);
    // Plain decimal text ("-12.5", "3e-4"; "." as the decimal point); nullopt when malformed.
    static std::optional<DecimalNumber> fromString(std::string_view text);

    double toDouble() const;
    std::string toString() const; // plain notation, "." decimal point, no exponent
    void normalize();             // strip trailing zeros of the mantissa
};

// value rounded to a multiple of step x 10^exponent (step > 0). A step of 0 or less, or a
// value that is not finite, gives the value unchanged.
double roundToStep(double value, RoundMode mode, double step, int exponent);

// value rounded to `decimals` decimals (negative decimals round to tens, hundreds ...).
inline double roundDecimals(double value, int decimals, RoundMode mode = RoundMode::HalfAway)
{
    return roundToStep(value, mode, 1.0, -decimals);
}

// 10^n as a 128-bit integer (0 <= n <= 38).
Int128 pow10Int(int n);

// The integer nearest to q = num / den under the mode (den > 0). Exposed for the currency type.
Int128 divideRounded(Int128 num, Int128 den, RoundMode mode);
