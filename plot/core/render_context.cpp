#include "plot/core/render_context.h"

#include <GL/gl.h>

#include <atomic>

namespace halvex {

namespace {
thread_local RenderContext* currentContext = nullptr;
std::atomic<std::uint64_t> nextGeneration{1};
} // namespace

RenderContext::RenderContext() = default;

RenderContext::~RenderContext()
{
    if (currentContext == this)
        currentContext = nullptr;
}

RenderContext* RenderContext::Current() noexcept
{
    return currentContext;
}

void RenderContext::NewGeneration() noexcept
{
    generation_ = nextGeneration.fetch_add(1);
}

void RenderContext::SetCurrent(bool current) noexcept
{
    if (current)
        currentContext = this;
    else if (currentContext == this)
        currentContext = nullptr;
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
