#pragma once
// FormatFloat: a float through a picture.
//
// Up to three sections separated by ";": positive; negative; zero. Without
// a negative section a negative value uses the first with a minus sign in
// front; without a zero section zero uses the first. In a section:
//   0      a digit, always shown
//   #      a digit, shown when significant
//   .      the decimal point (the first one)
//   ,      anywhere before the point: thousands separated by ","
//   E+ E-  scientific form; the 0s that follow give the least exponent
//          digits ("E+" always shows the sign, "E-" only a minus)
//   '...' "..."  text as it is
// Anything else is shown as it is. An empty picture gives the general form
// of the value. Halves round away from zero; numbers never follow the
// locale.

#include <string>
#include <string_view>

namespace script::library {

std::string FormatFloatText(std::string_view picture, double value);

} // namespace script::library
