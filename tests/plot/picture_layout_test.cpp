// The picture as a whole, drawn off screen: axis numbers and labels that
// never overlap and stay inside the picture over a sweep of views and
// sizes, the title's band, text and lines that follow the resolution, the
// colour bar, and back-plane grids that never show through the surface.
#include "tests/plot/render_test_support.h"

#include "plot/core/gl_renderer.h"
#include "plot/model/colormaps.h"
#include "plot/model/model_box.h"

#include <algorithm>
#include <cmath>

using namespace plottest;
using halvex::GlRenderer;
using halvex::PixelBox;
using halvex::TextBox;

namespace {

class Picture : public RenderTest {
protected:
    Ref<Dispatch> box() { return dispatchOf(get(*ctl, "ModelBox")); }
    Ref<Dispatch> axis(const char* name) { return dispatchOf(get(*box(), name)); }
    GlRenderer& renderer() { return *control().glRenderer(); }

    // A ripple over 21 × 21 cells, X 0 … 20, Y 0 … 20, Z about −0.4 … 1.
    void ripple()
    {
        addSurface(21, 21, [](int i, int j) {
            double r = std::hypot(i - 10.0, j - 10.0);
            return std::cos(r) * std::exp(-r / 6.0);
        });
        put(*model(0), "DrawFilledPolygons", Variant(true));
        put(*model(0), "PolygonColormap", Variant::fromInt16(1));
    }
    void labels()
    {
        const char* names[3] = {"XAxis", "YAxis", "ZAxis"};
        const char* texts[3] = {"Length", "Width", "Height"};
        for (int k = 0; k < 3; ++k) {
            put(*axis(names[k]), "ShowLabel", Variant(true));
            put(*axis(names[k]), "Label", Variant(std::string(texts[k])));
        }
    }
    // The picture's area in the texts' coordinates (y up).
    PixelBox area()
    {
        const halvex::PixelRect& r = renderer().plotArea();
        int h = offscreen_->context().height();
        return {float(r.left), float(h - r.bottom), float(r.right), float(h - r.top)};
    }
    std::vector<PixelBox> shownTexts()
    {
        std::vector<PixelBox> r;
        for (const TextBox& t : control().box().texts())
            if (t.shown)
                r.push_back(t.box.Moved(t.dx, t.dy));
        return r;
    }
    // No two shown texts overlap, and all lie inside the picture's area.
    void expectTidy(const std::string& what)
    {
        std::vector<PixelBox> t = shownTexts();
        PixelBox a = area();
        for (std::size_t i = 0; i < t.size(); ++i) {
            EXPECT_TRUE(t[i].Inside(a)) << what << ": text " << i << " at " << t[i].x0 << "," << t[i].y0 << " .. "
                                        << t[i].x1 << "," << t[i].y1;
            for (std::size_t j = i + 1; j < t.size(); ++j)
                EXPECT_FALSE(t[i].Overlaps(t[j])) << what << ": texts " << i << " and " << j;
        }
    }
    static float tallest(const std::vector<PixelBox>& boxes)
    {
        float h = 0.0f;
        for (const PixelBox& b : boxes)
            h = std::max(h, b.height());
        return h;
    }
};

TEST_F(Picture, NumbersAndLabelsNeverCollideOrLeaveThePicture)
{
    ripple();
    labels();
    put(*ctl, "GraphTitle", Variant(std::string("Ripple")));
    const std::pair<int, int> sizes[] = {{120, 90}, {400, 300}, {1600, 1200}};
    for (int position : {0, 1}) {
        put(*ctl, "GraphTitlePosition", Variant::fromInt16(std::int16_t(position)));
        for (auto [w, h] : sizes) {
            target(w, h);
            for (float tilt : {0.0f, 35.0f, 90.0f})
                for (float rotation : {0.0f, 60.0f, 135.0f})
                    for (int scale : {5, 100, 300})
                        for (bool constrained : {false, true}) {
                            put(*ctl, "Tilt", Variant::fromSingle(tilt));
                            put(*ctl, "Rotation", Variant::fromSingle(rotation));
                            put(*ctl, "VerticalScale", Variant::fromInt16(std::int16_t(scale)));
                            put(*ctl, "ConstrainedView", Variant(constrained));
                            ASSERT_EQ(render(), GlRenderer::Frame::Drawn);
                            std::string what = std::to_string(w) + "x" + std::to_string(h) + " tilt " +
                                               std::to_string(int(tilt)) + " rotation " +
                                               std::to_string(int(rotation)) + " scale " + std::to_string(scale) +
                                               (constrained ? " constrained" : "") + " title " +
                                               std::to_string(position);
                            expectTidy(what);
                            // Crowding drops numbers, never all of them.
                            if (w >= 400) {
                                EXPECT_GE(shownTexts().size(), 4u) << what;
                            }
                        }
        }
    }
    // The largest picture, in a few views.
    target(4000, 3000);
    for (float tilt : {20.0f, 90.0f}) {
        put(*ctl, "Tilt", Variant::fromSingle(tilt));
        render();
        expectTidy("4000x3000 tilt " + std::to_string(int(tilt)));
        EXPECT_GE(shownTexts().size(), 8u);
    }
}

TEST_F(Picture, TheAxesEndsAreKeptFirst)
{
    ripple();
    // A hundred grid values on X: far more than fit along its edge.
    put(*axis("XAxis"), "AutoGridAxis", Variant(false));
    put(*axis("XAxis"), "NumGrids", Variant::fromInt16(101));
    target(300, 225);
    render();
    std::vector<std::int32_t> shown;
    for (const TextBox& t : control().box().texts())
        if (t.group == halvex::kAxisX && !t.title && t.shown)
            shown.push_back(t.index);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_LT(shown.size(), 101u);
    EXPECT_EQ(shown.front(), 0);
    EXPECT_EQ(shown.back(), 100);
    expectTidy("101 numbers");
}

TEST_F(Picture, TheTitleHasABandOfItsOwn)
{
    ripple();
    target(400, 300);
    render();
    EXPECT_EQ(renderer().plotArea(), (halvex::PixelRect{0, 0, 400, 300}));
    put(*ctl, "GraphTitle", Variant(std::string("Ripple")));
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(0));
    render();
    halvex::PixelRect above = renderer().plotArea();
    EXPECT_GT(above.top, 10);
    EXPECT_LT(above.top, 40);
    EXPECT_EQ(above.bottom, 300);
    // Nothing of the 3-D picture in the band.
    for (int y = 0; y < above.top; ++y)
        for (int x = 0; x < 400; ++x)
            ASSERT_TRUE(near(pixel(x, y), {255, 255, 255, 255}, 0)) << x << "," << y;
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(1));
    render();
    halvex::PixelRect below = renderer().plotArea();
    EXPECT_EQ(below.top, 0);
    EXPECT_EQ(below.bottom, 300 - above.top);
    // A picture too small for the title shows none rather than a cut one.
    target(60, 40);
    render();
    EXPECT_EQ(renderer().plotArea(), (halvex::PixelRect{0, 0, 60, 40}));
}

