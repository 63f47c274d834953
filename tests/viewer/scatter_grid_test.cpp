// Scattered points from the command line: --grid FILE --size RxC prints them
// gridded by natural neighbours; --export --scatter draws them as point
// lists, gridded into surfaces with --grid RxC; --model-set ViewAs=N draws
// the files' matrices as any plot kind.
#include "platform/text/number_text.h"
#include "viewer/cli/command_line.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>
#include <sys/wait.h>

using namespace tavrin;

namespace {

struct Result {
    int status;
    std::string err;
    std::string out;
};

// The program as a user runs it, with no display (no leak check at exit, as
// for the other export tests: the GL driver unloads then).
Result run(const std::string& args, const testsupport::TempDir& dir)
{
    const char* bin = std::getenv("TAVRIN_BIN");
    std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0 TAVRIN_HOME='" + dir.path() +
                      "' '" + (bin ? bin : "tavrin") + "' " + args + " 2>'" + dir.file("err") + "' >'" +
                      dir.file("out") + "'";
    int st = std::system(cmd.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, testsupport::readAll(dir.file("err")),
            testsupport::readAll(dir.file("out"))};
}

int darkPixels(const QImage& image)
{
    int n = 0;
    for (int y = 8; y < image.height() - 8; ++y)
        for (int x = 8; x < image.width() - 8; ++x)
            n += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
    return n;
}

// Scattered points of a function, written the way data files hold them.
std::string scatterFile(const testsupport::TempDir& dir, const std::string& name, int n,
                        double (*f)(double, double))
{
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> X(-3.0, 2.0), Y(100.0, 104.0);
    std::string text = "* scattered X Y Z\r\n";
    for (int k = 0; k < n; ++k) {
        double x = X(rng), y = Y(rng);
        std::string line;
        platform::appendShortest(line, x);
        line += ' ';
        platform::appendShortest(line, y);
        line += ' ';
        platform::appendShortest(line, f(x, y));
        text += line + "\r\n";
    }
    return dir.write(name, text);
}

double plane(double x, double y)
{
    return 1.5 * x - 0.25 * y + 2.0;
}

std::vector<std::vector<double>> readNumbers(const std::string& text)
{
    std::vector<std::vector<double>> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<double> values;
        std::size_t p = 0;
        while (p < line.size()) {
            std::size_t e = line.find(' ', p);
            if (e == std::string::npos)
                e = line.size();
            double v = 0;
            EXPECT_TRUE(platform::parseDecimal(line.substr(p, e - p), v)) << line;
            values.push_back(v);
            p = e + 1;
        }
        lines.push_back(values);
    }
    return lines;
}

} // namespace

TEST(ScatterOptions, AreParsedAndChecked)
{
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--grid", "d.txt", "--size", "30x40", "--defaults", "0", "0", "1"}, cl, error))
        << error;
    EXPECT_EQ(cl.mode, CommandLine::Mode::Grid);
    EXPECT_EQ(cl.files, std::vector<std::string>{"d.txt"});
    EXPECT_EQ(*cl.gridSize, (std::array<int, 2>{30, 40}));

    CommandLine ex;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "a.txt", "--scatter", "b.txt", "--grid", "12X9"}, ex, error))
        << error;
    EXPECT_TRUE(ex.exportTo.scatter);
    EXPECT_EQ(*ex.exportTo.grid, (std::array<int, 2>{12, 9}));
    EXPECT_EQ(ex.files, (std::vector<std::string>{"a.txt", "b.txt"}));

    for (auto bad : std::vector<std::vector<std::string>>{{"--grid", "d.txt"},
                                                          {"--grid", "d.txt", "e.txt", "--size", "3x3"},
                                                          {"--grid", "d.txt", "--size", "1x30"},
                                                          {"--grid", "d.txt", "--size", "3000x3000"},
                                                          {"--grid", "d.txt", "--size", "4097x2"},
                                                          {"--grid", "d.txt", "--size", "ten"},
                                                          {"--grid", "d.txt", "--size", "3x3", "--rect", "0", "1",
                                                           "0", "1"},
                                                          {"--export", "o.png", "a.txt", "--grid", "5x5"},
                                                          {"--export", "o.png", "a.txt", "--scatter", "--sum"},
                                                          {"--export", "o.png", "a.txt", "--scatter", "--fill", "1"},
                                                          {"--scatter", "--export", "o.png", "a.txt"},
                                                          {"--matrix", "a.txt", "--grid", "b.txt"}}) {
        CommandLine c;
        EXPECT_FALSE(ParseCommandLine(bad, c, error)) << bad[0] << " " << bad.back();
    }
}

