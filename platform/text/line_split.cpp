#include "platform/text/line_split.h"

namespace platform {

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t i = 0, n = text.size();
    while (i < n) {
        std::size_t e = i;
        while (e < n && text[e] != '\r' && text[e] != '\n')
            ++e;
        lines.emplace_back(text.substr(i, e - i));
        if (e < n && text[e] == '\r' && e + 1 < n && text[e + 1] == '\n')
            e += 2;
        else if (e < n)
            ++e;
        i = e;
    }
    return lines;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines)
{
    std::size_t total = 0;
    for (const std::string& l : lines)
        total += l.size() + 2;
    std::string out;
    out.reserve(total);
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

} // namespace platform
