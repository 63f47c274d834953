#pragma once
// `DrawContext`: everything a plot model, the model box and its axes draw
// with, handed in by whoever draws (the renderer for the window and for
// off-screen pictures, an exporter for its files). Drawing code reads no
// other state of the renderer: what a field does not say, a default-made
// context answers as a drawing with no rendering context does (a line
// scale of 1, dots 8 × PointSize × 0.25 + 1 pixels, a point threshold of 64,
// no fonts, no interruption, every grid line drawn).
//
// The GL context itself (the current one on this thread) is the target;
// the fields here say how to draw into it.

#include "plot/model/bounding_record.h"
#include "plot/model/box_frame.h"

#include <array>
#include <cstdint>

namespace halvex {

class SceneFonts;

// The drawing passes, in the order the renderer runs them for each model.
enum class DrawPass : std::uint8_t {
    DepthOnly = 0, // hidden-line removal: the fill into the depth buffer only
    Fill = 1,      // filled and half-filled polygons
    Lines = 2,
    Points = 3,
};
constexpr int kDrawPassCount = 4;

// Asked between strips, rows and columns: true stops the drawing (the user
// pressed Escape, or the paint was cancelled).
class InterruptCheck {
public:
    virtual bool InterruptRequested() = 0;

protected:
    ~InterruptCheck() = default;
};

struct DrawContext {
    // The union of every model's data, display coordinates: colour ramps
    // and scales are taken over it.
    BoundingRecord dataBox;
    DrawPass pass = DrawPass::Fill;
    // 0 for opaque models; 1 (back faces, depth writes off) and 2 (front
    // faces) for the transparent ones.
    int facePass = 0;
    // The pixel format is a hardware one.
    bool accelerated = false;
    // The drawing goes into a recorded display list (replayed on later
    // paints), not straight to the picture.
    bool recording = false;
    // Lighting is on in the GL context.
    bool lighting = false;
    // Every mesh model is a contour or vector field plot: seen from above.
    bool flatPlot = false;
    // Grids with more lines than this in a direction are drawn reduced,
    // every local extreme kept (see ReducedGrid); 0: every line. Exports of
    // geometry leave it at 0.
    std::int32_t detailLimit = 0;
    // Device dots per inch / 12 (8 on a 96 dpi screen): widths of lines and
    // points grow with the device's resolution.
    float lineUnit = 8.0f;
    // The largest point the GL draws round.
    float pointThreshold = 64.0f;
    // The picture's area in window pixels (x, y from the bottom, width,
    // height): texts stay inside it. A width of 0: the GL viewport.
    std::array<int, 4> picture{0, 0, 0, 0};
    // Glyph lists of the current GL context; null when there is none.
    SceneFonts* fonts = nullptr;
    // The picture's viewport in pixels: x and y of its lower-left corner,
    // width, height. Empty when unknown.
    std::array<int, 4> viewport{0, 0, 0, 0};
    // The grid placement lists of the back planes XY, YZ and XZ (GL list
    // names, played where a contour plot is laid onto its plane; they are
    // called by name, so a recorded drawing follows the planes when the view
    // turns them over); 0 for a plane not shown.
    std::array<unsigned, 3> planePlacement{0, 0, 0};
    // The container's background colour (red in the low byte), and the
    // font and colour of numbers in the scene.
    std::uint32_t backColor = 0xFFFFFF;
    AxisLabelStyle labelStyle;
    InterruptCheck* interrupt = nullptr;

    // LineWidth × lineScale() pixels.
    float lineScale() const noexcept { return lineUnit / 8.0f; }
    // Dots are pointScale() × PointSize × 0.25 + 1 pixels.
    float pointScale() const noexcept { return lineUnit; }
    // The resolution text is measured and drawn at.
    float fontDpi() const noexcept { return lineUnit * 12.0f; }
    bool Interrupted() const { return interrupt && interrupt->InterruptRequested(); }
};

} // namespace halvex
