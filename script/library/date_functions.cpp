// Dates ("ctDate"). Date-times are serials: days since 30 December 1899,
// the time as the fraction of a day; results are date-time values.

#include "platform/text/date_serial.h"
#include "script/library/date_text.h"
#include "script/library/function_table.h"
#include "script/library/system_functions.h"

#include <cmath>
#include <ctime>

namespace script::library {

namespace {

// The local date and time now, to the millisecond.
double nowSerial()
{
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    std::time_t secs = ts.tv_sec;
    std::tm t{};
    if (!localtime_r(&secs, &t))
        RaiseRuntime("The clock cannot be read");
    double date = 0, time = 0;
    platform::encodeDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, date);
    platform::encodeTime(t.tm_hour, t.tm_min, t.tm_sec > 59 ? 59 : t.tm_sec, static_cast<int>(ts.tv_nsec / 1000000),
                         time);
    return date + time;
}

int intArg(const Variant& v)
{
    return v.toInt32();
}

} // namespace

void RegisterDateFunctions(TfsScript& scope)
{
    RegisterRoutines(
        scope, "ctDate",
        {
            {"function EncodeDate(Year, Month, Day: Word): TDateTime",
             [](Args& a) {
                 double d = 0;
                 if (!platform::encodeDate(intArg(a[0]), intArg(a[1]), intArg(a[2]), d))
                     RaiseRuntime("Invalid argument to date encode");
                 return Variant::fromDate(d);
             }},
            {"procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)",
             [](Args& a) {
                 platform::DateParts p = platform::decodeDateTime(CheckedSerial(a[0].toDouble()));
                 a[1] = Variant(p.year);
                 a[2] = Variant(p.month);
                 a[3] = Variant(p.day);
                 return Variant::null();
             }},
            {"function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime",
             [](Args& a) {
                 double t = 0;
                 if (!platform::encodeTime(intArg(a[0]), intArg(a[1]), intArg(a[2]), intArg(a[3]), t))
                     RaiseRuntime("Invalid argument to time encode");
                 return Variant::fromDate(t);
             }},
            {"procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)",
             [](Args& a) {
                 platform::DateParts p = platform::decodeDateTime(CheckedSerial(a[0].toDouble()));
                 a[1] = Variant(p.hour);
                 a[2] = Variant(p.minute);
                 a[3] = Variant(p.second);
                 a[4] = Variant(p.millisecond);
                 return Variant::null();
             }},
            {"function Date: TDateTime", [](Args&) { return Variant::fromDate(std::floor(nowSerial())); }},
            {"function Time: TDateTime",
             [](Args&) {
                 double now = nowSerial();
                 return Variant::fromDate(now - std::floor(now));
             }},
            {"function Now: TDateTime", [](Args&) { return Variant::fromDate(nowSerial()); }},
            {"function DayOfWeek(aDate: TDateTime): Integer",
             [](Args& a) { return Variant(platform::dayOfWeek(CheckedSerial(a[0].toDouble()))); }},
            {"function IsLeapYear(Year: Word): Boolean",
             [](Args& a) { return Variant(platform::isLeapYear(intArg(a[0]))); }},
            {"function DaysInMonth(nYear, nMonth: Integer): Integer",
             [](Args& a) {
                 int month = intArg(a[1]);
                 if (month < 1 || month > 12)
                     RaiseRuntime("Month out of range: " + std::to_string(month));
                 return Variant(platform::daysInMonth(intArg(a[0]), month));
             }},
        });
}

} // namespace script::library
