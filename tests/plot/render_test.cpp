// Off-screen frames of the control: the projection and field of view, the
// strips and triangles a surface is drawn with, hidden-line removal,
// colours from colour maps, lights, interruption, models that cannot draw,
// picking and partial repaints.
#include "tests/plot/render_test_support.h"

#include "plot/core/gl_renderer.h"
#include "plot/model/mesh_model.h"
#include "plot/model/colormaps.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

using namespace plottest;
using halvex::GlRenderer;

namespace {

class Rendering : public RenderTest {
protected:
    // These tests count what the models draw: the axes stay out.
    void SetUp() override { put(*dispatchOf(get(*ctl, "ModelBox")), "AxesStyle", Variant::fromInt16(2)); }
    GlRenderer& renderer() { return *control().glRenderer(); }
    void fillOnly(int n = 0)
    {
        Ref<Dispatch> m = model(n);
        put(*m, "DrawFilledPolygons", Variant(true));
        put(*m, "DrawLines", Variant(false));
    }
};

TEST_F(Rendering, FieldOfViewIsTheWindowSeenFromTheViewingDistance)
{
    addSurface(3, 3, [](int i, int j) { return i + j; });
    target(200, 100);
    ASSERT_EQ(render(), GlRenderer::Frame::Drawn);
    const halvex::ViewState& v = renderer().view();
    EXPECT_NEAR(v.fieldOfView, 2.0 * std::atan((100.0 / 96.0) / 36.0) * 57.29577951308232, 1e-12);
    EXPECT_NEAR(v.fieldOfView, 3.315, 0.001);
    EXPECT_DOUBLE_EQ(v.windowAspect, 2.0);

    // Equal scales off: the fixed aspect 1 and a cube of the longest side.
    const halvex::BoundingRecord& box = renderer().sceneBox();
    double M = std::max({box.extent(0), box.extent(1), box.extent(2)});
    double r = std::sqrt(3.0) * 1.03 * M / 2.0;
    EXPECT_NEAR(v.radius, 1.03 * r, 1e-5);
    double h = v.fieldOfView * 0.5 * 0.017453291479645996;
    double d = v.radius / std::tan(h);
    EXPECT_NEAR(control().state().zPosition, d + v.radius, 1e-6);
    EXPECT_NEAR(v.nearPlane, d, 1e-6);
    EXPECT_NEAR(v.farPlane - v.nearPlane, 2.0 * v.radius, 1e-9);

    put(*ctl, "ViewingDistance", Variant::fromInt16(0));
    render();
    EXPECT_NEAR(renderer().view().fieldOfView, 2.0 * std::atan((100.0 / 96.0) / 0.0002) * 57.29577951308232, 1e-9);
}

TEST_F(Rendering, EqualScalesGiveTheBoxDiagonalAsRadius)
{
    // Extents 2, 2, 2: heights −1..1 over a 3 × 3 grid.
    addSurface(3, 3, [](int i, int j) { return i == 0 && j == 0 ? -1.0 : (i == 2 && j == 2 ? 1.0 : 0.0); });
    put(*ctl, "ConstrainedView", Variant(true));
    target(200, 100);
    render();
    double r = std::sqrt(3.0 * 1.03 * 1.03);
    EXPECT_NEAR(renderer().view().radius, 1.03 * r, 1e-6);
    // The window's aspect now shapes the volume.
    const auto& f = renderer().view().frustum;
    EXPECT_NEAR((f[1] - f[0]) / (f[3] - f[2]), 2.0, 1e-5);
}

TEST_F(Rendering, TheWholeSceneProjectsIntoTheViewport)
{
    addSurface(10, 20, [](int i, int j) { return std::sin(i * 0.5) * j; });
    for (bool perspective : {false, true}) {
        put(*ctl, "PerspectiveView", Variant(perspective));
        target(300, 200);
        render();
        const halvex::ViewState& v = renderer().view();
        // The data box's corners under the modelview that the frame used.
        offscreen_->context().MakeCurrent();
        const halvex::BoundingRecord& b = renderer().sceneBox();
        EXPECT_EQ(v.projection[11], perspective ? -1.0 : 0.0);
        GLdouble mv[16];
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadMatrixd(v.modelview.data());
        std::array<float, 3> c = v.centre;
        double sx = (b.extent(2)) / b.extent(0), sy = b.extent(2) / b.extent(1);
        glScaled(sx, sy, 1.0);
        glTranslated(-c[0], -c[1], -c[2]);
        glGetDoublev(GL_MODELVIEW_MATRIX, mv);
        glPopMatrix();
        for (int k = 0; k < 8; ++k) {
            double x = k & 1 ? b.max[0] : b.min[0], y = k & 2 ? b.max[1] : b.min[1], z = k & 4 ? b.max[2] : b.min[2];
            double wx, wy, wz;
            ASSERT_TRUE(gluProject(x, y, z, mv, v.projection.data(), v.viewport.data(), &wx, &wy, &wz));
            EXPECT_GE(wx, 0.0);
            EXPECT_LE(wx, 300.0);
            EXPECT_GE(wy, 0.0);
            EXPECT_LE(wy, 200.0);
            EXPECT_GT(wz, 0.0);
            EXPECT_LT(wz, 1.0);
        }
    }
}

TEST_F(Rendering, ContourPlotsAreSeenFromAboveAndNeverInPerspective)
{
    addSurface(5, 8, [](int i, int j) { return i * j; });
    put(*model(0), "ViewAs", Variant::fromInt16(1));
    put(*ctl, "PerspectiveView", Variant(true));
    put(*ctl, "GraphTitle", Variant(std::string("Flat")));
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(0));
    ASSERT_TRUE(control().FlatPlot());
    target(200, 200);
    render();
    const halvex::ViewState& v = renderer().view();
    EXPECT_FALSE(v.perspectiveFrustum);
    EXPECT_EQ(v.projection[11], 0.0);
    // The data's X (display z, 0..4) across, its Y (display x, 0..7) up,
    // with margins; the title has its band above, outside the picture.
    const auto& f = v.frustum;
    EXPECT_LT(f[0], 0.0f);
    EXPECT_GT(f[1], 4.0f);
    EXPECT_LT(f[2], 0.0f);
    EXPECT_GT(f[3], 7.0f);
    EXPECT_GT(renderer().plotArea().top, 10);
    EXPECT_EQ(renderer().plotArea().bottom, 200);
}

