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
    // The control takes the picture's size as its own size.
    OffscreenRenderer(CGLCOleControl& control, int width, int height);
    ~OffscreenRenderer();
    OffscreenRenderer(const OffscreenRenderer&) = delete;
    OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

    bool valid() const noexcept { return renderer_ && context_.valid(); }
    const std::string& error() const noexcept { return error_; }

    // One frame at dpi dots per inch.
    GlRenderer::Frame Render(double dpi = 96.0);
    // The frame as RGBA bytes, top row first.
    bool Read(std::vector<std::uint8_t>& rgba);

    EglRenderContext& context() noexcept { return context_; }
    GlRenderer& renderer() noexcept { return *renderer_; }

private:
    CGLCOleControl& control_;
    EglRenderContext context_;
    GlRenderer* renderer_ = nullptr;
    RenderContext* previous_ = nullptr;
    std::string error_;
};

} // namespace halvex
