// Bars and patches: a box (bars) or a flat tile (patches) for every vertex,
// filled as quadrilaterals with face normals, half filled (one triangle of
// each face), outlined, or marked at the corners.
#include "plot/model/mesh_model.h"
#include "plot/model/mesh_paint.h"

#include <algorithm>
#include <optional>

namespace halvex {

namespace {

struct Box {
    float x0, y0, z0, x1, y1, z1;
};

// Each face counter-clockwise seen from outside, with its outward normal.
struct Face {
    float n[3];
    int corner[4]; // bit 0: x1, bit 1: y1, bit 2: z1
};
constexpr Face kFaces[6] = {
    {{1, 0, 0}, {1, 3, 7, 5}},  {{-1, 0, 0}, {0, 4, 6, 2}}, {{0, 1, 0}, {2, 6, 7, 3}},
    {{0, -1, 0}, {0, 1, 5, 4}}, {{0, 0, 1}, {4, 5, 7, 6}},  {{0, 0, -1}, {0, 2, 3, 1}},
};
constexpr int kEdges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                               {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

Vertex corner(const Box& b, int k) noexcept
{
    return {k & 1 ? b.x1 : b.x0, k & 2 ? b.y1 : b.y0, k & 4 ? b.z1 : b.z0};
}

// The parts of a box (or of the top face alone, for a tile). Colours are
// set by the caller; fills go inside glBegin(GL_QUADS or GL_TRIANGLES),
// lines inside glBegin(GL_LINES).
class BoxEmitter {
public:
    BoxEmitter(MeshModel::BoxPart part, const Painter& p, bool topOnly) : part_(part), p_(p), top_(topOnly) {}

    void Begin()
    {
        switch (part_) {
        case MeshModel::BoxPart::Fill:
            glBegin(GL_QUADS);
            break;
        case MeshModel::BoxPart::HalfFill:
            glBegin(GL_TRIANGLES);
            break;
        case MeshModel::BoxPart::Lines:
            glBegin(GL_LINES);
            break;
        case MeshModel::BoxPart::Points:
            break;
        }
    }
    void End()
    {
        if (part_ != MeshModel::BoxPart::Points)
            glEnd();
    }

    void Emit(const Box& b, PointSetDrawer* points)
    {
        switch (part_) {
        case MeshModel::BoxPart::Fill:
        case MeshModel::BoxPart::HalfFill: {
            const int count = part_ == MeshModel::BoxPart::Fill ? 4 : 3;
            for (const Face& f : kFaces) {
                if (top_ && f.n[1] <= 0.0f)
                    continue;
                p_.normal(f.n);
                for (int k = 0; k < count; ++k)
                    glVertex3fv(corner(b, f.corner[k]).data());
            }
            break;
        }
        case MeshModel::BoxPart::Lines:
            if (top_) {
                const int ring[4] = {2, 3, 7, 6};
                for (int k = 0; k < 4; ++k) {
                    glVertex3fv(corner(b, ring[k]).data());
                    glVertex3fv(corner(b, ring[(k + 1) % 4]).data());
                }
            } else {
                for (const auto& e : kEdges) {
                    glVertex3fv(corner(b, e[0]).data());
                    glVertex3fv(corner(b, e[1]).data());
                }
            }
            break;
        case MeshModel::BoxPart::Points:
            for (int k = 0; k < 8; ++k)
                if (!top_ || (k & 2))
                    points->Add(corner(b, k));
            break;
        }
    }

private:
    MeshModel::BoxPart part_;
    const Painter& p_;
    bool top_;
};

// The colour of a part: the line, point or polygon colour, or its colour
// map when that is on.
struct PartColor {
    std::uint32_t solid;
    std::int32_t colormap; // −1: solid
};

PartColor partColor(const ModelFormat& f, MeshModel::BoxPart part)
{
    switch (part) {
    case MeshModel::BoxPart::Lines:
        return {f.lineColor, f.lineColorMap ? f.colormapIndex : std::int32_t(-1)};
    case MeshModel::BoxPart::Points:
        return {f.pointColor, f.pointColorMap ? f.colormapIndex : std::int32_t(-1)};
    default:
        return {f.polygonColor, f.polygonColorMap ? f.colormapIndex : std::int32_t(-1)};
    }
}

// The share of a cell a bar fills: BarPlotSpacing is the percentage left
// empty (values outside 0 … 100 are taken as the nearest end).
float fillShare(std::int16_t spacing)
{
    return float(100 - std::clamp<int>(spacing, 0, 100)) * 0.01f;
}

} // namespace

bool MeshModel::DrawBars(const DrawContext& dc, BoxPart part)
{
    const ModelFormat& f = format_;
    if (!f.barBoxValid)
        ComputeBarBox();
    const BoundingRecord& bb = f.barBox;
    const PartColor pc = partColor(f, part);
    const Painter p = painterFor(*this, dc.dataBox, pc.colormap, pc.solid);
    const bool mapped = pc.colormap >= 0;
    const float share = fillShare(f.barPlotSpacing);

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glEnable(GL_CULL_FACE);
    if (part == BoxPart::Lines || part == BoxPart::Points)
        glDisable(GL_CULL_FACE);
    if (!mapped)
        solidColor(pc.solid);
    std::optional<LineStyleScope> style;
    if (part == BoxPart::Lines)
        style.emplace(f, dc);
    std::optional<PointSetDrawer> points;
    if (part == BoxPart::Points)
        points.emplace(*this, dc);
    BoxEmitter emit(part, p, false);

    bool going = true;
    const std::int32_t layout = f.barPlotLayout;
    if (layout == 1 || layout == 2) {
        // One stack, or one group side by side, per column, the columns
        // along display z; row i has its own colour in every column.
        const float cellZ = (bb.max[2] - bb.min[2]) / float(std::max(cols_, 1));
        const float w = (bb.max[0] - bb.min[0]) * share * 0.5f;
        const float d = cellZ * share * 0.5f;
        const float cx = (bb.min[0] + bb.max[0]) * 0.5f;
        for (std::int32_t j = 0; j < cols_ && going; ++j) {
            const float cz = bb.min[2] + (float(j) + 0.5f) * cellZ;
            float up = 0.0f, down = 0.0f;
            emit.Begin();
            for (std::int32_t i = 0; i < rows_; ++i) {
                const float h = GetVertex(i, j)[1];
                if (mapped && part != BoxPart::Points)
                    p.colorAt(rows_ > 1 ? float(i) / float(rows_ - 1) : 0.0f);
                Box b;
                if (layout == 1) {
                    float from = h >= 0.0f ? up : down + h, to = h >= 0.0f ? up + h : down;
                    (h >= 0.0f ? up : down) += h;
                    b = {cx - w, from, cz - d, cx + w, to, cz + d};
                } else {
                    const float each = 2.0f * d / float(rows_);
                    const float z0 = cz - d + float(i) * each;
                    b = {cx - w, std::min(0.0f, h), z0, cx + w, std::max(0.0f, h), z0 + each};
                }
                emit.Emit(b, points ? &*points : nullptr);
            }
            emit.End();
            if (points)
                points->Flush();
            going = !dc.Interrupted();
        }
    } else {
        // One bar per vertex, standing on the plane of height 0.
        const float w = (bb.max[0] - bb.min[0]) / float(std::max(linesAlongX(), 1)) * share * 0.5f;
        const float d = (bb.max[2] - bb.min[2]) / float(std::max(linesAlongZ(), 1)) * share * 0.5f;
        for (std::int32_t k = 0; k < PieceCount() && going; ++k) {
            const GridSource g = Piece(k);
            for (std::int32_t j = 0; j < g.cols && going; ++j) {
                emit.Begin();
                for (std::int32_t i = 0; i < g.rows; ++i) {
                    const Vertex v = g.at(i, j);
                    if (mapped && part != BoxPart::Points)
                        p.color(v);
                    Box b{v[0] - w, std::min(0.0f, v[1]), v[2] - d, v[0] + w, std::max(0.0f, v[1]), v[2] + d};
                    emit.Emit(b, points ? &*points : nullptr);
                }
                emit.End();
                if (points)
                    points->Flush();
                going = !dc.Interrupted();
            }
        }
    }
    points.reset();
    style.reset();
    glPopAttrib();
    return going;
}

bool MeshModel::DrawPatches(const DrawContext& dc, BoxPart part)
{
    const ModelFormat& f = format_;
    if (!f.barBoxValid)
        ComputeBarBox();
    const BoundingRecord& bb = f.barBox;
    const PartColor pc = partColor(f, part);
    const Painter p = painterFor(*this, dc.dataBox, pc.colormap, pc.solid);
    const bool mapped = pc.colormap >= 0;
    // Tiles touch: each spans its whole cell.
    const float hx = (bb.max[0] - bb.min[0]) / float(std::max(linesAlongX(), 1)) * 0.5f;
    const float hz = (bb.max[2] - bb.min[2]) / float(std::max(linesAlongZ(), 1)) * 0.5f;

    glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT);
    if (!mapped)
        solidColor(pc.solid);
    std::optional<LineStyleScope> style;
    if (part == BoxPart::Lines)
        style.emplace(f, dc);
    std::optional<PointSetDrawer> points;
    if (part == BoxPart::Points)
        points.emplace(*this, dc);
    BoxEmitter emit(part, p, true);
    bool going = true;
    for (std::int32_t k = 0; k < PieceCount() && going; ++k) {
        const GridSource g = Piece(k);
        for (std::int32_t j = 0; j < g.cols && going; ++j) {
            emit.Begin();
            for (std::int32_t i = 0; i < g.rows; ++i) {
                const Vertex v = g.at(i, j);
                if (mapped && part != BoxPart::Points)
                    p.color(v);
                emit.Emit({v[0] - hx, v[1], v[2] - hz, v[0] + hx, v[1], v[2] + hz}, points ? &*points : nullptr);
            }
            emit.End();
            if (points)
                points->Flush();
            going = !dc.Interrupted();
        }
    }
    points.reset();
    style.reset();
    glPopAttrib();
    return going;
}

} // namespace halvex
