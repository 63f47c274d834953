#pragma once
// Natural-neighbour gridding of scattered points (x, y, value) onto a
// regular grid: the points are triangulated (Delaunay), each node takes
// the Sibson coordinates of its natural neighbours, and the neighbours'
// values, extended along slopes estimated at each point, are blended so
// that the surface passes through every point with the estimated slope
// there (Sibson's C1 interpolant). A plane is reproduced exactly.
//
// Tautness. The first parameter weighs the plain natural-neighbour value
// against the slope-extended one (1: Sibson's blend; larger: tauter, closer
// to the plain value between the points). The second bounds each estimated
// slope to that many times the steepest rise to a neighbouring point, which
// keeps ill-conditioned slopes at the hull from throwing the surface.
//
// Outside the points' convex hull a node takes the value at the nearest
// point of the nearest hull edge (linear along the edge, as the
// interpolant is there) extended by the slopes of the edge's two ends
// interpolated the same way; a plane stays a plane, and nothing is NaN.

#include "plot/model/robust_predicates.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace halvex {

class InterruptCheck;

struct NaturalNeighbourSettings {
    double tautness1 = 1.5;
    double tautness2 = 7.0;
    std::int32_t rows = 21; // nodes along x
    std::int32_t cols = 21; // nodes along y
};

enum class GridStatus {
    Ok,
    BadSize,      // rows or cols outside 2 … 4096, or more than 4 M nodes
    TooFewPoints, // fewer than three distinct points
    Collinear,    // every point on one line
    TooLarge,     // more points than the triangulation can index
    Interrupted,
};

// A short English reason for a status that is not Ok.
const char* GridStatusText(GridStatus s) noexcept;

// The grid's span: node (i, j) lies at (x0 + i (x1 − x0) / (rows − 1),
// y0 + j (y1 − y0) / (cols − 1)); the points' smallest and largest x and y.
struct GridSpan {
    double x0 = 0.0, x1 = 0.0, y0 = 0.0, y1 = 0.0;
};

struct GridLimits {
    static constexpr std::int32_t kMinSide = 2;
    static constexpr std::int32_t kMaxSide = 4096;
    static constexpr std::int64_t kMaxNodes = 4 * 1024 * 1024;
    static bool Fits(std::int32_t rows, std::int32_t cols) noexcept
    {
        return rows >= kMinSide && rows <= kMaxSide && cols >= kMinSide && cols <= kMaxSide &&
               std::int64_t(rows) * cols <= kMaxNodes;
    }
};

// Grids the points (finite coordinates and values; the vectors are used up
// as work space). out: rows × cols values, node (i, j) at i + j × rows.
// interrupt, when given, is asked between rows of nodes. Throws
// std::bad_alloc when memory runs out.
GridStatus GridNaturalNeighbour(std::vector<geom::Point2>&& points, std::vector<double>&& values,
                                const NaturalNeighbourSettings& settings, std::vector<double>& out, GridSpan& span,
                                InterruptCheck* interrupt = nullptr);

} // namespace halvex
