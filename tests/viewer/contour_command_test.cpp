// tavrin --contours: the Z contour lines of a file's matrix as text blocks,
// points in the file's own coordinates, closed rings closed and every
// point on its level; the options and their errors.
#include "viewer/cli/command_line.h"
#include "viewer/cli/contour_command.h"
#include "tests/plot/contour_check.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace tavrin;

namespace {

struct Block {
    double level = 0.0;
    std::vector<std::array<double, 2>> points;
};

double number(std::string_view text)
{
    double v = 0.0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_EQ(r.ec, std::errc()) << text;
    EXPECT_EQ(r.ptr, text.data() + text.size()) << text;
    return v;
}

// Reads the blocks back, checking the form as it goes: "# level Z", then
// "X Y" lines, one blank line between blocks.
std::vector<Block> readBlocks(const std::string& text)
{
    std::vector<Block> blocks;
    bool blank = true;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        EXPECT_NE(end, std::string::npos) << "the last line ends with a line feed";
        if (end == std::string::npos)
            break;
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        if (line.empty()) {
            EXPECT_FALSE(blank) << "one blank line between blocks";
            blank = true;
            continue;
        }
        if (line.rfind("# level ", 0) == 0) {
            EXPECT_TRUE(blank || blocks.empty());
            blocks.push_back({number(line.substr(8)), {}});
            blank = false;
            continue;
        }
        EXPECT_FALSE(blocks.empty());
        std::size_t space = line.find(' ');
        EXPECT_NE(space, std::string_view::npos) << line;
        if (blocks.empty() || space == std::string_view::npos)
            continue;
        blocks.back().points.push_back({number(line.substr(0, space)), number(line.substr(space + 1))});
    }
    EXPECT_FALSE(blank && !blocks.empty()) << "no blank line at the end";
    return blocks;
}

std::string slurp(std::FILE* f)
{
    std::string s;
    std::rewind(f);
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        s.append(buf, n);
    std::fclose(f);
    return s;
}

int run(const std::vector<std::string>& args, const std::string& folder, std::string& out, std::string& err)
{
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(args, cl, error)) {
        err = error;
        return -1;
    }
    std::FILE* o = std::tmpfile();
    std::FILE* e = std::tmpfile();
    int rc = RunContourCommand(cl, folder, o, e);
    out = slurp(o);
    err = slurp(e);
    return rc;
}

// A data file of f(x, y) at x = x0 + i·step, y = y0 + j·step.
std::string grid(int n, double x0, double y0, double step, const std::function<double(double, double)>& f)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            double x = x0 + i * step, y = y0 + j * step;
            auto put = [&text](double v) {
                char b[32];
                auto r = std::to_chars(b, b + sizeof b, v);
                text.append(b, r.ptr);
            };
            put(x);
            text += ' ';
            put(y);
            text += ' ';
            put(f(x, y));
            text += '\n';
        }
    return text;
}

} // namespace

TEST(ContourCommand, Options)
{
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--contours", "a.txt", "--levels", "7", "--rect", "0", "9", "0", "9"}, cl, error))
        << error;
    EXPECT_EQ(cl.mode, CommandLine::Mode::Contours);
    EXPECT_EQ(cl.files, std::vector<std::string>{"a.txt"});
    EXPECT_EQ(cl.contourLevels, 7);
    EXPECT_TRUE(cl.headless());

    for (std::vector<std::string> bad : {std::vector<std::string>{"--contours"},
                                         {"--contours", "a", "b"},
                                         {"--contours", "a", "--levels"},
                                         {"--contours", "a", "--levels", "x"},
                                         {"--contours", "a", "--levels", "-1"},
                                         {"--matrix", "a", "--levels", "3"},
                                         {"--contours", "a", "--matrix", "b"}}) {
        CommandLine c;
        EXPECT_FALSE(ParseCommandLine(bad, c, error)) << bad.back();
        EXPECT_FALSE(error.empty());
    }
}

