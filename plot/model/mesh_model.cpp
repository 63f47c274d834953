#include "plot/model/mesh_model.h"

#include "plot/base/plot_errors.h"
#include "plot/model/natural_neighbour.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace halvex {

bool MeshModel::CanInterpolate() const
{
    return !flatKind_ && (grid_ ? heldCols_ == 1 : cols_ == 1);
}

bool MeshModel::GetNormal(std::int32_t i, std::int32_t j, Vertex& normal) const
{
    if (!normals_)
        return false;
    const float* n = normals_.get() + 3 * index(i, j);
    normal = {n[0], n[1], n[2]};
    return true;
}

Vertex MeshModel::GetVertex(std::int32_t i, std::int32_t j) const
{
    if (grid_)
        return {gridOrigin_[0] + float(i) * gridSpacing_[0], grid_[index(i, j)],
                gridOrigin_[1] + float(j) * gridSpacing_[1]};
    const float* v = vertices_.get() + 3 * index(i, j);
    return {v[0], v[1], v[2]};
}

GridSource MeshModel::Grid() const
{
    if (grid_) {
        GridSource g{grid_.get(), nullptr, normals_.get(), rows_, cols_};
        g.alongX = true;
        g.origin[0] = gridOrigin_[0];
        g.origin[1] = gridOrigin_[1];
        g.spacing[0] = gridSpacing_[0];
        g.spacing[1] = gridSpacing_[1];
        return g;
    }
    return {nullptr, vertices_.get(), normals_.get(), rows_, cols_};
}

void MeshModel::SetVertices(std::unique_ptr<float[]> xyz, std::int32_t rows, std::int32_t cols) noexcept
{
    ReleaseGrid();
    vertices_ = std::move(xyz);
    normals_.reset();
    ForgetReductions();
    rows_ = rows;
    cols_ = cols;
    flatKind_ = format_.viewAs == kVectorFieldPlot;
    largestMagnitude_ = 0.0;
    failedRows_ = failedCols_ = 0;
}

void MeshModel::SetVectors(std::unique_ptr<float[]> vectors, std::int32_t rows, std::int32_t cols,
                           double largest) noexcept
{
    SetVertices(std::move(vectors), rows, cols);
    largestMagnitude_ = largest;
}

std::int32_t MeshModel::linesAlongX() const noexcept
{
    return grid_ ? rows_ : cols_;
}

std::int32_t MeshModel::linesAlongZ() const noexcept
{
    return grid_ ? cols_ : rows_;
}

namespace {

// Spacing of grid lines along one display axis over n lines; a single line
// gets 1 at 0, else a tenth of its distance from 0.
float gridSpacing(float lo, float hi, std::int32_t n)
{
    if (n > 1)
        return (hi - lo) / float(n - 1);
    return hi == 0.0f ? 1.0f : 0.1f * std::fabs(hi);
}

} // namespace

const BoundingRecord& MeshModel::DataRecord()
{
    if (grid_ && !format_.isBarOrPatch())
        return gridRect_;
    return CglModel::DataRecord();
}

void MeshModel::ComputeBarBox()
{
    ModelFormat& f = format_;
    if (!f.isBarOrPatch() || !HasData() || flatKind_) {
        CglModel::ComputeBarBox();
        return;
    }
    const BoundingRecord& r = grid_ ? gridRect_ : f.rect;
    BoundingRecord& box = f.barBox;
    box = r;
    const std::int32_t nx = linesAlongX(), nz = linesAlongZ();
    float sx = gridSpacing(r.min[0], r.max[0], nx);
    float sz = gridSpacing(r.min[2], r.max[2], nz);

    const std::int32_t layout = f.barPlotLayout;
    if (f.viewAs == kBarPlot && (layout == 1 || layout == 2)) {
        // One stack (or group of bars side by side) per column, the columns
        // along display z.
        float lowest = 0.0f, highest = 0.0f;
        for (std::int32_t j = 0; j < cols_; ++j) {
            float up = 0.0f, down = 0.0f;
            for (std::int32_t i = 0; i < rows_; ++i) {
                float h = GetVertex(i, j)[1];
                if (layout == 1)
                    (h > 0.0f ? up : down) += h;
                else
                    up = std::max(up, h), down = std::min(down, h);
            }
            lowest = std::min(lowest, down);
            highest = std::max(highest, up);
        }
        box.min = {-sx / 2, lowest, -sz / 2};
        box.max = {sx / 2, highest, float(cols_ - 1) * sz + sz / 2};
    } else {
        // Patches and matrix bars fill whole cells.
        box.min[0] -= sx / 2;
        box.max[0] += sx / 2;
        box.min[2] -= sz / 2;
        box.max[2] += sz / 2;
        if (f.viewAs == kBarPlot) {
            box.min[1] = std::min(box.min[1], 0.0f);
            box.max[1] = std::max(box.max[1], 0.0f);
        }
    }
    f.barBoxValid = true;
}

