#pragma once
// Page 6, "Backplanes": one back plane at a time: fill, border, and the
// grid lines, tick marks and sub-grids at the values of each of the two
// axes that span it. Plane borders are drawn in the box colour, so the
// border's colour is the model box's and the same on every tab.

#include "plot/dialog/format_page.h"

#include <array>

class QGroupBox;

namespace halvex {

class BackplanesPage final : public FormatPage {
public:
    explicit BackplanesPage(FormatSheet& sheet);

protected:
    FieldValues ReadPage() override;
    void WritePage(const FieldRecord& record) override;
    int TabCount() const override { return 3; }
    FieldValues ReadTab(int tab) override;
    void WriteTab(int tab, const FieldRecord& record) override;
    void Shown() override;

private:
    // The grid and sub-grid boxes of the first and the second axis.
    std::array<QGroupBox*, 2> grids_{};
    std::array<QGroupBox*, 2> subGrids_{};
};

} // namespace halvex
