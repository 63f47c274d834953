#pragma once
// The format of a plot model: every setting a successor takes over when a
// builder or RemoveSurfaces replaces a model, that is everything a model
// holds except its data, its owner, its format-dialog link and the
// quick-plot flag. Plain values, so a copy is a full take-over (the quick
// plot parameters are copied, never shared) and saving and loading can
// walk the fields one by one.

#include "plot/model/bounding_record.h"

#include <array>
#include <cstdint>
#include <optional>

namespace halvex {

// Plot kinds (`ViewAs`).
enum PlotKind : std::int32_t {
    kSurfacePlot = 0,
    kContourPlot = 1,
    kDataPointsPlot = 2,
    kVectorFieldPlot = 3,
    kBarPlot = 4,
    kPatchPlot = 5,
};

// Switches of `ShadeModel1`.
namespace shade1 {
constexpr std::uint32_t DrawFilledPolygons = 0x00000001;
constexpr std::uint32_t DrawHalfFilledPolygons = 0x00000002;
constexpr std::uint32_t DrawLines = 0x00000004;
constexpr std::uint32_t DrawPoints = 0x00000008;
constexpr std::uint32_t DrawXContours = 0x00000010;
constexpr std::uint32_t DrawYContours = 0x00000020;
constexpr std::uint32_t DrawZContours = 0x00000040;
constexpr std::uint32_t HiddenLineRemoval = 0x00000080;
constexpr std::uint32_t SmoothShading = 0x00000200;
constexpr std::uint32_t FillXContours = 0x00000400;
constexpr std::uint32_t FillYContours = 0x00000800;
constexpr std::uint32_t FillZContours = 0x00001000;
constexpr std::uint32_t DrawContourLines = 0x00002000;
constexpr std::uint32_t DrawXContours3D = 0x00008000;
constexpr std::uint32_t DrawYContours3D = 0x00010000;
constexpr std::uint32_t DrawZContours3D = 0x00020000;
constexpr std::uint32_t FillXContours3D = 0x00040000;
constexpr std::uint32_t FillYContours3D = 0x00080000;
constexpr std::uint32_t FillZContours3D = 0x00100000;
constexpr std::uint32_t ScatterPoints = 0x00200000;
constexpr std::uint32_t BarPoints = 0x00400000;
constexpr std::uint32_t PatchPoints = 0x00800000;
constexpr std::uint32_t ScatterLines = 0x01000000;
constexpr std::uint32_t BarLines = 0x02000000;
constexpr std::uint32_t PatchLines = 0x04000000;
constexpr std::uint32_t VectorLines = 0x08000000;
constexpr std::uint32_t BarFilled = 0x10000000;
constexpr std::uint32_t PatchFilled = 0x20000000;
constexpr std::uint32_t VectorFilled = 0x40000000;
constexpr std::uint32_t BarHalfFilled = 0x80000000;
constexpr std::uint32_t Default = 0x3E202344;
} // namespace shade1

// Switches of `ShadeModel2`.
namespace shade2 {
constexpr std::uint32_t PatchHalfFilled = 0x001;
constexpr std::uint32_t DrawFilledContours = 0x002;
constexpr std::uint32_t ContourLines3D = 0x004;
constexpr std::uint32_t AutoContourX = 0x008;
constexpr std::uint32_t AutoContourY = 0x010;
constexpr std::uint32_t AutoContourZ = 0x020;
constexpr std::uint32_t AutoContourX3D = 0x040;
constexpr std::uint32_t AutoContourY3D = 0x080;
constexpr std::uint32_t AutoContourZ3D = 0x100;
constexpr std::uint32_t NumberedContoursX = 0x200;
constexpr std::uint32_t NumberedContoursY = 0x400;
constexpr std::uint32_t NumberedContoursZ = 0x800;
constexpr std::uint32_t Default = 0x000001F8;
} // namespace shade2

// Bits of `SpectrumDir`: the colour ramp follows X, Y, Z.
namespace spectrum {
constexpr std::int32_t X = 1;
constexpr std::int32_t Y = 2;
constexpr std::int32_t Z = 4;
} // namespace spectrum

// Parameter block of a quick plot: ranges of the two plot parameters, grid
// counts and coordinate system (0 Cartesian, 1 spherical, 2 cylindrical).
struct QuickPlotParams {
    double U0 = -5.0, U1 = 5.0, V0 = -5.0, V1 = 5.0;
    std::int16_t M = 21, N = 21;
    std::int16_t c = 0;
    // Variables (1 or 2) of the host functions last plotted with it; not
    // saved, the host sends its functions again.
    std::int16_t variables = 0;

    friend bool operator==(const QuickPlotParams&, const QuickPlotParams&) = default;
};

struct ModelFormat {
    bool plotFlag = false;
    bool dirty = false;
    bool interpolate = false;
    std::array<std::int16_t, 3> contours3D{14, 14, 14};  // X, Y, Z
    std::int16_t lineColorMap = 0;
    std::int16_t pointColorMap = 0;
    std::int16_t polygonColorMap = 0;
    std::array<std::int16_t, 3> contours{14, 14, 14};    // X, Y, Z
    std::int16_t interpolatedRows = 21;
    std::int16_t interpolatedColumns = 21;
    std::uint32_t lineColor = 0xFF000000;
    std::uint32_t pointColor = 0xFF000000;
    std::uint32_t polygonColor = 0xFFFFFFFF;
    float lineWidth = 1.0f;
    float pointSize = 1.0f;
    float polygonOffsetFactor = 1.0f;
    float reservedFloat = 1.0f;
    std::int16_t colormapIndex = 0;
    bool hostFlag = false;
    std::optional<QuickPlotParams> quickPlotParams;
    std::int32_t viewAs = kSurfacePlot;
    std::uint32_t shadeModel1 = shade1::Default;
    std::uint32_t shadeModel2 = shade2::Default;
    float shininess = 4.0f;
    BoundingRecord rect;
    BoundingRecord barBox;
    bool barBoxValid = false;
    std::array<float, 3> scale{0.0f, 0.0f, 0.0f};
    std::int32_t spectrumDir = spectrum::Z;
    std::int32_t barPlotLayout = 0;
    std::int16_t barPlotSpacing = 20;
    std::int32_t dataPointsConnectivity = 0;
    std::int32_t lineStyle = 0;
    std::int32_t pointSymbol = 0;

    bool isBarOrPatch() const noexcept { return viewAs == kBarPlot || viewAs == kPatchPlot; }
};

} // namespace halvex
