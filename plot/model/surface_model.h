#pragma once
// `SurfaceModel`: a matrix surface, rows × cols heights as floats (element
// (i, j) at i + j × rows). Its vertices are never stored: vertex (i, j) is
// (column j, height, row i) in display coordinates.

#include "plot/model/mesh_model.h"

namespace halvex {

class SurfaceModel final : public MeshModel {
public:
    explicit SurfaceModel(platform::Ref<OwnerLink> owner) : MeshModel(std::move(owner)) {}

    SurfaceModel* AsSurface() override { return this; }
    bool HasExplicitVertices() const override { return false; }
    bool CanInterpolate() const override { return false; }
    Vertex GetVertex(std::int32_t i, std::int32_t j) const override
    {
        return {float(j), heights_[index(i, j)], float(i)};
    }
    bool HasData() const override { return heights_ != nullptr; }
    GridSource Grid() const override { return {heights_.get(), nullptr, normals_.get(), rows_, cols_}; }

    const float* heights() const noexcept { return heights_.get(); }
    // Takes over the height matrix, releasing any earlier one and its normals.
    void SetHeights(std::unique_ptr<float[]> heights, std::int32_t rows, std::int32_t cols) noexcept
    {
        heights_ = std::move(heights);
        normals_.reset();
        ForgetReductions();
        rows_ = rows;
        cols_ = cols;
        flatKind_ = format_.viewAs == kVectorFieldPlot;
    }

private:
    std::unique_ptr<float[]> heights_;
};

} // namespace halvex