TEST(GridCommand, PrintsAPlaneWithRowsAlongX)
{
    testsupport::TempDir dir;
    std::string data = scatterFile(dir, "plane.txt", 500, plane);
    Result r = run("--grid '" + data + "' --size 9x6", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto lines = readNumbers(r.out);
    ASSERT_EQ(lines.size(), 10u);
    ASSERT_EQ(lines[0].size(), 4u);
    const double x0 = lines[0][0], x1 = lines[0][1], y0 = lines[0][2], y1 = lines[0][3];
    EXPECT_LT(x0, -2.9);
    EXPECT_GT(x1, 1.9);
    EXPECT_GT(y0, 100.0);
    EXPECT_LT(y1, 104.0);
    // The text reads back to the doubles: the plane holds to 1e-9 at every
    // node, rows along X and columns along Y (its slopes differ, so a swap
    // would show).
    for (int i = 0; i < 9; ++i) {
        ASSERT_EQ(lines[std::size_t(i) + 1].size(), 6u);
        for (int j = 0; j < 6; ++j) {
            double x = x0 + i * (x1 - x0) / 8, y = y0 + j * (y1 - y0) / 5;
            EXPECT_NEAR(lines[std::size_t(i) + 1][std::size_t(j)], plane(x, y), 1e-9) << i << ", " << j;
        }
    }
}

TEST(GridCommand, SaysWhyPointsCannotBeGridded)
{
    testsupport::TempDir dir;
    std::string line = dir.write("line.txt", "0 0 1\n1 1 2\n2 2 3\n/ comment\n3 3 4\n");
    Result r = run("--grid '" + line + "' --size 5x5", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: cannot grid \"" + line + "\": all points lie on one line\n");
    EXPECT_EQ(r.out, "");
    std::string two = dir.write("two.txt", "0 0 1\n1 1 2\n0 0 5\n");
    r = run("--grid '" + two + "' --size 5x5", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: cannot grid \"" + two + "\": fewer than three distinct points\n");
    r = run("--grid '" + dir.file("missing.txt") + "' --size 5x5", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: cannot open file \"" + dir.file("missing.txt") + "\"\n");
}

TEST(ScatterExport, PointsAndTheirGriddedSurface)
{
    testsupport::TempDir dir;
    auto bump = [](double x, double y) { return std::exp(-(x + 0.5) * (x + 0.5) - (y - 102) * (y - 102)); };
    std::string data = scatterFile(dir, "bump.txt", 300, bump);
    std::string out = dir.file("p.png");
    Result r = run("--export '" + out + "' --scatter '" + data + "' --size 320x240", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    QImage points(QString::fromStdString(out));
    int dots = darkPixels(points);
    EXPECT_GT(dots, 300);

    r = run("--export '" + out + "' --scatter '" + data +
                "' --grid 30x30 --size 320x240 --model-set DrawFilledPolygons=1",
            dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    QImage surface(QString::fromStdString(out));
    EXPECT_GT(darkPixels(surface), dots);

    // A file of points on a line cannot be gridded: the picture is made,
    // the reason is told.
    std::string line = dir.write("line.txt", "0 0 1\n1 1 2\n2 2 3\n");
    r = run("--export '" + out + "' --scatter '" + line + "' --grid 10x10 --size 320x240", dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "tavrin: warning: can't interpolate\n");
    // A file with no points fails the export, as an empty data file does:
    // a picture without it would pass for a drawing of it.
    std::string empty = dir.write("empty.txt", "* nothing here\r\n");
    r = run("--export '" + out + "' --scatter '" + empty + "' '" + data + "' --size 320x240", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: \"" + empty + "\" holds no points\n");
    // So does a value the plot cannot carry, and the message names the file.
    std::string huge = dir.write("huge.txt", "0 0 1\n1 0 2\n0 1 5e38\n1 1 3\n");
    r = run("--export '" + out + "' --scatter '" + huge + "' --size 320x240", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("\"" + huge + "\": "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("(5e+38)"), std::string::npos) << r.err;
}

TEST(ScatterExport, EveryKindFromTheFilesMatrices)
{
    testsupport::TempDir dir;
    std::string saddle = TAVRIN_SOURCE_DIR "/examples/saddle.txt";
    std::string out = dir.file("k.png");
    for (int kind : {0, 2, 4, 5}) {
        Result r = run("--export '" + out + "' '" + saddle + "' --rect 0 10 0 10 --scale --size 320x240 "
                       "--model-set ViewAs=" + std::to_string(kind),
                       dir);
        ASSERT_EQ(r.status, 0) << kind << ": " << r.err;
        EXPECT_EQ(r.err, "") << kind;
        EXPECT_GT(darkPixels(QImage(QString::fromStdString(out))), 200) << kind;
    }
    // A matrix holds no vectors: said, not drawn.
    Result r = run("--export '" + out + "' '" + saddle + "' --rect 0 10 0 10 --scale --size 320x240 "
                   "--model-set ViewAs=3",
                   dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "tavrin: warning: The data of this model does not fit its plot kind\n");
}
