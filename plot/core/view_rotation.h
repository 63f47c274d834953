#pragma once
// The rotation part of the view transform, as the renderer builds it:
// `Rotation` about the vertical, `Tilt` about the horizontal, `Twist` about
// the vertical again, then the free spin rotation; and the folding of such
// a rotation back into the three angles.

#include <array>

namespace halvex {

// Row-major 3 × 3.
using Rotation3 = std::array<double, 9>;

struct ViewAngles {
    double tilt = 0.0; // radians
    double rotation = 0.0;
    double twist = 0.0;
};

// A rotation by degrees about an axis, as the GL's rotation builds it (the
// axis normalised; a zero axis gives the identity).
Rotation3 AxisRotation(double degrees, double x, double y, double z);
Rotation3 operator*(const Rotation3& a, const Rotation3& b);

// The view's rotation for the angles followed by the spin.
Rotation3 ViewRotation(const ViewAngles& angles, double spinDegrees, const std::array<float, 3>& spinAxis);

// The angles whose rotation is r: `Tilt` 0 … π, `Rotation` and `Twist`
// 0 … 2π. Looking straight down or up (`Tilt` 0 or π) only their sum or
// difference matters; `Rotation` then keeps the value given.
ViewAngles FoldRotation(const Rotation3& r, double keepRotation);

} // namespace halvex
