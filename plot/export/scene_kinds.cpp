// The scene shapes of the plot kinds drawn as glyphs, one per data point:
// the arrows of a vector field and the boxes of bar and patch plots, laid
// out as the picture lays them out (vector_drawing.cpp, bar_drawing.cpp).
#include "plot/export/scene_kinds.h"

#include "plot/base/packed_color.h"
#include "plot/model/mesh_model.h"
#include "plot/model/pass_rules.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace halvex {

namespace {

bool finite(const Vertex& v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

Rgb packedRgb(std::uint32_t c)
{
    return {byteChannel(c, 0), byteChannel(c, 8), byteChannel(c, 16)};
}

// The colour of every point from its own colour-map position, or the one
// solid colour.
void colourShape(SceneShape& s, std::int32_t colormap, std::uint32_t solid, const std::vector<Rgb>& mapped)
{
    if (colormap < 0) {
        s.binding = ColorBinding::Overall;
        s.colors = {packedRgb(solid)};
    } else {
        s.binding = ColorBinding::PerVertex;
        s.colors = mapped;
    }
}

float pointWidth(const ModelFormat& f, const SceneStyle& style)
{
    return std::max(1.0f, 8.0f * style.lineScale * f.pointSize * 0.25f + 1.0f);
}

constexpr double kTwoPi = 6.283185307179586;

} // namespace

SceneModel VectorScene(MeshModel& model, const SceneStyle& style)
{
    SceneModel out;
    if (!model.HasData() || !model.HasExplicitVertices() || model.HasGrid())
        return out;
    const ModelFormat& f = model.format();
    const PassSwitches on = SwitchesOf(f, style.flatPlot);
    if (!on.fill && !on.lines && !on.points)
        return out;
    const GridSource g = model.Grid();
    const double largest = model.LargestMagnitude();
    const BoundingRecord& box = style.dataBox;
    const float floor = box.min[1] <= box.max[1] ? box.min[1] : 0.0f;

    // Every arrow's points: base, tip and the head's two corners; an arrow
    // of no length is its base alone. Each point keeps the arrow's
    // relative length, which the colour maps take.
    struct Arrow {
        std::uint32_t first;
        bool still;
    };
    std::vector<Arrow> arrows;
    std::vector<float> lengths;
    const std::size_t n = std::size_t(g.rows) * std::size_t(g.cols);
    arrows.reserve(n);
    out.points.reserve(4 * n);
    for (std::int32_t j = 0; j < g.cols; ++j)
        for (std::int32_t i = 0; i < g.rows; ++i) {
            const Vertex v = g.at(i, j);
            if (!finite(v))
                continue;
            const double length = std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
            const float L = largest > 0.0 ? float(length / largest) : 0.0f;
            const Vertex base{float(i), floor, float(j)};
            const std::uint32_t first = std::uint32_t(out.points.size());
            if (!(L > FLT_MIN) || !std::isfinite(L)) {
                arrows.push_back({first, true});
                out.points.push_back(base);
                lengths.push_back(0.0f);
                continue;
            }
            // The frame the picture turns each arrow into: local y along v.
            double a1 = std::atan2(double(v[0]), double(v[2]));
            if (a1 < 0.0)
                a1 += kTwoPi;
            const double a2 = std::acos(std::clamp(double(v[1]) / length, -1.0, 1.0));
            const double s1 = std::sin(a1), c1 = std::cos(a1), s2 = std::sin(a2), c2 = std::cos(a2);
            const float ex[3] = {float(c1), 0.0f, float(-s1)};
            const float ey[3] = {float(s2 * s1), float(c2), float(s2 * c1)};
            auto at = [&](float x, float y) {
                return Vertex{base[0] + x * ex[0] + y * ey[0], base[1] + x * ex[1] + y * ey[1],
                              base[2] + x * ex[2] + y * ey[2]};
            };
            const float w = 0.16f * L, h = 0.5f * L;
            arrows.push_back({first, false});
            out.points.insert(out.points.end(), {base, at(0.0f, L), at(w, h), at(-w, h), at(0.0f, h)});
            lengths.insert(lengths.end(), 5, L);
        }
    if (arrows.empty())
        return out;

    auto mappedColours = [&](std::int32_t colormap) {
        std::vector<Rgb> c;
        if (colormap < 0)
            return c;
        c.reserve(lengths.size());
        for (float L : lengths)
            c.push_back(SpectrumRgb(colormap, L));
        return c;
    };
    auto stillPoints = [&](std::int32_t colormap, std::uint32_t solid, float width, const std::vector<Rgb>& mapped) {
        SceneShape s;
        s.kind = ShapeKind::Points;
        s.width = width;
        for (const Arrow& a : arrows)
            if (a.still)
                s.indices.push_back(a.first);
        if (s.indices.empty())
            return;
        colourShape(s, colormap, solid, mapped);
        out.shapes.push_back(std::move(s));
    };
    const float lineWidth = f.lineWidth * style.lineScale;

    if (on.fill) {
        // Filled heads and the shafts up to them.
        const std::int32_t colormap = f.polygonColorMap ? f.colormapIndex : -1;
        const std::vector<Rgb> mapped = mappedColours(colormap);
        SceneShape heads;
        heads.kind = ShapeKind::Faces;
        SceneShape shafts;
        shafts.kind = ShapeKind::Lines;
        shafts.width = lineWidth;
        for (const Arrow& a : arrows) {
            if (a.still)
                continue;
            heads.indices.insert(heads.indices.end(), {a.first + 1, a.first + 3, a.first + 2});
            shafts.indices.insert(shafts.indices.end(), {a.first, a.first + 4, kPolylineEnd});
        }
        if (!heads.indices.empty()) {
            colourShape(heads, colormap, f.polygonColor, mapped);
            colourShape(shafts, colormap, f.polygonColor, mapped);
            out.shapes.push_back(std::move(heads));
            out.shapes.push_back(std::move(shafts));
        }
        stillPoints(colormap, f.polygonColor, 1.0f, mapped);
    }
    if (on.lines) {
        // The shaft and the head's two strokes.
        const std::int32_t colormap = f.lineColorMap ? f.colormapIndex : -1;
        const std::vector<Rgb> mapped = mappedColours(colormap);
        SceneShape s;
        s.kind = ShapeKind::Lines;
        s.width = lineWidth;
        for (const Arrow& a : arrows) {
            if (a.still)
                continue;
            s.indices.insert(s.indices.end(), {a.first, a.first + 1, kPolylineEnd, a.first + 2, a.first + 1,
                                               a.first + 3, kPolylineEnd});
        }
        if (!s.indices.empty()) {
            colourShape(s, colormap, f.lineColor, mapped);
            out.shapes.push_back(std::move(s));
        }
        stillPoints(colormap, f.lineColor, 1.0f, mapped);
    }
    if (on.points) {
        // The base, the tip and the head's corners.
        const std::int32_t colormap = f.pointColorMap ? f.colormapIndex : -1;
        const std::vector<Rgb> mapped = mappedColours(colormap);
        SceneShape s;
        s.kind = ShapeKind::Points;
        s.width = pointWidth(f, style);
        for (const Arrow& a : arrows) {
            s.indices.push_back(a.first);
            if (!a.still)
                s.indices.insert(s.indices.end(), {a.first + 1, a.first + 2, a.first + 3});
        }
        colourShape(s, colormap, f.pointColor, mapped);
        out.shapes.push_back(std::move(s));
    }
    return out;
}

namespace {

struct Box {
    float x0, y0, z0, x1, y1, z1;
};

// Each face counter-clockwise seen from outside (as bar_drawing.cpp).
constexpr int kFaces[6][4] = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3}, {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}};
constexpr int kTopFace = 2;
constexpr int kEdges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                               {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
constexpr int kTopRing[4] = {2, 3, 7, 6};

enum class Part { Fill, HalfFill, Lines, Points };

class BoxBuilder {
public:
    BoxBuilder(MeshModel& m, const SceneStyle& style) : m_(m), f_(m.format()), style_(style) {}

    SceneModel Build()
    {
        const PassSwitches on = SwitchesOf(f_, style_.flatPlot);
        if (!f_.barBoxValid)
            m_.ComputeBarBox();
        const bool wanted = on.fill || on.contourFill || on.lines || on.points;
        if (!wanted)
            return {};
        Collect();
        if (boxes_.empty())
            return {};
        if (on.fill || on.contourFill)
            Shape(on.halfFill ? Part::HalfFill : Part::Fill);
        if (on.lines)
            Shape(Part::Lines);
        if (on.points)
            Shape(Part::Points);
        return std::move(out_);
    }

private:
    // Every box with its eight corners in the points, and the colour-map
    // position of each (its data point, or its row in a stack or group).
    struct Placed {
        std::uint32_t first;
        float ramp;
    };
    void Add(const Box& b, float ramp)
    {
        if (!std::isfinite(b.x0) || !std::isfinite(b.y0) || !std::isfinite(b.z0) || !std::isfinite(b.x1) ||
            !std::isfinite(b.y1) || !std::isfinite(b.z1))
            return;
        boxes_.push_back({std::uint32_t(out_.points.size()), ramp});
        for (int k = 0; k < 8; ++k)
            out_.points.push_back({k & 1 ? b.x1 : b.x0, k & 2 ? b.y1 : b.y0, k & 4 ? b.z1 : b.z0});
    }
    float rampOf(const Vertex& v) const
    {
        return RampPosition(style_.dataBox, v.data(), f_.spectrumDir);
    }
    void Collect();
    void Shape(Part part);

    MeshModel& m_;
    const ModelFormat& f_;
    const SceneStyle& style_;
    bool patches_ = false;
    std::vector<Placed> boxes_;
    SceneModel out_;
};

void BoxBuilder::Collect()
{
    const BoundingRecord& bb = f_.barBox;
    const std::int32_t alongX = m_.HasGrid() ? m_.rows() : m_.cols();
    const std::int32_t alongZ = m_.HasGrid() ? m_.cols() : m_.rows();
    patches_ = f_.viewAs == kPatchPlot;
    if (patches_) {
        // Tiles touch: each spans its whole cell.
        const float hx = (bb.max[0] - bb.min[0]) / float(std::max(alongX, 1)) * 0.5f;
        const float hz = (bb.max[2] - bb.min[2]) / float(std::max(alongZ, 1)) * 0.5f;
        for (std::int32_t k = 0; k < m_.PieceCount(); ++k) {
            const GridSource g = m_.Piece(k);
            for (std::int32_t j = 0; j < g.cols; ++j)
                for (std::int32_t i = 0; i < g.rows; ++i) {
                    const Vertex v = g.at(i, j);
                    Add({v[0] - hx, v[1], v[2] - hz, v[0] + hx, v[1], v[2] + hz}, rampOf(v));
                }
        }
        return;
    }
    // The share of a cell a bar fills: BarPlotSpacing is the percentage
    // left empty.
    const float share = float(100 - std::clamp<int>(f_.barPlotSpacing, 0, 100)) * 0.01f;
    const std::int32_t layout = f_.barPlotLayout;
    const std::int32_t rows = m_.rows(), cols = m_.cols();
    if (layout == 1 || layout == 2) {
        // One stack, or one group side by side, per column.
        const float cellZ = (bb.max[2] - bb.min[2]) / float(std::max(cols, 1));
        const float w = (bb.max[0] - bb.min[0]) * share * 0.5f;
        const float d = cellZ * share * 0.5f;
        const float cx = (bb.min[0] + bb.max[0]) * 0.5f;
        for (std::int32_t j = 0; j < cols; ++j) {
            const float cz = bb.min[2] + (float(j) + 0.5f) * cellZ;
            float up = 0.0f, down = 0.0f;
            for (std::int32_t i = 0; i < rows; ++i) {
                const float h = m_.GetVertex(i, j)[1];
                const float ramp = rows > 1 ? float(i) / float(rows - 1) : 0.0f;
                if (!std::isfinite(h))
                    continue;
                if (layout == 1) {
                    const float from = h >= 0.0f ? up : down + h, to = h >= 0.0f ? up + h : down;
                    (h >= 0.0f ? up : down) += h;
                    Add({cx - w, from, cz - d, cx + w, to, cz + d}, ramp);
                } else {
                    const float each = 2.0f * d / float(rows);
                    const float z0 = cz - d + float(i) * each;
                    Add({cx - w, std::min(0.0f, h), z0, cx + w, std::max(0.0f, h), z0 + each}, ramp);
                }
            }
        }
        return;
    }
    // One bar per data point, standing on the plane of height 0.
    const float w = (bb.max[0] - bb.min[0]) / float(std::max(alongX, 1)) * share * 0.5f;
    const float d = (bb.max[2] - bb.min[2]) / float(std::max(alongZ, 1)) * share * 0.5f;
    for (std::int32_t k = 0; k < m_.PieceCount(); ++k) {
        const GridSource g = m_.Piece(k);
        for (std::int32_t j = 0; j < g.cols; ++j)
            for (std::int32_t i = 0; i < g.rows; ++i) {
                const Vertex v = g.at(i, j);
                Add({v[0] - w, std::min(0.0f, v[1]), v[2] - d, v[0] + w, std::max(0.0f, v[1]), v[2] + d}, rampOf(v));
            }
    }
}

void BoxBuilder::Shape(Part part)
{
    SceneShape s;
    std::uint32_t solid = f_.polygonColor;
    std::int32_t colormap = f_.polygonColorMap ? f_.colormapIndex : -1;
    switch (part) {
    case Part::Fill:
    case Part::HalfFill:
        s.kind = ShapeKind::Faces;
        for (const Placed& b : boxes_)
            for (int face = 0; face < 6; ++face) {
                if (patches_ && face != kTopFace)
                    continue;
                const int* c = kFaces[face];
                s.indices.insert(s.indices.end(), {b.first + c[0], b.first + c[1], b.first + c[2]});
                if (part == Part::Fill)
                    s.indices.insert(s.indices.end(), {b.first + c[0], b.first + c[2], b.first + c[3]});
            }
        break;
    case Part::Lines:
        s.kind = ShapeKind::Lines;
        s.width = f_.lineWidth * style_.lineScale;
        solid = f_.lineColor;
        colormap = f_.lineColorMap ? f_.colormapIndex : -1;
        for (const Placed& b : boxes_) {
            if (patches_) {
                for (int k : kTopRing)
                    s.indices.push_back(b.first + k);
                s.indices.insert(s.indices.end(), {b.first + kTopRing[0], kPolylineEnd});
                continue;
            }
            for (const auto& e : kEdges)
                s.indices.insert(s.indices.end(), {b.first + e[0], b.first + e[1], kPolylineEnd});
        }
        break;
    case Part::Points:
        s.kind = ShapeKind::Points;
        s.width = pointWidth(f_, style_);
        solid = f_.pointColor;
        colormap = f_.pointColorMap ? f_.colormapIndex : -1;
        for (const Placed& b : boxes_)
            for (std::uint32_t k = 0; k < 8; ++k)
                if (!patches_ || (k & 2))
                    s.indices.push_back(b.first + k);
        break;
    }
    if (s.indices.empty())
        return;
    if (colormap < 0) {
        s.binding = ColorBinding::Overall;
        s.colors = {packedRgb(solid)};
    } else if (part == Part::Points) {
        // Corners take the colour at their own place.
        s.binding = ColorBinding::PerVertex;
        s.colors.reserve(out_.points.size());
        for (const Vertex& p : out_.points)
            s.colors.push_back(SpectrumRgb(colormap, rampOf(p)));
    } else {
        // A box is one colour: its data point's.
        s.binding = ColorBinding::PerVertex;
        s.colors.reserve(out_.points.size());
        for (const Placed& b : boxes_)
            s.colors.insert(s.colors.end(), 8, SpectrumRgb(colormap, b.ramp));
    }
    out_.shapes.push_back(std::move(s));
}

} // namespace

SceneModel BoxScene(MeshModel& model, const SceneStyle& style)
{
    if (!model.HasData() || model.rows() < 1 || model.cols() < 1)
        return {};
    BoxBuilder b(model, style);
    return b.Build();
}

} // namespace halvex
