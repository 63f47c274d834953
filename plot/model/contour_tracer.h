#pragma once
// `ContourTracer`: the contour curves of one direction (X, Y or Z data
// coordinate) of one mesh, level by level.
//
// A grid cell is read as four triangles around its centre, whose value is
// the mean of the two corners on the diagonal from V(i, j − 1) to
// V(i − 1, j); a curve enters and leaves a cell through its sides, turning
// at the half-diagonals. Curves that reach the grid border are traced from
// the border first, so each is found whole from one end; what is left are
// closed curves, traced from any cell not yet passed until they return to
// where they began. A saddle cell carries two segments and may be passed
// twice, so visited marks are kept per segment: no curve is lost and none
// is traced twice. One pass over the grid lists the cells each level
// crosses; a level's work and the marks are for those cells alone, so
// memory grows with the points traced, not with the grid.
//
// Tracing compares and interpolates in the mesh's own display
// coordinates: a point is the same as in a normalised box (the mapping is
// affine), its contoured coordinate is the level exactly, and a coordinate
// of no extent needs no division.

#include "plot/model/bounding_record.h"
#include "plot/model/mesh_normals.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace halvex {

using ContourPoint = std::array<double, 3>; // display coordinates

// Where finished curves go, one at a time, while they are traced.
class ContourSink {
public:
    // level: the index into the tracer's levels. closed: the last point
    // repeats the first. False stops the tracing (the drawing was
    // interrupted).
    virtual bool Curve(std::int32_t level, std::span<const ContourPoint> points, bool closed) = 0;

protected:
    ~ContourSink() = default;
};

// A rows × cols grid of heights in doubles, element (i, j) at i + j × rows,
// vertex (i, j) at (j, height, i): the viewer's matrices.
struct HeightGrid {
    const double* heights = nullptr;
    std::int32_t rows = 0;
    std::int32_t cols = 0;
};

// The case index of a cell at a level from its corner values h0 … h3: bit
// 1 for c1, 2 for c0, 4 for c2, 8 for c3, each set when the corner lies on
// the same side of the level as the cell's centre (a value equal to the
// level lies above it). 15 and 0: the level does not cross the cell; 5 and
// 10: saddles.
int ContourCase(double h0, double h1, double h2, double h3, double level) noexcept;

class ContourTracer {
public:
    enum class Error { None, OutOfMemory, Interrupted };

    // direction: the data axis (0 X, 1 Y, 2 Z); automatic levels or count
    // interior ones.
    ContourTracer(int direction, bool automatic, std::int32_t count) noexcept
        : direction_(direction), automatic_(automatic), count_(count)
    {
    }

    // The level range of the direction from a bounding record (the model's
    // `Rect`, or its bar box for bars and patches), and the levels in it.
    // False when the range is empty: nothing is drawn for the direction.
    bool SetRange(const BoundingRecord& record);
    bool SetRange(double minimum, double maximum);

    // Traces every level in turn. False when the sink stopped it or memory
    // ran out (see error()).
    bool Trace(const GridSource& grid, ContourSink& sink);
    bool Trace(const HeightGrid& grid, ContourSink& sink);

    int direction() const noexcept { return direction_; }
    // The display coordinate that the direction contours (X mz, Y mx, Z my).
    int displayAxis() const noexcept;
    double minimum() const noexcept { return min_; }
    double maximum() const noexcept { return max_; }
    const std::vector<double>& levels() const noexcept { return levels_; }
    Error error() const noexcept { return error_; }

    // Work done by the last Trace: points handed to the sink, cells passed.
    std::size_t pointsTraced() const noexcept { return points_; }
    std::size_t cellsPassed() const noexcept { return steps_; }

private:
    template <class Source>
    bool TraceAll(const Source& source, ContourSink& sink);

    int direction_;
    bool automatic_;
    std::int32_t count_;
    double min_ = 0.0;
    double max_ = 0.0;
    std::vector<double> levels_;
    Error error_ = Error::None;
    std::size_t points_ = 0;
    std::size_t steps_ = 0;
};

} // namespace halvex
