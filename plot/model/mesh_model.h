#pragma once
// `MeshModel`: a rows × cols grid of vertices in display coordinates
// (vertex (i, j) at index i + j × rows), with optional per-vertex normals.
// Base of the matrix surfaces and the primitive lists.
//
// A vector field keeps its vectors (imaginary part, 0, real part) in the
// vertex array instead, with the largest magnitude; that data belongs to
// the vector field plot alone.
//
// A point list (one column) shown as a surface, contour, bar or patch plot
// is drawn through an interpolated grid of InterpolatedRows ×
// InterpolatedColumns heights over the points' span: while the grid is
// there, its counts stand in for rows and cols and the list's own are held
// aside.

#include "plot/model/grid_reduction.h"
#include "plot/model/mesh_normals.h"
#include "plot/model/plot_model.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace halvex {

struct FillTexture;
struct ContourFlattening;
class ContourTracer;

class MeshModel : public CglModel {
public:
    explicit MeshModel(platform::Ref<OwnerLink> owner) : CglModel(std::move(owner)) {}

    MeshModel* AsMesh() override { return this; }
    // With an interpolated grid, `Rect` widened by the heights it reaches.
    const BoundingRecord& DataRecord() override;
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
    // Built while the plot kind was a vector field: the vertices are vectors.
    bool FlatKind() const noexcept { return flatKind_; }
    double LargestMagnitude() const noexcept { return largestMagnitude_; }

    // Takes over a vertex grid (3 floats per vertex), dropping the normals
    // and any interpolated grid.
    void SetVertices(std::unique_ptr<float[]> xyz, std::int32_t rows, std::int32_t cols) noexcept;
    // Takes over the vectors of a vector field and their largest magnitude.
    void SetVectors(std::unique_ptr<float[]> vectors, std::int32_t rows, std::int32_t cols,
                    double largest) noexcept;
    // Takes over one normal (3 floats) per vertex.
    void SetNormals(std::unique_ptr<float[]> normals) noexcept
    {
        normals_ = std::move(normals);
        ForgetReductions();
    }

    // The interpolated grid. EnsureGrid builds it when the plot kind and
    // data call for one and none of the asked size is there, and releases
    // it when they do not; false (reported once as "can't interpolate")
    // when the points cannot be gridded. The renderer asks before it
    // measures the scene and Draw asks again; builders never do, so adding
    // a point list grids nothing until it is drawn.
    bool HasGrid() const noexcept { return grid_ != nullptr; }
    bool EnsureGrid(InterruptCheck* interrupt = nullptr);
    void ReleaseGrid() noexcept;

    // The vertex grid as the drawing reads it.
    virtual GridSource Grid() const;
    // Volumes are drawn as several grids of one size side by side in the
    // vertex array; other meshes are one piece.
    virtual std::int32_t PieceCount() const { return 1; }
    virtual GridSource Piece(std::int32_t k) const
    {
        (void)k;
        return Grid();
    }

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
    // The point symbol at every vertex.
    bool DrawPoints(const DrawContext& dc);

    // Bars and patches: one box or tile per vertex (bar_drawing.cpp).
    enum class BoxPart { Fill, HalfFill, Lines, Points };
    bool DrawBars(const DrawContext& dc, BoxPart part);
    bool DrawPatches(const DrawContext& dc, BoxPart part);
    // One line strip through every vertex in the connection order
    // (scatter_drawing.cpp).
    bool DrawScatterLines(const DrawContext& dc);
    // The arrows of a vector field (vector_drawing.cpp).
    bool DrawVectors(const DrawContext& dc, DrawPass pass);

    // The order in which scatter lines visit the vertices, as indices
    // i + j × rows.
    std::vector<std::uint32_t> ConnectionOrder() const;

    // The grid as the picture's detail limit draws it: reduced, every local
    // extreme kept, when it is finer than the picture (lines: the limit of
    // the wireframe; piece: one piece, or −1 for the whole grid).
    GridSource VisibleGrid(const DrawContext& dc, bool lines, std::int32_t piece = -1);

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
    // Cells along display x and z: a matrix surface's columns run along x,
    // an interpolated grid's rows do.
    std::int32_t linesAlongX() const noexcept;
    std::int32_t linesAlongZ() const noexcept;

    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
    std::unique_ptr<float[]> vertices_;
    std::unique_ptr<float[]> normals_;
    bool directDraw_ = false;
    bool flatKind_ = false;
    double largestMagnitude_ = 0.0;

    // The data changed: reduced grids made from it are stale.
    void ForgetReductions() noexcept
    {
        for (ReducedGrid& r : reduced_)
            r.Clear();
    }

private:
    // Tells the owner, once per message, that this model cannot draw;
    // returns false as Draw does.
    bool Problem(std::string_view message);
    bool FilledGrid(const DrawContext& dc, std::int32_t piece, std::int32_t colormap, std::uint32_t solid,
                    bool outlines, const FillTexture* texture);
    bool HalfFilledGrid(const DrawContext& dc, std::int32_t piece, std::int32_t colormap, const FillTexture* texture);
    std::string reportedProblem_;
    // Reductions for fill and lines: of the whole grid, then of each piece.
    std::vector<ReducedGrid> reduced_;

    // The interpolated grid and what it holds aside.
    std::unique_ptr<float[]> grid_;
    float gridOrigin_[2] = {0.0f, 0.0f};
    // `Rect` with the heights the grid reaches (a smooth surface may rise
    // above its highest point and beyond its hull).
    BoundingRecord gridRect_;
    float gridSpacing_[2] = {1.0f, 1.0f};
    std::int32_t heldRows_ = 0;
    std::int32_t heldCols_ = 0;
    std::unique_ptr<float[]> heldNormals_;
    // The size whose gridding failed, so it is not tried on every pass.
    std::int32_t failedRows_ = 0;
    std::int32_t failedCols_ = 0;
};

} // namespace halvex
