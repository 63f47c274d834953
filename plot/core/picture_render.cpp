#include "plot/core/picture_render.h"

#include "plot/core/gl_control_core.h"
#include "plot/core/gl_renderer.h"

#include <algorithm>
#include <cstring>

namespace halvex {

namespace {

// Around a tile cut from the view volume: points and lines that straddle
// its edge are drawn whole within this many pixels.
constexpr int kTileMargin = 32;

} // namespace

PictureRenderer::PictureRenderer(CGLCOleControl& control, int width, int height, double dpi, int maxSide)
    : control_(control), renderer_(control.glRenderer()), dpi_(dpi > 0.0 ? dpi : 96.0)
{
    if (!renderer_) {
        error_ = "the control has no OpenGL renderer";
        return;
    }
    if (width < 1 || height < 1) {
        error_ = "the picture has no area";
        return;
    }
    // One thread has one current context: the window's goes first.
    if (RenderContext* own = renderer_->context(); own && RenderContext::Current() == own)
        own->MakeNotCurrent();
    context_ = std::make_unique<EglRenderContext>(1, 1);
    if (!context_->valid()) {
        error_ = "cannot draw off screen: " + context_->error();
        return;
    }
    const int limit = context_->MaxSide();
    maxSide = maxSide > 0 ? std::min(maxSide, limit) : limit;
    plan_ = PlanBands(width, height, maxSide);
    wholeViewport_ = width <= maxSide && height <= maxSide;
    if (!wholeViewport_)
        margin_ = std::max(0, std::min(kTileMargin, (limit - std::max(plan_.TileWidth(), plan_.TileHeight())) / 2));
    if (!context_->Resize(plan_.TileWidth() + 2 * margin_, plan_.TileHeight() + 2 * margin_)) {
        error_ = "cannot draw off screen: " + context_->error();
        return;
    }
    previous_ = renderer_->context();
    renderer_->SetContext(context_.get());
    valid_ = true;
}

PictureRenderer::~PictureRenderer()
{
    if (renderer_ && valid_ && renderer_->context() == context_.get()) {
        renderer_->SetContext(previous_);
        // What was recorded belongs to the context that is going; the
        // window's picture is drawn again from scratch.
        renderer_->DiscardSceneLists();
        control_.RefreshScene();
    }
}

GlRenderer::Frame PictureRenderer::DrawWhole()
{
    if (!valid_ || !context_->MakeCurrent() || !wholeViewport_)
        return GlRenderer::Frame::Skipped;
    return renderer_->PaintTile(plan_.width, plan_.height, dpi_, {0, 0, plan_.width, plan_.height}, 0, true);
}

bool PictureRenderer::DrawBand(int k, std::vector<std::uint8_t>& rgba, bool bottomUp)
{
    if (!valid_ || k < 0 || k >= plan_.bands)
        return false;
    const PixelRect band = plan_.Band(k);
    const std::size_t row = std::size_t(plan_.width) * 4;
    try {
        rgba.resize(row * std::size_t(band.height()));
    } catch (const std::bad_alloc&) {
        error_ = "not enough memory for a band of " + std::to_string(plan_.width) + " x " +
                 std::to_string(band.height()) + " pixels";
        return false;
    }
    for (int c = 0; c < plan_.columns; ++c) {
        const PixelRect tile = plan_.Tile(k, c);
        GlRenderer::Frame frame =
            renderer_->PaintTile(plan_.width, plan_.height, dpi_, tile, margin_, wholeViewport_);
        if (frame == GlRenderer::Frame::Skipped) {
            error_ = "the picture could not be drawn off screen";
            return false;
        }
        interrupted_ |= frame == GlRenderer::Frame::Interrupted;
        if (!context_->ReadPixels(margin_, margin_, tile.width(), tile.height(), tile_, bottomUp)) {
            error_ = "cannot read the off-screen picture back";
            return false;
        }
        const std::size_t tileRow = std::size_t(tile.width()) * 4;
        for (int y = 0; y < tile.height(); ++y)
            std::memcpy(rgba.data() + std::size_t(y) * row + std::size_t(tile.left) * 4,
                        tile_.data() + std::size_t(y) * tileRow, tileRow);
    }
    return true;
}

ColorBarScope::ColorBarScope(CGLCOleControl& control, bool on)
{
    if (!on)
        return;
    renderer_ = control.glRenderer();
    if (renderer_)
        renderer_->SetColorBar(true);
}

ColorBarScope::~ColorBarScope()
{
    if (renderer_)
        renderer_->SetColorBar(false);
}

} // namespace halvex
