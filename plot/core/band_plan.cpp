#include "plot/core/band_plan.h"

#include <algorithm>

namespace halvex {

BandPlan PlanBands(int width, int height, int maxSide) noexcept
{
    BandPlan p;
    if (width < 1 || height < 1)
        return p;
    maxSide = std::max(maxSide, 1);
    p.width = width;
    p.height = height;
    const std::int64_t area = std::int64_t(width) * height;
    std::int64_t n = area <= kLargestBitmapPixels ? 1 : area / kLargestBitmapPixels;
    // No band taller than the framebuffer allows (the last one takes up to
    // n − 1 rows more than the others), and none less than a row high.
    n = std::max<std::int64_t>(n, (height + maxSide - 1) / maxSide);
    while (n < height && height / n + height % n > maxSide)
        ++n;
    n = std::min<std::int64_t>(n, height);
    p.bands = int(n);
    p.bandHeight = int(height / n);
    p.columns = int((std::int64_t(width) + maxSide - 1) / maxSide);
    return p;
}

OffscreenResolution ResolutionFor(int w, int h, int controlWidth, int controlHeight, bool highQuality) noexcept
{
    OffscreenResolution r;
    const std::int64_t cw = std::max(controlWidth, 1), ch = std::max(controlHeight, 1);
    std::int64_t rx = 96 * std::int64_t(std::max(w, 0)) / cw, ry = 96 * std::int64_t(std::max(h, 0)) / ch;
    std::int64_t width = w, height = h;
    // Each direction is limited on its own: a resolution within the limit
    // never makes its side larger than the target's.
    if (!highQuality && rx > kNormalResolutionLimit) {
        width = width * kNormalResolutionLimit / rx;
        rx = kNormalResolutionLimit;
        r.reduced = true;
    }
    if (!highQuality && ry > kNormalResolutionLimit) {
        height = height * kNormalResolutionLimit / ry;
        ry = kNormalResolutionLimit;
        r.reduced = true;
    }
    r.width = int(std::max<std::int64_t>(width, 1));
    r.height = int(std::max<std::int64_t>(height, 1));
    r.rx = int(std::min<std::int64_t>(rx, 0x7FFFFFFF));
    r.ry = int(std::min<std::int64_t>(ry, 0x7FFFFFFF));
    r.smoothLines = r.rx < 300;
    return r;
}

PixelRect BandPlan::Band(int k) const noexcept
{
    int top = k * bandHeight;
    int bottom = k + 1 == bands ? height : top + bandHeight;
    return {0, top, width, bottom};
}

PixelRect BandPlan::Tile(int k, int c) const noexcept
{
    PixelRect band = Band(k);
    int w = (width + columns - 1) / columns;
    band.left = c * w;
    band.right = c + 1 == columns ? width : band.left + w;
    return band;
}

int BandPlan::TileWidth() const noexcept
{
    return columns > 0 ? (width + columns - 1) / columns : 0;
}

int BandPlan::TileHeight() const noexcept
{
    return bands > 0 ? height - (bands - 1) * bandHeight : 0;
}

} // namespace halvex
