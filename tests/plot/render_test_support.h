#pragma once
// Off-screen pictures of a control for the rendering tests: frames drawn
// through EGL, pixels read back, and what the renderer's feedback mode
// says was drawn.

#include "plot/core/offscreen_render.h"
#include "plot/core/plot_control.h"
#include "tests/plot/plot_test_support.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace plottest {

using Rgba = std::array<int, 4>;

// A line as drawn: window coordinates (y up) and its colour, 0..255.
struct Segment {
    double x0, y0, x1, y1;
    Rgba color;
};

struct Feedback {
    int triangles = 0; // polygons of three corners
    int polygons = 0;  // all polygons
    int lines = 0;
    int points = 0;
    int bitmaps = 0;
    // Colours of the polygons' first corners, 0..255.
    std::vector<Rgba> polygonColors;
    // The polygons' corners in window coordinates, and how many each has.
    std::vector<std::array<double, 2>> polygonCorners;
    std::vector<int> polygonSizes;
    std::vector<Segment> segments;
    // The lines of one colour.
    std::vector<Segment> linesOf(const Rgba& color, int tolerance = 2) const;
};

class RenderTest : public PlotTest {
protected:
    halvex::COpenGLCtrl& control() { return dynamic_cast<halvex::COpenGLCtrl&>(*ctl); }
    // A surface whose height at (i, j) is f(i, j); i is the first index.
    void addSurface(int rows, int cols, const std::function<double(int, int)>& f);
    Ref<Dispatch> model(int n) { return dispatchOf(call(*ctl, "Model", {Variant(n)})); }
    // An off-screen target of the size; fails the test when none can be had.
    halvex::OffscreenRenderer& target(int width = 200, int height = 150);
    // Draws a frame and reads it back.
    halvex::GlRenderer::Frame render();
    Rgba pixel(int x, int y) const;
    // Pixels within tolerance of the colour.
    int count(const Rgba& color, int tolerance = 8) const;
    // Pixels that differ from the background (white) by more than 24 in
    // some channel.
    int inked() const;
    // One more frame in feedback mode.
    Feedback feedback();

    std::unique_ptr<halvex::OffscreenRenderer> offscreen_;
    std::vector<std::uint8_t> rgba_;
};

bool near(const Rgba& a, const Rgba& b, int tolerance);

} // namespace plottest