TEST_F(Rendering, FogSpansTheVolume)
{
    addSurface(4, 4, [](int i, int j) { return i + j; });
    put(*ctl, "Fog", Variant(true));
    put(*ctl, "FogColor", Variant(int(0xFF0000FF)));
    target(100, 100);
    render();
    offscreen_->context().MakeCurrent();
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    GLfloat start = 0, end = 0, color[4], mode = 0;
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    glGetFloatv(GL_FOG_COLOR, color);
    glGetFloatv(GL_FOG_MODE, &mode);
    EXPECT_FLOAT_EQ(start, float(renderer().view().nearPlane));
    EXPECT_FLOAT_EQ(end, float(renderer().view().farPlane));
    EXPECT_EQ(color[0], 1.0f);
    EXPECT_EQ(color[1], 0.0f);
    EXPECT_EQ(GLenum(mode), GLenum(GL_LINEAR)); // whatever FogMode says
    put(*ctl, "Fog", Variant(false));
    render();
    offscreen_->context().MakeCurrent();
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(Rendering, ACollapsedViewportSkipsTheFrame)
{
    addSurface(3, 3, [](int i, int j) { return i * j; });
    target(100, 100);
    render();
    double fov = renderer().view().fieldOfView;
    EXPECT_EQ(renderer().Paint(100, 0, 96.0), GlRenderer::Frame::Skipped);
    EXPECT_EQ(renderer().Paint(0, 100, 96.0), GlRenderer::Frame::Skipped);
    renderer().SetViewport(0, 0, 100, 0, 96.0);
    EXPECT_TRUE(std::isfinite(renderer().view().windowAspect));
    EXPECT_EQ(renderer().view().fieldOfView, fov);
}

TEST_F(Rendering, LargeViewportsKeepTheirAspect)
{
    auto s = GlRenderer::LimitViewport(4000, 1000);
    EXPECT_LE(std::int64_t(s[0]) * s[1], 3145728 + 4000);
    EXPECT_NEAR(double(s[0]) / s[1], 4.0, 0.01);
    s = GlRenderer::LimitViewport(1000, 4000);
    EXPECT_NEAR(double(s[0]) / s[1], 0.25, 0.001);
    EXPECT_EQ(GlRenderer::LimitViewport(800, 600), (std::array<int, 2>{800, 600}));
}

TEST_F(Rendering, ATinySceneStaysInsideTheVolume)
{
    // A mesh a hundred-thousandth of a unit across.
    const float e = 1e-5f;
    Ref<halvex::MeshModel> mesh(new halvex::MeshModel(control().Link()));
    std::unique_ptr<float[]> xyz(new float[12]{0, 0, 0, e, 0, 0, 0, 0, e, e, e, e});
    mesh->SetVertices(std::move(xyz), 2, 2);
    halvex::BoundingRecord rect;
    rect.min = {0, 0, 0};
    rect.max = {e, e, e};
    mesh->SetRect(rect);
    control().PutModel(0, mesh);
    control().RecomputeViewFlags();
    fillOnly();
    put(*model(0), "PolygonColor", Variant(int(0xFF0000FF))); // opaque red
    target(100, 100);
    render();
    const halvex::ViewState& v = renderer().view();
    EXPECT_EQ(v.nearPlane, 0.001);
    EXPECT_NEAR(v.farPlane, 0.001 + 2.0 * v.radius, 1e-15);
    EXPECT_GT(count({255, 0, 0, 255}), 100);
}

TEST_F(Rendering, TwoByTwoSurfaceIsOneStripOfTwoTriangles)
{
    // One corner raised: the quad's two triangles face different ways.
    addSurface(2, 2, [](int i, int j) { return i == 1 && j == 1 ? 1.0 : 0.0; });
    fillOnly();
    put(*ctl, "Tilt", Variant::fromSingle(90.0f));
    put(*ctl, "Twist", Variant::fromSingle(0.0f));
    put(*ctl, "Lighting", Variant(true));
    target(120, 120);
    EXPECT_EQ(feedback().triangles, 2);
    // Flat: one normal for the quad, so both triangles are lit alike;
    // smooth: the corners differ.
    put(*model(0), "SmoothShading", Variant(false));
    render();
    Rgba a = pixel(45, 45), b = pixel(75, 75);
    EXPECT_TRUE(near(a, b, 2)) << a[0] << " " << a[1] << " " << a[2] << " / " << b[0] << " " << b[1] << " " << b[2];
    EXPECT_FALSE(near(a, {255, 255, 255, 255}, 8));
    put(*model(0), "SmoothShading", Variant(true));
    render();
    EXPECT_FALSE(near(pixel(45, 45), pixel(75, 75), 2));
}

TEST_F(Rendering, StripsCoverEveryCellTwice)
{
    addSurface(4, 6, [](int i, int j) { return (i * 7 + j * 3) % 5; });
    fillOnly();
    target(160, 120);
    EXPECT_EQ(feedback().triangles, 3 * 5 * 2);
    put(*model(0), "DrawHalfFilledPolygons", Variant(true));
    EXPECT_EQ(feedback().triangles, 3 * 5);
    // Half fill alone fills nothing.
    put(*model(0), "DrawFilledPolygons", Variant(false));
    EXPECT_EQ(feedback().polygons, 0);
}

// A one-cell spike, a one-cell dip and a one-row ridge on a floor, on a
// grid much finer than every picture below: drawn filled with the hue map,
// flat shaded, so that their faces have a colour of their own (a quad takes
// the colour of its centroid: a spike of 10 over 0 colours its four quads
// at 2.5, a quarter of the range).
struct Feature {
    const char* name;
    double height; // of the feature over a floor of 0
    bool ridge;
    float faceRamp; // where its faces' colour lies on the ramp
};

class FineGrids : public Rendering {
protected:
    static constexpr int kCells = 401;
    // Not on the lines that every k-th line would keep for any of the
    // sizes below (k = 7, 3, 2).
    static constexpr int kRow = 205, kCol = 199;

    // A new control with the feature as its only surface.
    void addFeature(const Feature& f, int cells = kCells, int row = kRow, int col = kCol)
    {
        offscreen_.reset();
        ctl = newControl();
        SetUp();
        addSurface(cells, cells, [&](int i, int j) {
            bool on = f.ridge ? i == row && j > cells / 8 && j < cells - cells / 8 : i == row && j == col;
            return on ? f.height : 0.0;
        });
        fillOnly();
        put(*model(0), "SmoothShading", Variant(false));
        put(*model(0), "PolygonColormap", Variant::fromInt16(1));
        put(*model(0), "ColormapIndex", Variant::fromInt16(0));
    }
    static Rgba rampColor(float t)
    {
        halvex::Rgb c = halvex::SpectrumRgb(0, t);
        return {int(c[0] * 255 + 0.5f), int(c[1] * 255 + 0.5f), int(c[2] * 255 + 0.5f), 255};
    }
    // The floor's colour: the low end of the ramp, or the high end under a
    // dip.
    static Rgba floorColor(const Feature& f) { return rampColor(f.height > 0.0 ? 0.0f : 1.0f); }
    // Pixels of the feature: neither background nor floor.
    int featurePixels(const Feature& f)
    {
        int n = 0, w = offscreen_->context().width(), h = offscreen_->context().height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                Rgba p = pixel(x, y);
                n += !near(p, {255, 255, 255, 255}, 30) && !near(p, floorColor(f), 30) ? 1 : 0;
            }
        return n;
    }
    // The row (from the top) of the highest pixel that is not background.
    int topRow()
    {
        int w = offscreen_->context().width(), h = offscreen_->context().height();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (!near(pixel(x, y), {255, 255, 255, 255}, 30))
                    return y;
        return -1;
    }
};

