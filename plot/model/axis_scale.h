#pragma once
// The numbers an axis shows: the range and grid values it picks (nice
// numbers inside the data, or the user's fixed grid) and how many decimals
// each of its numbers gets.

#include <cstdint>

namespace halvex {

// 1, 2, 5 or 10 times a power of ten near x: the nearest such value
// (rounded) or the smallest not below it (not rounded).
double NiceNum(double x, bool rounded);

struct AxisRange {
    double min = 0.0;
    double max = 0.0;
    // Grid values shown from min to max, at least 2 for an automatic grid.
    std::int32_t count = 2;
    // The nice step between them (0 when the range could not be divided).
    double step = 0.0;
};

// The nice values inside [lower, upper] for an automatic grid of about
// `requested` values (five on an axis); the range is never widened.
// Reversed limits are taken in order.
AxisRange AutoAxisRange(double lower, double upper, int requested = 5);

// Grid values min + k × step, k = 0 … count − 1. The value that stands for
// zero is exactly 0.0.
class GridValues {
public:
    GridValues(double min, double max, std::int32_t count);
    std::int32_t count() const noexcept { return count_; }
    double step() const noexcept { return step_; }
    double operator[](std::int32_t k) const noexcept { return k == zero_ ? 0.0 : min_ + k * step_; }

private:
    double min_;
    double step_;
    std::int32_t count_;
    std::int32_t zero_ = -1;
};

// Decimals for the number v on an axis whose grid step is s: 2 … 13, 3 for 0.
int AxisDecimals(double v, double s);

} // namespace halvex
