#pragma once
// The highlighting rules of the script editor, one per kind of script text.

#include <cstdint>

namespace script::editor {

enum class TSyntaxType : std::uint8_t { stPascal, stCpp, stJs, stVB, stSQL, stText };

// What each character of the text is drawn as.
enum class CharAttr : std::uint8_t { Text = 1, Comment = 3, Keyword = 4, String = 5 };

} // namespace script::editor
