#pragma once
// `MeshModel`: a rows × cols grid of vertices in display coordinates
// (vertex (i, j) at index i + j × rows), with optional per-vertex normals.
// Base of the matrix surfaces and the primitive lists.

#include "plot/model/plot_model.h"

#include <array>
#include <cstdint>
#include <memory>

namespace halvex {

using Vertex = std::array<float, 3>;

class MeshModel : public CglModel {
public:
    explicit MeshModel(platform::Ref<OwnerLink> owner) : CglModel(std::move(owner)) {}

    MeshModel* AsMesh() override { return this; }
    bool NeedsDirectDraw() const override { return directDraw_; }
    // A point list (one column) can be gridded; a matrix surface cannot.
    bool CanInterpolate() const override;
    void ComputeBarBox() override;

    virtual bool HasExplicitVertices() const { return true; }
    // The stored normal of vertex (i, j); false when the model keeps none
    // (normals are then computed while drawing).
    virtual bool GetNormal(std::int32_t i, std::int32_t j, Vertex& normal) const;
    virtual Vertex GetVertex(std::int32_t i, std::int32_t j) const;
    virtual bool HasData() const { return vertices_ != nullptr; }

    std::int32_t rows() const noexcept { return rows_; }
    std::int32_t cols() const noexcept { return cols_; }
    // Built while the plot kind was a vector field.
    bool FlatKind() const noexcept { return flatKind_; }

    // Takes over a vertex grid (3 floats per vertex), dropping the normals.
    void SetVertices(std::unique_ptr<float[]> xyz, std::int32_t rows, std::int32_t cols) noexcept;

protected:
    std::size_t index(std::int32_t i, std::int32_t j) const noexcept
    {
        return std::size_t(i) + std::size_t(j) * std::size_t(rows_);
    }

    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
    std::unique_ptr<float[]> vertices_;
    std::unique_ptr<float[]> normals_;
    bool directDraw_ = false;
    bool flatKind_ = false;
};

} // namespace halvex
