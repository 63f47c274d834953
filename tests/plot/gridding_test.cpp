// Natural-neighbour gridding of scattered points: planes reproduced, rows
// along X, a paraboloid within tolerance, the hull's surroundings, and the
// cases that cannot be gridded.
#include "plot/model/natural_neighbour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using halvex::GridNaturalNeighbour;
using halvex::GridSpan;
using halvex::GridStatus;
using halvex::NaturalNeighbourSettings;
using halvex::geom::Orient2d;
using halvex::geom::Point2;

namespace {

struct Scatter {
    std::vector<Point2> p;
    std::vector<double> z;
};

Scatter randomScatter(std::size_t n, double (*f)(double, double), unsigned seed = 3)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> X(-2.0, 6.0), Y(10.0, 13.0);
    Scatter s;
    for (std::size_t k = 0; k < n; ++k) {
        Point2 q{X(rng), Y(rng)};
        s.p.push_back(q);
        s.z.push_back(f(q.x, q.y));
    }
    return s;
}

GridStatus grid(Scatter s, int rows, int cols, std::vector<double>& out, GridSpan& span)
{
    NaturalNeighbourSettings settings;
    settings.rows = rows;
    settings.cols = cols;
    return GridNaturalNeighbour(std::move(s.p), std::move(s.z), settings, out, span);
}

double nodeX(const GridSpan& s, int i, int rows)
{
    return s.x0 + i * (s.x1 - s.x0) / (rows - 1);
}
double nodeY(const GridSpan& s, int j, int cols)
{
    return s.y0 + j * (s.y1 - s.y0) / (cols - 1);
}

double plane(double x, double y)
{
    return 2.5 * x - 0.75 * y + 4.0;
}

} // namespace

TEST(Gridding, APlaneIsReproducedWithRowsAlongX)
{
    Scatter s = randomScatter(400, plane);
    std::vector<double> out;
    GridSpan span;
    const int rows = 37, cols = 23;
    ASSERT_EQ(grid(s, rows, cols, out, span), GridStatus::Ok);
    ASSERT_EQ(out.size(), std::size_t(rows * cols));
    // The span is the points' own.
    double x0 = 1e300, x1 = -1e300;
    for (const Point2& q : s.p)
        x0 = std::min(x0, q.x), x1 = std::max(x1, q.x);
    EXPECT_EQ(span.x0, x0);
    EXPECT_EQ(span.x1, x1);
    // Rows run along X, columns along Y; a swap would show at once, the
    // plane's two slopes being different.
    for (int j = 0; j < cols; ++j)
        for (int i = 0; i < rows; ++i) {
            double want = plane(nodeX(span, i, rows), nodeY(span, j, cols));
            EXPECT_NEAR(out[std::size_t(i + j * rows)], want, 1e-9) << i << ", " << j;
        }
}

TEST(Gridding, APlaneStaysAPlaneOutsideTheHullAndNothingIsNaN)
{
    // Points inside a disc: the grid's corners lie far outside the hull.
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> A(0.0, 6.283185307179586), R(0.0, 1.0);
    Scatter s;
    for (int k = 0; k < 300; ++k) {
        double a = A(rng), r = std::sqrt(R(rng)) * 3.0;
        s.p.push_back({r * std::cos(a), r * std::sin(a)});
        s.z.push_back(plane(s.p.back().x, s.p.back().y));
    }
    std::vector<double> out;
    GridSpan span;
    ASSERT_EQ(grid(s, 30, 30, out, span), GridStatus::Ok);
    for (int j = 0; j < 30; ++j)
        for (int i = 0; i < 30; ++i)
            EXPECT_NEAR(out[std::size_t(i + j * 30)], plane(nodeX(span, i, 30), nodeY(span, j, 30)), 1e-9);

    // A curved surface outside its hull: finite, and continuous with the
    // inside (the corner nodes differ from their neighbours by about a
    // slope times the step).
    for (std::size_t k = 0; k < s.p.size(); ++k)
        s.z[k] = std::sin(s.p[k].x) * std::cos(s.p[k].y);
    ASSERT_EQ(grid(s, 30, 30, out, span), GridStatus::Ok);
    for (double v : out)
        ASSERT_TRUE(std::isfinite(v));
    EXPECT_NEAR(out[0], out[1], 0.5);
}

