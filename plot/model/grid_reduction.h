#pragma once
// Grids finer than the picture, drawn with fewer lines without losing what
// is in them. Each line kept stands for a block of the full grid's lines
// around it; a vertex of the reduced grid normally takes the full grid's
// vertex at its place, but when its block holds a value beyond everything
// its eight neighbours show (a spike, a dip, a ridge one cell wide, the top
// of a hill between two kept lines), it takes that extreme instead (of a
// block's highest and lowest value, the one that sticks out further). So
// every local extreme appears with its true height, however many cells
// share a pixel; smooth data come out as plain samples.
//
// The value compared is the vertex's height (display y). A height grid
// keeps its vertices on the full grid's lines; a grid of stored vertices
// takes the chosen vertex whole (position, height and stored normal).

#include "plot/model/mesh_normals.h"

#include <cstdint>
#include <vector>

namespace halvex {

// The full grid's lines that a reduction to at most limit lines keeps out
// of n: every k-th, and always the last. All n when n ≤ limit or limit < 2.
std::vector<std::int32_t> KeptLines(std::int32_t n, std::int32_t limit);

// The reduction of one grid, kept until the grid or the limit changes.
class ReducedGrid {
public:
    // g with at most limit lines in each direction; g itself when it is
    // within the limit (or the limit is 0). The result points into this
    // object (or into g's arrays) and is valid until the next call.
    GridSource Reduce(const GridSource& g, std::int32_t limit);
    // Forgets the reduction (the grid's data changed).
    void Clear() noexcept;

private:
    GridSource Build(const GridSource& g, std::int32_t limit);

    // What the kept reduction was made from.
    const float* heights_ = nullptr;
    const float* xyz_ = nullptr;
    const float* sourceNormals_ = nullptr;
    std::int32_t rows_ = 0, cols_ = 0, limit_ = -1;
    GridSource result_;

    std::vector<float> values_; // heights, or 3 floats a vertex
    std::vector<float> normals_;
    std::vector<float> rowAt_, colAt_;
};

} // namespace halvex
