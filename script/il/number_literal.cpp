#include "script/il/number_literal.h"

#include "platform/automation/variant.h"
#include "platform/text/number_text.h"

#include <cstdint>

namespace script::il {

namespace {

int hexDigit(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Digits, an optional fraction of at least one digit, an optional exponent
// with at least one digit: the decimal form the lexical parser reads.
bool isDecimalLiteral(std::string_view t) noexcept
{
    std::size_t i = 0, n = t.size();
    auto digits = [&] {
        std::size_t from = i;
        while (i < n && t[i] >= '0' && t[i] <= '9')
            ++i;
        return i > from;
    };
    if (!digits())
        return false;
    if (i < n && t[i] == '.') {
        ++i;
        if (!digits())
            return false;
    }
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == n;
}

} // namespace

bool NumberLiteralValue(std::string_view text, platform::Variant& out)
{
    if (text.empty())
        return false;
    if (text[0] == '$') {
        if (text.size() == 1)
            return false;
        std::uint32_t v = 0;
        for (char c : text.substr(1)) {
            int d = hexDigit(c);
            if (d < 0)
                return false;
            v = (v << 4) | static_cast<std::uint32_t>(d);
        }
        out = platform::Variant::fromInt32(static_cast<std::int32_t>(v));
        return true;
    }
    if (!isDecimalLiteral(text))
        return false;
    bool integer = text.find_first_not_of("0123456789") == std::string_view::npos;
    if (integer) {
        std::int32_t i = 0;
        if (platform::parseInt32(text, i)) {
            out = platform::Variant::fromInt32(i);
            return true;
        }
    }
    double d = 0;
    if (!platform::parseDecimal(text, d))
        return false;
    out = platform::Variant::fromDouble(d);
    return true;
}

} // namespace script::il
