#include "script/library/date_text.h"

#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"
#include "platform/text/date_serial.h"
#include "platform/text/number_text.h"
#include "script/program/run_error.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace script::library {

namespace {

constexpr double kFirstSerial = -693593; // 1 January of year 1
constexpr double kEndSerial = 2958466;   // 1 January of year 10000

struct Names {
    std::array<std::string, 12> longMonths, shortMonths, genitiveMonths;
    std::array<std::string, 7> longDays, shortDays;
};

const Names& names()
{
    static const Names n = [] {
        Names r;
        const char* longMonths[] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                    "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
        const char* shortMonths[] = {"янв", "фев", "мар", "апр", "май", "июн",
                                     "июл", "авг", "сен", "окт", "ноя", "дек"};
        const char* genitive[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                                  "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
        const char* longDays[] = {"воскресенье", "понедельник", "вторник", "среда",
                                  "четверг",     "пятница",     "суббота"};
        const char* shortDays[] = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
        for (int i = 0; i < 12; ++i) {
            r.longMonths[i] = platform::utf8ToCp1251(longMonths[i]);
            r.shortMonths[i] = platform::utf8ToCp1251(shortMonths[i]);
            r.genitiveMonths[i] = platform::utf8ToCp1251(genitive[i]);
        }
        for (int i = 0; i < 7; ++i) {
            r.longDays[i] = platform::utf8ToCp1251(longDays[i]);
            r.shortDays[i] = platform::utf8ToCp1251(shortDays[i]);
        }
        return r;
    }();
    return n;
}

std::string twoDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

bool startsWithIgnoreCase(std::string_view s, std::size_t at, std::string_view what)
{
    return s.size() - at >= what.size() && platform::equalsIgnoreCaseAscii(s.substr(at, what.size()), what);
}

std::size_t runOf(std::string_view s, std::size_t at)
{
    char c = platform::lowerAscii(s[at]);
    std::size_t n = 0;
    while (at + n < s.size() && platform::lowerAscii(s[at + n]) == c)
        ++n;
    return n;
}

class DateFormatter {
public:
    DateFormatter(double serial) : serial_(serial), p_(platform::decodeDateTime(serial)) {}

    std::string Run(std::string_view pic)
    {
        twelve_ = false;
        for (std::size_t i = 0; i < pic.size(); ++i)
            if (startsWithIgnoreCase(pic, i, "am/pm") || startsWithIgnoreCase(pic, i, "a/p") ||
                startsWithIgnoreCase(pic, i, "ampm"))
                twelve_ = true;
        format(pic, 0);
        return std::move(out_);
    }

private:
    void format(std::string_view pic, int depth)
    {
        for (std::size_t i = 0; i < pic.size();) {
            char c = pic[i];
            char lc = platform::lowerAscii(c);
            if (c == '\'' || c == '"') {
                std::size_t end = pic.find(c, i + 1);
                if (end == std::string_view::npos)
                    end = pic.size();
                out_ += pic.substr(i + 1, end - i - 1);
                i = end + 1;
                lastWasHour_ = false;
                continue;
            }
            if (startsWithIgnoreCase(pic, i, "am/pm")) {
                out_ += p_.hour < 12 ? pic.substr(i, 2) : pic.substr(i + 3, 2);
                i += 5;
                continue;
            }
            if (startsWithIgnoreCase(pic, i, "a/p")) {
                out_ += p_.hour < 12 ? pic.substr(i, 1) : pic.substr(i + 2, 1);
                i += 3;
                continue;
            }
            if (startsWithIgnoreCase(pic, i, "ampm")) {
                out_ += p_.hour < 12 ? "AM" : "PM";
                i += 4;
                continue;
            }
            std::size_t n = runOf(pic, i);
            switch (lc) {
            case 'c':
                if (depth < 2) {
                    format("dd.mm.yyyy", depth + 1);
                    if (p_.hour || p_.minute || p_.second) {
                        out_ += ' ';
                        format("hh:nn:ss", depth + 1);
                    }
                }
                n = 1;
                break;
            case 'd':
                if (n == 1)
                    out_ += std::to_string(p_.day);
                else if (n == 2)
                    out_ += twoDigits(p_.day);
                else if (n == 3)
                    out_ += names().shortDays[static_cast<std::size_t>(weekDay())];
                else if (n == 4)
                    out_ += names().longDays[static_cast<std::size_t>(weekDay())];
                else if (n == 5)
                    out_ += twoDigits(p_.day) + "." + twoDigits(p_.month) + "." + year4();
                else {
                    out_ += std::to_string(p_.day) + " " + names().genitiveMonths[static_cast<std::size_t>(p_.month - 1)] +
                            " " + year4() + " " + platform::utf8ToCp1251("г.");
                    n = 6;
                }
                break;
            case 'm':
                if (lastWasHour_ && n <= 2) {
                    out_ += n == 1 ? std::to_string(p_.minute) : twoDigits(p_.minute);
                } else if (n == 1) {
                    out_ += std::to_string(p_.month);
                } else if (n == 2) {
                    out_ += twoDigits(p_.month);
                } else if (n == 3) {
                    out_ += names().shortMonths[static_cast<std::size_t>(p_.month - 1)];
                } else {
                    out_ += names().longMonths[static_cast<std::size_t>(p_.month - 1)];
                    n = 4;
                }
                break;
            case 'y':
                out_ += n <= 2 ? twoDigits(p_.year % 100) : year4();
                break;
            case 'h': {
                int h = p_.hour;
                if (twelve_) {
                    h %= 12;
                    if (h == 0)
                        h = 12;
                }
                out_ += n == 1 ? std::to_string(h) : twoDigits(h);
                if (n > 2)
                    n = 2;
                lastWasHour_ = true;
                i += n;
                continue;
            }
            case 'n':
                out_ += n == 1 ? std::to_string(p_.minute) : twoDigits(p_.minute);
                if (n > 2)
                    n = 2;
                break;
            case 's':
                out_ += n == 1 ? std::to_string(p_.second) : twoDigits(p_.second);
                if (n > 2)
                    n = 2;
                break;
            case 'z': {
                char buf[16];
                if (n >= 3) {
                    std::snprintf(buf, sizeof buf, "%03d", p_.millisecond);
                    n = 3;
                } else {
                    std::snprintf(buf, sizeof buf, "%d", p_.millisecond);
                    n = 1;
                }
                out_ += buf;
                break;
            }
            case 't':
                if (depth < 2)
                    format(n >= 2 ? "hh:nn:ss" : "hh:nn", depth + 1);
                n = n >= 2 ? 2 : 1;
                break;
            case '/':
                out_ += '.';
                n = 1;
                break;
            default:
                out_ += c;
                n = 1;
                break;
            }
            // "hh:mm" shows minutes: a separator keeps the link to the hour.
            if (c != ':' && c != ' ')
                lastWasHour_ = false;
            i += n;
        }
    }

    int weekDay() const { return platform::dayOfWeek(serial_) - 1; }
    std::string year4() const
    {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d", p_.year);
        return buf;
    }

    double serial_;
    platform::DateParts p_;
    std::string out_;
    bool twelve_ = false;
    bool lastWasHour_ = false;
};

// Unsigned decimal numbers separated by any of seps; false on anything else.
bool numbersOf(std::string_view text, std::string_view seps, int* out, int maxCount, int& count)
{
    count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (count == maxCount)
            return false;
        std::size_t start = i;
        long long v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            v = v * 10 + (text[i] - '0');
            if (v > 100000)
                return false;
            ++i;
        }
        if (i == start)
            return false;
        out[count++] = static_cast<int>(v);
        if (i == text.size())
            break;
        if (seps.find(text[i]) == std::string_view::npos)
            return false;
        ++i;
        if (i == text.size())
            return false;
    }
    return count > 0;
}

} // namespace