TEST_F(Picture, TextAndLinesFollowTheResolution)
{
    ripple();
    labels();
    put(*ctl, "GraphTitle", Variant(std::string("Ripple")));
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(0));
    // The same picture at 96 and 192 dots per inch.
    offscreen_ = std::make_unique<halvex::OffscreenRenderer>(control(), 400, 300, 96.0);
    render();
    std::vector<PixelBox> at96 = shownTexts();
    halvex::PixelRect area96 = renderer().plotArea();
    offscreen_ = std::make_unique<halvex::OffscreenRenderer>(control(), 800, 600, 192.0);
    render();
    std::vector<PixelBox> at192 = shownTexts();
    halvex::PixelRect area192 = renderer().plotArea();
    // The control is laid out at 400 × 300 both times.
    EXPECT_EQ(control().state().width, 400);
    EXPECT_EQ(control().state().height, 300);
    ASSERT_GE(at96.size(), 6u);
    // The same texts (rounding may let one more in, or one fewer), twice
    // as tall.
    EXPECT_NEAR(double(at192.size()), double(at96.size()), 2.0);
    EXPECT_NEAR(tallest(at192), 2.0f * tallest(at96), 2.0f);
    // The title's band doubles too.
    EXPECT_NEAR(area192.top, 2 * area96.top, 2);
    // Lines twice as wide.
    EXPECT_FLOAT_EQ(renderer().FrameContext().lineScale(), 2.0f);
}

