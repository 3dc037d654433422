#include "apperror.h"
#include "textcompare.h"
#include "variant.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>

namespace {

int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const AppError &e) {
        return e.number();
    }
    return 0;
}

TEST(Variant, ToIntegerRoundsHalvesToEvenAndRaises)
{
    struct { Variant in; int expected; int error; } cases[] = {
        {2.5, 2, 0}, {3.5, 4, 0}, {-2.5, -2, 0}, {-3.5, -4, 0}, {2.5000001, 3, 0},
        {32767.0, 32767, 0}, {32767.5, 0, ErrNum::Overflow}, {-32768.0, -32768, 0}, {-32769.0, 0, ErrNum::Overflow},
        {int32_t{70000}, 0, ErrNum::Overflow}, {true, -1, 0}, {false, 0, 0}, {Variant(), 0, 0},
        {Variant::null(), 0, ErrNum::InvalidNull}, {"12", 12, 0}, {"2,5", 2, 0}, {" 7.5 ", 8, 0},
        {"abc", 0, ErrNum::TypeMismatch}, {"", 0, ErrNum::TypeMismatch}, {*Currency::parse(u"1.5"), 2, 0},
        {*Currency::parse(u"2.5"), 2, 0},
    };
    for (const auto &c : cases) {
        int got = 0;
        const int err = errorOf([&] { got = c.in.toInteger(); });
        EXPECT_EQ(err, c.error) << c.in.typeName().toStdString() << " " << c.in.text().toStdString();
        if (!c.error) {
            EXPECT_EQ(got, c.expected) << c.in.text().toStdString();
        }
    }
}

TEST(Variant, ToLongRange)
{
    EXPECT_EQ(Variant(2147483647.0).toLong(), 2147483647);
    EXPECT_EQ(errorOf([] { Variant(2147483647.5).toLong(); }), ErrNum::Overflow);
    EXPECT_EQ(Variant(-2147483648.0).toLong(), INT32_MIN);
    EXPECT_EQ(Variant(int16_t{-5}).toLong(), -5);
}

TEST(Variant, EmptyNullAndEmptyTextStayApart)
{
    const Variant e, n = Variant::null(), s = QString();
    EXPECT_TRUE(e.isEmpty());
    EXPECT_TRUE(n.isNull());
    EXPECT_TRUE(s.isText());
    EXPECT_FALSE(e.sameAs(n));
    EXPECT_FALSE(s.sameAs(e));
    EXPECT_TRUE(e.isBlank() && n.isBlank() && s.isBlank());
    EXPECT_EQ(e.toString(), QString());
    EXPECT_EQ(errorOf([&] { n.toString(); }), ErrNum::InvalidNull);
    EXPECT_EQ(e.toDouble(), 0.0);
}

TEST(Variant, ConcatenationTreatsNullAsEmptyText)
{
    EXPECT_EQ((Variant("A") & Variant::null() & Variant()).toString(), "A");
    EXPECT_EQ((Variant::null() & Variant::null()).toString(), "");
    EXPECT_EQ((Variant("N. ") & Variant(int32_t{12})).toString(), "N. 12");
    EXPECT_EQ((Variant("x") & Variant(1.5)).toString(), "x1,5");
}

TEST(Variant, TextComparisonIgnoresCase)
{
    EXPECT_EQ(Variant::compare("Mario", "MARIO"), 0);
    EXPECT_EQ(Variant::compare("s", "S"), 0);
    EXPECT_EQ(Variant::compare("abc", "ABD"), -1);
    EXPECT_FALSE(Variant::compare("a", Variant::null()).has_value());
    EXPECT_EQ(Variant::compare(Variant(), ""), 0);
    EXPECT_EQ(Variant::compare(Variant(), 0.0), 0);
    EXPECT_EQ(Variant::compare(int16_t{10}, "9,5"), 1);
    EXPECT_EQ(Variant::compare(int16_t{10}, "abc"), -1);
    EXPECT_EQ(Variant::compare(*Currency::parse(u"0.1"), 0.1), 0);
    EXPECT_TRUE(Variant("Abc").sameAs("aBC"));
}

