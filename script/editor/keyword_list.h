#pragma once
// The words each syntax type draws as keywords. They serve the highlighting
// only; the languages' own keywords are their grammars'.

#include "script/editor/syntax_type.h"

#include <string_view>

namespace script::editor {

// The comma-separated lower-case words of a syntax type (empty for stText).
std::string_view KeywordList(TSyntaxType type) noexcept;
// Whether a word of ASCII letters, digits and "_" is a keyword of the type,
// ignoring letter case.
bool IsKeyword(TSyntaxType type, std::string_view word) noexcept;

} // namespace script::editor
