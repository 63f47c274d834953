// Every export of a real picture, read back by an independent reader:
// PostScript by ghostscript, POV-Ray scenes by povray, VRML by a checker
// built on Coin, PDF by pdftoppm, bitmaps by QImage. The same view of an
// asymmetric surface must have the same silhouette in the PNG, in the
// PostScript and in the POV-Ray picture: a mirrored, turned or stretched
// scene shows at once.
#include "plot/core/gl_control_core.h"
#include "plot/core/picture_render.h"
#include "plot/model/surface_model.h"
#include "plot/widget/control_export.h"
#include "plot/widget/export_commands.h"
#include "plot/widget/picture_export.h"
#include "tests/plot/reader_support.h"
#include "tests/plot/render_test_support.h"

#include <QImage>
#include <QPrinter>

#include <cmath>
#include <cstdlib>
#include <cstring>

using namespace plottest;
using halvex::ExportFormat;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

class Exports : public RenderTest {
protected:
    void SetUp() override
    {
        // Only the surface: no border, box, axes or planes, which the scene
        // files leave out.
        put(*ctl, "ShowBorder", Variant(false));
        Ref<Dispatch> box = dispatchOf(get(*ctl, "ModelBox"));
        put(*box, "ShowBox", Variant(false));
        put(*box, "AxesStyle", Variant(2));
        control().SetControlSize(kWidth, kHeight);
    }

    // Higher towards one corner, with a bump off the middle and a ripple
    // along one side: no mirror or turn of it looks the same.
    void asymmetricSurface(int rows = 21, int cols = 31)
    {
        addSurface(rows, cols, [=](int i, int j) {
            double x = double(i) / (rows - 1), y = double(j) / (cols - 1);
            return 3.0 * std::exp(-((x - 0.75) * (x - 0.75) + (y - 0.3) * (y - 0.3)) / 0.03) + 1.5 * x * y +
                   0.3 * std::sin(6.0 * y);
        });
        Ref<Dispatch> m = model(0);
        put(*m, "DrawFilledPolygons", Variant(true));
        put(*m, "PolygonColormap", Variant(true));
    }

    std::string exportTo(ExportFormat format, const std::string& name, int width = kWidth, int height = kHeight,
                         int bits = 24)
    {
        halvex::ExportOptions o;
        o.width = width;
        o.height = height;
        o.bits = bits;
        std::string path = dir.file(name), error;
        EXPECT_TRUE(halvex::ExportControl(control(), format, o, path, error)) << error;
        return path;
    }

    readers::Picture png()
    {
        readers::Picture p = readers::readImage(exportTo(ExportFormat::Png, "view.png"));
        EXPECT_EQ(p.width, kWidth);
        return p;
    }

    readers::Picture postscript()
    {
        std::string eps = exportTo(ExportFormat::Eps, "view.eps");
        readers::Run gs = readers::ghostscript(eps, dir.file("eps.ppm"), dir.path());
        EXPECT_EQ(gs.status, 0) << gs.output;
        readers::Picture p = readers::readPpm(dir.file("eps.ppm"));
        EXPECT_EQ(p.width, kWidth);
        EXPECT_EQ(p.height, kHeight);
        return p;
    }

    readers::Picture raytraced()
    {
        std::string pov = exportTo(ExportFormat::Pov, "view.pov");
        readers::Run r = readers::povray(pov, dir.file("pov.png"), kWidth, kHeight, dir.path());
        EXPECT_EQ(r.status, 0) << r.output;
        readers::Picture p = readers::readImage(dir.file("pov.png"));
        EXPECT_EQ(p.width, kWidth);
        return p;
    }

    // The three pictures of the view agree on the surface's outline.
    void expectSameSilhouette(const char* view)
    {
        std::vector<bool> a = readers::mask(png()), b = readers::mask(postscript()), c = readers::mask(raytraced());
        ASSERT_GT(readers::count(a), kWidth * kHeight / 20) << view << ": the surface fills the picture";
        EXPECT_LT(readers::maskDifference(a, b), 0.06) << view << ": PostScript";
        EXPECT_LT(readers::maskDifference(a, c), 0.08) << view << ": POV-Ray";
    }