const Feature kFeatures[] = {
    {"spike", 10.0, false, 0.25f},
    {"dip", -10.0, false, 0.75f},
    {"ridge", 10.0, true, 0.5f},
};

TEST_F(FineGrids, SpikesDipsAndRidgesShowAtEverySize)
{
    for (const Feature& f : kFeatures) {
        addFeature(f);
        for (auto [w, h] : {std::pair{120, 90}, {320, 240}, {800, 600}}) {
            target(w, h);
            ASSERT_EQ(render(), GlRenderer::Frame::Drawn);
            // The grid is reduced at these sizes...
            EXPECT_LT(renderer().DetailLimit(GlRenderer::kStill), kCells) << f.name << " " << w;
            // ...and the feature is there: its faces in the colours of
            // heights above (below) the floor.
            EXPECT_GE(featurePixels(f), f.ridge ? w / 10 : 4) << f.name << " at " << w << " x " << h;
            EXPECT_GE(count(rampColor(f.faceRamp), 10) + count(rampColor(f.height > 0 ? 1.0f : 0.0f), 10), 1)
                << f.name << " at " << w << " x " << h;
        }
    }
}

TEST_F(FineGrids, ASpikeReachesItsTrueHeight)
{
    // Seen from the side, the spike's top stands where the top of a spike
    // of a grid that is drawn whole stands.
    const Feature& spike = kFeatures[0];
    auto sideView = [&] {
        put(*ctl, "Tilt", Variant::fromSingle(0.0f));
        put(*ctl, "PerspectiveView", Variant(false));
    };
    for (auto [w, h] : {std::pair{160, 120}, {640, 480}}) {
        addFeature(spike, 5, 2, 2);
        sideView();
        target(w, h);
        render();
        int whole = topRow();
        addFeature(spike);
        sideView();
        target(w, h);
        render();
        int reduced = topRow();
        ASSERT_GE(whole, 0);
        ASSERT_GE(reduced, 0) << w;
        EXPECT_NEAR(reduced, whole, 2) << w;
    }
}

