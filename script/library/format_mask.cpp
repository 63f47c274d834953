#include "script/library/format_mask.h"

#include "platform/text/cp1251.h"

namespace script::library {

namespace {

bool isPlaceholder(char c)
{
    switch (c) {
    case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
        return true;
    default:
        return false;
    }
}

} // namespace

std::string FormatMaskTextValue(std::string_view editMask, std::string_view value)
{
    // The fields: the last two ";"-separated parts, when present, unless
    // the ";" is escaped.
    std::string_view mask = editMask;
    bool save = true;
    char blank = '_';
    auto lastField = [](std::string_view m) -> std::size_t {
        std::size_t p = m.rfind(';');
        if (p != std::string_view::npos && p > 0 && m[p - 1] == '\\')
            return std::string_view::npos;
        return p;
    };
    std::size_t f2 = lastField(mask);
    if (f2 != std::string_view::npos) {
        std::size_t f1 = lastField(mask.substr(0, f2));
        if (f1 != std::string_view::npos) {
            std::string_view saveField = mask.substr(f1 + 1, f2 - f1 - 1);
            std::string_view blankField = mask.substr(f2 + 1);
            save = saveField.empty() || saveField[0] != '0';
            if (!blankField.empty())
                blank = blankField[0];
            mask = mask.substr(0, f1);
        } else {
            std::string_view saveField = mask.substr(f2 + 1);
            save = saveField.empty() || saveField[0] != '0';
            mask = mask.substr(0, f2);
        }
    }
    std::string out;
    std::size_t vi = 0;
    int caseMode = 0; // 1 upper, -1 lower
    for (std::size_t i = 0; i < mask.size(); ++i) {
        char c = mask[i];
        if (c == '!')
            continue;
        if (c == '<' && i + 1 < mask.size() && mask[i + 1] == '>') {
            caseMode = 0;
            ++i;
            continue;
        }
        if (c == '>') {
            caseMode = 1;
            continue;
        }
        if (c == '<') {
            caseMode = -1;
            continue;
        }
        if (isPlaceholder(c)) {
            if (vi < value.size()) {
                char v = value[vi++];
                if (caseMode > 0)
                    v = platform::upperCp1251(v);
                else if (caseMode < 0)
                    v = platform::lowerCp1251(v);
                out += v;
            } else {
                out += blank;
            }
            continue;
        }
        char literal = c;
        if (c == '\\' && i + 1 < mask.size())
            literal = mask[++i];
        else if (c == '/')
            literal = '.';
        else if (c == '_')
            literal = ' ';
        out += literal;
        if (save && vi < value.size() && value[vi] == literal)
            ++vi;
    }
    return out;
}

} // namespace script::library
