// Contour levels, the tracing of curves through a grid (closed rings, the
// saddle rule, lines that never cross, points on their levels), level
// counts a script may set to anything, and where numbers go along curves.
#include "plot/model/colormaps.h"
#include "plot/model/contour_fill.h"
#include "plot/model/contour_labels.h"
#include "plot/model/contour_levels.h"
#include "plot/model/contour_tracer.h"
#include "plot/model/grid_reduction.h"
#include "tests/plot/contour_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <vector>

using namespace halvex;

namespace {

struct Curve {
    std::int32_t level;
    std::vector<ContourPoint> points;
    bool closed;
};

class Collect final : public ContourSink {
public:
    bool Curve(std::int32_t level, std::span<const ContourPoint> points, bool closed) override
    {
        curves.push_back({level, {points.begin(), points.end()}, closed});
        return curves.size() < stopAfter;
    }
    std::vector<::Curve> curves;
    std::size_t stopAfter = std::numeric_limits<std::size_t>::max();
};

// A rows × cols height matrix, h(i, j) at i + j × rows.
struct Heights {
    std::int32_t rows, cols;
    std::vector<double> h;
    Heights(std::int32_t r, std::int32_t c, const std::function<double(double, double)>& f) : rows(r), cols(c)
    {
        h.resize(std::size_t(r) * std::size_t(c));
        for (std::int32_t j = 0; j < c; ++j)
            for (std::int32_t i = 0; i < r; ++i)
                h[std::size_t(i) + std::size_t(j) * std::size_t(r)] = f(i, j);
    }
    double at(std::int32_t i, std::int32_t j) const { return h[std::size_t(i) + std::size_t(j) * std::size_t(rows)]; }
    HeightGrid grid() const { return {h.data(), rows, cols}; }
    double min() const { return *std::min_element(h.begin(), h.end()); }
    double max() const { return *std::max_element(h.begin(), h.end()); }
};

std::vector<Curve> traceZ(const Heights& s, bool automatic, std::int32_t count, ContourTracer* out = nullptr)
{
    ContourTracer t(2, automatic, count);
    Collect sink;
    if (t.SetRange(s.min(), s.max())) {
        EXPECT_TRUE(t.Trace(s.grid(), sink));
    }
    if (out)
        *out = t;
    return sink.curves;
}

double cellValue(const Heights& s, double x, double z)
{
    return contourcheck::CellValue([&s](std::int32_t i, std::int32_t j) { return s.at(i, j); }, s.rows, s.cols, x, z);
}

// Every point and the middle of every piece lie on the level: the pieces
// run inside the triangles where the surface is flat.
void expectOnLevels(const Heights& s, const std::vector<Curve>& curves, const std::vector<double>& levels)
{
    double tolerance = 1e-9 * std::max(1.0, s.max() - s.min());
    for (const Curve& c : curves) {
        double L = levels[std::size_t(c.level)];
        for (std::size_t k = 0; k < c.points.size(); ++k) {
            const ContourPoint& p = c.points[k];
            ASSERT_EQ(p[1], L);
            ASSERT_NEAR(cellValue(s, p[0], p[2]), L, tolerance) << "point " << k << " of level " << L;
            if (k > 0) {
                const ContourPoint& q = c.points[k - 1];
                ASSERT_NEAR(cellValue(s, (p[0] + q[0]) / 2, (p[2] + q[2]) / 2), L, tolerance)
                    << "piece " << k << " of level " << L;
            }
        }
    }
}

bool onBorder(const Heights& s, const ContourPoint& p)
{
    return p[0] == 0.0 || p[2] == 0.0 || p[0] == s.cols - 1 || p[2] == s.rows - 1;
}

double cross(const ContourPoint& o, const ContourPoint& a, const ContourPoint& b)
{
    return (a[0] - o[0]) * (b[2] - o[2]) - (a[2] - o[2]) * (b[0] - o[0]);
}

// Pieces ab and cd cross (each one's ends strictly on both sides of the
// other).
bool crosses(const ContourPoint& a, const ContourPoint& b, const ContourPoint& c, const ContourPoint& d)
{
    const double eps = 1e-12;
    double d1 = cross(a, b, c), d2 = cross(a, b, d), d3 = cross(c, d, a), d4 = cross(c, d, b);
    return ((d1 > eps && d2 < -eps) || (d1 < -eps && d2 > eps)) && ((d3 > eps && d4 < -eps) || (d3 < -eps && d4 > eps));
}

void expectNoCrossings(const std::vector<Curve>& curves)
{
    // Every piece runs inside one grid cell: only pieces of the same or
    // neighbouring cells can meet.
    struct Piece {
        std::size_t curve;
        ContourPoint a, b;
    };
    std::map<std::pair<std::int64_t, std::int64_t>, std::vector<Piece>> byCell;
    for (std::size_t c = 0; c < curves.size(); ++c)
        for (std::size_t k = 1; k < curves[c].points.size(); ++k) {
            const ContourPoint &a = curves[c].points[k - 1], &b = curves[c].points[k];
            auto cell = std::make_pair(std::int64_t(std::floor((a[0] + b[0]) / 2)), std::int64_t(std::floor((a[2] + b[2]) / 2)));
            byCell[cell].push_back({c, a, b});
        }
    for (const auto& [cell, pieces] : byCell)
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dz = -1; dz <= 1; ++dz) {
                auto other = byCell.find({cell.first + dx, cell.second + dz});
                if (other == byCell.end())
                    continue;
                for (const Piece& p : pieces)
                    for (const Piece& q : other->second) {
                        if (curves[p.curve].level != curves[q.curve].level)
                            continue;
                        ASSERT_FALSE(crosses(p.a, p.b, q.a, q.b))
                            << "curves " << p.curve << " and " << q.curve << " cross";
                    }
            }
}