TEST_F(Rendering, DotsKeepEveryVertexOfAFineGrid)
{
    addSurface(300, 300, [](int i, int j) { return std::sin(i * 0.1) + std::cos(j * 0.1); });
    put(*model(0), "DrawLines", Variant(false));
    put(*model(0), "DrawPoints", Variant(true));
    target(120, 90);
    EXPECT_EQ(feedback().points, 300 * 300);
    EXPECT_LT(renderer().DetailLimit(GlRenderer::kStill), 300);
}

TEST_F(Rendering, OneRowSurfaceDrawsOnlyItsRowLine)
{
    addSurface(1, 5, [](int, int j) { return j; });
    put(*model(0), "DrawFilledPolygons", Variant(true));
    target(160, 120);
    Feedback f = feedback();
    EXPECT_EQ(f.polygons, 0);
    EXPECT_EQ(f.lines, 4); // one row of five vertices; the columns are single points
}

TEST_F(Rendering, WireframeLinesFollowRowsAndColumns)
{
    addSurface(3, 4, [](int i, int j) { return i - j; });
    target(160, 120);
    Feedback f = feedback();
    EXPECT_EQ(f.lines, 3 * 3 + 4 * 2);
    EXPECT_EQ(f.polygons, 0);
    // Lit: the strip outlines with their diagonals, three edges a triangle.
    put(*ctl, "Lighting", Variant(true));
    f = feedback();
    EXPECT_EQ(f.polygons, 0);
    EXPECT_EQ(f.lines, 2 * 3 * 2 * 3);
}

