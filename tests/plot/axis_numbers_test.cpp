// The numbers an axis shows: nice ranges inside the data, fixed grids,
// exact zeros, decimals and the scene's number text with its raised
// exponent, in any locale.
#include "plot/model/axis_scale.h"
#include "plot/model/scene_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace halvex;

namespace {

std::vector<double> values(const GridValues& g)
{
    std::vector<double> v;
    for (std::int32_t k = 0; k < g.count(); ++k)
        v.push_back(g[k]);
    return v;
}

std::vector<double> autoGrid(double lo, double hi)
{
    AxisRange r = AutoAxisRange(lo, hi);
    return values(GridValues(r.min, r.max, r.count));
}

// A text with its superscript shown as ^{…} and the middle dot as '*'.
std::string readable(const std::string& s)
{
    std::string out;
    for (char c : s)
        out += c == kSuperscriptStart ? std::string("^{") : c == kSuperscriptEnd ? std::string("}")
             : c == kMiddleDot        ? std::string("*")
                                      : std::string(1, c);
    return out;
}

std::string number(double v, double step)
{
    return readable(FormatSceneNumber(v, AxisDecimals(v, step)));
}

TEST(NiceNumbers, RoundToOneTwoFiveOrTen)
{
    EXPECT_EQ(NiceNum(2.0, false), 2.0);
    EXPECT_EQ(NiceNum(0.5, true), 0.5);
    EXPECT_EQ(NiceNum(0.74, false), 1.0);
    EXPECT_EQ(NiceNum(0.25, true), 0.2);
    EXPECT_EQ(NiceNum(3.2, true), 5.0);
    EXPECT_EQ(NiceNum(7.0, true), 10.0);
    EXPECT_EQ(NiceNum(2.5, false), 5.0);
    EXPECT_EQ(NiceNum(0.0, false), 1.0); // no power of ten below zero
}

TEST(AxisRanges, ShrinkToTheNiceValuesInsideTheData)
{
    // −1 … 1: step 0.5, zero exactly.
    std::vector<double> g = autoGrid(-1.0, 1.0);
    ASSERT_EQ(g.size(), 5u);
    EXPECT_EQ(g, (std::vector<double>{-1.0, -0.5, 0.0, 0.5, 1.0}));
    EXPECT_FALSE(std::signbit(g[2]));

    AxisRange r = AutoAxisRange(0.13, 0.87);
    EXPECT_DOUBLE_EQ(r.min, 0.2);
    EXPECT_DOUBLE_EQ(r.max, 0.8);
    EXPECT_EQ(r.count, 4);
    g = autoGrid(0.13, 0.87);
    ASSERT_EQ(g.size(), 4u);
    for (int k = 0; k < 4; ++k)
        EXPECT_DOUBLE_EQ(g[std::size_t(k)], 0.2 * (k + 1));

    r = AutoAxisRange(3.0, 3.0);
    EXPECT_EQ(r.min, 3.0);
    EXPECT_EQ(r.max, 3.0);
    EXPECT_EQ(r.count, 2);

    // Negative data: the nice values inside, the zero exact.
    g = autoGrid(-7.3, -0.4);
    EXPECT_EQ(g.front(), -6.0);
    EXPECT_EQ(g.back(), -2.0);
    g = autoGrid(-13.0, 27.0);
    EXPECT_EQ(g, (std::vector<double>{-10.0, 0.0, 10.0, 20.0}));
    // Reversed limits are taken in order.
    EXPECT_EQ(autoGrid(0.87, 0.13).size(), 4u);
    EXPECT_DOUBLE_EQ(AutoAxisRange(1.0, -1.0).min, -1.0);
}

TEST(AxisRanges, FixedGridsSnapOnlyTrueZeros)
{
    EXPECT_EQ(values(GridValues(0.0, 10.0, 3)), (std::vector<double>{0.0, 5.0, 10.0}));
    // −10 … 10 in four values: none of them is zero, and 10/3 stays 10/3.
    std::vector<double> g = values(GridValues(-10.0, 10.0, 4));
    ASSERT_EQ(g.size(), 4u);
    EXPECT_NEAR(g[2], 10.0 / 3.0, 1e-12);
    EXPECT_NE(g[2], 0.0);
    EXPECT_EQ(number(g[2], 20.0 / 3.0), "3.33");
    // A zero that sums come close to is exactly zero.
    g = values(GridValues(-0.3, 0.3, 7));
    EXPECT_EQ(g[3], 0.0);
    EXPECT_NE(-0.3 + 3 * 0.1, 0.0);
    // Limits that went through single precision: the middle of a fixed
    // grid of three is zero within their rounding, and prints as "0".
    const double low = double(-300.00003f), high = double(300.0f);
    ASSERT_NE(low + (high - low) / 2.0, 0.0);
    g = values(GridValues(low, high, 3));
    EXPECT_EQ(g[1], 0.0);
    EXPECT_EQ(number(g[1], (high - low) / 2.0), "0");
    g = values(GridValues(double(-0.9f), double(0.9f) - 1e-7, 3));
    EXPECT_EQ(g[1], 0.0);
    // A real value near zero is no rounding: −0.001 on a step of 1.
    g = values(GridValues(-1.001, 0.999, 3));
    EXPECT_NE(g[1], 0.0);
    // One value, and none.
    EXPECT_EQ(values(GridValues(2.0, 9.0, 1)), (std::vector<double>{2.0}));
    EXPECT_TRUE(values(GridValues(2.0, 9.0, 0)).empty());
    EXPECT_TRUE(values(GridValues(2.0, 9.0, -4)).empty());
}

TEST(AxisNumbers, DecimalsFollowTheStep)
{
    EXPECT_EQ(AxisDecimals(0.0, 1.0), 3);
    EXPECT_EQ(AxisDecimals(1250.0, 250.0), 2);
    EXPECT_EQ(AxisDecimals(0.002, 0.001), 4);
    EXPECT_EQ(AxisDecimals(1.0, 1e-9), 9);
    EXPECT_EQ(AxisDecimals(1e20, 1e-20), 13);
    EXPECT_EQ(AxisDecimals(5.0, 0.0), 2); // a single value has no step
}

TEST(AxisNumbers, TextsWithRaisedExponents)
{
    EXPECT_EQ(number(1250.0, 250.0), "1250");
    EXPECT_EQ(number(0.002, 0.001), "0.002");
    EXPECT_EQ(number(150000.0, 50000.0), "1.5*10^{5}");
    EXPECT_EQ(readable(FormatSceneNumber(12345.6, 2)), "1.23*10^{4}");
    EXPECT_EQ(readable(FormatSceneNumber(0.5, 2)), "0.5");
    EXPECT_EQ(readable(FormatSceneNumber(-0.0002, 2)), "-2*10^{-4}");
    EXPECT_EQ(readable(FormatSceneNumber(0.0, 3)), "0");
    EXPECT_EQ(readable(FormatSceneNumber(-1e-300, 3)), "0");
    // Rounding decides the form: 9999.7 is 1.00e+04.
    EXPECT_EQ(readable(FormatSceneNumber(9999.7, 2)), "1*10^{4}");
    EXPECT_EQ(readable(FormatSceneNumber(-0.004, 2)), "0"); // rounds to zero: no sign
    EXPECT_EQ(readable(FormatSceneNumber(-2.5, 2)), "-2.5");
    // Beyond a double's digits the fixed form is padded with zeros.
    EXPECT_EQ(readable(FormatSceneNumber(123.0, 13)), "123");
    EXPECT_EQ(number(-0.5, 0.5), "-0.5");
    EXPECT_EQ(number(0.2, 0.2), "0.2");
}

TEST(AxisNumbers, TheTextIgnoresTheLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8"))
        GTEST_SKIP() << "no Russian locale";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 0.5);
    EXPECT_STREQ(buf, "0,5"); // the C library does write a comma here
    EXPECT_EQ(readable(FormatSceneNumber(0.25, 2)), "0.25");
    EXPECT_EQ(readable(FormatSceneNumber(12345.6, 2)), "1.23*10^{4}");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
