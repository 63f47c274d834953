#pragma once
// The point of a data line, read in one pass: the line is classified, its
// first three fields are split off and read as numbers together, without
// copying a character. It gives exactly what StrToNumberDef(ExtractField(
// line, n), default) gives for n = 1, 2, 3; this is the hot loop of matrix
// building, so it is inline.
//
// Two forms share the code: a line given with its end (a computed line,
// where CR and LF are ordinary characters), and a line inside a file's text,
// whose end is found on the way, so the text is walked only once.

#include "platform/text/decimal_scan.h"
#include "viewer/data/field_text.h"
#include "viewer/data/kept_points.h"

#include <array>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrin {

struct PointDefaults {
    double v[3] = {0, 0, 0};
};

// A data line's point, and how each value is kept between the passes.
struct LinePoint {
    double v[3];
    ValueCode code[3];
};

namespace point_detail {

enum : unsigned char { kSeparator = 1, kLineEnd = 2 };

inline constexpr std::array<unsigned char, 256> kCharClass = [] {
    std::array<unsigned char, 256> t{};
    t[' '] = t[';'] = t['\t'] = kSeparator;
    t['\r'] = t['\n'] = kLineEnd;
    return t;
}();
static_assert([] {
    for (int c = 0; c < 256; ++c)
        if (((kCharClass[c] & kSeparator) != 0) != isFieldSeparator(static_cast<char>(c)))
            return false;
    return true;
}(), "the separators of the table are the field separators");

// The first CR or LF in [p, end), or end; bytes up to `readable` may be read.
inline const char* findLineEnd(const char* p, const char* end, const char* readable) noexcept
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    while (p < end && readable - p >= 16) {
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(b, cr), _mm_cmpeq_epi8(b, lf));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask) {
            const char* hit = p + __builtin_ctz(mask);
            return hit < end ? hit : end;
        }
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p < end ? p : end;
}

// The start of the line after the one whose remaining text starts at p: a
// line ends at CR, LF or CR LF.
inline const char* nextLine(const char* p, const char* end, const char* readable) noexcept
{
    if (p < end && *p == '\n') // the usual case, at the end of the third field
        return p + 1;
    p = findLineEnd(p, end, readable);
    if (p == end)
        return end;
    if (*p == '\r' && p + 1 < end && p[1] == '\n')
        return p + 2;
    return p + 1;
}

// The usual field, [sign] digits [point digits] with at most eight digits
// in all, followed by what ends a field: read from two eight-byte loads
// with no loop. Reads up to seventeen bytes from p. False for anything
// else, which the general scan then reads; the value and code are the ones
// it would give (the digits fit the exact one-division path and the code).
template <unsigned char kFieldEnd>
inline bool readShortField(const char*& p, double& value, ValueCode& code) noexcept
{
    using namespace platform::decimal_detail;
    const char* q = p;
    const unsigned c = static_cast<unsigned char>(*q);
    const bool negative = c == '-';
    q += (c == '-') | (c == '+');
    std::uint64_t w;
    std::memcpy(&w, q, 8);
    const std::uint64_t intPart = w - 0x3030303030303030ull;
    const unsigned intDigits = leadingDigits(intPart);
    if (intDigits == 8)
        return false;
    const char* stop = q + intDigits;
    std::uint64_t m = intDigits ? digitsValue(intPart, intDigits) : 0;
    unsigned fracDigits = 0;
    if (*stop == '.' || *stop == ',') {
        std::memcpy(&w, stop + 1, 8);
        const std::uint64_t fracPart = w - 0x3030303030303030ull;
        fracDigits = leadingDigits(fracPart);
        if (fracDigits)
            m = m * kPow10Int[fracDigits] + digitsValue(fracPart, fracDigits);
        stop += 1 + fracDigits;
    }
    if (intDigits + fracDigits - 1 >= 8 || !(kCharClass[static_cast<unsigned char>(*stop)] & kFieldEnd))
        return false;
    value = withSign(static_cast<double>(m) / kPow10[fracDigits], negative);
    code = static_cast<ValueCode>(negative) << 31 | fracDigits << 27 | static_cast<ValueCode>(m);
    p = stop;
    return true;
}

} // namespace point_detail

// Reads the line that starts at p. With kInText, the line runs to the next
// CR or LF in [p, end) and the start of the next line is returned; without,
// the line is all of [p, end) and end is returned. `readable` (>= end) bounds
// the bytes that may be read ahead. `data` tells whether the line holds a
// point (it is neither empty nor a comment); if so, `out` holds it.
template <bool kInText>
inline const char* readLinePoint(const char* p, const char* end, const char* readable, const PointDefaults& defaults,
                                 LinePoint& out, bool& data) noexcept
{
    using namespace point_detail;
    // What ends a field: a separator, and in a text also a line end.
    constexpr unsigned char kFieldEnd = kInText ? kSeparator | kLineEnd : kSeparator;
    auto cls = [](char c) { return kCharClass[static_cast<unsigned char>(c)] & kFieldEnd; };

    while (p < end && *p == ' ')
        ++p;
    if (p == end || *p == '*' || *p == '/' || cls(*p) == kLineEnd) {
        data = false;
        return kInText ? nextLine(p, end, readable) : end;
    }
    data = true;
    for (int f = 0; f < 3; ++f) {
        while (p < end && cls(*p) == kSeparator)
            ++p;
        if (p == end || cls(*p) == kLineEnd) {
            for (; f < 3; ++f) {
                out.v[f] = defaults.v[f];
                out.code[f] = kCodeDefault;
            }
            break;
        }
        if (readable - p >= 32 && readShortField<kFieldEnd>(p, out.v[f], out.code[f]))
            continue;
        const char* start = p;
        platform::DecimalScan d;
        if (platform::scanDecimal(p, end, readable, true, d) && (p == end || cls(*p) != 0) &&
            platform::decimalValue(d, start, p, out.v[f])) {
            out.code[f] = encodeValue(d);
            continue;
        }
        // Not a number (or too large for a double): the rest of the field
        // is skipped and the default stands in.
        while (p < end && cls(*p) == 0)
            ++p;
        out.v[f] = defaults.v[f];
        out.code[f] = kCodeDefault;
    }
    return kInText ? nextLine(p, end, readable) : end;
}

// The point of one whole line. False for empty and comment lines.
inline bool readDataPoint(std::string_view line, const PointDefaults& defaults, double xyz[3]) noexcept
{
    LinePoint pt;
    bool data = false;
    const char* end = line.data() + line.size();
    readLinePoint<false>(line.data(), end, end, defaults, pt, data);
    if (data)
        for (int f = 0; f < 3; ++f)
            xyz[f] = pt.v[f];
    return data;
}

} // namespace tavrin