TEST_F(Picture, TheColourBarShowsTheMapAndTheRange)
{
    ripple();
    target(500, 300);
    renderer().SetColorBar(true);
    render();
    ASSERT_TRUE(renderer().colorBarShown());
    // The picture leaves it a band on the right.
    EXPECT_LT(renderer().plotArea().right, 450);
    const halvex::ColorBar& bar = renderer().colorBar();
    PixelBox b = bar.bar();
    EXPECT_GT(b.x0, float(renderer().plotArea().right));
    EXPECT_LT(b.x1, 500.0f);
    EXPECT_GT(b.height(), 150.0f);
    // The map's low colour at the bottom, its high colour at the top.
    // Window row y (from the bottom) of the bar shows the ramp there.
    auto colourAt = [&](int y) {
        float t = (float(y) + 0.5f - b.y0) / b.height();
        halvex::Rgb c = halvex::SpectrumRgb(0, (std::floor(t * 256.0f) + 0.5f) / 256.0f);
        return Rgba{int(c[0] * 255 + 0.5f), int(c[1] * 255 + 0.5f), int(c[2] * 255 + 0.5f), 255};
    };
    int x = int((b.x0 + b.x1) / 2);
    int h = offscreen_->context().height();
    for (int y : {int(b.y0) + 3, int((b.y0 + b.y1) / 2), int(b.y1) - 4})
        EXPECT_TRUE(near(pixel(x, h - 1 - y), colourAt(y), 12)) << y;
    EXPECT_TRUE(near(colourAt(int(b.y0) + 1), colourAt(int(b.y0) + 1), 0));
    EXPECT_FALSE(near(colourAt(int(b.y0) + 3), colourAt(int(b.y1) - 4), 60));
    // Nice numbers of the Z range, the ends first, inside the picture.
    EXPECT_LE(bar.low(), -0.3);
    EXPECT_NEAR(bar.high(), 1.0, 1e-6);
    int shown = 0;
    for (const TextBox& t : bar.texts()) {
        if (!t.shown)
            continue;
        ++shown;
        EXPECT_TRUE(t.box.Moved(t.dx, t.dy).Inside({0.0f, 0.0f, 500.0f, 300.0f}));
    }
    EXPECT_GE(shown, 3);
    // Without a colour map there is nothing to explain.
    put(*model(0), "PolygonColormap", Variant::fromInt16(0));
    render();
    EXPECT_FALSE(renderer().colorBarShown());
    EXPECT_EQ(renderer().plotArea().right, 500);
    renderer().SetColorBar(false);
}

