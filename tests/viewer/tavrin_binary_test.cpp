// The command line as a user runs it: the real program, its exit status and
// its output streams.

#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result runTavrin(const std::string& args, const testsupport::TempDir& dir)
{
    const char* bin = std::getenv("TAVRIN_BIN");
    std::string cmd = "TAVRIN_HOME='" + dir.path() + "' '" + (bin ? bin : "tavrin") + "' " + args + " >'" +
                      dir.file("out") + "' 2>'" + dir.file("err") + "'";
    int st = std::system(cmd.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, testsupport::readAll(dir.file("out")),
            testsupport::readAll(dir.file("err"))};
}

} // namespace

TEST(TavrinBinary, MatrixOfAFile)
{
    testsupport::TempDir dir;
    dir.write("d.txt", "* X Y Z\r\n1,5;2,5;3\r\n");
    Result r = runTavrin("--matrix '" + dir.file("d.txt") + "' --rect 0 1 0 1 --no-scale --fill 1", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 1 0 1\n3 3\n3 3\n");
}

TEST(TavrinBinary, ErrorsAndUsage)
{
    testsupport::TempDir dir;
    dir.write("d.txt", "1 1 1\n");
    Result r = runTavrin("--matrix '" + dir.file("d.txt") + "' --rect 3 2 0 0", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: Error creating variant array\n");
    r = runTavrin("--frobnicate", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("unknown option --frobnicate"), std::string::npos);
    r = runTavrin("--help", dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--matrix"), std::string::npos);
}
