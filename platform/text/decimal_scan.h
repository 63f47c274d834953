#pragma once
// The scanner behind every decimal number the system reads. Inline, since
// data files push tens of millions of numbers through it: one pass checks
// the shape and gathers the digits, eight at a time where the bytes after
// the number may be read, and short numbers with small exponents then come
// out exact from one multiplication or division of two exact doubles (both
// operands are exact, so the one rounding is the correct one). Everything
// else goes through from_chars.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform {

struct DecimalScan {
    std::uint64_t mantissa = 0; // the digits, when there are at most 19
    long exp10 = 0;             // value = mantissa * 10^exp10 (when exact)
    bool negative = false;
    bool exact = true;          // mantissa holds every digit
};

namespace decimal_detail {

inline constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr std::uint64_t kPow10Int[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

// v (not negative) with the sign bit set when negative: -v without a branch.
inline double withSign(double v, bool negative) noexcept
{
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) | std::uint64_t(negative) << 63);
}

// Eight bytes less '0' each, the first byte lowest: the length of the run
// of digits they start with (0..8). A borrow or carry only ever travels
// from a non-digit byte to later ones, so the run is exact.
inline unsigned leadingDigits(std::uint64_t t) noexcept
{
    std::uint64_t nonDigit = (t | (t + 0x7676767676767676ull)) & 0x8080808080808080ull;
    return nonDigit ? static_cast<unsigned>(std::countr_zero(nonDigit)) >> 3 : 8u;
}

// The value of the first n (1..8) digits of t: the rest is shifted out, the
// digits become the low end of an eight-digit number, and three
// multiplications combine them pairwise.
inline std::uint64_t digitsValue(std::uint64_t t, unsigned n) noexcept
{
    t <<= 8 * (8 - n);
    t = t * 10 + (t >> 8);
    return ((t & 0x000000FF000000FFull) * (100 + (1000000ull << 32)) +
            ((t >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32))) >>
           32;
}

// Appends the run of digits at p to m (m = m * 10^n + digits, wrapping past
// 19 digits) and returns n. Bytes up to `readable` may be read; the run ends
// at `end` at the latest.
inline long digitRun(const char*& p, const char* end, const char* readable, std::uint64_t& m) noexcept
{
    long count = 0;
    if constexpr (std::endian::native == std::endian::little) {
        while (readable - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            std::uint64_t t = w - 0x3030303030303030ull;
            unsigned n = leadingDigits(t);
            if (static_cast<long>(n) > end - p)
                n = static_cast<unsigned>(end - p);
            if (n == 0)
                return count;
            m = m * kPow10Int[n] + digitsValue(t, n);
            p += n;
            count += n;
            if (n < 8)
                return count;
        }
    }
    unsigned digit;
    while (p < end && (digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0') <= 9) {
        m = m * 10 + digit;
        ++p;
        ++count;
    }
    return count;
}

} // namespace decimal_detail

// Scans [p, end): optional sign, digits with at most one point ('.', or ','
// too with commaIsPoint), at least one digit, optional exponent 'e'/'E'
// with optional sign and at least one digit. Stops at the first character
// that cannot continue the number and leaves p there. False when no number
// starts at p or an exponent has no digits. Bytes from end up to `readable`
// may be read but never count.
inline bool scanDecimal(const char*& p, const char* end, const char* readable, bool commaIsPoint,
                        DecimalScan& d) noexcept
{
    d = DecimalScan();
    if (p < end) {
        // Without a branch: the sign of data values is as good as random.
        const unsigned c = static_cast<unsigned char>(*p);
        d.negative = c == '-';
        p += (c == '-') | (c == '+');
    }
    // More than 19 digits in all (leading zeros included) leaves the value
    // to the exact general conversion.
    std::uint64_t m = 0;
    long digits = decimal_detail::digitRun(p, end, readable, m);
    long frac = 0;
    if (p < end && (*p == '.' || (commaIsPoint && *p == ','))) {
        ++p;
        frac = decimal_detail::digitRun(p, end, readable, m);
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
        unsigned digit;
        if (p == end || static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0' > 9)
            return false;
        for (; p < end && (digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0') <= 9; ++p)
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

inline bool scanDecimal(const char*& p, const char* end, bool commaIsPoint, DecimalScan& d) noexcept
{
    return scanDecimal(p, end, end, commaIsPoint, d);
}

// The general conversion of a scanned number's text (commas read as points).
bool decimalValueSlow(const char* start, const char* stop, double& out) noexcept;

// The double of a scanned number whose text is [start, stop). False only when
// the value is too large for a double.
inline bool decimalValue(const DecimalScan& d, const char* start, const char* stop, double& out) noexcept
{
    if (d.exact && d.mantissa == 0) {
        out = d.negative ? -0.0 : 0.0;
        return true;
    }
    if (d.exact && d.mantissa <= (std::uint64_t(1) << 53) && d.exp10 >= -22 && d.exp10 <= 22) {
        double m = static_cast<double>(d.mantissa);
        double v = d.exp10 >= 0 ? m * decimal_detail::kPow10[d.exp10] : m / decimal_detail::kPow10[-d.exp10];
        out = decimal_detail::withSign(v, d.negative);
        return true;
    }
    return decimalValueSlow(start, stop, out);
}

} // namespace platform
