#pragma once
// The format dialog's number field: a spin box whose text is the number as
// FormatFieldNumber writes it and as ParseFieldNumber reads it, so what is
// shown reads back exactly and a decimal comma counts as a point. Any text
// may stand while the user types; the page checks it (range and form) when
// it is left or applied.

#include <QAbstractSpinBox>

#include <functional>
#include <limits>

namespace halvex {

class NumberEdit final : public QAbstractSpinBox {
public:
    // Without a range every finite number is accepted.
    explicit NumberEdit(QWidget* parent = nullptr);

    void setRange(double min, double max);
    // Whole numbers only.
    void setInteger(bool integer) { integer_ = integer; }
    // The value is a float's: shown and read back as that float.
    void setSingle(bool single) { single_ = single; }
    void setStep(double step) { step_ = step; }

    // Shows the number, telling no one.
    void setValue(double v);
    // The number the text stands for; false when it is none (or, for a
    // whole-number field, not whole). Floats are rounded to float.
    bool value(double& out) const;
    // Empty when the text is a number in range, else the message that
    // refuses it.
    QString problem() const;

    // Every edit the user makes, typing or stepping.
    std::function<void()> onEdited;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;

private:
    QString bound(double v) const;

    double min_ = -std::numeric_limits<double>::infinity();
    double max_ = std::numeric_limits<double>::infinity();
    double step_ = 1.0;
    bool integer_ = false;
    bool single_ = false;
};

} // namespace halvex
