// How a mesh model draws itself: the passes per plot kind, the filled
// triangle strips with flat or smooth normals, half fill, the wireframe,
// hidden-line removal and points.
#include "plot/base/plot_errors.h"
#include "plot/model/contour_fill.h"
#include "plot/model/mesh_model.h"
#include "plot/model/mesh_paint.h"
#include "plot/model/pass_rules.h"
#include "plot/model/thin_features.h"

#include <algorithm>
#include <vector>

namespace halvex {

// Finer grids than the picture can show are drawn reduced, keeping every
// local extreme (see ReducedGrid): filled cells of about two pixels, and
// lines about three pixels apart (denser lines only blacken the picture,
// at a high price for smoothed lines). Each piece and use keeps its own
// reduction, so a frame rebuilds none.
GridSource MeshModel::VisibleGrid(const DrawContext& dc, bool lines, std::int32_t piece)
{
    const std::size_t slot = std::size_t(piece + 1) * 2 + (lines ? 1 : 0);
    if (reduced_.size() <= slot)
        reduced_.resize(slot + 1);
    const GridSource g = piece < 0 ? Grid() : Piece(piece);
    return reduced_[slot].Reduce(g, lines ? dc.detailLimit * 2 / 3 : dc.detailLimit);
}

namespace {

// A corner of a filled surface, with its texture coordinates when the
// surface is a contour fill.
struct Corner {
    const FillTexture* texture;
    void operator()(const Vertex& v) const
    {
        if (texture) {
            std::array<double, 2> st = texture->Coord(v);
            glTexCoord2f(float(st[0]), float(st[1]));
        }
        glVertex3fv(v.data());
    }
};

// The contour directions (bits 1 X, 2 Y, 4 Z) whose switches are on, from
// the three switches of X, Y and Z.
constexpr std::array<std::uint32_t, 3> kLines3D{shade1::DrawXContours3D, shade1::DrawYContours3D,
                                                shade1::DrawZContours3D};
constexpr std::array<std::uint32_t, 3> kFills3D{shade1::FillXContours3D, shade1::FillYContours3D,
                                                shade1::FillZContours3D};
int directionsOf(std::uint32_t word, const std::array<std::uint32_t, 3>& switches)
{
    return (word & switches[0] ? 1 : 0) | (word & switches[1] ? 2 : 0) | (word & switches[2] ? 4 : 0);
}

bool distinct(const Vertex& a, const Vertex& b, const Vertex& c)
{
    return a != b && b != c && a != c;
}

// Features one cell wide as lines over the fill, so that they reach their
// true height (see FindThinFeatures).
void drawThinFeatures(const DrawContext& dc, const GridSource& g, const Painter& p, bool mapped)
{
    std::vector<FeatureLine> lines;
    FindThinFeatures(g, p.scaleNormals ? p.scale : std::array<float, 3>{1.0f, 1.0f, 1.0f}, lines);
    if (lines.empty())
        return;
    // Lit as the level ground around them would be.
    const float up[3] = {0.0f, 1.0f, 0.0f};
    glPushAttrib(GL_LINE_BIT);
    glLineWidth(std::max(1.0f, dc.lineScale()));
    glBegin(GL_LINES);
    p.normal(up);
    for (const FeatureLine& l : lines) {
        if (mapped)
            p.color(l.a);
        glVertex3fv(l.a.data());
        if (mapped)
            p.color(l.b);
        glVertex3fv(l.b.data());
    }
    glEnd();
    glPopAttrib();
}

} // namespace

bool MeshModel::Problem(std::string_view message)
{
    if (message != reportedProblem_) {
        reportedProblem_ = message;
        if (PlotOwner* o = owner())
            o->DrawProblem(message);
    }
    return false;
}

bool MeshModel::Draw(const DrawContext& dc)
{
    const ModelFormat& f = format_;
    const std::int32_t kind = f.viewAs;
    const PassSwitches on = SwitchesOf(f, dc.flatPlot);

    // Vector data belongs to the vector field plot and nothing else.
    if (kind == kVectorFieldPlot && flatKind_) {
        if (!HasData() || rows_ == 0 || cols_ == 0)
            return Problem("This model has no data to draw");
        bool wanted = (dc.pass == DrawPass::Fill && on.fill) || (dc.pass == DrawPass::Lines && on.lines) ||
                      (dc.pass == DrawPass::Points && on.points);
        return wanted ? DrawVectors(dc, dc.pass) : true;
    }
    if (kind == kVectorFieldPlot || flatKind_)
        return Problem("The data of this model does not fit its plot kind");

    // A point list shown as a surface-like kind is drawn through its
    // interpolated grid.
    if (!EnsureGrid(dc.interrupt))
        return false;

    if (dc.pass == DrawPass::Points && dc.recording) {
        // Points too big for a recorded list are drawn on every paint.
        directDraw_ = false;
        if (on.points && dc.lighting) {
            directDraw_ = f.pointSymbol != 0 || dc.pointScale() * f.pointSize * 0.25f > dc.pointThreshold;
            if (directDraw_)
                return true;
        }
    }

    if (!HasData() || rows_ == 0 || cols_ == 0)
        return Problem("This model has no data to draw");
    // Contour plots have a drawing of their own.
    if (kind == kContourPlot)
        return DrawContourPlot(dc);
    const bool boxes = kind == kBarPlot || kind == kPatchPlot;
    auto boxPart = [&](BoxPart part) { return kind == kBarPlot ? DrawBars(dc, part) : DrawPatches(dc, part); };

    glPolygonOffset(f.polygonOffsetFactor, 1.0f);
    switch (dc.pass) {
    case DrawPass::DepthOnly:
        if ((kind == kSurfacePlot || boxes) && (f.shadeModel1 & shade1::HiddenLineRemoval) && !on.contourFill &&
            !on.fill && !on.halfFill) {
            // The fill only into the depth buffer: the lines drawn next are
            // tested against it.
            glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
            bool going = boxes ? boxPart(BoxPart::Fill) : DrawFilledSurface(dc, -1, f.polygonColor);
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            return going;
        }
        return true;
    case DrawPass::Fill: {
        if (!(on.fill || on.contourFill))
            return true;
        if (boxes)
            return boxPart(on.halfFill ? BoxPart::HalfFill : BoxPart::Fill);
        // A surface's bands span the whole picture's data.
        if (on.contourFill)
            return DrawContourFill(dc, directionsOf(f.shadeModel1, kFills3D), on.halfFill, dc.dataBox, true);
        std::int32_t colormap = f.polygonColorMap ? f.colormapIndex : -1;
        return on.halfFill ? DrawHalfFilledSurface(dc, colormap) : DrawFilledSurface(dc, colormap, f.polygonColor);
    }
    case DrawPass::Lines:
        if (!on.lines)
            return true;
        if (boxes)
            return boxPart(BoxPart::Lines);
        // Contour lines replace the wireframe.
        if (on.contourLines)
            return DrawContourLines(dc, directionsOf(f.shadeModel1, kLines3D), true);
        if (kind == kDataPointsPlot)
            return DrawScatterLines(dc);
        return DrawMeshWireframe(dc);
    case DrawPass::Points:
        if (!on.points)
            return true;
        if (boxes)
            return boxPart(BoxPart::Points);
        return DrawPoints(dc);
    }
    return true;
}

bool MeshModel::DrawFilledSurface(const DrawContext& dc, std::int32_t colormap, std::uint32_t solid, bool outlines,
                                  const FillTexture* texture)
{
    for (std::int32_t k = 0; k < PieceCount(); ++k)
        if (!FilledGrid(dc, k, colormap, solid, outlines, texture))
            return false;
    return true;
}

bool MeshModel::DrawHalfFilledSurface(const DrawContext& dc, std::int32_t colormap, const FillTexture* texture)
{
    for (std::int32_t k = 0; k < PieceCount(); ++k)
        if (!HalfFilledGrid(dc, k, colormap, texture))
            return false;
    return true;
}

bool MeshModel::FilledGrid(const DrawContext& dc, std::int32_t piece, std::int32_t colormap,
                           std::uint32_t solid, bool outlines, const FillTexture* texture)
{
    const GridSource g = VisibleGrid(dc, false, piece);
    if (g.rows < 2 || g.cols < 2)
        return true;
    if (texture)
        colormap = -1, solid = 0xFFFFFFFF;
    if (colormap < 0)
        solidColor(solid);
    const Corner vertex{texture};
    const Painter p = painterFor(*this, dc.dataBox, colormap, format_.polygonColor);
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
                vertex(v);
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
            if (dc.Interrupted())
                return false;
            upper.swap(lower);
        }
        if (!outlines)
            drawThinFeatures(dc, g, p, mapped);
        return true;
    }
    // Flat: each quad's one normal and colour, set before its two corners
    // that end its two triangles.
    for (std::int32_t i = 0; i + 1 < g.rows; ++i) {
        glBegin(primitive);
        Vertex pa = g.at(i, 0), pb = g.at(i + 1, 0);
        if (!outlines) {
            // The strip's first two corners end no triangle, so their
            // normal and colour show nowhere; they get the first quad's all
            // the same, because a recorded list whose vertices gain
            // attributes halfway through a primitive is rewritten by Mesa,
            // which overruns its buffer doing so.
            Vertex n = QuadNormal(g, i, 0);
            p.normal(n.data());
            if (mapped)
                p.colorAtCentroid(pa, pb, g.at(i + 1, 1), g.at(i, 1));
            vertex(pa);
            vertex(pb);
        }
        for (std::int32_t j = 1; j < g.cols; ++j) {
            Vertex a = g.at(i, j), b = g.at(i + 1, j);
            Vertex n = QuadNormal(g, i, j - 1);
            p.normal(n.data());
            if (mapped)
                p.colorAtCentroid(pa, pb, b, a);
            if (outlines) {
                for (const Vertex* v : {&pa, &pb, &a, &a, &pb, &b})
                    vertex(*v);
            } else {
                vertex(a);
                vertex(b);
            }
            pa = a;
            pb = b;
        }
        glEnd();
        if (dc.Interrupted())
            return false;
    }
    if (!outlines)
        drawThinFeatures(dc, g, p, mapped);
    return true;
}