void MeshModel::ReleaseGrid() noexcept
{
    if (!grid_)
        return;
    grid_.reset();
    ForgetReductions();
    rows_ = heldRows_;
    cols_ = heldCols_;
    normals_ = std::move(heldNormals_);
    format_.barBoxValid = false;
}

bool MeshModel::EnsureGrid(InterruptCheck* interrupt)
{
    const ModelFormat& f = format_;
    const std::int32_t kind = f.viewAs;
    const bool gridKind = kind == kSurfacePlot || kind == kContourPlot || kind == kBarPlot || kind == kPatchPlot;
    if (!gridKind || !CanInterpolate() || !vertices_) {
        ReleaseGrid();
        return true;
    }
    const std::int32_t rows = f.interpolatedRows, cols = f.interpolatedColumns;
    if (grid_ && rows_ == rows && cols_ == cols)
        return true;
    ReleaseGrid();
    if (failedRows_ == rows && failedCols_ == cols)
        return false; // told already; tried again when the size changes

    // The point list: (mx, mz) and the height my of each V(i, 0).
    std::vector<geom::Point2> points;
    std::vector<double> values;
    GridStatus status = GridStatus::BadSize;
    std::vector<double> out;
    GridSpan span;
    if (GridLimits::Fits(rows, cols)) {
        points.resize(std::size_t(rows_));
        values.resize(std::size_t(rows_));
        for (std::int32_t i = 0; i < rows_; ++i) {
            const float* v = vertices_.get() + 3 * std::size_t(i);
            points[std::size_t(i)] = {v[0], v[2]};
            values[std::size_t(i)] = v[1];
        }
        NaturalNeighbourSettings settings;
        settings.rows = rows;
        settings.cols = cols;
        status = GridNaturalNeighbour(std::move(points), std::move(values), settings, out, span, interrupt);
    }
    if (status == GridStatus::Interrupted)
        return false;
    std::unique_ptr<float[]> grid;
    if (status == GridStatus::Ok)
        grid.reset(new (std::nothrow) float[out.size()]);
    if (!grid) {
        failedRows_ = rows;
        failedCols_ = cols;
        return Problem(errorText(err::CantInterpolate));
    }
    constexpr double limit = std::numeric_limits<float>::max();
    gridRect_ = format_.rect;
    for (std::size_t k = 0; k < out.size(); ++k) {
        grid[k] = float(std::clamp(out[k], -limit, limit));
        gridRect_.min[1] = std::min(gridRect_.min[1], grid[k]);
        gridRect_.max[1] = std::max(gridRect_.max[1], grid[k]);
    }

    heldRows_ = rows_;
    heldCols_ = cols_;
    heldNormals_ = std::move(normals_);
    grid_ = std::move(grid);
    ForgetReductions();
    rows_ = rows;
    cols_ = cols;
    gridOrigin_[0] = float(span.x0);
    gridOrigin_[1] = float(span.y0);
    gridSpacing_[0] = float((span.x1 - span.x0) / double(rows - 1));
    gridSpacing_[1] = float((span.y1 - span.y0) / double(cols - 1));
    format_.barBoxValid = false;
    return true;
}

std::vector<std::uint32_t> MeshModel::ConnectionOrder() const
{
    const std::size_t n = std::size_t(rows_) * std::size_t(cols_);
    std::vector<std::uint32_t> order(n);
    const std::int32_t by = format_.dataPointsConnectivity;
    const bool surface = !HasExplicitVertices();
    auto outerInner = [&](bool rowsOuter) {
        std::size_t k = 0;
        if (rowsOuter) {
            for (std::int32_t i = 0; i < rows_; ++i)
                for (std::int32_t j = 0; j < cols_; ++j)
                    order[k++] = std::uint32_t(index(i, j));
        } else {
            for (std::size_t m = 0; m < n; ++m)
                order[m] = std::uint32_t(m);
        }
    };
    // A matrix surface's rows run along data X (display z), its columns
    // along data Y (display x): those orders need no sorting.
    if (by == 1 && surface) {
        outerInner(true);
        return order;
    }
    if (by == 2 && surface) {
        outerInner(false);
        return order;
    }
    outerInner(false);
    if (by < 1 || by > 3)
        return order; // by row, also for values outside the table
    const int axis = by == 1 ? 2 : by == 2 ? 0 : 1;
    std::vector<float> key(n);
    for (std::int32_t j = 0; j < cols_; ++j)
        for (std::int32_t i = 0; i < rows_; ++i)
            key[index(i, j)] = GetVertex(i, j)[std::size_t(axis)];
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return key[a] < key[b]; });
    return order;
}

} // namespace halvex
