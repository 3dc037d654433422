#include "apperror.h"
#include "vbdate.h"

#include <gtest/gtest.h>

namespace {

TEST(Date, SerialsMatchTheRunTime)
{
    EXPECT_EQ(Date::fromYmd(1899, 12, 30).serial(), 0.0);
    EXPECT_EQ(Date::fromYmd(1900, 1, 1).serial(), 2.0);
    EXPECT_EQ(Date::fromYmd(2000, 1, 1).serial(), 36526.0);
    EXPECT_EQ(Date::fromYmd(1899, 12, 29, 6).serial(), -1.25);
    EXPECT_EQ(Date::fromSerial(-1.25).toQDateTime().time().hour(), 6);
    EXPECT_EQ(Date::fromSerial(36526.5).toString(), "01/01/2000 12:00:00");
}

TEST(Date, RangeIsYear100To9999)
{
    EXPECT_NO_THROW(Date::fromYmd(100, 1, 1));
    EXPECT_NO_THROW(Date::fromYmd(9999, 12, 31));
    EXPECT_THROW(Date::fromYmd(99, 12, 31), AppError);
    EXPECT_THROW(Date::fromSerial(Date::fromYmd(9999, 12, 31).serial() + 1), AppError);
    EXPECT_THROW(Date::fromSerial(Date::fromYmd(100, 1, 1).serial() - 1), AppError);
    EXPECT_EQ(Date::fromSerial(Date::fromYmd(9999, 12, 31, 23, 59).serial()).day(), 31);
    EXPECT_EQ(Date::fromSerial(Date::fromYmd(100, 1, 1, 6).serial()).year(), 100);
    // Far outside any day count (a serial from the menu link): refused before it is converted.
    for (const double fuori : {1e300, -1e300, 1e19, -9.3e18})
        EXPECT_THROW(Date::fromSerial(fuori), AppError) << fuori;
    EXPECT_EQ(Date::fromYmd(9999, 12, 31).addDays(-1), Date::fromYmd(9999, 12, 30));
}

TEST(Date, Parse)
{
    struct { const char *text; int y, m, d; } ok[] = {
        {"05/03/2024", 2024, 3, 5}, {"5/3/24", 2024, 3, 5}, {"5/3/30", 1930, 3, 5}, {"2024-03-05", 2024, 3, 5},
        {"01/01/100", 100, 1, 1}, {"29/02/2024 10:30", 2024, 2, 29}, {"2024-03-05 10:30:00", 2024, 3, 5},
    };
    for (const auto &c : ok) {
        const auto d = Date::parse(QString::fromUtf8(c.text));
        ASSERT_TRUE(d.has_value()) << c.text;
        EXPECT_EQ(d->toQDate(), QDate(c.y, c.m, c.d)) << c.text;
    }
    for (const char *bad : {"", "31/04/2024", "29/02/2023", "abc", "1/1/99999", "05/03/2024 25:00"})
        EXPECT_FALSE(Date::parse(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(Date, EmptyMarker)
{
    EXPECT_TRUE(Date::emptyMarker().isEmptyMarker());
    EXPECT_TRUE(isEmptyDateMarkerText(u"01/01/100"));
    EXPECT_TRUE(isEmptyDateMarkerText(u"01/01/0100"));
    EXPECT_FALSE(isEmptyDateMarkerText(u"01/01/2000"));
    EXPECT_EQ(Date::emptyMarker().toString(), "01/01/0100");
}

} // namespace
