#include "script/library/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace script::library {

DecimalDigits DecimalDigits::Of(double v, int significant)
{
    DecimalDigits d;
    d.negative = std::signbit(v) && v != 0;
    if (v == 0 || !std::isfinite(v))
        return d;
    char buf[64];
    significant = std::clamp(significant, 1, 40);
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, significant - 1);
    std::string_view text(buf, static_cast<std::size_t>(r.ptr - buf));
    std::size_t e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
    for (char c : text.substr(0, e))
        if (c >= '0' && c <= '9')
            d.digits += c;
    d.point = exponent + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

void DecimalDigits::RoundToSignificant(int count)
{
    if (count < 0)
        count = 0;
    if (static_cast<int>(digits.size()) <= count)
        return;
    bool up = digits[static_cast<std::size_t>(count)] >= '5';
    digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int i = count - 1;
        for (; i >= 0; --i) {
            if (digits[static_cast<std::size_t>(i)] == '9') {
                digits[static_cast<std::size_t>(i)] = '0';
            } else {
                ++digits[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++point;
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
}

void DecimalDigits::RoundToDecimals(int decimals)
{
    int keep = point + decimals;
    if (keep < 0) {
        digits.clear();
        return;
    }
    if (keep == 0) {
        // Only the rounding digit is left: 0.5 and more round up to one
        // unit of the last decimal.
        if (!digits.empty() && digits[0] >= '5') {
            digits = "1";
            point += 1;
        } else {
            digits.clear();
        }
        return;
    }
    RoundToSignificant(keep);
}

char DecimalDigits::DigitAt(int power) const noexcept
{
    // digits[0] stands at power point - 1.
    int index = point - 1 - power;
    if (index < 0 || index >= static_cast<int>(digits.size()))
        return '0';
    return digits[static_cast<std::size_t>(index)];
}

std::string FixedText(double v, int decimals, char thousands)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v < 0 ? "-INF" : "INF";
    DecimalDigits d = DecimalDigits::Of(v);
    d.RoundToDecimals(decimals);
    std::string out;
    if (d.negative && !d.IsZero())
        out += '-';
    int top = std::max(d.point - 1, 0);
    for (int p = top; p >= 0; --p) {
        out += d.DigitAt(p);
        if (thousands && p > 0 && p % 3 == 0)
            out += thousands;
    }
    if (decimals > 0) {
        out += '.';
        for (int p = -1; p >= -decimals; --p)
            out += d.DigitAt(p);
    }
    return out;
}

std::string ScientificText(double v, int significant, int expDigits)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v < 0 ? "-INF" : "INF";
    significant = std::clamp(significant, 1, 40);
    DecimalDigits d = DecimalDigits::Of(v, std::max(significant, 15));
    d.RoundToSignificant(significant);
    std::string out;
    if (d.negative && !d.IsZero())
        out += '-';
    int exponent = d.IsZero() ? 0 : d.point - 1;
    for (int i = 0; i < significant; ++i) {
        out += i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<std::size_t>(i)] : '0';
        if (i == 0 && significant > 1)
            out += '.';
    }
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(e.size()) < expDigits)
        out.append(static_cast<std::size_t>(expDigits) - e.size(), '0');
    out += e;
    return out;
}

} // namespace script::library