// ---------------------------------------------------------------- levels

TEST(ContourLevels, ManualCountsAreInteriorLevels)
{
    EXPECT_EQ(ContourLevels(0.0, 4.0, false, 3), (std::vector<double>{0, 1, 2, 3, 4}));
    // Count 0 leaves only the extremes; a level near zero is zero exactly.
    EXPECT_EQ(ContourLevels(-2.0, 5.0, false, 0), (std::vector<double>{-2.0, 5.0}));
    // The last level is the maximum itself.
    std::vector<double> l = ContourLevels(-1.0, 0.6, false, 4);
    ASSERT_EQ(l.size(), 6u);
    EXPECT_EQ(l[0], -1.0);
    EXPECT_NEAR(l[1], -0.68, 1e-15);
    EXPECT_EQ(l.back(), 0.6);
    // Within a thousandth of a step of zero: zero.
    l = ContourLevels(-1.0, 1.0000001, false, 1);
    EXPECT_EQ(l[1], 0.0);
    EXPECT_EQ(ContourLevels(-1.0, 1.0, false, 1)[1], 0.0);
    EXPECT_EQ(std::signbit(ContourLevels(-1.0, 1.0, false, 1)[1]), false);
}

TEST(ContourLevels, AutomaticLevelsAreNiceValuesInsideTheRange)
{
    // Fifteen requested: over 0 … 2 a step of 0.1.
    std::vector<double> l = ContourLevels(0.0, 2.0, true, 14);
    ASSERT_EQ(l.size(), 21u);
    for (std::size_t k = 0; k < l.size(); ++k)
        EXPECT_NEAR(l[k], 0.1 * double(k), 1e-12);
    EXPECT_EQ(l[0], 0.0);
    // Never widened: 0.13 … 0.87 gives 0.2 … 0.8.
    l = ContourLevels(0.13, 0.87, true, 14);
    ASSERT_EQ(l.size(), 7u);
    EXPECT_NEAR(l.front(), 0.2, 1e-12);
    EXPECT_NEAR(l.back(), 0.8, 1e-12);
    // Across zero, zero itself is exact.
    l = ContourLevels(-0.73, 0.41, true, 0);
    EXPECT_NE(std::find(l.begin(), l.end(), 0.0), l.end());
    for (double v : l) {
        EXPECT_GE(v, -0.73);
        EXPECT_LE(v, 0.41);
    }
}

