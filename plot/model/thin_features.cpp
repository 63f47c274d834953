#include "plot/model/thin_features.h"

#include <algorithm>
#include <cmath>

namespace halvex {

namespace {

float distance(const Vertex& a, const Vertex& b, const std::array<float, 3>& s)
{
    float dx = (a[0] - b[0]) * s[0], dz = (a[2] - b[2]) * s[2];
    return std::sqrt(dx * dx + dz * dz);
}

} // namespace

void FindThinFeatures(const GridSource& g, const std::array<float, 3>& scale, std::vector<FeatureLine>& out)
{
    out.clear();
    if (g.rows < 2 || g.cols < 2)
        return;
    const float sy = std::fabs(scale[1]);
    auto height = [&](std::int32_t i, std::int32_t j) { return g.at(i, j)[1]; };
    // How far v stands out above (sign +1) or below (−1) a neighbour, in
    // units of their horizontal distance; 0 when it does not.
    auto steep = [&](const Vertex& v, std::int32_t i, std::int32_t j, float sign) {
        Vertex n = g.at(i, j);
        float rise = (v[1] - n[1]) * sign * sy;
        float run = distance(v, n, scale);
        return rise > 0.0f && run > 0.0f ? rise / run : 0.0f;
    };
    // Steep against both neighbours across direction (di, dj) at (i, j);
    // a grid border counts as no neighbour there.
    auto steepAcross = [&](std::int32_t i, std::int32_t j, std::int32_t di, std::int32_t dj, float sign) {
        const Vertex v = g.at(i, j);
        int sides = 0;
        for (int k : {-1, 1}) {
            std::int32_t a = i + k * di, b = j + k * dj;
            if (a < 0 || a >= g.rows || b < 0 || b >= g.cols)
                continue;
            if (!(steep(v, a, b, sign) > kSteepness))
                return false;
            ++sides;
        }
        return sides > 0;
    };
    for (float sign : {1.0f, -1.0f}) {
        for (std::int32_t j = 0; j < g.cols; ++j) {
            for (std::int32_t i = 0; i < g.rows; ++i) {
                const Vertex v = g.at(i, j);
                if (!std::isfinite(v[1]))
                    continue;
                // A spike or dip: steep against all of its neighbours; a
                // needle from the nearest of them in height to its top.
                bool alone = true;
                float nearest = sign > 0.0f ? -HUGE_VALF : HUGE_VALF;
                for (std::int32_t b = std::max(j - 1, 0); b <= std::min(j + 1, g.cols - 1) && alone; ++b)
                    for (std::int32_t a = std::max(i - 1, 0); a <= std::min(i + 1, g.rows - 1); ++a) {
                        if (a == i && b == j)
                            continue;
                        if (!(steep(v, a, b, sign) > kSteepness)) {
                            alone = false;
                            break;
                        }
                        float h = height(a, b);
                        nearest = sign > 0.0f ? std::max(nearest, h) : std::min(nearest, h);
                    }
                if (alone) {
                    out.push_back({{v[0], nearest, v[2]}, v});
                    continue;
                }
                // A crest (or trench) along a row: this vertex and the next
                // in the row both steep across the row.
                if (j + 1 < g.cols && steepAcross(i, j, 1, 0, sign) && steepAcross(i, j + 1, 1, 0, sign))
                    out.push_back({v, g.at(i, j + 1)});
                if (i + 1 < g.rows && steepAcross(i, j, 0, 1, sign) && steepAcross(i + 1, j, 0, 1, sign))
                    out.push_back({v, g.at(i + 1, j)});
            }
        }
    }
}

} // namespace halvex
