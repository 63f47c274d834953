// Turning, zooming and spinning with the mouse, with no window: a click
// changes nothing, drags turn and zoom, a Shift-drag spins on after the
// release, and folding keeps the picture as it was.
#include "tests/plot/render_test_support.h"

#include "plot/core/gl_renderer.h"
#include "plot/core/view_gestures.h"
#include "plot/core/view_rotation.h"

#include <cmath>

using namespace plottest;
using halvex::ViewGestures;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct FakeSite final : halvex::GestureSite {
    bool captured = false;
    bool timer = false;
    int period = 0;
    int starts = 0;
    void SetMouseCapture(bool on) override { captured = on; }
    bool MouseCaptured() const override { return captured; }
    void StartSpinTimer(int ms) override
    {
        timer = true;
        period = ms;
        ++starts;
    }
    void StopSpinTimer() override { timer = false; }
};

class Gestures : public RenderTest {
protected:
    void SetUp() override
    {
        addSurface(6, 6, [](int i, int j) { return std::sin(i * 0.7) + j * 0.1; });
        target(200, 200);
        render();
        gestures().SetSite(&fake);
    }
    void TearDown() override { gestures().SetSite(nullptr); }
    ViewGestures& gestures() { return control().gestures(); }
    halvex::ViewState& view() { return control().glRenderer()->view(); }
    const halvex::ControlState& state() { return control().state(); }
    // A left drag through the points, Shift or Control held as told.
    void drag(std::initializer_list<std::array<int, 2>> points, bool shift = false, bool ctrl = false)
    {
        auto it = points.begin();
        gestures().LeftDown((*it)[0], (*it)[1], ctrl);
        for (++it; it != points.end(); ++it)
            gestures().MouseMove((*it)[0], (*it)[1], shift);
        auto last = *(points.end() - 1);
        gestures().LeftUp(last[0], last[1]);
    }
    std::array<double, 16> modelview()
    {
        render();
        return view().modelview;
    }
    static double difference(const std::array<double, 16>& a, const std::array<double, 16>& b)
    {
        double d = 0;
        for (int k = 0; k < 16; ++k)
            d = std::max(d, std::fabs(a[std::size_t(k)] - b[std::size_t(k)]));
        return d;
    }
    FakeSite fake;
};

TEST_F(Gestures, AClickChangesNoAngle)
{
    double tilt = state().tilt, rotation = state().rotation, twist = state().twist;
    site.reset();
    drag({{100, 100}, {102, 101}, {102, 101}});
    EXPECT_EQ(state().tilt, tilt);
    EXPECT_EQ(state().rotation, rotation);
    EXPECT_EQ(state().twist, twist);
    EXPECT_EQ(view().spinAngle, 0.0);
    EXPECT_FALSE(gestures().dragging());
    EXPECT_FALSE(fake.captured);
    EXPECT_EQ(site.invalidations, 0);
}

TEST_F(Gestures, ADragTurnsThePictureByAllItsSteps)
{
    auto before = modelview();
    // Ten steps of ten pixels to the right: a turn about the vertical.
    gestures().LeftDown(50, 100, false);
    for (int x = 60; x <= 150; x += 10)
        gestures().MouseMove(x, 100, false);
    EXPECT_TRUE(gestures().dragging());
    EXPECT_TRUE(fake.captured);
    EXPECT_EQ(gestures().mode(), ViewGestures::Mode::Rotate);
    double step = view().spinAngle;
    auto during = modelview();
    gestures().LeftUp(150, 100);
    EXPECT_FALSE(fake.captured);
    EXPECT_EQ(view().spinAngle, 0.0);
    auto after = modelview();
    // Kept in the angles: the picture stays where the drag left it.
    EXPECT_LT(difference(during, after), 1e-6);
    // The whole turn, not only the last step: the angle between the view
    // rotations before and after.
    double trace = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            trace += before[std::size_t(4 * j + i)] * after[std::size_t(4 * j + i)];
    double turned = std::acos(std::clamp((trace - 1) / 2, -1.0, 1.0)) * 180 / kPi;
    EXPECT_GT(step, 0.5);
    EXPECT_GT(turned, 8 * step);
    EXPECT_TRUE(site.modified);
}

TEST_F(Gestures, ControlDragByTheHeightHalvesTheRadius)
{
    EXPECT_DOUBLE_EQ(get(*ctl, "Radius").toDouble(), 1.0);
    ASSERT_EQ(state().height, 200);
    // Up by the whole height in one move: the depth scale doubles.
    double z = state().zPosition;
    drag({{100, 150}, {100, -50}}, false, true);
    EXPECT_DOUBLE_EQ(get(*ctl, "Radius").toDouble(), 0.5);
    EXPECT_EQ(gestures().mode(), ViewGestures::Mode::None);
    // The zoom changes the projection, not the recorded scene.
    render();
    EXPECT_NE(state().zPosition, z);
    // Each move scales by itself: 1.25 twice; down again shrinks.
    put(*ctl, "Radius", Variant(1.0));
    drag({{100, 150}, {100, 100}, {100, 50}}, false, true);
    EXPECT_DOUBLE_EQ(state().depthScale, 1.5625);
    drag({{100, 50}, {100, 150}}, false, true);
    EXPECT_DOUBLE_EQ(state().depthScale, 1.5625 * 0.5);
}

