#pragma once
// The rendering engine: turns the control's state into a picture with
// OpenGL 1.1 and GLU, into whatever `RenderContext` it is given (the
// widget's on screen, EGL off screen). It owns the view state (field of
// view, projection, view transform), lighting and fog, the two recorded
// scene lists and the order in which the models are drawn.

#include "plot/core/color_bar.h"
#include "plot/core/render_link.h"
#include "plot/model/bounding_record.h"
#include "plot/model/draw_context.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace halvex {

class CGLCOleControl;
class GlyphFontList;
class RenderContext;

// Pixels, x to the right and y down from the top-left corner.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const noexcept { return right - left; }
    int height() const noexcept { return bottom - top; }
    bool empty() const noexcept { return right <= left || bottom <= top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Where the Escape key comes from: the window's keyboard.
class InterruptProbe {
public:
    // True when Escape was pressed since the last look.
    virtual bool EscapePressed() = 0;

protected:
    ~InterruptProbe() = default;
};

struct ViewState {
    double fieldOfView = 20.0; // degrees
    double windowAspect = 1.0;
    double fixedAspect = 1.0;
    double nearPlane = 0.1;
    double farPlane = 1000.0;
    double radius = 0.0; // R: 1.03 × the data box radius
    std::array<float, 2> pan{0.0f, 0.0f};
    std::array<float, 3> centre{0.0f, 0.0f, 0.0f};
    double spinAngle = 0.0;
    std::array<float, 3> spinAxis{1.0f, 0.0f, 0.0f};
    double spinStep = 1.0;
    bool spinning = false;
    std::array<double, 16> modelview{};
    std::array<double, 16> projection{};
    std::array<int, 4> viewport{0, 0, 0, 0};
    std::array<float, 6> frustum{}; // left, right, bottom, top, near, far
    bool perspectiveFrustum = false;
};

class GlRenderer final : public RenderLink, public InterruptCheck {
public:
    explicit GlRenderer(CGLCOleControl& control);
    ~GlRenderer() override;

    // RenderLink
    void DiscardSceneLists() override;
    bool MakeCurrent() override;
    bool MakeNotCurrent() override;
    void PolygonOffset(float factor, float units) override;
    void SetViewport(int width, int height) override;
    void DisableLight(std::int32_t lightNumber) override;
    bool InterruptRequested() override;

    // Where drawing goes; nullptr: nowhere. The context must outlive its
    // use here.
    void SetContext(RenderContext* context);
    // The zoom changed: the next paint sets up the projection again (the
    // recorded scene stays).
    void ProjectionChanged() noexcept { projectionStale_ = true; }
    RenderContext* context() const noexcept { return context_; }
    void SetInterruptProbe(InterruptProbe* probe) noexcept { probe_ = probe; }

    enum class Frame {
        Drawn,
        Skipped,     // no context, or a viewport without area
        Interrupted, // the user asked to stop; the rest is undrawn
    };
    // One frame of the control into the current context: a width × height
    // pixel viewport at dpi dots per inch (96 × the device pixel ratio on
    // screen), the area to draw within it (the whole of it when empty).
    // Rebuilds the scene when the control asks for it, or the context is
    // new, or the size changed.
    Frame Paint(int width, int height, double dpi, PixelRect area = {});
    // One tile of a width × height picture (pixels from its top-left
    // corner) into the current context's framebuffer. With wholeViewport
    // (the picture fits one viewport) the framebuffer's bottom-left pixel
    // is the tile's bottom-left one and the whole picture's viewport is
    // moved under it; otherwise the part of the view volume the tile
    // covers is drawn with margin pixels around it, the framebuffer
    // starting margin pixels below and left of the tile. Lines are
    // smoothed below 300 dpi.
    Frame PaintTile(int width, int height, double dpi, PixelRect tile, int margin, bool wholeViewport);

    // The steps of a frame, for the paths that draw elsewhere.
    void SetViewport(int x, int y, int width, int height, double dpi);
    void BuildScene();
    // Records the scene lists of the level of detail in use (the still
    // picture's, or the coarser one of a picture in motion).
    void CompileSceneLists();
    // True when it pushed a projection (FinishFrame's caller pops it).
    bool SetPartialViewport(PixelRect area, PixelRect client);
    void BeginFrame(bool picking, PixelRect area, int pickX = 0, int pickY = 0, int pickSize = 0);
    void DrawOpaqueModels();
    void FinishFrame();

    // The models under a window point (pixels from the top-left corner),
    // nearest first.
    std::vector<int> Pick(int x, int y, int size = 5);

    // The GL state every new context starts from.
    static void ApplyInitialState();
    // The drawing state a painter may have changed between frames (not the
    // lights and materials of the scene).
    static void RestoreDrawingState();

    const ViewState& view() const noexcept { return view_; }
    ViewState& view() noexcept { return view_; }
    const BoundingRecord& sceneBox() const noexcept { return box_; }
    // The per-axis stretch of the modelview (1, 1, 1 with equal scales):
    // the scene exports apply it as the renderer does.
    std::array<float, 3> SceneScale() const;
    // The viewport the size rule allows for a window size: both sides scaled
    // by one factor so that the area stays within 3145728 pixels.
    static std::array<int, 2> LimitViewport(int width, int height);
    // Where the 3-D picture goes in a width × height window (pixels from the
    // top left): the window less the bands of the title and the colour bar.
    PixelRect PlotArea(int width, int height, double dpi);
    // The area of the last frame.
    const PixelRect& plotArea() const noexcept { return plot_; }
    // A colour bar right of the box (for pictures drawn off screen): on
    // from the next paint, when a model colours anything with a map.
    void SetColorBar(bool on);
    // Whether the last frame drew it, and how.
    bool colorBarShown() const noexcept { return colorBarShown_; }
    const ColorBar& colorBar() const noexcept { return colorBar_; }
    // True when the last frame was cut short by the user.
    bool interrupted() const noexcept { return interrupted_; }

    // Levels of detail. Grids finer than the picture are drawn reduced to
    // about one line per kStillPixelsPerLine pixels of the picture's larger
    // side (every local extreme kept, see ReducedGrid), more when zoomed in;
    // while the mouse turns, zooms or spins the picture, to about one line
    // per kMotionPixelsPerLine. The picture in motion is recorded into
    // lists of its own, so the still picture comes back as soon as the
    // motion stops.
    static constexpr int kStillPixelsPerLine = 2;
    static constexpr int kMotionPixelsPerLine = 5;
    enum Level { kStill = 0, kMotion = 1 };
    // The largest number of grid lines a direction is drawn with at a level
    // for the current viewport and zoom; 0 when there is no viewport yet.
    std::int32_t DetailLimit(Level level) const;
    // The level the last frame was drawn at.
    Level level() const noexcept { return level_; }
    // What models and the model box draw with in the current context; the
    // pass is the fill pass.
    DrawContext FrameContext();

private:
    struct Pass {
        bool transparent = false;
        bool directOnly = false;
    };
    // The frame's set-up common to every paint; false when nothing can be
    // drawn.
    bool PrepareFrame(int width, int height, double dpi, bool limitViewport);
    void RecomputeDataBox();
    void Projection();
    void FlatProjection();
    void ApplyLights();
    void Modelview();
    std::array<float, 3> BoxScale() const;
    // False when the user interrupted.
    bool ModelPass(Pass pass);
    bool DrawModelPasses(class CglModel& model, int facePass, bool directOnly);
    // Line and point smoothing, on at rest; off while polygons are filled.
    void SmoothLinesAndPoints(bool on);
    void CallOrDraw(unsigned list, Pass pass);
    void ForgetLists();
    void DrawColorBar();
    // The axis numbers' font at dpi in the current context; null when none.
    GlyphFontList* LabelFont(double dpi);
    // The most lines any model's grid has in a direction.
    std::int32_t FinestGrid() const;
    unsigned ListOf(Level level, bool transparent) const noexcept
    {
        return listBase_ + 2u * unsigned(level) + (transparent ? 1u : 0u);
    }
    void ApplyFogAndLighting();

    CGLCOleControl& control_;
    RenderContext* context_ = nullptr;
    InterruptProbe* probe_ = nullptr;
    ViewState view_;
    BoundingRecord box_;
    // Still opaque and transparent lists, then the ones in motion.
    unsigned listBase_ = 0;
    std::array<bool, 2> listsValid_{false, false};
    std::array<std::int32_t, 2> recordedLimit_{0, 0};
    Level level_ = kStill;
    std::uint64_t generation_ = 0;
    int lastWidth_ = 0, lastHeight_ = 0; // of the picture's area
    int windowHeight_ = 0;
    PixelRect plot_;
    ColorBar colorBar_;
    bool colorBarOn_ = false;
    bool colorBarShown_ = false;
    // Where the framebuffer's bottom-left pixel lies in the picture (GL
    // window coordinates): non-zero while a tile is drawn.
    std::array<int, 2> frameOrigin_{0, 0};
    bool lineSmoothing_ = true; // off from 300 dpi
    double lastDpi_ = 0.0;
    bool interrupted_ = false;
    bool projectionStale_ = false;
    bool recording_ = false; // the scene lists are being recorded
    std::chrono::steady_clock::time_point lastProbe_{};
};

} // namespace halvex
