// What the other plot kinds draw, counted in the renderer's feedback mode
// and on the pixels: bars in their layouts (culled faces, edges, corners),
// patches, scatter points with their symbols and scatter lines with their
// dash patterns, vector arrows, every kind over a matrix surface, and a
// point list gridded into a surface.
#include "tests/plot/render_test_support.h"

#include "plot/model/mesh_model.h"
#include "plot/model/mesh_paint.h"
#include "plot/model/point_symbols.h"

#include <GL/gl.h>

#include <cmath>
#include <random>

using namespace plottest;

namespace {

class PlotKindsDrawn : public RenderTest {
protected:
    // Only the models are counted: no axes, planes or box.
    void SetUp() override { put(*dispatchOf(get(*ctl, "ModelBox")), "AxesStyle", Variant::fromInt16(2)); }
    void set(const char* name, int value, int n = 0) { put(*model(n), name, Variant(value)); }
    void scatter(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& z)
    {
        call(*ctl, "AddScatterPlot", {doubles1D(x), doubles1D(y), doubles1D(z)});
    }
    // A field turning about its middle point, which is still: at data
    // (X, Y) = (j, i) the vector (−(Y − c), X − c), the real part along X.
    void rotatingField(int n)
    {
        std::vector<double> re, im;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                re.push_back(-(i - n / 2));
                im.push_back(j - n / 2);
            }
        auto un = std::uint32_t(n);
        call(*ctl, "AddVectorFieldPlot", {doubles2D(0, un, 0, un, re), doubles2D(0, un, 0, un, im)});
    }
};

TEST_F(PlotKindsDrawn, MatrixBarsAreCulledBoxesWithTwelveEdgesAndEightCorners)
{
    addSurface(2, 3, [](int i, int j) { return 1 + i + 2 * j; });
    set("ViewAs", 4);
    set("BarLines", 0);
    set("BarFilled", 1);
    target(300, 240);
    Feedback fill = feedback();
    // A box shows at most three faces (each fed back as two triangles);
    // the culled back faces never reach the picture.
    EXPECT_GE(fill.polygons, 6 * 2);
    EXPECT_LE(fill.polygons, 6 * 3 * 2);
    EXPECT_EQ(fill.lines, 0);

    // Half filled: one triangle of each face.
    set("BarHalfFilled", 1);
    Feedback half = feedback();
    EXPECT_EQ(half.triangles, half.polygons);
    EXPECT_EQ(2 * half.polygons, fill.polygons);

    set("BarFilled", 0);
    set("BarLines", 1);
    EXPECT_EQ(feedback().lines, 6 * 12);
    set("BarLines", 0);
    set("BarPoints", 1);
    EXPECT_EQ(feedback().points, 6 * 8);
    EXPECT_TRUE(control().drawMessages().empty());
}

TEST_F(PlotKindsDrawn, StackedAndSideBySideBarsDrawOneBoxPerValue)
{
    addSurface(3, 2, [](int i, int j) { return (i == 1 ? -1.0 : 1.0) * (1 + i + j); });
    set("ViewAs", 4);
    set("BarFilled", 0);
    set("BarLines", 1);
    for (int layout : {1, 2}) {
        set("BarPlotLayout", layout);
        EXPECT_EQ(feedback().lines, 6 * 12) << layout;
    }
    // Each row has its own colour from the colour map in every column.
    set("BarPlotLayout", 1);
    set("BarLines", 0);
    set("BarFilled", 1);
    set("PolygonColormap", 1);
    Feedback f = feedback();
    ASSERT_GT(f.polygons, 0);
    std::vector<Rgba> colors;
    for (const Rgba& c : f.polygonColors) {
        bool known = false;
        for (const Rgba& k : colors)
            known |= near(k, c, 2);
        if (!known)
            colors.push_back(c);
    }
    EXPECT_EQ(colors.size(), 3u);
}

TEST_F(PlotKindsDrawn, PatchesAreTilesThatTouch)
{
    addSurface(2, 3, [](int i, int j) { return i * j; });
    set("ViewAs", 5);
    set("PatchLines", 0);
    Feedback fill = feedback();
    EXPECT_EQ(fill.polygons, 6 * 2); // a quadrilateral each, fed back as two triangles
    set("PatchFilled", 0);
    set("PatchLines", 1);
    EXPECT_EQ(feedback().lines, 6 * 4);
    set("PatchLines", 0);
    set("PatchPoints", 1);
    EXPECT_EQ(feedback().points, 6 * 4);
}

