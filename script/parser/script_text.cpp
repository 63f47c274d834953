#include "script/parser/script_text.h"

namespace script {

std::string NormalizeLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t e = i;
        while (e < n && text[e] != '\r' && text[e] != '\n')
            ++e;
        out.append(text.data() + i, e - i);
        out += "\r\n";
        if (e < n && text[e] == '\r' && e + 1 < n && text[e + 1] == '\n')
            e += 2;
        else if (e < n)
            ++e;
        i = e;
    }
    return out;
}

} // namespace script
