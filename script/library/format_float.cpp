#include "script/library/format_float.h"

#include "platform/text/number_text.h"
#include "script/library/decimal_digits.h"

#include <cmath>
#include <vector>

namespace script::library {

namespace {

// The sections of a picture, split at ";" outside quotes.
std::vector<std::string_view> sectionsOf(std::string_view picture)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    char quote = 0;
    for (std::size_t i = 0; i < picture.size(); ++i) {
        char c = picture[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            out.push_back(picture.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(picture.substr(start));
    return out;
}

struct Layout {
    int intPlaces = 0;     // placeholders before the point
    int decimals = 0;      // placeholders after the point
    int forcedDecimals = 0; // up to the last 0 after the point
    int forcedInt = 0;     // from the first 0 before the point
    bool thousands = false;
    bool scientific = false;
    bool expSign = false;  // E+ (always a sign) rather than E-
    int expDigits = 0;
};

bool isExponent(std::string_view s, std::size_t i)
{
    return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

Layout layoutOf(std::string_view sec)
{
    Layout l;
    bool afterPoint = false;
    char quote = 0;
    int intIndex = 0;
    for (std::size_t i = 0; i < sec.size(); ++i) {
        char c = sec[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        } else if (l.scientific) {
            // After the exponent only its digits count.
            if (c == '0')
                ++l.expDigits;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++l.decimals;
                if (c == '0')
                    l.forcedDecimals = l.decimals;
            } else {
                ++l.intPlaces;
                ++intIndex;
                if (c == '0' && l.forcedInt == 0)
                    l.forcedInt = -intIndex; // fixed below, once the count is known
            }
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            l.thousands = true;
        } else if (isExponent(sec, i)) {
            l.scientific = true;
            l.expSign = sec[i + 1] == '+';
            ++i;
        }
    }
    if (l.forcedInt < 0)
        l.forcedInt = l.intPlaces + l.forcedInt + 1;
    return l;
}

std::string formatSection(std::string_view sec, double magnitude)
{
    Layout l = layoutOf(sec);
    DecimalDigits d = DecimalDigits::Of(magnitude);
    int exponent = 0;
    if (l.scientific) {
        int intDigits = l.intPlaces > 0 ? l.intPlaces : 1;
        d.RoundToSignificant(intDigits + l.decimals);
        if (!d.IsZero()) {
            exponent = d.point - intDigits;
            d.point = intDigits;
        }
    } else {
        d.RoundToDecimals(l.decimals);
    }
    // Integer digits: the number's own, and at least the forced ones.
    int intDigits = d.IsZero() ? 0 : std::max(d.point, 0);
    intDigits = std::max(intDigits, l.forcedInt);
    // Fraction digits shown: up to the last significant one, and at least
    // the forced ones.
    int shownDecimals = l.forcedDecimals;
    for (int k = 1; k <= l.decimals; ++k)
        if (d.DigitAt(-k) != '0')
            shownDecimals = std::max(shownDecimals, k);

    std::string out;
    bool pointDone = false;
    bool firstPlace = true;
    int intSeen = 0;
    int fracSeen = 0;
    char quote = 0;
    bool inExponent = false;
    auto emitInt = [&](int power) {
        out += d.DigitAt(power);
        if (l.thousands && power > 0 && power % 3 == 0)
            out += ',';
    };
    for (std::size_t i = 0; i < sec.size(); ++i) {
        char c = sec[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                out += c;
            continue;
        }
        if (inExponent) {
            if (c == '0' || c == '#')
                continue; // written with the exponent
            inExponent = false;
        }
        if (c == '\'' || c == '"') {
            quote = c;
        } else if ((c == '0' || c == '#') && !pointDone) {
            int power = l.intPlaces - 1 - intSeen;
            ++intSeen;
            if (firstPlace) {
                firstPlace = false;
                // Digits beyond the placeholders all go at the first one.
                for (int p = intDigits - 1; p > power; --p)
                    emitInt(p);
            }
            if (power < intDigits)
                emitInt(power);
        } else if ((c == '0' || c == '#') && pointDone) {
            ++fracSeen;
            if (fracSeen <= shownDecimals)
                out += d.DigitAt(-fracSeen);
        } else if (c == '.' && !pointDone) {
            pointDone = true;
            if (firstPlace) {
                firstPlace = false;
                for (int p = intDigits - 1; p >= 0; --p)
                    emitInt(p);
            }
            if (shownDecimals > 0)
                out += '.';
        } else if (c == ',') {
            // separators come from the digits
        } else if (isExponent(sec, i)) {
            out += sec[i];
            if (exponent < 0)
                out += '-';
            else if (l.expSign)
                out += '+';
            std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
            if (static_cast<int>(e.size()) < l.expDigits)
                out.append(static_cast<std::size_t>(l.expDigits) - e.size(), '0');
            out += e;
            ++i;
            inExponent = true;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string FormatFloatText(std::string_view picture, double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (picture.empty())
        return platform::formatGeneral(value, 15);
    std::vector<std::string_view> sections = sectionsOf(picture);
    std::string_view sec = sections[0];
    bool minus = false;
    if (value < 0) {
        if (sections.size() > 1 && !sections[1].empty())
            sec = sections[1];
        else
            minus = true;
    } else if (value == 0 && sections.size() > 2 && !sections[2].empty()) {
        sec = sections[2];
    }
    std::string text = formatSection(sec, std::fabs(value));
    if (minus) {
        // No minus in front of a value that rounds to zero.
        bool anyDigit = false;
        for (char c : text)
            anyDigit = anyDigit || (c >= '1' && c <= '9');
        if (anyDigit)
            text.insert(text.begin(), '-');
    }
    return text;
}

} // namespace script::library
