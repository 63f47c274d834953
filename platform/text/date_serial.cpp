#include "platform/text/date_serial.h"

#include <cmath>
#include <cstdio>

namespace platform {

namespace {

// Days from 1 January of year 1 to the given date (1-based day count).
long long daysFromCivil(int y, int m, int d) noexcept
{
    static const int cumulative[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    long long yy = y - 1;
    long long days = yy * 365 + yy / 4 - yy / 100 + yy / 400;
    days += cumulative[m - 1] + d;
    if (m > 2 && isLeapYear(y))
        ++days;
    return days;
}

const long long kEpoch = daysFromCivil(1899, 12, 30);

void civilFromDays(long long days, int& y, int& m, int& d) noexcept
{
    // Shift to the era-based algorithm (days since 0000-03-01).
    long long z = days - 1 + 306; // days since 0000-03-01 for 0001-01-01 is 306
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long yr = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yr + (m <= 2 ? 1 : 0));
}

} // namespace

bool isLeapYear(int y) noexcept
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int year, int month) noexcept
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

bool encodeDate(int year, int month, int day, double& serial) noexcept
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return false;
    serial = static_cast<double>(daysFromCivil(year, month, day) - kEpoch);
    return true;
}

bool encodeTime(int hour, int minute, int second, int ms, double& fraction) noexcept
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || ms < 0 || ms > 999)
        return false;
    fraction = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + ms) / 86400000.0;
    return true;
}

DateParts decodeDateTime(double serial) noexcept
{
    DateParts p;
    if (!std::isfinite(serial) || std::fabs(serial) > 3.0e6)
        return p;
    // Milliseconds since the epoch, rounded; negative serials count the
    // time forward from the (negative) day, as the serial form defines.
    double dayPart = std::trunc(serial);
    double frac = std::fabs(serial - dayPart);
    long long ms = std::llround(frac * 86400000.0);
    long long days = static_cast<long long>(dayPart);
    if (ms >= 86400000) {
        ms -= 86400000;
        days += serial < 0 ? -1 : 1;
    }
    civilFromDays(days + kEpoch, p.year, p.month, p.day);
    p.hour = static_cast<int>(ms / 3600000);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.millisecond = static_cast<int>(ms % 1000);
    return p;
}

int dayOfWeek(double serial) noexcept
{
    // The day is the serial's whole part (a negative serial counts its time
    // forward from its day, as decodeDateTime reads it); 30 December 1899
    // was a Saturday (7). Out-of-range serials are not days: Saturday.
    if (!std::isfinite(serial) || std::fabs(serial) > 1e15)
        return 7;
    long long d = static_cast<long long>(std::trunc(serial));
    long long w = ((d % 7) + 7 + 6) % 7; // 0 = Sunday, for any sign of d
    return static_cast<int>(w) + 1;
}

std::string formatDate(double serial)
{
    DateParts p = decodeDateTime(serial);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", p.day, p.month, p.year);
    return buf;
}

std::string formatTime(double serial)
{
    DateParts p = decodeDateTime(serial);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    return buf;
}

std::string formatDateTime(double serial)
{
    DateParts p = decodeDateTime(serial);
    bool hasTime = p.hour || p.minute || p.second || p.millisecond;
    bool hasDate = std::trunc(serial) != 0;
    if (!hasDate && hasTime)
        return formatTime(serial);
    if (!hasTime)
        return formatDate(serial);
    return formatDate(serial) + " " + formatTime(serial);
}

} // namespace platform
