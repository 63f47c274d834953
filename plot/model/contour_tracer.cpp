#include "plot/model/contour_tracer.h"

#include "plot/model/box_frame.h"
#include "plot/model/contour_levels.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace halvex {

namespace {

// The path through a cell for each case index: nodes 1 … 4 are the
// crossings on sides 1 … 4, nodes 5 … 8 those on the half-diagonals from
// c0, c2, c3 and c1 towards the centre. The saddles (5 and 10) have two
// segments; a segment is walked from the end that is the side of entry.
struct Segment {
    std::int8_t nodes[5];
    std::int8_t length; // 0: no segment
    std::int8_t front() const noexcept { return nodes[0]; }
    std::int8_t back() const noexcept { return nodes[length - 1]; }
};
struct CellPath {
    Segment segment[2];
};
constexpr CellPath kPaths[16] = {
    {},
    {{{{1, 5, 6, 7, 4}, 5}, {}}},
    {{{{2, 6, 7, 8, 1}, 5}, {}}},
    {{{{2, 6, 7, 4}, 4}, {}}},
    {{{{2, 5, 8, 7, 3}, 5}, {}}},
    {{{{2, 5, 1}, 3}, {{3, 7, 4}, 3}}},
    {{{{3, 7, 8, 1}, 4}, {}}},
    {{{{3, 7, 4}, 3}, {}}},
    {{{{3, 6, 5, 8, 4}, 5}, {}}},
    {{{{3, 6, 5, 1}, 4}, {}}},
    {{{{1, 8, 4}, 3}, {{2, 6, 3}, 3}}},
    {{{{2, 6, 3}, 3}, {}}},
    {{{{2, 5, 8, 4}, 4}, {}}},
    {{{{2, 5, 1}, 3}, {}}},
    {{{{1, 8, 4}, 3}, {}}},
    {},
};
static_assert(sizeof(kPaths) / sizeof(kPaths[0]) == 16, "one path per case index");

// Leaving a cell by side s continues in the neighbour (i + di, j + dj),
// entering it by the opposite side.
struct Step {
    std::int8_t di, dj, entry;
};
constexpr Step kNext[5] = {{0, 0, 0}, {0, -1, 3}, {-1, 0, 4}, {0, 1, 1}, {1, 0, 2}};

double CentreValue(double h1, double h2) noexcept
{
    return (h1 + h2) / 2;
}

int CaseIndex(const double* h, double m, double level) noexcept
{
    const bool b = m >= level;
    auto bit = [&](double v) { return int((v >= level) == b); };
    return 8 * bit(h[3]) + 4 * bit(h[2]) + 2 * bit(h[0]) + bit(h[1]);
}

// A fraction along a side or half-diagonal; only NaN data can put it
// outside 0 … 1.
double fraction(double num, double den) noexcept
{
    double t = num / den;
    return t >= 0.0 ? (t <= 1.0 ? t : 1.0) : (t < 0.0 ? 0.0 : 0.5);
}

// The vertices as the tracer reads them: the contoured value and the
// display position of vertex (i, j).
struct MeshSource {
    const GridSource& g;
    int axis;

    std::int32_t rows() const noexcept { return g.rows; }
    std::int32_t cols() const noexcept { return g.cols; }
    // (A reduced grid says where its lines lie on the full one.)
    double value(std::int32_t i, std::int32_t j) const noexcept
    {
        if (g.heights)
            return axis == 1 ? double(g.heights[g.index(i, j)]) : double(g.at(i, j)[std::size_t(axis)]);
        return double(g.xyz[3 * g.index(i, j) + std::size_t(axis)]);
    }
    ContourPoint position(std::int32_t i, std::int32_t j) const noexcept
    {
        Vertex v = g.at(i, j);
        return {double(v[0]), double(v[1]), double(v[2])};
    }
};

struct MatrixSource {
    const HeightGrid& g;
    int axis;

