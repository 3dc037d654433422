#include "apperror.h"
#include "currency.h"

#include <gtest/gtest.h>

namespace {

TEST(Currency, FromDoubleIsDecimalCorrectWithHalvesToEven)
{
    struct { double in; int64_t units; } cases[] = {
        {123456789.1234, 1234567891234}, {0.0001, 1}, {2.675, 26750}, {0.1 + 0.2, 3000},
        {1.00005, 10000}, {1.00015, 10002}, {-1.00015, -10002}, {-0.00005, 0}, {92233720368.5477, 922337203685477},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Currency::fromDouble(c.in).units(), c.units) << c.in;
}

TEST(Currency, OverflowRaisesSix)
{
    for (double v : {1e15, -1e15, 1e300}) {
        try {
            Currency::fromDouble(v);
            ADD_FAILURE() << v;
        } catch (const AppError &e) {
            EXPECT_EQ(e.number(), ErrNum::Overflow);
        }
    }
    const Currency max = Currency::fromUnits(INT64_MAX);
    EXPECT_THROW(max + Currency::fromUnits(1), AppError);
}

TEST(Currency, ArithmeticIsExact)
{
    const Currency a = *Currency::parse(u"0,1"), b = *Currency::parse(u"0.2");
    EXPECT_EQ((a + b).units(), 3000);
    EXPECT_EQ((a - b).toString(), "-0.1");
    // 1.2345 x 1.0001 = 1.23462345 -> 1.2346
    EXPECT_EQ((*Currency::parse(u"1.2345") * *Currency::parse(u"1.0001")).toString(), "1.2346");
    // 0.00005 exact half goes to even
    EXPECT_EQ((*Currency::parse(u"0.0001") * *Currency::parse(u"0.5")).units(), 0);
    EXPECT_EQ((Currency::fromLong(3) * 7).toString(), "21");
    EXPECT_DOUBLE_EQ(Currency::fromLong(1) / Currency::fromLong(4), 0.25);
    EXPECT_THROW(Currency::fromLong(1) / Currency(), AppError);
}

TEST(Currency, RoundedToDecimals)
{
    const Currency c = *Currency::parse(u"2.675");
    EXPECT_EQ(c.rounded(2).toString(), "2.68");
    EXPECT_EQ((-c).rounded(2).toString(), "-2.68");
    EXPECT_EQ(c.rounded(2, RoundMode::TowardZero).toString(), "2.67");
    EXPECT_EQ(c.rounded(0, RoundMode::Up).toString(), "3");
    EXPECT_EQ((-c).rounded(0, RoundMode::Up).toString(), "-2");
    EXPECT_EQ(c.rounded(2, RoundMode::HalfEven).toString(), "2.68");
}

TEST(Currency, Parse)
{
    EXPECT_EQ(Currency::parse(u" 1936,27 ")->units(), 19362700);
    EXPECT_EQ(Currency::parse(u"-0.00005")->units(), 0);
    EXPECT_FALSE(Currency::parse(u"abc").has_value());
    EXPECT_FALSE(Currency::parse(u"99999999999999999999").has_value());
}

} // namespace
