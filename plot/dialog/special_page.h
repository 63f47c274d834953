#pragma once
// Page 7, "Special": per model, the contour settings of one direction at a
// time (chosen in a list), the bar layout, the interpolated mesh, the
// connectivity of data points and the line style. A contour setting and
// its 3-D twin are one setting here: read from the plain one, written to
// both.

#include "plot/dialog/format_page.h"

#include <array>

class QCheckBox;
class QComboBox;

namespace halvex {

class NumberEdit;

class SpecialPage final : public FormatPage {
public:
    explicit SpecialPage(FormatSheet& sheet);

    QComboBox* contourAxis() const noexcept { return axis_; }
    // Shows the contour fields of direction d (0 X, 1 Y, 2 Z), as the list
    // does; refused when the shown fields are.
    bool ShowContours(int d);

protected:
    int TabCount() const override;
    FieldValues ReadTab(int tab) override;
    void WriteTab(int tab, const FieldRecord& record) override;
    void Shown() override;

private:
    QComboBox* axis_;
    int direction_ = 2;
    std::array<QWidget*, 5> contourFields_{};
    QCheckBox* auto_ = nullptr;
    NumberEdit* number_ = nullptr;
};

} // namespace halvex
