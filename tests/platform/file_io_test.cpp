#include "platform/system/file_io.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace platform;

TEST(FileIo, ReadsWholeFilesAndReportsErrors)
{
    testsupport::TempDir dir;
    std::string big(300000, 'x');
    big[123456] = '\0';
    std::string p = dir.write("big.bin", big);
    std::string got, err;
    ASSERT_TRUE(readFile(p, got, &err));
    EXPECT_EQ(got, big);
    EXPECT_TRUE(readFile(dir.write("empty", ""), got));
    EXPECT_TRUE(got.empty());
    EXPECT_FALSE(readFile(dir.file("missing"), got, &err));
    EXPECT_NE(err.find("missing"), std::string::npos);
    EXPECT_FALSE(readFile(dir.path(), got, &err)); // a folder
}

TEST(FileIo, AtomicWriteReplacesAndKeepsMode)
{
    testsupport::TempDir dir;
    std::string p = dir.write("list.txt", "old");
    ::chmod(p.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomic(p, "new content"));
    EXPECT_EQ(testsupport::readAll(p), "new content");
    struct stat st {};
    ::stat(p.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    std::string err;
    EXPECT_FALSE(writeFileAtomic(dir.file("no/such/folder/x"), "x", &err));
    EXPECT_FALSE(err.empty());
}

TEST(FileIo, PathParts)
{
    EXPECT_EQ(extractFilePath("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(extractFilePath("c.txt"), "");
    EXPECT_EQ(extractFileName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(extractFileName("/a/b/"), "");
    EXPECT_EQ(extractFileExt("/a.b/c"), "");
    EXPECT_EQ(extractFileExt("/a/c.tar.gz"), ".gz");
    EXPECT_EQ(changeFileExt("/d/data.txt", ".Tavrin"), "/d/data.Tavrin");
    EXPECT_EQ(changeFileExt("/d.x/data", ".Tavrin"), "/d.x/data.Tavrin");
}
