#include "plot/core/offscreen_render.h"

#include "plot/core/gl_control_core.h"

#include <algorithm>
#include <cmath>

namespace halvex {

OffscreenRenderer::OffscreenRenderer(CGLCOleControl& control, int width, int height, double dpi)
    : control_(control), context_(width, height), renderer_(control.glRenderer()), dpi_(dpi > 0.0 ? dpi : 96.0)
{
    if (!renderer_) {
        error_ = "the control has no OpenGL renderer";
        return;
    }
    if (!context_.valid()) {
        error_ = context_.error();
        return;
    }
    previous_ = renderer_->context();
    renderer_->SetContext(&context_);
    auto screenPixels = [this](int n) { return std::max(1, int(std::lround(n * 96.0 / dpi_))); };
    control_.SetControlSize(screenPixels(width), screenPixels(height));
}

OffscreenRenderer::~OffscreenRenderer()
{
    if (renderer_ && renderer_->context() == &context_) {
        renderer_->SetContext(previous_);
        // What was recorded belongs to this context, which is going.
        renderer_->DiscardSceneLists();
    }
}

GlRenderer::Frame OffscreenRenderer::Render()
{
    if (!valid())
        return GlRenderer::Frame::Skipped;
    return renderer_->Paint(context_.width(), context_.height(), dpi_);
}

bool OffscreenRenderer::Read(std::vector<std::uint8_t>& rgba)
{
    return valid() && context_.ReadPixels(rgba);
}

} // namespace halvex