bool MeshModel::HalfFilledGrid(const DrawContext& dc, std::int32_t piece, std::int32_t colormap,
                               const FillTexture* texture)
{
    const GridSource g = VisibleGrid(dc, false, piece);
    if (g.rows < 2 || g.cols < 2)
        return true;
    if (texture)
        colormap = -1;
    if (colormap < 0)
        solidColor(texture ? 0xFFFFFFFF : format_.polygonColor);
    const Corner vertex{texture};
    const Painter p = painterFor(*this, dc.dataBox, colormap, format_.polygonColor);
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
                vertex(a);
                p.normal(upper.data() + 3 * (j + 1));
                if (mapped)
                    p.color(b);
                vertex(b);
                p.normal(upper.data() + 3 * j);
                if (mapped)
                    p.color(c);
                vertex(c);
            } else {
                Vertex n = QuadNormal(g, i, j);
                p.normal(n.data());
                if (mapped)
                    p.colorAtCentroid(a, b, c, g.at(i + 1, j + 1));
                vertex(a);
                vertex(b);
                vertex(c);
            }
        }
        glEnd();
        if (dc.Interrupted())
            return false;
        if (smooth)
            upper.swap(lower);
    }
    return true;
}

bool MeshModel::DrawMeshWireframe(const DrawContext& dc)
{
    const ModelFormat& f = format_;
    if (!f.lineColorMap)
        solidColor(f.lineColor);
    LineStyleScope style(f, dc);
    const std::int32_t colormap = f.lineColorMap ? f.colormapIndex : -1;
    if (!dc.lighting && (f.lineColor >> 24) == 255) {
        const Painter p = painterFor(*this, dc.dataBox, colormap, f.polygonColor);
        const bool mapped = colormap >= 0;
        for (std::int32_t k = 0; k < PieceCount(); ++k) {
            const GridSource g = VisibleGrid(dc, true, k);
            bool going = true;
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
                    going = !dc.Interrupted();
                }
            };
            strips(g.rows, g.cols, true);
            strips(g.cols, g.rows, false);
            if (!going)
                return false;
        }
        return true;
    }
    // Lit or translucent lines: the strip outlines, diagonals included.
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    bool going = DrawFilledSurface(dc, colormap, f.lineColor, true);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    return going;
}

bool MeshModel::DrawPoints(const DrawContext& dc)
{
    PointSetDrawer points(*this, dc);
    for (std::int32_t k = 0; k < PieceCount(); ++k) {
        const GridSource g = Piece(k);
        for (std::int32_t i = 0; i < g.rows; ++i) {
            for (std::int32_t j = 0; j < g.cols; ++j)
                points.Add(g.at(i, j));
            points.Flush();
            if (dc.Interrupted())
                return false;
        }
    }
    return true;
}

bool MeshModel::DrawForPicking()
{
    if (!HasData())
        return false;
    glBegin(GL_POINTS);
    if (flatKind_) {
        // A vector field's grid positions.
        for (std::int32_t j = 0; j < cols_; ++j)
            for (std::int32_t i = 0; i < rows_; ++i)
                glVertex3f(float(i), 0.0f, float(j));
    } else {
        for (std::int32_t k = 0; k < PieceCount(); ++k) {
            const GridSource g = Piece(k);
            for (std::int32_t j = 0; j < g.cols; ++j)
                for (std::int32_t i = 0; i < g.rows; ++i)
                    glVertex3fv(g.at(i, j).data());
        }
    }
    glEnd();
    return true;
}

} // namespace halvex
