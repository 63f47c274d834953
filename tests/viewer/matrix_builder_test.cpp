#include "viewer/data/matrix_builder.h"
#include "viewer/data/matrix_error.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace tavrin;

namespace {

MatrixSettings settings(IndexRect r, bool scale = false, int fill = FillNone)
{
    MatrixSettings s;
    s.rect = r;
    s.yesScale = scale;
    s.modeMatrixFill = fill;
    return s;
}

VisualizationMatrix build(std::string text, const MatrixSettings& s)
{
    auto m = BuildMatrix(DataLines(std::move(text)), s);
    if (!m)
        throw std::runtime_error("no matrix");
    return std::move(*m);
}

// Cells that differ from the fill value, as (i, j, value).
struct Cell {
    std::int64_t i, j;
    double v;
    bool operator==(const Cell&) const = default;
};

std::vector<Cell> placed(const VisualizationMatrix& m, double fill)
{
    std::vector<Cell> out;
    const IndexRect& r = m.rect();
    for (std::int64_t j = r.ymin; j <= r.ymax; ++j)
        for (std::int64_t i = r.xmin; i <= r.xmax; ++i)
            if (m.at(i, j) != fill)
                out.push_back({i, j, m.at(i, j)});
    return out;
}

const char* kDiagonal = "1 1 10\n2 2 20\n3 3 30\n";

} // namespace

TEST(BuildMatrix, WithoutScalingTheSmallestXLandsOnIndexZero)
{
    auto m = build(kDiagonal, settings({0, 5, 0, 5}));
    EXPECT_EQ(m.width(), 6u);
    EXPECT_EQ(m.height(), 6u);
    EXPECT_EQ(placed(m, 0), (std::vector<Cell>{{0, 0, 10}, {1, 1, 20}, {2, 2, 30}}));
}

TEST(BuildMatrix, ScalingStretchesTheSpanAndRoundsHalfToEven)
{
    // sX = sY = 2.5: X = 2 gives 2.5 -> 2, X = 3 gives 5.
    auto m = build(kDiagonal, settings({0, 5, 0, 5}, true));
    EXPECT_EQ(placed(m, 0), (std::vector<Cell>{{0, 0, 10}, {2, 2, 20}, {5, 5, 30}}));
}

TEST(BuildMatrix, ScaledSpanLandsOnZeroToWidth)
{
    std::string text;
    for (double x : {0.2, 3.0, 6.1, 12.0})
        text += std::to_string(x) + " 0 " + std::to_string(x) + "\n";
    auto m = build(text, settings({0, 36, 0, 0}, true));
    EXPECT_EQ(m.at(0, 0), 0.2);
    EXPECT_EQ(m.at(36, 0), 12.0);
    double sx = 36 / 11.8;
    EXPECT_EQ(m.at(static_cast<std::int64_t>(std::nearbyint((3.0 - 0.2) * sx)), 0), 3.0);
}

TEST(BuildMatrix, RectangleNotStartingAtZeroDropsLowIndices)
{
    // Xmin = 5, Xmax = 40, scaled: data lands on 0..35; below 5 is dropped.
    std::string text;
    for (int x = 0; x <= 35; ++x)
        text += std::to_string(x) + " 0 " + std::to_string(x + 100) + "\n";
    auto m = build(text, settings({5, 40, 0, 0}, true));
    for (int i = 5; i <= 35; ++i)
        EXPECT_EQ(m.at(i, 0), i + 100) << i;
    for (int i = 36; i <= 40; ++i)
        EXPECT_EQ(m.at(i, 0), 0.0) << i;
}

TEST(BuildMatrix, TinySpanLeavesTheScaleAtOne)
{
    auto m = build("5 1 1\n5.00005 2 2\n5 3 3\n", settings({0, 10, 0, 10}, true));
    // sX stays 1: every point lands on i = 0; sY = 10 / 2 = 5.
    EXPECT_EQ(placed(m, 0), (std::vector<Cell>{{0, 0, 1}, {0, 5, 2}, {0, 10, 3}}));
}

