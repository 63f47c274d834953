#include "platform/text/cp1251.h"
#include "viewer/settings/file_list_store.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tavrin;

TEST(FileList, SavesBothFilesAndLoadsThemBack)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a.txt", "1 1 1");
    std::string b = dir.write(platform::cp1251ToUtf8("\xe4\xe0\xed\xed\xfb\x2e\x74\x78\x74"), "2 2 2"); // данны.txt
    std::vector<ListEntry> list = {{a, "a.txt", true}, {b, DisplayNameOf(b), false}};
    ASSERT_TRUE(SaveFileList(dir.path(), list));
    EXPECT_EQ(testsupport::readAll(dir.file("~ListFilesChecked.txt")),
              "+ a.txt\r\n- \xe4\xe0\xed\xed\xfb\x2e\x74\x78\x74\r\n");
    EXPECT_EQ(testsupport::readAll(dir.file("~ListFiles.txt")), platform::utf8ToCp1251(a + "\r\n" + b + "\r\n"));
    auto back = LoadFileList(dir.path());
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].path, a);
    EXPECT_TRUE(back[0].checked);
    EXPECT_EQ(back[1].path, b);
    EXPECT_EQ(back[1].name, DisplayNameOf(b));
    EXPECT_FALSE(back[1].checked);
}

TEST(FileList, MissingFilesGiveAnEmptyList)
{
    testsupport::TempDir dir;
    dir.write("~ListFiles.txt", "/x/a.txt\r\n");
    EXPECT_TRUE(LoadFileList(dir.path()).empty());
}

TEST(FileList, RepairsMovedAndBareEntries)
{
    testsupport::TempDir dir;
    dir.write("moved.txt", "1 1 1");
    dir.write("~ListFiles.txt", "/gone/away/moved.txt\r\n\r\n   \r\nbare.txt\r\n/gone/still-missing.txt\r\n");
    dir.write("~ListFilesChecked.txt", "- whatever\r\n  + bare.txt\r\n\r\n- x\r\n");
    auto list = LoadFileList(dir.path());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].path, dir.file("moved.txt")); // found in the program folder
    EXPECT_EQ(list[0].name, "moved.txt");            // name from the path, not the line
    EXPECT_FALSE(list[0].checked);
    EXPECT_EQ(list[1].path, dir.file("bare.txt"));
    EXPECT_TRUE(list[1].checked);
    // Neither there nor in the program folder: the folder copy is assumed.
    EXPECT_EQ(list[2].path, dir.file("still-missing.txt"));
    EXPECT_FALSE(list[2].checked);
}

TEST(FileList, LengthMismatchChecksEverything)
{
    testsupport::TempDir dir;
    dir.write("~ListFiles.txt", "/d/a.txt\r\n/d/b.txt\r\n");
    dir.write("~ListFilesChecked.txt", "- a.txt\r\n");
    auto list = LoadFileList(dir.path());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[0].checked);
    EXPECT_TRUE(list[1].checked);
    EXPECT_EQ(list[1].name, "b.txt");
}

TEST(FileList, EntriesWithoutAFileNameAreDroppedFromBothLists)
{
    testsupport::TempDir dir;
    dir.write("~ListFiles.txt", "/d/a.txt\r\n/d/folder/\r\n/d/c.txt\r\n");
    dir.write("~ListFilesChecked.txt", "+ a.txt\r\n+ \r\n- c.txt\r\n");
    auto list = LoadFileList(dir.path());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].name, "c.txt");
    EXPECT_FALSE(list[1].checked);
}

TEST(FileList, NotWrittenToAReadOnlyFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    testsupport::TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(SaveFileList(dir.path(), {{"/x/a.txt", "a.txt", true}}));
}
