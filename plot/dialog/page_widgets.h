#pragma once
// The small pieces every format page is built of: fields with their tips,
// labels bound to them by their mnemonic, choices as button groups, and a
// tab row over the fields it chooses for.

#include <QString>

#include <initializer_list>

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QTabBar;
class QWidget;

namespace halvex {

class ColorButton;
class FormatSheet;
class NumberEdit;

QCheckBox* MakeCheck(const char* text, const char* tip, QWidget* parent);
// ranged: min < max; integer fields accept whole numbers only.
NumberEdit* MakeNumber(double min, double max, bool integer, const char* tip, QWidget* parent);
// A number without a range.
NumberEdit* MakeFreeNumber(const char* tip, QWidget* parent);
ColorButton* MakeColor(const char* tip, QWidget* parent);
// A label whose mnemonic moves the focus to buddy.
QLabel* MakeLabel(const char* text, QWidget* buddy, QWidget* parent);

// Radio buttons with ids 0, 1, … added to layout in order; tips one each.
QButtonGroup* MakeChoice(std::initializer_list<const char*> captions, std::initializer_list<const char*> tips,
                         QBoxLayout* layout, QWidget* parent);

// A tab row of "Plot 1", "Plot 2", … for the sheet's models (one tab when
// there are none).
QTabBar* MakeModelTabs(const FormatSheet& sheet, QWidget* parent);
QTabBar* MakeTabs(std::initializer_list<const char*> captions, QWidget* parent);
// The tab row over a frame that holds the fields it chooses for; the
// frame's layout is returned through content.
QWidget* TabbedFrame(QTabBar* tabs, QBoxLayout*& content, QWidget* parent);

// The caption the button shows, from an ASCII text with its mnemonic.
QString Caption(const char* text);

} // namespace halvex
