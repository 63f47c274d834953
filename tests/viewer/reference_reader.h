#pragma once
// The data-file rules written out plainly, one step at a time, for tests to
// hold the fast reader against: lines, comments, fields, and numbers read by
// the C library in the C locale.

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

// Lines end at CR, LF or CR LF; text after the last line end is a line
// when it is not empty.
inline std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        out.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        out.push_back(text.substr(start));
    return out;
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Sign, digits with at most one point ('.' or ','), at least one digit, an
// exponent with at least one digit; nothing else. Too large is no number.
inline bool number(std::string_view t, double& out)
{
    std::size_t i = 0, n = t.size(), digits = 0;
    if (i < n && (t[i] == '+' || t[i] == '-'))
        ++i;
    bool point = false;
    for (; i < n; ++i) {
        if (isDigit(t[i]))
            ++digits;
        else if ((t[i] == '.' || t[i] == ',') && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return false;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        for (; i < n && isDigit(t[i]); ++i)
            ++expDigits;
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    std::string s(t);
    for (char& c : s)
        if (c == ',')
            c = '.';
    if (s[0] == '+')
        s.erase(0, 1);
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    double v = strtod_l(s.c_str(), nullptr, cLocale);
    if (std::isinf(v))
        return false;
    out = v;
    return true;
}

inline bool isSeparator(char c)
{
    return c == ' ' || c == ';' || c == '\t';
}

// False for empty and comment lines; otherwise the point with defaults.
inline bool point(std::string_view line, const double defaults[3], double out[3])
{
    std::size_t b = 0, e = line.size();
    while (b < e && line[b] == ' ')
        ++b;
    while (e > b && line[e - 1] == ' ')
        --e;
    if (b == e || line[b] == '*' || line[b] == '/')
        return false;
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isSeparator(line[i]))
            ++i;
        std::size_t start = i;
        while (i < line.size() && !isSeparator(line[i]))
            ++i;
        if (i > start)
            fields.push_back(line.substr(start, i - start));
    }
    for (int f = 0; f < 3; ++f) {
        double v = 0;
        out[f] = std::size_t(f) < fields.size() && number(fields[f], v) ? v : defaults[f];
    }
    return true;
}

} // namespace reference
