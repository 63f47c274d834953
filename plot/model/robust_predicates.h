#pragma once
// The two geometric predicates of the Delaunay triangulation with exact
// signs for any double coordinates: a floating-point evaluation decides
// whenever its error bound allows, and exact arithmetic on floating-point
// expansions (sums of non-overlapping doubles) decides the rest, so
// cocircular and collinear input (lattices, points on a line) is classified
// correctly rather than by rounding.

namespace halvex::geom {

struct Point2 {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const Point2&, const Point2&) = default;
};

// > 0 when a, b, c turn counter-clockwise, < 0 clockwise, 0 when collinear.
// Only the sign is meaningful.
double Orient2d(const Point2& a, const Point2& b, const Point2& c) noexcept;

// > 0 when d lies inside the circle through a, b, c (counter-clockwise),
// < 0 outside, 0 on it. Only the sign is meaningful.
double InCircle(const Point2& a, const Point2& b, const Point2& c, const Point2& d) noexcept;

} // namespace halvex::geom
