#include "plot/export/eps_export.h"

#include "platform/system/output_file.h"
#include "plot/core/picture_render.h"
#include "plot/export/eps_writer.h"

#include <GL/gl.h>

#include <algorithm>

namespace halvex {

namespace {

// The figures the control starts its capture with.
constexpr std::int64_t kVertexEstimate = 10000;
constexpr std::int64_t kPrimitiveEstimate = 1000;

} // namespace

bool CaptureFeedback(const std::function<bool()>& draw, std::int64_t vertices, std::int64_t primitives,
                     std::vector<float>& out, std::string& error, std::size_t limit)
{
    auto size = std::size_t(std::max<std::int64_t>(1, (eps::kVertexValues * vertices + primitives) * 4));
    size = std::min(size, limit);
    for (;;) {
        try {
            out.assign(size, 0.0f);
        } catch (const std::bad_alloc&) {
            error = "not enough memory for a feedback buffer of " + std::to_string(size) + " values";
            out.clear();
            return false;
        }
        glFeedbackBuffer(GLsizei(size), GL_3D_COLOR, out.data());
        glRenderMode(GL_FEEDBACK);
        bool drawn = draw();
        GLint written = glRenderMode(GL_RENDER);
        if (!drawn) {
            error = "the picture could not be drawn";
            out.clear();
            return false;
        }
        if (written >= 0) {
            out.resize(std::size_t(written));
            return true;
        }
        // Overflow: larger by half again, and once more at the limit.
        if (size >= limit) {
            error = "the picture needs more than " + std::to_string(limit) + " feedback values";
            out.clear();
            return false;
        }
        size = std::min(limit, size + size / 2 + 1);
    }
}

bool ExportEps(CGLCOleControl& control, const EpsRequest& request, const std::string& path, std::string& error)
{
    PictureRenderer target(control, request.width, request.height, request.dpi);
    if (!target.valid()) {
        error = target.error();
        return false;
    }
    // The lists are recorded by a normal frame first; the capture replays
    // them.
    if (target.DrawWhole() == GlRenderer::Frame::Skipped) {
        error = "a PostScript picture can be at most as large as one OpenGL viewport";
        return false;
    }
    // The stream is read as seven values a vertex, which only RGBA gives.
    GLboolean rgba = GL_FALSE;
    glGetBooleanv(GL_RGBA_MODE, &rgba);
    if (!rgba) {
        error = "the PostScript picture needs an RGBA rendering context";
        return false;
    }
    std::vector<float> stream;
    bool ok = CaptureFeedback([&] { return target.DrawWhole() != GlRenderer::Frame::Skipped; }, kVertexEstimate,
                              kPrimitiveEstimate, stream, error);
    if (!ok)
        return false;
    eps::Page page;
    page.viewport = {0, 0, request.width, request.height};
    GLfloat clear[4] = {1.0f, 1.0f, 1.0f, 1.0f}, lineWidth = 1.0f, pointSize = 1.0f;
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    page.clearColor = {clear[0], clear[1], clear[2]};
    page.lineWidth = lineWidth;
    page.pointSize = pointSize;
    page.creator = request.creator;
    page.overlay = request.overlay;

    std::vector<eps::Primitive> primitives;
    try {
        if (!eps::ParseFeedback(stream, primitives, error)) {
            error = "the renderer's feedback cannot be read: " + error;
            return false;
        }
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the PostScript picture";
        return false;
    }
    if (request.sort)
        eps::SortByDepth(primitives);
    platform::OutputFile file;
    if (!file.Open(path)) {
        error = file.error();
        return false;
    }
    FileSink sink(file);
    if (!eps::WriteEps(stream, primitives, page, sink) || !file.Commit()) {
        error = file.error().empty() ? "cannot write \"" + path + "\"" : file.error();
        return false;
    }
    return true;
}

} // namespace halvex
