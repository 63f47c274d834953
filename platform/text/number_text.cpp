#include "platform/text/number_text.h"

#include "platform/text/decimal_scan.h"

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

void appendPrintfG(std::string& out, double v, int digits)
{
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, digits < 1 ? 1 : digits);
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

} // namespace

bool decimalValueSlow(const char* start, const char* stop, double& out) noexcept
{
    // A clean copy for from_chars: no '+', '.' as the point.
    std::size_t len = static_cast<std::size_t>(stop - start);
    char small[128];
    std::string big;
    char* dst = small;
    if (len >= sizeof small) {
        big.resize(len);
        dst = big.data();
    }
    std::size_t n = 0;
    for (const char* p = start; p < stop; ++p) {
        if (*p == '+' && n == 0)
            continue;
        dst[n++] = *p == ',' ? '.' : *p;
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

bool parseDecimal(std::string_view t, double& out, bool commaIsPoint) noexcept
{
    const char* p = t.data();
    const char* end = p + t.size();
    DecimalScan d;
    if (!scanDecimal(p, end, commaIsPoint, d) || p != end)
        return false;
    return decimalValue(d, t.data(), end, out);
}

bool parseNumberText(std::string_view s, bool& isInt, std::int64_t& i, double& d) noexcept
{
    s = trimBlanks(s);
    if (parseInt64(s, i)) {
        isInt = true;
        return true;
    }
    bool neg = false;
    std::string_view t = s;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        neg = t[0] == '-';
        t.remove_prefix(1);
    }
    std::string_view hex;
    if (t.size() > 1 && t[0] == '$')
        hex = t.substr(1);
    else if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
        hex = t.substr(2);
    if (!hex.empty()) {
        if (hex.size() > 16)
            return false;
        std::uint64_t v = 0;
        for (char c : hex) {
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0)
                return false;
            v = v << 4 | static_cast<unsigned>(digit);
        }
        i = static_cast<std::int64_t>(neg ? 0 - v : v);
        isInt = true;
        return true;
    }
    if (parseDecimal(s, d)) {
        isInt = false;
        return true;
    }
    return false;
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

} // namespace platform
