#pragma once
// `PrimitiveModel`: a mesh model made of lists of graphics primitives, as
// the volume builder makes it: k pieces, each a grid of rows × cols
// vertices, held one after another (the whole array reads as rows ×
// k·cols vertices; each piece is drawn as a grid of its own).

#include "plot/model/mesh_model.h"

namespace halvex {

class PrimitiveModel final : public MeshModel {
public:
    explicit PrimitiveModel(platform::Ref<OwnerLink> owner) : MeshModel(std::move(owner)) {}

    PrimitiveModel* AsPrimitiveModel() { return this; }
    PrimitiveModel* AsPrimitiveList() { return this; }

    // Takes over k pieces of rows × cols vertices (3 floats each).
    void SetPieces(std::unique_ptr<float[]> xyz, std::int32_t rows, std::int32_t cols, std::int32_t pieces) noexcept
    {
        SetVertices(std::move(xyz), rows, cols * pieces);
        pieceCols_ = cols;
        pieces_ = pieces;
    }
    std::int32_t PieceCount() const override { return pieces_; }
    GridSource Piece(std::int32_t k) const override
    {
        const std::size_t offset = 3 * std::size_t(rows_) * std::size_t(pieceCols_) * std::size_t(k);
        return {nullptr, vertices_.get() + offset, nullptr, rows_, pieceCols_};
    }

private:
    std::int32_t pieces_ = 1;
    std::int32_t pieceCols_ = 0;
};

} // namespace halvex