TEST(ContourLevels, EmptyRangesGiveNoLevels)
{
    EXPECT_TRUE(ContourLevels(3.0, 3.0, true, 5).empty());
    EXPECT_TRUE(ContourLevels(3.0, 3.0, false, 5).empty());
    EXPECT_TRUE(ContourLevels(4.0, 3.0, false, 5).empty());
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(ContourLevels(nan, 3.0, false, 5).empty());
    EXPECT_TRUE(ContourLevels(0.0, inf, true, 5).empty());
}

TEST(ContourLevels, AnyCountIsSafe)
{
    // A negative count counts as none; huge ones are capped.
    EXPECT_EQ(ContourLevels(0.0, 1.0, false, -1), ContourLevels(0.0, 1.0, false, 0));
    EXPECT_EQ(ContourLevels(0.0, 1.0, false, -32768).size(), 2u);
    EXPECT_EQ(ContourLevels(0.0, 1.0, false, 200).size(), 202u);
    EXPECT_EQ(ContourLevels(0.0, 1.0, false, 32767).size(), std::size_t(kMaxContourLevels));
    // A range too narrow for its steps still gives levels in order.
    std::vector<double> l = ContourLevels(1e5, 1e5 + 1e-10, false, 998);
    EXPECT_TRUE(std::is_sorted(l.begin(), l.end()));
}

TEST(ContourLevels, RampPositionsAndBands)
{
    EXPECT_EQ(LevelRampPosition(0, 16), 0.0f);
    EXPECT_EQ(LevelRampPosition(15, 16), 1.0f);
    EXPECT_EQ(LevelRampPosition(0, 1), 0.0f);
    EXPECT_EQ(LevelRampPosition(0, 0), 0.0f);

    ContourBands b = FillBands(0.0, 10.0, false, 4);
    EXPECT_EQ(b.bands, 5);
    EXPECT_EQ(b.textureSize(), 8);
    EXPECT_DOUBLE_EQ(b.TexCoord(10.0), 5.0 / 8.0);
    EXPECT_DOUBLE_EQ(b.TexCoord(0.0), 0.0);
    EXPECT_EQ(FillBands(0.0, 10.0, false, -1).bands, 1);
    EXPECT_EQ(FillBands(0.0, 10.0, false, -1).textureSize(), 2);
    EXPECT_EQ(FillBands(0.0, 10.0, false, 200).bands, kMaxContourBands);
    EXPECT_EQ(FillBands(0.0, 10.0, false, 200).textureSize(), kMaxContourBands);
    EXPECT_EQ(FillBands(0.0, 10.0, false, 127).bands, 128);
    // Automatic: from the first to the last nice value, a band between
    // neighbours.
    b = FillBands(0.13, 0.87, true, 0);
    EXPECT_NEAR(b.start, 0.2, 1e-12);
    EXPECT_NEAR(b.end, 0.8, 1e-12);
    EXPECT_EQ(b.bands, 6);
    // A flat range: one band, and no division.
    b = FillBands(2.0, 2.0, true, 0);
    EXPECT_EQ(b.bands, 1);
    EXPECT_EQ(b.TexCoord(2.0), 0.0);
}

// ---------------------------------------------------------------- fills

std::array<int, 4> texel(const std::vector<std::uint8_t>& t, const FillTexture& f, int k1, int k2 = 0)
{
    const std::uint8_t* p = &t[(std::size_t(k1) + std::size_t(k2) * std::size_t(f.width())) * 4];
    return {p[0], p[1], p[2], p[3]};
}

std::array<int, 4> mapColor(std::int32_t map, float t, int alpha)
{
    Rgb c = SpectrumRgb(map, t);
    return {int(c[0] * 255 + 0.5f), int(c[1] * 255 + 0.5f), int(c[2] * 255 + 0.5f), alpha};
}

TEST(ContourFill, DirectionsPairUpInTextureOrder)
{
    std::array<int, 2> o{};
    EXPECT_EQ(FillOrder(1 | 2, o), 2);
    EXPECT_EQ(o, (std::array<int, 2>{0, 1}));
    EXPECT_EQ(FillOrder(1 | 4, o), 2);
    EXPECT_EQ(o, (std::array<int, 2>{2, 0}));
    EXPECT_EQ(FillOrder(2 | 4, o), 2);
    EXPECT_EQ(o, (std::array<int, 2>{1, 2}));
    EXPECT_EQ(FillOrder(7, o), 2);
    EXPECT_EQ(o, (std::array<int, 2>{0, 1}));
    EXPECT_EQ(FillOrder(4, o), 1);
    EXPECT_EQ(o[0], 2);
    EXPECT_EQ(FillOrder(0, o), 0);
}

