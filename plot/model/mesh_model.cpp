#include "plot/model/mesh_model.h"

#include <algorithm>

namespace halvex {

bool MeshModel::CanInterpolate() const
{
    return cols_ == 1;
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
    const float* v = vertices_.get() + 3 * index(i, j);
    return {v[0], v[1], v[2]};
}

void MeshModel::SetVertices(std::unique_ptr<float[]> xyz, std::int32_t rows, std::int32_t cols) noexcept
{
    vertices_ = std::move(xyz);
    normals_.reset();
    ForgetReductions();
    rows_ = rows;
    cols_ = cols;
    flatKind_ = format_.viewAs == kVectorFieldPlot;
}

namespace {

// Spacing of grid lines along one display axis over n lines; a single line
// gets 1, or a tenth of its position away from 0.
float gridSpacing(float lo, float hi, std::int32_t n)
{
    if (n > 1)
        return (hi - lo) / float(n - 1);
    return hi == 0.0f ? 1.0f : 0.1f * hi;
}

} // namespace

void MeshModel::ComputeBarBox()
{
    ModelFormat& f = format_;
    if (!f.isBarOrPatch() || !HasData()) {
        CglModel::ComputeBarBox();
        return;
    }
    const BoundingRecord& r = f.rect;
    BoundingRecord& box = f.barBox;
    box = r;
    float sx = gridSpacing(r.min[0], r.max[0], cols_);
    float sz = gridSpacing(r.min[2], r.max[2], rows_);

    if (f.viewAs == kBarPlot && f.barPlotLayout == 1) {
        // One stack per column: positive values stacked upwards, negative
        // ones downwards.
        float lowest = 0.0f, highest = 0.0f;
        for (std::int32_t j = 0; j < cols_; ++j) {
            float up = 0.0f, down = 0.0f;
            for (std::int32_t i = 0; i < rows_; ++i) {
                float h = GetVertex(i, j)[1];
                (h > 0.0f ? up : down) += h;
            }
            lowest = std::min(lowest, down);
            highest = std::max(highest, up);
        }
        box.min = {-sx / 2, lowest, -sz / 2};
        box.max = {sx / 2, highest, float(cols_ - 1) * sz + 0.5f};
    } else {
        // Patches, matrix bars and side-by-side bars fill whole cells.
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

} // namespace halvex