// Every letter compares ignoring case, each taken in its lower case as PostgreSQL takes it; the
// UTF-8 comparison of the SQLite files and the keys of folded texts agree.
TEST(Variant, EveryLetterComparesIgnoringCaseAsPostgreSQLLowersIt)
{
    struct Caso {
        const char *a, *b;
        int atteso;
    };
    const Caso casi[] = {
        {"CAFFÈ", "caffè", 0},     {"CITTÀ", "città", 0},      {"ÖLBAUM", "ölbaum", 0},   {"ΣΟΦΊΑ", "σοφία", 0},
        {"ДОМ", "дом", 0},         {"İ", "i", 0},              {"\u212A", "k", 0},        {"\U00010400", "\U00010428", 0},
        {"caffè", "caffé", -1},    {"èa", "àb", 1},            {"Èa", "àb", 1},           {"ab", "abc", -1},
        {"µ", "μ", -1},            {"ς", "σ", -1},             {"ß", "SS", 1},            {"ſ", "s", 1},
        {"Mario", "MARIO", 0},     {"", "", 0},                {"aè", "AÈb", -1},
    };
    for (const Caso &c : casi) {
        const QString a = QString::fromUtf8(c.a), b = QString::fromUtf8(c.b);
        SCOPED_TRACE(a.toStdString() + " / " + b.toStdString());
        EXPECT_EQ(textCompare(a, b), c.atteso);
        EXPECT_EQ(textCompare(b, a), -c.atteso);
        const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
        EXPECT_EQ(textCompareUtf8(ua.constData(), static_cast<int>(ua.size()), ub.constData(), static_cast<int>(ub.size())),
                  c.atteso);
        EXPECT_EQ(Variant::compare(Variant(a), Variant(b)), c.atteso);
        EXPECT_EQ(textFolded(a) == textFolded(b), c.atteso == 0);
    }
}

TEST(Variant, ToStringShowsNumbersAsTheWorkstationDoes)
{
    struct { Variant in; const char *expected; } cases[] = {
        {1.5, "1,5"}, {-0.25, "-0,25"}, {0.1 + 0.2, "0,3"}, {1e20, "1E+20"}, {int32_t{-7}, "-7"},
        {*Currency::parse(u"12.3400"), "12,34"}, {true, "Vero"}, {Date::fromYmd(2024, 3, 5), "05/03/2024"},
        {Date::fromYmd(2024, 3, 5, 14, 7, 9), "05/03/2024 14:07:09"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.in.toString().toStdString(), c.expected);
}

TEST(Variant, ConversionsDoNotDependOnTheProcessLocale)
{
    for (const char *loc : {"C", "it_IT.UTF-8"}) {
        if (!std::setlocale(LC_ALL, loc)) {
            ADD_FAILURE() << "locale " << loc << " is not installed";
            continue;
        }
        EXPECT_DOUBLE_EQ(Variant("1936,27").toDouble(), 1936.27) << loc;
        EXPECT_DOUBLE_EQ(Variant("1.06").toDouble(), 1.06) << loc;
        EXPECT_EQ(Variant(2.5).toString(), "2,5") << loc;
        EXPECT_EQ(Variant("2.675").toCurrency().units(), 26750) << loc;
    }
    std::setlocale(LC_ALL, "C");
}

TEST(Variant, DatesAndArrays)
{
    EXPECT_EQ(Variant("01/01/100").toDate(), Date::emptyMarker());
    EXPECT_EQ(Variant("31/12/2024").toDate(), Date::fromYmd(2024, 12, 31));
    EXPECT_EQ(errorOf([] { Variant("31/02/2024").toDate(); }), ErrNum::TypeMismatch);
    EXPECT_EQ(Variant(Date::fromYmd(1900, 1, 1)).toDouble(), 2.0);
    VariantArray arr{1, {Variant("a"), Variant::null()}};
    const Variant v(arr);
    EXPECT_EQ(v.toArray().lowerBound, 1);
    EXPECT_TRUE(v.toArray().items[1].isNull());
    EXPECT_EQ(errorOf([&] { v.toDouble(); }), ErrNum::TypeMismatch);
}

} // namespace