TEST_F(PlotKindsDrawn, ScatterPointsAndLines)
{
    scatter({0, 1, 2, 3, 4}, {0, 1, 0, 1, 0}, {1, 3, 2, 5, 4});
    Feedback dots = feedback();
    EXPECT_EQ(dots.points, 5);
    EXPECT_EQ(dots.lines, 0);
    set("ScatterLines", 1);
    Feedback lines = feedback();
    EXPECT_EQ(lines.lines, 4);
    // Symbols are bitmaps, one per point.
    for (int symbol : {1, 2, 3, 4}) {
        set("PointSymbol", symbol);
        Feedback f = feedback();
        EXPECT_EQ(f.bitmaps, 5) << symbol;
        EXPECT_EQ(f.points, 0) << symbol;
    }
    // A symbol outside the table is drawn as dots; the value stays.
    set("PointSymbol", 40);
    EXPECT_EQ(feedback().points, 5);
    // With lighting the symbols are drawn on every paint, outside the
    // recorded lists.
    set("PointSymbol", 2);
    put(*ctl, "Lighting", Variant(true));
    Feedback lit = feedback();
    EXPECT_EQ(lit.bitmaps, 5);
    EXPECT_TRUE(control().FindModel(0)->NeedsDirectDraw());
}

TEST_F(PlotKindsDrawn, SymbolsShowTheirShapes)
{
    // One big symbol in the middle of the picture.
    scatter({0, 1, 2}, {0, 1, 2}, {0, 1, 2});
    put(*model(0), "PointSize", Variant(8.0));
    put(*model(0), "PointColor", Variant::fromUInt32(0xFF0000FFu)); // red
    target(240, 200);
    int inkedBy[5] = {};
    for (int symbol : {0, 1, 2, 3, 4}) {
        set("PointSymbol", symbol);
        render();
        inkedBy[symbol] = count({255, 0, 0, 255}, 40);
    }
    // A dot of 8 × 8 × 0.25 + 1 = 17 pixels across is filled; the outlines
    // of 51-pixel symbols are thinner but longer.
    for (int symbol : {1, 2, 3, 4})
        EXPECT_GT(inkedBy[symbol], 3 * 40) << symbol;
    EXPECT_GT(inkedBy[0], 3 * 100);
}

TEST(PointSymbols, BitmapsAreTheShapesInASquare)
{
    const int side = 9;
    auto on = [](const std::vector<std::uint8_t>& b, int x, int y) {
        return (b[std::size_t(y * 2 + x / 8)] >> (7 - x % 8) & 1) != 0;
    };
    auto box = halvex::SymbolBitmap(halvex::kBoxSymbol, side);
    ASSERT_EQ(box.size(), 2u * side);
    EXPECT_TRUE(on(box, 0, 0) && on(box, 8, 8) && on(box, 4, 0) && on(box, 0, 4));
    EXPECT_FALSE(on(box, 4, 4));
    auto x = halvex::SymbolBitmap(halvex::kXSymbol, side);
    EXPECT_TRUE(on(x, 4, 4) && on(x, 0, 0) && on(x, 8, 0) && on(x, 0, 8));
    EXPECT_FALSE(on(x, 4, 0));
    auto plus = halvex::SymbolBitmap(halvex::kPlusSymbol, side);
    EXPECT_TRUE(on(plus, 4, 4) && on(plus, 0, 4) && on(plus, 4, 8));
    EXPECT_FALSE(on(plus, 0, 0));
    auto diamond = halvex::SymbolBitmap(halvex::kDiamondSymbol, side);
    EXPECT_TRUE(on(diamond, 4, 0) && on(diamond, 8, 4) && on(diamond, 0, 4));
    EXPECT_FALSE(on(diamond, 0, 0) || on(diamond, 4, 4));
    EXPECT_TRUE(halvex::SymbolBitmap(0, side).empty());
    EXPECT_TRUE(halvex::SymbolBitmap(5, side).empty());

    // However large (or broken) the point size, the bitmap stays bounded.
    EXPECT_EQ(halvex::SymbolSide(1e30f, 8.0f), halvex::kMaxSymbolSide);
    EXPECT_EQ(halvex::SymbolSide(std::nanf(""), 8.0f), 5);
    EXPECT_EQ(halvex::SymbolSide(-4.0f, 8.0f), 5);
    EXPECT_EQ(halvex::SymbolSide(1.0f, 8.0f) % 2, 1);
}

TEST_F(PlotKindsDrawn, DashPatternsFollowStyleAndWidth)
{
    target(80, 60);
    render();
    offscreen_->context().MakeCurrent();
    halvex::ModelFormat f;
    halvex::DrawContext dc;
    auto stipple = [&](int style, float width, GLint& pattern, GLint& repeat) {
        f.lineStyle = style;
        f.lineWidth = width;
        GLboolean enabled;
        {
            halvex::LineStyleScope scope(f, dc);
            enabled = glIsEnabled(GL_LINE_STIPPLE);
            glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &pattern);
            glGetIntegerv(GL_LINE_STIPPLE_REPEAT, &repeat);
        }
        EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
        return enabled == GL_TRUE;
    };
    GLint pattern = 0, repeat = 0;
    EXPECT_TRUE(stipple(1, 3.0f, pattern, repeat));
    EXPECT_EQ(pattern, 0xEEEE);
    EXPECT_EQ(repeat, 3);
    EXPECT_TRUE(stipple(1, 1.0f, pattern, repeat));
    EXPECT_EQ(pattern, 0xF8F8);
    EXPECT_EQ(repeat, 1);
    EXPECT_TRUE(stipple(2, 2.0f, pattern, repeat));
    EXPECT_EQ(pattern, 0xCCCC);
    EXPECT_TRUE(stipple(2, 2.5f, pattern, repeat));
    EXPECT_EQ(pattern, 0xAAAA);
    EXPECT_EQ(repeat, 2);
    EXPECT_TRUE(stipple(3, 1.0f, pattern, repeat));
    EXPECT_EQ(pattern, 0xF870);
    EXPECT_TRUE(stipple(3, 4.0f, pattern, repeat));
    EXPECT_EQ(pattern, 0xEBAE);
    EXPECT_FALSE(stipple(0, 3.0f, pattern, repeat));
    EXPECT_FALSE(stipple(7, 3.0f, pattern, repeat));
    EXPECT_FALSE(stipple(-1, 3.0f, pattern, repeat));
}

