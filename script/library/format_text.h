#pragma once
// Format: a text with % directives filled from a list of values.
//
//   %[index:][-][width][.precision]type      (%% is a percent sign)
//
// index, width and precision may be "*", taken from the next argument.
// Types: d (integer; precision = least digits), u (unsigned), x (hex), p
// (eight hex digits), e (scientific; precision = significant digits, 15),
// f (fixed; precision = decimals, 2), g (general; 15 significant digits),
// n (fixed with thousands separated by ","; 2), m (as n), s (text;
// precision = most characters). "-" aligns left within the width.
//
// Integer directives take integers, float directives floats (single,
// double, currency, date), s takes strings; other kinds of value (Null,
// Empty, objects) are converted. Anything else is the error
// "Format '...' invalid or incompatible with argument". A directive past
// the last argument gets the integer 0. Numbers never follow the locale.

#include "platform/automation/variant.h"

#include <span>
#include <string>
#include <string_view>

namespace script::library {

std::string FormatText(std::string_view format, std::span<const platform::Variant> args);

} // namespace script::library
