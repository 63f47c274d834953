#pragma once
// The scene's number formatter, shared by axis and contour numbers. A power
// of ten is written as "·10" followed by the exponent between the control
// characters 1 and 2, which the scene's text drawing raises.

#include <string>

namespace halvex {

constexpr char kSuperscriptStart = '\x01';
constexpr char kSuperscriptEnd = '\x02';
// The middle dot of the control's 8-bit code page.
constexpr char kMiddleDot = '\xB7';

// v with the given number of decimals: fixed form for exponents −3 … 3,
// else a mantissa and a raised power of ten; trailing zeros dropped. The
// text never depends on the locale.
std::string FormatSceneNumber(double v, int decimals);

} // namespace halvex