TEST(MapIndex, NearestIntegerThenTruncationAgainstTheBounds)
{
    std::int64_t i = 99;
    EXPECT_TRUE(MapIndex(-0.4, 0, 36, i));
    EXPECT_EQ(i, 0);
    EXPECT_TRUE(MapIndex(-0.6, 0, 36, i)); // -1 is outside; truncation gives 0
    EXPECT_EQ(i, 0);
    EXPECT_TRUE(MapIndex(36.7, 0, 36, i)); // 37 is outside; truncation gives 36
    EXPECT_EQ(i, 36);
    EXPECT_FALSE(MapIndex(37.2, 0, 36, i));
    EXPECT_TRUE(MapIndex(2.5, 0, 36, i));
    EXPECT_EQ(i, 2);
    EXPECT_TRUE(MapIndex(3.5, 0, 36, i));
    EXPECT_EQ(i, 4);
    EXPECT_TRUE(MapIndex(-2.5, -5, 5, i));
    EXPECT_EQ(i, -2);
    EXPECT_FALSE(MapIndex(std::nan(""), 0, 36, i));
    EXPECT_FALSE(MapIndex(INFINITY, 0, 36, i));
    EXPECT_FALSE(MapIndex(-INFINITY, 0, 36, i));
    EXPECT_FALSE(MapIndex(1e300, INT32_MIN, INT32_MAX, i));
    EXPECT_FALSE(MapIndex(4503599627370497.0, 0, 36, i));
    EXPECT_TRUE(MapIndex(2147483647.4, 0, INT32_MAX, i));
    EXPECT_EQ(i, INT32_MAX);
    EXPECT_TRUE(MapIndex(2147483647.5, 0, INT32_MAX, i)); // rounds to 2^31, truncates back
    EXPECT_EQ(i, INT32_MAX);
}

TEST(BuildMatrix, PointsPastTheRectangleTruncateOrDrop)
{
    EXPECT_EQ(build("0 0 1\n36.7 0 2\n", settings({0, 36, 0, 0})).at(36, 0), 2.0);
    EXPECT_EQ(placed(build("0 0 1\n37.2 0 2\n", settings({0, 36, 0, 0})), 0), (std::vector<Cell>{{0, 0, 1}}));
    // With Xmin = 1: X' = 0 and 0.4 fall below even after truncation.
    EXPECT_EQ(placed(build("0 0 1\n0.6 0 2\n0.4 0 3\n", settings({1, 36, 0, 0})), 0),
              (std::vector<Cell>{{1, 0, 2}}));
}

TEST(BuildMatrix, FieldsDefaultsAndCommas)
{
    MatrixSettings s = settings({0, 5, 0, 5});
    s.xdef = 1;
    s.ydef = 2;
    s.zdef = 9;
    // minX = minY = 0 from the first line.
    auto m = build("0 0 0\n1,5;2,5;3\n1 2\n1 abc 3\n", s);
    EXPECT_EQ(m.at(2, 2), 3.0);  // 1.5 -> 2 (half to even), 2.5 -> 2
    EXPECT_EQ(m.at(1, 2), 3.0);  // "1 abc 3": Y = Ydef = 2
    // "1 2" has Z = Zdef = 9 but was overwritten by the later "1 abc 3".
    auto m2 = build("0 0 0\n1 2\n", s);
    EXPECT_EQ(m2.at(1, 2), 9.0);
}

TEST(BuildMatrix, CommentsTabsAndEmptyLines)
{
    MatrixSettings s = settings({0, 5, 0, 5});
    s.xdef = 3;
    auto m = build("   * X Y Z\n/ comment\n\n   \n0 0 1\n\t* 4 5\n", s);
    // "\t* 4 5": X = Xdef = 3, Y = 4, Z = 5.
    EXPECT_EQ(placed(m, 0), (std::vector<Cell>{{0, 0, 1}, {3, 4, 5}}));
}

TEST(BuildMatrix, LaterPointsReplaceEarlierOnes)
{
    auto m = build("0 0 1\n0 0 2\n", settings({0, 1, 0, 1}));
    EXPECT_EQ(m.at(0, 0), 2.0);
}

TEST(BuildMatrix, FillModes)
{
    const char* text = "0 0 1\n1 0 2\n2 0 9\n";
    IndexRect r{0, 3, 0, 1};
    EXPECT_EQ(build(text, settings(r, false, FillNone)).at(3, 1), 0.0);
    EXPECT_EQ(build(text, settings(r, false, FillMin)).at(3, 1), 1.0);
    EXPECT_EQ(build(text, settings(r, false, FillMax)).at(3, 1), 9.0);
    EXPECT_EQ(build(text, settings(r, false, FillMid)).at(3, 1), 5.0); // not the average 4
    EXPECT_EQ(build(text, settings(r, false, FillComputed)).at(3, 1), 0.0);
    auto mid = build(text, settings(r, false, FillMid));
    EXPECT_EQ(mid.at(2, 0), 9.0);
}

TEST(BuildMatrix, OnlyCommentsGiveZerosInEveryMode)
{
    for (int mode = 0; mode <= 4; ++mode) {
        auto m = build("* nothing\n/ here\n", settings({-2, 2, -2, 2}, true, mode));
        EXPECT_EQ(placed(m, 0), (std::vector<Cell>{})) << mode;
    }
}

