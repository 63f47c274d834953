#include "platform/text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <random>

using namespace platform;

namespace {

bool parses(std::string_view t, double expected, bool comma = false)
{
    double v = -12345;
    return parseDecimal(t, v, comma) && (v == expected) && std::signbit(v) == std::signbit(expected);
}

bool rejects(std::string_view t, bool comma = false)
{
    double v = 0;
    return !parseDecimal(t, v, comma);
}

} // namespace

TEST(ParseDecimal, AcceptsTheDecimalForms)
{
    EXPECT_TRUE(parses("0", 0.0));
    EXPECT_TRUE(parses("-0", -0.0));
    EXPECT_TRUE(parses("+5", 5.0));
    EXPECT_TRUE(parses("1.5", 1.5));
    EXPECT_TRUE(parses(".5", 0.5));
    EXPECT_TRUE(parses("5.", 5.0));
    EXPECT_TRUE(parses("1e3", 1000.0));
    EXPECT_TRUE(parses("1E+3", 1000.0));
    EXPECT_TRUE(parses("-2.5e-3", -0.0025));
    EXPECT_TRUE(parses("0.000123", 0.000123));
    EXPECT_TRUE(parses("1,5", 1.5, true));
    EXPECT_TRUE(parses("12345678901234567890123", 12345678901234567890123.0));
    EXPECT_TRUE(parses("1e-400", 0.0));   // underflow reads as zero
    EXPECT_TRUE(parses("-1e-400", -0.0));
    EXPECT_TRUE(parses("4.9406564584124654e-324", 4.9406564584124654e-324));
}

TEST(ParseDecimal, RejectsEverythingElse)
{
    for (const char* t : {"", "+", "-", ".", "e5", "1e", "1e+", "1.2.3", "1,5", "--1", "+-1", "1 ", " 1", "0x10",
                          "inf", "nan", "INF", "1e400", "-1e400", "1d", "١"})
        EXPECT_TRUE(rejects(t)) << t;
    EXPECT_TRUE(rejects("1,5,3", true));
    EXPECT_TRUE(rejects("1.5,3", true));
}

TEST(ParseDecimal, FastPathAgreesWithStrtod)
{
    std::mt19937_64 rng(12345);
    std::uniform_int_distribution<int> digits(1, 20), exp(-30, 30), coin(0, 3);
    for (int n = 0; n < 200000; ++n) {
        std::string t;
        if (coin(rng) == 0)
            t += '-';
        int d = digits(rng);
        int point = std::uniform_int_distribution<int>(0, d)(rng);
        for (int i = 0; i < d; ++i) {
            if (i == point)
                t += '.';
            t += static_cast<char>('0' + rng() % 10);
        }
        if (coin(rng) == 0)
            t += "e" + std::to_string(exp(rng));
        double ours = 0;
        ASSERT_TRUE(parseDecimal(t, ours)) << t;
        static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
        double ref = strtod_l(t.c_str(), nullptr, cLocale);
        ASSERT_EQ(ours, ref) << t;
    }
}

TEST(ParseInt, WholeTextOnly)
{
    std::int32_t i = 0;
    EXPECT_TRUE(parseInt32("-2147483648", i));
    EXPECT_EQ(i, INT32_MIN);
    EXPECT_FALSE(parseInt32("2147483648", i));
    EXPECT_TRUE(parseInt32("+7", i));
    EXPECT_EQ(i, 7);
    EXPECT_FALSE(parseInt32("7 ", i));
    EXPECT_FALSE(parseInt32("", i));
    EXPECT_FALSE(parseInt32("+-7", i));
    EXPECT_FALSE(parseInt32("1.0", i));
}

TEST(FormatNumbers, ShortestGeneralAndFixed)
{
    EXPECT_EQ(formatShortest(0.1), "0.1");
    EXPECT_EQ(formatShortest(-0.0), "-0");
    EXPECT_EQ(formatShortest(1e300), "1e+300");
    EXPECT_EQ(formatShortest(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(formatGeneral(1234.5678, 6), "1234.57");
    EXPECT_EQ(formatGeneral(999999.5, 6), "1E6");
    EXPECT_EQ(formatGeneral(-0.000012345), "-0.000012345");
    EXPECT_EQ(formatGeneral(std::nan("")), "NAN");
    EXPECT_EQ(formatFixed(1.5, 5), "1.50000");
    EXPECT_EQ(formatFixed(-2, 5), "-2.00000");
    EXPECT_EQ(formatFixed(2.5, 0), "2");
}

TEST(Trim, SpacesOnlyOrAllBlanks)
{
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
    EXPECT_EQ(trimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(trimBlanks("\t a \r"), "a");
    EXPECT_EQ(trimSpaces("   "), "");
}
