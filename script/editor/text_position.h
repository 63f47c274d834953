#pragma once
// A place in the editor's text: line and column, both from 1. Positions
// compare as (line, column) pairs, so no line is too long to order.

#include <compare>

namespace script::editor {

struct TextPos {
    long line = 1;
    long column = 1;
    auto operator<=>(const TextPos&) const = default;
};

} // namespace script::editor
