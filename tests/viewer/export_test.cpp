// tavrin --export as a user runs it with no display: the options, the
// picture of every example file, the title and border, property errors,
// and the atomic write of the picture.
#include "platform/system/file_io.h"
#include "viewer/binding/initial_state.h"
#include "viewer/cli/command_line.h"
#include "viewer/cli/export_command.h"
#include "tests/test_support.h"

#include "platform/automation/class_registry.h"
#include "plot/core/plot_registration.h"
#include "script/library/standard_library.h"
#include "script/program/script.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <span>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

using namespace tavrin;

namespace {

struct Result {
    int status;
    std::string err;
    std::string out;
};

// The program as a user runs it, with no display. Its leak check at exit is
// off: at exit the GL dispatch library unloads the driver it opened, and the
// leak checker then trips over the driver's thread-local storage (a fault of
// the checker, seen on minimal systems). The drawing code itself is
// leak-checked in the rendering tests, in process.
Result runExport(const std::string& args, const testsupport::TempDir& dir)
{
    const char* bin = std::getenv("TAVRIN_BIN");
    std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0 TAVRIN_HOME='" + dir.path() +
                      "' '" +
                      (bin ? bin : "tavrin") + "' --export " + args + " 2>'" + dir.file("err") + "' >'" +
                      dir.file("out") + "'";
    int st = std::system(cmd.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, testsupport::readAll(dir.file("err")),
            testsupport::readAll(dir.file("out"))};
}

// The program with any arguments.
Result runTavrin(const std::string& args, const testsupport::TempDir& dir)
{
    const char* bin = std::getenv("TAVRIN_BIN");
    std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0 TAVRIN_HOME='" + dir.path() +
                      "' '" + (bin ? bin : "tavrin") + "' " + args + " 2>'" + dir.file("err") + "' >'" +
                      dir.file("out") + "'";
    int st = std::system(cmd.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, testsupport::readAll(dir.file("err")),
            testsupport::readAll(dir.file("out"))};
}

int darkPixels(const QImage& image, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

TEST(ExportOptions, AreParsedAfterExport)
{
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "a.txt", "b.txt", "--sum", "--size", "640x480", "--set",
                                  "Tilt=60", "--set", "Lighting=1", "--model-set", "PolygonColormap=1", "--rect",
                                  "0", "5", "0", "5"},
                                 cl, error))
        << error;
    EXPECT_EQ(cl.mode, CommandLine::Mode::Export);
    EXPECT_EQ(cl.exportTo.output, "o.png");
    EXPECT_EQ(cl.files, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_TRUE(cl.exportTo.sum);
    EXPECT_EQ(cl.exportTo.width, 640);
    EXPECT_EQ(cl.exportTo.height, 480);
    ASSERT_EQ(cl.exportTo.sets.size(), 2u);
    EXPECT_EQ(cl.exportTo.sets[0], (std::pair<std::string, std::string>{"Tilt", "60"}));
    EXPECT_EQ(cl.exportTo.modelSets[0].second, "1");
    ASSERT_TRUE(cl.rect);

    CommandLine gets;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "a.txt", "--get", "ModelBox.ZAxis.DataMax", "--get", "Tilt",
                                  "--set", "ModelBox.AxesStyle=0"},
                                 gets, error));
    EXPECT_EQ(gets.exportTo.gets, (std::vector<std::string>{"ModelBox.ZAxis.DataMax", "Tilt"}));
    EXPECT_EQ(gets.exportTo.sets[0].first, "ModelBox.AxesStyle");
    CommandLine noName, early;
    EXPECT_FALSE(ParseCommandLine({"--export", "o.png", "a.txt", "--get"}, noName, error));
    EXPECT_FALSE(ParseCommandLine({"--get", "Tilt", "--export", "o.png", "a.txt"}, early, error));

    CommandLine sharp;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "a.txt", "--dpi", "300", "--colorbar"}, sharp, error)) << error;
    EXPECT_EQ(sharp.exportTo.dpi, 300);
    EXPECT_TRUE(sharp.exportTo.colorBar);
    CommandLine plain;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "a.txt"}, plain, error));
    EXPECT_EQ(plain.exportTo.dpi, 96);
    EXPECT_FALSE(plain.exportTo.colorBar);
    for (const char* bad : {"0", "9", "2401", "96dpi", "", "-96"}) {
        CommandLine c;
        EXPECT_FALSE(ParseCommandLine({"--export", "o.png", "a.txt", "--dpi", bad}, c, error)) << bad;
        EXPECT_NE(error.find("--dpi"), std::string::npos);
    }
    CommandLine scripted;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "--plot-script", "s.pas"}, scripted, error)) << error;
    EXPECT_EQ(scripted.exportTo.plotScript, "s.pas");
    EXPECT_TRUE(scripted.files.empty());
    CommandLine twice;
    EXPECT_FALSE(ParseCommandLine({"--export", "o.png", "--plot-script", "a", "--plot-script", "b"}, twice, error));

    CommandLine each;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "a.txt", "--each"}, each, error));
    EXPECT_FALSE(each.exportTo.sum);
    EXPECT_EQ(each.exportTo.width, 800);
    EXPECT_EQ(each.exportTo.height, 600);

    for (auto bad : std::vector<std::vector<std::string>>{{"--export", "o.png"},
                                                          {"--export", "o.png", "a", "--size", "800"},
                                                          {"--export", "o.png", "a", "--size", "0x5"},
                                                          {"--export", "o.png", "a", "--set", "Tilt"},
                                                          {"--export", "o.png", "a", "--set", "=5"},
                                                          {"--size", "5x5", "--export", "o.png", "a"},
                                                          {"--matrix", "a", "--export", "o.png"}}) {
        CommandLine c;
        EXPECT_FALSE(ParseCommandLine(bad, c, error)) << bad[2];
    }
}

