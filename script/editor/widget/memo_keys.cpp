#include "script/editor/widget/memo_keys.h"

#include "platform/text/cp1251.h"

#include <QList>

#include <array>
#include <string>

namespace script::editor {

namespace {

// X key codes (the evdev scan code plus 8) of the letter and digit keys,
// which Linux reports whatever the layout.
char fromScanCode(std::uint32_t code) noexcept
{
    static constexpr std::string_view kQ = "QWERTYUIOP"; // 24..33
    static constexpr std::string_view kA = "ASDFGHJKL";  // 38..46
    static constexpr std::string_view kZ = "ZXCVBNM";    // 52..58
    static constexpr std::string_view kDigits = "1234567890"; // 10..19
    if (code >= 10 && code < 10 + kDigits.size())
        return kDigits[code - 10];
    if (code >= 24 && code < 24 + kQ.size())
        return kQ[code - 24];
    if (code >= 38 && code < 38 + kA.size())
        return kA[code - 38];
    if (code >= 52 && code < 52 + kZ.size())
        return kZ[code - 52];
    return 0;
}

// The Latin letter on the key of each upper-case Cyrillic letter А..Я of
// the standard Russian layout (0 where the key holds punctuation).
constexpr std::array<char, 32> kCyrillicKeys = {
    'F', 0,   'D', 'U', 'L', 'T', 0,   'P', 'B', 'Q', 'R', 'K', 'V', 'Y', 'J', 'G',
    'H', 'C', 'N', 'E', 'A', 0,   'W', 'X', 'I', 'O', 0,   'S', 'M', 0,   0,   'Z',
};

// The digit under a shifted symbol, on the US and the Russian layouts.
char fromShiftedDigit(int key) noexcept
{
    switch (key) {
    case '!': return '1';
    case '@':
    case '"': return '2';
    case '#':
    case 0x2116: return '3'; // №
    case '$':
    case ';': return '4';
    case '%': return '5';
    case '^':
    case ':': return '6';
    case '&':
    case '?': return '7';
    case '*': return '8';
    case '(': return '9';
    case ')': return '0';
    default: return 0;
    }
}

} // namespace

char ShortcutKeyOf(int qtKey, std::uint32_t scanCode, bool shift) noexcept
{
    if (qtKey >= 'A' && qtKey <= 'Z')
        return char(qtKey);
    if (qtKey >= '0' && qtKey <= '9')
        return char(qtKey);
    if (char c = fromScanCode(scanCode))
        return c;
    if (qtKey >= 0x410 && qtKey <= 0x44F)
        return kCyrillicKeys[std::size_t((qtKey - 0x410) % 32)];
    return shift ? fromShiftedDigit(qtKey) : 0;
}

bool TypedText1251(const QString& text, std::string& out)
{
    out.clear();
    for (char32_t cp : text.toUcs4()) {
        if (cp < 32 || cp == 127)
            continue;
        char c = platform::unicodeToCp1251(cp);
        if (c == '?' && cp != '?')
            return false;
        out += c;
    }
    return true;
}

QString QStringFrom1251(std::string_view text)
{
    QString out;
    out.reserve(qsizetype(text.size()));
    for (char c : text)
        out += QChar(char16_t(platform::cp1251ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

std::string To1251(const QString& text)
{
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (char32_t cp : text.toUcs4())
        out += platform::unicodeToCp1251(cp);
    return out;
}

} // namespace script::editor
