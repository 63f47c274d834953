// The exact predicates and the Delaunay triangulation under the gridder:
// invariants on random sets, cocircular lattices, duplicates, collinear and
// nearly degenerate input.
#include "plot/model/delaunay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

using halvex::geom::Delaunay;
using halvex::geom::InCircle;
using halvex::geom::Orient2d;
using halvex::geom::Point2;

namespace {

// The hull's vertex count, by brute force: points with a supporting line.
std::size_t hullSize(const std::vector<Point2>& p)
{
    std::size_t h = 0;
    for (std::size_t a = 0; a < p.size(); ++a) {
        bool corner = false;
        for (std::size_t b = 0; b < p.size() && !corner; ++b) {
            if (b == a)
                continue;
            bool allRight = true;
            for (std::size_t c = 0; c < p.size() && allRight; ++c)
                if (c != a && c != b)
                    allRight = Orient2d(p[a], p[b], p[c]) < 0.0;
            corner = allRight;
        }
        h += corner ? 1 : 0;
    }
    return h;
}

// No point strictly inside the circumcircle of any real triangle.
bool emptyCircles(const Delaunay& dt, const std::vector<Point2>& p)
{
    for (std::size_t t = 0; t < dt.triangles().size(); ++t) {
        if (dt.GhostIndex(std::int32_t(t)) >= 0)
            continue;
        const auto& tr = dt.triangles()[t];
        for (const Point2& q : p)
            if (InCircle(p[std::size_t(tr.v[0])], p[std::size_t(tr.v[1])], p[std::size_t(tr.v[2])], q) > 0.0)
                return false;
    }
    return true;
}

} // namespace

TEST(Predicates, DecideExactlyWhereRoundingWouldGuess)
{
    // Points on a line whose floating-point determinant is pure rounding.
    Point2 a{0.5, 0.5}, b{12.0, 12.0}, c{24.0, 24.0};
    EXPECT_EQ(Orient2d(a, b, c), 0.0);
    for (int k = 1; k < 64; ++k) {
        Point2 q{0.5 + k * 0x1p-53, 0.5};
        // q lies right of the diagonal through a, b, c by the smallest step.
        EXPECT_LT(Orient2d(q, b, c), 0.0) << k;
        EXPECT_GT(Orient2d(c, b, q), 0.0) << k;
    }
    // Four points of a circle, and a point nudged off it by one unit in the
    // last place.
    Point2 p0{1, 0}, p1{0, 1}, p2{-1, 0}, p3{0, -1};
    EXPECT_EQ(InCircle(p0, p1, p2, p3), 0.0);
    EXPECT_GT(InCircle(p0, p1, p2, {0, std::nextafter(-1.0, 0.0)}), 0.0);
    EXPECT_LT(InCircle(p0, p1, p2, {0, std::nextafter(-1.0, -2.0)}), 0.0);
    // On the line y = 2x, with coordinate differences that do not fit a
    // double exactly.
    Point2 u{1e-20, 2e-20}, v{1.0, 2.0}, w{1e20, 2e20};
    EXPECT_EQ(Orient2d(u, v, w), 0.0);
    EXPECT_GT(Orient2d(u, w, {1.0, std::nextafter(2.0, 3.0)}), 0.0);
    EXPECT_LT(Orient2d(u, w, {1.0, std::nextafter(2.0, 1.0)}), 0.0);
}

TEST(Delaunay, RandomSetsKeepEveryInvariant)
{
    std::mt19937_64 rng(7);
    for (std::size_t n : {3u, 4u, 10u, 57u, 300u}) {
        std::uniform_real_distribution<double> U(-3.0, 5.0);
        std::vector<Point2> p(n);
        for (Point2& q : p)
            q = {U(rng), U(rng)};
        Delaunay dt;
        ASSERT_EQ(dt.Build(p.data(), n), Delaunay::Status::Ok) << n;
        EXPECT_TRUE(dt.Valid()) << n;
        EXPECT_EQ(dt.realTriangleCount(), 2 * n - 2 - hullSize(p)) << n;
        EXPECT_TRUE(emptyCircles(dt, p)) << n;
        for (std::size_t v = 0; v < n; ++v)
            EXPECT_TRUE(dt.Inserted(std::int32_t(v)));
    }
}

