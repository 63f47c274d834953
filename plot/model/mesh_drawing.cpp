// How a mesh model draws itself: the passes per plot kind, the filled
// triangle strips with flat or smooth normals, half fill, the wireframe,
// hidden-line removal and dots.
#include "plot/core/render_context.h"
#include "plot/core/packed_color.h"
#include "plot/model/colormaps.h"
#include "plot/model/mesh_model.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

namespace halvex {

namespace {

bool recordingList()
{
    GLint list = 0;
    glGetIntegerv(GL_LIST_INDEX, &list);
    return list != 0;
}

void solidColor(std::uint32_t c)
{
    glColor4ub(GLubyte(c & 0xFF), GLubyte(c >> 8 & 0xFF), GLubyte(c >> 16 & 0xFF), GLubyte(c >> 24));
}

std::uint16_t stipplePattern(std::int32_t style, float width)
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
};

Painter painterFor(const CglModel& m, const BoundingRecord& box, std::int32_t colormap)
{
    const ModelFormat& f = m.format();
    return {box, colormap, f.spectrumDir, float(f.polygonColor >> 24) * kByteToUnit, f.scale, !m.EqualScales()};
}

// Finer grids than the picture can show are drawn thinned out: filled
// cells of about two pixels, and lines about three pixels apart (denser
// lines only blacken the picture, at a high price for smoothed lines).
GridSource visibleGrid(const GridSource& g, bool lines = false)
{
    const RenderContext* rc = RenderContext::Current();
    std::int32_t limit = rc ? rc->detailLimit : 0;
    return Thinned(g, lines ? limit * 2 / 3 : limit);
}

bool distinct(const Vertex& a, const Vertex& b, const Vertex& c)
{
    return a != b && b != c && a != c;
}

} // namespace

bool MeshModel::Interrupted() const
{
    PlotOwner* o = owner();
    return o && o->InterruptRequested();
}

bool MeshModel::Problem(std::string_view message)
{
    if (message != reportedProblem_) {
        reportedProblem_ = message;
        if (PlotOwner* o = owner())
            o->DrawProblem(message);
    }
    return false;
}

bool MeshModel::Draw(const BoundingRecord& box, bool accelerated, int facePass, int pass)
{
    (void)accelerated;
    (void)facePass;
    const ModelFormat& f = format_;
    const std::uint32_t s1 = f.shadeModel1, s2 = f.shadeModel2;
    const std::int32_t kind = f.viewAs;

    // Vector data belongs to the vector field plot and nothing else.
    if (kind == kVectorFieldPlot && flatKind_)
        return true;
    if (kind == kVectorFieldPlot || flatKind_)
        return Problem("The data of this model does not fit its plot kind");

    bool points = false, fill = false, half = false, lines = false, contourLines = false, contourFill = false;
    switch (kind) {
    case kSurfacePlot:
        fill = s1 & shade1::DrawFilledPolygons;
        half = s1 & shade1::DrawHalfFilledPolygons;
        contourLines = s1 & (shade1::DrawXContours3D | shade1::DrawYContours3D | shade1::DrawZContours3D);
        lines = (s1 & shade1::DrawLines) || contourLines;
        points = s1 & shade1::DrawPoints;
        contourFill = s1 & (shade1::FillXContours3D | shade1::FillYContours3D | shade1::FillZContours3D);
        break;
    case kContourPlot:
        fill = s2 & shade2::DrawFilledContours;
        contourFill = s1 & (shade1::FillXContours | shade1::FillYContours | shade1::FillZContours);
        break;
    case kDataPointsPlot:
        lines = s1 & shade1::ScatterLines;
        points = s1 & shade1::ScatterPoints;
        break;
    case kBarPlot:
        fill = s1 & shade1::BarFilled;
        half = s1 & shade1::BarHalfFilled;
        lines = s1 & shade1::BarLines;
        points = s1 & shade1::BarPoints;
        break;
    case kPatchPlot:
        fill = s1 & shade1::PatchFilled;
        half = s2 & shade2::PatchHalfFilled;
        lines = s1 & shade1::PatchLines;
        points = s1 & shade1::PatchPoints;
        break;
    default:
        break;
    }

    if (pass == 3 && recordingList()) {
        // Points too big for a recorded list are drawn on every paint.
        directDraw_ = false;
        if (points && glIsEnabled(GL_LIGHTING)) {
            const RenderContext* rc = RenderContext::Current();
            float scale = rc ? rc->pointScale() : 8.0f;
            float threshold = rc ? rc->pointThreshold() : 64.0f;
            directDraw_ = f.pointSymbol != 0 || scale * f.pointSize * 0.25f > threshold;
            if (directDraw_)
                return true;
        }
    }

    if (!HasData() || rows_ == 0 || cols_ == 0)
        return Problem("This model has no data to draw");
    // Contour plots, bars and patches have drawings of their own.
    if (kind == kContourPlot || kind == kBarPlot || kind == kPatchPlot)
        return true;

    glPolygonOffset(f.polygonOffsetFactor, 1.0f);
    switch (pass) {
    case 0:
        if ((s1 & shade1::HiddenLineRemoval) && !contourFill && !fill && !half) {
            // The surface only into the depth buffer: the lines drawn next
            // are tested against it.
            glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
            bool going = DrawFilledSurface(box, -1, f.polygonColor);
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            return going;
        }
        return true;
    case 1: {
        if (!(fill || contourFill))
            return true;
        std::int32_t colormap = f.polygonColorMap ? f.colormapIndex : -1;
        return half ? DrawHalfFilledSurface(box, colormap) : DrawFilledSurface(box, colormap, f.polygonColor);
    }
    case 2:
        // Contour lines replace the wireframe; scatter lines are the data
        // points plot's own.
        if (!lines || contourLines || kind == kDataPointsPlot)
            return true;
        return DrawMeshWireframe(box);
    case 3:
        return points ? DrawPoints(box) : true;
    default:
        return true;
    }
}