TEST(ExportOptions, ValuesAreTypedAsAContainerTypesThem)
{
    EXPECT_EQ(PropertyValueFromText("60").type(), platform::varInteger);
    EXPECT_EQ(PropertyValueFromText("-2.5").toDouble(), -2.5);
    EXPECT_EQ(PropertyValueFromText("1e3").toDouble(), 1000.0);
    EXPECT_EQ(PropertyValueFromText("Title text").toString(), "Title text");
    EXPECT_EQ(PropertyValueFromText("2,5").type(), platform::varString);
}

TEST(ExportCommand, EveryExampleBecomesAPicture)
{
    testsupport::TempDir dir;
    std::string examples = TAVRIN_SOURCE_DIR "/examples/";
    DIR* d = opendir(examples.c_str());
    ASSERT_NE(d, nullptr);
    int seen = 0;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() < 5 || name.substr(name.size() - 4) != ".txt")
            continue;
        ++seen;
        std::string out = dir.file(name + ".png");
        Result r = runExport("'" + out + "' '" + examples + name + "' --rect 0 30 0 30 --scale --fill 3 --size 320x240",
                             dir);
        ASSERT_EQ(r.status, 0) << name << ": " << r.err;
        EXPECT_EQ(r.err, "");
        QImage image(QString::fromStdString(out));
        ASSERT_EQ(image.size(), QSize(320, 240)) << name;
        // A surface in the middle, the border on the edges.
        EXPECT_GT(darkPixels(image, QRect(40, 40, 240, 160)), 500) << name;
        EXPECT_EQ(darkPixels(image, QRect(0, 0, 320, 1)), 320) << name;
        EXPECT_EQ(darkPixels(image, QRect(319, 0, 1, 240)), 240) << name;
    }
    closedir(d);
    EXPECT_GE(seen, 3);
}

TEST(ExportCommand, TitlePropertiesAndSum)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a.txt", "0 0 0\n1 1 1\n2 2 0\n2 0 1\n0 2 1\n");
    std::string out = dir.file("t.png");
    Result r = runExport("'" + out + "' '" + a + "' '" + a +
                             "' --sum --rect 0 2 0 2 --scale --size 300x200 --set 'GraphTitle=Hello there' "
                             "--set GraphTitlePosition=0 --set ShowBorder=0 --model-set DrawFilledPolygons=1",
                         dir);
    ASSERT_EQ(r.status, 0) << r.err;
    QImage titled(QString::fromStdString(out));
    // The title above, no border.
    EXPECT_GT(darkPixels(titled, QRect(110, 1, 80, 16)), 10);
    EXPECT_EQ(darkPixels(titled, QRect(0, 100, 1, 1)), 0);

    r = runExport("'" + out + "' '" + a + "' --set GraphTitle=Hello --set GraphTitlePosition=2", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    QImage untitled(QString::fromStdString(out));
    EXPECT_EQ(untitled.size(), QSize(800, 600));
    EXPECT_EQ(darkPixels(untitled, QRect(300, 2, 200, 20)), 0);
}

