#pragma once
// The surface of a height grid as the contour tracer reads a cell: four
// triangles around the centre, whose value is the mean of the corners
// (i, j − 1) and (i − 1, j), each interpolated linearly. A contour point
// (x along j, z along i) lies on its level when this gives the level there.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace contourcheck {

// h(i, j): the height of vertex (i, j) of a rows × cols grid.
template <class Height>
double CellValue(const Height& h, std::int32_t rows, std::int32_t cols, double x, double z)
{
    std::int32_t i = std::clamp(std::int32_t(std::floor(z)) + 1, 1, rows - 1);
    std::int32_t j = std::clamp(std::int32_t(std::floor(x)) + 1, 1, cols - 1);
    double a = z - (i - 1), b = x - (j - 1);
    double h0 = h(i - 1, j - 1), h1 = h(i, j - 1), h2 = h(i - 1, j), h3 = h(i, j);
    double m = (h1 + h2) / 2;
    // The triangle (p, q, centre) that holds (a, b).
    auto linear = [&](double pa, double pb, double pv, double qa, double qb, double qv) {
        double ca = 0.5, cb = 0.5;
        double det = (qa - pa) * (cb - pb) - (ca - pa) * (qb - pb);
        double u = ((a - pa) * (cb - pb) - (ca - pa) * (b - pb)) / det;
        double w = ((qa - pa) * (b - pb) - (a - pa) * (qb - pb)) / det;
        return pv + u * (qv - pv) + w * (m - pv);
    };
    if (b <= a && b <= 1 - a)
        return linear(0, 0, h0, 1, 0, h1);
    if (a <= b && a <= 1 - b)
        return linear(0, 0, h0, 0, 1, h2);
    if (b >= a && b >= 1 - a)
        return linear(0, 1, h2, 1, 1, h3);
    return linear(1, 0, h1, 1, 1, h3);
}

} // namespace contourcheck
