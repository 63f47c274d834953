#include "plot/model/contour_fill.h"

#include "plot/model/box_frame.h"
#include "plot/model/colormaps.h"

#include <algorithm>

namespace halvex {

int FillOrder(int directions, std::array<int, 2>& order) noexcept
{
    const bool x = directions & 1, y = directions & 2, z = directions & 4;
    if (x && y) {
        order = {kAxisX, kAxisY};
        return 2;
    }
    if (x && z) {
        order = {kAxisZ, kAxisX};
        return 2;
    }
    if (y && z) {
        order = {kAxisY, kAxisZ};
        return 2;
    }
    order = {x ? kAxisX : y ? kAxisY : kAxisZ, 0};
    return x || y || z ? 1 : 0;
}

FillTexture MakeFillTexture(int directions, const std::array<float, 3>& minimum, const std::array<float, 3>& maximum,
                            const std::array<bool, 3>& automatic, const std::array<std::int16_t, 3>& counts)
{
    FillTexture t;
    std::array<int, 2> order{};
    t.dimensions = FillOrder(directions, order);
    for (int k = 0; k < t.dimensions; ++k) {
        const int d = order[std::size_t(k)];
        const std::size_t a = std::size_t(DisplayIndex(d));
        t.axes[std::size_t(k)] = int(a);
        t.bands[std::size_t(k)] = FillBands(minimum[a], maximum[a], automatic[std::size_t(d)], counts[std::size_t(d)]);
    }
    return t;
}

std::vector<std::uint8_t> FillTexels(const FillTexture& texture, std::int32_t colormap, std::uint8_t alpha)
{
    const std::int32_t w = texture.width(), h = texture.height();
    const std::int32_t b1 = texture.bands[0].bands, b2 = texture.dimensions > 1 ? texture.bands[1].bands : 1;
    std::vector<std::uint8_t> texels(std::size_t(w) * std::size_t(h) * 4);
    const std::int32_t span = b1 + b2 - 2;
    auto byte = [](float c) { return std::uint8_t(std::clamp(c, 0.0f, 1.0f) * 255.0f + 0.5f); };
    for (std::int32_t k2 = 0; k2 < h; ++k2)
        for (std::int32_t k1 = 0; k1 < w; ++k1) {
            const std::int32_t band = std::min(k1, b1 - 1) + std::min(k2, b2 - 1);
            const Rgb c = SpectrumRgb(colormap, span > 0 ? float(band) / float(span) : 0.0f);
            std::uint8_t* p = &texels[(std::size_t(k1) + std::size_t(k2) * std::size_t(w)) * 4];
            p[0] = byte(c[0]);
            p[1] = byte(c[1]);
            p[2] = byte(c[2]);
            p[3] = alpha;
        }
    return texels;
}

} // namespace halvex
