#include "plot/dialog/field_number.h"

#include "platform/text/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace halvex {

namespace {

// The shortest scientific text ("-1.25e-04"), whose digits read back
// exactly, laid out without an exponent while that stays short: people
// read 0.0001 and 12500 more easily than 1e-04 and 1.25e+04.
std::string layOut(std::string_view sci)
{
    std::size_t e = sci.find('e');
    if (e == std::string_view::npos)
        return std::string(sci);
    int exp10 = std::atoi(std::string(sci.substr(e + 1)).c_str());
    if (exp10 < -5 || exp10 >= 16)
        return std::string(sci);
    std::string_view mantissa = sci.substr(0, e);
    std::string sign, digits;
    for (char c : mantissa) {
        if (c == '-')
            sign = "-";
        else if (c != '.')
            digits += c;
    }
    std::string out = sign;
    if (exp10 < 0) {
        out += "0.";
        out.append(std::size_t(-exp10 - 1), '0');
        out += digits;
    } else if (std::size_t(exp10) + 1 >= digits.size()) {
        out += digits;
        out.append(std::size_t(exp10) + 1 - digits.size(), '0');
    } else {
        out += digits.substr(0, std::size_t(exp10) + 1);
        out += '.';
        out += digits.substr(std::size_t(exp10) + 1);
    }
    return out;
}

} // namespace

std::string FormatFieldNumber(double v, bool single)
{
    if (!std::isfinite(v))
        return platform::formatShortest(v);
    if (v == 0.0)
        return "0";
    char buffer[48];
    auto r = single ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(v), std::chars_format::scientific)
                    : std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific);
    return layOut(std::string_view(buffer, std::size_t(r.ptr - buffer)));
}

bool ParseFieldNumber(std::string_view text, double& out) noexcept
{
    return platform::parseDecimal(platform::trimBlanks(text), out, true);
}

} // namespace halvex
