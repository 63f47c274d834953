#include "viewer/data/data_lines.h"
#include "viewer/data/matrix_error.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {

std::vector<std::string> lines(std::string text)
{
    return DataLines(std::move(text)).toStrings();
}

} // namespace

TEST(DataLines, LineEndsAreCrLfOrCrLf)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(lines(""), V{});
    EXPECT_EQ(lines("a"), V{"a"});
    EXPECT_EQ(lines("a\r\n"), V{"a"});
    EXPECT_EQ(lines("a\nb"), (V{"a", "b"}));
    EXPECT_EQ(lines("a\rb\r"), (V{"a", "b"}));
    EXPECT_EQ(lines("a\r\r\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(lines("\n"), V{""});
    EXPECT_EQ(lines("a\n\nb\n"), (V{"a", "", "b"}));
    EXPECT_EQ(lines("a\n\rb"), (V{"a", "", "b"}));
    EXPECT_EQ(lines(std::string("a\0b\nc", 5)), (V{std::string("a\0b", 3), "c"}));
}

TEST(DataLines, PrefixComesFirstAndCountsAsLines)
{
    DataLines d(std::string("x y z\n"));
    d.setPrefix({"1 2 3", "4 5 6"});
    EXPECT_EQ(d.toStrings(), (std::vector<std::string>{"1 2 3", "4 5 6", "x y z"}));
    DataLines onlyPrefix;
    EXPECT_TRUE(onlyPrefix.empty());
    onlyPrefix.setPrefix({"1 1 1"});
    EXPECT_FALSE(onlyPrefix.empty());
}

TEST(DataLines, LongCrOnlyFilesAreWalkedInLinearTime)
{
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "1 2 3\r";
    DataLines d(std::move(text));
    auto c = d.cursor();
    std::string_view l;
    int n = 0;
    while (c.next(l))
        ++n;
    EXPECT_EQ(n, 200000);
}

TEST(DataLines, MissingFileGivesTheSystemMessage)
{
    testsupport::TempDir dir;
    try {
        DataLines::fromFile(dir.file("nothing.txt"));
        FAIL() << "no exception";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("nothing.txt"), std::string::npos);
    }
}
