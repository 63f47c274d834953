#include "script/editor/syntax_scanner.h"

#include "script/editor/keyword_list.h"

#include <algorithm>

namespace script::editor {

namespace {

constexpr bool isLetter(char c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool isWordChar(char c) noexcept { return isLetter(c) || (c >= '0' && c <= '9') || c == '_'; }

// The comment and string markers of a syntax type.
struct Rules {
    std::string_view lineComment;  // up to the line end
    bool braceComment = false;     // "{" .. "}"
    std::string_view blockOpen;    // two characters, or empty
    std::string_view blockClose;
    char quote = 0;                // string delimiter, or 0
};

constexpr Rules rulesOf(TSyntaxType type) noexcept
{
    switch (type) {
    case TSyntaxType::stPascal: return {"//", true, "(*", "*)", '\''};
    case TSyntaxType::stCpp:
    case TSyntaxType::stJs:
    case TSyntaxType::stVB: return {"//", false, "/*", "*/", '"'};
    case TSyntaxType::stSQL: return {"--", false, "/*", "*/", '"'};
    case TSyntaxType::stText: break;
    }
    return {};
}

// Characters that can start a token; every other character is plain text.
constexpr bool startsToken(char c) noexcept
{
    return isLetter(c) || c == '_' || c == '{' || c == '(' || c == '/' || c == '-' || c == '\'' || c == '"';
}

struct Marker {
    CharAttr* attrs;
    void mark(std::size_t from, std::size_t to, CharAttr a) const
    {
        if (attrs)
            std::fill(attrs + from, attrs + to, a);
    }
};

bool startsWith(std::string_view line, std::size_t at, std::string_view what) noexcept
{
    return !what.empty() && line.compare(at, what.size(), what) == 0;
}

} // namespace

ScanState ScanLine(TSyntaxType type, std::string_view line, ScanState state, CharAttr* attrs)
{
    const Rules rules = rulesOf(type);
    const Marker out{attrs};
    const std::size_t n = line.size();
    std::size_t i = 0;

    // The end of a comment that spans lines: past its closing marker, or
    // the line's end with the comment still open.
    auto closeComment = [&](ScanState open, std::size_t from) -> std::size_t {
        std::size_t end = open == ScanState::BraceComment ? line.find('}', from) : line.find(rules.blockClose, from);
        if (end == std::string_view::npos) {
            state = open;
            return n;
        }
        state = ScanState::Normal;
        return end + (open == ScanState::BraceComment ? 1 : rules.blockClose.size());
    };

    if (state != ScanState::Normal) {
        std::size_t end = closeComment(state, 0);
        out.mark(0, end, CharAttr::Comment);
        i = end;
    }
    while (i < n) {
        const char c = line[i];
        if (!startsToken(c)) {
            std::size_t end = i + 1;
            while (end < n && !startsToken(line[end]))
                ++end;
            out.mark(i, end, CharAttr::Text);
            i = end;
            continue;
        }
        if (isLetter(c) || c == '_') {
            std::size_t end = i + 1;
            while (end < n && isWordChar(line[end]))
                ++end;
            out.mark(i, end, attrs && IsKeyword(type, line.substr(i, end - i)) ? CharAttr::Keyword : CharAttr::Text);
            i = end;
        } else if (startsWith(line, i, rules.lineComment)) {
            out.mark(i, n, CharAttr::Comment);
            i = n;
        } else if (c == '{' && rules.braceComment) {
            std::size_t end = closeComment(ScanState::BraceComment, i + 1);
            out.mark(i, end, CharAttr::Comment);
            i = end;
        } else if (startsWith(line, i, rules.blockOpen)) {
            std::size_t end = closeComment(ScanState::BlockComment, i + rules.blockOpen.size());
            out.mark(i, end, CharAttr::Comment);
            i = end;
        } else if (rules.quote && c == rules.quote) {
            std::size_t close = line.find(rules.quote, i + 1);
            std::size_t end = close == std::string_view::npos ? n : close + 1;
            out.mark(i, end, CharAttr::String);
            i = end;
        } else {
            out.mark(i, i + 1, CharAttr::Text);
            ++i;
        }
    }
    return state;
}

} // namespace script::editor
