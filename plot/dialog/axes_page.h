#pragma once
// Page 2, "Axes": one axis at a time. Its grid lines and tick marks are
// drawn on the two back planes that span it (the lines at its grid values:
// the "horizontal" elements of a plane whose first axis it is, the
// "vertical" ones of a plane whose second axis it is), so those switches,
// the line colour and weight are the planes'; the rest is the axis's own.

#include "plot/dialog/format_page.h"

class QCheckBox;

namespace halvex {

class NumberEdit;

class AxesPage final : public FormatPage {
public:
    explicit AxesPage(FormatSheet& sheet);

protected:
    int TabCount() const override { return 3; }
    FieldValues ReadTab(int tab) override;
    void WriteTab(int tab, const FieldRecord& record) override;
    void Shown() override;
    QWidget* CrossCheck(QString& message) override;

private:
    QCheckBox* autoGrid_;
    NumberEdit* number_;
    QCheckBox* autoScale_;
    NumberEdit* min_;
    NumberEdit* max_;
};

} // namespace halvex
