#include "plot/model/contour_levels.h"

#include "plot/model/axis_scale.h"

#include <algorithm>
#include <cmath>

namespace halvex {

namespace {

// Level k of an even spacing; the one that stands for zero is exactly 0.
double snapped(double v, double step) noexcept
{
    return std::fabs(v) < 0.001 * std::fabs(step) ? 0.0 : v;
}

bool usableRange(double minimum, double maximum) noexcept
{
    return std::isfinite(minimum) && std::isfinite(maximum) && minimum < maximum;
}

} // namespace

std::vector<double> ContourLevels(double minimum, double maximum, bool automatic, std::int32_t count)
{
    std::vector<double> levels;
    if (!usableRange(minimum, maximum))
        return levels;
    double first = minimum, step = 0.0;
    std::int32_t n = 0;
    if (automatic) {
        AxisRange r = AutoAxisRange(minimum, maximum, kAutoContourRequest);
        if (!(r.step > 0.0))
            return levels;
        first = r.min;
        step = r.step;
        n = std::min(r.count, kMaxContourLevels);
    } else {
        n = std::clamp(count, 0, kMaxContourLevels - 2) + 2;
        step = (maximum - minimum) / double(n - 1);
    }
    levels.reserve(std::size_t(n));
    for (std::int32_t k = 0; k < n; ++k)
        levels.push_back(snapped(first + k * step, step));
    // The last manual level is the maximum itself, whatever the rounding of
    // the steps made of it.
    if (!automatic)
        levels.back() = snapped(maximum, step);
    return levels;
}

float LevelRampPosition(std::int32_t k, std::int32_t n) noexcept
{
    return n > 1 ? float(k) / float(n - 1) : 0.0f;
}

std::int32_t ContourBands::textureSize() const noexcept
{
    std::int32_t size = 2;
    while (size < bands && size < kMaxContourBands)
        size *= 2;
    return size;
}

double ContourBands::TexCoord(double c) const noexcept
{
    double span = end - start;
    if (!(span != 0.0) || !std::isfinite(span))
        return 0.0;
    return (c - start) * bands / (textureSize() * span);
}

ContourBands FillBands(double minimum, double maximum, bool automatic, std::int32_t count)
{
    ContourBands b;
    b.start = minimum;
    b.end = maximum;
    if (automatic) {
        if (usableRange(minimum, maximum)) {
            AxisRange r = AutoAxisRange(minimum, maximum, kAutoContourRequest);
            b.start = r.min;
            b.end = r.max;
            b.bands = r.count - 1;
        }
    } else {
        b.bands = std::clamp(count, 0, kMaxContourBands - 1) + 1;
    }
    b.bands = std::clamp(b.bands, 1, kMaxContourBands);
    return b;
}

} // namespace halvex
