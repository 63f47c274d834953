#include "viewer/data/field_text.h"

#include <gtest/gtest.h>

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

TEST(DataLine, CommentsAndEmptyLines)
{
    std::string_view t;
    EXPECT_FALSE(isDataLine("", t));
    EXPECT_FALSE(isDataLine("     ", t));
    EXPECT_FALSE(isDataLine("   * word", t));
    EXPECT_FALSE(isDataLine("/ comment", t));
    EXPECT_FALSE(isDataLine("//x", t));
    EXPECT_TRUE(isDataLine("\t* word", t)); // a tab is not trimmed
    EXPECT_TRUE(isDataLine("  1 2 3  ", t));
    EXPECT_EQ(t, "1 2 3");
    EXPECT_TRUE(isDataLine("\t", t));
}

TEST(DataLine, SplitsThreeFieldsInOnePass)
{
    std::string_view f[3];
    splitPointFields("1\t2;;3 4", f);
    EXPECT_EQ(f[0], "1");
    EXPECT_EQ(f[1], "2");
    EXPECT_EQ(f[2], "3");
    splitPointFields("1", f);
    EXPECT_EQ(f[0], "1");
    EXPECT_EQ(f[1], "");
    EXPECT_EQ(f[2], "");
}
