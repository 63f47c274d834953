#include "scripthost/text_routines.h"

#include "platform/automation/value_limits.h"
#include "platform/text/date_serial.h"
#include "platform/text/number_text.h"
#include "script/program/run_error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tavrin::routines {

using script::RaiseRuntime;

std::string LTrim(std::string_view s)
{
    std::size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s)
{
    std::size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string AllTrim(std::string_view s)
{
    return std::string(platform::trimSpaces(s));
}

std::string InversionString(std::string_view s)
{
    return std::string(s.rbegin(), s.rend());
}

std::string AppendCharToString(std::string_view s, int code, std::int64_t size, bool left)
{
    if (size <= 0 || static_cast<std::uint64_t>(size) <= s.size())
        return std::string(s);
    if (static_cast<std::uint64_t>(size) > platform::valueLimits().maxStringBytes)
        RaiseRuntime("Out of memory");
    std::string pad(static_cast<std::size_t>(size) - s.size(), static_cast<char>(code & 0xFF));
    return left ? pad.append(s) : std::string(s).append(pad);
}

bool IsNumber(std::string_view s)
{
    double v = 0;
    std::string_view t = platform::trimSpaces(s);
    return !t.empty() && platform::parseDecimal(t, v, true);
}

namespace {

bool allDigits(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int digitsValue(std::string_view s)
{
    int v = 0;
    for (char c : s)
        v = v * 10 + (c - '0');
    return v;
}

} // namespace

bool IsDate(std::string_view s)
{
    std::string_view t = platform::trimSpaces(s);
    if (t.size() < 8 || t.size() == 9)
        return false;
    std::string_view dd = t.substr(0, 2), mm = t.substr(3, 2);
    std::string_view yy = t.size() >= 10 ? t.substr(6, 4) : t.substr(6, 2);
    if (!allDigits(dd) || !allDigits(mm) || !allDigits(yy))
        return false;
    int day = digitsValue(dd), month = digitsValue(mm), year = digitsValue(yy);
    if (yy.size() == 2)
        year += year < 16 ? 2000 : 1900;
    if (year < 1583 || year > 2100 || month < 1 || month > 12)
        return false;
    return day >= 1 && day <= platform::daysInMonth(year, month);
}

double RoundNumber(double x, std::int64_t prec)
{
    if (!std::isfinite(x))
        RaiseRuntime("Invalid floating point operation");
    // Past 340 decimals every double is shown exactly: more changes nothing.
    std::uint64_t decimals = prec < 0 ? 0 - static_cast<std::uint64_t>(prec) : static_cast<std::uint64_t>(prec);
    decimals = std::min<std::uint64_t>(decimals, 340);
    char buf[768]; // 309 integer digits, a sign, a point and 340 decimals
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, static_cast<int>(decimals));
    if (r.ec != std::errc())
        RaiseRuntime("Invalid floating point operation");
    double back = 0;
    if (!platform::parseDecimal(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)), back))
        RaiseRuntime("Invalid floating point operation");
    return back;
}

double Power(double base, double exponent)
{
    if (exponent == 0)
        return 1;
    if (base == 0 && exponent > 0)
        return 0;
    if (std::isfinite(exponent) && std::floor(exponent) == exponent) {
        if (base == 0)
            RaiseRuntime("Division by zero");
        const double n = std::fabs(exponent);
        double r = 1;
        if (n <= 1024) {
            // The product one factor at a time, as it always was.
            for (int i = static_cast<int>(n); i > 0; --i)
                r *= base;
        } else if (n <= 9007199254740992.0) { // 2^53: every such integer is exact
            auto k = static_cast<std::uint64_t>(n);
            double b = base;
            while (k) {
                if (k & 1)
                    r *= b;
                b *= b;
                k >>= 1;
            }
        } else {
            return std::pow(base, exponent);
        }
        return exponent < 0 ? 1 / r : r;
    }
    if (std::isinf(exponent) || std::isnan(exponent) || std::isnan(base))
        return std::pow(base, exponent);
    if (base < 0)
        RaiseRuntime("Invalid floating point operation");
    return std::exp(exponent * std::log(base));
}

std::int32_t DatePlusDays_YMD(std::int64_t y, std::int64_t m, std::int64_t d, std::int64_t countDays)
{
    // The text DD.MM.YYYY must have more than 7 characters: a one-digit
    // year never makes a date. Years are checked from 1583; one below 100
    // is taken for 2000 + year. A year below 1 is no date at all.
    if (y < 10 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31)
        return 0;
    const int year = static_cast<int>(y), month = static_cast<int>(m), day = static_cast<int>(d);
    const int checked = year < 100 ? 2000 + year : year;
    if (checked < 1583 || day > platform::daysInMonth(checked, month))
        return 0;
    if (countDays <= 0)
        return year * 10000 + month * 100 + day;
    double serial = 0, last = 0;
    if (!platform::encodeDate(year, month, day, serial) || !platform::encodeDate(9999, 12, 31, last))
        return 0;
    if (countDays > static_cast<std::int64_t>(last - serial))
        return 0;
    platform::DateParts p = platform::decodeDateTime(serial + static_cast<double>(countDays));
    return p.year * 10000 + p.month * 100 + p.day;
}

} // namespace tavrin::routines