TEST_F(Picture, TheColourBarsNumbersHaveTheWeightOfTheAxesNumbers)
{
    // At 288 dpi the bar's outline is three pixels wide; its numbers must
    // not take that width for the lines that soften their glyphs.
    ripple();
    offscreen_ = std::make_unique<halvex::OffscreenRenderer>(control(), 1200, 900, 288.0);
    renderer().SetColorBar(true);
    render();
    ASSERT_TRUE(renderer().colorBarShown());
    const int h = offscreen_->context().height();
    // The share of a box's pixels that are ink, over several boxes.
    struct Ink {
        long dark = 0, all = 0;
    };
    auto add = [&](Ink& ink, const PixelBox& b) {
        for (int y = int(b.y0); y < int(b.y1); ++y)
            for (int x = int(b.x0); x < int(b.x1); ++x) {
                Rgba c = pixel(x, h - 1 - y);
                ink.dark += (c[0] + c[1] + c[2] < 3 * 128) ? 1 : 0;
                ++ink.all;
            }
    };
    Ink bar, axis;
    for (const TextBox& t : renderer().colorBar().texts())
        if (t.shown)
            add(bar, t.box.Moved(t.dx, t.dy));
    for (const TextBox& t : control().box().texts())
        if (t.shown && !t.title && t.group == 2)
            add(axis, t.box.Moved(t.dx, t.dy));
    renderer().SetColorBar(false);
    ASSERT_GT(bar.all, 0);
    ASSERT_GT(axis.all, 0);
    // The same kind of numbers (the Z range's), so about the same share.
    const double barShare = double(bar.dark) / double(bar.all), axisShare = double(axis.dark) / double(axis.all);
    EXPECT_LT(barShare, 1.2 * axisShare) << barShare << " against " << axisShare;
}

TEST_F(Picture, GridLinesStayBehindTheSurfaceAtEveryScale)
{
    // A blue surface over red grid lines on the floor, seen from above at
    // small vertical scales, where floor and surface are very close.
    ripple();
    put(*model(0), "PolygonColormap", Variant::fromInt16(0));
    put(*model(0), "PolygonColor", Variant::fromUInt32(0xFFFF0000u));
    put(*model(0), "DrawLines", Variant(false));
    put(*box(), "AxesStyle", Variant::fromInt16(2));
    Ref<Dispatch> floor = dispatchOf(get(*box(), "XYPlane"));
    put(*floor, "ShowVerticalGridLines", Variant(true));
    put(*floor, "ShowHorizontalGridLines", Variant(true));
    put(*floor, "VerticalGridColor", Variant(0x0000FF));
    put(*floor, "HorizontalGridColor", Variant(0x0000FF));
    put(*axis("XAxis"), "NumSubdivisions", Variant::fromInt16(0));
    put(*axis("YAxis"), "NumSubdivisions", Variant::fromInt16(0));
    put(*ctl, "Tilt", Variant::fromSingle(50.0f));
    target(400, 300);
    const Rgba red{255, 0, 0, 255}, blue{0, 0, 255, 255};
    // Red pixels inside the surface: between its left and right edge on
    // every row, a few pixels in from its outline.
    auto redInside = [&] {
        int n = 0;
        std::vector<std::array<int, 2>> rows;
        for (int y = 0; y < 300; ++y) {
            int first = -1, last = -1;
            for (int x = 0; x < 400; ++x)
                if (near(pixel(x, y), blue, 40)) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
            rows.push_back({first, last});
        }
        for (int y = 3; y + 3 < 300; ++y) {
            if (rows[std::size_t(y - 3)][0] < 0 || rows[std::size_t(y + 3)][0] < 0 || rows[std::size_t(y)][0] < 0)
                continue;
            for (int x = rows[std::size_t(y)][0] + 3; x <= rows[std::size_t(y)][1] - 3; ++x)
                n += near(pixel(x, y), red, 100) ? 1 : 0;
        }
        return n;
    };
    for (bool constrained : {false, true})
        for (int scale : {20, 5, 1}) {
            std::string what = "VerticalScale " + std::to_string(scale) + (constrained ? ", equal scales" : "");
            put(*ctl, "ConstrainedView", Variant(constrained));
            put(*ctl, "VerticalScale", Variant::fromInt16(std::int16_t(scale)));
            put(*model(0), "DrawFilledPolygons", Variant(false));
            render();
            ASSERT_GT(count(red, 60), 200) << what;
            put(*model(0), "DrawFilledPolygons", Variant(true));
            render();
            ASSERT_GT(count(blue, 40), 5000) << what;
            EXPECT_EQ(redInside(), 0) << what;
        }
}

} // namespace
