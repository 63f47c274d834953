#include "platform/system/mapped_file.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace platform;

TEST(MappedFile, MapsRegularFilesAndReportsErrors)
{
    testsupport::TempDir dir;
    std::string big(300000, 'x');
    big[123456] = '\0';
    big.back() = '7';
    MappedFile f;
    ASSERT_TRUE(f.open(dir.write("big.bin", big)));
    EXPECT_TRUE(f.mapped());
    EXPECT_EQ(f.view(), big);
    EXPECT_FALSE(f.truncated());

    MappedFile empty;
    ASSERT_TRUE(empty.open(dir.write("empty", "")));
    EXPECT_TRUE(empty.empty());
    EXPECT_FALSE(empty.mapped());

    std::string err;
    EXPECT_FALSE(f.open(dir.file("missing"), &err));
    EXPECT_NE(err.find("missing"), std::string::npos);
    EXPECT_NE(err.find("Cannot open file"), std::string::npos);
    EXPECT_TRUE(f.empty()); // the old mapping is gone
    EXPECT_FALSE(f.open(dir.path(), &err)); // a folder
    EXPECT_FALSE(err.empty());
}

TEST(MappedFile, MovesKeepTheMappingAndItsGuard)
{
    testsupport::TempDir dir;
    std::string text(100000, 'a');
    MappedFile a;
    ASSERT_TRUE(a.open(dir.write("a", text)));
    MappedFile b(std::move(a));
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(b.view(), text);
    MappedFile c(std::string_view("in memory"));
    c = std::move(b);
    EXPECT_TRUE(c.mapped());
    EXPECT_EQ(c.view(), text);
}

TEST(MappedFile, ReleasedPagesReadBackFromTheFile)
{
    testsupport::TempDir dir;
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += std::to_string(i) + '\n';
    MappedFile f;
    ASSERT_TRUE(f.open(dir.write("lines", text)));
    f.prefetch(0, f.size());
    f.release(0, f.size());
    f.release(5, 17);           // less than a page: nothing
    f.release(f.size() - 3, f.size() + 100);
    EXPECT_EQ(f.view(), text);
}

// A file cut short under the mapping must not kill the process: the
// missing pages read as zeros and the damage is reported.
TEST(MappedFile, FileCutShortReadsZerosInsteadOfCrashing)
{
    testsupport::TempDir dir;
    std::string text(1 << 20, 'z');
    std::string path = dir.write("shrinks", text);
    MappedFile f;
    ASSERT_TRUE(f.open(path));
    ASSERT_TRUE(f.mapped());
    EXPECT_EQ(f.data()[0], 'z');
    ASSERT_EQ(::truncate(path.c_str(), 5000), 0);
    std::size_t zs = 0, zeros = 0;
    for (char ch : f.view()) {
        zs += ch == 'z';
        zeros += ch == '\0';
    }
    EXPECT_TRUE(f.truncated());
    EXPECT_GE(zs, 5000u);
    EXPECT_EQ(zs + zeros, text.size());
    EXPECT_GT(zeros, 0u);
    // Another mapping of the same file is not marked.
    MappedFile g;
    ASSERT_TRUE(g.open(path));
    EXPECT_FALSE(g.truncated());
    EXPECT_EQ(g.size(), 5000u);
}

TEST(MappedFile, PipesAndSizelessFilesAreRead)
{
    testsupport::TempDir dir;
    std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "1 2 " + std::to_string(i) + "\r\n";
    std::thread writer([&] {
        int fd = ::open(fifo.c_str(), O_WRONLY);
        std::size_t done = 0;
        while (fd >= 0 && done < text.size()) {
            ssize_t n = ::write(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        if (fd >= 0)
            ::close(fd);
    });
    MappedFile f;
    ASSERT_TRUE(f.open(fifo));
    writer.join();
    EXPECT_FALSE(f.mapped());
    EXPECT_EQ(f.view(), text);

    MappedFile proc; // a regular file that reports size 0
    ASSERT_TRUE(proc.open("/proc/self/status"));
    EXPECT_FALSE(proc.mapped());
    EXPECT_NE(proc.view().find("Name:"), std::string_view::npos);
}
