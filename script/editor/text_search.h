#pragma once
// Finding text in a line. Without matchCase only the Latin letters A to Z
// compare without regard to case; every other character, Cyrillic letters
// included, compares exactly.

#include <cstddef>
#include <string_view>

namespace script::editor {

struct SearchOptions {
    bool matchCase = false;
    bool backward = false;
};

// The index of the first occurrence at or after `from`, or npos.
std::size_t FindInLine(std::string_view line, std::string_view needle, bool matchCase, std::size_t from = 0) noexcept;
// The index of the last occurrence, or npos.
std::size_t FindLastInLine(std::string_view line, std::string_view needle, bool matchCase) noexcept;
// Whether the needle occurs at `at`.
bool MatchesAt(std::string_view line, std::string_view needle, bool matchCase, std::size_t at) noexcept;

} // namespace script::editor
