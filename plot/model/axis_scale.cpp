#include "plot/model/axis_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace halvex {

double NiceNum(double x, bool rounded)
{
    // The power of ten by repeated multiplication, as the grids have
    // always been computed.
    double p = 1.0;
    if (x > 0.0 && std::isfinite(x)) {
        int e = int(std::floor(std::log10(x)));
        for (int i = 0; i < e; ++i)
            p *= 10.0;
        for (int i = 0; i > e; --i)
            p *= 0.1;
    }
    double f = x / p;
    double nf;
    if (rounded)
        nf = f < 1.5 ? 1.0 : f < 3.0 ? 2.0 : f < 7.0 ? 5.0 : 10.0;
    else
        nf = f <= 1.0 ? 1.0 : f <= 2.0 ? 2.0 : f <= 5.0 ? 5.0 : 10.0;
    return nf * p;
}

AxisRange AutoAxisRange(double lower, double upper, int requested)
{
    if (lower > upper)
        std::swap(lower, upper);
    if (lower == upper)
        return {lower, upper, 2};
    double range = NiceNum(upper - lower, false);
    double step = NiceNum(range / (std::max(requested, 2) - 1), true);
    if (!(step > 0.0) || !std::isfinite(step))
        return {lower, upper, 2};
    double niceMin = std::floor(lower / step) * step;
    double niceMax = std::ceil(upper / step) * step;
    double first = 0.0, last = 0.0;
    bool haveFirst = false, haveLast = false;
    // About `requested` steps; the bound only stops a walk that rounding
    // keeps from advancing.
    for (int i = 0; i < 1000; ++i) {
        double v = niceMin + i * step;
        if (!(v - niceMin < (niceMax - niceMin) + step / 2))
            break;
        if (!haveFirst && v >= lower) {
            first = v;
            haveFirst = true;
        }
        if (v > upper)
            break;
        last = v;
        haveLast = true;
        if (v == upper)
            break;
    }
    if (!haveFirst || !haveLast || first > last)
        return {lower, upper, 2};
    double n = std::round((last - first) / step) + 1.0;
    return {first, last, std::int32_t(std::clamp(n, 2.0, 1000.0)), step};
}

GridValues::GridValues(double min, double max, std::int32_t count)
    : min_(min), step_(count > 1 ? (max - min) / (count - 1) : 0.0), count_(std::max(count, 0))
{
    if (min == 0.0) {
        zero_ = 0;
        return;
    }
    if (step_ == 0.0 || !std::isfinite(step_) || !std::isfinite(min))
        return;
    double z = std::round(-min / step_);
    if (!(z >= 0.0 && z < double(count_)))
        return;
    // The value that stands for zero: within a tiny fraction of a step of
    // it, or within the rounding of the limits, which have passed through
    // single precision (a fixed grid over −300.00003 … 300 has its middle
    // at −1.5·10⁻⁵, and means 0).
    const double last = min + double(count_ - 1) * step_;
    const double rounding =
        8.0 * double(std::numeric_limits<float>::epsilon()) * std::max(std::fabs(min), std::fabs(last));
    if (std::fabs(min + z * step_) <= std::max(1e-9 * std::fabs(step_), std::min(rounding, 1e-3 * std::fabs(step_))))
        zero_ = std::int32_t(z);
}

int AxisDecimals(double v, double s)
{
    if (v == 0.0)
        return 3;
    if (!std::isfinite(v))
        return 2;
    int ev = int(std::floor(std::log10(std::fabs(v))));
    int es = s != 0.0 && std::isfinite(s) ? int(std::floor(std::log10(std::fabs(s)))) : ev;
    int d = std::abs(ev - es);
    if (ev < 0)
        d += 1;
    double a = std::fabs(v);
    if (a >= 0.0001 && a < 0.1)
        d -= ev;
    return std::clamp(d, 2, 13);
}

} // namespace halvex
