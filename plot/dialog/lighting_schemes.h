#pragma once
// The six lighting schemes of the "Lighting" page: an ambient colour and
// lights 1 to 3, each on, infinite, with a black specular colour. Colours
// are 24-bit, red in the low byte; positions are the lights' PosX, PosY,
// PosZ.

#include <array>
#include <cstdint>

namespace halvex {

struct SchemeLight {
    std::uint32_t diffuse;
    double x, y, z;
};

struct LightingScheme {
    const char* name;
    std::uint32_t ambient;
    std::array<SchemeLight, 3> lights;
};

extern const std::array<LightingScheme, 6> kLightingSchemes;

// A light as the page holds it.
struct LightState {
    bool on = false;
    std::uint32_t diffuse = 0;
    std::uint32_t specular = 0;
    double x = 0.0, y = 0.0, z = 0.0;
    bool infinite = true;
};

// The first scheme the values equal (colours compared in red, green and
// blue), or -1 when none does or one of lights 4 to 8 is on.
int MatchingScheme(std::uint32_t ambient, const std::array<LightState, 8>& lights) noexcept;

} // namespace halvex
