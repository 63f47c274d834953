#pragma once
// Date-times as serial numbers: days since 30 December 1899, with the time
// of day as the fraction. Calendar arithmetic is proleptic Gregorian.

#include <string>

namespace platform {

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// False when a part is out of range (month 1..12, day within its month,
// year 1..9999, hour < 24, minute and second < 60, millisecond < 1000).
bool encodeDate(int year, int month, int day, double& serial) noexcept;
bool encodeTime(int hour, int minute, int second, int millisecond, double& fraction) noexcept;
// Parts of a serial; the time is rounded to the nearest millisecond.
DateParts decodeDateTime(double serial) noexcept;

bool isLeapYear(int year) noexcept;
int daysInMonth(int year, int month) noexcept; // 0 for a month outside 1..12
// 1 = Sunday .. 7 = Saturday.
int dayOfWeek(double serial) noexcept;

// "dd.mm.yyyy", "hh:nn:ss", and both joined by a space; a serial whose date
// part is zero shows the time alone, one whose time part is zero the date
// alone.
std::string formatDate(double serial);
std::string formatTime(double serial);
std::string formatDateTime(double serial);

} // namespace platform
