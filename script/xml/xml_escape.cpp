#include "script/xml/xml_escape.h"

#include "script/script_error.h"

#include <charconv>
#include <cstdint>

namespace script {

namespace {

bool needsEscape(std::string_view v, std::size_t i) noexcept
{
    switch (v[i]) {
    case '\r':
    case '\n':
    case '"':
    case '<':
    case '>':
        return true;
    case '&':
        return i + 1 < v.size() && v[i + 1] == '#';
    default:
        return false;
    }
}

} // namespace

void AppendXmlEscaped(std::string& out, std::string_view value)
{
    std::size_t run = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!needsEscape(value, i))
            continue;
        out.append(value.data() + run, i - run);
        out += "&#";
        out += std::to_string(static_cast<unsigned char>(value[i]));
        out += ';';
        run = i + 1;
    }
    out.append(value.data() + run, value.size() - run);
}

std::string XmlEscape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    AppendXmlEscaped(out, value);
    return out;
}

std::string XmlUnescape(std::string_view text)
{
    std::size_t i = text.find("&#");
    if (i == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t run = 0;
    while (i != std::string_view::npos) {
        std::size_t semi = text.find(';', i + 2);
        if (semi == std::string_view::npos)
            break;
        if (semi == i + 2) { // "&#;" is no reference
            i = text.find("&#", i + 2);
            continue;
        }
        std::string_view digits = text.substr(i + 2, semi - i - 2);
        std::int32_t code = -1;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
        if (ec != std::errc() || end != digits.data() + digits.size() || code < 0 || digits[0] == '-')
            throw ScriptError("'" + std::string(digits) + "' is not a valid integer value");
        out.append(text.data() + run, i - run);
        out += static_cast<char>(static_cast<unsigned char>(code & 0xFF));
        run = semi + 1;
        i = text.find("&#", run);
    }
    out.append(text.data() + run, text.size() - run);
    return out;
}

} // namespace script
