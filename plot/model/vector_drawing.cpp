// The arrows of a vector field: at every grid point an arrow along its
// vector, flat on the floor of the data box, its length the vector's
// magnitude relative to the largest (one grid step at most).
#include "plot/model/mesh_model.h"
#include "plot/model/mesh_paint.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <vector>

namespace halvex {

namespace {

constexpr double kTwoPi = 6.283185307179586;

} // namespace

bool MeshModel::DrawVectors(const DrawContext& dc, DrawPass pass)
{
    const ModelFormat& f = format_;
    std::uint32_t solid;
    bool mappedSwitch;
    switch (pass) {
    case DrawPass::Fill:
        solid = f.polygonColor;
        mappedSwitch = f.polygonColorMap != 0;
        break;
    case DrawPass::Points:
        solid = f.pointColor;
        mappedSwitch = f.pointColorMap != 0;
        break;
    default:
        solid = f.lineColor;
        mappedSwitch = f.lineColorMap != 0;
        break;
    }
    const std::int32_t colormap = mappedSwitch ? f.colormapIndex : -1;
    const Painter p = painterFor(*this, dc.dataBox, colormap, solid);

    const float pointSize =
        pass == DrawPass::Points ? std::max(1.0f, dc.pointScale() * f.pointSize * 0.25f + 1.0f) : 1.0f;
    glPushAttrib(GL_CURRENT_BIT | GL_POINT_BIT | GL_LINE_BIT | GL_POLYGON_BIT);
    glPolygonOffset(1.0f, 1.0f);
    glPointSize(pointSize);
    if (colormap < 0)
        solidColor(solid);
    std::optional<LineStyleScope> style;
    if (pass == DrawPass::Lines)
        style.emplace(f, dc);
    // A field with no length at all has no largest magnitude: every arrow
    // has length 0 (a point at its base), not 0 / 0.
    const double largest = largestMagnitude_;
    const float floor = dc.dataBox.min[1] <= dc.dataBox.max[1] ? dc.dataBox.min[1] : 0.0f;

    // Each arrow is placed as a translation to its grid point and two
    // rotations, about y by a1 = atan2(v.x, v.z) (in 0 … 2π) and then about
    // x by a2 = acos(v.y / |v|), so that the local y axis runs along v; the
    // frame is worked out here and the corners sent in one batch per
    // column.
    struct Frame {
        float ex[3], ey[3], ez[3];
    };
    auto frameOf = [](const float* v, double length) {
        double a1 = std::atan2(double(v[0]), double(v[2]));
        if (a1 < 0.0)
            a1 += kTwoPi;
        const double a2 = std::acos(std::clamp(double(v[1]) / length, -1.0, 1.0));
        const double s1 = std::sin(a1), c1 = std::cos(a1), s2 = std::sin(a2), c2 = std::cos(a2);
        return Frame{{float(c1), 0.0f, float(-s1)},
                     {float(s2 * s1), float(c2), float(s2 * c1)},
                     {float(c2 * s1), float(-s2), float(c2 * c1)}};
    };
    const GLenum mode = pass == DrawPass::Fill ? GL_TRIANGLES : pass == DrawPass::Lines ? GL_LINES : GL_POINTS;
    const float lineWidth = f.lineWidth * dc.lineScale();
    // Batches of different primitives recorded one after another into a
    // display list are kept apart by a state command each: the renderer's
    // feedback and selection modes (EPS export, picking) otherwise drop or
    // mangle all but the first of them.
    std::vector<std::array<float, 3>> still; // arrows with no length: a point at the base
    bool going = true;
    for (std::int32_t j = 0; j < cols_ && going; ++j) {
        still.clear();
        glPolygonOffset(1.0f, 1.0f);
        glBegin(mode);
        for (std::int32_t i = 0; i < rows_; ++i) {
            const float* v = vertices_.get() + 3 * index(i, j);
            const double length = std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
            const float L = largest > 0.0 ? float(length / largest) : 0.0f;
            const float base[3] = {float(i), floor, float(j)};
            if (!(L > FLT_MIN)) {
                still.push_back({base[0], base[1], base[2]});
                continue;
            }
            const Frame fr = frameOf(v, length);
            auto vertex = [&](float x, float y) {
                glVertex3f(base[0] + x * fr.ex[0] + y * fr.ey[0], base[1] + x * fr.ex[1] + y * fr.ey[1],
                           base[2] + x * fr.ex[2] + y * fr.ey[2]);
            };
            if (colormap >= 0)
                p.colorAt(L);
            glNormal3fv(fr.ez);
            // Along the local y axis: the tip at L, the head half the arrow
            // long, its half width 0.32 of its length.
            const float w = 0.16f * L, h = 0.5f * L;
            switch (pass) {
            case DrawPass::Lines:
                vertex(0.0f, 0.0f), vertex(0.0f, L);
                vertex(0.0f, L), vertex(w, h);
                vertex(-w, h), vertex(0.0f, L);
                break;
            case DrawPass::Fill:
                vertex(0.0f, L), vertex(-w, h), vertex(w, h);
                break;
            default:
                vertex(0.0f, 0.0f), vertex(0.0f, L), vertex(w, h), vertex(-w, h);
                break;
            }
        }
        glEnd();
        if (pass == DrawPass::Fill) {
            // The shafts, as lines.
            glLineWidth(lineWidth);
            glBegin(GL_LINES);
            for (std::int32_t i = 0; i < rows_; ++i) {
                const float* v = vertices_.get() + 3 * index(i, j);
                const double length = std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
                const float L = largest > 0.0 ? float(length / largest) : 0.0f;
                if (!(L > FLT_MIN))
                    continue;
                const Frame fr = frameOf(v, length);
                if (colormap >= 0)
                    p.colorAt(L);
                const float h = 0.5f * L;
                glVertex3f(float(i), floor, float(j));
                glVertex3f(float(i) + h * fr.ey[0], floor + h * fr.ey[1], float(j) + h * fr.ey[2]);
            }
            glEnd();
        }
        if (!still.empty()) {
            if (colormap >= 0)
                p.colorAt(0.0f);
            glPointSize(pointSize);
            glBegin(GL_POINTS);
            for (const auto& b : still)
                glVertex3fv(b.data());
            glEnd();
        }
        going = !dc.Interrupted();
    }
    style.reset();
    glPopAttrib();
    return going;
}

} // namespace halvex
