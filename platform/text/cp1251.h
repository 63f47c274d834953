#pragma once
// Code page 1251: the 8-bit text of the viewer and the script engine. It is
// converted to and from UTF-8 only where it meets the operating system and
// the toolkit.

#include <string>
#include <string_view>

namespace platform {

// The Unicode code point of a code page 1251 byte. Every byte maps to a
// distinct code point (0x98, unassigned, maps to U+0098), so text survives
// a round trip unchanged.
char32_t cp1251ToUnicode(unsigned char c) noexcept;
// The code page 1251 byte of a code point, or '?' when it has none.
char unicodeToCp1251(char32_t cp) noexcept;

std::string cp1251ToUtf8(std::string_view text);
// Invalid UTF-8 sequences and characters outside the code page become '?'.
std::string utf8ToCp1251(std::string_view text);

// Letter case of code page 1251 text: Latin and Cyrillic letters.
char upperCp1251(char c) noexcept;
char lowerCp1251(char c) noexcept;
std::string upperCp1251(std::string_view s);
std::string lowerCp1251(std::string_view s);
bool equalsIgnoreCaseCp1251(std::string_view a, std::string_view b) noexcept;
// Negative, zero or positive as a is before, equal to or after b ignoring case.
int compareIgnoreCaseCp1251(std::string_view a, std::string_view b) noexcept;
// The same in dictionary order: letters ignoring case, Latin before
// Cyrillic, and Ё beside Е (between Е and Ж) rather than where its code
// puts it; other characters by code, before the letters.
int collateCp1251(std::string_view a, std::string_view b) noexcept;

} // namespace platform
