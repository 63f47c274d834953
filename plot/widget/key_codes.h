#pragma once
// Qt's input as the control's stock events report it: virtual key codes,
// the shift mask (1 Shift, 2 Control, 4 Alt) and button numbers (1 left,
// 2 right, 4 middle).

#include <Qt>

#include <cstdint>

class QKeyEvent;

namespace halvex {

// The virtual key code of a key, or 0 for a key that has none.
std::int16_t VirtualKeyOf(const QKeyEvent& event);
// The character code a key types (code page 1251), or −1 when it types none.
int KeyCharacterOf(const QKeyEvent& event);
std::int16_t ShiftMaskOf(Qt::KeyboardModifiers modifiers);
std::int16_t ButtonOf(Qt::MouseButton button);
std::int16_t ButtonsOf(Qt::MouseButtons buttons);

} // namespace halvex
