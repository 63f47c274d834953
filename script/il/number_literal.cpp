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
    if (text[0] < '0' || text[0] > '9')
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
