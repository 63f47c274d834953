#pragma once
// Dates and times as text, in the viewer's Russian conventions: dates
// "dd.mm.yyyy", times "hh:nn:ss", month and day names in Russian (code
// page 1251). Date-times are serials: days since 30 December 1899, the time
// as the fraction of a day.

#include <string>
#include <string_view>

namespace script::library {

// Whether a serial stands for a date of the years 1 to 9999.
bool ValidSerial(double serial) noexcept;
// The serial, or the run-time error "Invalid date" when it is none.
double CheckedSerial(double serial);

// FormatDateTime: c, d, dd, ddd, dddd, ddddd, dddddd, m, mm, mmm, mmmm (m
// after h or hh is minutes), y/yy, yyyy, h, hh, n, nn, s, ss, z, zzz, t,
// tt, am/pm, a/p, ampm, "/" and ":" (the date and time separators), quoted
// text; anything else as it is.
std::string FormatDateTimeText(std::string_view picture, double serial);

// Day, month and year separated by ".", "/" or "-" (a two-digit year is
// 1950..2049); a time: hours and minutes, optionally seconds and
// milliseconds, separated by ":" (and "." before milliseconds), with an
// optional AM or PM. False when the text is no such date or time.
bool ParseDate(std::string_view text, double& serial) noexcept;
bool ParseTime(std::string_view text, double& fraction) noexcept;
bool ParseDateTime(std::string_view text, double& serial) noexcept;

} // namespace script::library
