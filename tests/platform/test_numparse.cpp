#include "numparse.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ParseNumber, Cases)
{
    struct { const char *text; double expected; } ok[] = {
        {"1936,27", 1936.27}, {"1.06", 1.06}, {" -12 ", -12}, {"+3", 3}, {"1.234,5", 1234.5}, {"1,234.5", 1234.5},
        {"1.234.567", 1234567}, {"1.234.567,8", 1234567.8}, {"1000#", 1000}, {"1E3", 1000}, {"2,5e-1", 0.25},
        {",5", 0.5}, {"0", 0},
    };
    for (const auto &c : ok) {
        const auto v = parseNumber(QString::fromUtf8(c.text));
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*v, c.expected) << c.text;
    }
    for (const char *bad : {"", " ", "abc", "1,2,3", "1.23.4", "12a", "--1", "1e", ".", "1 2"})
        EXPECT_FALSE(parseNumber(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(LeadingNumber, StopsAtTheFirstForeignCharacter)
{
    struct { const char *text; double expected; } cases[] = {
        {"1.06", 1.06}, {"1,07 beta", 1.07}, {"  -3.5x", -3.5}, {"abc", 0}, {"", 0}, {"12.5.6", 12.5}, {"7.", 7},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(c.text)), c.expected) << c.text;
}

} // namespace
