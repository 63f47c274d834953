#include "viewer/data/number_text_format.h"

#include <gtest/gtest.h>

using tavrin::FormatNumberText;

TEST(FormatNumberText, NormalFormsOfTheDefaultValues)
{
    EXPECT_EQ(FormatNumberText("1,5"), "1.5");
    EXPECT_EQ(FormatNumberText("1,50"), "1.5");
    EXPECT_EQ(FormatNumberText("abc"), "0");
    EXPECT_EQ(FormatNumberText("x"), "0");
    EXPECT_EQ(FormatNumberText("100"), "100");
    EXPECT_EQ(FormatNumberText("0.25"), "0.25");
    EXPECT_EQ(FormatNumberText("-2"), "-2");
    EXPECT_EQ(FormatNumberText("0.000001"), "0");
    EXPECT_EQ(FormatNumberText("-0.000001"), "0");
    EXPECT_EQ(FormatNumberText("0"), "0");
    EXPECT_EQ(FormatNumberText(""), "0");
    EXPECT_EQ(FormatNumberText("5"), "5");
    EXPECT_EQ(FormatNumberText("10"), "10");
    EXPECT_EQ(FormatNumberText("-0.5"), "-0.5");
    EXPECT_EQ(FormatNumberText("0.123456"), "0.12346");
    EXPECT_EQ(FormatNumberText("1e3"), "1000");
    EXPECT_EQ(FormatNumberText("  7,25  "), "7.25");
}