    std::int32_t rows() const noexcept { return g.rows; }
    std::int32_t cols() const noexcept { return g.cols; }
    double value(std::int32_t i, std::int32_t j) const noexcept
    {
        if (axis == 1)
            return g.heights[std::size_t(i) + std::size_t(j) * std::size_t(g.rows)];
        return axis == 0 ? double(j) : double(i);
    }
    ContourPoint position(std::int32_t i, std::int32_t j) const noexcept
    {
        return {double(j), g.heights[std::size_t(i) + std::size_t(j) * std::size_t(g.rows)], double(i)};
    }
};

// How many levels lie at or below v (levels ascending); NaN lies below
// every level. The guess from the near-even spacing is corrected by the
// comparisons themselves, so the answer is exact.
class LevelIndex {
public:
    explicit LevelIndex(const std::vector<double>& levels) : l_(levels), n_(std::int32_t(levels.size()))
    {
        if (n_ > 1 && levels.back() > levels.front())
            inverseStep_ = double(n_ - 1) / (levels.back() - levels.front());
    }
    std::int32_t operator()(double v) const noexcept
    {
        if (!(v >= l_[0]))
            return 0;
        if (v >= l_[std::size_t(n_ - 1)])
            return n_;
        double guess = (v - l_[0]) * inverseStep_ + 1.0;
        std::int32_t g = guess < double(n_) ? std::int32_t(guess) : n_;
        g = std::clamp(g, 1, n_ - 1);
        while (g < n_ && l_[std::size_t(g)] <= v)
            ++g;
        while (g > 1 && l_[std::size_t(g - 1)] > v)
            --g;
        return g;
    }

private:
    const std::vector<double>& l_;
    std::int32_t n_;
    double inverseStep_ = 0.0;
};

template <class Source>
class Walker {
public:
    Walker(const Source& s, int axis, const std::vector<double>& levels, std::size_t& points, std::size_t& steps)
        : s_(s), levels_(levels), rows_(s.rows()), cols_(s.cols()), cellRows_(rows_ - 1), axis_(axis),
          points_(points), steps_(steps)
    {
    }

    // Cells of each level (those whose corners lie on both sides of it),
    // in grid order: built in one pass over the grid, so the work of a level
    // is proportional to the cells it crosses.
    void Bucket()
    {
        const std::int32_t n = std::int32_t(levels_.size());
        LevelIndex index(levels_);
        struct Crossing {
            std::uint32_t cell;
            std::uint16_t lo, hi;
        };
        std::vector<Crossing> crossings;
        const std::size_t column = std::size_t(rows_);
        std::vector<std::int32_t> left(column), right(column);
        for (std::int32_t i = 0; i < rows_; ++i)
            left[std::size_t(i)] = index(s_.value(i, 0));
        std::vector<std::size_t> counts(std::size_t(n) + 1, 0);
        for (std::int32_t j = 1; j < cols_; ++j) {
            for (std::int32_t i = 0; i < rows_; ++i)
                right[std::size_t(i)] = index(s_.value(i, j));
            for (std::int32_t i = 1; i < rows_; ++i) {
                std::int32_t a = left[std::size_t(i - 1)], b = left[std::size_t(i)];
                std::int32_t c = right[std::size_t(i - 1)], d = right[std::size_t(i)];
                std::int32_t lo = std::min(std::min(a, b), std::min(c, d));
                std::int32_t hi = std::max(std::max(a, b), std::max(c, d));
                if (lo == hi)
                    continue;
                crossings.push_back({cellId(i, j), std::uint16_t(lo), std::uint16_t(hi)});
                ++counts[std::size_t(lo)];
                --counts[std::size_t(hi)];
            }
            left.swap(right);
        }
        // Levels [lo, hi) lie inside each crossing's corner range.
        start_.assign(std::size_t(n) + 1, 0);
        std::size_t running = 0, total = 0;
        for (std::int32_t k = 0; k < n; ++k) {
            running += counts[std::size_t(k)];
            start_[std::size_t(k)] = total;
            total += running;
        }
        start_[std::size_t(n)] = total;
        cells_.resize(total);
        std::vector<std::size_t> fill(start_.begin(), start_.end() - 1);
        for (const Crossing& c : crossings)
            for (std::int32_t k = c.lo; k < c.hi; ++k)
                cells_[fill[std::size_t(k)]++] = c.cell;
        std::size_t widest = 0;
        for (std::int32_t k = 0; k < n; ++k)
            widest = std::max(widest, start_[std::size_t(k) + 1] - start_[std::size_t(k)]);
        marks_.assign(widest, 0);
        curve_.reserve(256);
    }