bool MeshModel::DrawFilledSurface(const BoundingRecord& box, std::int32_t colormap, std::uint32_t solid,
                                  bool outlines)
{
    const GridSource g = visibleGrid(Grid());
    if (g.rows < 2 || g.cols < 2)
        return true;
    if (colormap < 0)
        solidColor(solid);
    const Painter p = painterFor(*this, box, colormap);
    const bool mapped = colormap >= 0;
    // A recorded list may join strips through zero-area triangles, whose
    // outlines would show when polygons are drawn as lines: then each
    // strip's triangles are sent one by one, in the strip's order.
    const GLenum primitive = outlines ? GL_TRIANGLES : GL_TRIANGLE_STRIP;

    if (format_.shadeModel1 & shade1::SmoothShading) {
        VertexNormals normals(g);
        std::vector<float> upper(normals.Row(0), normals.Row(0) + 3 * std::size_t(g.cols));
        std::vector<float> lower(upper.size());
        for (std::int32_t i = 0; i + 1 < g.rows; ++i) {
            const float* next = normals.Row(i + 1);
            std::copy(next, next + lower.size(), lower.begin());
            auto corner = [&](std::int32_t row, std::int32_t j) {
                Vertex v = g.at(row, j);
                p.normal((row == i ? upper : lower).data() + 3 * j);
                if (mapped)
                    p.color(v);
                glVertex3fv(v.data());
            };
            glBegin(primitive);
            for (std::int32_t j = 0; j < g.cols; ++j) {
                if (!outlines) {
                    corner(i, j);
                    corner(i + 1, j);
                } else if (j > 0) {
                    corner(i, j - 1), corner(i + 1, j - 1), corner(i, j);
                    corner(i, j), corner(i + 1, j - 1), corner(i + 1, j);
                }
            }
            glEnd();
            if (Interrupted())
                return false;
            upper.swap(lower);
        }
        return true;
    }
    // Flat: each quad's one normal and colour, set before its two corners
    // that end its two triangles.
    for (std::int32_t i = 0; i + 1 < g.rows; ++i) {
        glBegin(primitive);
        Vertex pa = g.at(i, 0), pb = g.at(i + 1, 0);
        if (!outlines) {
            glVertex3fv(pa.data());
            glVertex3fv(pb.data());
        }
        for (std::int32_t j = 1; j < g.cols; ++j) {
            Vertex a = g.at(i, j), b = g.at(i + 1, j);
            Vertex n = QuadNormal(g, i, j - 1);
            p.normal(n.data());
            if (mapped)
                p.colorAtCentroid(pa, pb, b, a);
            if (outlines) {
                for (const Vertex* v : {&pa, &pb, &a, &a, &pb, &b})
                    glVertex3fv(v->data());
            } else {
                glVertex3fv(a.data());
                glVertex3fv(b.data());
            }
            pa = a;
            pb = b;
        }
        glEnd();
        if (Interrupted())
            return false;
    }
    return true;
}