TEST(ContourFill, OneDirectionIsABandPerTexel)
{
    // Z over heights 0 … 10 with 4 levels: five bands in eight texels.
    std::array<float, 3> lo{0, 0, 0}, hi{5, 10, 7};
    FillTexture f = MakeFillTexture(4, lo, hi, {false, false, false}, {0, 0, 4});
    ASSERT_EQ(f.dimensions, 1);
    EXPECT_EQ(f.axes[0], 1);
    EXPECT_EQ(f.width(), 8);
    EXPECT_EQ(f.height(), 1);
    std::vector<std::uint8_t> t = FillTexels(f, 0, 200);
    ASSERT_EQ(t.size(), 8u * 4u);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(texel(t, f, k), mapColor(0, k / 4.0f, 200)) << k;
    // Past the last band, the last band again: the maximum itself (and
    // anything just above) keeps its colour.
    for (int k = 5; k < 8; ++k)
        EXPECT_EQ(texel(t, f, k), texel(t, f, 4));
    // Each band is one texel wide in texture coordinates.
    Vertex v{0.0f, 2.0f, 0.0f};
    EXPECT_DOUBLE_EQ(f.Coord(v)[0], 1.0 / 8.0);
    v[1] = 10.0f;
    EXPECT_DOUBLE_EQ(f.Coord(v)[0], 5.0 / 8.0);
}

TEST(ContourFill, TwoDirectionsRampDiagonally)
{
    // X (display z) with 2 bands, Y (display x) with 3.
    std::array<float, 3> lo{0, 0, 0}, hi{3, 1, 2};
    FillTexture f = MakeFillTexture(1 | 2, lo, hi, {false, false, false}, {1, 2, 0});
    ASSERT_EQ(f.dimensions, 2);
    EXPECT_EQ(f.axes, (std::array<int, 2>{2, 0}));
    EXPECT_EQ(f.width(), 2);
    EXPECT_EQ(f.height(), 4);
    std::vector<std::uint8_t> t = FillTexels(f, 1, 255);
    for (int k1 = 0; k1 < 2; ++k1)
        for (int k2 = 0; k2 < 3; ++k2)
            EXPECT_EQ(texel(t, f, k1, k2), mapColor(1, (k1 + k2) / 3.0f, 255)) << k1 << " " << k2;
    EXPECT_EQ(texel(t, f, 1, 3), texel(t, f, 1, 2));
}

TEST(ContourFill, OneBandAndFlatRangesDivideByNothing)
{
    std::array<float, 3> lo{0, 1, 0}, hi{0, 1, 0};
    FillTexture f = MakeFillTexture(4, lo, hi, {false, false, false}, {0, 0, -5});
    EXPECT_EQ(f.bands[0].bands, 1);
    std::vector<std::uint8_t> t = FillTexels(f, 0, 255);
    EXPECT_EQ(texel(t, f, 0), mapColor(0, 0.0f, 255));
    EXPECT_EQ(texel(t, f, 1), mapColor(0, 0.0f, 255));
    EXPECT_EQ(f.Coord({0.0f, 1.0f, 0.0f})[0], 0.0);
    // Automatic bands of a flat range, and huge counts.
    f = MakeFillTexture(1 | 2 | 4, lo, hi, {true, true, true}, {32767, 32767, 32767});
    EXPECT_EQ(f.dimensions, 2);
    EXPECT_EQ(FillTexels(f, 0, 255).size(), std::size_t(f.width()) * std::size_t(f.height()) * 4);
    std::array<float, 3> wide{10, 10, 10};
    f = MakeFillTexture(1 | 2, lo, wide, {false, false, false}, {32767, 32767, 0});
    EXPECT_EQ(f.width(), 128);
    EXPECT_EQ(f.height(), 128);
}

