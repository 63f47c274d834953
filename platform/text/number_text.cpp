#include "platform/text/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace platform {

void appendShortest(std::string& out, double v)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

std::string formatShortest(double v)
{
    std::string s;
    appendShortest(s, v);
    return s;
}

std::string formatGeneral(double v, int digits)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v < 0 ? "-INF" : "INF";
    if (digits < 1)
        digits = 1;
    if (digits > 17)
        digits = 17;
    char buf[64];
    // Scientific digits first: they tell the decimal exponent after rounding.
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, digits - 1);
    std::string_view sci(buf, r.ptr - buf);
    auto epos = sci.find('e');
    int exp10 = std::atoi(std::string(sci.substr(epos + 1)).c_str());
    std::string mant(sci.substr(0, epos));
    // Drop trailing zeros of the mantissa.
    if (mant.find('.') != std::string::npos) {
        while (!mant.empty() && mant.back() == '0')
            mant.pop_back();
        if (!mant.empty() && mant.back() == '.')
            mant.pop_back();
    }
    if (v == 0)
        return std::signbit(v) ? "-0" : "0";
    if (exp10 < -5 || exp10 >= digits) {
        std::string out = mant;
        out += 'E';
        out += std::to_string(exp10);
        return out;
    }
    // Fixed form: place the point by the exponent.
    bool neg = mant[0] == '-';
    std::string digitsOnly;
    for (char c : mant)
        if (c >= '0' && c <= '9')
            digitsOnly += c;
    std::string out = neg ? "-" : "";
    if (exp10 < 0) {
        out += "0.";
        out.append(static_cast<size_t>(-exp10 - 1), '0');
        out += digitsOnly;
    } else {
        size_t intLen = static_cast<size_t>(exp10) + 1;
        if (digitsOnly.size() <= intLen) {
            out += digitsOnly;
            out.append(intLen - digitsOnly.size(), '0');
        } else {
            out.append(digitsOnly, 0, intLen);
            out += '.';
            out.append(digitsOnly, intLen, std::string::npos);
        }
    }
    return out;
}

std::string formatFixed(double v, int decimals)
{
    if (!std::isfinite(v))
        return formatGeneral(v);
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc())
        return formatGeneral(v);
    return std::string(buf, r.ptr);
}

namespace {

bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// Out-of-range text: strtod in the C locale tells overflow from underflow.
bool slowDecimal(std::string_view t, double& out) noexcept
{
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    std::string s(t);
    char* end = nullptr;
    double v = strtod_l(s.c_str(), &end, cLocale);
    if (std::isinf(v))
        return false;
    out = v;
    return true;
}

constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace

bool parseDecimal(std::string_view t, double& out, bool commaIsPoint) noexcept
{
    // One pass checks the shape and gathers up to 19 significant digits;
    // short numbers with small exponents are then exact in one operation
    // (both operands are exact doubles), everything else goes through
    // from_chars.
    const char* p = t.data();
    const char* end = p + t.size();
    bool neg = false;
    if (p < end && (*p == '+' || *p == '-'))
        neg = *p++ == '-';
    std::uint64_t mant = 0;
    int sigDigits = 0;      // digits gathered into mant, leading zeros excluded
    int droppedDigits = 0;  // significant digits beyond 19
    int fracDigits = 0;     // digits gathered after the point
    int digits = 0;
    bool point = false;
    for (; p < end; ++p) {
        char c = *p;
        if (isDigit(c)) {
            ++digits;
            if (mant == 0 && c == '0') {
                if (point)
                    ++fracDigits;
                continue;
            }
            if (sigDigits < 19) {
                mant = mant * 10 + static_cast<unsigned>(c - '0');
                ++sigDigits;
                if (point)
                    ++fracDigits;
            } else {
                ++droppedDigits;
                if (!point)
                    --fracDigits; // a dropped integer digit scales by ten
            }
        } else if ((c == '.' || (commaIsPoint && c == ',')) && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    long exp10 = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool expNeg = false;
        if (p < end && (*p == '+' || *p == '-'))
            expNeg = *p++ == '-';
        if (p == end || !isDigit(*p))
            return false;
        for (; p < end && isDigit(*p); ++p)
            if (exp10 < 100000)
                exp10 = exp10 * 10 + (*p - '0');
        if (expNeg)
            exp10 = -exp10;
    }
    if (p != end)
        return false;
    if (mant == 0) {
        out = neg ? -0.0 : 0.0;
        return true;
    }
    long e = exp10 - fracDigits;
    if (droppedDigits == 0 && mant <= (std::uint64_t(1) << 53) && e >= -22 && e <= 22) {
        double m = static_cast<double>(mant);
        double v = e >= 0 ? m * kPow10[e] : m / kPow10[-e];
        out = neg ? -v : v;
        return true;
    }
    // General case: a clean copy for from_chars (no '+', '.' as point).
    char buf[128];
    std::string big;
    char* dst = buf;
    if (t.size() >= sizeof buf) {
        big.resize(t.size());
        dst = big.data();
    }
    std::size_t n = 0;
    for (char c : t) {
        if (c == '+' && n == 0)
            continue;
        dst[n++] = c == ',' ? '.' : c;
    }
    double v = 0;
    auto r = std::from_chars(dst, dst + n, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range)
        return slowDecimal(std::string_view(dst, n), out);
    if (r.ec != std::errc() || r.ptr != dst + n)
        return false;
    out = v;
    return true;
}

bool parseInt64(std::string_view t, std::int64_t& out) noexcept
{
    if (t.empty())
        return false;
    const char* first = t.data();
    const char* last = first + t.size();
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-')
            return false;
    }
    std::int64_t v = 0;
    auto r = std::from_chars(first, last, v, 10);
    if (r.ec != std::errc() || r.ptr != last)
        return false;
    out = v;
    return true;
}

bool parseInt32(std::string_view t, std::int32_t& out) noexcept
{
    std::int64_t v = 0;
    if (!parseInt64(t, v) || v < INT32_MIN || v > INT32_MAX)
        return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

std::string_view trimSpaces(std::string_view s) noexcept
{
    size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    return s.substr(b, e - b);
}

std::string_view trimBlanks(std::string_view s) noexcept
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

} // namespace platform
