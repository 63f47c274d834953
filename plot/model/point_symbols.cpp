#include "plot/model/point_symbols.h"

#include <algorithm>
#include <cmath>

namespace halvex {

int SymbolSide(float pointSize, float pointScale) noexcept
{
    // Three times the diameter of a dot of the same size, so the shape reads.
    double d = double(pointScale) * double(pointSize) * 0.75 + 3.0;
    if (!(d >= 5.0))
        return 5;
    if (d >= double(kMaxSymbolSide))
        return kMaxSymbolSide;
    int side = int(std::lround(d));
    return side | 1;
}

namespace {

struct Segment {
    double x0, y0, x1, y1;
};

double distanceTo(const Segment& s, double x, double y) noexcept
{
    double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((x - s.x0) * dx + (y - s.y0) * dy) / len2, 0.0, 1.0) : 0.0;
    double ex = s.x0 + t * dx - x, ey = s.y0 + t * dy - y;
    return std::sqrt(ex * ex + ey * ey);
}

} // namespace

std::vector<std::uint8_t> SymbolBitmap(std::int32_t symbol, int side)
{
    if (symbol < kXSymbol || symbol > kDiamondSymbol || side < 1 || side > kMaxSymbolSide)
        return {};
    // Pixel centres lie at k + 0.5; the strokes run through them.
    const double lo = 0.5, hi = side - 0.5, mid = side / 2 + 0.5;
    Segment segs[4];
    int n = 0;
    // The crossing symbols get wider pens as they grow.
    double pen = 1.0;
    switch (symbol) {
    case kXSymbol:
        segs[n++] = {lo, lo, hi, hi};
        segs[n++] = {lo, hi, hi, lo};
        pen = std::max(1.0, std::floor(side / 9.0));
        break;
    case kPlusSymbol:
        segs[n++] = {lo, mid, hi, mid};
        segs[n++] = {mid, lo, mid, hi};
        pen = std::max(1.0, std::floor(side / 9.0));
        break;
    case kBoxSymbol:
        segs[n++] = {lo, lo, hi, lo};
        segs[n++] = {hi, lo, hi, hi};
        segs[n++] = {hi, hi, lo, hi};
        segs[n++] = {lo, hi, lo, lo};
        break;
    case kDiamondSymbol:
        segs[n++] = {mid, lo, hi, mid};
        segs[n++] = {hi, mid, mid, hi};
        segs[n++] = {mid, hi, lo, mid};
        segs[n++] = {lo, mid, mid, lo};
        break;
    }
    const int rowBytes = (side + 7) / 8;
    std::vector<std::uint8_t> bits(std::size_t(rowBytes) * std::size_t(side), 0);
    const double reach = pen / 2.0 + 1e-9;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            bool on = false;
            for (int k = 0; k < n && !on; ++k)
                on = distanceTo(segs[k], x + 0.5, y + 0.5) <= reach;
            if (on)
                bits[std::size_t(y) * std::size_t(rowBytes) + std::size_t(x / 8)] |= std::uint8_t(0x80u >> (x % 8));
        }
    return bits;
}

} // namespace halvex
