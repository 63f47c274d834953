// Normals of mesh drawing: triangle normals, quads, vertex normals inside
// and on the border, collapsed quads and meshes closed on themselves.
#include "plot/model/mesh_normals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace halvex;

namespace {

void expectVertex(const Vertex& v, float x, float y, float z, float tolerance = 1e-6f)
{
    EXPECT_NEAR(v[0], x, tolerance);
    EXPECT_NEAR(v[1], y, tolerance);
    EXPECT_NEAR(v[2], z, tolerance);
}

TEST(MeshNormals, FlatSurfacesFaceUp)
{
    std::vector<float> heights(4 * 5, 2.5f);
    GridSource g{heights.data(), nullptr, nullptr, 4, 5};
    VertexNormals normals(g);
    for (int i = 0; i < 4; ++i) {
        const float* row = normals.Row(i);
        for (int j = 0; j < 5; ++j)
            expectVertex({row[3 * j], row[3 * j + 1], row[3 * j + 2]}, 0, 1, 0);
    }
    expectVertex(QuadNormal(g, 1, 1), 0, 1, 0);
}

TEST(MeshNormals, AQuadGetsTheSumOfItsTwoTriangles)
{
    // Heights (i, j): only (1, 1) raised. The first triangle (0,0),(1,0),(0,1)
    // is flat; the second leans.
    std::vector<float> h{0, 0, 0, 1};
    GridSource g{h.data(), nullptr, nullptr, 2, 2};
    Vertex a, b;
    CellNormals(g, 0, 0, a, b);
    expectVertex(a, 0, 1, 0);
    // Second triangle: (1,0,1)-(1,0,0) ... corners (j, h, i): (0,0,1), (1,0,0), (1,1,1).
    Vertex expected = TriangleNormal({1, 1, 1}, {1, 0, 0}, {0, 0, 1});
    expectVertex(b, expected[0], expected[1], expected[2]);
    EXPECT_GT(b[1], 0.0f);
    Vertex sum{a[0] + b[0], a[1] + b[1], a[2] + b[2]};
    Vertex n = NormalizeOrUp(sum);
    expectVertex(QuadNormal(g, 0, 0), n[0], n[1], n[2]);
}

TEST(MeshNormals, ACollapsedQuadGivesTheFallback)
{
    // Stored vertices all on one line.
    std::vector<float> xyz{0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0};
    GridSource g{nullptr, xyz.data(), nullptr, 2, 2};
    expectVertex(QuadNormal(g, 0, 0), 0, 0, 1);
    expectVertex(TriangleNormal({0, 0, 0}, {1, 1, 1}, {2, 2, 2}), 0, 0, 0);
    VertexNormals normals(g);
    const float* row = normals.Row(0);
    expectVertex({row[0], row[1], row[2]}, 0, 0, 1);
}

TEST(MeshNormals, InteriorVerticesAverageSixTriangles)
{
    // A tilted plane: height = i. Every triangle has the same normal.
    std::vector<float> h(5 * 5);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i)
            h[std::size_t(i + j * 5)] = float(i);
    GridSource g{h.data(), nullptr, nullptr, 5, 5};
    VertexNormals normals(g);
    float s = 1.0f / std::sqrt(2.0f);
    for (int i : {0, 2, 4}) {
        const float* row = normals.Row(i);
        for (int j : {0, 2, 4})
            expectVertex({row[3 * j], row[3 * j + 1], row[3 * j + 2]}, 0, s, -s);
    }
    // A peak: the normal of the top points straight up.
    std::vector<float> peak(3 * 3, 0.0f);
    peak[4] = 1.0f;
    GridSource p{peak.data(), nullptr, nullptr, 3, 3};
    VertexNormals pn(p);
    const float* mid = pn.Row(1);
    EXPECT_GT(mid[3 + 1], 0.9f);
}

TEST(MeshNormals, AClosedMeshSharesItsSeam)
{
    // A cylinder: rows go round, the last row repeats the first.
    const int rows = 9, cols = 3;
    std::vector<float> xyz(std::size_t(3 * rows * cols));
    for (int j = 0; j < cols; ++j)
        for (int i = 0; i < rows; ++i) {
            double a = 2 * 3.14159265358979 * (i % (rows - 1)) / (rows - 1);
            float* v = xyz.data() + 3 * (i + j * rows);
            v[0] = float(std::cos(a));
            v[1] = float(j);
            v[2] = float(std::sin(a));
        }
    GridSource g{nullptr, xyz.data(), nullptr, rows, cols};
    VertexNormals normals(g);
    std::vector<float> first(normals.Row(0), normals.Row(0) + 3 * cols);
    const float* last = normals.Row(rows - 1);
    for (int k = 0; k < 3 * cols; ++k)
        EXPECT_NEAR(first[std::size_t(k)], last[k], 1e-6f);
    // On the seam the normal points along the radius, as everywhere else.
    EXPECT_NEAR(std::fabs(first[3]), 1.0f, 1e-3f);
    EXPECT_NEAR(first[4], 0.0f, 1e-3f);
}

TEST(MeshNormals, StoredNormalsAreTakenAsTheyAre)
{
    std::vector<float> h{0, 0, 0, 0};
    std::vector<float> n{1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0};
    GridSource g{h.data(), nullptr, n.data(), 2, 2};
    VertexNormals normals(g);
    const float* row = normals.Row(1);
    expectVertex({row[0], row[1], row[2]}, 0, 1, 0);
    Vertex q = QuadNormal(g, 0, 0);
    expectVertex(q, 2 / std::sqrt(6.0f), 1 / std::sqrt(6.0f), 1 / std::sqrt(6.0f));
}

} // namespace
