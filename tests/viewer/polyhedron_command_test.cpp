// tavrin --polyhedron: its options, --info against the published counts of
// vertices, edges and faces, its errors, and the drawing of a polyhedron
// with --export.
#include "viewer/cli/command_line.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <map>
#include <sys/wait.h>

using namespace tavrin;

namespace {

struct Result {
    int status;
    std::string out, err;
};

// The program as a user runs it, with no display (no leak check at exit:
// see the export tests).
Result runTavrin(const std::string& args, const testsupport::TempDir& dir)
{
    const char* bin = std::getenv("TAVRIN_BIN");
    std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0 TAVRIN_HOME='" + dir.path() +
                      "' '" + (bin ? bin : "tavrin") + "' " + args + " >'" + dir.file("out") + "' 2>'" +
                      dir.file("err") + "'";
    int st = std::system(cmd.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, testsupport::readAll(dir.file("out")),
            testsupport::readAll(dir.file("err"))};
}

std::map<std::string, std::string> Info(const std::string& request, const testsupport::TempDir& dir)
{
    Result r = runTavrin("--polyhedron '" + request + "' --info", dir);
    EXPECT_EQ(r.status, 0) << request << ": " << r.err;
    std::map<std::string, std::string> values;
    std::size_t start = 0;
    while (start < r.out.size()) {
        std::size_t end = r.out.find('\n', start);
        std::string line = r.out.substr(start, end - start);
        std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
        start = end == std::string::npos ? r.out.size() : end + 1;
    }
    return values;
}

} // namespace

TEST(PolyhedronCommand, OptionsNeedInfoOrExport)
{
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--polyhedron", "cube", "--info"}, cl, error)) << error;
    EXPECT_EQ(cl.mode, CommandLine::Mode::PolyhedronInfo);
    EXPECT_EQ(*cl.polyhedron, "cube");
    CommandLine ex;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "--polyhedron", "+#42", "--size", "300x200"}, ex, error))
        << error;
    EXPECT_EQ(ex.mode, CommandLine::Mode::Export);
    EXPECT_EQ(*ex.polyhedron, "+#42");
    auto refused = [](std::vector<std::string> args) {
        CommandLine bad;
        std::string why;
        EXPECT_FALSE(ParseCommandLine(args, bad, why));
        return why;
    };
    EXPECT_EQ(refused({"--polyhedron", "cube"}), "--polyhedron needs --export or --info");
    EXPECT_EQ(refused({"--info"}), "--info needs --polyhedron");
    EXPECT_EQ(refused({"--export", "o.png", "d.txt", "--polyhedron", "cube"}), "--polyhedron draws no data files");
    EXPECT_EQ(refused({"--matrix", "d.txt", "--polyhedron", "cube", "--info"}),
              "--info cannot be combined with another command");
    EXPECT_EQ(refused({"--polyhedron"}), "option --polyhedron needs 1 value");
    EXPECT_EQ(refused({"--export", "o.png", "--scatter", "--polyhedron", "cube"}),
              "--polyhedron draws no data files: --scatter and --sum do not apply");
}

TEST(PolyhedronCommand, InfoOfEntriesSymbolsAndDuals)
{
    testsupport::TempDir dir;
    auto cube = Info("cube", dir);
    EXPECT_EQ(cube["Name"], "cube");
    EXPECT_EQ(cube["Dual"], "octahedron");
    EXPECT_EQ(cube["Wythoff"], "3|2 4");
    EXPECT_EQ(cube["Number"], "11");
    EXPECT_EQ(cube["Coxeter"], "18");
    EXPECT_EQ(cube["Wenninger"], "3");
    EXPECT_EQ(cube["Vertices"], "8");
    EXPECT_EQ(cube["Edges"], "12");
    EXPECT_EQ(cube["Faces"], "6");
    EXPECT_EQ(Info("3|2 4", dir), cube);
    auto dual = Info("*octahedron", dir);
    EXPECT_EQ(dual["Name"], "cube");
    EXPECT_EQ(dual["Vertices"], "8");
    EXPECT_EQ(dual["Faces"], "6");

    // Published counts of a few.
    struct Case {
        const char* request;
        const char* name;
        const char* v;
        const char* e;
        const char* f;
    };
    for (const Case& c : {Case{"#17", "snub cube", "24", "60", "38"},
                          Case{"2 3 5|", "truncated icosidodechedon", "120", "180", "62"},
                          Case{"|3/2 5/3 3 5/2", "great dirhombicosidodecahedron", "60", "240", "124"},
                          Case{"5/2 3|3", "small icosicosidodecahedron", "60", "120", "52"},
                          Case{"+*great icosahedron", "great stellated dodecahedron", "20", "30", "12"},
                          Case{"2 7|2", "heptagonal prism", "14", "21", "9"},
                          Case{"|2 2 8", "octagonal antiprism", "16", "32", "18"}}) {
        auto info = Info(c.request, dir);
        EXPECT_EQ(info["Name"], c.name) << c.request;
        EXPECT_EQ(info["Vertices"], c.v) << c.request;
        EXPECT_EQ(info["Edges"], c.e) << c.request;
        EXPECT_EQ(info["Faces"], c.f) << c.request;
    }
    EXPECT_EQ(Info("pentagonal prism", dir)["Coxeter"], "");
}

TEST(PolyhedronCommand, ErrorsAreTheGenerators)
{
    testsupport::TempDir dir;
    Result r = runTavrin("--polyhedron '#0' --info", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: Polyhedron: zero index\n");
    EXPECT_EQ(runTavrin("--polyhedron '#81' --info", dir).err, "tavrin: Polyhedron: index too big\n");
    EXPECT_EQ(runTavrin("--polyhedron 5/0 --info", dir).err, "tavrin: Polyhedron: zero denominator\n");
    EXPECT_EQ(runTavrin("--polyhedron 'no such thing' --info", dir).err, "tavrin: Polyhedron: unknown name\n");
    r = runTavrin("--polyhedron '*cubohemioctahedron' --info", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: Polyhedron: no dual, a face plane passes through the centre\n");
}

TEST(PolyhedronCommand, ExportDrawsThePolyhedronColouredBySides)
{
    testsupport::TempDir dir;
    std::string out = dir.file("p.png");
    Result r = runTavrin("--export '" + out +
                             "' --polyhedron '+rhombicuboctahedron' --size 300x300 --set ModelBox.AxesStyle=2",
                         dir);
    ASSERT_EQ(r.status, 0) << r.err;
    QImage image(QString::fromStdString(out));
    ASSERT_FALSE(image.isNull());
    int red = 0, green = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            red += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60 ? 1 : 0;
            green += qGreen(p) > 200 && qRed(p) < 60 && qBlue(p) < 60 ? 1 : 0;
        }
    EXPECT_GT(red, 300);
    EXPECT_GT(green, 3000);

    // A request that fails leaves no picture; the generator says why.
    std::string bad = dir.file("bad.png");
    r = runTavrin("--export '" + bad + "' --polyhedron '#0'", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error: Polyhedron: zero index [kaleido:"), std::string::npos);
    EXPECT_NE(r.err.find("tavrin: Polyhedron: zero index"), std::string::npos);
    EXPECT_FALSE(QImage(QString::fromStdString(bad)).width() > 0);
}