TEST(ContourCommand, ConeRingsInTheFilesCoordinates)
{
    // A cone over x, y in −1 … 1, stretched onto 41 × 41 cells: the points
    // come back in −1 … 1, rings closed, each about its level's radius from
    // the apex.
    testsupport::TempDir dir;
    std::string f = dir.write("cone.txt", grid(41, -1.0, -1.0, 0.05, [](double x, double y) {
                                  return -std::hypot(x - 0.013, y + 0.021);
                              }));
    std::string out, err;
    ASSERT_EQ(run({"--contours", f, "--rect", "0", "40", "0", "40", "--scale", "--fill", "0"}, dir.path(), out, err), 0)
        << err;
    EXPECT_EQ(err, "");
    EXPECT_EQ(out.find(','), std::string::npos);
    std::vector<Block> blocks = readBlocks(out);
    ASSERT_GT(blocks.size(), 5u);
    int rings = 0;
    for (const Block& b : blocks) {
        ASSERT_GE(b.points.size(), 2u);
        for (const auto& p : b.points) {
            EXPECT_GE(p[0], -1.0);
            EXPECT_LE(p[0], 1.0);
            EXPECT_GE(p[1], -1.0);
            EXPECT_LE(p[1], 1.0);
        }
        double r = -b.level;
        if (r < 0.9) {
            ++rings;
            EXPECT_EQ(b.points.front(), b.points.back()) << "ring " << r;
            for (const auto& p : b.points)
                EXPECT_NEAR(std::hypot(p[0] - 0.013, p[1] + 0.021), r, 0.03);
        }
    }
    EXPECT_GE(rings, 5);
}

TEST(ContourCommand, EveryPointOnItsLevel)
{
    // Unscaled, from 0: the coordinates are the matrix's indices.
    testsupport::TempDir dir;
    auto f = [](double x, double y) { return std::sin(x * 0.4) * std::cos(y * 0.3) + 0.01 * x; };
    std::string file = dir.write("waves.txt", grid(30, 0.0, 0.0, 1.0, f));
    for (const char* levels : {"", "0", "1", "12"}) {
        std::vector<std::string> args{"--contours", file, "--rect", "0", "29", "0", "29", "--no-scale", "--fill", "0"};
        if (*levels) {
            args.push_back("--levels");
            args.push_back(levels);
        }
        std::string out, err;
        ASSERT_EQ(run(args, dir.path(), out, err), 0) << err;
        std::vector<Block> blocks = readBlocks(out);
        if (std::string(levels) == "0") {
            EXPECT_TRUE(blocks.empty());
            continue;
        }
        ASSERT_FALSE(blocks.empty());
        auto height = [&](std::int32_t i, std::int32_t j) { return f(i, j); };
        for (const Block& b : blocks) {
            for (const auto& p : b.points)
                ASSERT_NEAR(contourcheck::CellValue(height, 30, 30, p[1], p[0]), b.level, 1e-9);
            if (b.points.front() != b.points.back()) {
                // Open lines end on the border.
                for (const auto& e : {b.points.front(), b.points.back()})
                    EXPECT_TRUE(e[0] == 0 || e[0] == 29 || e[1] == 0 || e[1] == 29);
            }
        }
    }
}

TEST(ContourCommand, ManualLevelsAndFlatFiles)
{
    testsupport::TempDir dir;
    // Heights 0 … 4 along X: with 3 levels, lines at 1, 2 and 3 only.
    std::string plane = dir.write("plane.txt", grid(5, 0.0, 0.0, 1.0, [](double x, double) { return x; }));
    std::string out, err;
    ASSERT_EQ(run({"--contours", plane, "--rect", "0", "4", "0", "4", "--no-scale", "--levels", "3"}, dir.path(), out,
                  err),
              0)
        << err;
    std::vector<Block> blocks = readBlocks(out);
    ASSERT_EQ(blocks.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(blocks[std::size_t(k)].level, k + 1);
        for (const auto& p : blocks[std::size_t(k)].points)
            EXPECT_EQ(p[0], k + 1);
    }

    std::string flat = dir.write("flat.txt", "0 0 5\n1 1 5\n");
    ASSERT_EQ(run({"--contours", flat, "--rect", "0", "1", "0", "1", "--no-scale", "--fill", "1"}, dir.path(), out, err),
              0);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("flat"), std::string::npos);

    EXPECT_EQ(run({"--contours", dir.file("none.txt")}, dir.path(), out, err), 1);
    EXPECT_NE(err.find("none.txt"), std::string::npos);
    std::string empty = dir.write("empty.txt", "");
    EXPECT_EQ(run({"--contours", empty}, dir.path(), out, err), 1);
    EXPECT_NE(err.find("empty"), std::string::npos);
}
