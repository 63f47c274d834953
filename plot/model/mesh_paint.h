#pragma once
// What the drawing routines of the mesh models share: solid and colour-map
// colours, normals scaled against the axis stretch, the line styles, and
// point sets drawn with the model's point symbol. Internal to plot/model.

#include "plot/base/packed_color.h"
#include "plot/model/colormaps.h"
#include "plot/model/draw_context.h"
#include "plot/model/mesh_normals.h"
#include "plot/model/plot_model.h"

#include <GL/gl.h>

#include <cstdint>
#include <vector>

namespace halvex {

inline void solidColor(std::uint32_t c)
{
    glColor4ub(GLubyte(c & 0xFF), GLubyte(c >> 8 & 0xFF), GLubyte(c >> 16 & 0xFF), GLubyte(c >> 24));
}

// Colours and normals as one drawing routine sends them.
struct Painter {
    const BoundingRecord& box;
    std::int32_t colormap; // −1: the solid colour set before
    std::int32_t spectrumDir;
    float alpha;
    std::array<float, 3> scale;
    bool scaleNormals;

    void color(const Vertex& p) const
    {
        Rgb c = SpectrumRgb(colormap, RampPosition(box, p.data(), spectrumDir));
        glColor4f(c[0], c[1], c[2], alpha);
    }
    // The colour at a ramp position of its own (rows of stacked bars,
    // lengths of arrows).
    void colorAt(float t) const
    {
        Rgb c = SpectrumRgb(colormap, t);
        glColor4f(c[0], c[1], c[2], alpha);
    }
    void colorAtCentroid(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& d) const
    {
        color({(a[0] + b[0] + c[0] + d[0]) * 0.25f, (a[1] + b[1] + c[1] + d[1]) * 0.25f,
               (a[2] + b[2] + c[2] + d[2]) * 0.25f});
    }
    void normal(const float* n) const
    {
        if (scaleNormals)
            glNormal3f(n[0] * scale[0], n[1] * scale[1], n[2] * scale[2]);
        else
            glNormal3fv(n);
    }
    void normal(float x, float y, float z) const
    {
        const float n[3] = {x, y, z};
        normal(n);
    }
};

// alpha: the alpha of the colour the routine draws in.
inline Painter painterFor(const CglModel& m, const BoundingRecord& box, std::int32_t colormap, std::uint32_t color)
{
    const ModelFormat& f = m.format();
    return {box, colormap, f.spectrumDir, float(color >> 24) * kByteToUnit, f.scale, !m.EqualScales()};
}

// Line styles 1 dashed, 2 dotted, 3 dash-dot; any other value is solid.
std::uint16_t StipplePattern(std::int32_t style, float width) noexcept;

// The model's line width, colour and style for the lines drawn while it
// lives: stippled with factor = the whole part of the width and the style's
// pattern, the line state restored afterwards.
class LineStyleScope {
public:
    LineStyleScope(const ModelFormat& f, const DrawContext& dc);
    ~LineStyleScope();
    LineStyleScope(const LineStyleScope&) = delete;
    LineStyleScope& operator=(const LineStyleScope&) = delete;
    float width() const noexcept { return width_; }

private:
    float width_;
    bool stippled_;
};

// Points drawn with the model's point symbol, size and colour: dots as GL
// points, the other symbols as a bitmap placed at each point's window
// position. Add the points, then Finish (or let it go).
class PointSetDrawer {
public:
    PointSetDrawer(const CglModel& m, const DrawContext& dc);
    ~PointSetDrawer() { Finish(); }
    PointSetDrawer(const PointSetDrawer&) = delete;
    PointSetDrawer& operator=(const PointSetDrawer&) = delete;

    void Add(const Vertex& p);
    // Ends the current batch of dots (between rows, where the drawing may
    // stop).
    void Flush();
    void Finish();

private:
    const DrawContext& dc_;
    Painter painter_;
    bool mapped_;
    bool dots_;
    bool open_ = false;
    int side_ = 0;
    std::vector<std::uint8_t> bits_;
};

} // namespace halvex
