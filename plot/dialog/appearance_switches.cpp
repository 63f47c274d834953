#include "plot/dialog/appearance_switches.h"

namespace halvex {

namespace {

// fill, half fill, lines, points; the fill and wire frame captions.
constexpr std::array<KindAppearance, 6> kKinds{{
    {"DrawFilledPolygons", "DrawHalfFilledPolygons", "DrawLines", "DrawPoints", "&Fill Surface", "W&ireframe"},
    {"DrawFilledContours", "DrawHalfFilledPolygons", "DrawContourLines", "DrawPoints", "&Fill Surface", "L&ines"},
    {"DrawFilledPolygons", "DrawHalfFilledPolygons", "ScatterLines", "ScatterPoints", "&Fill Surface", "L&ines"},
    {"VectorFilled", "DrawHalfFilledPolygons", "VectorLines", "DrawPoints", "&Fill Arrows", "W&ire Arrows"},
    {"BarFilled", "BarHalfFilled", "BarLines", "BarPoints", "&Fill Bars", "W&ire Bars"},
    {"PatchFilled", "PatchHalfFilled", "PatchLines", "PatchPoints", "&Fill Patches", "W&ire Patches"},
}};

} // namespace

const KindAppearance& AppearanceOfKind(int kind) noexcept
{
    return kKinds[kind >= 0 && kind < int(kKinds.size()) ? std::size_t(kind) : 0];
}

} // namespace halvex
