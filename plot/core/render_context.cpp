#include "plot/core/render_context.h"

#include "plot/base/gl_generation.h"
#include "plot/base/glyph_font_list.h"

#include <GL/gl.h>

namespace halvex {

namespace {
thread_local RenderContext* currentContext = nullptr;
} // namespace

RenderContext::RenderContext() = default;

RenderContext::~RenderContext()
{
    if (currentContext == this) {
        currentContext = nullptr;
        glgen::SetCurrent(0);
    }
    glgen::Retire(generation_);
}

bool RenderContext::GenerationLive(std::uint64_t generation) noexcept
{
    return glgen::Live(generation);
}

SceneFonts& RenderContext::fonts()
{
    if (!fonts_)
        fonts_ = std::make_unique<SceneFonts>();
    return *fonts_;
}

RenderContext* RenderContext::Current() noexcept
{
    return currentContext;
}

void RenderContext::NewGeneration() noexcept
{
    glgen::Retire(generation_);
    generation_ = glgen::Begin();
    if (currentContext == this)
        glgen::SetCurrent(generation_);
    // The glyph lists went with the old context.
    fonts_.reset();
}

void RenderContext::SetCurrent(bool current) noexcept
{
    if (current) {
        currentContext = this;
        glgen::SetCurrent(generation_);
    } else if (currentContext == this) {
        currentContext = nullptr;
        glgen::SetCurrent(0);
    }
}

void RenderContext::ReadLimits()
{
    GLfloat range[2] = {1.0f, 1.0f};
    glGetFloatv(GL_LINE_WIDTH_RANGE, range);
    lineWidthRange[0] = range[0];
    lineWidthRange[1] = range[1];
    glGetFloatv(GL_POINT_SIZE_RANGE, range);
    pointSizeRange[0] = range[0];
    pointSizeRange[1] = range[1];
}

} // namespace halvex
