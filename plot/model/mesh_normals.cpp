#include "plot/model/mesh_normals.h"

#include <cmath>

namespace halvex {

namespace {

inline Vertex sub(const Vertex& a, const Vertex& b) noexcept
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

inline void addTo(float* s, const Vertex& v) noexcept
{
    s[0] += v[0];
    s[1] += v[1];
    s[2] += v[2];
}

inline bool coincide(const Vertex& a, const Vertex& b) noexcept
{
    return std::fabs(a[0] - b[0]) <= 1e-7f && std::fabs(a[1] - b[1]) <= 1e-7f && std::fabs(a[2] - b[2]) <= 1e-7f;
}

} // namespace

Vertex TriangleNormal(const Vertex& a, const Vertex& b, const Vertex& c) noexcept
{
    Vertex u = sub(b, a), v = sub(c, a);
    double nx = double(u[1]) * v[2] - double(u[2]) * v[1];
    double ny = double(u[2]) * v[0] - double(u[0]) * v[2];
    double nz = double(u[0]) * v[1] - double(u[1]) * v[0];
    double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    double lu = std::sqrt(double(u[0]) * u[0] + double(u[1]) * u[1] + double(u[2]) * u[2]);
    double lv = std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
    if (!(len > 1e-12 * lu * lv) || len == 0.0)
        return {0.0f, 0.0f, 0.0f};
    return {float(nx / len), float(ny / len), float(nz / len)};
}

Vertex NormalizeOrUp(const Vertex& n) noexcept
{
    double len = std::sqrt(double(n[0]) * n[0] + double(n[1]) * n[1] + double(n[2]) * n[2]);
    if (!(len > 0.0) || !std::isfinite(len))
        return {0.0f, 0.0f, 1.0f};
    return {float(n[0] / len), float(n[1] / len), float(n[2] / len)};
}

void CellNormals(const GridSource& g, std::int32_t i, std::int32_t j, Vertex& first, Vertex& second) noexcept
{
    Vertex v00 = g.at(i, j), v10 = g.at(i + 1, j), v01 = g.at(i, j + 1), v11 = g.at(i + 1, j + 1);
    first = TriangleNormal(v00, v10, v01);
    second = TriangleNormal(v11, v01, v10);
}

Vertex QuadNormal(const GridSource& g, std::int32_t i, std::int32_t j) noexcept
{
    Vertex s{0.0f, 0.0f, 0.0f};
    if (g.normals) {
        addTo(s.data(), g.storedNormal(i, j));
        addTo(s.data(), g.storedNormal(i + 1, j));
        addTo(s.data(), g.storedNormal(i, j + 1));
        addTo(s.data(), g.storedNormal(i + 1, j + 1));
    } else {
        Vertex a, b;
        CellNormals(g, i, j, a, b);
        addTo(s.data(), a);
        addTo(s.data(), b);
    }
    return NormalizeOrUp(s);
}

VertexNormals::VertexNormals(const GridSource& g) : g_(g)
{
    std::size_t cols = std::size_t(g.cols);
    row_.resize(3 * cols);
    if (g.normals || g.rows < 2 || g.cols < 1)
        return;
    std::size_t cells = cols > 1 ? cols - 1 : 0;
    cellA_.resize(2 * 3 * cells);
    cellB_.resize(2 * 3 * cells);
    // A matrix surface never closes on itself; a mesh may, row or column.
    if (!g.heights) {
        for (std::int32_t j = 0; j < g.cols && !closedRows_; ++j)
            closedRows_ = coincide(g.at(0, j), g.at(g.rows - 1, j));
        for (std::int32_t i = 0; i < g.rows && !closedCols_; ++i)
            closedCols_ = g.cols > 1 && coincide(g.at(i, 0), g.at(i, g.cols - 1));
    }
    if (closedRows_) {
        end0_.resize(3 * cols);
        end1_.resize(3 * cols);
        rawRow(0, end0_.data());
        rawRow(g.rows - 1, end1_.data());
    }
}

void VertexNormals::rawRow(std::int32_t i, float* out)
{
    const std::int32_t rows = g_.rows, cols = g_.cols;
    const std::int32_t cells = cols - 1;
    // Triangle normals of the cell rows above (i − 1) and at i.
    float* aPrev = cellA_.data();
    float* bPrev = cellB_.data();
    float* aHere = cellA_.data() + 3 * std::size_t(cells > 0 ? cells : 0);
    float* bHere = cellB_.data() + 3 * std::size_t(cells > 0 ? cells : 0);
    bool above = i > 0, below = i + 1 < rows;
    for (std::int32_t q = 0; q < cells; ++q) {
        Vertex a, b;
        if (above) {
            CellNormals(g_, i - 1, q, a, b);
            std::copy(a.begin(), a.end(), aPrev + 3 * q);
            std::copy(b.begin(), b.end(), bPrev + 3 * q);
        }
        if (below) {
            CellNormals(g_, i, q, a, b);
            std::copy(a.begin(), a.end(), aHere + 3 * q);
            std::copy(b.begin(), b.end(), bHere + 3 * q);
        }
    }
    for (std::int32_t j = 0; j < cols; ++j) {
        float s[3] = {0.0f, 0.0f, 0.0f};
        auto add = [&s](const float* n) {
            s[0] += n[0];
            s[1] += n[1];
            s[2] += n[2];
        };
        if (j > 0) {
            if (above)
                add(bPrev + 3 * (j - 1));
            if (below) {
                add(aHere + 3 * (j - 1));
                add(bHere + 3 * (j - 1));
            }
        }
        if (j < cells) {
            if (below)
                add(aHere + 3 * j);
            if (above) {
                add(aPrev + 3 * j);
                add(bPrev + 3 * j);
            }
        }
        out[3 * j] = s[0];
        out[3 * j + 1] = s[1];
        out[3 * j + 2] = s[2];
    }
}

const float* VertexNormals::Row(std::int32_t i)
{
    const std::int32_t cols = g_.cols;
    float* out = row_.data();
    if (g_.normals) {
        for (std::int32_t j = 0; j < cols; ++j) {
            Vertex n = g_.storedNormal(i, j);
            std::copy(n.begin(), n.end(), out + 3 * j);
        }
        return out;
    }
    if (g_.rows < 2 || cols < 1) {
        for (std::int32_t j = 0; j < cols; ++j)
            out[3 * j] = 0.0f, out[3 * j + 1] = 0.0f, out[3 * j + 2] = 1.0f;
        return out;
    }
    bool end = i == 0 || i == g_.rows - 1;
    if (closedRows_ && end) {
        for (std::int32_t j = 0; j < cols; ++j) {
            bool closedHere = coincide(g_.at(0, j), g_.at(g_.rows - 1, j));
            const float* own = (i == 0 ? end0_ : end1_).data() + 3 * j;
            for (int k = 0; k < 3; ++k)
                out[3 * j + k] = closedHere ? end0_[3 * std::size_t(j) + k] + end1_[3 * std::size_t(j) + k] : own[k];
        }
    } else {
        rawRow(i, out);
    }
    if (closedCols_ && cols > 1 && coincide(g_.at(i, 0), g_.at(i, cols - 1))) {
        float* first = out;
        float* last = out + 3 * (cols - 1);
        for (int k = 0; k < 3; ++k) {
            float s = first[k] + last[k];
            first[k] = last[k] = s;
        }
    }
    for (std::int32_t j = 0; j < cols; ++j) {
        Vertex n = NormalizeOrUp({out[3 * j], out[3 * j + 1], out[3 * j + 2]});
        std::copy(n.begin(), n.end(), out + 3 * j);
    }
    return out;
}

} // namespace halvex
