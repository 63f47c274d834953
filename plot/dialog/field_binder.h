#pragma once
// Widgets of a format page bound to the slots of a FieldRecord: shows a
// record's values, takes the user's back, and finds the first field whose
// change the page must refuse. Edits by the user (never by show) are told
// through onEdited.

#include "plot/dialog/field_values.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace halvex {

class ColorButton;
class NumberEdit;

class FieldBinder {
public:
    // A check shows 0, 1, or 2 as partly checked (a mixed value, which
    // stays until the user clicks).
    void check(QCheckBox* box, int slot);
    // The id of the checked button; none checked keeps the value.
    void choice(QButtonGroup* group, int slot);
    // The index; a value outside the list shows no entry and is kept.
    void list(QComboBox* box, int slot);
    void color(ColorButton* button, int slot);
    void number(NumberEdit* edit, int slot);
    void text(QLineEdit* edit, int slot);
    // The slot a widget shows from now on.
    void rebind(const QWidget* widget, int slot);
    // Calls that the binding owns (signals) go when the binder goes.
    ~FieldBinder();

    void show(const FieldRecord& record) const;
    // The user's values into record.now; the page validates first, so
    // every changed number reads.
    void take(FieldRecord& record) const;
    // The first field the user changed whose value is refused (a number
    // that does not read, or is out of its range), with the message; null
    // when all is well.
    QWidget* invalid(const FieldRecord& record, QString& message) const;
    void setEnabled(bool enabled) const;

    std::function<void()> onEdited;

private:
    enum class Kind { Check, Choice, List, Color, Number, Text };
    struct Binding {
        Kind kind;
        QObject* widget;
        int slot;
    };
    void add(Kind kind, QObject* widget, int slot);
    void edited() const
    {
        if (onEdited)
            onEdited();
    }

    std::vector<Binding> bindings_;
    std::vector<QMetaObject::Connection> connections_;
};

} // namespace halvex