TEST(Delaunay, ACocircularLatticeIsTriangulatedWholeAndEmpty)
{
    // Every cell of a lattice has four cocircular corners: rounding alone
    // would make the triangulation inconsistent.
    const int k = 25;
    std::vector<Point2> p;
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j)
            p.push_back({i * 0.1, j * 0.3});
    Delaunay dt;
    ASSERT_EQ(dt.Build(p.data(), p.size()), Delaunay::Status::Ok);
    EXPECT_TRUE(dt.Valid());
    const std::size_t h = 4 * (k - 1);
    EXPECT_EQ(dt.realTriangleCount(), 2 * p.size() - 2 - h);
    EXPECT_TRUE(emptyCircles(dt, p));
    // Points on a circle: a fan of cocircular triangles.
    std::vector<Point2> ring;
    for (int a = 0; a < 4; ++a)
        ring.push_back({std::cos(a * 1.5707963267948966), std::sin(a * 1.5707963267948966)});
    ring.push_back({0.0, 0.0});
    ASSERT_EQ(dt.Build(ring.data(), ring.size()), Delaunay::Status::Ok);
    EXPECT_TRUE(dt.Valid());
    EXPECT_EQ(dt.realTriangleCount(), 4u);
}

TEST(Delaunay, DuplicatesKeepTheFirstAndCollinearInputIsRefused)
{
    std::vector<Point2> p = {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 0}, {0.5, 0.5}};
    Delaunay dt;
    ASSERT_EQ(dt.Build(p.data(), p.size()), Delaunay::Status::Ok);
    EXPECT_TRUE(dt.Valid());
    EXPECT_TRUE(dt.Inserted(1));
    EXPECT_FALSE(dt.Inserted(3));
    EXPECT_TRUE(dt.Inserted(0));
    EXPECT_FALSE(dt.Inserted(5));
    EXPECT_EQ(dt.realTriangleCount(), 4u);

    std::vector<Point2> line = {{0, 0}, {1, 1}, {2, 2}, {0.5, 0.5}, {2, 2}, {-3, -3}};
    EXPECT_EQ(dt.Build(line.data(), line.size()), Delaunay::Status::Collinear);
    std::vector<Point2> two = {{1, 1}, {2, 5}, {1, 1}, {2, 5}};
    EXPECT_EQ(dt.Build(two.data(), two.size()), Delaunay::Status::TooFewPoints);
    EXPECT_EQ(dt.Build(two.data(), 2), Delaunay::Status::TooFewPoints);
    // Collinear points first, the one point off the line last.
    std::vector<Point2> late = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {2, 1e-12}};
    ASSERT_EQ(dt.Build(late.data(), late.size()), Delaunay::Status::Ok);
    EXPECT_TRUE(dt.Valid());
    EXPECT_EQ(dt.realTriangleCount(), 4u);
}

TEST(Delaunay, NeighboursAreTheVerticesJoinedByEdges)
{
    std::vector<Point2> p = {{0, 0}, {2, 0}, {0, 2}, {2, 2}, {1, 1}};
    Delaunay dt;
    ASSERT_EQ(dt.Build(p.data(), p.size()), Delaunay::Status::Ok);
    std::vector<std::int32_t> n;
    dt.Neighbours(4, n);
    EXPECT_EQ(std::set<std::int32_t>(n.begin(), n.end()), (std::set<std::int32_t>{0, 1, 2, 3}));
    dt.Neighbours(0, n);
    EXPECT_EQ(std::set<std::int32_t>(n.begin(), n.end()), (std::set<std::int32_t>{1, 2, 4}));
    // Outside the hull the search ends in a ghost triangle.
    EXPECT_GE(dt.GhostIndex(dt.Locate({5, 1}, 0)), 0);
    EXPECT_LT(dt.GhostIndex(dt.Locate({0.5, 1}, 0)), 0);
}