TEST_F(Rendering, HiddenLinesAreTestedAgainstTheInvisibleSurface)
{
    // A high ridge across the middle hides the lines behind it.
    addSurface(30, 30, [](int i, int) { return i == 15 ? 20.0 : 0.0; });
    put(*ctl, "Tilt", Variant::fromSingle(10.0f));
    target(200, 200);
    render();
    int visible = count({0, 0, 0, 255}, 90);
    Feedback plain = feedback();
    put(*model(0), "HiddenLineRemoval", Variant(true));
    render();
    int hidden = count({0, 0, 0, 255}, 90);
    EXPECT_LT(hidden, visible * 9 / 10);
    EXPECT_GT(hidden, 0);
    // The depth pass goes through the pipeline (colour writes off).
    Feedback withPrepass = feedback();
    EXPECT_EQ(withPrepass.triangles, 29 * 29 * 2);
    EXPECT_EQ(plain.triangles, 0);
    // With the fill on there is no separate depth pass.
    put(*model(0), "DrawFilledPolygons", Variant(true));
    EXPECT_EQ(feedback().triangles, 29 * 29 * 2);
}

TEST_F(Rendering, ColormapColoursFollowHeight)
{
    // Two plateaus, low (0) on the left, high (1) on the right, seen from
    // straight above.
    addSurface(8, 8, [](int, int j) { return j < 4 ? 0.0 : 1.0; });
    fillOnly();
    Ref<Dispatch> m = model(0);
    put(*m, "SmoothShading", Variant(false));
    put(*m, "PolygonColormap", Variant::fromInt16(1));
    put(*ctl, "Tilt", Variant::fromSingle(90.0f));
    put(*ctl, "Twist", Variant::fromSingle(0.0f));
    put(*m, "ColormapIndex", Variant::fromInt16(1)); // grey
    target(200, 200);
    render();
    // Display x (data Y, the column index j) runs to the right.
    EXPECT_TRUE(near(pixel(60, 100), {0, 0, 0, 255}, 3)) << pixel(60, 100)[0];
    EXPECT_TRUE(near(pixel(140, 100), {255, 255, 255, 255}, 3));

    put(*m, "ColormapIndex", Variant::fromInt16(0)); // hue ramp
    render();
    halvex::Rgb lo = halvex::HueRamp(0.0f), hi = halvex::HueRamp(1.0f);
    EXPECT_TRUE(near(pixel(60, 100), {int(lo[0] * 255 + 0.5f), int(lo[1] * 255 + 0.5f), int(lo[2] * 255 + 0.5f)}, 3));
    EXPECT_TRUE(near(pixel(140, 100), {int(hi[0] * 255 + 0.5f), int(hi[1] * 255 + 0.5f), int(hi[2] * 255 + 0.5f)}, 3));

    // Translucent fill: colour-mapped with the polygon colour's alpha.
    put(*m, "PolygonColor", Variant(int(0x80FFFFFF)));
    put(*m, "ColormapIndex", Variant::fromInt16(1));
    Feedback f = feedback();
    ASSERT_FALSE(f.polygonColors.empty());
    for (const Rgba& c : f.polygonColors)
        EXPECT_EQ(c[3], 128);
}

