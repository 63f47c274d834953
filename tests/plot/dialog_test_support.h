#pragma once
// Driving the format dialog's widgets as a user does, and the whole state
// of a plot control as its automation objects read it.

#include "platform/automation/dispatch.h"

#include <QString>

#include <map>
#include <string>

class QAbstractButton;
class QComboBox;
class QWidget;

namespace halvex {
class ColorButton;
class NumberEdit;
} // namespace halvex

namespace dialogtest {

// The button (check, radio, push) whose caption is text, mnemonic included.
QAbstractButton* button(QWidget* root, const QString& text);
// The field a label names by its mnemonic.
halvex::NumberEdit* number(QWidget* root, const QString& label);
halvex::ColorButton* color(QWidget* root, const QString& label);
QComboBox* list(QWidget* root, const QString& label);
// Selects all and types the text, as keys.
void type(halvex::NumberEdit* edit, const QString& text);
// As a user picks an entry.
void pick(QComboBox* box, int index);

// Every readable property of the control and its objects (model box,
// axes, planes, lights, models and their settings objects) as text, keyed
// by a path ("Model(1).LineColor", "ModelBox.XAxis.MinVal").
std::map<std::string, std::string> Snapshot(platform::Dispatch& control);

} // namespace dialogtest
