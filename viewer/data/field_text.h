#pragma once
// Reading the fields and numbers of data-file lines.

#include <string>
#include <string_view>

namespace tavrin {

// The field separators of data lines: space, ';' and tab.
constexpr bool isFieldSeparator(char c) noexcept { return c == ' ' || c == ';' || c == '\t'; }

// The text as a decimal number ("," counts as "."), spaces removed from both
// ends first; the default when the text is empty or anything is left over.
double StrToNumberDef(std::string_view text, double defaultValue) noexcept;

// The n-th field (from 1) of a line: fields are maximal runs of characters
// not in the separator set. Empty when the line has fewer fields.
std::string_view ExtractField(std::string_view line, int n, std::string_view separators = " ;\t") noexcept;

} // namespace tavrin
