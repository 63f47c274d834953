#pragma once
// The control's 3-D picture drawn off screen at any size, band by band, so
// that memory stays bounded whatever the size: one off-screen context of
// the largest tile's size serves every tile, and a band's pixels are handed
// out before the next band is drawn. The control's own context is put back
// when the renderer goes.

#include "plot/core/band_plan.h"
#include "plot/core/egl_context.h"
#include "plot/core/gl_renderer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace halvex {

class CGLCOleControl;

class PictureRenderer {
public:
    // A width × height picture laid out for dpi dots per inch (96: as on
    // the screen; 300: text and lines 300 / 96 times as many pixels).
    // maxSide, when given, makes tiles smaller than the renderer allows
    // (tests of the tiled drawing).
    PictureRenderer(CGLCOleControl& control, int width, int height, double dpi = 96.0, int maxSide = 0);
    ~PictureRenderer();
    PictureRenderer(const PictureRenderer&) = delete;
    PictureRenderer& operator=(const PictureRenderer&) = delete;

    bool valid() const noexcept { return valid_; }
    const std::string& error() const noexcept { return error_; }
    const BandPlan& plan() const noexcept { return plan_; }
    double dpi() const noexcept { return dpi_; }

    // Draws band k (0 is the top one) and gives its pixels as RGBA, width ×
    // band height, rows top first (bottom first when asked). False with a
    // message when it cannot be drawn or read.
    bool DrawBand(int k, std::vector<std::uint8_t>& rgba, bool bottomUp = false);
    // The whole picture in one frame whose viewport may be larger than the
    // framebuffer (for the feedback capture, which rasterises nothing).
    // Skipped when the picture is larger than one viewport.
    GlRenderer::Frame DrawWhole();
    // True when the user interrupted a band's drawing.
    bool interrupted() const noexcept { return interrupted_; }

private:
    CGLCOleControl& control_;
    GlRenderer* renderer_ = nullptr;
    std::unique_ptr<EglRenderContext> context_;
    class RenderContext* previous_ = nullptr;
    BandPlan plan_;
    double dpi_;
    int margin_ = 0;
    bool wholeViewport_ = true; // the picture fits one viewport
    bool valid_ = false;
    bool interrupted_ = false;
    std::string error_;
    std::vector<std::uint8_t> tile_;
};

// The colour bar beside the box, for one picture: the renderer draws it
// while the scope lasts and goes back to the window's picture without it.
class ColorBarScope {
public:
    ColorBarScope(CGLCOleControl& control, bool on);
    ~ColorBarScope();
    ColorBarScope(const ColorBarScope&) = delete;
    ColorBarScope& operator=(const ColorBarScope&) = delete;

private:
    GlRenderer* renderer_ = nullptr;
};

} // namespace halvex