TEST_F(Rendering, LightsAreAppliedWithTheScene)
{
    addSurface(3, 3, [](int i, int j) { return i * j; });
    put(*ctl, "Lighting", Variant(true));
    call(*ctl, "DestroyLight", {Variant::fromInt16(1)});
    target(100, 100);
    render();
    offscreen_->context().MakeCurrent();
    GLfloat diffuse[4], position[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_EQ(diffuse[0], 1.0f);
    EXPECT_EQ(diffuse[1], 0.0f);
    EXPECT_EQ(diffuse[3], 1.0f);
    // A direction: untouched by the translation it was applied under.
    EXPECT_FLOAT_EQ(position[0], 1.0f);
    EXPECT_FLOAT_EQ(position[1], 0.0f);
    EXPECT_FLOAT_EQ(position[2], 1.0f);
    EXPECT_FLOAT_EQ(position[3], 0.0f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    put(*dispatchOf(call(*ctl, "Light", {Variant::fromInt16(2)})), "Enabled", Variant::fromInt16(0));
    render();
    offscreen_->context().MakeCurrent();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
}

struct HeldEscape final : halvex::InterruptProbe {
    int looks = 0;
    bool held = false;
    bool EscapePressed() override
    {
        ++looks;
        return held;
    }
};

TEST_F(Rendering, EscapeStopsTheDrawingAndTheRestStaysUndrawn)
{
    addSurface(300, 300, [](int i, int j) { return std::sin(i * 0.1) * std::cos(j * 0.1); });
    fillOnly();
    put(*model(0), "PolygonColormap", Variant::fromInt16(1));
    target(600, 600);
    HeldEscape probe;
    renderer().SetInterruptProbe(&probe);
    EXPECT_EQ(render(), GlRenderer::Frame::Drawn);
    int whole = inked();
    EXPECT_GT(probe.looks, 0);
    // Held down from now on: the pass forgets the first look, the keyboard
    // is looked at again a few dozen times a second while strips go on.
    probe.held = true;
    control().RefreshScene();
    EXPECT_EQ(render(), GlRenderer::Frame::Interrupted);
    EXPECT_TRUE(renderer().interrupted());
    EXPECT_LT(inked(), whole);
    // Going on draws it all again.
    probe.held = false;
    control().RefreshScene();
    EXPECT_EQ(render(), GlRenderer::Frame::Drawn);
    EXPECT_EQ(inked(), whole);
    renderer().SetInterruptProbe(nullptr);
}

TEST_F(Rendering, AModelThatCannotDrawLeavesTheOthersAlone)
{
    addSurface(5, 5, [](int, int) { return 0.0; });
    addSurface(5, 5, [](int i, int) { return i; });
    // A vector field plot without vector data cannot be drawn.
    put(*model(0), "ViewAs", Variant::fromInt16(3));
    fillOnly(1);
    put(*model(1), "PolygonColor", Variant(int(0xFF00FF00)));
    target(120, 120);
    EXPECT_EQ(render(), GlRenderer::Frame::Drawn);
    EXPECT_GT(count({0, 255, 0, 255}, 40), 200);
    control().RefreshScene();
    render();
    ASSERT_EQ(control().drawMessages().size(), 1u);
    EXPECT_EQ(control().drawMessages()[0], "The data of this model does not fit its plot kind");
}

TEST_F(Rendering, PickingFindsTheModelUnderThePoint)
{
    addSurface(20, 20, [](int, int) { return 0.0; });
    put(*ctl, "Tilt", Variant::fromSingle(90.0f));
    target(100, 100);
    render();
    EXPECT_EQ(renderer().Pick(50, 50), std::vector<int>{0});
    EXPECT_TRUE(renderer().Pick(2, 2, 3).empty());
}

TEST_F(Rendering, APartialRepaintMatchesTheWholePicture)
{
    addSurface(10, 10, [](int i, int j) { return std::sin(i * 0.7) + j * 0.2; });
    fillOnly();
    put(*model(0), "PolygonColormap", Variant::fromInt16(1));
    target(100, 100);
    render();
    std::vector<std::uint8_t> whole = rgba_;
    offscreen_->context().MakeCurrent();
    glScissor(0, 0, 100, 100);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    renderer().Paint(100, 100, 96.0, {20, 30, 70, 80});
    offscreen_->Read(rgba_);
    int differing = 0;
    for (int y = 32; y < 78; ++y)
        for (int x = 22; x < 68; ++x) {
            std::size_t k = (std::size_t(y) * 100 + std::size_t(x)) * 4;
            differing += std::abs(int(whole[k]) - int(rgba_[k])) > 24 ? 1 : 0;
        }
    EXPECT_LT(differing, 40);
    // Outside the area nothing was drawn.
    EXPECT_TRUE(near(pixel(5, 5), {0, 0, 0, 255}, 0));
    EXPECT_TRUE(near(pixel(90, 90), {0, 0, 0, 255}, 0));
}

} // namespace
