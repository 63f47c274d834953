#pragma once
// The format dialog's colour field: a small button showing its colour that
// opens the menu of 40 named colours (and "More Colors..." for any other).
// Its value is a packed colour as the edited object holds it; a choice
// replaces red, green and blue and keeps the high byte.

#include <QToolButton>

#include <cstdint>
#include <functional>

class QMenu;

namespace halvex {

class ColorButton final : public QToolButton {
public:
    explicit ColorButton(QWidget* parent = nullptr);

    std::uint32_t value() const noexcept { return value_; }
    // Shows the colour, telling no one.
    void setValue(std::uint32_t packed);
    // What a pick from the menu does: the colour's red, green and blue
    // (red in the low byte) replace the button's, and onPicked is told.
    void choose(std::uint32_t rgb);

    // The menu the button opens, made anew each time (for tests).
    QMenu* makeMenu(QWidget* parent);

    std::function<void()> onPicked;

private:
    void openMenu();
    void moreColors();

    std::uint32_t value_ = 0;
};

} // namespace halvex