TEST_F(Gestures, AHundredWheelNotchesReachTheZoomLimits)
{
    for (int k = 0; k < 100; ++k)
        gestures().Wheel(120);
    EXPECT_EQ(state().depthScale, 10000.0);
    EXPECT_DOUBLE_EQ(get(*ctl, "Radius").toDouble(), 0.0001);
    for (int k = 0; k < 200; ++k)
        gestures().Wheel(-120);
    EXPECT_EQ(state().depthScale, 0.0001);
    render(); // still a picture
    put(*ctl, "Radius", Variant(1.0));
    gestures().Wheel(120); // one notch: 20 units of the height
    EXPECT_DOUBLE_EQ(state().depthScale, 1.0 + 20.0 / 200);
}

TEST_F(Gestures, AShiftDragSpinsOnUntilTheNextPress)
{
    drag({{60, 100}, {66, 100}, {80, 100}, {90, 100}}, true);
    EXPECT_TRUE(gestures().spinning());
    EXPECT_TRUE(fake.timer);
    EXPECT_EQ(fake.period, 33);
    double step = view().spinStep;
    EXPECT_GT(step, 0.1);
    // Each tick repaints; each frame turns by the step.
    site.reset();
    gestures().SpinTick();
    EXPECT_EQ(site.invalidations, 1);
    double angle = view().spinAngle;
    render();
    EXPECT_NEAR(view().spinAngle, angle + step, 1e-12);
    render();
    auto spinning = modelview();

    // The next press stops it where it is.
    gestures().LeftDown(10, 10, false);
    EXPECT_FALSE(gestures().spinning());
    EXPECT_FALSE(fake.timer);
    EXPECT_EQ(view().spinAngle, 0.0);
    gestures().LeftUp(10, 10);
    view().spinStep = 0.0;
    // The angles hold the position reached.
    auto stopped = modelview();
    std::array<double, 16> expected{};
    {
        halvex::Rotation3 r = halvex::ViewRotation({state().tilt, state().rotation, state().twist}, 0.0, {1, 0, 0});
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                expected[std::size_t(4 * j + i)] = r[std::size_t(3 * i + j)];
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(stopped[std::size_t(4 * j + i)], expected[std::size_t(4 * j + i)], 1e-6);
    EXPECT_LT(difference(spinning, stopped), 0.2); // near where it was, one step on
    EXPECT_FALSE(gestures().spinning());
    site.reset();
    gestures().SpinTick();
    EXPECT_EQ(site.invalidations, 0);
}

TEST_F(Gestures, FoldingReproducesTheModelview)
{
    view().spinAxis = {0.3f, -0.8f, 0.5f};
    for (double tilt : {35.0, 0.0, 180.0, 90.0, 179.99})
        for (double spin : {0.0, 25.0, 170.0, -60.0}) {
            put(*ctl, "Tilt", Variant::fromSingle(float(tilt)));
            put(*ctl, "Rotation", Variant::fromSingle(40.0f));
            put(*ctl, "Twist", Variant::fromSingle(10.0f));
            view().spinAngle = spin;
            view().spinStep = 0.0;
            auto before = modelview();
            gestures().Wheel(0); // a zoom of nothing folds the spin in
            EXPECT_EQ(view().spinAngle, 0.0);
            auto after = modelview();
            EXPECT_LT(difference(before, after), 1e-6) << "tilt " << tilt << " spin " << spin;
            EXPECT_GE(state().tilt, 0.0);
            EXPECT_LE(state().tilt, kPi);
            EXPECT_GE(state().rotation, 0.0);
            EXPECT_LT(state().rotation, 2 * kPi);
            EXPECT_GE(state().twist, 0.0);
            EXPECT_LT(state().twist, 2 * kPi);
        }
}

TEST(ViewFolding, StraightDownOrUpKeepsTheRotationGiven)
{
    for (double tilt : {0.0, kPi})
        for (double keep : {0.0, 1.0, 4.0}) {
            halvex::Rotation3 r = halvex::ViewRotation({tilt, 2.0, 0.5}, 0.0, {1, 0, 0});
            halvex::ViewAngles a = halvex::FoldRotation(r, keep);
            EXPECT_NEAR(a.rotation, keep, 1e-12);
            EXPECT_NEAR(a.tilt, tilt, 1e-12);
            halvex::Rotation3 back = halvex::ViewRotation(a, 0.0, {1, 0, 0});
            for (int k = 0; k < 9; ++k)
                EXPECT_NEAR(back[std::size_t(k)], r[std::size_t(k)], 1e-12);
        }
}

TEST_F(Gestures, FlatPlotsIgnoreTheMouse)
{
    put(*model(0), "ViewAs", Variant::fromInt16(1));
    render();
    double tilt = state().tilt;
    drag({{10, 10}, {100, 100}, {150, 120}}, true);
    gestures().Wheel(120);
    EXPECT_EQ(state().tilt, tilt);
    EXPECT_EQ(state().depthScale, 1.0);
    EXPECT_FALSE(gestures().spinning());
}

} // namespace
