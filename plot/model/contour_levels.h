#pragma once
// The levels of one contour direction and the colour positions that go
// with them. Counts come from 16-bit properties that a script may set to
// anything: a negative count counts as 0 and the levels are capped, without
// touching the stored value, so no count can divide by zero or exhaust
// memory.

#include <cstdint>
#include <vector>

namespace halvex {

// Nice-number levels ask for this many values instead of an axis's five.
constexpr int kAutoContourRequest = 15;
// At most this many levels per direction.
constexpr std::int32_t kMaxContourLevels = 1000;
// Bands of a fill texture per direction.
constexpr std::int32_t kMaxContourBands = 128;

// The levels over [minimum, maximum], ascending. Automatic: the nice values
// inside the range, requested count 15. Manual: count + 2 levels evenly
// spaced from minimum to maximum inclusive, so that count is the number of
// interior levels. A level within 0.001 of a step of zero is exactly 0.0.
// Empty when the range is empty, reversed or not finite.
std::vector<double> ContourLevels(double minimum, double maximum, bool automatic, std::int32_t count);

// The colour-ramp position of level k of n: k / (n − 1), 0 for a single
// level.
float LevelRampPosition(std::int32_t k, std::int32_t n) noexcept;

// The bands of a filled direction over its range and the range they span.
struct ContourBands {
    double start = 0.0;
    double end = 0.0;
    std::int32_t bands = 1; // 1 … 128
    // Texels along the direction: the smallest power of two not below the
    // band count, 2 … 128.
    std::int32_t textureSize() const noexcept;
    // The texture coordinate of a value c: the range fills exactly the first
    // `bands` texels; 0 when the range is empty.
    double TexCoord(double c) const noexcept;
};

// Manual: the range as it is with count + 1 bands. Automatic: the first and
// last nice values inside the range with one band between neighbours.
ContourBands FillBands(double minimum, double maximum, bool automatic, std::int32_t count);

} // namespace halvex
