#include "plot/dialog/number_edit.h"

#include "plot/dialog/field_number.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>

namespace halvex {

NumberEdit::NumberEdit(QWidget* parent) : QAbstractSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    setAccelerated(true);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (onEdited)
            onEdited();
    });
}

void NumberEdit::setRange(double min, double max)
{
    min_ = min;
    max_ = max;
}

void NumberEdit::setValue(double v)
{
    lineEdit()->setText(QString::fromStdString(FormatFieldNumber(v, single_)));
}

bool NumberEdit::value(double& out) const
{
    double v = 0.0;
    if (!ParseFieldNumber(lineEdit()->text().toStdString(), v) || !std::isfinite(v))
        return false;
    if (integer_ && v != std::trunc(v))
        return false;
    out = single_ ? double(static_cast<float>(v)) : v;
    return true;
}

QString NumberEdit::bound(double v) const
{
    return QString::fromStdString(FormatFieldNumber(v, single_));
}

QString NumberEdit::problem() const
{
    double v = 0.0;
    bool ranged = std::isfinite(min_) && std::isfinite(max_);
    bool ok = value(v);
    if (ok && (!ranged || (v >= min_ && v <= max_)))
        return {};
    if (!ranged)
        return integer_ ? QStringLiteral("Please enter an integer.") : QStringLiteral("Please enter a number.");
    return (integer_ ? QStringLiteral("Please enter an integer between %1 and %2.")
                     : QStringLiteral("Please enter a number between %1 and %2."))
        .arg(bound(min_), bound(max_));
}

// Anything a number could be typed through stands; the page judges it.
QValidator::State NumberEdit::validate(QString& input, int&) const
{
    for (QChar c : input)
        if (!(c.isDigit() || c == u'.' || c == u',' || c == u'-' || c == u'+' || c == u'e' || c == u'E' ||
              c == u' '))
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

void NumberEdit::stepBy(int steps)
{
    double v = 0.0;
    if (!value(v))
        return;
    double next = v + steps * step_;
    if (integer_)
        next = std::round(next);
    if (std::isfinite(min_))
        next = std::max(next, min_);
    if (std::isfinite(max_))
        next = std::min(next, max_);
    if (next == v)
        return;
    setValue(next);
    lineEdit()->selectAll();
    if (onEdited)
        onEdited();
}

QAbstractSpinBox::StepEnabled NumberEdit::stepEnabled() const
{
    double v = 0.0;
    if (isReadOnly() || !value(v))
        return StepNone;
    StepEnabled e = StepNone;
    if (!(v >= max_))
        e |= StepUpEnabled;
    if (!(v <= min_))
        e |= StepDownEnabled;
    return e;
}

QSize NumberEdit::sizeHint() const
{
    // Room for a dozen digits and the arrows.
    QSize s = QAbstractSpinBox::sizeHint();
    int text = fontMetrics().horizontalAdvance(QStringLiteral("-0.0000000000"));
    return {std::max(s.width(), text + 30), s.height()};
}

QSize NumberEdit::minimumSizeHint() const
{
    QSize s = QAbstractSpinBox::minimumSizeHint();
    int text = fontMetrics().horizontalAdvance(QStringLiteral("-00000.00"));
    return {std::max(s.width(), text + 30), s.height()};
}

} // namespace halvex
