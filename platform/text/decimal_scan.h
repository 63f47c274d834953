#pragma once
// The scanner behind every decimal number the system reads. Inline, since
// data files push tens of millions of numbers through it: one pass checks
// the shape and gathers the digits, and short numbers with small exponents
// then come out exact from one multiplication or division of two exact
// doubles. Everything else goes through from_chars.

#include <cstddef>
#include <cstdint>

namespace platform {

struct DecimalScan {
    std::uint64_t mantissa = 0; // the digits, when there are at most 19
    long exp10 = 0;             // value = mantissa * 10^exp10 (when exact)
    bool negative = false;
    bool exact = true;          // mantissa holds every digit
};

// Scans [p, end): optional sign, digits with at most one point ('.', or ','
// too with commaIsPoint), at least one digit, optional exponent 'e'/'E'
// with optional sign and at least one digit. Stops at the first character
// that cannot continue the number and leaves p there. False when no number
// starts at p or an exponent has no digits.
inline bool scanDecimal(const char*& p, const char* end, bool commaIsPoint, DecimalScan& d) noexcept
{
    d = DecimalScan();
    if (p < end && (*p == '+' || *p == '-'))
        d.negative = *p++ == '-';
    // Tight loops over the integer and the fraction digits. More than 19
    // digits in all (leading zeros included) leaves the value to the exact
    // general conversion.
    std::uint64_t m = 0;
    const char* intStart = p;
    unsigned digit;
    while (p < end && (digit = static_cast<unsigned char>(*p) - '0') <= 9) {
        m = m * 10 + digit;
        ++p;
    }
    long digits = p - intStart;
    long frac = 0;
    if (p < end && (*p == '.' || (commaIsPoint && *p == ','))) {
        const char* fracStart = ++p;
        while (p < end && (digit = static_cast<unsigned char>(*p) - '0') <= 9) {
            m = m * 10 + digit;
            ++p;
        }
        frac = p - fracStart;
        digits += frac;
    }
    if (digits == 0)
        return false;
    long e = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool expNeg = false;
        if (p < end && (*p == '+' || *p == '-'))
            expNeg = *p++ == '-';
        if (p == end || static_cast<unsigned>(static_cast<unsigned char>(*p) - '0') > 9)
            return false;
        for (; p < end && (digit = static_cast<unsigned char>(*p) - '0') <= 9; ++p)
            if (e < 100000)
                e = e * 10 + static_cast<long>(digit);
        if (expNeg)
            e = -e;
    }
    d.mantissa = m;
    d.exp10 = e - frac;
    d.exact = digits <= 19;
    return true;
}

// The general conversion of a scanned number's text (commas read as points).
bool decimalValueSlow(const char* start, const char* stop, double& out) noexcept;

// The double of a scanned number whose text is [start, stop). False only when
// the value is too large for a double.
inline bool decimalValue(const DecimalScan& d, const char* start, const char* stop, double& out) noexcept
{
    constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (d.exact && d.mantissa == 0) {
        out = d.negative ? -0.0 : 0.0;
        return true;
    }
    if (d.exact && d.mantissa <= (std::uint64_t(1) << 53) && d.exp10 >= -22 && d.exp10 <= 22) {
        double m = static_cast<double>(d.mantissa);
        double v = d.exp10 >= 0 ? m * kPow10[d.exp10] : m / kPow10[-d.exp10];
        out = d.negative ? -v : v;
        return true;
    }
    return decimalValueSlow(start, stop, out);
}

} // namespace platform
