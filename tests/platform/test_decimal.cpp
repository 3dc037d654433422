#include "decimal.h"

#include <gtest/gtest.h>

namespace {

struct RoundCase {
    double value;
    RoundMode mode;
    double step;
    int exponent;
    double expected;
};

constexpr auto A = RoundMode::HalfAway;
constexpr auto S = RoundMode::Up;
constexpr auto I = RoundMode::Down;
constexpr auto T = RoundMode::TowardZero;
constexpr auto E = RoundMode::HalfEven;

const RoundCase kCases[] = {
    // binary doubles that sit just below their decimal half still round as decimals
    RoundCase{2.675, A, 1, -2, 2.68}, RoundCase{1.005, A, 1, -2, 1.01}, RoundCase{-2.675, A, 1, -2, -2.68},
    RoundCase{2.665, E, 1, -2, 2.66}, RoundCase{2.675, E, 1, -2, 2.68},
    // a value already on the step stays where it is, in every mode
    RoundCase{1.12, S, 1, -2, 1.12}, RoundCase{1.12, T, 1, -2, 1.12}, RoundCase{1.12, I, 1, -2, 1.12},
    RoundCase{0.1 + 0.2, S, 1, -2, 0.3},
    // directions
    RoundCase{200.2, S, 1, 0, 201}, RoundCase{-200.2, S, 1, 0, -200}, RoundCase{-200.2, I, 1, 0, -201},
    RoundCase{200.8, T, 1, 0, 200}, RoundCase{-200.8, T, 1, 0, -200}, RoundCase{200.5, A, 1, 0, 201},
    RoundCase{-200.5, A, 1, 0, -201}, RoundCase{200.49, A, 1, 0, 200},
    // steps other than 1, with and without an exponent
    RoundCase{1.03, A, 5, -2, 1.05}, RoundCase{1.025, A, 5, -2, 1.05}, RoundCase{1.024, A, 5, -2, 1.0},
    RoundCase{1234, A, 50, 0, 1250}, RoundCase{1224, A, 50, 0, 1200}, RoundCase{1201, S, 50, 0, 1250},
    RoundCase{0.07, S, 0.05, 0, 0.1}, RoundCase{12345, A, 1, 2, 12300},
    // tiny and huge against the step
    RoundCase{1e-12, S, 1, -2, 0.01}, RoundCase{1e-12, A, 1, -2, 0.0}, RoundCase{-1e-12, I, 1, -2, -0.01},
    RoundCase{1e20, A, 1, -2, 1e20}, RoundCase{0.0, S, 1, -2, 0.0},
    // a step of 0 never divides: the value comes back
    RoundCase{3.14159, A, 0, -2, 3.14159}};

TEST(RoundToStep, GivesTheDecimalResult)
{
    for (const RoundCase &c : kCases)
        EXPECT_EQ(roundToStep(c.value, c.mode, c.step, c.exponent), c.expected)
            << c.value << " step " << c.step << "e" << c.exponent;
}

TEST(DecimalNumber, ReadsDoublesAsTheRunTimeShowsThem)
{
    EXPECT_EQ(DecimalNumber::fromDouble(0.1 + 0.2).toString(), "0.3");
    EXPECT_EQ(DecimalNumber::fromDouble(2.675).toString(), "2.675");
    EXPECT_EQ(DecimalNumber::fromDouble(-1234.5).toString(), "-1234.5");
    EXPECT_EQ(DecimalNumber::fromDouble(1e-5).toString(), "0.00001");
    EXPECT_EQ(DecimalNumber::fromDouble(1936.27).toDouble(), 1936.27);
    EXPECT_FALSE(DecimalNumber::fromString("1,5").has_value());
    EXPECT_EQ(DecimalNumber::fromString("-0012.500")->toString(), "-12.5");
}

TEST(RoundMode, Letters)
{
    EXPECT_EQ(roundModeFromLetter('a'), RoundMode::HalfAway);
    EXPECT_EQ(roundModeFromLetter('S'), RoundMode::Up);
    EXPECT_EQ(roundModeFromLetter('I'), RoundMode::Down);
    EXPECT_EQ(roundModeFromLetter('t'), RoundMode::TowardZero);
    EXPECT_FALSE(roundModeFromLetter('X').has_value());
}

} // namespace