TEST(BuildMatrix, EmptyListGivesNothing)
{
    EXPECT_FALSE(BuildMatrix(DataLines(), settings({0, 5, 0, 5})));
    // One empty line is a line: a matrix of zeros.
    EXPECT_TRUE(BuildMatrix(DataLines(std::string("\n")), settings({0, 5, 0, 5})));
}

TEST(BuildMatrix, BadRectanglesRaiseTheViewersError)
{
    for (IndexRect r : {IndexRect{5, 4, 0, 0}, IndexRect{0, 0, 1, 0}, IndexRect{INT32_MIN, INT32_MAX, 0, 0},
                        IndexRect{0, 100000, 0, 100000}}) {
        try {
            BuildMatrix(DataLines(std::string("1 1 1\n")), settings(r));
            FAIL() << "no exception";
        } catch (const MatrixError& e) {
            EXPECT_STREQ(e.what(), "Error creating variant array");
        }
    }
}

TEST(BuildMatrix, HugeAndNonFiniteIndicesDropThePoint)
{
    // A span near the double range: scaled X' of the far point is infinite
    // or huge; it must be dropped, never turned into an integer.
    // The span is infinite, so sX = 0: X' is 0 for finite offsets and NaN
    // (inf * 0) for the far point, which is dropped.
    auto m = build("-1e308 0 1\n1e308 0 2\n0 0 3\n", settings({0, 36, 0, 0}, true));
    EXPECT_EQ(placed(m, 0), (std::vector<Cell>{{0, 0, 3}}));
    auto m2 = build("0 0 1\n1e300 0 2\n", settings({-3, 36, 0, 0}));
    EXPECT_EQ(placed(m2, 0), (std::vector<Cell>{{0, 0, 1}}));
}

TEST(BuildMatrix, ExtremeRectangleBoundsDoNotOverflow)
{
    auto m = build("0 0 5\n", settings({INT32_MAX - 2, INT32_MAX, INT32_MIN, INT32_MIN + 1}));
    EXPECT_EQ(m.width(), 3u);
    EXPECT_EQ(m.height(), 2u);
    EXPECT_EQ(placed(m, 0), (std::vector<Cell>{}));
    auto scaled = build("0 0 5\n10 10 6\n", settings({INT32_MIN, INT32_MIN + 2, INT32_MAX - 1, INT32_MAX}, true));
    EXPECT_EQ(scaled.width(), 3u);
}

TEST(Summing, AddsCellByCellWithFillValues)
{
    MatrixSettings s = settings({0, 2, 0, 2});
    VisualizationMatrix sum(s.rect);
    AddToSum(sum, build("0 0 1\n", s));
    AddToSum(sum, build("0 0 2\n", s));
    EXPECT_EQ(sum.at(0, 0), 3.0);
    EXPECT_EQ(sum.at(1, 1), 0.0);

    MatrixSettings f = settings({0, 1, 0, 0}, false, FillMax);
    VisualizationMatrix sum2(f.rect);
    Pacer pacer([] {});
    AddToSum(sum2, build("0 0 4\n", f), &pacer);
    AddToSum(sum2, build("0 0 1\n", f), &pacer);
    EXPECT_EQ(sum2.at(1, 0), 5.0); // fill values add like data
    EXPECT_THROW(AddToSum(sum2, build("0 0 1\n", settings({0, 2, 0, 0}))), MatrixError);
}

TEST(Matrix, HandsOverAsTwoDimensionalDoubleArray)
{
    VisualizationMatrix m(IndexRect{-2, 1, 3, 4});
    m.at(-1, 4) = 7.5;
    platform::Variant v = m.toVariant();
    ASSERT_TRUE(v.isArray());
    EXPECT_EQ(v.type(), platform::VarType(platform::varArray | platform::varDouble));
    const platform::SafeArray* a = v.array();
    EXPECT_EQ(a->dimensions(), 2u);
    EXPECT_EQ(a->lowerBound(0), -2);
    EXPECT_EQ(a->upperBound(0), 1);
    EXPECT_EQ(a->lowerBound(1), 3);
    EXPECT_EQ(a->upperBound(1), 4);
    std::int32_t idx[2] = {-1, 4};
    EXPECT_EQ(a->get(*a->offsetOf(idx)).toDouble(), 7.5);
    EXPECT_EQ(a->data(), m.cells()); // no copy
}

