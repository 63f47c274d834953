#include "plot/model/mesh_paint.h"

#include "plot/model/point_symbols.h"

#include <algorithm>

namespace halvex {

std::uint16_t StipplePattern(std::int32_t style, float width) noexcept
{
    bool wide = width > 2.0f;
    switch (style) {
    case 1:
        return wide ? 0xEEEE : 0xF8F8;
    case 2:
        return wide ? 0xAAAA : 0xCCCC;
    case 3:
        return wide ? 0xEBAE : 0xF870;
    default:
        return 0xFFFF;
    }
}

LineStyleScope::LineStyleScope(const ModelFormat& f, const DrawContext& dc)
    : width_(f.lineWidth * dc.lineScale()), stippled_(f.lineStyle >= 1 && f.lineStyle <= 3)
{
    glLineWidth(width_);
    if (stippled_) {
        glPushAttrib(GL_LINE_BIT);
        glEnable(GL_LINE_STIPPLE);
        // The factor stretches the pattern with the line: the whole part of
        // the width, at least 1 (the GL takes 1 … 256).
        float w = std::clamp(width_, 1.0f, 256.0f);
        glLineStipple(GLint(w), StipplePattern(f.lineStyle, width_));
    }
}

LineStyleScope::~LineStyleScope()
{
    if (stippled_)
        glPopAttrib();
}

PointSetDrawer::PointSetDrawer(const CglModel& m, const DrawContext& dc)
    : dc_(dc), painter_(painterFor(m, dc.dataBox, m.format().pointColorMap ? m.format().colormapIndex : -1,
                                   m.format().pointColor)),
      mapped_(m.format().pointColorMap != 0)
{
    const ModelFormat& f = m.format();
    dots_ = f.pointSymbol < kXSymbol || f.pointSymbol > kDiamondSymbol;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT);
    if (!mapped_)
        solidColor(f.pointColor);
    if (dots_) {
        glPointSize(std::max(1.0f, dc.pointScale() * f.pointSize * 0.25f + 1.0f));
        return;
    }
    side_ = SymbolSide(f.pointSize, dc.pointScale());
    bits_ = SymbolBitmap(f.pointSymbol, side_);
    // The raster colour is the current colour only while lighting is off.
    glDisable(GL_LIGHTING);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
}

void PointSetDrawer::Add(const Vertex& p)
{
    if (mapped_)
        painter_.color(p);
    if (dots_) {
        if (!open_) {
            glBegin(GL_POINTS);
            open_ = true;
        }
        glVertex3fv(p.data());
        return;
    }
    glRasterPos3fv(p.data());
    const float centre = float(side_) * 0.5f;
    glBitmap(side_, side_, centre, centre, 0.0f, 0.0f, bits_.data());
}

void PointSetDrawer::Flush()
{
    if (open_) {
        glEnd();
        open_ = false;
    }
}

void PointSetDrawer::Finish()
{
    if (side_ < 0)
        return;
    Flush();
    if (!dots_)
        glPopClientAttrib();
    glPopAttrib();
    side_ = -1;
}

} // namespace halvex
