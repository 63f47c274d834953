#include "viewer/settings/drive_probe.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace tavrin;

TEST(MakeUniqueFileName, NumbersBeforeTheExtension)
{
    testsupport::TempDir dir;
    std::string name = dir.file("data.txt");
    EXPECT_EQ(MakeUniqueFileName(name), name);
    dir.write("data.txt", "x");
    EXPECT_EQ(MakeUniqueFileName(name), dir.file("data-1.txt"));
    dir.write("data-1.txt", "x");
    EXPECT_EQ(MakeUniqueFileName(name), dir.file("data-2.txt"));
    dir.write("noext", "x");
    EXPECT_EQ(MakeUniqueFileName(dir.file("noext")), dir.file("noext-1"));
}

TEST(IsDriveWritable, ProbesWithoutTouchingExistingFiles)
{
    testsupport::TempDir dir;
    // A file with the probe's own name survives the probe untouched.
    std::string probe = dir.write("~!789.~~~", "precious");
    std::string ini = dir.write("Tavrin.ini", "[MATRIX]\r\n");
    EXPECT_TRUE(IsDriveWritable(ini));
    EXPECT_TRUE(IsDriveWritable(dir.path()));
    EXPECT_TRUE(IsDriveWritable("  " + dir.file("not-yet-there.ini") + "  "));
    EXPECT_EQ(testsupport::readAll(probe), "precious");
    EXPECT_EQ(testsupport::readAll(ini), "[MATRIX]\r\n");
    std::size_t files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 2u);
    EXPECT_FALSE(IsDriveWritable(""));
    EXPECT_FALSE(IsDriveWritable("   "));
    EXPECT_FALSE(IsDriveWritable(dir.file("no/such/folder/Tavrin.ini")));
}

TEST(IsDriveWritable, ReadOnlyFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    testsupport::TempDir dir;
    ::chmod(dir.path().c_str(), 0500);
    EXPECT_FALSE(IsDriveWritable(dir.file("Tavrin.ini")));
    ::chmod(dir.path().c_str(), 0700);
}