TEST_F(PlotKindsDrawn, DashedScatterLinesInkLessThanSolidOnes)
{
    scatter({-1, 1}, {0, 0}, {0, 0});
    set("ScatterLines", 1);
    set("ScatterPoints", 0);
    target(300, 200);
    int inked[4] = {};
    for (int style : {0, 1, 2, 3}) {
        set("LineStyle", style);
        render();
        inked[style] = this->inked();
    }
    EXPECT_GT(inked[0], 60);
    for (int style : {1, 2, 3}) {
        EXPECT_LT(inked[style], inked[0] * 0.85) << style;
        EXPECT_GT(inked[style], inked[0] * 0.3) << style;
    }
}

TEST_F(PlotKindsDrawn, ArrowsOfARotatingFieldAndPointsOfAStillOne)
{
    rotatingField(5);
    // Seen flat from above, the floor's outline is drawn too.
    set("VectorLines", 0);
    const int floor = feedback().lines;
    set("VectorLines", 1);
    Feedback lines = feedback();
    // 24 arrows of three strokes; the still middle is a point.
    EXPECT_EQ(lines.lines - floor, 24 * 3);
    EXPECT_EQ(lines.points, 1);
    set("VectorLines", 0);
    set("VectorFilled", 1);
    Feedback heads = feedback();
    EXPECT_EQ(heads.triangles, 24);
    EXPECT_EQ(heads.lines - floor, 24) << heads.lines << " " << floor << " " << heads.points;
    set("VectorFilled", 0);
    set("DrawPoints", 1);
    EXPECT_EQ(feedback().points, 24 * 4 + 1);
    EXPECT_TRUE(control().drawMessages().empty());

    std::vector<double> zeros(12, 0.0);
    call(*ctl, "AddVectorFieldPlot", {doubles2D(0, 3, 0, 4, zeros), doubles2D(0, 3, 0, 4, zeros)});
    set("DrawPoints", 0);
    set("VectorLines", 1);
    Feedback still = feedback();
    EXPECT_EQ(still.lines - floor, 0);
    EXPECT_EQ(still.points, 12);
}

TEST_F(PlotKindsDrawn, EveryKindDrawsAMatrixSurface)
{
    addSurface(6, 7, [](int i, int j) { return std::sin(i * 0.7) * std::cos(j * 0.5); });
    target(240, 180);
    for (int kind : {0, 2, 4, 5}) {
        set("ViewAs", kind);
        render();
        EXPECT_GT(inked(), kind == 2 ? 100 : 400) << kind;
    }
    EXPECT_TRUE(control().drawMessages().empty());
    // A matrix holds no vectors.
    set("ViewAs", 3);
    render();
    ASSERT_FALSE(control().drawMessages().empty());
    EXPECT_EQ(control().drawMessages().back(), "The data of this model does not fit its plot kind");
}

TEST_F(PlotKindsDrawn, APointListIsDrawnAsItsGriddedSurface)
{
    std::mt19937 rng(2);
    std::uniform_real_distribution<double> U(-1.0, 1.0);
    std::vector<double> x, y, z;
    for (int k = 0; k < 50; ++k) {
        x.push_back(U(rng));
        y.push_back(U(rng));
        z.push_back(x.back() * y.back());
    }
    scatter(x, y, z);
    set("ViewAs", 0);
    set("DrawFilledPolygons", 1);
    set("DrawLines", 0);
    Feedback f = feedback();
    // The default grid of 21 × 21 nodes: 20 × 20 cells of two triangles.
    EXPECT_EQ(f.triangles, 2 * 20 * 20);
    set("InterpolatedColumns", 11);
    EXPECT_EQ(feedback().triangles, 2 * 20 * 10);
    // As data points, the fifty points themselves.
    set("ViewAs", 2);
    EXPECT_EQ(feedback().points, 50);
    // Bars of the grid: one per node.
    set("ViewAs", 4);
    set("BarFilled", 0);
    set("BarLines", 1);
    EXPECT_EQ(feedback().lines, 21 * 11 * 12);
    EXPECT_TRUE(control().drawMessages().empty());
}

} // namespace