bool ValidSerial(double serial) noexcept
{
    return std::isfinite(serial) && serial >= kFirstSerial && serial < kEndSerial;
}

double CheckedSerial(double serial)
{
    if (!ValidSerial(serial))
        RaiseRuntime("Invalid date: " + platform::formatGeneral(serial, 15));
    return serial;
}

std::string FormatDateTimeText(std::string_view picture, double serial)
{
    CheckedSerial(serial);
    if (picture.empty())
        picture = "c";
    return DateFormatter(serial).Run(picture);
}

bool ParseDate(std::string_view text, double& serial) noexcept
{
    text = platform::trimBlanks(text);
    int n[3];
    int count = 0;
    if (!numbersOf(text, "./-", n, 3, count) || count < 2)
        return false;
    int year = 0;
    if (count == 3) {
        year = n[2];
        // Two digits stand for 1950..2049.
        std::size_t last = text.find_last_of("./-");
        if (text.size() - last - 1 <= 2)
            year += year < 50 ? 2000 : 1900;
    } else {
        // Day and month of this year.
        std::time_t now = std::time(nullptr);
        std::tm local{};
        if (localtime_r(&now, &local))
            year = local.tm_year + 1900;
    }
    return platform::encodeDate(year, n[1], n[0], serial);
}

bool ParseTime(std::string_view text, double& fraction) noexcept
{
    text = platform::trimBlanks(text);
    int pm = -1;
    for (std::string_view suffix : {std::string_view("AM"), std::string_view("PM")})
        if (text.size() >= 2 && platform::equalsIgnoreCaseAscii(text.substr(text.size() - 2), suffix)) {
            pm = suffix == "PM";
            text = platform::trimBlanks(text.substr(0, text.size() - 2));
        }
    int ms = 0;
    if (std::size_t dot = text.find('.'); dot != std::string_view::npos) {
        int m[1];
        int c = 0;
        if (!numbersOf(text.substr(dot + 1), "", m, 1, c))
            return false;
        ms = m[0];
        text = text.substr(0, dot);
    }
    int n[3] = {0, 0, 0};
    int count = 0;
    if (!numbersOf(text, ":", n, 3, count) || count < 2)
        return false;
    int hour = n[0];
    if (pm >= 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    return platform::encodeTime(hour, n[1], count > 2 ? n[2] : 0, ms, fraction);
}

bool ParseDateTime(std::string_view text, double& serial) noexcept
{
    text = platform::trimBlanks(text);
    std::size_t space = text.find(' ');
    if (space == std::string_view::npos) {
        if (ParseDate(text, serial))
            return true;
        double t = 0;
        if (ParseTime(text, t)) {
            serial = t;
            return true;
        }
        return false;
    }
    double date = 0, time = 0;
    if (!ParseDate(text.substr(0, space), date) || !ParseTime(text.substr(space + 1), time))
        return false;
    serial = date < 0 ? date - time : date + time;
    return true;
}

} // namespace script::library
