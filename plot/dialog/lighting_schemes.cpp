#include "plot/dialog/lighting_schemes.h"

namespace halvex {

namespace {
constexpr std::uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kGrey = 0x848484;
constexpr std::uint32_t kRgb = 0xFFFFFF;
} // namespace

const std::array<LightingScheme, 6> kLightingSchemes{{
    {"Scheme 1", 0x333333, {{{kRed, 1, 1, 0}, {kGreen, 1, 1, 1}, {kBlue, 1, 0, 1}}}},
    {"Scheme 2", 0x333333, {{{kRed, 1, 0, 1}, {kGreen, 1, 1, 1}, {kBlue, 1, 1, 0}}}},
    {"Scheme 3", 0x333333, {{{kRed, 1, 0, 1}, {kGreen, 1, 1, 1}, {kBlue, 0, 1, 1}}}},
    {"Scheme 4", 0x202020, {{{kBlue, 1, 1, 0}, {kRed, 0, 1, 0}, {kGreen, 1, 0, 1}}}},
    {"Scheme 5", 0x202020, {{{kRed, 1, 0, 0}, {kGreen, 0, 1, 0}, {kBlue, 0, 0, 1}}}},
    {"Scheme 6", 0x333333, {{{kGrey, 1, 0, 1}, {kGrey, 1, 1, 1}, {kGrey, 1, 1, 0}}}},
}};

int MatchingScheme(std::uint32_t ambient, const std::array<LightState, 8>& lights) noexcept
{
    for (std::size_t k = 3; k < lights.size(); ++k)
        if (lights[k].on)
            return -1;
    for (std::size_t s = 0; s < kLightingSchemes.size(); ++s) {
        const LightingScheme& scheme = kLightingSchemes[s];
        bool same = (ambient & kRgb) == scheme.ambient;
        for (std::size_t k = 0; same && k < 3; ++k) {
            const LightState& l = lights[k];
            const SchemeLight& want = scheme.lights[k];
            same = l.on && l.infinite && (l.specular & kRgb) == 0 && (l.diffuse & kRgb) == want.diffuse &&
                   l.x == want.x && l.y == want.y && l.z == want.z;
        }
        if (same)
            return int(s);
    }
    return -1;
}

} // namespace halvex
