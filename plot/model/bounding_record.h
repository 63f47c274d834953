#pragma once
// A bounding record in display coordinates (mx, my, mz; my vertical):
// minimum and maximum of each coordinate and a unit vector. Model data
// (`Rect`, the bar box) and the control's `DataBox` are kept in this form.

#include <array>

namespace halvex {

struct BoundingRecord {
    std::array<float, 3> min{-1.0f, -1.0f, -1.0f};
    std::array<float, 3> max{1.0f, 1.0f, 1.0f};
    std::array<float, 3> vector{0.0f, 0.0f, 1.0f};

    // Every minimum the largest float, every maximum its negative: widening
    // it by any record gives that record.
    static BoundingRecord empty() noexcept;

    float extent(int axis) const noexcept { return max[axis] - min[axis]; }
    // Stores the vector normalised; a zero or non-finite one becomes (0, 0, 1).
    void setVector(float nx, float ny, float nz) noexcept;
    // Each minimum the smaller, each maximum the larger of the two.
    void widen(const BoundingRecord& other) noexcept;

    friend bool operator==(const BoundingRecord&, const BoundingRecord&) = default;
};

// A box of no extent at all is opened around its single point: by 1 % of
// each coordinate, or by 1 where the coordinate is 0.
void OpenDegenerateBox(BoundingRecord& box) noexcept;

} // namespace halvex