    // The scene in both formats, read by the VRML checker and drawn by
    // povray, which must show a good part of what the PNG shows; the
    // checker's report. maxDifference: how far the masks may differ.
    std::string sceneCheck(const std::string& name, double maxDifference = 1.0)
    {
        std::string wrl = exportTo(ExportFormat::Vrml, name + ".wrl");
        readers::Run r = readers::run(std::string(std::getenv("VRML_CHECK")) + " '" + wrl + "'", dir.path());
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(testsupport::readAll(wrl).find("nan"), std::string::npos);
        std::string pov = exportTo(ExportFormat::Pov, name + ".pov");
        readers::Run ray = readers::povray(pov, dir.file(name + ".png"), kWidth, kHeight, dir.path());
        EXPECT_EQ(ray.status, 0) << ray.output;
        std::vector<bool> a = readers::mask(png()), b = readers::mask(readers::readImage(dir.file(name + ".png")));
        EXPECT_GT(readers::count(a), 50) << name;
        EXPECT_GT(readers::count(b), readers::count(a) / 4) << name << ": the raytraced scene draws it";
        EXPECT_LT(readers::maskDifference(a, b), maxDifference) << name;
        return r.output;
    }

    testsupport::TempDir dir;
};

} // namespace

TEST_F(Exports, TheDefaultViewHasOneSilhouetteInEveryFormat)
{
    asymmetricSurface();
    // Tilt 35 and Twist 10, as the viewer starts.
    EXPECT_NEAR(get(*ctl, "Tilt").toDouble(), 35.0, 1e-4);
    EXPECT_NEAR(get(*ctl, "Twist").toDouble(), 10.0, 1e-4);
    expectSameSilhouette("default view");
}

TEST_F(Exports, APerspectiveViewHasOneSilhouetteInEveryFormat)
{
    asymmetricSurface();
    put(*ctl, "PerspectiveView", Variant(true));
    put(*ctl, "ViewingDistance", Variant(4)); // a strong perspective
    put(*ctl, "Rotation", Variant(30.0));
    put(*ctl, "Tilt", Variant(50.0));
    expectSameSilhouette("perspective view");
}

TEST_F(Exports, EqualScalesAndATallScaleKeepTheSilhouette)
{
    asymmetricSurface();
    put(*ctl, "ConstrainedView", Variant(true));
    put(*ctl, "Twist", Variant(250.0));
    expectSameSilhouette("equal scales");
    put(*ctl, "ConstrainedView", Variant(false));
    put(*ctl, "VerticalScale", Variant(250));
    expectSameSilhouette("vertical scale 250");
}

