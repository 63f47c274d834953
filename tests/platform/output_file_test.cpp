// Files that replace a user's file: whole or not at all, through symbolic
// links, never over a protected file.
#include "platform/system/file_io.h"
#include "platform/system/output_file.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

bool isLink(const std::string& p)
{
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Entries of the folder, hidden temporary files included.
int filesIn(const std::string& dir)
{
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

} // namespace

TEST(OutputFile, LandsWholeOnCommitAndNotAtAllOtherwise)
{
    testsupport::TempDir dir;
    std::string p = dir.write("a", "old");
    {
        OutputFile f;
        ASSERT_TRUE(f.Open(p)) << f.error();
        EXPECT_TRUE(f.Write("new and longer"));
        EXPECT_EQ(testsupport::readAll(p), "old"); // nothing shows before the commit
    } // discarded
    EXPECT_EQ(testsupport::readAll(p), "old");
    OutputFile f;
    ASSERT_TRUE(f.Open(p));
    std::string big(3 << 20, 'x'); // past the buffer
    ASSERT_TRUE(f.Write("head"));
    ASSERT_TRUE(f.Write(big));
    ASSERT_TRUE(f.WriteAt(0, "HEAD", 4));
    EXPECT_EQ(f.size(), big.size() + 4);
    ASSERT_TRUE(f.Commit()) << f.error();
    EXPECT_EQ(testsupport::readAll(p), "HEAD" + big);
    // No temporary file is left beside it.
    EXPECT_EQ(filesIn(dir.path()), 1);
}

TEST(OutputFile, FollowsSymbolicLinksAndKeepsThem)
{
    testsupport::TempDir dir;
    std::string target = dir.write("target", "old");
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(::symlink("target", dir.file("chain2").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("chain2").c_str(), dir.file("link").c_str()), 0);
    ASSERT_TRUE(writeFileAtomic(dir.file("link"), "through two links"));
    EXPECT_TRUE(isLink(dir.file("link")));
    EXPECT_TRUE(isLink(dir.file("chain2")));
    EXPECT_EQ(testsupport::readAll(target), "through two links");
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // A dangling link makes the file it names.
    ASSERT_EQ(::symlink("x", dir.file("b").c_str()), 0);
    ASSERT_TRUE(writeFileAtomic(dir.file("b"), "made"));
    EXPECT_TRUE(isLink(dir.file("b")));
    EXPECT_EQ(testsupport::readAll(dir.file("x")), "made");
    EXPECT_EQ(ResolveOutputPath(dir.file("link")), dir.file("target"));
}

TEST(OutputFile, RefusesProtectedFilesFoldersAndLinkLoops)
{
    testsupport::TempDir dir;
    std::string p = dir.write("data", "precious");
    ::chmod(p.c_str(), 0444);
    std::string err;
    // Refused even for the superuser, whom the permission bits do not stop.
    EXPECT_FALSE(writeFileAtomic(p, "gone", &err));
    EXPECT_NE(err.find("data"), std::string::npos) << err;
    EXPECT_EQ(testsupport::readAll(p), "precious");
    EXPECT_FALSE(writeFileAtomic(dir.path(), "x", &err));
    ASSERT_EQ(::symlink("chain2", dir.file("chain1").c_str()), 0);
    ASSERT_EQ(::symlink("chain1", dir.file("chain2").c_str()), 0);
    EXPECT_FALSE(writeFileAtomic(dir.file("chain1"), "x", &err));
    EXPECT_FALSE(writeFileAtomic(dir.file("no/such/folder/x"), "x", &err));
    EXPECT_EQ(filesIn(dir.path()), 3); // data, chain1, chain2: nothing made
}

TEST(OutputFile, SameFileSeesThroughLinksAndNames)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a", "1");
    dir.write("b", "1");
    ASSERT_EQ(::symlink("a", dir.file("link").c_str()), 0);
    EXPECT_TRUE(SameFile(a, dir.file("link")));
    EXPECT_TRUE(SameFile(a, dir.path() + "./a"));
    EXPECT_FALSE(SameFile(a, dir.file("b")));
    EXPECT_FALSE(SameFile(a, dir.file("missing")));
}
