#pragma once
// The settings the control's automation interface reads and writes, with
// their initial values. Angles are held in radians.

#include "plot/base/packed_color.h"

#include <cstdint>
#include <string>

namespace halvex {

// Fog modes: linear, exponential, exponential squared.
constexpr std::int32_t kFogLinear = 0x2601;
constexpr std::int32_t kFogExp = 0x0800;
constexpr std::int32_t kFogExp2 = 0x0801;

struct ControlState {
    // 35°, 0° and 10°, converted in single precision.
    double tilt = 0.6108652017876098;
    double rotation = 0.0;
    double twist = 0.17453291479645996;
    double depthScale = 1.0; // 1 / Radius
    double zPosition = 3.0;
    bool lighting = false;
    ColorF ambient{0.2f, 0.2f, 0.2f, 0.2f};
    bool fog = false;
    std::int32_t fogMode = kFogExp2;
    ColorF fogColor{1.0f, 1.0f, 1.0f, 1.0f};
    float fogDensity = 0.02f;
    float fogStart = 0.0f;
    float fogEnd = 1.0f;
    bool perspective = false;
    std::int16_t viewingDistance = 18; // inches from eye to screen
    bool constrainedView = false;
    bool hardwareRendering = true;
    bool showBorder = true;
    std::uint32_t borderColor = 0;
    bool highQualityPrinting = false;
    std::int16_t verticalScale = 100; // percent
    std::string graphTitle;
    std::int32_t graphTitlePosition = 2; // hidden
    std::string title;                   // kept and returned only
    bool showBackplanes = false;         // kept and returned only
    std::int32_t width = 240;
    std::int32_t height = 240;
    int screenColorDepth = 24;
};

} // namespace halvex