    // All curves of level k. False when the sink stopped the tracing.
    bool Level(std::int32_t k, ContourSink& sink)
    {
        level_ = levels_[std::size_t(k)];
        k_ = k;
        sink_ = &sink;
        first_ = cells_.data() + start_[std::size_t(k)];
        last_ = cells_.data() + start_[std::size_t(k) + 1];
        std::fill(marks_.begin(), marks_.begin() + (last_ - first_), std::uint8_t(0));
        return Border() && Interior();
    }

private:
    struct Case {
        double h[4];
        double m;
        int index;
    };

    std::uint32_t cellId(std::int32_t i, std::int32_t j) const noexcept
    {
        return std::uint32_t(i - 1) + std::uint32_t(j - 1) * std::uint32_t(cellRows_);
    }

    // The visited marks of a cell the level crosses, or nullptr. Marks are
    // kept for those cells only, found by their place in the level's
    // (ascending) list, so memory follows the curves, not the grid.
    std::uint8_t* MarkOf(std::int32_t i, std::int32_t j) noexcept
    {
        const std::uint32_t id = cellId(i, j);
        const std::uint32_t* p = std::lower_bound(first_, last_, id);
        return p != last_ && *p == id ? &marks_[std::size_t(p - first_)] : nullptr;
    }

    Case CaseOf(std::int32_t i, std::int32_t j) const noexcept
    {
        Case c;
        c.h[0] = s_.value(i - 1, j - 1);
        c.h[1] = s_.value(i, j - 1);
        c.h[2] = s_.value(i - 1, j);
        c.h[3] = s_.value(i, j);
        c.m = CentreValue(c.h[1], c.h[2]);
        c.index = CaseIndex(c.h, c.m, level_);
        return c;
    }

    // The segment of a cell that ends at side `side`: 0 or 1, −1 for none;
    // forward tells whether the side is its first node.
    static int SegmentAt(int index, int side, bool& forward) noexcept
    {
        for (int k = 0; k < 2; ++k) {
            const Segment& s = kPaths[index].segment[k];
            if (s.length == 0)
                break;
            if (s.front() == side || s.back() == side) {
                forward = s.front() == side;
                return k;
            }
        }
        return -1;
    }

    struct Corners {
        ContourPoint p0, p1, p2, p3;
    };
    Corners CornersOf(std::int32_t i, std::int32_t j) const noexcept
    {
        return {s_.position(i - 1, j - 1), s_.position(i, j - 1), s_.position(i - 1, j), s_.position(i, j)};
    }

    ContourPoint Node(const Corners& corners, const Case& c, int node) const noexcept
    {
        const double L = level_;
        const double* h = c.h;
        const auto& [p0, p1, p2, p3] = corners;
        ContourPoint r;
        auto along = [&r](const ContourPoint& from, const ContourPoint& to, double t) {
            for (int a = 0; a < 3; ++a)
                r[a] = from[a] + t * (to[a] - from[a]);
        };
        double a = 0.0, b = 0.0;
        switch (node) {
        // The sides: straight between their corners, so that neighbours
        // that share a side compute the same point.
        case 1: along(p0, p1, fraction(L - h[0], h[1] - h[0])); break;
        case 2: along(p0, p2, fraction(L - h[0], h[2] - h[0])); break;
        case 3: along(p2, p3, fraction(L - h[2], h[3] - h[2])); break;
        case 4: along(p1, p3, fraction(L - h[1], h[3] - h[1])); break;
        case 5: a = b = 0.5 * fraction(L - h[0], c.m - h[0]); break;
        case 6: a = 0.5 * fraction(L - h[2], c.m - h[2]), b = 1.0 - a; break;
        case 7: a = b = 1.0 - 0.5 * fraction(L - h[3], c.m - h[3]); break;
        case 8: b = 0.5 * fraction(L - h[1], c.m - h[1]), a = 1.0 - b; break;
        default: break;
        }
        if (node >= 5) {
            // The bilinear blend of the corners at (a, b).
            for (int k = 0; k < 3; ++k)
                r[k] = ((p3[k] - p1[k] - p2[k] + p0[k]) * a + (p2[k] - p0[k])) * b + (p1[k] - p0[k]) * a + p0[k];
        }
        r[std::size_t(axis_)] = L;
        return r;
    }