TEST(PrepareFileLines, FillScriptLinesGoFirstOnlyInModeFour)
{
    testsupport::TempDir dir;
    std::string data = dir.write("surface.txt", "0 0 5\n");
    int runs = 0;
    FillScriptRunner runner = [&](const std::string& script, const IndexRect& r, std::vector<std::string>& out) {
        ++runs;
        EXPECT_EQ(script, dir.file("surface.Tavrin"));
        EXPECT_EQ(r.xmax, 3);
        out = {"0 0 1", "1 1 2"};
        return true;
    };
    MatrixSettings s = settings({0, 3, 0, 3}, false, FillComputed);
    // No script file yet: the file's own lines.
    EXPECT_EQ(PrepareFileLines(data, s, runner).toStrings(), (std::vector<std::string>{"0 0 5"}));
    EXPECT_EQ(runs, 0);
    dir.write("surface.Tavrin", "script text");
    DataLines lines = PrepareFileLines(data, s, runner);
    EXPECT_EQ(lines.toStrings(), (std::vector<std::string>{"0 0 1", "1 1 2", "0 0 5"}));
    auto m = BuildMatrix(lines, s);
    EXPECT_EQ(m->at(0, 0), 5.0); // the file's own point replaces the computed one
    EXPECT_EQ(m->at(1, 1), 2.0);
    // Other modes never run the script.
    s.modeMatrixFill = FillMid;
    EXPECT_EQ(PrepareFileLines(data, s, runner).toStrings().size(), 1u);
    EXPECT_EQ(runs, 1);
    // A failed or empty run leaves the file's lines alone.
    s.modeMatrixFill = FillComputed;
    FillScriptRunner fails = [](const std::string&, const IndexRect&, std::vector<std::string>& out) {
        out = {"9 9 9"};
        return false;
    };
    EXPECT_EQ(PrepareFileLines(data, s, fails).toStrings().size(), 1u);
    FillScriptRunner empty = [](const std::string&, const IndexRect&, std::vector<std::string>&) { return true; };
    EXPECT_EQ(PrepareFileLines(data, s, empty).toStrings().size(), 1u);
    // Without a script host, mode 4 behaves as if the script were missing.
    EXPECT_EQ(PrepareFileLines(data, s).toStrings().size(), 1u);
    // A run-time error of the script ends the command.
    FillScriptRunner throws = [](const std::string&, const IndexRect&, std::vector<std::string>&) -> bool {
        throw std::runtime_error("Division by zero");
    };
    EXPECT_THROW(PrepareFileLines(data, s, throws), std::runtime_error);
}

TEST(BuildMatrix, TwoThreadsGiveExactlyTheOneThreadResult)
{
    // Many points per cell, so the later half must win where both halves
    // write; line ends of every kind, so the split never breaks a CR LF.
    std::mt19937 rng(99);
    const char* ends[] = {"\n", "\r\n", "\r"};
    for (int round = 0; round < 20; ++round) {
        std::string text = "* header\r\n";
        int points = 50 + static_cast<int>(rng() % 3000);
        for (int k = 0; k < points; ++k) {
            text += std::to_string(rng() % 13) + (rng() % 2 ? " " : ";") + std::to_string(rng() % 9) + "\t" +
                    std::to_string(k) + ends[rng() % 3];
            if (rng() % 50 == 0)
                text += "/ comment\n";
        }
        MatrixSettings s = settings({0, 12, -2, 8}, round % 2 == 0, static_cast<int>(rng() % 4));
        DataLines lines((std::string_view(text)));
        if (round % 3 == 0)
            lines.setPrefix({"5 5 -1", "0 0 -2"});
        BuildOptions one;
        one.parallelMinBytes = SIZE_MAX;
        BuildOptions two;
        two.parallelMinBytes = 0;
        two.overlayShareOfFile = 1e9;
        auto a = BuildMatrix(lines, s, nullptr, one);
        auto b = BuildMatrix(lines, s, nullptr, two);
        ASSERT_EQ(a->cellCount(), b->cellCount());
        for (std::size_t c = 0; c < a->cellCount(); ++c)
            ASSERT_EQ(a->cells()[c], b->cells()[c]) << "round " << round << " cell " << c;
        DataExtremes e1 = ScanExtremes(lines, s, nullptr, one), e2 = ScanExtremes(lines, s, nullptr, two);
        EXPECT_EQ(e1.minX, e2.minX);
        EXPECT_EQ(e1.maxZ, e2.maxZ);
    }
}

TEST(DataLines, HalvesSplitAfterALineEnd)
{
    for (std::string text : {"aaaa\r\nbbbb\r\ncc", "aaaaaaaaaa", "ab\rcd\ref\r", "x\n"}) {
        DataLines d{std::string_view(text)};
        auto [first, second] = d.halves();
        std::vector<std::string> joined;
        for (DataLines::Part p : {first, second}) {
            auto c = d.cursor(p);
            std::string_view l;
            while (c.next(l))
                joined.emplace_back(l);
        }
        EXPECT_EQ(joined, d.toStrings()) << text;
        if (!second.empty()) {
            EXPECT_TRUE(text[second.begin - 1] == '\n' || text[second.begin - 1] == '\r');
            EXPECT_NE(text[second.begin], '\n');
        }
    }
}
