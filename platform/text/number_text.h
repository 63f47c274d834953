#pragma once
// Locale-independent number text. Data files, scripts and exports never use
// the C library's locale-dependent conversions, so a Russian locale that
// writes "0,5" cannot change what is read or written.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Shortest text that reads back to the same double ("0.1", "-0", "1e+300").
std::string formatShortest(double v);
// Appends formatShortest(v) to out without a temporary string.
void appendShortest(std::string& out, double v);

// Appends v as C's "%.<digits>g" writes it in the C locale ("0.5", "1e+20",
// "-3", "inf", "nan"), with no locale and no temporary string.
void appendPrintfG(std::string& out, double v, int digits = 6);

// General form with at most `digits` significant digits, trailing zeros
// dropped, exponent form "1E20" / "1E-5" when the exponent is below -5 or at
// least `digits`; "INF", "-INF", "NAN" for the special values.
std::string formatGeneral(double v, int digits = 15);

// Fixed-point form with exactly `decimals` decimals and "." as the point.
std::string formatFixed(double v, int decimals);

// Reads the whole text as a decimal number with "." as the point: optional
// sign, digits with at most one point (".5" and "5." are numbers), optional
// exponent "e"/"E" with optional sign and at least one digit. Nothing else
// may be present. Infinity, NaN and hexadecimal forms are not numbers. A
// value too large for a double is not a number; a value too small to
// represent reads as zero (with its sign).
//
// With commaIsPoint, a ',' counts exactly as a '.' would.
bool parseDecimal(std::string_view text, double& out, bool commaIsPoint = false) noexcept;

// The number in a text as the value model reads it: blanks around it are
// ignored; a decimal integer, a "$" or "0x" hexadecimal integer (up to 64
// bits), or a decimal fraction with "." as the point. isInt tells which of
// i and d holds the value.
bool parseNumberText(std::string_view text, bool& isInt, std::int64_t& i, double& d) noexcept;

// Reads the whole text as a signed decimal integer (optional sign, digits).
bool parseInt64(std::string_view text, std::int64_t& out) noexcept;
bool parseInt32(std::string_view text, std::int32_t& out) noexcept;

// Removes the space character (only) from both ends.
inline std::string_view trimSpaces(std::string_view s) noexcept
{
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    return s.substr(b, e - b);
}

// Removes every character up to and including ' ' (control characters too).
inline std::string_view trimBlanks(std::string_view s) noexcept
{
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

} // namespace platform
