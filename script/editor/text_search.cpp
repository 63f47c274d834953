#include "script/editor/text_search.h"

#include "platform/text/ascii_case.h"

namespace script::editor {

bool MatchesAt(std::string_view line, std::string_view needle, bool matchCase, std::size_t at) noexcept
{
    if (needle.empty() || at > line.size() || line.size() - at < needle.size())
        return false;
    if (matchCase)
        return line.compare(at, needle.size(), needle) == 0;
    for (std::size_t k = 0; k < needle.size(); ++k)
        if (platform::lowerAscii(line[at + k]) != platform::lowerAscii(needle[k]))
            return false;
    return true;
}

std::size_t FindInLine(std::string_view line, std::string_view needle, bool matchCase, std::size_t from) noexcept
{
    if (needle.empty() || line.size() < needle.size())
        return std::string_view::npos;
    if (matchCase)
        return line.find(needle, from);
    const char first = platform::lowerAscii(needle[0]);
    for (std::size_t i = from; i + needle.size() <= line.size(); ++i)
        if (platform::lowerAscii(line[i]) == first && MatchesAt(line, needle, false, i))
            return i;
    return std::string_view::npos;
}

std::size_t FindLastInLine(std::string_view line, std::string_view needle, bool matchCase) noexcept
{
    if (needle.empty() || line.size() < needle.size())
        return std::string_view::npos;
    for (std::size_t i = line.size() - needle.size() + 1; i-- > 0;)
        if (MatchesAt(line, needle, matchCase, i))
            return i;
    return std::string_view::npos;
}

} // namespace script::editor
