#pragma once
// The highlighter, one line at a time. Only brace and block comments span
// lines (strings and line comments end with their line), so the state a
// line starts in is all it needs from the lines above: the editor keeps
// those states and scans just the lines it draws.

#include "script/editor/syntax_type.h"

#include <cstdint>
#include <string_view>

namespace script::editor {

// What the scan is inside of at a line's start.
enum class ScanState : std::uint8_t { Normal, BraceComment, BlockComment };

// Scans a line that starts in `state` and returns the state at its end.
// With `attrs`, writes one attribute per byte of the line: every byte gets
// one, tabs and control bytes included, so the attributes always line up
// with the text.
ScanState ScanLine(TSyntaxType type, std::string_view line, ScanState state, CharAttr* attrs = nullptr);

} // namespace script::editor
