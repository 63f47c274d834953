#pragma once
// The geometry of the model box that its axes, planes and edges share: for
// each data axis its limits, the 3 % margin and the box's edges, and the
// display coordinate it runs along (X along mz, Y along mx, Z along my).

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace halvex {

enum AxisDirection : int { kAxisX = 0, kAxisY = 1, kAxisZ = 2 };

// The display coordinate (0 mx, 1 my, 2 mz) of a data axis.
constexpr int DisplayIndex(int direction) noexcept
{
    return direction == kAxisX ? 2 : direction == kAxisY ? 0 : 1;
}

// What the model box reads of its control on every frame.
struct BoxView {
    bool flatPlot = false;
    bool allBars = false;
    bool allSurfaces = false;
    bool constrainedView = false;
    bool showBorder = false;
    std::int16_t verticalScale = 100;
    std::uint32_t borderColor = 0;
};

// The font of the axis numbers and the colour of the axes the user has not
// coloured, as the container gives them.
struct AxisLabelStyle {
    std::string face = "Arial";
    float points = 10.0f;
    std::optional<std::uint32_t> color;
};

struct BoxFrame {
    std::array<double, 3> lower{-1.0, -1.0, -1.0}; // by data axis
    std::array<double, 3> upper{1.0, 1.0, 1.0};
    std::array<double, 3> margin{0.06, 0.06, 0.06}; // g: 0.03 of the range
    bool flat = false;
    float lineScale = 1.0f;

    double low(int d) const noexcept { return lower[d] - margin[d]; }
    double high(int d) const noexcept { return upper[d] + margin[d]; }
    double range(int d) const noexcept { return upper[d] - lower[d]; }
};

// A point given by data axes X, Y, Z, in display coordinates.
inline std::array<double, 3> DisplayPoint(double x, double y, double z) noexcept
{
    return {y, z, x};
}

// The twelve edges of the box: the axis an edge runs along, and for each
// data axis the side it lies on (−1 low, +1 high, 0 along).
struct BoxEdge {
    int along;
    std::array<int, 3> side;
};
constexpr std::array<BoxEdge, 12> kBoxEdges{{
    {kAxisY, {-1, 0, -1}}, // 0
    {kAxisX, {0, 1, -1}},  // 1
    {kAxisY, {1, 0, -1}},  // 2
    {kAxisX, {0, -1, -1}}, // 3
    {kAxisY, {-1, 0, 1}},  // 4
    {kAxisX, {0, 1, 1}},   // 5
    {kAxisY, {1, 0, 1}},   // 6
    {kAxisX, {0, -1, 1}},  // 7
    {kAxisZ, {-1, -1, 0}}, // 8
    {kAxisZ, {-1, 1, 0}},  // 9
    {kAxisZ, {1, 1, 0}},   // 10
    {kAxisZ, {1, -1, 0}},  // 11
}};

// The edges of the X, Y and Z axes for the view whose modelling matrix is m
// (16 doubles, column major): by the axes style (0 perimeter, 1 corner,
// 2 none) and the flat plot flag.
std::array<int, 3> AxisEdges(const double* m, int axesStyle, bool flat);

} // namespace halvex