bool MeshModel::DrawHalfFilledSurface(const BoundingRecord& box, std::int32_t colormap)
{
    const GridSource g = visibleGrid(Grid());
    if (g.rows < 2 || g.cols < 2)
        return true;
    if (colormap < 0)
        solidColor(format_.polygonColor);
    const Painter p = painterFor(*this, box, colormap);
    const bool mapped = colormap >= 0;
    const bool smooth = format_.shadeModel1 & shade1::SmoothShading;
    VertexNormals normals(g);
    std::vector<float> upper, lower;
    if (smooth) {
        upper.assign(normals.Row(0), normals.Row(0) + 3 * std::size_t(g.cols));
        lower.resize(upper.size());
    }
    for (std::int32_t i = 0; i + 1 < g.rows; ++i) {
        if (smooth) {
            const float* next = normals.Row(i + 1);
            std::copy(next, next + lower.size(), lower.begin());
        }
        glBegin(GL_TRIANGLES);
        for (std::int32_t j = 0; j + 1 < g.cols; ++j) {
            // The half of cell (i, j) on the side of its corner (i, j).
            Vertex a = g.at(i + 1, j), b = g.at(i, j + 1), c = g.at(i, j);
            if (!distinct(a, b, c))
                continue;
            if (smooth) {
                p.normal(lower.data() + 3 * j);
                if (mapped)
                    p.color(a);
                glVertex3fv(a.data());
                p.normal(upper.data() + 3 * (j + 1));
                if (mapped)
                    p.color(b);
                glVertex3fv(b.data());
                p.normal(upper.data() + 3 * j);
                if (mapped)
                    p.color(c);
                glVertex3fv(c.data());
            } else {
                Vertex n = QuadNormal(g, i, j);
                p.normal(n.data());
                if (mapped)
                    p.colorAtCentroid(a, b, c, g.at(i + 1, j + 1));
                glVertex3fv(a.data());
                glVertex3fv(b.data());
                glVertex3fv(c.data());
            }
        }
        glEnd();
        if (Interrupted())
            return false;
        if (smooth)
            upper.swap(lower);
    }
    return true;
}

bool MeshModel::DrawMeshWireframe(const BoundingRecord& box)
{
    const ModelFormat& f = format_;
    const RenderContext* rc = RenderContext::Current();
    float width = f.lineWidth * (rc ? rc->lineScale() : 1.0f);
    if (!f.lineColorMap)
        solidColor(f.lineColor);
    glLineWidth(width);
    const bool stipple = f.lineStyle != 0;
    if (stipple) {
        glPushAttrib(GL_LINE_BIT);
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(std::max(1, static_cast<int>(width)), stipplePattern(f.lineStyle, width));
    }
    const std::int32_t colormap = f.lineColorMap ? f.colormapIndex : -1;
    bool going = true;
    if (!glIsEnabled(GL_LIGHTING) && (f.lineColor >> 24) == 255) {
        const GridSource g = visibleGrid(Grid(), true);
        const Painter p = painterFor(*this, box, colormap);
        const bool mapped = colormap >= 0;
        // One line strip per row, then one per column.
        auto strips = [&](std::int32_t outer, std::int32_t inner, bool rows) {
            for (std::int32_t a = 0; a < outer && going; ++a) {
                glBegin(GL_LINE_STRIP);
                for (std::int32_t b = 0; b < inner; ++b) {
                    Vertex v = rows ? g.at(a, b) : g.at(b, a);
                    if (mapped)
                        p.color(v);
                    glVertex3fv(v.data());
                }
                glEnd();
                going = !Interrupted();
            }
        };
        strips(g.rows, g.cols, true);
        strips(g.cols, g.rows, false);
    } else {
        // Lit or translucent lines: the strip outlines, diagonals included.
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        going = DrawFilledSurface(box, colormap, f.lineColor, true);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    if (stipple)
        glPopAttrib();
    return going;
}

bool MeshModel::DrawPoints(const BoundingRecord& box)
{
    const ModelFormat& f = format_;
    const RenderContext* rc = RenderContext::Current();
    glPointSize((rc ? rc->pointScale() : 8.0f) * f.pointSize * 0.25f + 1.0f);
    const std::int32_t colormap = f.pointColorMap ? f.colormapIndex : -1;
    if (colormap < 0)
        solidColor(f.pointColor);
    const GridSource g = Grid();
    const Painter p = painterFor(*this, box, colormap);
    for (std::int32_t i = 0; i < g.rows; ++i) {
        glBegin(GL_POINTS);
        for (std::int32_t j = 0; j < g.cols; ++j) {
            Vertex v = g.at(i, j);
            if (colormap >= 0)
                p.color(v);
            glVertex3fv(v.data());
        }
        glEnd();
        if (Interrupted())
            return false;
    }
    return true;
}

bool MeshModel::DrawForPicking()
{
    if (!HasData())
        return false;
    const GridSource g = Grid();
    glBegin(GL_POINTS);
    for (std::int32_t j = 0; j < g.cols; ++j)
        for (std::int32_t i = 0; i < g.rows; ++i)
            glVertex3fv(g.at(i, j).data());
    glEnd();
    return true;
}

} // namespace halvex