    bool Border()
    {
        // Each border cell entered from outside through its outer side:
        // j = 1 by side 1, i = 1 by side 2, j = cols − 1 by side 3,
        // i = rows − 1 by side 4. A corner cell is met twice, once per
        // outer side, so a saddle there is entered by both.
        const std::int32_t lastI = rows_ - 1, lastJ = cols_ - 1;
        for (std::int32_t i = 1; i <= lastI; ++i)
            if (Crosses(i - 1, 0, i, 0) && !StartAt(i, 1, 1))
                return false;
        for (std::int32_t j = 1; j <= lastJ; ++j)
            if (Crosses(0, j - 1, 0, j) && !StartAt(1, j, 2))
                return false;
        for (std::int32_t i = 1; i <= lastI; ++i)
            if (Crosses(i - 1, lastJ, i, lastJ) && !StartAt(i, lastJ, 3))
                return false;
        for (std::int32_t j = 1; j <= lastJ; ++j)
            if (Crosses(lastI, j - 1, lastI, j) && !StartAt(lastI, j, 4))
                return false;
        return true;
    }

    bool Crosses(std::int32_t i0, std::int32_t j0, std::int32_t i1, std::int32_t j1) const noexcept
    {
        return (s_.value(i0, j0) >= level_) != (s_.value(i1, j1) >= level_);
    }

    bool StartAt(std::int32_t i, std::int32_t j, int side)
    {
        Case c = CaseOf(i, j);
        bool forward = true;
        int seg = SegmentAt(c.index, side, forward);
        const std::uint8_t* mark = MarkOf(i, j);
        if (seg < 0 || !mark || (*mark >> seg & 1))
            return true;
        return Walk(i, j, side);
    }

    bool Interior()
    {
        for (const std::uint32_t* p = first_; p != last_; ++p) {
            const std::uint8_t& mark = marks_[std::size_t(p - first_)];
            if (mark == 3)
                continue;
            std::int32_t i = std::int32_t(*p % std::uint32_t(cellRows_)) + 1;
            std::int32_t j = std::int32_t(*p / std::uint32_t(cellRows_)) + 1;
            const CellPath& path = kPaths[CaseOf(i, j).index];
            for (int seg = 0; seg < 2 && path.segment[seg].length > 0; ++seg)
                if (!(mark >> seg & 1) && !Walk(i, j, path.segment[seg].front()))
                    return false;
        }
        return true;
    }

    // A level through a corner puts several nodes on it: the curve passes
    // it once.
    void Add(const ContourPoint& p)
    {
        if (curve_.back() != p)
            curve_.push_back(p);
    }