TEST(ExportCommand, BadPropertiesKeepTheOldPicture)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a.txt", "0 0 1\n1 1 2\n");
    std::string out = dir.write("keep.png", "old");
    Result r = runExport("'" + out + "' '" + a + "' --set NoSuchThing=1", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: --set NoSuchThing=1: Unknown name.\n");
    r = runExport("'" + out + "' '" + a + "' --set FogDensity=2", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: --set FogDensity=2: Fog Density must be between 0.0 and 1.0\n");
    r = runExport("'" + out + "' '" + a + "' --model-set LineWidth=abc", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err, "");
    r = runExport("'" + dir.file("x.jpg") + "' '" + a + "'", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(".png .bmp .eps .wrl .pov .pdf"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::readAll(out), "old");
    r = runExport("'" + out + "' '" + dir.file("missing.txt") + "'", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(testsupport::readAll(out), "old");
}

TEST(ExportCommand, FilesThatGiveNoSurfaceFailNamingTheFile)
{
    testsupport::TempDir dir;
    std::string good = dir.write("good.txt", "0 0 1\n1 1 2\n");
    std::string empty = dir.write("empty.txt", "");
    std::string huge = dir.write("huge.txt", "0 0 1\n1 1 5e38\n");
    std::string out = dir.write("keep.png", "old");
    for (const char* mode : {"", " --sum"}) {
        Result r = runExport("'" + out + "' '" + good + "' '" + empty + "'" + mode, dir);
        EXPECT_EQ(r.status, 1) << mode;
        EXPECT_EQ(r.err, "tavrin: \"" + empty + "\" is empty: no surface can be built from it\n") << mode;
        EXPECT_EQ(testsupport::readAll(out), "old");
    }
    Result r = runExport("'" + out + "' '" + huge + "' --rect 0 1 0 1", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.find("tavrin: \"" + huge + "\": Failed to create surface."), 0u) << r.err;
    EXPECT_NE(r.err.find("5e+38"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::readAll(out), "old");
}

TEST(ExportCommand, DpiScalesTextAndColorbarAddsALegend)
{
    testsupport::TempDir dir;
    std::string examples = TAVRIN_SOURCE_DIR "/examples/";
    std::string common = " '" + examples + "ripple.txt' --rect 0 40 0 40 --scale --fill 3 "
                         "--model-set DrawFilledPolygons=1 --model-set PolygonColormap=1 --set ShowBorder=0";
    std::string a = dir.file("a.png"), b = dir.file("b.png"), c = dir.file("c.png");
    ASSERT_EQ(runExport("'" + a + "'" + common + " --size 400x300", dir).status, 0);
    ASSERT_EQ(runExport("'" + b + "'" + common + " --size 800x600 --dpi 192", dir).status, 0);
    QImage small(QString::fromStdString(a)), sharp(QString::fromStdString(b));
    ASSERT_EQ(sharp.size(), QSize(800, 600));
    // The same picture: what is dark at 96 dpi is dark at 192, four times
    // over (text, lines and the surface all scale).
    int d96 = darkPixels(small, small.rect()), d192 = darkPixels(sharp, sharp.rect());
    EXPECT_GT(d192, d96 * 3);
    EXPECT_LT(d192, d96 * 5);

    Result r = runExport("'" + c + "'" + common + " --size 500x300 --colorbar", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    QImage legend(QString::fromStdString(c));
    // The map's high end (red) in the band right of the box, top of a
    // vertical bar; its low end (violet-blue) at the bottom.
    int red = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 420; x < 500; ++x) {
            QRgb p = legend.pixel(x, y);
            red += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60 ? 1 : 0;
        }
    EXPECT_GT(red, 10);
}

TEST(ExportCommand, TheControlsObjectsAreReachedByDottedNames)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a.txt", "0 0 1\n1 1 2\n2 2 1.5\n");
    std::string out = dir.file("p.png");
    Result r = runExport("'" + out + "' '" + a +
                             "' --rect 0 2 0 2 --scale --fill 3 --size 320x240 --set ModelBox.AxesStyle=0 "
                             "--set ModelBox.ShowBox=1 --set ModelBox.ZAxis.AutoGridAxis=0 "
                             "--set ModelBox.ZAxis.NumGrids=4 --set ModelBox.XYPlane.ShowVerticalGridLines=1 "
                             "--get ModelBox.AxesStyle --get ModelBox.ZAxis.NumGrids --get ModelBox.ZAxis.DataMax "
                             "--get modelbox.zaxis.datamin --get ModelBox.ShowBox --get Tilt",
                         dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "ModelBox.AxesStyle=0\nModelBox.ZAxis.NumGrids=4\nModelBox.ZAxis.DataMax=2\n"
                     "modelbox.zaxis.datamin=1\nModelBox.ShowBox=True\nTilt=34.999996185302734\n");
    EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(320, 240));

    // The objects' own errors, and paths that lead nowhere.
    std::string keep = dir.write("keep.png", "old");
    r = runExport("'" + keep + "' '" + a + "' --set ModelBox.AxesStyle=7", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: --set ModelBox.AxesStyle=7: Unrecognized axis style\n");
    EXPECT_EQ(testsupport::readAll(keep), "old");
    r = runExport("'" + out + "' '" + a + "' --get Tilt.Degrees", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: --get Tilt.Degrees: \"Tilt\" is not an object\n");
    r = runExport("'" + out + "' '" + a + "' --set ModelBox..ShowBox=1", dir);
    EXPECT_EQ(r.status, 1);
    r = runExport("'" + out + "' '" + a + "' --get ModelBox.NoSuchAxis", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: --get ModelBox.NoSuchAxis: Unknown name.\n");
    r = runExport("'" + out + "' '" + a + "' --model-set NoSuchThing=2", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: --model-set NoSuchThing=2: Unknown name.\n");
}

TEST(ExportCommand, APlotScriptSetsTheControlUpByName)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a.txt", "0 0 1\n1 1 2\n2 2 1.5\n0 2 1\n2 0 1\n");
    std::string script = dir.write("setup.pas", "begin\n"
                                                "  Plot.Tilt := 60;\n"
                                                "  Plot.ModelBox.ZAxis.AutoGridAxis := False;\n"
                                                "  Plot.ModelBox.ZAxis.NumGrids := 4;\n"
                                                "  Plot.GraphTitle := 'Scripted ' + IntToStr(Plot.NumberOfModels);\n"
                                                "  Plot.Model(0).DrawFilledPolygons := True;\n"
                                                "  Plot.Model(0).ViewAs := 0;\n"
                                                "  Plot.Light(1).Enabled := False;\n"
                                                "end.\n");
    std::string out = dir.file("p.png");
    Result r = runExport("'" + out + "' '" + a + "' --rect 0 2 0 2 --scale --fill 3 --size 320x240 --plot-script '" +
                             script + "' --get Tilt --get ModelBox.ZAxis.NumGrids --get GraphTitle",
                         dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Tilt=60\nModelBox.ZAxis.NumGrids=4\nGraphTitle=Scripted 1\n");
    EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(320, 240));
}

TEST(ExportCommand, APlotScriptNeedsNoDataFiles)
{
    testsupport::TempDir dir;
    // JScript, by the extension: a surface the script computes.
    std::string script = dir.write("wave.js", "var z = VarArrayCreate([0, 20, 0, 20], varDouble);\n"
                                              "for (var i = 0; i <= 20; i++)\n"
                                              "  for (var j = 0; j <= 20; j++) z[i, j] = Sin(i / 3) * Cos(j / 4);\n"
                                              "Plot.AddSurface(z);\n"
                                              "Plot.Model(0).DrawFilledPolygons = true;\n");
    std::string out = dir.file("s.png");
    Result r = runExport("'" + out + "' --size 320x240 --plot-script '" + script + "' --get NumberOfModels", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "NumberOfModels=1\n");
    QImage picture(QString::fromStdString(out));
    ASSERT_EQ(picture.size(), QSize(320, 240));
    // Against the empty box: the surface fills much of the middle.
    std::string empty = dir.write("empty.js", "var nothing = 0;\n");
    std::string base = dir.file("base.png");
    r = runExport("'" + base + "' --size 320x240 --plot-script '" + empty + "'", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    QImage box(QString::fromStdString(base));
    int changed = 0;
    for (int y = 60; y < 180; ++y)
        for (int x = 80; x < 240; ++x)
            changed += picture.pixel(x, y) != box.pixel(x, y);
    EXPECT_GT(changed, 2000);
}

TEST(ExportCommand, PlotScriptErrorsLeaveTheOldPicture)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a.txt", "0 0 1\n1 1 2\n");
    std::string keep = dir.write("keep.png", "old");
    dir.write("syntax.pas", "begin\n  Plot.Tilt := ;\nend.\n");
    Result r = runExport("'" + keep + "' '" + a + "' --plot-script '" + dir.file("syntax.pas") + "'", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ERROR 2:16: Expression expected\n");
    // The control's own error text, and a member it does not have.
    dir.write("model.pas", "begin\n  Plot.Model(5).ViewAs := 1;\nend.\n");
    r = runExport("'" + keep + "' '" + a + "' --plot-script '" + dir.file("model.pas") + "'", dir);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err.rfind("RUNTIME ERROR: ", 0), 0u) << r.err;
    EXPECT_EQ(r.err.find("OLE error"), std::string::npos) << r.err;
    dir.write("member.pas", "begin\n  Plot.NoSuchThing := 1;\nend.\n");
    r = runExport("'" + keep + "' '" + a + "' --plot-script '" + dir.file("member.pas") + "'", dir);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "RUNTIME ERROR: OLE error 80020006: NoSuchThing\n");
    r = runExport("'" + keep + "' '" + a + "' --plot-script '" + dir.file("missing.pas") + "'", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(testsupport::readAll(keep), "old");
}

TEST(PlotScripts, DriveTheControlByNameAsAContainerWould)
{
    halvex::registerPlotControl();
    platform::Ref<platform::Dispatch> control = platform::ClassRegistry::instance().create("Corvane.Plot3D.1");
    script::TfsScript host(&script::InstallStandardLibrary());
    host.AddObject("Plot", control.get());
    script::TfsScript program(&host);
    program.SetText("var before: Variant; begin before := Plot.Tilt; Plot.Tilt := before + 10; "
                    "Plot.Rotation := 123; Plot.Lighting := True; Plot.ModelBox.ShowBox := False; end.");
    ASSERT_TRUE(program.Compile()) << program.ErrorText();
    program.Execute();
    EXPECT_EQ(control->get("Tilt").toDouble(), program.GetVariable("before").toDouble() + 10);
    EXPECT_EQ(control->get("Rotation").toDouble(), 123);
    EXPECT_TRUE(control->get("Lighting").toBool());
    EXPECT_FALSE(control->get("ModelBox").dispatch()->get("ShowBox").toBool());
    // CreateOleObject makes its own control through the class registry.
    script::TfsScript other(&host);
    other.SetText("var p: Variant; n: Integer; begin p := CreateOleObject('Corvane.Plot3D.1'); "
                  "p.Tilt := 5; n := p.Tilt; end.");
    ASSERT_TRUE(other.Compile()) << other.ErrorText();
    other.Execute();
    EXPECT_EQ(other.GetVariable("n").toString(), "5");
}

TEST(StateOptions, AreParsedWithExportOrAlone)
{
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--load-state", "in.state", "--set", "Tilt=60", "--save-state", "out.state", "--get",
                                  "Tilt"},
                                 cl, error))
        << error;
    EXPECT_EQ(cl.mode, CommandLine::Mode::State);
    EXPECT_EQ(cl.loadState, "in.state");
    EXPECT_EQ(cl.saveState, "out.state");
    CommandLine ex;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "--load-state", "in.state"}, ex, error)) << error;
    EXPECT_EQ(ex.mode, CommandLine::Mode::Export);
    CommandLine bad;
    EXPECT_FALSE(ParseCommandLine({"--save-state", "o", "--matrix", "a.txt"}, bad, error));
    CommandLine size;
    EXPECT_FALSE(ParseCommandLine({"--save-state", "o", "--size", "10x10"}, size, error));
    EXPECT_EQ(error, "option --size needs --export");
    CommandLine files;
    EXPECT_FALSE(ParseCommandLine({"--save-state", "o", "a.txt"}, files, error));
    CommandLine none;
    EXPECT_FALSE(ParseCommandLine({"--export", "o.png"}, none, error));
}