TEST_F(Exports, TheVrmlWorldIsReadByCoin)
{
    asymmetricSurface();
    std::string wrl = exportTo(ExportFormat::Vrml, "scene.wrl");
    const char* checker = std::getenv("VRML_CHECK");
    ASSERT_NE(checker, nullptr);
    readers::Run r = readers::run(std::string(checker) + " '" + wrl + "'", dir.path());
    ASSERT_EQ(r.status, 0) << r.output;
    // Two triangles a cell, one polyline a row and a column, every vertex,
    // the three lights and the camera.
    EXPECT_NE(r.output.find("faces 1200\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("lines 1250\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("coordinates 651\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("lights 3\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("cameras 1\n"), std::string::npos) << r.output;
    std::string text = testsupport::readAll(wrl);
    // Three rotations in the renderer's order, each its own node.
    std::size_t r1 = text.find("rotation 0 1 0 0\n"), r2 = text.find("rotation 1 0 0 0.610865\n"),
                r3 = text.find("rotation 0 1 0 0.174533\n");
    ASSERT_NE(r1, std::string::npos) << text.substr(0, 1500);
    ASSERT_NE(r2, std::string::npos);
    ASSERT_NE(r3, std::string::npos);
    EXPECT_LT(r1, r2);
    EXPECT_LT(r2, r3);
    EXPECT_NE(text.find("scaleFactor "), std::string::npos);
    EXPECT_NE(text.find("translation -15 "), std::string::npos) << "centred on the data box";
    EXPECT_EQ(text.find("nan"), std::string::npos);
}

TEST_F(Exports, ScenesLeaveOutWhatCannotBeDrawn)
{
    // A grid of one row has no triangles: no mesh is written, and POV-Ray
    // still draws the scene; a non-finite height is left out with the
    // pieces that use it.
    addSurface(1, 8, [](int, int j) { return j; });
    put(*model(0), "DrawFilledPolygons", Variant(true));
    addSurface(6, 6, [](int i, int j) { return i + j; });
    put(*model(1), "DrawFilledPolygons", Variant(true));
    // Surfaces from data refuse what is not finite; a vertex computed to
    // be, as a parametric model's may, is put in place directly.
    auto* surface = dynamic_cast<halvex::SurfaceModel*>(control().FindModel(1));
    ASSERT_NE(surface, nullptr);
    auto heights = std::make_unique<float[]>(6 * 6);
    std::copy(surface->heights(), surface->heights() + 36, heights.get());
    heights[2 + 3 * 6] = std::nanf("");
    surface->SetHeights(std::move(heights), 6, 6);
    ASSERT_TRUE(std::isnan(surface->GetVertex(2, 3)[1]));
    std::string pov = exportTo(ExportFormat::Pov, "thin.pov");
    std::string text = testsupport::readAll(pov);
    // No number is "nan" or "inf" (the comment about infinite lights aside).
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(text.find("inf "), std::string::npos);
    EXPECT_EQ(text.find("inf,"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n') > 10, true);
    // The 6 × 6 grid's 50 triangles less the six around the missing vertex.
    std::size_t triangles = 0;
    for (std::size_t at = text.find("triangle {"); at != std::string::npos; at = text.find("triangle {", at + 1))
        ++triangles;
    EXPECT_EQ(triangles, 44u);
    readers::Run r = readers::povray(pov, dir.file("thin.png"), kWidth, kHeight, dir.path());
    EXPECT_EQ(r.status, 0) << r.output;
    std::string wrl = exportTo(ExportFormat::Vrml, "thin.wrl");
    EXPECT_EQ(testsupport::readAll(wrl).find("nan"), std::string::npos);
    r = readers::run(std::string(std::getenv("VRML_CHECK")) + " '" + wrl + "'", dir.path());
    EXPECT_EQ(r.status, 0) << r.output;
}

// The numbers the VRML checker prints for a world ("faces", "lines", ...).
static long vrmlCount(const std::string& output, const std::string& name)
{
    std::size_t at = output.find(name + " ");
    return at == std::string::npos ? -1 : std::atol(output.c_str() + at + name.size() + 1);
}

TEST_F(Exports, BarsAndPatchesKeepTheSilhouette)
{
    // Bars and patches of the asymmetric surface, filled with their map.
    asymmetricSurface(9, 11);
    put(*model(0), "ViewAs", Variant(4));
    expectSameSilhouette("bars");
    put(*model(0), "ViewAs", Variant(5));
    expectSameSilhouette("patches");
    // Stacked bars: one stack per column, a narrow row of them.
    put(*model(0), "ViewAs", Variant(4));
    put(*model(0), "BarPlotLayout", Variant(1));
    std::string out = sceneCheck("stacked");
    EXPECT_EQ(vrmlCount(out, "faces"), 9 * 11 * 12) << out;
}

TEST_F(Exports, AParametricSurfaceKeepsTheSilhouette)
{
    // Part of a twisted band: no turn or mirror of it looks the same.
    const int rows = 20, cols = 12;
    std::vector<double> x, y, z;
    for (int j = 0; j < cols; ++j)
        for (int i = 0; i < rows; ++i) {
            double u = 4.0 * i / (rows - 1), v = double(j) / (cols - 1) - 0.5;
            x.push_back((2.0 + v * std::cos(u / 2)) * std::cos(u));
            y.push_back((2.0 + v * std::cos(u / 2)) * std::sin(u));
            z.push_back(v * std::sin(u / 2) + 0.3 * u);
        }
    auto n1 = std::uint32_t(rows), n2 = std::uint32_t(cols);
    ASSERT_TRUE(call(*ctl, "AddParametricSurface", {doubles2D(0, n1, 0, n2, x), doubles2D(0, n1, 0, n2, y),
                                                    doubles2D(0, n1, 0, n2, z)})
                    .toBool());
    put(*model(0), "DrawFilledPolygons", Variant(true));
    put(*model(0), "PolygonColormap", Variant(true));
    expectSameSilhouette("parametric surface");
}

TEST_F(Exports, ScatterPointsAndTheirLineAreInTheScene)
{
    // Five points joined in their order: four line pieces and the points.
    call(*ctl, "AddScatterPlot", {doubles1D({0, 1, 2, 3, 4}), doubles1D({0, 1, 0, 1, 0}), doubles1D({1, 3, 2, 5, 4})});
    put(*model(0), "ScatterLines", Variant(1));
    put(*model(0), "PointSize", Variant(8.0));
    std::string out = sceneCheck("scatter");
    EXPECT_EQ(vrmlCount(out, "lines"), 4) << out;
    EXPECT_EQ(vrmlCount(out, "pointsets"), 1) << out;
    EXPECT_EQ(vrmlCount(out, "coordinates"), 5) << out;
}

TEST_F(Exports, VectorArrowsAreInTheScene)
{
    // A field turning about its middle, which is still: 24 arrows of a
    // shaft and two head strokes.
    const int n = 5;
    std::vector<double> re, im;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            re.push_back(-(i - n / 2));
            im.push_back(j - n / 2);
        }
    auto un = std::uint32_t(n);
    call(*ctl, "AddVectorFieldPlot", {doubles2D(0, un, 0, un, re), doubles2D(0, un, 0, un, im)});
    put(*model(0), "VectorLines", Variant(true));
    put(*model(0), "VectorFilled", Variant(false));
    std::string out = sceneCheck("field");
    EXPECT_EQ(vrmlCount(out, "lines"), 24 * 3) << out;
    put(*model(0), "VectorFilled", Variant(true));
    put(*model(0), "VectorLines", Variant(false));
    put(*model(0), "PolygonColor", Variant::fromUInt32(0xFFFF0000u)); // blue, not the white background
    // Seen flat from above, where the picture has it.
    out = sceneCheck("field-filled", 0.5);
    EXPECT_EQ(vrmlCount(out, "faces"), 24) << out;
    EXPECT_EQ(vrmlCount(out, "lines"), 24) << out;
}

TEST_F(Exports, PdfPagesAreReadByPoppler)
{
    asymmetricSurface();
    put(*ctl, "GraphTitle", Variant(std::string("Ridge")));
    put(*ctl, "GraphTitlePosition", Variant(0));
    std::string pdf = exportTo(ExportFormat::Pdf, "page.pdf");
    readers::Run r = readers::run("pdftoppm -r 96 -png -singlefile '" + pdf + "' '" + dir.file("page") + "'", dir.path());
    ASSERT_EQ(r.status, 0) << r.output;
    readers::Picture page = readers::readImage(dir.file("page.png"));
    ASSERT_EQ(page.width, kWidth); // 320 pixels at 96 dpi: a page 3⅓ inches wide
    ASSERT_EQ(page.height, kHeight);
    EXPECT_LT(readers::maskDifference(readers::mask(png()), readers::mask(page)), 0.08);
}

TEST_F(Exports, BitmapsOfEveryDepthAreReadByQImage)
{
    asymmetricSurface();
    readers::Picture reference = png();
    for (int bits : {8, 16, 24, 32}) {
        std::string path = exportTo(ExportFormat::Bmp, "p" + std::to_string(bits) + ".bmp", kWidth, kHeight, bits);
        QImage image(QString::fromStdString(path));
        ASSERT_FALSE(image.isNull()) << bits;
        EXPECT_EQ(image.width(), kWidth);
        EXPECT_EQ(image.height(), kHeight);
        EXPECT_EQ(testsupport::readAll(path).size(),
                  std::size_t((bits == 8 ? 1080 : 56) + ((bits * kWidth + 31) / 32) * 4 * kHeight));
        readers::Picture p = readers::readImage(path);
        int off = 0;
        // 16 bits: five a channel, which readers widen by a shift (up to 11
        // off); 8 bits: the 3-3-2 palette (blue within 43).
        const int tolerance = bits == 24 || bits == 32 ? 0 : bits == 16 ? 12 : 43;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                for (int k = 0; k < 3; ++k)
                    off += std::abs(p.at(x, y)[k] - reference.at(x, y)[k]) > tolerance ? 1 : 0;
        EXPECT_EQ(off, 0) << bits << " bits per pixel: the PNG's picture, top row first";
    }
}

TEST_F(Exports, BandsMakeTheSamePictureAsOnePiece)
{
    asymmetricSurface();
    Ref<Dispatch> box = dispatchOf(get(*ctl, "ModelBox"));
    put(*box, "ShowBox", Variant(true));
    put(*box, "AxesStyle", Variant(0));
    put(*ctl, "ShowBorder", Variant(true));
    control().SetControlSize(1000, 700);
    // One piece: 1000 × 700 pixels fit one off-screen bitmap.
    std::vector<std::uint8_t> whole;
    {
        halvex::PictureRenderer one(control(), 1000, 700, 96.0);
        ASSERT_TRUE(one.valid()) << one.error();
        ASSERT_EQ(one.plan().bands, 1);
        ASSERT_TRUE(one.DrawBand(0, whole)) << one.error();
    }
    // Bands and columns of at most 300 pixels a side, drawn through the
    // part of the view volume each covers.
    halvex::PictureRenderer tiled(control(), 1000, 700, 96.0, 300);
    ASSERT_TRUE(tiled.valid()) << tiled.error();
    EXPECT_GT(tiled.plan().bands, 2);
    EXPECT_EQ(tiled.plan().columns, 4);
    int differ = 0, inked = 0;
    std::vector<std::uint8_t> rgba;
    for (int k = 0; k < tiled.plan().bands; ++k) {
        ASSERT_TRUE(tiled.DrawBand(k, rgba)) << tiled.error();
        halvex::PixelRect band = tiled.plan().Band(k);
        for (int y = 0; y < band.height(); ++y)
            for (int x = 0; x < 1000; ++x) {
                const std::uint8_t* a = rgba.data() + (std::size_t(y) * 1000 + x) * 4;
                const std::uint8_t* b = whole.data() + (std::size_t(band.top + y) * 1000 + x) * 4;
                int d = std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
                differ += d > 60 ? 1 : 0;
                inked += (a[0] < 200 || a[1] < 200 || a[2] < 200) ? 1 : 0;
            }
    }
    EXPECT_GT(inked, 50000);
    // Only where smoothed lines cross a tile's edge may a pixel differ.
    EXPECT_LT(differ, 1000) << differ << " of " << inked;
}

TEST_F(Exports, TheExportCommandAsksBeforeItTouchesAFile)
{
    asymmetricSurface();
    control().SetControlSize(240, 240);
    std::string old = dir.write("mine.bmp", "the user's file");
    halvex::ExportChoices choices;
    std::string chosen = old;
    int filter = 3;
    choices.chooseFile = [&](QWidget*, std::string& path, int& f) {
        path = chosen;
        f = filter;
        return true;
    };
    bool accept = false;
    choices.chooseBitmap = [&](QWidget*, int& dpi, int& bits) {
        dpi = 300;
        bits = 16;
        return accept;
    };
    std::vector<std::string> reports;
    choices.report = [&](QWidget*, const QString& t) { reports.push_back(t.toStdString()); };
    // Cancel in "Bitmap Parameters": the user's file is as it was.
    EXPECT_FALSE(halvex::RunExportCommand(nullptr, control(), choices));
    EXPECT_EQ(testsupport::readAll(old), "the user's file");
    accept = true;
    ASSERT_TRUE(halvex::RunExportCommand(nullptr, control(), choices));
    // 300 dpi from a 240 × 240 control: 750 × 750 pixels, the true size in
    // the header.
    std::string bmp = testsupport::readAll(old);
    ASSERT_EQ(bmp.size(), std::size_t(56 + 1500 * 750));
    std::uint32_t size = 0, width = 0;
    std::memcpy(&size, bmp.data() + 2, 4);
    std::memcpy(&width, bmp.data() + 18, 4);
    EXPECT_EQ(size, bmp.size());
    EXPECT_EQ(width, 750u);
    // A name typed without an extension takes the filter's.
    chosen = dir.file("scene");
    filter = 2;
    ASSERT_TRUE(halvex::RunExportCommand(nullptr, control(), choices));
    EXPECT_EQ(testsupport::readAll(dir.file("scene.pov")).rfind("#version 3.0", 0), 0u);
    // A failure is told, and leaves nothing behind.
    chosen = dir.file("no/such/folder/x.eps");
    EXPECT_FALSE(halvex::RunExportCommand(nullptr, control(), choices));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("x.eps"), std::string::npos) << reports[0];
}

TEST_F(Exports, PrintingToAPdfPrinterDrawsThePage)
{
    asymmetricSurface();
    halvex::ExportChoices choices;
    const std::string pdf = dir.file("printed.pdf");
    choices.choosePrinter = [&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    };
    choices.report = [](QWidget*, const QString& t) { ADD_FAILURE() << t.toStdString(); };
    ASSERT_TRUE(halvex::RunPrintCommand(nullptr, control(), choices));
    readers::Run r = readers::run("pdftoppm -r 30 -png -singlefile '" + pdf + "' '" + dir.file("printed") + "'",
                                  dir.path());
    ASSERT_EQ(r.status, 0) << r.output;
    readers::Picture page = readers::readImage(dir.file("printed.png"));
    ASSERT_GT(page.width, 0);
    // The picture fills the page's width in the control's proportions, at
    // its top.
    std::vector<bool> m = readers::mask(page);
    int top = 0, bottom = 0;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x)
            if (m[std::size_t(y) * page.width + x]) {
                (y < page.height * 6 / 10 ? top : bottom) += 1;
            }
    EXPECT_GT(top, 500);
    EXPECT_EQ(bottom, 0);
}