// ---------------------------------------------------------------- cases

TEST(ContourCase, CornersOnTheLevelCountAsAbove)
{
    // c0 on the level, the rest below: the centre (0) is below, c0 is not.
    EXPECT_EQ(ContourCase(1.0, 0.0, 0.0, 0.0, 1.0), 13);
    // Just above every corner: nothing crosses.
    EXPECT_EQ(ContourCase(1.0, 0.0, 0.0, 0.0, 1.0000001), 15);
    // All on the level: all above, nothing crosses.
    EXPECT_EQ(ContourCase(1.0, 1.0, 1.0, 1.0, 1.0), 15);
}

TEST(ContourCase, SaddleCells)
{
    // c0 and c3 above, c1 and c2 below, and the other way round: the
    // centre sides with c1 and c2, so the lines cut off c0 and c3.
    EXPECT_EQ(ContourCase(1.0, 0.0, 0.0, 1.0, 0.5), 5);
    EXPECT_EQ(ContourCase(0.0, 1.0, 1.0, 0.0, 0.5), 5);
}

// ---------------------------------------------------------------- tracing

TEST(ContourTracer, PlaneGivesStraightLinesAtTheNiceLevels)
{
    // z = x over a 3 × 3 grid (data X is the row index, display z).
    Heights s(3, 3, [](double i, double) { return i; });
    ContourTracer t(2, true, 0);
    std::vector<Curve> curves = traceZ(s, true, 0, &t);
    ASSERT_EQ(t.levels().size(), 21u);
    // The levels at the ends of the range touch the data only at its
    // extremes; the 19 inside each give one straight line across.
    ASSERT_EQ(curves.size(), 19u);
    for (const Curve& c : curves) {
        double L = t.levels()[std::size_t(c.level)];
        EXPECT_FALSE(c.closed);
        ASSERT_GE(c.points.size(), 2u);
        for (const ContourPoint& p : c.points)
            EXPECT_NEAR(p[2], L, 1e-12);
        EXPECT_EQ(std::min(c.points.front()[0], c.points.back()[0]), 0.0);
        EXPECT_EQ(std::max(c.points.front()[0], c.points.back()[0]), 2.0);
    }
    expectOnLevels(s, curves, t.levels());
}

