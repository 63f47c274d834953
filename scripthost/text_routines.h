#pragma once
// The text, number and date routines of the script library, as plain
// functions. Texts are code page 1251; "blanks" are the character #32 only.
// Errors are the run-time errors of scripts.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin::routines {

std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::string AllTrim(std::string_view s);
std::string InversionString(std::string_view s);
// The character of code `code` repeated in front of (left) or behind s up
// to `size` characters; s itself when it is that long already. A size past
// the string limit is "Out of memory".
std::string AppendCharToString(std::string_view s, int code, std::int64_t size, bool left);
// A decimal number once blanks are trimmed and "," is read as ".".
bool IsNumber(std::string_view s);
// "DD.MM.YYYY" or "DD.MM.YY" at fixed positions, 1583..2100.
bool IsDate(std::string_view s);
// X rounded to |prec| decimals through locale-free text (|prec| clamped to
// what a double can show); NaN and infinity are "Invalid floating point
// operation".
double RoundNumber(double x, std::int64_t prec);
// Base ^ Exponent: an integral exponent by products (bit for bit the
// repeated product up to 1024, by squaring beyond), else e^(E ln B).
double Power(double base, double exponent);
// Y*10000 + M*100 + D of the date CountDays days later; 0 for an invalid
// date or one past the year 9999.
std::int32_t DatePlusDays_YMD(std::int64_t y, std::int64_t m, std::int64_t d, std::int64_t countDays);

} // namespace tavrin::routines
