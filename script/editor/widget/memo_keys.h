#pragma once
// Keys as the editor's shortcuts see them. Shortcuts go by the key's place
// on the keyboard, so they work under any layout: with the Cyrillic layout
// active, Ctrl+C arrives as the Cyrillic letter on that key and
// Ctrl+Shift+1 as "!". The letter is read from the key's scan code (the
// keyboard's own numbering, the same under every layout) and, where there
// is none, from the Cyrillic letter's place on the standard Russian
// layout or the digit under a shifted symbol.

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace script::editor {

// The Latin letter 'A'..'Z' or digit '0'..'9' of the key pressed, or 0.
// qtKey is QKeyEvent::key(), scanCode QKeyEvent::nativeScanCode().
// shift: Shift is held (a symbol may then stand for its digit).
char ShortcutKeyOf(int qtKey, std::uint32_t scanCode, bool shift) noexcept;

// The code page 1251 bytes of typed text; false when a character has no
// place in the code page (the editor then refuses it with a beep).
// Control characters are dropped.
bool TypedText1251(const QString& text, std::string& out);

// Text conversions between the editor (code page 1251) and Qt.
QString QStringFrom1251(std::string_view text);
// Characters outside the code page become '?'.
std::string To1251(const QString& text);

} // namespace script::editor
