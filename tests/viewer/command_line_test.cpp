#include "viewer/cli/command_line.h"
#include "viewer/cli/headless_commands.h"
#include "viewer/settings/viewer_settings.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace tavrin;

namespace {

bool parse(std::vector<std::string> args, CommandLine& cl, std::string& error)
{
    cl = CommandLine();
    error.clear();
    return ParseCommandLine(args, cl, error);
}

// Runs a matrix command with captured output; returns the exit status.
int run(const CommandLine& cl, const std::string& folder, std::string& out, std::string& err)
{
    std::FILE* o = std::tmpfile();
    std::FILE* e = std::tmpfile();
    int rc = RunMatrixCommand(cl, folder, o, e);
    auto slurp = [](std::FILE* f) {
        std::string s;
        std::rewind(f);
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            s.append(buf, n);
        std::fclose(f);
        return s;
    };
    out = slurp(o);
    err = slurp(e);
    return rc;
}

} // namespace

TEST(CommandLine, ParsesCommandsAndOptions)
{
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(parse({"--matrix", "a.txt", "--rect", "-1", "5", "0", "7", "--scale", "--fill", "3", "--defaults",
                       "1,5", "2", "-3"},
                      cl, error))
        << error;
    EXPECT_EQ(cl.mode, CommandLine::Mode::Matrix);
    EXPECT_EQ(cl.files, std::vector<std::string>{"a.txt"});
    EXPECT_EQ(cl.rect->xmin, -1);
    EXPECT_EQ(cl.rect->ymax, 7);
    EXPECT_TRUE(*cl.yesScale);
    EXPECT_EQ(*cl.fillMode, 3);
    EXPECT_EQ((*cl.defaults)[0], "1,5");

    ASSERT_TRUE(parse({"--sum", "a", "b", "--no-scale"}, cl, error));
    EXPECT_EQ(cl.mode, CommandLine::Mode::Sum);
    EXPECT_EQ(cl.files.size(), 2u);
    EXPECT_FALSE(*cl.yesScale);

    ASSERT_TRUE(parse({"x.txt", "y.txt"}, cl, error));
    EXPECT_EQ(cl.mode, CommandLine::Mode::Window);
    EXPECT_FALSE(cl.headless());

    ASSERT_TRUE(parse({"--", "--odd-name.txt"}, cl, error));
    EXPECT_EQ(cl.files, std::vector<std::string>{"--odd-name.txt"});
}

TEST(CommandLine, BadOptionsAreExplained)
{
    CommandLine cl;
    std::string error;
    EXPECT_FALSE(parse({"--bogus"}, cl, error));
    EXPECT_NE(error.find("--bogus"), std::string::npos);
    EXPECT_FALSE(parse({"--matrix"}, cl, error));
    EXPECT_FALSE(parse({"--matrix", "a", "b"}, cl, error));
    EXPECT_FALSE(parse({"--sum"}, cl, error));
    EXPECT_FALSE(parse({"--matrix", "a", "--rect", "1", "2", "3"}, cl, error));
    EXPECT_FALSE(parse({"--matrix", "a", "--rect", "1", "2", "3", "x"}, cl, error));
    EXPECT_FALSE(parse({"--matrix", "a", "--rect", "1", "2", "3", "99999999999"}, cl, error));
    EXPECT_FALSE(parse({"--matrix", "a", "--fill", "5"}, cl, error));
    EXPECT_FALSE(parse({"--matrix", "a", "--fill", "-1"}, cl, error));
    EXPECT_FALSE(parse({"--matrix", "a", "--defaults", "1", "x", "3"}, cl, error));
    EXPECT_NE(error.find("\"x\""), std::string::npos);
    EXPECT_FALSE(parse({"--matrix", "a", "--sum", "b"}, cl, error));
    EXPECT_FALSE(parse({"a.txt", "--fill", "1"}, cl, error));
}

