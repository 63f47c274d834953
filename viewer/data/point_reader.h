#pragma once
// The point of a data line, read in one pass: the line is classified, its
// first three fields are split off and read as numbers together, without
// copying a character. It gives exactly what StrToNumberDef(ExtractField(
// line, n), default) gives for n = 1, 2, 3; this is the hot loop of matrix
// building, so it is inline.

#include "platform/text/decimal_scan.h"
#include "viewer/data/field_text.h"

#include <string_view>

namespace tavrin {

struct PointDefaults {
    double v[3] = {0, 0, 0};
};

// False for empty and comment lines. Otherwise fills xyz.
inline bool readDataPoint(std::string_view line, const PointDefaults& defaults, double xyz[3]) noexcept
{
    const char* p = line.data();
    const char* end = p + line.size();
    while (p < end && *p == ' ')
        ++p;
    if (p == end || *p == '*' || *p == '/')
        return false;
    for (int f = 0; f < 3; ++f) {
        while (p < end && isFieldSeparator(*p))
            ++p;
        if (p == end) {
            xyz[f] = defaults.v[f];
            continue;
        }
        const char* start = p;
        platform::DecimalScan d;
        bool number = platform::scanDecimal(p, end, true, d) && (p == end || isFieldSeparator(*p));
        if (!number) {
            while (p < end && !isFieldSeparator(*p))
                ++p;
            xyz[f] = defaults.v[f];
            continue;
        }
        if (!platform::decimalValue(d, start, p, xyz[f]))
            xyz[f] = defaults.v[f];
    }
    return true;
}

} // namespace tavrin
