#pragma once
// The bitmaps of the point symbols other than dots: x's (the two
// diagonals), +'s (the two centre lines), boxes (the square's outline) and
// diamonds (the outline through the midpoints of the four sides), white on
// black in a square of side pixels.

#include <cstdint>
#include <vector>

namespace halvex {

// Point symbols (`PointSymbol`); any other value is drawn as dots.
enum PointSymbolKind : std::int32_t {
    kDotSymbol = 0,
    kXSymbol = 1,
    kPlusSymbol = 2,
    kBoxSymbol = 3,
    kDiamondSymbol = 4,
};

constexpr int kMaxSymbolSide = 255;

// The side of a symbol's bitmap for a point size at a point scale (dots
// per inch / 12): odd, so the symbol has a centre pixel; 5 … 255 pixels
// whatever the point size (a huge or negative size or NaN cannot ask for
// more).
int SymbolSide(float pointSize, float pointScale) noexcept;

// Rows from the bottom, (side + 7) / 8 bytes each, the leftmost pixel in
// the most significant bit, as the GL's bitmap drawing reads them with an
// unpack alignment of 1. Empty for a symbol that is drawn as dots.
std::vector<std::uint8_t> SymbolBitmap(std::int32_t symbol, int side);

} // namespace halvex
