#include "platform/text/cp1251.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace platform {

namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

struct Reverse {
    // Sorted (code point, byte) pairs for the bytes 0x80..0xBF.
    std::array<std::pair<char16_t, unsigned char>, 64> pairs{};
    Reverse()
    {
        for (int i = 0; i < 64; ++i)
            pairs[i] = {kHigh[i], static_cast<unsigned char>(0x80 + i)};
        std::sort(pairs.begin(), pairs.end());
    }
};

const Reverse& reverse()
{
    static const Reverse r;
    return r;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char32_t cp1251ToUnicode(unsigned char c) noexcept
{
    if (c < 0x80)
        return c;
    if (c >= 0xC0)
        return 0x0410 + (c - 0xC0);
    return kHigh[c - 0x80];
}

char unicodeToCp1251(char32_t cp) noexcept
{
    if (cp < 0x80)
        return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F)
        return static_cast<char>(0xC0 + (cp - 0x0410));
    const auto& p = reverse().pairs;
    auto it = std::lower_bound(p.begin(), p.end(), std::pair<char16_t, unsigned char>(static_cast<char16_t>(cp), 0));
    if (cp <= 0xFFFF && it != p.end() && it->first == cp)
        return static_cast<char>(it->second);
    return '?';
}

std::string cp1251ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else
            appendUtf8(out, cp1251ToUnicode(c));
    }
    return out;
}

std::string utf8ToCp1251(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0, n = text.size();
    while (i < n) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        int extra = c >= 0xF0 && c < 0xF5 ? 3 : c >= 0xE0 && c < 0xF0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= n) {
            out += '?';
            ++i;
            continue;
        }
        char32_t cp = c & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are invalid.
        if (ok && ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                   (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        out += unicodeToCp1251(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

char upperCp1251(char ch) noexcept
{
    auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 32);
    if (c >= 0xE0)
        return static_cast<char>(c - 32);
    switch (c) {
    case 0xB8: return static_cast<char>(0xA8); // ё
    case 0xB3: return static_cast<char>(0xB2); // і
    case 0xBF: return static_cast<char>(0xAF); // ї
    case 0xBA: return static_cast<char>(0xAA); // є
    case 0xA2: return static_cast<char>(0xA1); // ў
    case 0xB4: return static_cast<char>(0xA5); // ґ
    case 0xBC: return static_cast<char>(0xA3); // ј
    case 0xBE: return static_cast<char>(0xBD); // ѕ
    case 0x90: return static_cast<char>(0x80); // ђ
    case 0x83: return static_cast<char>(0x81); // ѓ
    case 0x9A: return static_cast<char>(0x8A); // љ
    case 0x9C: return static_cast<char>(0x8C); // њ
    case 0x9D: return static_cast<char>(0x8D); // ќ
    case 0x9E: return static_cast<char>(0x8E); // ћ
    case 0x9F: return static_cast<char>(0x8F); // џ
    default: return ch;
    }
}

char lowerCp1251(char ch) noexcept
{
    auto c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c + 32);
    if (c >= 0xC0 && c <= 0xDF)
        return static_cast<char>(c + 32);
    switch (c) {
    case 0xA8: return static_cast<char>(0xB8);
    case 0xB2: return static_cast<char>(0xB3);
    case 0xAF: return static_cast<char>(0xBF);
    case 0xAA: return static_cast<char>(0xBA);
    case 0xA1: return static_cast<char>(0xA2);
    case 0xA5: return static_cast<char>(0xB4);
    case 0xA3: return static_cast<char>(0xBC);
    case 0xBD: return static_cast<char>(0xBE);
    case 0x80: return static_cast<char>(0x90);
    case 0x81: return static_cast<char>(0x83);
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8D: return static_cast<char>(0x9D);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x8F: return static_cast<char>(0x9F);
    default: return ch;
    }
}

std::string upperCp1251(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = upperCp1251(c);
    return out;
}

std::string lowerCp1251(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = lowerCp1251(c);
    return out;
}

bool equalsIgnoreCaseCp1251(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && upperCp1251(a[i]) != upperCp1251(b[i]))
            return false;
    return true;
}

int compareIgnoreCaseCp1251(std::string_view a, std::string_view b) noexcept
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(upperCp1251(a[i]));
        auto y = static_cast<unsigned char>(upperCp1251(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

namespace {

// Sort weight of each byte: characters that are no letters keep their code;
// Latin letters follow (case folded), then the Cyrillic alphabet with Ё
// right after Е.
struct Collation {
    std::array<std::uint16_t, 256> weight{};
    Collation()
    {
        for (int c = 0; c < 256; ++c)
            weight[c] = static_cast<std::uint16_t>(c);
        for (int c = 'a'; c <= 'z'; ++c)
            weight[c] = weight[c - 32] = static_cast<std::uint16_t>(0x100 + (c - 'a'));
        // А..Я are 0xC0..0xDF and а..я 0xE0..0xFF; Ё is 0xA8, ё 0xB8.
        for (int i = 0; i < 32; ++i) {
            // Е is the sixth letter (index 5); Ё takes the place after it.
            int rank = 2 * (i <= 5 ? i : i + 1);
            weight[0xC0 + i] = weight[0xE0 + i] = static_cast<std::uint16_t>(0x200 + rank);
        }
        weight[0xA8] = weight[0xB8] = static_cast<std::uint16_t>(0x200 + 2 * 6);
    }
};

} // namespace

int collateCp1251(std::string_view a, std::string_view b) noexcept
{
    static const Collation table;
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        std::uint16_t x = table.weight[static_cast<unsigned char>(a[i])];
        std::uint16_t y = table.weight[static_cast<unsigned char>(b[i])];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace platform
