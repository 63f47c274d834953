#pragma once
// Numbers as the format dialog shows and reads them: the C locale's point,
// the shortest text that reads back to the same value, and a decimal comma
// read like a point whatever the locale.

#include <string>
#include <string_view>

namespace halvex {

// The shortest text of v that reads back exactly; single: v is a float's
// value and reads back as that float.
std::string FormatFieldNumber(double v, bool single = false);

// The text as a number: blanks around it ignored, "," taken as ".". False
// for anything else (empty text, letters, two points, no digits).
bool ParseFieldNumber(std::string_view text, double& out) noexcept;

} // namespace halvex