TEST(MatrixCommand, PrintsRowsPerXIndexInShortestForm)
{
    testsupport::TempDir dir;
    std::string f = dir.write("d.txt", "0 0 0.1\n1 0 2\n0 1 -0\n1 1 1e-300\n");
    CommandLine cl;
    std::string error, out, err;
    ASSERT_TRUE(parse({"--matrix", f, "--rect", "0", "2", "0", "1", "--no-scale", "--fill", "0"}, cl, error));
    EXPECT_EQ(run(cl, dir.path(), out, err), 0) << err;
    EXPECT_EQ(out, "0 2 0 1\n0.1 -0\n2 1e-300\n0 0\n");
    EXPECT_EQ(err, "");
}

TEST(MatrixCommand, OptionsNotGivenComeFromTheSettingsFile)
{
    testsupport::TempDir dir;
    WindowParameters p;
    p.rect = {0, 1, 0, 0};
    p.modeMatrixFill = 2;
    p.zdef = "7";
    SaveWindowParameters(dir.file("Tavrin.ini"), p);
    std::string before = testsupport::readAll(dir.file("Tavrin.ini"));
    std::string f = dir.write("d.txt", "0 0\n");
    CommandLine cl;
    std::string error, out, err;
    ASSERT_TRUE(parse({"--matrix", f}, cl, error));
    EXPECT_EQ(run(cl, dir.path(), out, err), 0);
    EXPECT_EQ(out, "0 1 0 0\n7\n7\n"); // Z = Zdef = 7, fill with the maximum 7
    ASSERT_TRUE(parse({"--matrix", f, "--fill", "0", "--defaults", "0", "0", "0,123456"}, cl, error));
    EXPECT_EQ(run(cl, dir.path(), out, err), 0);
    EXPECT_EQ(out, "0 1 0 0\n0.12346\n0\n"); // defaults are normalised as in the window
    EXPECT_EQ(testsupport::readAll(dir.file("Tavrin.ini")), before); // never written
}

TEST(MatrixCommand, ErrorsGoToStandardErrorWithStatusOne)
{
    testsupport::TempDir dir;
    std::string f = dir.write("d.txt", "1 1 1\n");
    std::string empty = dir.write("empty.txt", "");
    CommandLine cl;
    std::string error, out, err;

    ASSERT_TRUE(parse({"--matrix", f, "--rect", "5", "4", "0", "0"}, cl, error));
    EXPECT_EQ(run(cl, dir.path(), out, err), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "tavrin: Error creating variant array\n");

    ASSERT_TRUE(parse({"--matrix", dir.file("missing.txt")}, cl, error));
    EXPECT_EQ(run(cl, dir.path(), out, err), 1);
    EXPECT_NE(err.find("missing.txt"), std::string::npos);

    ASSERT_TRUE(parse({"--matrix", empty}, cl, error));
    EXPECT_EQ(run(cl, dir.path(), out, err), 1);
    EXPECT_NE(err.find("empty"), std::string::npos);

    ASSERT_TRUE(parse({"--matrix", f, "--rect", "0", "100000", "0", "100000"}, cl, error));
    EXPECT_EQ(run(cl, dir.path(), out, err), 1);
    EXPECT_EQ(err, "tavrin: Error creating variant array\n");
}

TEST(SumCommand, AddsFilesAndReportsEmptyOnes)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a.txt", "0 0 1\n");
    std::string b = dir.write("b.txt", "0 0 2\n");
    std::string e = dir.write("e.txt", "");
    CommandLine cl;
    std::string error, out, err;
    ASSERT_TRUE(parse({"--sum", a, e, b, "--rect", "0", "1", "0", "0", "--fill", "0"}, cl, error));
    EXPECT_EQ(run(cl, dir.path(), out, err), 0);
    EXPECT_EQ(out, "0 1 0 0\n3\n0\n");
    EXPECT_EQ(err, "tavrin: Ошибка при формировании поверхности из файла : " + e + "\n");
}
