#pragma once
// The geometry of a mesh's drawing: vertices read straight from a model's
// arrays, triangle normals, the two triangles of each grid cell in the
// strip triangulation (split along the diagonal from V(i + 1, j) to
// V(i, j + 1)) and the vertex normals made from them.

#include <array>
#include <cstdint>
#include <vector>

namespace halvex {

using Vertex = std::array<float, 3>;

// A rows × cols vertex grid, element (i, j) at i + j × rows: either a
// height matrix or stored vertices (3 floats each). A matrix surface's
// vertex (i, j) is (j, height, i); an interpolated grid (alongX) puts row i
// at origin[0] + i × spacing[0] along display x and column j at origin[1] +
// j × spacing[1] along display z. A height grid reduced from a finer one
// (see ReducedGrid) says where its lines lie on the full grid: rowAt[i] and
// colAt[j] stand for i and j.
struct GridSource {
    const float* heights = nullptr;
    const float* xyz = nullptr;
    const float* normals = nullptr; // stored normals, or none
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    bool alongX = false;
    float origin[2] = {0.0f, 0.0f};
    float spacing[2] = {1.0f, 1.0f};
    const float* rowAt = nullptr;
    const float* colAt = nullptr;

    std::size_t index(std::int32_t i, std::int32_t j) const noexcept
    {
        return std::size_t(i) + std::size_t(j) * std::size_t(rows);
    }
    // Where row i and column j of a height grid lie (display z and x).
    float rowPosition(std::int32_t i) const noexcept { return rowAt ? rowAt[i] : float(i); }
    float colPosition(std::int32_t j) const noexcept { return colAt ? colAt[j] : float(j); }
    Vertex at(std::int32_t i, std::int32_t j) const noexcept
    {
        if (heights) {
            const float r = rowPosition(i), c = colPosition(j);
            if (alongX)
                return {origin[0] + r * spacing[0], heights[index(i, j)], origin[1] + c * spacing[1]};
            return {c, heights[index(i, j)], r};
        }
        const float* v = xyz + 3 * index(i, j);
        return {v[0], v[1], v[2]};
    }
    Vertex storedNormal(std::int32_t i, std::int32_t j) const noexcept
    {
        const float* n = normals + 3 * index(i, j);
        return {n[0], n[1], n[2]};
    }
};

// (b − a) × (c − a), normalised; (0, 0, 0) when negligible against the
// triangle's size.
Vertex TriangleNormal(const Vertex& a, const Vertex& b, const Vertex& c) noexcept;

// n / |n|, or (0, 0, 1) for a zero vector.
Vertex NormalizeOrUp(const Vertex& n) noexcept;

// The unit normals of the two triangles of cell (i, j): first
// (V(i, j), V(i + 1, j), V(i, j + 1)), second (V(i + 1, j), V(i, j + 1),
// V(i + 1, j + 1)), both oriented so that a flat grid faces up (0, 1, 0).
void CellNormals(const GridSource& g, std::int32_t i, std::int32_t j, Vertex& first, Vertex& second) noexcept;

// One quad's normal for flat shading: the normalised sum of its cell's two
// triangle normals, or of its four stored corner normals.
Vertex QuadNormal(const GridSource& g, std::int32_t i, std::int32_t j) noexcept;

// Vertex normals row by row: the normalised sum of the triangle normals
// around each vertex (six inside, those that exist on a border), with the
// ends of a closed direction (first and last row or column coinciding)
// sharing their sums. Stored normals are returned as they are.
class VertexNormals {
public:
    explicit VertexNormals(const GridSource& g);
    // Normals of row i, cols × 3 floats, valid until the next call.
    const float* Row(std::int32_t i);

private:
    void rawRow(std::int32_t i, float* out);

    const GridSource& g_;
    bool closedRows_ = false;
    bool closedCols_ = false;
    std::vector<float> row_, end0_, end1_, cellA_, cellB_;
};

} // namespace halvex
