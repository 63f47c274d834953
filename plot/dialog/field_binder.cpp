#include "plot/dialog/field_binder.h"

#include "plot/dialog/color_button.h"
#include "plot/dialog/number_edit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cmath>

namespace halvex {

FieldBinder::~FieldBinder()
{
    for (const QMetaObject::Connection& c : connections_)
        QObject::disconnect(c);
}

void FieldBinder::add(Kind kind, QObject* widget, int slot)
{
    bindings_.push_back({kind, widget, slot});
}

void FieldBinder::check(QCheckBox* box, int slot)
{
    add(Kind::Check, box, slot);
    // A click settles a mixed value: from then on the box has two states.
    connections_.push_back(QObject::connect(box, &QCheckBox::clicked, box, [this, box] {
        box->setTristate(false);
        edited();
    }));
}

void FieldBinder::choice(QButtonGroup* group, int slot)
{
    add(Kind::Choice, group, slot);
    connections_.push_back(QObject::connect(group, &QButtonGroup::idClicked, group, [this] { edited(); }));
}

void FieldBinder::list(QComboBox* box, int slot)
{
    add(Kind::List, box, slot);
    connections_.push_back(QObject::connect(box, &QComboBox::activated, box, [this] { edited(); }));
}

void FieldBinder::color(ColorButton* button, int slot)
{
    add(Kind::Color, button, slot);
    button->onPicked = [this] { edited(); };
}

void FieldBinder::number(NumberEdit* edit, int slot)
{
    add(Kind::Number, edit, slot);
    edit->onEdited = [this] { edited(); };
}

void FieldBinder::text(QLineEdit* edit, int slot)
{
    add(Kind::Text, edit, slot);
    connections_.push_back(QObject::connect(edit, &QLineEdit::textEdited, edit, [this] { edited(); }));
}

void FieldBinder::rebind(const QWidget* widget, int slot)
{
    for (Binding& b : bindings_)
        if (b.widget == static_cast<const QObject*>(widget))
            b.slot = slot;
}

void FieldBinder::show(const FieldRecord& record) const
{
    for (const Binding& b : bindings_) {
        const FieldValue& v = record.now[std::size_t(b.slot)];
        switch (b.kind) {
        case Kind::Check: {
            auto* box = static_cast<QCheckBox*>(b.widget);
            bool mixed = v.number == 2.0;
            box->setTristate(mixed);
            box->setCheckState(mixed ? Qt::PartiallyChecked : v.number != 0.0 ? Qt::Checked : Qt::Unchecked);
            break;
        }
        case Kind::Choice: {
            auto* group = static_cast<QButtonGroup*>(b.widget);
            if (QAbstractButton* button = group->button(int(v.number))) {
                button->setChecked(true);
            } else if (QAbstractButton* on = group->checkedButton()) {
                // A value no button stands for: none checked.
                group->setExclusive(false);
                on->setChecked(false);
                group->setExclusive(true);
            }
            break;
        }
        case Kind::List: {
            auto* box = static_cast<QComboBox*>(b.widget);
            int index = v.number >= 0 && v.number < box->count() ? int(v.number) : -1;
            box->setCurrentIndex(index);
            break;
        }
        case Kind::Color: static_cast<ColorButton*>(b.widget)->setValue(std::uint32_t(v.number)); break;
        case Kind::Number: static_cast<NumberEdit*>(b.widget)->setValue(v.number); break;
        case Kind::Text: static_cast<QLineEdit*>(b.widget)->setText(QString::fromStdString(v.text)); break;
        }
    }
}

void FieldBinder::take(FieldRecord& record) const
{
    for (const Binding& b : bindings_) {
        FieldValue& v = record.now[std::size_t(b.slot)];
        switch (b.kind) {
        case Kind::Check: {
            Qt::CheckState s = static_cast<QCheckBox*>(b.widget)->checkState();
            v.number = s == Qt::PartiallyChecked ? 2.0 : s == Qt::Checked ? 1.0 : 0.0;
            break;
        }
        case Kind::Choice: {
            int id = static_cast<QButtonGroup*>(b.widget)->checkedId();
            if (id >= 0)
                v.number = id;
            break;
        }
        case Kind::List: {
            int index = static_cast<QComboBox*>(b.widget)->currentIndex();
            if (index >= 0)
                v.number = index;
            break;
        }
        case Kind::Color: v.number = static_cast<ColorButton*>(b.widget)->value(); break;
        case Kind::Number: {
            double x = 0.0;
            if (static_cast<NumberEdit*>(b.widget)->value(x))
                v.number = x;
            break;
        }
        case Kind::Text: v.text = static_cast<QLineEdit*>(b.widget)->text().toStdString(); break;
        }
    }
}

QWidget* FieldBinder::invalid(const FieldRecord& record, QString& message) const
{
    for (const Binding& b : bindings_) {
        if (b.kind != Kind::Number)
            continue;
        auto* edit = static_cast<NumberEdit*>(b.widget);
        // A number that reads as the value shown was not changed: a value
        // the control holds outside the field's range stands.
        double x = 0.0;
        if (edit->value(x) && FieldValue(x) == record.read[std::size_t(b.slot)])
            continue;
        QString problem = edit->problem();
        if (!problem.isEmpty()) {
            message = problem;
            return edit;
        }
    }
    return nullptr;
}

void FieldBinder::setEnabled(bool enabled) const
{
    for (const Binding& b : bindings_) {
        switch (b.kind) {
        case Kind::Choice:
            for (QAbstractButton* button : static_cast<QButtonGroup*>(b.widget)->buttons())
                button->setEnabled(enabled);
            break;
        default: static_cast<QWidget*>(b.widget)->setEnabled(enabled); break;
        }
    }
}

} // namespace halvex
