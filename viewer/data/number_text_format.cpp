#include "viewer/data/number_text_format.h"

#include "platform/text/number_text.h"
#include "viewer/data/field_text.h"

namespace tavrin {

std::string FormatNumberText(std::string_view text)
{
    double v = StrToNumberDef(text, 0);
    std::string s = platform::formatFixed(v, 5);
    // A value that rounds to zero shows as "0", never "-0".
    if (s.size() > 1 && s[0] == '-' && s.find_first_not_of("0.", 1) == std::string::npos)
        s.erase(0, 1);
    std::size_t b = s.find_first_not_of('0');
    if (b == std::string::npos)
        return "0";
    std::size_t e = s.find_last_not_of('0');
    s = s.substr(b, e - b + 1);
    if (s.size() == 1)
        return s[0] >= '1' && s[0] <= '9' ? s : "0";
    if (s.front() == '.' || s.front() == ',')
        s.insert(s.begin(), '0');
    if (s.back() == '.' || s.back() == ',')
        s.pop_back();
    return s;
}

} // namespace tavrin