TEST(ContourTracer, ManualCountThreeDrawsTheInteriorLevels)
{
    Heights s(5, 4, [](double i, double) { return i; });
    ContourTracer t(2, false, 3);
    std::vector<Curve> curves = traceZ(s, false, 3, &t);
    EXPECT_EQ(t.levels(), (std::vector<double>{0, 1, 2, 3, 4}));
    ASSERT_EQ(curves.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(curves[k].level, std::int32_t(k + 1));
    expectOnLevels(s, curves, t.levels());
}

TEST(ContourTracer, ConstantSurfaceDrawsNothing)
{
    Heights s(6, 6, [](double, double) { return 2.5; });
    ContourTracer t(2, true, 0);
    EXPECT_FALSE(t.SetRange(s.min(), s.max()));
    Collect sink;
    EXPECT_TRUE(t.Trace(s.grid(), sink));
    EXPECT_TRUE(sink.curves.empty());
    EXPECT_EQ(t.error(), ContourTracer::Error::None);
}

TEST(ContourTracer, ConeRingsAreClosed)
{
    // A cone (apex slightly off the grid's points, so no level meets a
    // vertex): rings well inside the grid are single closed curves.
    const double ci = 20.0, cj = 20.3;
    Heights s(41, 41, [&](double i, double j) { return -std::hypot(i - ci, j - cj); });
    for (bool automatic : {true, false}) {
        ContourTracer t(2, automatic, 12);
        std::vector<Curve> curves = traceZ(s, automatic, 12, &t);
        ASSERT_FALSE(curves.empty());
        expectOnLevels(s, curves, t.levels());
        std::vector<int> perLevel(t.levels().size(), 0);
        for (const Curve& c : curves) {
            double r = -t.levels()[std::size_t(c.level)];
            ++perLevel[std::size_t(c.level)];
            if (r < 19.0) {
                EXPECT_TRUE(c.closed) << "ring of radius " << r;
                EXPECT_EQ(c.points.front(), c.points.back());
                // It goes round the apex: its points lie about r from it.
                for (const ContourPoint& p : c.points)
                    EXPECT_NEAR(std::hypot(p[2] - ci, p[0] - cj), r, 0.6);
            } else if (r > 21.0) {
                EXPECT_FALSE(c.closed);
                EXPECT_TRUE(onBorder(s, c.points.front()));
                EXPECT_TRUE(onBorder(s, c.points.back()));
            }
        }
        for (std::size_t k = 0; k < perLevel.size(); ++k)
            if (-t.levels()[k] > 0.5 && -t.levels()[k] < 19.0) {
                EXPECT_EQ(perLevel[k], 1) << "level " << t.levels()[k];
            }
    }
}

TEST(ContourTracer, ClosedCurvesOfManyRingsEnd)
{
    // Bumps everywhere: hundreds of small rings, all closed, none lost,
    // every cell passed at most once per segment.
    Heights s(60, 50, [](double i, double j) { return std::sin(i * 0.9) * std::sin(j * 0.8 + 0.1); });
    ContourTracer t(2, false, 7);
    std::vector<Curve> curves = traceZ(s, false, 7, &t);
    std::size_t closed = 0;
    for (const Curve& c : curves) {
        if (c.closed) {
            ++closed;
            EXPECT_EQ(c.points.front(), c.points.back());
        } else {
            EXPECT_TRUE(onBorder(s, c.points.front()) && onBorder(s, c.points.back()));
        }
    }
    EXPECT_GT(closed, 100u);
    expectOnLevels(s, curves, t.levels());
    expectNoCrossings(curves);
    EXPECT_LE(t.cellsPassed(), 2u * 59u * 49u * t.levels().size());
}

TEST(ContourTracer, SaddleLinesNeverCross)
{
    // A single saddle cell: two segments, each cutting off its corner.
    Heights one(2, 2, [](double i, double j) { return i == j ? 1.0 : 0.0; });
    ContourTracer t(2, false, 1);
    std::vector<Curve> curves = traceZ(one, false, 1, &t);
    ASSERT_EQ(curves.size(), 2u);
    expectOnLevels(one, curves, t.levels());
    expectNoCrossings(curves);
    for (const Curve& c : curves) {
        ASSERT_EQ(c.points.size(), 3u);
        // Through the half-diagonal of c0 or c3, a quarter of the way in.
        const ContourPoint& mid = c.points[1];
        EXPECT_TRUE((mid[0] == 0.25 && mid[2] == 0.25) || (mid[0] == 0.75 && mid[2] == 0.75));
    }

    // Many saddles, with levels through the saddle points themselves.
    Heights s(21, 21, [](double i, double j) { return (i - 10.0) * (j - 10.0) + 0.3 * std::sin(i + 2 * j); });
    for (std::int32_t count : {1, 9, 40}) {
        std::vector<Curve> c = traceZ(s, false, count, &t);
        expectOnLevels(s, c, t.levels());
        expectNoCrossings(c);
    }
    Heights exact(21, 21, [](double i, double j) { return (i - 10.0) * (j - 10.0); });
    std::vector<Curve> c = traceZ(exact, false, 1, &t);
    ASSERT_EQ(t.levels()[1], 0.0);
    expectOnLevels(exact, c, t.levels());
    expectNoCrossings(c);
}

TEST(ContourTracer, OddCountsAreSafe)
{
    Heights s(30, 25, [](double i, double j) { return std::cos(i * 0.3) + std::sin(j * 0.25); });
    for (std::int32_t count : {-1, 0, 200, 32767, -32768}) {
        ContourTracer t(2, false, count);
        std::vector<Curve> curves = traceZ(s, false, count, &t);
        EXPECT_LE(t.levels().size(), std::size_t(kMaxContourLevels));
        EXPECT_EQ(curves.empty(), count <= 0);
        expectOnLevels(s, curves, t.levels());
    }
}

TEST(ContourTracer, XAndYContoursAreStraightOnAMatrix)
{
    // Heights do not matter to X and Y contours of a matrix surface: X
    // (display z, the row) and Y (display x, the column) are the grid's.
    std::vector<float> h(4 * 5);
    for (std::size_t k = 0; k < h.size(); ++k)
        h[k] = float(k % 7) * 0.5f;
    GridSource g{h.data(), nullptr, nullptr, 4, 5};
    BoundingRecord rect;
    rect.min = {0.0f, 0.0f, 0.0f};
    rect.max = {4.0f, 3.0f, 3.0f};
    for (int direction : {0, 1}) {
        ContourTracer t(direction, true, 0);
        ASSERT_TRUE(t.SetRange(rect));
        Collect sink;
        ASSERT_TRUE(t.Trace(g, sink));
        ASSERT_FALSE(sink.curves.empty());
        int axis = direction == 0 ? 2 : 0;
        EXPECT_EQ(t.displayAxis(), axis);
        for (const Curve& c : sink.curves) {
            double L = t.levels()[std::size_t(c.level)];
            EXPECT_GT(L, 0.0);
            for (const ContourPoint& p : c.points)
                EXPECT_NEAR(p[std::size_t(axis)], L, 1e-6);
            // The height along the line follows the surface.
            for (const ContourPoint& p : c.points) {
                EXPECT_GE(p[1], 0.0);
                EXPECT_LE(p[1], 3.0);
            }
        }
    }
}

TEST(ContourTracer, ReducedGridsAreReadWhereTheirLinesLie)
{
    // A picture reduces a fine grid to fewer rows and columns: the lines
    // are traced on what is drawn, in the full grid's coordinates.
    const std::int32_t n = 101;
    std::vector<float> h(std::size_t(n) * std::size_t(n));
    for (std::int32_t j = 0; j < n; ++j)
        for (std::int32_t i = 0; i < n; ++i)
            h[std::size_t(i) + std::size_t(j) * std::size_t(n)] = float(i) + 0.001f * float(j);
    ReducedGrid reduced;
    GridSource thin = reduced.Reduce(GridSource{h.data(), nullptr, nullptr, n, n}, 30);
    ASSERT_LT(thin.rows, n);
    ASSERT_NE(thin.rowAt, nullptr);
    ContourTracer t(2, false, 4);
    ASSERT_TRUE(t.SetRange(0.0, 100.1));
    Collect sink;
    ASSERT_TRUE(t.Trace(thin, sink));
    ASSERT_EQ(sink.curves.size(), 4u);
    for (const Curve& c : sink.curves) {
        double L = t.levels()[std::size_t(c.level)];
        // Across the whole grid, along the rows where the height is L.
        EXPECT_EQ(std::min(c.points.front()[0], c.points.back()[0]), 0.0);
        EXPECT_EQ(std::max(c.points.front()[0], c.points.back()[0]), 100.0);
        for (const ContourPoint& p : c.points)
            EXPECT_NEAR(p[2] + 0.001 * p[0], L, 0.01);
    }
}

TEST(ContourTracer, ThinGridsAndOddDataAreSafe)
{
    // One row, one column: no cells.
    Heights row(1, 30, [](double, double j) { return j; });
    EXPECT_TRUE(traceZ(row, true, 0).empty());
    Heights col(30, 1, [](double i, double) { return i; });
    EXPECT_TRUE(traceZ(col, true, 0).empty());

    // Stored vertices with a NaN among them.
    std::vector<float> xyz;
    for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 7; ++i) {
            float y = float(i * j % 5);
            if (i == 3 && j == 2)
                y = std::numeric_limits<float>::quiet_NaN();
            xyz.insert(xyz.end(), {float(j), y, float(i)});
        }
    GridSource g{nullptr, xyz.data(), nullptr, 7, 6};
    ContourTracer t(2, false, 6);
    ASSERT_TRUE(t.SetRange(0.0, 4.0));
    Collect sink;
    EXPECT_TRUE(t.Trace(g, sink));
    EXPECT_FALSE(sink.curves.empty());
}

