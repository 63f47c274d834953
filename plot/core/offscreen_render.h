#pragma once
// Drawing the control's 3-D picture with no window: an EGL context of the
// picture's size is given to the control's renderer for as long as this
// object lives.

#include "plot/core/egl_context.h"
#include "plot/core/gl_renderer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace halvex {

class CGLCOleControl;

class OffscreenRenderer {
public:
    // The control takes the picture's size at dpi dots per inch as its own
    // size: width × 96 / dpi by height × 96 / dpi pixels of the screen.
    OffscreenRenderer(CGLCOleControl& control, int width, int height, double dpi = 96.0);
    ~OffscreenRenderer();
    OffscreenRenderer(const OffscreenRenderer&) = delete;
    OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

    bool valid() const noexcept { return renderer_ && context_.valid(); }
    const std::string& error() const noexcept { return error_; }

    // One frame at the resolution given to the constructor.
    GlRenderer::Frame Render();
    // The frame as RGBA bytes, top row first.
    bool Read(std::vector<std::uint8_t>& rgba);

    EglRenderContext& context() noexcept { return context_; }
    GlRenderer& renderer() noexcept { return *renderer_; }

private:
    CGLCOleControl& control_;
    EglRenderContext context_;
    GlRenderer* renderer_ = nullptr;
    RenderContext* previous_ = nullptr;
    double dpi_ = 96.0;
    std::string error_;
};

} // namespace halvex
