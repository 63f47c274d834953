#include "plot/model/bounding_record.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halvex {

BoundingRecord BoundingRecord::empty() noexcept
{
    constexpr float big = std::numeric_limits<float>::max();
    BoundingRecord r;
    r.min = {big, big, big};
    r.max = {-big, -big, -big};
    return r;
}

void BoundingRecord::setVector(float nx, float ny, float nz) noexcept
{
    double x = nx, y = ny, z = nz;
    double len = std::sqrt(x * x + y * y + z * z);
    if (!(len > 0.0) || !std::isfinite(len)) {
        vector = {0.0f, 0.0f, 1.0f};
        return;
    }
    // A vector of unit length to float precision is kept as it is: divided
    // again it could move by a unit in the last place, and a model saved
    // and loaded would change a little every time.
    if (std::fabs(len - 1.0) <= 1e-6) {
        vector = {nx, ny, nz};
        return;
    }
    vector = {float(x / len), float(y / len), float(z / len)};
}

void BoundingRecord::widen(const BoundingRecord& other) noexcept
{
    for (int a = 0; a < 3; ++a) {
        min[a] = std::min(min[a], other.min[a]);
        max[a] = std::max(max[a], other.max[a]);
    }
}

void OpenDegenerateBox(BoundingRecord& box) noexcept
{
    if (box.extent(0) != 0.0f || box.extent(1) != 0.0f || box.extent(2) != 0.0f)
        return;
    for (int a = 0; a < 3; ++a) {
        float v = box.min[a];
        float d = v != 0.0f ? std::fabs(v) * 0.01f : 1.0f;
        box.min[a] = v - d;
        box.max[a] = v + d;
    }
}

} // namespace halvex
