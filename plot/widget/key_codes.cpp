#include "plot/widget/key_codes.h"

#include "platform/text/cp1251.h"

#include <QKeyEvent>

namespace halvex {

std::int16_t VirtualKeyOf(const QKeyEvent& event)
{
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9)
        return std::int16_t(0x60 + (key - Qt::Key_0));
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return std::int16_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return std::int16_t(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Clear: return 0x0C;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Print: return 0x2C;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Asterisk: return keypad ? 0x6A : 0;
    case Qt::Key_Plus: return keypad ? 0x6B : 0xBB;
    case Qt::Key_Minus: return keypad ? 0x6D : 0xBD;
    case Qt::Key_Period: return keypad ? 0x6E : 0xBE;
    case Qt::Key_Slash: return keypad ? 0x6F : 0xBF;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    case Qt::Key_Comma: return 0xBC;
    default: return 0;
    }
}

int KeyCharacterOf(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty())
        return -1;
    char32_t cp = text.at(0).unicode();
    if (cp < 0x80)
        return int(cp);
    char c = platform::unicodeToCp1251(cp);
    return c == '?' ? -1 : int(static_cast<unsigned char>(c));
}

std::int16_t ShiftMaskOf(Qt::KeyboardModifiers modifiers)
{
    return std::int16_t(((modifiers & Qt::ShiftModifier) ? 1 : 0) | ((modifiers & Qt::ControlModifier) ? 2 : 0) |
                        ((modifiers & Qt::AltModifier) ? 4 : 0));
}

std::int16_t ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

std::int16_t ButtonsOf(Qt::MouseButtons buttons)
{
    return std::int16_t(((buttons & Qt::LeftButton) ? 1 : 0) | ((buttons & Qt::RightButton) ? 2 : 0) |
                        ((buttons & Qt::MiddleButton) ? 4 : 0));
}

} // namespace halvex