TEST(Gridding, AParaboloidIsCloseInsideTheHull)
{
    auto bowl = [](double x, double y) { return (x - 2.0) * (x - 2.0) + (y - 11.5) * (y - 11.5); };
    Scatter s = randomScatter(3000, bowl, 5);
    std::vector<double> out;
    GridSpan span;
    ASSERT_EQ(grid(s, 41, 41, out, span), GridStatus::Ok);
    // Inside, away from the hull: within 0.03, under 0.2 % of the bowl's
    // range (its values run from 0 to about 18).
    double worst = 0.0;
    for (int j = 4; j <= 36; ++j)
        for (int i = 4; i <= 36; ++i) {
            double x = nodeX(span, i, 41), y = nodeY(span, j, 41);
            worst = std::max(worst, std::fabs(out[std::size_t(i + j * 41)] - bowl(x, y)));
        }
    EXPECT_LT(worst, 0.03);
}

TEST(Gridding, PassesThroughEveryPointItMeets)
{
    // A lattice of values: every node of a grid over it falls on a point,
    // and cocircular cells are no trouble.
    Scatter s;
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 5; ++j) {
            s.p.push_back({double(i), double(j)});
            s.z.push_back(std::sin(i * 1.3) + j * j);
        }
    std::vector<double> want = s.z;
    std::vector<double> out;
    GridSpan span;
    ASSERT_EQ(grid(s, 9, 5, out, span), GridStatus::Ok);
    for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 5; ++j)
            EXPECT_EQ(out[std::size_t(i + j * 9)], want[std::size_t(i * 5 + j)]);
    // Between lattice points the values stay within the data's range.
    ASSERT_EQ(grid(s, 17, 9, out, span), GridStatus::Ok);
    for (double v : out) {
        EXPECT_GT(v, -3.0);
        EXPECT_LT(v, 19.0);
    }
}

TEST(Gridding, DuplicatesKeepTheFirstValue)
{
    Scatter s;
    s.p = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0.5, 0.5}, {0.5, 0.5}};
    s.z = {0, 0, 0, 0, 7, -100};
    std::vector<double> out;
    GridSpan span;
    ASSERT_EQ(grid(s, 3, 3, out, span), GridStatus::Ok);
    EXPECT_EQ(out[4], 7.0);
}

TEST(Gridding, WhatCannotBeGriddedIsSaidSo)
{
    std::vector<double> out;
    GridSpan span;
    Scatter line;
    for (int k = 0; k < 10; ++k) {
        line.p.push_back({k * 0.5, 1.0 + k * 0.25});
        line.z.push_back(k);
    }
    EXPECT_EQ(grid(line, 10, 10, out, span), GridStatus::Collinear);
    Scatter same;
    same.p = {{1, 1}, {1, 1}, {2, 2}, {1, 1}};
    same.z = {1, 2, 3, 4};
    EXPECT_EQ(grid(same, 10, 10, out, span), GridStatus::TooFewPoints);
    Scatter ok = randomScatter(20, plane);
    EXPECT_EQ(grid(ok, 1, 10, out, span), GridStatus::BadSize);
    EXPECT_EQ(grid(ok, 10, 4097, out, span), GridStatus::BadSize);
    EXPECT_EQ(grid(ok, 4096, 1025, out, span), GridStatus::BadSize);
    EXPECT_EQ(grid(ok, 2, 2, out, span), GridStatus::Ok);
    EXPECT_TRUE(halvex::GridLimits::Fits(2048, 2048));
    EXPECT_FALSE(halvex::GridLimits::Fits(2048, 2049));
    EXPECT_TRUE(halvex::GridLimits::Fits(4096, 2));
    EXPECT_STREQ(halvex::GridStatusText(GridStatus::Collinear), "all points lie on one line");
}

TEST(Gridding, UnitsDoNotMatter)
{
    // Tiny and huge coordinates: the points are scaled before the
    // predicates see them.
    for (double unit : {1e-200, 1e-9, 1e9, 1e200}) {
        Scatter s = randomScatter(100, plane);
        for (Point2& q : s.p)
            q = {q.x * unit, q.y * unit};
        std::vector<double> out;
        GridSpan span;
        ASSERT_EQ(grid(s, 11, 11, out, span), GridStatus::Ok) << unit;
        for (int j = 0; j < 11; ++j)
            for (int i = 0; i < 11; ++i)
                EXPECT_NEAR(out[std::size_t(i + j * 11)],
                            plane(nodeX(span, i, 11) / unit, nodeY(span, j, 11) / unit), 1e-8)
                    << unit;
    }
}
