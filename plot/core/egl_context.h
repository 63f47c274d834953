#pragma once
// The off-screen rendering context: EGL on Mesa's surfaceless platform
// with a framebuffer object, so tests, the command line, bitmap export and
// printing draw with no display at all.

#include "plot/core/render_context.h"

#include <cstdint>
#include <string>
#include <vector>

namespace halvex {

class EglRenderContext final : public RenderContext {
public:
    // A context with a width × height framebuffer; check valid().
    EglRenderContext(int width, int height);
    ~EglRenderContext() override;
    EglRenderContext(const EglRenderContext&) = delete;
    EglRenderContext& operator=(const EglRenderContext&) = delete;

    bool valid() const noexcept { return context_ != nullptr && fbo_ != 0; }
    // Why the context could not be made.
    const std::string& error() const noexcept { return error_; }

    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }

    bool MakeCurrent() override;
    bool MakeNotCurrent() override;
    bool DoubleBuffered() const override { return false; }
    bool Offscreen() const override { return true; }

    // The frame as RGBA bytes, top row first.
    bool ReadPixels(std::vector<std::uint8_t>& rgba);
    // A width × height part of the frame whose bottom-left pixel is (x, y)
    // (GL's window coordinates) into rgba, rows top first, or bottom first
    // when asked; the vector keeps its capacity from call to call.
    bool ReadPixels(int x, int y, int width, int height, std::vector<std::uint8_t>& rgba, bool bottomUp = false);
    // New framebuffer storage of the size; what was drawn is gone.
    bool Resize(int width, int height);
    // The largest side a framebuffer of this context may have.
    int MaxSide();

private:
    bool CreateFramebuffer();

    void* display_ = nullptr;
    void* context_ = nullptr;
    unsigned fbo_ = 0;
    unsigned colorBuffer_ = 0;
    unsigned depthBuffer_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::string error_;
};

} // namespace halvex
