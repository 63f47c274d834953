#include "platform/text/cp1251.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Cp1251, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    std::string utf8 = cp1251ToUtf8(all);
    EXPECT_EQ(utf8ToCp1251(utf8), all);
}

TEST(Cp1251, KnownCharacters)
{
    EXPECT_EQ(cp1251ToUtf8("\xcf\xf0\xe8\xe2\xe5\xf2"), "Привет");
    EXPECT_EQ(utf8ToCp1251("Ёё№€—«»"), "\xa8\xb8\xb9\x88\x97\xab\xbb");
    EXPECT_EQ(cp1251ToUnicode(0xC0), U'\u0410');
    EXPECT_EQ(cp1251ToUnicode(0xFF), U'\u044F');
    EXPECT_EQ(cp1251ToUnicode(0xA0), U'\u00A0');
    EXPECT_EQ(cp1251ToUnicode(0xB9), U'\u2116');
}

TEST(Cp1251, UnmappableAndInvalidInputBecomesQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1251("a中b"), "a?b");
    EXPECT_EQ(utf8ToCp1251("😀"), "?");
    EXPECT_EQ(utf8ToCp1251("\xff\xfe"), "??");
    EXPECT_EQ(utf8ToCp1251("\xc0\xaf"), "??");         // overlong
    EXPECT_EQ(utf8ToCp1251("\xed\xa0\x80"), "???");    // surrogate
    EXPECT_EQ(utf8ToCp1251("x\xd0"), "x?");            // truncated at the end
    EXPECT_EQ(utf8ToCp1251("\xd0\x41"), "?A");         // bad continuation
}

TEST(Cp1251, LetterCaseCoversCyrillic)
{
    EXPECT_EQ(upperCp1251(utf8ToCp1251("привет ёжик abc")), utf8ToCp1251("ПРИВЕТ ЁЖИК ABC"));
    EXPECT_EQ(lowerCp1251(utf8ToCp1251("ЎЄЇІ")), utf8ToCp1251("ўєїі"));
    EXPECT_TRUE(equalsIgnoreCaseCp1251(utf8ToCp1251("Матрица"), utf8ToCp1251("МАТРИЦА")));
    EXPECT_FALSE(equalsIgnoreCaseCp1251("abc", "abd"));
    EXPECT_LT(compareIgnoreCaseCp1251("abc", "ABD"), 0);
    EXPECT_EQ(compareIgnoreCaseCp1251("ABC", "abc"), 0);
    EXPECT_GT(compareIgnoreCaseCp1251("abcd", "ABC"), 0);
    for (int c = 0; c < 256; ++c) {
        char ch = static_cast<char>(c);
        EXPECT_EQ(upperCp1251(lowerCp1251(upperCp1251(ch))), upperCp1251(ch)) << c;
    }
}
