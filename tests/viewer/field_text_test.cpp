#include "platform/text/number_text.h"
#include "viewer/data/field_text.h"
#include "viewer/data/point_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace tavrin;

TEST(StrToNumberDef, ReadsNumbersWithPointOrComma)
{
    EXPECT_EQ(StrToNumberDef("1,5", -1), 1.5);
    EXPECT_EQ(StrToNumberDef("  2.25  ", -1), 2.25);
    EXPECT_EQ(StrToNumberDef("-3e2", -1), -300.0);
    EXPECT_EQ(StrToNumberDef(",5", -1), 0.5);
    EXPECT_EQ(StrToNumberDef("7,", -1), 7.0);
    EXPECT_EQ(StrToNumberDef("1,5e1", -1), 15.0);
}

TEST(StrToNumberDef, AnythingLeftOverGivesTheDefault)
{
    for (const char* t : {"", "   ", "abc", "1 2", "1,5,5", "1.5,5", "\t5", "5\t", "0x1F", "$1F", "inf", "NaN",
                          "1e", "1e400", "1.2.3", "12abc", "+", "--1"})
        EXPECT_EQ(StrToNumberDef(t, 42.0), 42.0) << '"' << t << '"';
}

TEST(ExtractField, FieldsAreRunsOfNonSeparators)
{
    EXPECT_EQ(ExtractField("1,5;2,5;3", 1), "1,5");
    EXPECT_EQ(ExtractField("1,5;2,5;3", 2), "2,5");
    EXPECT_EQ(ExtractField("1,5;2,5;3", 3), "3");
    EXPECT_EQ(ExtractField(" ;; a \t\t b ;", 2), "b");
    EXPECT_EQ(ExtractField("a b", 3), "");
    EXPECT_EQ(ExtractField("a b", 0), "");
    EXPECT_EQ(ExtractField("", 1), "");
    EXPECT_EQ(ExtractField("x,y", 1, ","), "x");
    EXPECT_EQ(ExtractField("x,y", 2, ","), "y");
}

TEST(DataPoint, CommentsAndEmptyLinesCarryNoPoint)
{
    PointDefaults d{{7, 8, 9}};
    double p[3];
    EXPECT_FALSE(readDataPoint("", d, p));
    EXPECT_FALSE(readDataPoint("     ", d, p));
    EXPECT_FALSE(readDataPoint("   * word", d, p));
    EXPECT_FALSE(readDataPoint("/ comment", d, p));
    EXPECT_FALSE(readDataPoint("//x", d, p));
    ASSERT_TRUE(readDataPoint("\t* 4 5", d, p)); // a tab is not trimmed
    EXPECT_EQ(p[0], 7.0);
    EXPECT_EQ(p[1], 4.0);
    EXPECT_EQ(p[2], 5.0);
    ASSERT_TRUE(readDataPoint("\t", d, p));
    EXPECT_EQ(p[2], 9.0);
    ASSERT_TRUE(readDataPoint("1,5;2,5;3 extra fields 4", d, p));
    EXPECT_EQ(p[0], 1.5);
    EXPECT_EQ(p[1], 2.5);
    EXPECT_EQ(p[2], 3.0);
    ASSERT_TRUE(readDataPoint("1 abc 3", d, p));
    EXPECT_EQ(p[1], 8.0);
    ASSERT_TRUE(readDataPoint("1e 2e+ 3e-1x", d, p));
    EXPECT_EQ(p[0], 7.0);
    EXPECT_EQ(p[1], 8.0);
    EXPECT_EQ(p[2], 9.0);
}

// The one-pass reader must agree with the field rule and StrToNumberDef on
// any line, well formed or not.
TEST(DataPoint, AgreesWithFieldsAndNumbersOnRandomLines)
{
    const char alphabet[] = "0123456789 ;\t.,eE+-*/x\0";
    std::mt19937 rng(2024);
    PointDefaults d{{-1.25, -2.5, -3.75}};
    for (int n = 0; n < 300000; ++n) {
        std::string line;
        int len = static_cast<int>(rng() % 24);
        for (int i = 0; i < len; ++i)
            line += alphabet[rng() % (sizeof alphabet - 1)];
        double p[3];
        bool data = readDataPoint(line, d, p);
        std::string_view t = platform::trimSpaces(line);
        bool expectData = !t.empty() && t[0] != '*' && t[0] != '/';
        ASSERT_EQ(data, expectData) << '"' << line << '"';
        if (!data)
            continue;
        for (int f = 0; f < 3; ++f) {
            double want = StrToNumberDef(ExtractField(line, f + 1), d.v[f]);
            ASSERT_TRUE(p[f] == want && std::signbit(p[f]) == std::signbit(want))
                << '"' << line << "\" field " << f + 1 << ": " << p[f] << " vs " << want;
        }
    }
}
