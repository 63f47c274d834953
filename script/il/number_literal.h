#pragma once
// The value of a numeric literal as the syntax analyser writes it in a
// `number` element: decimal digits with an optional fraction and exponent,
// or "$" and hexadecimal digits.

#include <string_view>

namespace platform {
class Variant;
}

namespace script::il {

// A decimal integer that fits 32 bits is an Integer and a larger one a
// Double (never wrapped); a hexadecimal literal keeps the low 32 bits of its
// value, so "$FFFFFFFF" is -1; a fraction or an exponent makes a Double.
// False when the text is no literal of these forms or its value is too
// large for a double.
bool NumberLiteralValue(std::string_view text, platform::Variant& out);

} // namespace script::il
