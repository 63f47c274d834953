#include "plot/model/scene_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace halvex {

namespace {

constexpr int kExponentThreshold = 4;
constexpr double kZeroThreshold = 1e-200;

// Texts as the C library's "%.*le" and "%.*lf" give them in the C locale.
std::string scientific(double v, int decimals)
{
    char buf[96];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, decimals);
    return std::string(buf, r.ptr);
}

std::string fixed(double v, int decimals)
{
    char buf[128];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

int exponentOf(const std::string& text)
{
    std::size_t e = text.find('e');
    int x = 0;
    if (e != std::string::npos) {
        const char* p = text.data() + e + 1;
        if (*p == '+')
            ++p;
        std::from_chars(p, text.data() + text.size(), x);
    }
    return x;
}

} // namespace

std::string FormatSceneNumber(double v, int decimals)
{
    // Beyond the digits a double holds there is nothing to show.
    int d = std::clamp(decimals, 0, 30);
    std::string out;
    bool negative = v < 0.0 && std::fabs(v) > kZeroThreshold;
    v = std::fabs(v);
    if (v <= kZeroThreshold)
        v = 0.0;
    if (!std::isfinite(v))
        return std::string(negative ? "-" : "") + (std::isnan(v) ? "NAN" : "INF");
    if (negative)
        out = "-";

    int E = v != 0.0 ? int(std::floor(std::log10(v))) : 0;
    // Near the threshold the rounded mantissa decides (9999.7 is 1.00e+04).
    if (std::abs(std::abs(E) - kExponentThreshold) <= 1)
        E = exponentOf(scientific(v, d));
    int k = 0;
    if (E >= 1 && E + d >= 16)
        k = E + d - 15;

    std::string text;
    int exponent = 0;
    if (E >= kExponentThreshold || E <= -kExponentThreshold) {
        text = scientific(v, d);
        exponent = exponentOf(text);
        text.erase(text.find('e'));
    } else {
        if (k >= d)
            k = 0;
        text = fixed(v, d - k);
        text.append(std::size_t(k), '0');
    }
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.pop_back();
    }
    if (text.empty() || (text[0] == '0' && (text.size() == 1 || text[1] != '.')))
        return "0";
    out += text;
    if (exponent != 0) {
        out += kMiddleDot;
        out += "10";
        out += kSuperscriptStart;
        char buf[16];
        auto r = std::to_chars(buf, buf + sizeof buf, exponent);
        out.append(buf, r.ptr);
        out += kSuperscriptEnd;
    }
    return out;
}

} // namespace halvex
