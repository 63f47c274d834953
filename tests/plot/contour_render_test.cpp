// Contours in the picture: lines on a surface in place of the wireframe,
// colours by level, filled bands, the contour plot laid flat with numbered
// levels, and the ranges of bar and patch plots.
#include "tests/plot/render_test_support.h"

#include "plot/core/gl_renderer.h"
#include "plot/model/colormaps.h"
#include "plot/model/contour_tracer.h"
#include "plot/model/mesh_model.h"

#include <cmath>
#include <set>

using namespace plottest;
using halvex::GlRenderer;

namespace {

constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kRed{255, 0, 0, 255};

class Contours : public RenderTest {
protected:
    void SetUp() override { put(*dispatchOf(get(*ctl, "ModelBox")), "AxesStyle", Variant::fromInt16(2)); }
    halvex::MeshModel& mesh(int n = 0)
    {
        auto* m = dynamic_cast<halvex::MeshModel*>(model(n).get());
        EXPECT_NE(m, nullptr);
        return *m;
    }
    static Variant packed(std::uint32_t c) { return Variant(int(c)); }
};

TEST_F(Contours, LinesOnASurfaceReplaceTheWireframe)
{
    addSurface(6, 6, [](int i, int j) { return i + 0.3 * j; });
    Ref<Dispatch> m = model(0);
    put(*m, "LineColor", packed(0xFF0000FF));
    target(200, 150);
    // The wireframe, in the line colour.
    Feedback f = feedback();
    EXPECT_EQ(f.linesOf(kRed).size(), std::size_t(f.lines));
    const int wireframe = f.lines;
    EXPECT_EQ(wireframe, 6 * 5 + 6 * 5);

    put(*m, "DrawZContours3D", Variant::fromInt16(1));
    put(*m, "AutoContourZ3D", Variant(false));
    put(*m, "NumberOfContoursZ3D", Variant::fromInt16(3));
    f = feedback();
    // Three levels inside 0 … 6.5, each a line across the six columns: no
    // grid line is left.
    ASSERT_GT(f.lines, 0);
    EXPECT_EQ(f.linesOf(kRed).size(), std::size_t(f.lines));
    EXPECT_NE(f.lines, wireframe);
    halvex::ContourTracer t = mesh().MakeContourTracer(2, true);
    EXPECT_EQ(t.levels().size(), 5u);
    EXPECT_EQ(t.levels()[2], 3.25);

    // Lit, the lines keep their colour: they are drawn unlit.
    put(*ctl, "Lighting", Variant(true));
    f = feedback();
    EXPECT_EQ(f.linesOf(kRed).size(), std::size_t(f.lines));
}

TEST_F(Contours, LevelsTakeTheirColoursFromTheMap)
{
    addSurface(6, 6, [](int i, int) { return i; });
    Ref<Dispatch> m = model(0);
    put(*m, "DrawZContours3D", Variant::fromInt16(1));
    put(*m, "AutoContourZ3D", Variant(false));
    put(*m, "NumberOfContoursZ3D", Variant::fromInt16(3));
    put(*m, "LineColorMap", Variant::fromInt16(1));
    put(*m, "ColormapIndex", Variant::fromInt16(1));
    target(200, 150);
    // Levels 0, 1.25, 2.5, 3.75, 5: the inner three at 1/4, 2/4, 3/4 of the
    // grey ramp.
    Feedback f = feedback();
    ASSERT_GT(f.lines, 0);
    std::set<int> greys;
    for (const Segment& s : f.segments) {
        EXPECT_EQ(s.color[0], s.color[1]);
        EXPECT_EQ(s.color[1], s.color[2]);
        greys.insert(s.color[0]);
    }
    std::set<int> expected;
    for (float t : {0.25f, 0.5f, 0.75f})
        expected.insert(int(halvex::SpectrumRgb(1, t)[0] * 255 + 0.5f));
    EXPECT_EQ(greys, expected);
}

TEST_F(Contours, AContourPlotDrawsItsLinesFlat)
{
    // ViewAs 1 with its defaults: the Z contours, black, seen from above.
    addSurface(20, 20, [](int i, int j) { return std::hypot(i - 9.5, j - 9.7); });
    put(*model(0), "ViewAs", Variant(1));
    target(200, 200);
    Feedback f = feedback();
    std::vector<Segment> lines = f.linesOf(kBlack);
    ASSERT_GT(lines.size(), 50u);
    // Rings: they spread over the picture and stay inside it.
    double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (const Segment& s : lines) {
        x0 = std::min({x0, s.x0, s.x1});
        x1 = std::max({x1, s.x0, s.x1});
        y0 = std::min({y0, s.y0, s.y1});
        y1 = std::max({y1, s.y0, s.y1});
    }
    EXPECT_GE(x0, 0.0);
    EXPECT_LE(x1, 200.0);
    EXPECT_GE(y0, 0.0);
    EXPECT_LE(y1, 200.0);
    EXPECT_GT(x1 - x0, 100.0);
    EXPECT_GT(y1 - y0, 100.0);
    render();
    EXPECT_GT(count(kBlack, 60), 200);

    // Switched off, nothing but the border of the plane is drawn.
    put(*model(0), "DrawZContours", Variant::fromInt16(0));
    EXPECT_LE(feedback().linesOf(kBlack).size(), 4u);
}

TEST_F(Contours, FilledBandsAreFlatColours)
{
    // Heights 0 … 4 along the rows, four bands: the hue ramp at 0, 1/3,
    // 2/3 and 1, each a quarter of the plot.
    addSurface(21, 21, [](int i, int) { return i * 0.2; });
    Ref<Dispatch> m = model(0);
    put(*m, "ViewAs", Variant(1));
    put(*m, "DrawZContours", Variant::fromInt16(0));
    put(*m, "DrawContourLines", Variant(false));
    put(*m, "FillZContours", Variant(true));
    put(*m, "AutoContourZ", Variant(false));
    put(*m, "NumberOfContoursZ", Variant::fromInt16(3));
    target(200, 200);
    render();
    std::vector<int> counts;
    for (float t : {0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 1.0f}) {
        halvex::Rgb c = halvex::SpectrumRgb(0, t);
        counts.push_back(count({int(c[0] * 255 + 0.5f), int(c[1] * 255 + 0.5f), int(c[2] * 255 + 0.5f), 255}, 3));
    }
    int total = counts[0] + counts[1] + counts[2] + counts[3];
    EXPECT_GT(total, 200 * 200 / 2);
    for (int c : counts)
        EXPECT_NEAR(double(c) / total, 0.25, 0.05);
}

TEST_F(Contours, NumbersNeverOverlap)
{
    // Close rings of a cone, numbered: the boxes of the numbers never
    // overlap and stay inside the picture.
    addSurface(40, 40, [](int i, int j) { return -std::hypot(i - 19.5, j - 19.6); });
    Ref<Dispatch> m = model(0);
    put(*m, "ViewAs", Variant(1));
    put(*m, "NumberedContoursZ", Variant(true));
    put(*m, "AutoContourZ", Variant(false));
    put(*m, "NumberOfContoursZ", Variant::fromInt16(30));
    target(400, 400);
    Feedback f = feedback();
    struct Box {
        double x0, y0, x1, y1;
    };
    // A box goes as two triangles in the background colour, its number
    // as black ones.
    std::vector<Box> boxes;
    std::size_t at = 0, whites = 0;
    for (std::size_t p = 0; p < f.polygonSizes.size(); ++p) {
        const std::size_t corners = std::size_t(f.polygonSizes[p]);
        if (near(f.polygonColors[p], {255, 255, 255, 255}, 0)) {
            if (whites++ % 2 == 0)
                boxes.push_back({1e9, 1e9, -1e9, -1e9});
            Box& b = boxes.back();
            for (std::size_t k = at; k < at + corners; ++k) {
                b.x0 = std::min(b.x0, f.polygonCorners[k][0]);
                b.x1 = std::max(b.x1, f.polygonCorners[k][0]);
                b.y0 = std::min(b.y0, f.polygonCorners[k][1]);
                b.y1 = std::max(b.y1, f.polygonCorners[k][1]);
            }
        }
        at += corners;
    }
    EXPECT_EQ(whites % 2, 0u);
    ASSERT_GT(boxes.size(), 10u);
    for (std::size_t a = 0; a < boxes.size(); ++a) {
        EXPECT_GE(boxes[a].x0, 0.0);
        EXPECT_LE(boxes[a].x1, 400.0);
        EXPECT_GE(boxes[a].y0, 0.0);
        EXPECT_LE(boxes[a].y1, 400.0);
        for (std::size_t b = a + 1; b < boxes.size(); ++b) {
            // Touching edges may round to a shared pixel line.
            bool apart = boxes[a].x1 <= boxes[b].x0 + 0.01 || boxes[b].x1 <= boxes[a].x0 + 0.01 ||
                         boxes[a].y1 <= boxes[b].y0 + 0.01 || boxes[b].y1 <= boxes[a].y0 + 0.01;
            EXPECT_TRUE(apart) << "boxes " << a << " and " << b;
        }
    }
    // Each box carries its number: glyph triangles are drawn too.
    EXPECT_GT(f.triangles, int(boxes.size()));
}

TEST_F(Contours, BarsAndPatchesTakeTheirRangeFromTheBarBox)
{
    addSurface(4, 4, [](int i, int j) { return 2.0 + i + j; });
    halvex::ContourTracer surface = mesh().MakeContourTracer(2, false);
    EXPECT_EQ(surface.minimum(), 2.0);
    EXPECT_EQ(surface.maximum(), 8.0);
    for (int kind : {4, 5}) {
        put(*model(0), "ViewAs", Variant(kind));
        halvex::ContourTracer bars = mesh().MakeContourTracer(2, false);
        const halvex::BoundingRecord& box = mesh().BarBox();
        EXPECT_EQ(bars.minimum(), box.min[1]);
        EXPECT_EQ(bars.maximum(), box.max[1]);
        // The bar box spans whole cells around the grid.
        halvex::ContourTracer x = mesh().MakeContourTracer(0, false);
        EXPECT_EQ(x.minimum(), box.min[2]);
        EXPECT_LT(x.minimum(), 0.0);
    }
}

TEST_F(Contours, AnyCountDrawsSafely)
{
    addSurface(30, 30, [](int i, int j) { return std::sin(i * 0.3) * std::cos(j * 0.2); });
    Ref<Dispatch> m = model(0);
    put(*m, "DrawZContours3D", Variant::fromInt16(1));
    put(*m, "AutoContourZ3D", Variant(false));
    target(200, 150);
    for (int count : {-1, 0, 200, 32767}) {
        put(*m, "NumberOfContoursZ3D", Variant::fromInt16(std::int16_t(count)));
        EXPECT_EQ(render(), GlRenderer::Frame::Drawn) << count;
        EXPECT_EQ(get(*m, "NumberOfContoursZ3D").toInt32(), count) << "the stored count is kept";
    }
    put(*m, "ViewAs", Variant(1));
    put(*m, "FillZContours", Variant(true));
    put(*m, "AutoContourZ", Variant(false));
    for (int count : {-1, 0, 127, 200, 32767}) {
        put(*m, "NumberOfContoursZ", Variant::fromInt16(std::int16_t(count)));
        EXPECT_EQ(render(), GlRenderer::Frame::Drawn) << count;
    }
}

} // namespace
