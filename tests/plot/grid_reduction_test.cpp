// Grids finer than the picture: the lines kept, and the extremes that a
// reduced grid must not lose (one-cell spikes and dips, one-row ridges, the
// top of a hill between kept lines), for height grids and stored vertices;
// and the lines that carry features one cell wide up to their true height.
#include "plot/model/grid_reduction.h"
#include "plot/model/thin_features.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace halvex;

namespace {

std::vector<float> heightGrid(int rows, int cols, const std::function<float(int, int)>& f)
{
    std::vector<float> h(std::size_t(rows) * std::size_t(cols));
    for (int j = 0; j < cols; ++j)
        for (int i = 0; i < rows; ++i)
            h[std::size_t(i) + std::size_t(j) * std::size_t(rows)] = f(i, j);
    return h;
}

float highest(const GridSource& g)
{
    float m = -1e30f;
    for (int j = 0; j < g.cols; ++j)
        for (int i = 0; i < g.rows; ++i)
            m = std::max(m, g.at(i, j)[1]);
    return m;
}

float lowest(const GridSource& g)
{
    float m = 1e30f;
    for (int j = 0; j < g.cols; ++j)
        for (int i = 0; i < g.rows; ++i)
            m = std::min(m, g.at(i, j)[1]);
    return m;
}

TEST(GridReduction, KeptLinesStayWithinTheLimitAndKeepBothEnds)
{
    EXPECT_EQ(KeptLines(5, 0).size(), 5u);
    EXPECT_EQ(KeptLines(5, 5).size(), 5u);
    EXPECT_TRUE(KeptLines(0, 10).empty());
    std::vector<std::int32_t> k = KeptLines(101, 30);
    // 100 intervals in at most 29: every 4th line, and the last.
    EXPECT_EQ(k.size(), 26u);
    EXPECT_EQ(k.front(), 0);
    EXPECT_EQ(k[1], 4);
    EXPECT_EQ(k.back(), 100);
    for (std::int32_t n : {2, 3, 57, 1000, 1001, 4097})
        for (std::int32_t limit : {2, 3, 7, 60, 400}) {
            std::vector<std::int32_t> kept = KeptLines(n, limit);
            EXPECT_LE(std::int32_t(kept.size()), std::max(limit, 2)) << n << " " << limit;
            EXPECT_EQ(kept.front(), 0);
            EXPECT_EQ(kept.back(), n - 1);
            EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
            EXPECT_EQ(std::adjacent_find(kept.begin(), kept.end()), kept.end());
        }
}

TEST(GridReduction, GridsWithinTheLimitAreDrawnWhole)
{
    std::vector<float> h = heightGrid(40, 50, [](int i, int j) { return float(i * j); });
    GridSource g{h.data(), nullptr, nullptr, 40, 50};
    ReducedGrid r;
    GridSource same = r.Reduce(g, 60);
    EXPECT_EQ(same.heights, h.data());
    EXPECT_EQ(same.rows, 40);
    EXPECT_EQ(r.Reduce(g, 0).cols, 50);
}

TEST(GridReduction, SmoothDataComeOutAsPlainSamples)
{
    // A tilted plane: no block holds anything the samples do not show.
    const int n = 301;
    std::vector<float> h = heightGrid(n, n, [](int i, int j) { return 0.5f * float(i) - 0.25f * float(j); });
    GridSource g{h.data(), nullptr, nullptr, n, n};
    ReducedGrid r;
    GridSource t = r.Reduce(g, 40);
    ASSERT_LE(t.rows, 40);
    ASSERT_LE(t.cols, 40);
    std::vector<std::int32_t> kept = KeptLines(n, 40);
    for (int J = 0; J < t.cols; ++J)
        for (int I = 0; I < t.rows; ++I) {
            Vertex v = t.at(I, J);
            // On the full grid's lines, with the full grid's height there.
            EXPECT_EQ(v[2], float(kept[std::size_t(I)]));
            EXPECT_EQ(v[0], float(kept[std::size_t(J)]));
            EXPECT_EQ(v[1], g.at(kept[std::size_t(I)], kept[std::size_t(J)])[1]);
        }
    // The outline stays where it was.
    EXPECT_EQ(t.at(t.rows - 1, t.cols - 1)[2], float(n - 1));
}

TEST(GridReduction, OneCellSpikesDipsAndOneRowRidgesKeepTheirHeight)
{
    const int n = 1000;
    for (std::int32_t limit : {30, 61, 160, 400}) {
        std::vector<float> h = heightGrid(n, n, [](int i, int j) {
            if (i == 317 && j == 421)
                return 10.0f;
            if (i == 700 && j == 650)
                return -10.0f;
            if (i == 555 && j > 100 && j < 900)
                return 5.0f;
            return 0.0f;
        });
        GridSource g{h.data(), nullptr, nullptr, n, n};
        ReducedGrid r;
        GridSource t = r.Reduce(g, limit);
        ASSERT_LE(t.rows, limit);
        EXPECT_EQ(highest(t), 10.0f) << limit;
        EXPECT_EQ(lowest(t), -10.0f) << limit;
        // The ridge is a line of the reduced grid, from end to end; the
        // spike's vertex stands near the spike.
        int ridgeCells = 0;
        for (int I = 0; I < t.rows; ++I) {
            int here = 0;
            for (int J = 0; J < t.cols; ++J)
                here += t.at(I, J)[1] == 5.0f ? 1 : 0;
            ridgeCells = std::max(ridgeCells, here);
        }
        float step = float(n - 1) / float(t.rows - 1);
        EXPECT_GE(ridgeCells, int(800 / step) - 2) << limit;
        for (int J = 0; J < t.cols; ++J)
            for (int I = 0; I < t.rows; ++I)
                if (t.at(I, J)[1] == 10.0f) {
                    EXPECT_LE(std::fabs(t.at(I, J)[2] - 317.0f), step) << limit;
                    EXPECT_LE(std::fabs(t.at(I, J)[0] - 421.0f), step) << limit;
                }
    }
}

TEST(GridReduction, HillTopsBetweenKeptLinesAreKept)
{
    const int n = 200;
    // A narrow bump whose top lies between the lines a limit of 20 keeps.
    std::vector<float> h = heightGrid(n, n, [](int i, int j) {
        float di = float(i) - 104.5f, dj = float(j) - 93.5f;
        return std::exp(-(di * di + dj * dj) / 30.0f);
    });
    GridSource g{h.data(), nullptr, nullptr, n, n};
    float top = *std::max_element(h.begin(), h.end());
    ReducedGrid r;
    EXPECT_EQ(highest(r.Reduce(g, 20)), top);
}

TEST(GridReduction, StoredVerticesMoveWholeWithTheirNormals)
{
    const int rows = 90, cols = 90;
    std::vector<float> xyz, normals;
    for (int j = 0; j < cols; ++j)
        for (int i = 0; i < rows; ++i) {
            float height = (i == 44 && j == 45) ? 7.0f : 0.0f;
            xyz.insert(xyz.end(), {float(j) * 0.5f, height, float(i) * 0.25f});
            normals.insert(normals.end(), {0.0f, height == 0.0f ? 1.0f : 0.0f, height == 0.0f ? 0.0f : 1.0f});
        }
    GridSource g{nullptr, xyz.data(), normals.data(), rows, cols};
    ReducedGrid r;
    GridSource t = r.Reduce(g, 12);
    ASSERT_NE(t.xyz, nullptr);
    ASSERT_NE(t.normals, nullptr);
    EXPECT_EQ(t.rowAt, nullptr);
    bool found = false;
    for (int J = 0; J < t.cols; ++J)
        for (int I = 0; I < t.rows; ++I)
            if (t.at(I, J)[1] == 7.0f) {
                found = true;
                // The spike's own vertex, position and normal.
                EXPECT_EQ(t.at(I, J)[0], 45.0f * 0.5f);
                EXPECT_EQ(t.at(I, J)[2], 44.0f * 0.25f);
                EXPECT_EQ(t.storedNormal(I, J)[2], 1.0f);
            }
    EXPECT_TRUE(found);
}

TEST(GridReduction, AReductionIsKeptUntilItsGridChanges)
{
    std::vector<float> h = heightGrid(100, 100, [](int i, int j) { return float((i * 7 + j * 3) % 11); });
    GridSource g{h.data(), nullptr, nullptr, 100, 100};
    ReducedGrid r;
    GridSource a = r.Reduce(g, 20);
    GridSource b = r.Reduce(g, 20);
    EXPECT_EQ(a.heights, b.heights);
    EXPECT_EQ(std::size_t(r.Reduce(g, 30).rows), KeptLines(100, 30).size());
    r.Clear();
    h[0] = 100.0f;
    EXPECT_EQ(highest(r.Reduce(g, 20)), 100.0f);
    // NaN never counts as an extreme; the sample there stays.
    std::vector<float> nan = heightGrid(50, 50, [](int i, int) { return i == 3 ? std::nanf("") : 1.0f; });
    GridSource gn{nan.data(), nullptr, nullptr, 50, 50};
    ReducedGrid rn;
    GridSource tn = rn.Reduce(gn, 10);
    EXPECT_EQ(tn.at(1, 1)[1], 1.0f);
}

TEST(ThinFeatures, SpikesGetANeedleAndRidgesACrestLine)
{
    const std::array<float, 3> unit{1.0f, 1.0f, 1.0f};
    std::vector<FeatureLine> lines;
    // A spike of 10 on a floor of 1: a needle from the floor to its top.
    std::vector<float> h = heightGrid(9, 9, [](int i, int j) { return i == 4 && j == 5 ? 10.0f : 1.0f; });
    FindThinFeatures({h.data(), nullptr, nullptr, 9, 9}, unit, lines);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].a, (Vertex{5.0f, 1.0f, 4.0f}));
    EXPECT_EQ(lines[0].b, (Vertex{5.0f, 10.0f, 4.0f}));
    // A dip the same way down.
    h = heightGrid(9, 9, [](int i, int j) { return i == 2 && j == 2 ? -5.0f : 0.0f; });
    FindThinFeatures({h.data(), nullptr, nullptr, 9, 9}, unit, lines);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].b[1], -5.0f);
    // A ridge along row 3, columns 2 … 6: a line along its crest.
    h = heightGrid(9, 9, [](int i, int j) { return i == 3 && j >= 2 && j <= 6 ? 8.0f : 0.0f; });
    FindThinFeatures({h.data(), nullptr, nullptr, 9, 9}, unit, lines);
    ASSERT_EQ(lines.size(), 4u);
    for (const FeatureLine& l : lines) {
        EXPECT_EQ(l.a[1], 8.0f);
        EXPECT_EQ(l.b[1], 8.0f);
        EXPECT_EQ(l.a[2], 3.0f);
    }
}

TEST(ThinFeatures, SmoothOrGentleShapesGetNone)
{
    const std::array<float, 3> unit{1.0f, 1.0f, 1.0f};
    std::vector<FeatureLine> lines;
    // A smooth hill: its top is a maximum, but no steep one.
    std::vector<float> h = heightGrid(21, 21, [](int i, int j) {
        float di = float(i) - 10.0f, dj = float(j) - 10.0f;
        return 5.0f * std::exp(-(di * di + dj * dj) / 20.0f);
    });
    FindThinFeatures({h.data(), nullptr, nullptr, 21, 21}, unit, lines);
    EXPECT_TRUE(lines.empty());
    // The same spike as above is gentle once the picture squeezes heights
    // (a box scale of 0.1 on the height).
    h = heightGrid(9, 9, [](int i, int j) { return i == 4 && j == 5 ? 10.0f : 1.0f; });
    FindThinFeatures({h.data(), nullptr, nullptr, 9, 9}, {1.0f, 0.1f, 1.0f}, lines);
    EXPECT_TRUE(lines.empty());
    // Too small a grid has no features.
    FindThinFeatures({h.data(), nullptr, nullptr, 1, 9}, unit, lines);
    EXPECT_TRUE(lines.empty());
}

} // namespace
