#pragma once
// `MeshModel`: a rows × cols grid of vertices in display coordinates
// (vertex (i, j) at index i + j × rows), with optional per-vertex normals.
// Base of the matrix surfaces and the primitive lists.

#include "plot/model/grid_reduction.h"
#include "plot/model/mesh_normals.h"
#include "plot/model/plot_model.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

namespace halvex {

struct FillTexture;
struct ContourFlattening;
class ContourTracer;

class MeshModel : public CglModel {
public:
    explicit MeshModel(platform::Ref<OwnerLink> owner) : CglModel(std::move(owner)) {}

    MeshModel* AsMesh() override { return this; }
    bool NeedsDirectDraw() const override { return directDraw_; }
    bool Draw(const DrawContext& dc) override;
    bool DrawForPicking() override;
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
    // Takes over one normal (3 floats) per vertex.
    void SetNormals(std::unique_ptr<float[]> normals) noexcept
    {
        normals_ = std::move(normals);
        ForgetReductions();
    }

    // The vertex grid as the drawing reads it.
    virtual GridSource Grid() const { return {nullptr, vertices_.get(), normals_.get(), rows_, cols_}; }

    // The drawing routines that contours, bars and patches reuse. Each is
    // false when the user interrupted it. colormap: the colour-map index
    // for per-vertex (or per-quad) colours, or −1 for the solid colour.
    // outlines: the polygon mode draws lines (the strips then go as single
    // triangles, in the same order).
    // texture: a contour fill's texture coordinates; the colour is then
    // white, which the bound texture modulates.
    bool DrawFilledSurface(const DrawContext& dc, std::int32_t colormap, std::uint32_t solidColor,
                           bool outlines = false, const FillTexture* texture = nullptr);
    bool DrawHalfFilledSurface(const DrawContext& dc, std::int32_t colormap, const FillTexture* texture = nullptr);
    bool DrawMeshWireframe(const DrawContext& dc);
    // Dots at every vertex.
    bool DrawPoints(const DrawContext& dc);

    // The grid as the picture's detail limit draws it: reduced, every local
    // extreme kept, when it is finer than the picture (lines: the limit of
    // the wireframe).
    GridSource VisibleGrid(const DrawContext& dc, bool lines);

    // Contours (directions: bits 1 X, 2 Y, 4 Z; plot3D: the surface's
    // switches and counts, else the contour plot's).
    // The tracer of one direction (data axis) with its levels over the
    // model's data record (the bar box for bars and patches).
    ContourTracer MakeContourTracer(int direction, bool plot3D);
    // The contour lines of the directions; with a flattening, the Z lines
    // also get their numbers.
    bool DrawContourLines(const DrawContext& dc, int directions, bool plot3D,
                          const ContourFlattening* numbered = nullptr);
    // The fill in bands of the directions, whose ranges are taken from
    // `range` (display coordinates).
    bool DrawContourFill(const DrawContext& dc, int directions, bool half, const BoundingRecord& range, bool plot3D);
    // The contour plot's pass: each direction with a switch on, squashed
    // flat onto its back plane.
    bool DrawContourPlot(const DrawContext& dc);

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

    // The data changed: reduced grids made from it are stale.
    void ForgetReductions() noexcept
    {
        reducedFill_.Clear();
        reducedLines_.Clear();
    }

private:
    // Tells the owner, once per message, that this model cannot draw;
    // returns false as Draw does.
    bool Problem(std::string_view message);

    std::string reportedProblem_;
    ReducedGrid reducedFill_;
    ReducedGrid reducedLines_;
};

} // namespace halvex