TEST(StateCommand, SavesLoadsAndReportsWhatCannotBeLoaded)
{
    testsupport::TempDir dir;
    std::string initial = dir.file("initial.state");
    Result r = runTavrin("--save-state '" + initial + "'", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string bytes = testsupport::readAll(initial);
    std::span<const std::uint8_t> kept = InitialPlotState();
    ASSERT_EQ(bytes.size(), 710u);
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), reinterpret_cast<const std::uint8_t*>(bytes.data())));

    std::string steep = dir.file("steep.state");
    r = runTavrin("--load-state '" + initial + "' --set Tilt=60 --set 'Light(1).Diffuse=255' --save-state '" +
                      steep + "' --get Tilt --get 'Model(0).ViewAs' --get 'Light(1).Diffuse' --get 'Light(5)'",
                  dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Tilt=60\nModel(0).ViewAs=0\nLight(1).Diffuse=255\nLight(5)=\n");
    r = runTavrin("--load-state '" + steep + "' --get Tilt --get 'Light(1).Diffuse'", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Tilt=60\nLight(1).Diffuse=255\n");

    // A stream cut short: the archive's error, status 1, nothing written.
    std::string cut = dir.write("cut.state", bytes.substr(0, 300));
    std::string out = dir.write("out.state", "old");
    r = runTavrin("--load-state '" + cut + "' --save-state '" + out + "'", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: cannot load the state \"" + cut +
                         "\": the stream ends before its data does (at byte 300)\n");
    EXPECT_EQ(testsupport::readAll(out), "old");
    r = runTavrin("--load-state '" + dir.file("missing.state") + "'", dir);
    EXPECT_EQ(r.status, 1);

    // With --export: loaded before the options and files, the picture drawn
    // with it, and saved after them.
    std::string a = dir.write("a.txt", "0 0 1\n1 1 2\n2 2 1.5\n");
    std::string picture = dir.file("p.png");
    std::string after = dir.file("after.state");
    r = runExport("'" + picture + "' '" + a + "' --load-state '" + steep + "' --model-set ViewAs=4 --size 200x150 " +
                      "--save-state '" + after + "' --get Tilt",
                  dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Tilt=60\n");
    EXPECT_EQ(QImage(QString::fromStdString(picture)).size(), QSize(200, 150));
    r = runTavrin("--load-state '" + after + "' --get 'Model(0).ViewAs'", dir);
    EXPECT_EQ(r.out, "Model(0).ViewAs=4\n");
    // A state alone makes a picture too.
    r = runExport("'" + picture + "' --load-state '" + after + "' --size 100x80", dir);
    ASSERT_EQ(r.status, 0) << r.err;
}

} // namespace

namespace {

TEST(WizardOptions, AreParsed)
{
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.png", "a.txt", "--wizard-choices", "bar,1,0"}, cl, error)) << error;
    EXPECT_EQ(cl.exportTo.wizardChoices, "bar,1,0");
    CommandLine w;
    ASSERT_TRUE(ParseCommandLine({"--wizard", "a.txt", "b.txt", "--rect", "0", "5", "0", "5"}, w, error)) << error;
    EXPECT_EQ(w.mode, CommandLine::Mode::Wizard);
    EXPECT_EQ(w.files, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_FALSE(w.headless());
    CommandLine none;
    ASSERT_TRUE(ParseCommandLine({"--wizard"}, none, error));
    EXPECT_TRUE(none.files.empty());
    CommandLine c1, c2;
    EXPECT_FALSE(ParseCommandLine({"--wizard-choices", "0,0,0", "--export", "o.png", "a"}, c1, error));
    EXPECT_FALSE(ParseCommandLine({"--wizard", "--matrix", "a"}, c2, error));
}

// The wizard's choices without a window: the same settings, drawn.
TEST(ExportCommand, WizardChoicesSetThePlotUp)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a.txt", "0 0 1\n1 1 2\n2 2 1.5\n2 0 0.5\n0 2 1\n");
    std::string out = dir.file("w.png");
    Result r = runExport("'" + out + "' '" + a +
                             "' --rect 0 4 0 4 --scale --fill 3 --size 320x240 --wizard-choices bar,1,0 "
                             "--get Twist --get Lighting",
                         dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Twist=90\nLighting=False\n");
    EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(320, 240));
    // --set comes after the wizard, so it has the last word.
    r = runExport("'" + out + "' '" + a + "' --wizard-choices surface,2,lighting --set Tilt=50 --get Tilt "
                  "--get Lighting --get Twist",
                  dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Tilt=50\nLighting=True\nTwist=-10\n");
    QImage lit(QString::fromStdString(out));
    ASSERT_FALSE(lit.isNull());
    // A vector field takes two files; bad choices are named.
    r = runExport("'" + out + "' '" + a + "' --wizard-choices vector,0,0", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("two files"), std::string::npos) << r.err;
    // Scattered points take the choices too, as a point list of their own.
    r = runExport("'" + out + "' --scatter '" + a + "' --wizard-choices scatter,2,solid,symbol=boxes,size=4 "
                  "--get 'Model(0).PointSymbol' --get 'Model(0).PointSize' --get 'Model(0).ScatterLines'",
                  dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Model(0).PointSymbol=3\nModel(0).PointSize=4\nModel(0).ScatterLines=True\n");
    r = runExport("'" + out + "' '" + a + "' --wizard-choices pie,0,0", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("option --wizard-choices: unknown plot type \"pie\""), std::string::npos) << r.err;
}

} // namespace

TEST(ExportOptions, ResolutionAndBitsPerPixel)
{
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--export", "o.bmp", "a.txt", "--dpi", "300", "--bits", "8", "--size", "20000x300"},
                                 cl, error))
        << error;
    EXPECT_EQ(cl.exportTo.dpi, 300);
    EXPECT_EQ(cl.exportTo.bits, 8);
    EXPECT_EQ(cl.exportTo.width, 20000); // drawn in bands: larger than one off-screen bitmap
    for (const char* bad : {"0", "12", "x"})
        EXPECT_FALSE(ParseCommandLine({"--export", "o.bmp", "a.txt", "--bits", bad}, cl, error)) << bad;
    EXPECT_FALSE(ParseCommandLine({"--export", "o.bmp", "a.txt", "--dpi", "0"}, cl, error));
    CommandLine viewer;
    EXPECT_FALSE(ParseCommandLine({"a.txt", "--dpi", "300"}, viewer, error));
    EXPECT_NE(error.find("--export"), std::string::npos) << error;
}

TEST(ExportCommand, TheOutputsExtensionChoosesTheFormat)
{
    testsupport::TempDir dir;
    const std::string data = std::string(TAVRIN_SOURCE_DIR) + "/examples/ripple.txt";
    const std::string common = " '" + data + "' --rect 0 40 0 40 --scale --fill 3 --size 200x150";
    const std::pair<const char*, std::string> kinds[] = {
        {"p.bmp", "BM"},
        {"p.eps", "%!PS-Adobe-2.0 EPSF-2.0\n"},
        {"p.wrl", "#VRML V1.0 ascii\n"},
        {"p.pov", "#version 3.0\n"},
        {"p.pdf", "%PDF-"},
        {"P.PNG", "\x89PNG"},
    };
    for (const auto& [name, magic] : kinds) {
        Result r = runExport("'" + dir.file(name) + "'" + common, dir);
        ASSERT_EQ(r.status, 0) << name << ": " << r.err;
        EXPECT_EQ(testsupport::readAll(dir.file(name)).rfind(magic, 0), 0u) << name;
    }
    // A bitmap at 192 dpi: the picture keeps its size, its text and lines
    // are twice as wide; the depth asked for is the one written.
    Result r = runExport("'" + dir.file("q.bmp") + "'" + common + " --dpi 192 --bits 16", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    QImage q(QString::fromStdString(dir.file("q.bmp")));
    EXPECT_EQ(q.size(), QSize(200, 150));
    std::string bmp = testsupport::readAll(dir.file("q.bmp"));
    EXPECT_EQ(std::uint8_t(bmp[28]), 16);
    EXPECT_EQ(bmp.size(), std::size_t(56 + 400 * 150));
    r = runExport("'" + dir.file("q.png") + "'" + common + " --bits 8", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(".bmp"), std::string::npos) << r.err;
}

TEST(ExportCommand, NeverWritesOverItsOwnInputs)
{
    testsupport::TempDir dir;
    std::string data = dir.write("data.png", "0 0 1\n1 1 2\n2 0 3\n");
    Result r = runExport("'" + data + "' '" + data + "'", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("input"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::readAll(data), "0 0 1\n1 1 2\n2 0 3\n");
    // Nor through a link, nor with the saved state.
    ASSERT_EQ(::symlink(data.c_str(), dir.file("link.eps").c_str()), 0);
    r = runExport("'" + dir.file("link.eps") + "' '" + data + "'", dir);
    EXPECT_EQ(r.status, 1);
    r = runExport("'" + dir.file("p.png") + "' '" + data + "' --save-state '" + data + "'", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(testsupport::readAll(data), "0 0 1\n1 1 2\n2 0 3\n");
}

TEST(ExportCommand, FollowsLinksAndRespectsProtectedFiles)
{
    testsupport::TempDir dir;
    std::string a = dir.write("a.txt", "0 0 1\n1 1 2\n2 0 3\n");
    std::string real = dir.write("real.png", "old");
    ASSERT_EQ(::symlink("real.png", dir.file("link.png").c_str()), 0);
    Result r = runExport("'" + dir.file("link.png") + "' '" + a + "' --size 100x80", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    struct stat st {};
    ASSERT_EQ(::lstat(dir.file("link.png").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)); // still the user's link
    EXPECT_EQ(QImage(QString::fromStdString(real)).size(), QSize(100, 80));
    std::string locked = dir.write("locked.eps", "mine");
    ::chmod(locked.c_str(), 0444);
    for (const char* name : {"locked.eps"}) {
        r = runExport("'" + dir.file(name) + "' '" + a + "'", dir);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("locked.eps"), std::string::npos) << r.err;
    }
    EXPECT_EQ(testsupport::readAll(locked), "mine");
}

TEST(ExportCommand, LargeBitmapsAreDrawnInBandsWithinTheMemoryBound)
{
    testsupport::TempDir dir;
    const std::string data = std::string(TAVRIN_SOURCE_DIR) + "/examples/ripple.txt";
    std::string out = dir.file("big.bmp");
    Result r = runExport("'" + out + "' '" + data +
                             "' --rect 0 40 0 40 --scale --fill 3 --size 10000x10000 --bits 8 "
                             "--model-set DrawFilledPolygons=1 --model-set PolygonColormap=1",
                         dir);
    ASSERT_EQ(r.status, 0) << r.err;
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    // The largest child so far, in kilobytes: well under a gigabyte, where
    // the whole picture alone would take 400 MB.
    EXPECT_LT(usage.ru_maxrss, 1024 * 1024);
    std::string head = testsupport::readAll(out).substr(0, 1080);
    struct stat st {};
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(std::uint64_t(st.st_size), 1080ull + 10000ull * 10000ull);
    std::uint32_t size = 0;
    std::memcpy(&size, head.data() + 2, 4);
    EXPECT_EQ(size, std::uint32_t(st.st_size));
    // A bitmap past 2 GB is refused before anything is drawn.
    r = runExport("'" + dir.file("huge.bmp") + "' '" + data + "' --size 30000x30000", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("2 GB"), std::string::npos) << r.err;
    EXPECT_FALSE(platform::fileExists(dir.file("huge.bmp")));
}
