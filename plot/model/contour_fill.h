#pragma once
// Filled contours: the surface drawn with a colour-map texture in which
// each band between neighbouring levels is one texel of one flat colour.
// One filled direction gives a one-dimensional texture; two give a
// two-dimensional one whose colour runs diagonally over both band indices.

#include "plot/model/contour_levels.h"
#include "plot/model/mesh_normals.h"

#include <array>
#include <cstdint>
#include <vector>

namespace halvex {

struct ModelFormat;

// The texture coordinates of a vertex: s (and t) from one (two) of its
// display coordinates.
struct FillTexture {
    std::int32_t dimensions = 0; // 0: no fill texture
    std::array<int, 2> axes{0, 0}; // display coordinates of s and t
    std::array<ContourBands, 2> bands;

    std::array<double, 2> Coord(const Vertex& v) const noexcept
    {
        return {bands[0].TexCoord(v[std::size_t(axes[0])]),
                dimensions > 1 ? bands[1].TexCoord(v[std::size_t(axes[1])]) : 0.0};
    }
    std::int32_t width() const noexcept { return bands[0].textureSize(); }
    std::int32_t height() const noexcept { return dimensions > 1 ? bands[1].textureSize() : 1; }
};

// The filled directions (bit 1 X, 2 Y, 4 Z) in texture order: X and Y give
// (X, Y); X and Z (Z, X); Y and Z (Y, Z); all three behave as X and Y.
// Returns the data axes of s and t and how many there are.
int FillOrder(int directions, std::array<int, 2>& order) noexcept;

// The texture of the filled directions over their ranges (display
// coordinates min … max per axis), with automatic or counted bands.
// The ranges come from the model's Rect for a contour plot and from the
// control's data box for a surface.
FillTexture MakeFillTexture(int directions, const std::array<float, 3>& minimum, const std::array<float, 3>& maximum,
                            const std::array<bool, 3>& automatic, const std::array<std::int16_t, 3>& counts);

// RGBA bytes, width × height texels, s fastest. Texel (k1, k2) has the colour
// of map `colormap` at (k1 + k2) / (bands1 + bands2 − 2) (0 when that is
// 0 / 0), alpha the given byte. Texels past the last band repeat it, so
// values just outside the range (the data beyond the outermost round
// values, or the maximum itself) keep the colour of the band they border.
std::vector<std::uint8_t> FillTexels(const FillTexture& texture, std::int32_t colormap, std::uint8_t alpha);

} // namespace halvex
