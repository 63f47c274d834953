// The arrows of a vector field: at every grid point an arrow along its
// vector, flat on the floor of the data box, its length the vector's
// magnitude relative to the largest (one grid step at most).
#include "plot/model/mesh_model.h"
#include "plot/model/mesh_paint.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>

namespace halvex {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
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

    glPushAttrib(GL_CURRENT_BIT | GL_POINT_BIT | GL_LINE_BIT | GL_POLYGON_BIT);
    glPolygonOffset(1.0f, 1.0f);
    glPointSize(1.0f);
    if (colormap < 0)
        solidColor(solid);
    std::optional<LineStyleScope> style;
    if (pass == DrawPass::Lines)
        style.emplace(f, dc);
    else if (pass == DrawPass::Points)
        glPointSize(std::max(1.0f, dc.pointScale() * f.pointSize * 0.25f + 1.0f));
    // A field with no length at all has no largest magnitude: every arrow
    // has length 0 (a point at its base), not 0 / 0.
    const double largest = largestMagnitude_;
    const float floor = dc.dataBox.min[1] <= dc.dataBox.max[1] ? dc.dataBox.min[1] : 0.0f;

    bool going = true;
    for (std::int32_t j = 0; j < cols_ && going; ++j) {
        for (std::int32_t i = 0; i < rows_; ++i) {
            const float* v = vertices_.get() + 3 * index(i, j);
            const double length = std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
            const float L = largest > 0.0 ? float(length / largest) : 0.0f;
            glPushMatrix();
            glTranslatef(float(i), floor, float(j));
            if (colormap >= 0)
                p.colorAt(L);
            if (!(L > FLT_MIN)) {
                glBegin(GL_POINTS);
                glVertex3f(0.0f, 0.0f, 0.0f);
                glEnd();
                glPopMatrix();
                continue;
            }
            double a1 = std::atan2(double(v[0]), double(v[2]));
            if (a1 < 0.0)
                a1 += kTwoPi;
            const double a2 = std::acos(std::clamp(double(v[1]) / length, -1.0, 1.0));
            glRotated(a1 * kDegreesPerRadian, 0.0, 1.0, 0.0);
            glRotated(a2 * kDegreesPerRadian, 1.0, 0.0, 0.0);
            // Along the local y axis: shaft from the base to the tip, the
            // head half the arrow long, its half width 0.32 of its length.
            const float w = 0.16f * L, h = 0.5f * L;
            glNormal3f(0.0f, 0.0f, 1.0f);
            switch (pass) {
            case DrawPass::Lines:
                glBegin(GL_LINE_STRIP);
                glVertex3f(0.0f, 0.0f, 0.0f);
                glVertex3f(0.0f, L, 0.0f);
                glVertex3f(w, h, 0.0f);
                glEnd();
                glBegin(GL_LINES);
                glVertex3f(-w, h, 0.0f);
                glVertex3f(0.0f, L, 0.0f);
                glEnd();
                break;
            case DrawPass::Fill:
                glBegin(GL_TRIANGLES);
                glVertex3f(0.0f, L, 0.0f);
                glVertex3f(-w, h, 0.0f);
                glVertex3f(w, h, 0.0f);
                glEnd();
                glBegin(GL_LINES);
                glVertex3f(0.0f, 0.0f, 0.0f);
                glVertex3f(0.0f, h, 0.0f);
                glEnd();
                break;
            default:
                glBegin(GL_POINTS);
                glVertex3f(0.0f, 0.0f, 0.0f);
                glVertex3f(0.0f, L, 0.0f);
                glVertex3f(w, h, 0.0f);
                glVertex3f(-w, h, 0.0f);
                glEnd();
                break;
            }
            glPopMatrix();
        }
        going = !dc.Interrupted();
    }
    style.reset();
    glPopAttrib();
    return going;
}

} // namespace halvex
