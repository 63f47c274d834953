#pragma once
// Which model switches the "Appearance" page's fill, line and point
// choices stand for, per plot kind: each kind draws from its own switches
// (a bar plot's fill is `BarFilled`, a surface's `DrawFilledPolygons`), so
// the page reads and writes the ones the selected model's kind draws
// with, and names its choices after the kind. A plain contour switch and
// its 3-D twin count as one setting: read as on when either is, written
// together.

#include <array>

namespace halvex {

struct KindAppearance {
    const char* fill;      // "Fill Surface" and the fill under "Fill Contours"
    const char* halfFill;  // "Alternate Mesh"
    const char* lines;     // the wire frame choice
    const char* points;    // "Draw Points"
    const char* fillCaption;
    const char* linesCaption;
};

// Indexed by plot kind (`ViewAs` 0 … 5); other kinds use the surface's.
const KindAppearance& AppearanceOfKind(int kind) noexcept;

// The contour switches behind "Fill Contours" and "Contour Lines".
constexpr std::array<const char*, 2> kContourFillSwitches{"FillZContours", "FillZContours3D"};
constexpr std::array<const char*, 2> kContourLineSwitches{"DrawZContours", "DrawZContours3D"};

} // namespace halvex
