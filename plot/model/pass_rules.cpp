#include "plot/model/pass_rules.h"

namespace halvex {

namespace {
using namespace shade1;
constexpr std::uint32_t kContours3D = DrawXContours3D | DrawYContours3D | DrawZContours3D;
constexpr std::uint32_t kFills3D = FillXContours3D | FillYContours3D | FillZContours3D;
constexpr std::uint32_t kContours = DrawXContours | DrawYContours | DrawZContours;
constexpr std::uint32_t kFills = FillXContours | FillYContours | FillZContours;
} // namespace

// fill, half fill, lines, points, contour lines, flat contour lines, contour fill
const std::array<KindPassRule, 6> kPassRules{{
    // 0 surface
    {{DrawFilledPolygons}, {DrawHalfFilledPolygons}, {DrawLines | kContours3D}, {DrawPoints}, {kContours3D}, {},
     {kFills3D}},
    // 1 contour
    {{0, shade2::DrawFilledContours}, {}, {DrawContourLines | kContours}, {}, {kContours},
     {0, shade2::NumberedContoursZ}, {kFills}},
    // 2 data points
    {{}, {}, {ScatterLines}, {ScatterPoints}, {}, {}, {}},
    // 3 vector field: the arrows' corner points follow the surface's point
    // switch, the kind having none of its own
    {{VectorFilled}, {}, {VectorLines}, {DrawPoints}, {}, {}, {}},
    // 4 bar
    {{BarFilled}, {BarHalfFilled}, {BarLines}, {BarPoints}, {}, {}, {}},
    // 5 patch
    {{PatchFilled}, {0, shade2::PatchHalfFilled}, {PatchLines}, {PatchPoints}, {}, {}, {}},
}};
static_assert(kPatchPlot + 1 == 6, "one row per plot kind");

PassSwitches SwitchesOf(const ModelFormat& f, bool flatPlot) noexcept
{
    if (f.viewAs < 0 || f.viewAs >= std::int32_t(kPassRules.size()))
        return {};
    const KindPassRule& r = kPassRules[std::size_t(f.viewAs)];
    PassSwitches s;
    s.fill = r.fill.AnyOf(f);
    s.halfFill = r.halfFill.AnyOf(f);
    bool flatContours = flatPlot && r.flatContourLines.AnyOf(f);
    s.contourLines = r.contourLines.AnyOf(f) || flatContours;
    s.lines = r.lines.AnyOf(f) || flatContours;
    s.points = r.points.AnyOf(f);
    s.contourFill = r.contourFill.AnyOf(f);
    return s;
}

} // namespace halvex
