#include "plot/core/view_rotation.h"

#include <cmath>

namespace halvex {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180.0;

double wrap(double a)
{
    return a < 0.0 ? a + 2.0 * kPi : a;
}

} // namespace

Rotation3 AxisRotation(double degrees, double x, double y, double z)
{
    double len = std::sqrt(x * x + y * y + z * z);
    if (len == 0.0)
        return {1, 0, 0, 0, 1, 0, 0, 0, 1};
    x /= len;
    y /= len;
    z /= len;
    double a = degrees * kRadiansPerDegree, c = std::cos(a), s = std::sin(a), t = 1.0 - c;
    return {t * x * x + c,     t * x * y - s * z, t * x * z + s * y, //
            t * x * y + s * z, t * y * y + c,     t * y * z - s * x, //
            t * x * z - s * y, t * y * z + s * x, t * z * z + c};
}

Rotation3 operator*(const Rotation3& a, const Rotation3& b)
{
    Rotation3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[std::size_t(3 * i + j)] = a[std::size_t(3 * i)] * b[std::size_t(j)] +
                                        a[std::size_t(3 * i + 1)] * b[std::size_t(3 + j)] +
                                        a[std::size_t(3 * i + 2)] * b[std::size_t(6 + j)];
    return r;
}

Rotation3 ViewRotation(const ViewAngles& v, double spinDegrees, const std::array<float, 3>& axis)
{
    Rotation3 r = AxisRotation(v.rotation / kRadiansPerDegree, 0, 1, 0) * AxisRotation(v.tilt / kRadiansPerDegree, 1, 0, 0) *
                  AxisRotation(v.twist / kRadiansPerDegree, 0, 1, 0);
    if (spinDegrees != 0.0)
        r = r * AxisRotation(spinDegrees, axis[0], axis[1], axis[2]);
    return r;
}

ViewAngles FoldRotation(const Rotation3& r, double keepRotation)
{
    // r = Ry(a) · Rx(b) · Ry(c): its middle column is (sin a sin b, cos b,
    // cos a sin b).
    auto R = [&](int i, int j) { return r[std::size_t(3 * i + j)]; };
    double sb = std::hypot(R(0, 1), R(2, 1));
    ViewAngles v;
    v.tilt = std::atan2(sb, R(1, 1));
    // Straight down or up the first angle is free: keep the one given.
    double a = sb > 1e-12 ? std::atan2(R(0, 1), R(2, 1)) : keepRotation;
    // The last angle from Ry(−a) · r = Rx(b) · Ry(c), whose first row is
    // (cos c, 0, sin c): exact whatever a is.
    double ca = std::cos(a), sa = std::sin(a);
    double m00 = ca * R(0, 0) - sa * R(2, 0), m02 = ca * R(0, 2) - sa * R(2, 2);
    v.rotation = wrap(std::fmod(a, 2.0 * kPi));
    v.twist = wrap(std::atan2(m02, m00));
    return v;
}

} // namespace halvex