TEST(ContourTracer, TheSinkCanStopIt)
{
    Heights s(40, 40, [](double i, double j) { return std::sin(i * 0.5) * std::cos(j * 0.4); });
    ContourTracer t(2, false, 10);
    ASSERT_TRUE(t.SetRange(s.min(), s.max()));
    Collect sink;
    sink.stopAfter = 3;
    EXPECT_FALSE(t.Trace(s.grid(), sink));
    EXPECT_EQ(t.error(), ContourTracer::Error::Interrupted);
    EXPECT_EQ(sink.curves.size(), 3u);
}

// ---------------------------------------------------------------- numbers

std::vector<std::array<double, 2>> flatWindow(const std::vector<ContourPoint>& pts, double scale, double dx, double dy)
{
    std::vector<std::array<double, 2>> w;
    for (const ContourPoint& p : pts)
        w.push_back({dx + p[2] * scale, dy + p[0] * scale});
    return w;
}

TEST(ContourLabels, NumbersAreAThirdOfThePlotApartAlongACurve)
{
    ContourLabeler labeler(0, 0, 600, 450);
    EXPECT_EQ(labeler.spacing(), 200.0);
    // A long wave well inside the area, about 8 pixels between points.
    std::vector<ContourPoint> pts;
    for (int k = 0; k <= 500; ++k)
        pts.push_back({225.0 + 150.0 * std::sin(k * 0.05), 0.0, 60.0 + k});
    std::vector<std::array<double, 2>> w;
    for (const ContourPoint& p : pts)
        w.push_back({p[2], p[0]});
    labeler.Offer(0, pts, w, 30, 12);
    const auto& l = labeler.labels();
    ASSERT_GE(l.size(), 2u);
    EXPECT_EQ(l[0].window, w[0]);
    for (std::size_t k = 1; k < l.size(); ++k) {
        // Measured along the curve, in rounded pixels.
        double along = 0.0;
        std::size_t a = 0, b = 0;
        for (std::size_t n = 0; n < w.size(); ++n) {
            if (w[n] == l[k - 1].window)
                a = n;
            if (w[n] == l[k].window)
                b = n;
        }
        for (std::size_t n = a + 1; n <= b; ++n)
            along += std::round(std::hypot(w[n][0] - w[n - 1][0], w[n][1] - w[n - 1][1]));
        EXPECT_GE(along, 200.0);
        EXPECT_LE(along, 208.0);
    }
}

