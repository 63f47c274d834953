#include "plot/core/render_context.h"

#include "plot/core/glyph_font_list.h"

#include <GL/gl.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace halvex {

namespace {
thread_local RenderContext* currentContext = nullptr;
std::atomic<std::uint64_t> nextGeneration{1};

std::mutex liveMutex;
std::vector<std::uint64_t>& liveGenerations()
{
    static std::vector<std::uint64_t> live;
    return live;
}

void setLive(std::uint64_t generation, bool live)
{
    if (generation == 0)
        return;
    std::lock_guard lock(liveMutex);
    auto& v = liveGenerations();
    auto it = std::find(v.begin(), v.end(), generation);
    if (live && it == v.end())
        v.push_back(generation);
    else if (!live && it != v.end())
        v.erase(it);
}
} // namespace

RenderContext::RenderContext() = default;

RenderContext::~RenderContext()
{
    if (currentContext == this)
        currentContext = nullptr;
    setLive(generation_, false);
}

bool RenderContext::GenerationLive(std::uint64_t generation) noexcept
{
    std::lock_guard lock(liveMutex);
    const auto& v = liveGenerations();
    return std::find(v.begin(), v.end(), generation) != v.end();
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
    setLive(generation_, false);
    generation_ = nextGeneration.fetch_add(1);
    setLive(generation_, true);
    // The glyph lists went with the old context.
    fonts_.reset();
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