    // One curve from cell (i, j) entered by `side`, until it leaves the
    // grid or comes back to where it began.
    bool Walk(std::int32_t i, std::int32_t j, int side)
    {
        const std::int32_t si = i, sj = j;
        const int sside = side;
        // Each segment is passed once: a curve longer than that is data
        // that cannot be traced (NaN), cut short.
        const std::size_t guard = 2 * std::size_t(last_ - first_) + 2;
        curve_.clear();
        bool closed = false;
        for (std::size_t n = 0; n < guard; ++n) {
            Case c = CaseOf(i, j);
            bool forward = true;
            int seg = SegmentAt(c.index, side, forward);
            std::uint8_t* mark = MarkOf(i, j);
            if (seg < 0 || !mark || (*mark >> seg & 1))
                break;
            *mark |= std::uint8_t(1u << seg);
            ++steps_;
            const Segment& path = kPaths[c.index].segment[seg];
            const Corners corners = CornersOf(i, j);
            if (curve_.empty())
                curve_.push_back(Node(corners, c, side));
            for (int k = 1; k < path.length; ++k)
                Add(Node(corners, c, path.nodes[forward ? k : path.length - 1 - k]));
            const int exit = forward ? path.back() : path.front();
            const Step& next = kNext[exit];
            i += next.di;
            j += next.dj;
            side = next.entry;
            if (i < 1 || i >= rows_ || j < 1 || j >= cols_)
                break;
            if (i == si && j == sj && side == sside) {
                curve_.back() = curve_.front();
                closed = true;
                break;
            }
        }
        if (curve_.size() < 2)
            return true;
        points_ += curve_.size();
        return sink_->Curve(k_, curve_, closed);
    }

    const Source& s_;
    const std::vector<double>& levels_;
    const std::int32_t rows_, cols_, cellRows_;
    const int axis_; // the display coordinate contoured
    std::size_t& points_;
    std::size_t& steps_;
    std::vector<std::size_t> start_; // first entry of each level in cells_
    std::vector<std::uint32_t> cells_;
    std::vector<std::uint8_t> marks_; // bit k: segment k passed
    const std::uint32_t* first_ = nullptr; // the level's cells
    const std::uint32_t* last_ = nullptr;
    std::vector<ContourPoint> curve_;
    double level_ = 0.0;
    std::int32_t k_ = 0;
    ContourSink* sink_ = nullptr;
};

} // namespace

int ContourCase(double h0, double h1, double h2, double h3, double level) noexcept
{
    const double h[4] = {h0, h1, h2, h3};
    return CaseIndex(h, CentreValue(h1, h2), level);
}

int ContourTracer::displayAxis() const noexcept
{
    return DisplayIndex(direction_);
}

bool ContourTracer::SetRange(const BoundingRecord& record)
{
    int a = displayAxis();
    return SetRange(record.min[std::size_t(a)], record.max[std::size_t(a)]);
}

bool ContourTracer::SetRange(double minimum, double maximum)
{
    min_ = minimum;
    max_ = maximum;
    error_ = Error::None;
    try {
        levels_ = ContourLevels(minimum, maximum, automatic_, count_);
    } catch (const std::bad_alloc&) {
        levels_.clear();
        error_ = Error::OutOfMemory;
    }
    return !levels_.empty();
}

template <class Source>
bool ContourTracer::TraceAll(const Source& source, ContourSink& sink)
{
    points_ = steps_ = 0;
    error_ = Error::None;
    if (levels_.empty() || source.rows() < 2 || source.cols() < 2)
        return true;
    // Cell numbers travel in 32 bits.
    if (std::size_t(source.rows() - 1) * std::size_t(source.cols() - 1) >= std::size_t(UINT32_MAX)) {
        error_ = Error::OutOfMemory;
        return false;
    }
    try {
        Walker<Source> w(source, displayAxis(), levels_, points_, steps_);
        w.Bucket();
        for (std::int32_t k = 0; k < std::int32_t(levels_.size()); ++k) {
            // A level at an end of the range touches the data only at its
            // extremes: no curve there.
            double L = levels_[std::size_t(k)];
            if (!(L > min_ && L < max_))
                continue;
            if (!w.Level(k, sink)) {
                error_ = Error::Interrupted;
                return false;
            }
        }
    } catch (const std::bad_alloc&) {
        error_ = Error::OutOfMemory;
        return false;
    }
    return true;
}

bool ContourTracer::Trace(const GridSource& grid, ContourSink& sink)
{
    if (!grid.heights && !grid.xyz)
        return true;
    return TraceAll(MeshSource{grid, displayAxis()}, sink);
}

bool ContourTracer::Trace(const HeightGrid& grid, ContourSink& sink)
{
    if (!grid.heights)
        return true;
    return TraceAll(MatrixSource{grid, displayAxis()}, sink);
}

} // namespace halvex
