#pragma once
// The 40 named colours of the format dialog's colour menu, in the menu's
// order: five rows of eight, dark to light.

#include <array>
#include <cstdint>

namespace halvex {

struct SwatchColor {
    const char* name;
    std::uint32_t rgb; // red in the low byte, then green and blue
};

constexpr int kSwatchColumns = 8;
extern const std::array<SwatchColor, 40> kSwatchColors;

} // namespace halvex
