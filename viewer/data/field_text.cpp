#include "viewer/data/field_text.h"

#include "platform/text/number_text.h"

namespace tavrin {

double StrToNumberDef(std::string_view text, double defaultValue) noexcept
{
    double v = 0;
    return platform::parseDecimal(platform::trimSpaces(text), v, true) ? v : defaultValue;
}

std::string_view ExtractField(std::string_view line, int n, std::string_view separators) noexcept
{
    if (n < 1)
        return {};
    auto isSep = [separators](char c) { return separators.find(c) != std::string_view::npos; };
    std::size_t i = 0, len = line.size();
    int field = 0;
    while (i < len) {
        while (i < len && isSep(line[i]))
            ++i;
        if (i == len)
            break;
        std::size_t start = i;
        while (i < len && !isSep(line[i]))
            ++i;
        if (++field == n)
            return platform::trimSpaces(line.substr(start, i - start));
    }
    return {};
}

} // namespace tavrin
