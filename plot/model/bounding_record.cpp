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
    float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(len > 0.0f) || !std::isfinite(len)) {
        vector = {0.0f, 0.0f, 1.0f};
        return;
    }
    vector = {nx / len, ny / len, nz / len};
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