TEST(ContourLabels, NumbersNeverOverlapAndKeepOffTheEdges)
{
    // The rings of a cone, close together, in a 500 × 400 plot area at
    // (20, 30).
    Heights s(61, 61, [](double i, double j) { return -std::hypot(i - 30.0, j - 30.2); });
    ContourTracer t(2, false, 60);
    std::vector<Curve> curves = traceZ(s, false, 60, &t);
    ASSERT_GT(curves.size(), 40u);
    ContourLabeler labeler(20, 30, 500, 400);
    for (const Curve& c : curves) {
        auto w = flatWindow(c.points, 400.0 / 60.0, 70.0, 30.0);
        labeler.Offer(c.level, c.points, w, 34, 11);
    }
    const auto& l = labeler.labels();
    ASSERT_GT(l.size(), 10u);
    for (std::size_t a = 0; a < l.size(); ++a) {
        const auto& p = l[a].window;
        EXPECT_GT(p[0] - 20.0, 34.0);
        EXPECT_GE(p[1] - 30.0, 22.0);
        EXPECT_GT(430.0 - p[1], 22.0);
        EXPECT_GT(520.0 - p[0], 34.0);
        EXPECT_GE(l[a].box.right - l[a].box.left, 34.0);
        for (std::size_t b = a + 1; b < l.size(); ++b)
            EXPECT_FALSE(l[a].box.Overlaps(l[b].box)) << a << " and " << b;
    }
}

TEST(ContourLabels, NothingToMeasureNothingPlaced)
{
    ContourLabeler labeler(0, 0, 0, 0);
    std::vector<ContourPoint> pts{{0, 0, 0}, {1, 0, 1}};
    std::vector<std::array<double, 2>> w{{0, 0}, {1, 1}};
    labeler.Offer(0, pts, w, 10, 10);
    labeler.Offer(0, pts, w, 0, 10);
    EXPECT_TRUE(labeler.labels().empty());
}

} // namespace
