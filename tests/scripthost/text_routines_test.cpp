// The text, number and date routines of the script library, with the edge
// cases that once froze, overflowed or read the user's locale.

#include "script/program/run_error.h"
#include "scripthost/text_routines.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace r = tavrin::routines;

TEST(DatePlusDays, StepsAcrossMonthsYearsAndLeapDays)
{
    EXPECT_EQ(r::DatePlusDays_YMD(2004, 2, 28, 1), 20040229);
    EXPECT_EQ(r::DatePlusDays_YMD(2005, 12, 31, 1), 20060101);
    EXPECT_EQ(r::DatePlusDays_YMD(2005, 2, 30, 0), 0);
    EXPECT_EQ(r::DatePlusDays_YMD(2005, 3, 1, -5), 20050301);
    EXPECT_EQ(r::DatePlusDays_YMD(2005, 2, 28, 1), 20050301);
    EXPECT_EQ(r::DatePlusDays_YMD(1900, 2, 29, 0), 0); // a century that is not a leap year
    EXPECT_EQ(r::DatePlusDays_YMD(2000, 2, 29, 366), 20010301);
    EXPECT_EQ(r::DatePlusDays_YMD(2000, 1, 1, 36524), 20991231);
    EXPECT_EQ(r::DatePlusDays_YMD(1582, 12, 31, 1), 0); // before 1583
    EXPECT_EQ(r::DatePlusDays_YMD(2005, 13, 1, 0), 0);
    EXPECT_EQ(r::DatePlusDays_YMD(2005, 4, 31, 0), 0);
    // A two-digit year is checked as 20YY; one digit makes no date text.
    EXPECT_EQ(r::DatePlusDays_YMD(20, 2, 29, 0), 200229);
    EXPECT_EQ(r::DatePlusDays_YMD(5, 1, 1, 0), 0);
}

TEST(DatePlusDays, HugeCountsEndPastTheYear9999WithoutLooping)
{
    EXPECT_EQ(r::DatePlusDays_YMD(2005, 1, 1, INT_MAX), 0);
    EXPECT_EQ(r::DatePlusDays_YMD(9999, 12, 31, 1), 0);
    EXPECT_EQ(r::DatePlusDays_YMD(9999, 12, 30, 1), 99991231);
    EXPECT_EQ(r::DatePlusDays_YMD(INT_MAX, 1, 1, 0), 0);
    EXPECT_EQ(r::DatePlusDays_YMD(-5, 1, 1, 3), 0);
}

TEST(IsDate, FixedPositionsAndCalendar)
{
    EXPECT_TRUE(r::IsDate("29.02.2000"));
    EXPECT_FALSE(r::IsDate("29.02.1900"));
    EXPECT_FALSE(r::IsDate("01.01.2101"));
    EXPECT_FALSE(r::IsDate("1.1.2005"));
    EXPECT_TRUE(r::IsDate("  31.12.2005  "));
    EXPECT_TRUE(r::IsDate("01/02/2005")); // characters 3 and 6 are not checked
    EXPECT_TRUE(r::IsDate("29.02.08"));   // 2008
    EXPECT_FALSE(r::IsDate("29.02.97"));  // 1997
    EXPECT_FALSE(r::IsDate("01.01.200")); // nine characters
    EXPECT_FALSE(r::IsDate("31.04.2005"));
    EXPECT_FALSE(r::IsDate("01.01.1582"));
    EXPECT_FALSE(r::IsDate(""));
}

TEST(TextRoutines, TrimsPadAndReverse)
{
    EXPECT_EQ(r::AppendCharToString("7", 48, 3, true), "007");
    EXPECT_EQ(r::AppendCharToString("7", 48, 3, false), "700");
    EXPECT_EQ(r::AppendCharToString("1234", 48, 3, true), "1234");
    EXPECT_EQ(r::AppendCharToString("7", 48, -1, true), "7");
    EXPECT_THROW(r::AppendCharToString("7", 48, INT_MAX, true), script::TfsRuntimeError);
    EXPECT_EQ(r::AllTrim("\t a b \t"), "\t a b \t"); // blanks only: tabs stay
    EXPECT_EQ(r::AllTrim("  a b  "), "a b");
    EXPECT_EQ(r::LTrim("  a "), "a ");
    EXPECT_EQ(r::RTrim("  a "), "  a");
    EXPECT_EQ(r::LTrim("   "), "");
    EXPECT_EQ(r::InversionString("abc\xC0"), "\xC0" "cba");
}

TEST(TextRoutines, IsNumberReadsCommaAsPoint)
{
    EXPECT_TRUE(r::IsNumber(" -1,5e3 "));
    EXPECT_TRUE(r::IsNumber("42"));
    EXPECT_FALSE(r::IsNumber(""));
    EXPECT_FALSE(r::IsNumber("1.2.3"));
    EXPECT_FALSE(r::IsNumber("12a"));
    EXPECT_FALSE(r::IsNumber("inf"));
}

TEST(RoundNumber, LocaleFreeAndClamped)
{
    EXPECT_EQ(r::RoundNumber(2.345678, 2), 2.35);
    EXPECT_EQ(r::RoundNumber(2.345678, -2), 2.35);
    EXPECT_EQ(r::RoundNumber(-1.5, 0), -2);
    EXPECT_EQ(r::RoundNumber(1e300, 3), 1e300);
    EXPECT_EQ(r::RoundNumber(1.25e-30, 40), 1.25e-30);
    EXPECT_EQ(r::RoundNumber(0.1, INT_MIN), 0.1); // |Prec| of -2^31 no longer overflows
    EXPECT_EQ(r::RoundNumber(0.1, INT_MAX), 0.1);
    EXPECT_THROW(r::RoundNumber(std::nan(""), 2), script::TfsRuntimeError);
    EXPECT_THROW(r::RoundNumber(HUGE_VAL, 2), script::TfsRuntimeError);
}

TEST(Power, IntegralExponentsSameBitsAndBounded)
{
    EXPECT_EQ(r::Power(5, 0), 1);
    EXPECT_EQ(r::Power(0, 0), 1);
    EXPECT_EQ(r::Power(0, 2.5), 0);
    EXPECT_EQ(r::Power(2, 10), 1024);
    EXPECT_EQ(r::Power(2, -2), 0.25);
    EXPECT_EQ(r::Power(-2, 3), -8);
    // Up to 1024 the product is formed one factor at a time.
    double p = 1;
    for (int i = 0; i < 1000; ++i)
        p *= 1.0001;
    EXPECT_EQ(r::Power(1.0001, 1000), p);
    EXPECT_EQ(r::Power(1, 1e12), 1);                 // used to freeze
    EXPECT_EQ(r::Power(-1, 1e12 + 1), -1);
    EXPECT_EQ(r::Power(2, 1e19), HUGE_VAL);          // above 2^63
    EXPECT_EQ(r::Power(0.5, 1e19), 0);
    const double expected = std::pow(1.000001, 2000000);
    EXPECT_NEAR(r::Power(1.000001, 2000000), expected, expected * 1e-9);
    EXPECT_THROW(r::Power(0, -1), script::TfsRuntimeError);
    EXPECT_THROW(r::Power(-8, 1.0 / 3), script::TfsRuntimeError);
    EXPECT_DOUBLE_EQ(r::Power(8, 1.0 / 3), 2);
}
