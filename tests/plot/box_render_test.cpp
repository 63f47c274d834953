// The model box drawn off screen: which edges the axes take for the view,
// the back planes on the far side, the box outline, flat plots, the box
// scale, subdivisions, numbers, and lists that keep their own drawing.
#include "tests/plot/render_test_support.h"

#include "plot/core/gl_renderer.h"
#include "plot/model/model_box.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

using namespace plottest;

namespace {

const Rgba kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kMagenta{255, 0, 255, 255};

class BoxRendering : public RenderTest {
protected:
    Ref<Dispatch> box() { return dispatchOf(get(*ctl, "ModelBox")); }
    Ref<Dispatch> sub(const char* name) { return dispatchOf(get(*box(), name)); }
    halvex::CglModelBox& object() { return control().box(); }

    // A ramp over an 11 × 11 grid: X, Y and Z all run 0 … 10; filled, no
    // lines of its own.
    void ramp()
    {
        addSurface(11, 11, [](int i, int) { return double(i); });
        Ref<Dispatch> m = model(0);
        put(*m, "DrawFilledPolygons", Variant(true));
        put(*m, "DrawLines", Variant(false));
    }
    // Axis lines only, in red (X), green (Y) and blue (Z); the box in
    // magenta.
    void colouredAxes(bool numbered = false)
    {
        const char* names[3] = {"XAxis", "YAxis", "ZAxis"};
        const int colors[3] = {0x0000FF, 0x00FF00, 0xFF0000};
        for (int k = 0; k < 3; ++k) {
            put(*sub(names[k]), "AxisColor", Variant(colors[k]));
            put(*sub(names[k]), "Numbered", Variant(numbered));
        }
        put(*box(), "ShowBox", Variant(true));
        put(*box(), "BoxColor", Variant(0xFF00FF));
    }
    void view(float tilt, float rotation, float twist = 10.0f)
    {
        put(*ctl, "Tilt", Variant::fromSingle(tilt));
        put(*ctl, "Rotation", Variant::fromSingle(rotation));
        put(*ctl, "Twist", Variant::fromSingle(twist));
    }
    static Segment longest(const std::vector<Segment>& lines)
    {
        Segment best{0, 0, 0, 0, {}};
        double len = -1;
        for (const Segment& s : lines) {
            double l = std::hypot(s.x1 - s.x0, s.y1 - s.y0);
            if (l > len) {
                len = l;
                best = s;
            }
        }
        return best;
    }
    static std::vector<std::array<double, 2>> ends(const std::vector<Segment>& lines)
    {
        std::vector<std::array<double, 2>> p;
        for (const Segment& s : lines) {
            p.push_back({s.x0, s.y0});
            p.push_back({s.x1, s.y1});
        }
        return p;
    }
    // Every point on one side of the line (a pixel of slack).
    static bool onOneSide(const Segment& l, const std::vector<std::array<double, 2>>& points)
    {
        double dx = l.x1 - l.x0, dy = l.y1 - l.y0, len = std::hypot(dx, dy);
        bool left = false, right = false;
        for (const auto& p : points) {
            double d = (dx * (p[1] - l.y0) - dy * (p[0] - l.x0)) / len;
            left |= d > 1.0;
            right |= d < -1.0;
        }
        return !(left && right);
    }
    static double midY(const Segment& s) { return (s.y0 + s.y1) / 2; }
    static double centreY(const std::vector<std::array<double, 2>>& p)
    {
        double lo = 1e9, hi = -1e9;
        for (const auto& q : p) {
            lo = std::min(lo, q[1]);
            hi = std::max(hi, q[1]);
        }
        return (lo + hi) / 2;
    }
};

TEST_F(BoxRendering, PerimeterAxesRunAlongTheOutlineOfTheBox)
{
    ramp();
    colouredAxes();
    put(*box(), "AxesStyle", Variant::fromInt16(0));
    target(300, 300);
    for (float tilt : {35.0f, 70.0f, -35.0f})
        for (float rotation : {0.0f, 60.0f, 150.0f, 250.0f}) {
            view(tilt, rotation);
            Feedback f = feedback();
            auto corners = ends(f.linesOf(kMagenta));
            ASSERT_EQ(corners.size(), 24u);
            for (const Rgba& c : {kRed, kGreen, kBlue}) {
                auto lines = f.linesOf(c);
                ASSERT_EQ(lines.size(), 1u) << "tilt " << tilt << " rotation " << rotation;
                EXPECT_TRUE(onOneSide(lines[0], corners))
                    << "tilt " << tilt << " rotation " << rotation << " colour " << c[0] << c[1] << c[2];
            }
        }
}

TEST_F(BoxRendering, SeenFromBelowTheAxesAndTheFloorMoveUp)
{
    ramp();
    colouredAxes();
    put(*box(), "AxesStyle", Variant::fromInt16(0));
    Ref<Dispatch> floor = sub("XYPlane");
    put(*floor, "ShowVerticalGridLines", Variant(true));
    put(*floor, "VerticalGridColor", Variant(0x00FFFF)); // yellow
    target(300, 300);
    view(35, 30);
    Feedback above = feedback();
    double centre = centreY(ends(above.linesOf(kMagenta)));
    EXPECT_LT(midY(longest(above.linesOf(kRed))), centre);
    EXPECT_LT(midY(longest(above.linesOf(kGreen))), centre);
    auto grid = above.linesOf({255, 255, 0, 255});
    ASSERT_FALSE(grid.empty());
    for (const Segment& s : grid)
        EXPECT_LT(midY(s), centre);
    std::array<int, 3> codes{object().axis(0).fields().positionCode, object().axis(1).fields().positionCode,
                             object().axis(2).fields().positionCode};
    EXPECT_LT(codes[0], 4);
    EXPECT_LT(codes[1], 4);

    view(-35, 30);
    Feedback below = feedback();
    centre = centreY(ends(below.linesOf(kMagenta)));
    EXPECT_GT(midY(longest(below.linesOf(kRed))), centre);
    EXPECT_GT(midY(longest(below.linesOf(kGreen))), centre);
    for (const Segment& s : below.linesOf({255, 255, 0, 255}))
        EXPECT_GT(midY(s), centre);
    EXPECT_EQ(object().axis(0).fields().positionCode, codes[0] + 4);
    EXPECT_EQ(object().axis(1).fields().positionCode, codes[1] + 4);
    EXPECT_EQ(object().axis(2).fields().positionCode, codes[2]);
}

TEST_F(BoxRendering, CornerAxesMeetAndNoneDrawNothing)
{
    ramp();
    colouredAxes();
    Feedback f = feedback();
    Segment x = longest(f.linesOf(kRed)), y = longest(f.linesOf(kGreen)), z = longest(f.linesOf(kBlue));
    auto meets = [](const Segment& a, const Segment& b) {
        for (auto p : {std::array<double, 2>{a.x0, a.y0}, {a.x1, a.y1}})
            for (auto q : {std::array<double, 2>{b.x0, b.y0}, {b.x1, b.y1}})
                if (std::hypot(p[0] - q[0], p[1] - q[1]) < 0.5)
                    return true;
        return false;
    };
    EXPECT_TRUE(meets(x, y));
    EXPECT_TRUE(meets(y, z));
    EXPECT_EQ(object().axis(0).fields().positionCode, 3);
    EXPECT_EQ(object().axis(1).fields().positionCode, 0);
    EXPECT_EQ(object().axis(2).fields().positionCode, 8);

    // Corner axes without numbers are not drawn at all; no axes: nothing.
    put(*sub("XAxis"), "Numbered", Variant(false));
    put(*sub("YAxis"), "Numbered", Variant(true));
    f = feedback();
    EXPECT_TRUE(f.linesOf(kRed).empty());
    EXPECT_FALSE(f.linesOf(kGreen).empty());
    put(*box(), "AxesStyle", Variant::fromInt16(2));
    f = feedback();
    EXPECT_TRUE(f.linesOf(kGreen).empty());
    EXPECT_TRUE(f.linesOf(kBlue).empty());
    EXPECT_EQ(f.linesOf(kMagenta).size(), 12u);
}

TEST_F(BoxRendering, NumbersAreDrawnOutsideTheBoxFacingTheViewer)
{
    ramp();
    colouredAxes(true);
    put(*box(), "AxesStyle", Variant::fromInt16(0));
    put(*box(), "ShowBox", Variant(false));
    target(300, 300);
    Feedback f = feedback();
    // The Z axis's numbers: 0, 2, … 10, each a few triangles in blue.
    int blue = 0;
    double lo = 1e9, hi = -1e9;
    for (std::size_t k = 0; k < f.polygonColors.size(); ++k)
        if (near(f.polygonColors[k], kBlue, 2))
            ++blue;
    EXPECT_GT(blue, 30);
    for (const auto& p : f.polygonCorners) {
        lo = std::min(lo, p[0]);
        hi = std::max(hi, p[0]);
    }
    EXPECT_GE(lo, 0.0);
    EXPECT_LE(hi, 300.0);
    // Six ticks on the Z axis besides its line.
    EXPECT_EQ(f.linesOf(kBlue).size() - 1 > 5, true);
    halvex::CglAxis& z = object().axis(halvex::kAxisZ);
    EXPECT_GT(z.labelWidth(), 5);
    EXPECT_GT(z.labelHeight(), 5);
    // Without numbers the picture has fewer dark pixels.
    render();
    int numbered = inked();
    for (const char* name : {"XAxis", "YAxis", "ZAxis"})
        put(*sub(name), "Numbered", Variant(false));
    render();
    EXPECT_GT(numbered, inked() + 100);
}

TEST_F(BoxRendering, EveryListKeepsItsOwnDrawing)
{
    ramp();
    colouredAxes(true);
    Ref<Dispatch> xy = sub("XYPlane"), yz = sub("YZPlane");
    put(*xy, "ShowVerticalGridLines", Variant(true));
    put(*xy, "VerticalGridColor", Variant(0x0080FF)); // orange
    put(*yz, "ShowVerticalGridLines", Variant(true));
    put(*yz, "VerticalGridColor", Variant(0x808080));
    Feedback f = feedback();
    std::size_t orange = f.linesOf({255, 128, 0, 255}).size(), grey = f.linesOf({128, 128, 128, 255}).size();
    EXPECT_EQ(orange, 6u); // Y's six grid values across the floor
    EXPECT_EQ(grey, 6u);   // Z's six across the back wall
    // Two planes of one type draw each its own lines.
    call(*xy, "SetYZ");
    f = feedback();
    EXPECT_EQ(f.linesOf({255, 128, 0, 255}).size(), 6u);
    EXPECT_EQ(f.linesOf({128, 128, 128, 255}).size(), 6u);
    // Numbers, axes and box after several frames still in their colours.
    for (int k = 0; k < 3; ++k)
        render();
    f = feedback();
    EXPECT_EQ(f.linesOf(kMagenta).size(), 12u);
    EXPECT_FALSE(f.linesOf(kBlue).empty());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BoxRendering, PlaneBordersTakeANewBoxColour)
{
    ramp();
    Ref<Dispatch> xy = sub("XYPlane");
    put(*xy, "Border", Variant(true));
    put(*box(), "BoxColor", Variant(0x0000FF));
    Feedback f = feedback();
    EXPECT_EQ(f.linesOf(kRed).size(), 4u);
    put(*box(), "BoxColor", Variant(0xFF0000));
    f = feedback();
    EXPECT_TRUE(f.linesOf(kRed).empty());
    EXPECT_EQ(f.linesOf(kBlue).size(), 4u);
}

TEST_F(BoxRendering, FilledPlanesLieBehindTheirGrids)
{
    ramp();
    Ref<Dispatch> xz = sub("XZPlane");
    put(*xz, "Fill", Variant(true));
    put(*xz, "FillColor", Variant(0x00FFFF)); // yellow
    view(0, 90, 0); // looking along the data's Y: the XZ wall faces the viewer
    target(200, 200);
    render();
    EXPECT_GT(count({255, 255, 0, 255}), 500);
    put(*xz, "Fill", Variant(false));
    render();
    EXPECT_EQ(count({255, 255, 0, 255}), 0);
}

TEST_F(BoxRendering, FlatPlotsShowOnlyTheFloorWithTheControlsBorder)
{
    addSurface(5, 8, [](int i, int j) { return i * j; });
    put(*model(0), "ViewAs", Variant::fromInt16(1));
    ASSERT_TRUE(control().FlatPlot());
    put(*sub("YZPlane"), "Fill", Variant(true));
    put(*sub("YZPlane"), "FillColor", Variant(0x00FFFF));
    put(*ctl, "BorderColor", Variant(0x0000FF));
    put(*sub("ZAxis"), "AxisColor", Variant(0xFF0000));
    target(240, 200);
    render();
    EXPECT_EQ(count({255, 255, 0, 255}), 0); // no wall in a flat plot
    EXPECT_GT(count(kRed, 110), 300);         // the border
    Feedback f = feedback();
    EXPECT_EQ(f.linesOf(kRed).size(), 4u);
    EXPECT_TRUE(f.linesOf(kBlue).empty()); // the Z axis points out of the picture
    // The border sits on the data's frame: X 0 … 4 across, Y 0 … 7 up.
    auto p = ends(f.linesOf(kRed));
    double w = 0, h = 0;
    for (const auto& a : p)
        for (const auto& b : p) {
            w = std::max(w, std::fabs(a[0] - b[0]));
            h = std::max(h, std::fabs(a[1] - b[1]));
        }
    EXPECT_GT(w, 100.0);
    EXPECT_GT(h, 100.0);
    put(*ctl, "ShowBorder", Variant(false));
    control().RequestRedraw();
    f = feedback();
    EXPECT_TRUE(f.linesOf(kRed).empty());
}

TEST_F(BoxRendering, TheBoxScaleMakesACubeStretchedByTheVerticalScale)
{
    ramp();
    colouredAxes();
    put(*ctl, "VerticalScale", Variant::fromInt16(200));
    view(0, 0, 0); // from the side: the data's Y across, Z up
    target(300, 300);
    render();
    auto s = object().ComputeBoxScale();
    EXPECT_FLOAT_EQ(s[0], 1.0f);
    EXPECT_FLOAT_EQ(s[1], 2.0f);
    EXPECT_FLOAT_EQ(s[2], 1.0f);
    Feedback f = feedback();
    auto p = ends(f.linesOf(kMagenta));
    double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (const auto& q : p) {
        x0 = std::min(x0, q[0]);
        x1 = std::max(x1, q[0]);
        y0 = std::min(y0, q[1]);
        y1 = std::max(y1, q[1]);
    }
    EXPECT_NEAR((y1 - y0) / (x1 - x0), 2.0, 0.01);

    put(*ctl, "ConstrainedView", Variant(true));
    render();
    s = object().ComputeBoxScale();
    EXPECT_EQ(s, (std::array<float, 3>{1.0f, 1.0f, 1.0f}));
}

TEST_F(BoxRendering, OneSubdivisionLiesHalfwayBetweenGridLines)
{
    ramp();
    Ref<Dispatch> xy = sub("XYPlane");
    put(*xy, "ShowHorizontalGridLines", Variant(true));
    put(*xy, "HorizontalGridColor", Variant(0x0000FF));
    put(*xy, "ShowHorizontalSubdivisions", Variant(true));
    put(*xy, "HorizontalSubdivisionColor", Variant(0xFF0000));
    put(*xy, "HorizontalSubdivisionWeight", Variant::fromInt16(10));
    view(90, 0, 0); // from above: the data's X runs down the picture
    target(200, 200);
    Feedback f = feedback();
    auto grid = f.linesOf(kRed), subs = f.linesOf(kBlue);
    ASSERT_EQ(grid.size(), 6u); // X: 0, 2, … 10
    ASSERT_EQ(subs.size(), 5u);
    std::vector<double> g, h;
    for (const Segment& s : grid)
        g.push_back(midY(s));
    for (const Segment& s : subs)
        h.push_back(midY(s));
    std::sort(g.begin(), g.end());
    std::sort(h.begin(), h.end());
    for (std::size_t k = 0; k < h.size(); ++k)
        EXPECT_NEAR(h[k], (g[k] + g[k + 1]) / 2, 0.01);

    put(*sub("XAxis"), "NumSubdivisions", Variant::fromInt16(3));
    f = feedback();
    EXPECT_EQ(f.linesOf(kBlue).size(), 15u);
}

TEST_F(BoxRendering, AHugeFixedGridNumbersEveryFewValues)
{
    ramp();
    colouredAxes(true);
    Ref<Dispatch> z = sub("ZAxis");
    put(*z, "AutoGridAxis", Variant(false));
    put(*z, "NumGrids", Variant::fromInt16(32767));
    put(*sub("YZPlane"), "ShowVerticalGridLines", Variant(true));
    put(*sub("YZPlane"), "VerticalGridColor", Variant(0x808080));
    Feedback f = feedback();
    // A tick per number: the axis line and at most 500 ticks.
    std::size_t ticks = f.linesOf(kBlue).size();
    EXPECT_GT(ticks, 400u);
    EXPECT_LE(ticks, 501u);
    EXPECT_GT(f.linesOf({128, 128, 128, 255}).size(), 30000u); // every grid line
}

TEST_F(BoxRendering, UserLimitsClipTheModels)
{
    ramp(); // Z rises 0 … 10 along X
    colouredAxes();
    Ref<Dispatch> z = sub("ZAxis");
    put(*z, "AutoScaleAxis", Variant(false));
    put(*z, "MinVal", Variant(0.0));
    put(*z, "MaxVal", Variant(5.0));
    view(0, 90, 0); // from the side along Y: X across, Z up
    target(300, 300);
    Feedback f = feedback();
    auto corners = ends(f.linesOf(kMagenta));
    double top = -1e9;
    for (const auto& c : corners)
        top = std::max(top, c[1]);
    // The surface's polygons (no numbers are drawn) end at the limit.
    double highest = -1e9;
    for (const auto& p : f.polygonCorners)
        highest = std::max(highest, p[1]);
    EXPECT_LT(highest, top);
    EXPECT_EQ(object().axis(halvex::kAxisZ).fields().dataMax, 10.0);
}

} // namespace
