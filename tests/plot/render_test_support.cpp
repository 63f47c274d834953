#include "tests/plot/render_test_support.h"

#include "plot/core/plot_ids.h"

#include <GL/gl.h>

#include <cstdlib>

namespace plottest {

void RenderTest::addSurface(int rows, int cols, const std::function<double(int, int)>& f)
{
    std::vector<double> v(std::size_t(rows) * std::size_t(cols));
    for (int j = 0; j < cols; ++j)
        for (int i = 0; i < rows; ++i)
            v[std::size_t(i) + std::size_t(j) * std::size_t(rows)] = f(i, j);
    call(*ctl, halvex::dispid::AddSurface, {doubles2D(0, std::uint32_t(rows), 0, std::uint32_t(cols), v)});
}

halvex::OffscreenRenderer& RenderTest::target(int width, int height)
{
    offscreen_ = std::make_unique<halvex::OffscreenRenderer>(control(), width, height);
    EXPECT_TRUE(offscreen_->valid()) << offscreen_->error();
    return *offscreen_;
}

halvex::GlRenderer::Frame RenderTest::render()
{
    if (!offscreen_)
        target();
    auto frame = offscreen_->Render();
    EXPECT_TRUE(offscreen_->Read(rgba_));
    return frame;
}

Rgba RenderTest::pixel(int x, int y) const
{
    int w = offscreen_->context().width();
    const std::uint8_t* p = rgba_.data() + (std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

bool near(const Rgba& a, const Rgba& b, int tolerance)
{
    for (int k = 0; k < 3; ++k)
        if (std::abs(a[std::size_t(k)] - b[std::size_t(k)]) > tolerance)
            return false;
    return true;
}

int RenderTest::count(const Rgba& color, int tolerance) const
{
    int n = 0;
    for (std::size_t k = 0; k + 3 < rgba_.size(); k += 4)
        n += near({rgba_[k], rgba_[k + 1], rgba_[k + 2], 255}, color, tolerance) ? 1 : 0;
    return n;
}

int RenderTest::inked() const
{
    int n = 0;
    for (std::size_t k = 0; k + 3 < rgba_.size(); k += 4)
        n += (rgba_[k] < 231 || rgba_[k + 1] < 231 || rgba_[k + 2] < 231) ? 1 : 0;
    return n;
}

Feedback RenderTest::feedback()
{
    if (!offscreen_)
        target();
    offscreen_->Render(); // the lists are recorded, not executed
    std::vector<GLfloat> buffer(1 << 22);
    offscreen_->context().MakeCurrent();
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    offscreen_->Render();
    GLint n = glRenderMode(GL_RENDER);
    EXPECT_GE(n, 0) << "feedback buffer overflow";
    Feedback f;
    const int vertex = 7; // x, y, z, r, g, b, a
    for (GLint k = 0; k < n;) {
        auto token = GLint(buffer[std::size_t(k)]);
        if (token == GL_POLYGON_TOKEN) {
            auto corners = GLint(buffer[std::size_t(k) + 1]);
            const GLfloat* v = buffer.data() + k + 2;
            // A recorded list may join strips with zero-area triangles.
            bool degenerate = false;
            for (GLint a = 0; a < corners; ++a)
                for (GLint b = a + 1; b < corners; ++b)
                    degenerate |= v[a * vertex] == v[b * vertex] && v[a * vertex + 1] == v[b * vertex + 1];
            if (!degenerate) {
                ++f.polygons;
                f.triangles += corners == 3 ? 1 : 0;
                const GLfloat* c = v + 3;
                f.polygonColors.push_back({int(c[0] * 255 + 0.5f), int(c[1] * 255 + 0.5f),
                                           int(c[2] * 255 + 0.5f), int(c[3] * 255 + 0.5f)});
                for (GLint a = 0; a < corners; ++a)
                    f.polygonCorners.push_back({v[a * vertex], v[a * vertex + 1]});
                f.polygonSizes.push_back(int(corners));
            }
            k += 2 + corners * vertex;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            const GLfloat* v = buffer.data() + k + 1;
            if (v[0] != v[vertex] || v[1] != v[vertex + 1]) {
                ++f.lines;
                const GLfloat* c = v + 3;
                f.segments.push_back({v[0], v[1], v[vertex], v[vertex + 1],
                                      {int(c[0] * 255 + 0.5f), int(c[1] * 255 + 0.5f), int(c[2] * 255 + 0.5f),
                                       int(c[3] * 255 + 0.5f)}});
            }
            k += 1 + 2 * vertex;
        } else if (token == GL_POINT_TOKEN) {
            ++f.points;
            k += 1 + vertex;
        } else if (token == GL_BITMAP_TOKEN) {
            ++f.bitmaps;
            k += 1 + vertex;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            k += 2;
        } else {
            k += 1 + vertex; // bitmap, draw and copy pixel tokens carry one vertex
        }
    }
    return f;
}

std::vector<Segment> Feedback::linesOf(const Rgba& color, int tolerance) const
{
    std::vector<Segment> out;
    for (const Segment& s : segments)
        if (near(s.color, color, tolerance))
            out.push_back(s);
    return out;
}

} // namespace plottest
