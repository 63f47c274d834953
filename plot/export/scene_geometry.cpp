#include "plot/export/scene_geometry.h"

#include "plot/export/scene_kinds.h"

#include "plot/base/packed_color.h"
#include "plot/model/mesh_model.h"
#include "plot/model/pass_rules.h"

#include <cmath>

namespace halvex {

namespace {

constexpr std::uint32_t kMissing = 0xFFFFFFFFu;

bool finite(const Vertex& v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

Rgb packedRgb(std::uint32_t c)
{
    return {byteChannel(c, 0), byteChannel(c, 8), byteChannel(c, 16)};
}

class GridBuilder {
public:
    GridBuilder(const MeshModel& m, const GridSource& g, const SceneStyle& style)
        : m_(m), g_(g), style_(style)
    {
    }

    SceneModel Build();

private:
    std::uint32_t at(std::int32_t i, std::int32_t j) const
    {
        return map_[std::size_t(i) + std::size_t(j) * std::size_t(g_.rows)];
    }
    Rgb ramp(std::int32_t colormap, const Vertex& p) const
    {
        return SpectrumRgb(colormap, RampPosition(style_.dataBox, p.data(), m_.format().spectrumDir));
    }
    // Per-vertex colours of the map, or the one solid colour.
    void Colour(SceneShape& s, std::int32_t colormap, std::uint32_t solid) const
    {
        if (colormap < 0) {
            s.binding = ColorBinding::Overall;
            s.colors = {packedRgb(solid)};
            return;
        }
        s.binding = ColorBinding::PerVertex;
        s.colors.reserve(out_.points.size());
        for (const Vertex& p : out_.points)
            s.colors.push_back(ramp(colormap, p));
    }
    void Faces(bool half);
    void Lines();
    void ScatterLines();
    void Points();

    const MeshModel& m_;
    const GridSource& g_;
    const SceneStyle& style_;
    std::vector<std::uint32_t> map_; // grid index → point index, or kMissing
    SceneModel out_;
};

SceneModel GridBuilder::Build()
{
    const ModelFormat& f = m_.format();
    const PassSwitches on = SwitchesOf(f, style_.flatPlot);
    const std::size_t n = std::size_t(g_.rows) * std::size_t(g_.cols);
    map_.assign(n, kMissing);
    out_.points.reserve(n);
    for (std::int32_t j = 0; j < g_.cols; ++j)
        for (std::int32_t i = 0; i < g_.rows; ++i) {
            Vertex v = g_.at(i, j);
            if (!finite(v))
                continue;
            map_[std::size_t(i) + std::size_t(j) * std::size_t(g_.rows)] = std::uint32_t(out_.points.size());
            out_.points.push_back(v);
        }
    if (on.fill || on.contourFill)
        Faces(on.halfFill);
    if (on.lines && !on.contourLines)
        f.viewAs == kDataPointsPlot ? ScatterLines() : Lines();
    if (on.points)
        Points();
    return std::move(out_);
}

void GridBuilder::Faces(bool half)
{
    const ModelFormat& f = m_.format();
    SceneShape s;
    s.kind = ShapeKind::Faces;
    s.smooth = (f.shadeModel1 & shade1::SmoothShading) != 0;
    const std::int32_t colormap = f.polygonColorMap ? f.colormapIndex : -1;
    const bool perFace = colormap >= 0 && !s.smooth;
    auto triangle = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c, const Rgb* color) {
        if (a == kMissing || b == kMissing || c == kMissing)
            return;
        s.indices.insert(s.indices.end(), {a, b, c});
        if (color)
            s.colors.push_back(*color);
    };
    // The strip triangulation: every cell split along the diagonal from
    // V(i + 1, j) to V(i, j + 1); a flat-shaded cell takes the colour at
    // its centre, as the picture does.
    for (std::int32_t j = 0; j + 1 < g_.cols; ++j)
        for (std::int32_t i = 0; i + 1 < g_.rows; ++i) {
            Rgb c{};
            if (perFace) {
                Vertex a = g_.at(i, j), b = g_.at(i + 1, j), d = g_.at(i, j + 1), e = g_.at(i + 1, j + 1);
                c = ramp(colormap, {(a[0] + b[0] + d[0] + e[0]) * 0.25f, (a[1] + b[1] + d[1] + e[1]) * 0.25f,
                                    (a[2] + b[2] + d[2] + e[2]) * 0.25f});
            }
            const Rgb* color = perFace ? &c : nullptr;
            if (half) {
                triangle(at(i + 1, j), at(i, j + 1), at(i, j), color);
                continue;
            }
            triangle(at(i, j), at(i + 1, j), at(i, j + 1), color);
            triangle(at(i + 1, j), at(i + 1, j + 1), at(i, j + 1), color);
        }
    if (s.indices.empty())
        return;
    if (perFace)
        s.binding = ColorBinding::PerFace;
    else
        Colour(s, colormap, f.polygonColor);
    if (s.smooth && out_.normals.empty()) {
        // The normals the picture is shaded with (stored, or made from the
        // triangles around each vertex).
        VertexNormals normals(g_);
        out_.normals.resize(out_.points.size());
        for (std::int32_t i = 0; i < g_.rows; ++i) {
            const float* row = normals.Row(i);
            for (std::int32_t j = 0; j < g_.cols; ++j)
                if (std::uint32_t k = at(i, j); k != kMissing)
                    out_.normals[k] = NormalizeOrUp({row[3 * j], row[3 * j + 1], row[3 * j + 2]});
        }
    }
    out_.shapes.push_back(std::move(s));
}

void GridBuilder::Lines()
{
    const ModelFormat& f = m_.format();
    SceneShape s;
    s.kind = ShapeKind::Lines;
    s.width = f.lineWidth * style_.lineScale;
    // One polyline per row and per column, broken where a vertex is missing.
    auto line = [&](std::int32_t count, auto index) {
        std::size_t run = 0; // points of the polyline being made
        auto close = [&] {
            if (run >= 2)
                s.indices.push_back(kPolylineEnd);
            else if (run == 1)
                s.indices.pop_back();
            run = 0;
        };
        for (std::int32_t k = 0; k < count; ++k) {
            std::uint32_t p = index(k);
            if (p == kMissing) {
                close();
                continue;
            }
            s.indices.push_back(p);
            ++run;
        }
        close();
    };
    for (std::int32_t i = 0; i < g_.rows; ++i)
        line(g_.cols, [&](std::int32_t j) { return at(i, j); });
    for (std::int32_t j = 0; j < g_.cols; ++j)
        line(g_.rows, [&](std::int32_t i) { return at(i, j); });
    if (s.indices.empty())
        return;
    Colour(s, f.lineColorMap ? f.colormapIndex : -1, f.lineColor);
    out_.shapes.push_back(std::move(s));
}

void GridBuilder::ScatterLines()
{
    const ModelFormat& f = m_.format();
    SceneShape s;
    s.kind = ShapeKind::Lines;
    s.width = f.lineWidth * style_.lineScale;
    // One polyline in the connection order, broken where a point is missing.
    std::size_t run = 0;
    auto close = [&] {
        if (run >= 2)
            s.indices.push_back(kPolylineEnd);
        else if (run == 1)
            s.indices.pop_back();
        run = 0;
    };
    const std::size_t n = map_.size();
    for (std::uint32_t k : m_.ConnectionOrder()) {
        const std::uint32_t p = k < n ? map_[k] : kMissing;
        if (p == kMissing) {
            close();
            continue;
        }
        s.indices.push_back(p);
        ++run;
    }
    close();
    if (s.indices.empty())
        return;
    Colour(s, f.lineColorMap ? f.colormapIndex : -1, f.lineColor);
    out_.shapes.push_back(std::move(s));
}

void GridBuilder::Points()
{
    const ModelFormat& f = m_.format();
    SceneShape s;
    s.kind = ShapeKind::Points;
    // The dot the picture draws: PointSize × 0.25 line-width units, and a pixel.
    s.width = 8.0f * style_.lineScale * f.pointSize * 0.25f + 1.0f;
    s.indices.resize(out_.points.size());
    for (std::uint32_t k = 0; k < s.indices.size(); ++k)
        s.indices[k] = k;
    if (s.indices.empty())
        return;
    Colour(s, f.pointColorMap ? f.colormapIndex : -1, f.pointColor);
    out_.shapes.push_back(std::move(s));
}

} // namespace

SceneModel GridScene(MeshModel& model, const SceneStyle& style)
{
    if (!model.HasData() || model.rows() < 1 || model.cols() < 1)
        return {};
    const GridSource g = model.Grid();
    if (g.rows < 1 || g.cols < 1)
        return {};
    GridBuilder b(model, g, style);
    return b.Build();
}

SceneModel ModelScene(MeshModel& model, const SceneStyle& style)
{
    const std::int32_t kind = model.format().viewAs;
    // Vector data belongs to the vector field plot alone, as in the picture.
    if (kind == kVectorFieldPlot || model.FlatKind())
        return kind == kVectorFieldPlot && model.FlatKind() ? VectorScene(model, style) : SceneModel{};
    switch (kind) {
    case kSurfacePlot:
    case kDataPointsPlot:
        return GridScene(model, style);
    case kBarPlot:
    case kPatchPlot:
        return BoxScene(model, style);
    default:
        return {};
    }
}

} // namespace halvex
