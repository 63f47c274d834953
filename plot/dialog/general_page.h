#pragma once
// Page 1, "General": the view angles and zoom, the axes style, equal
// scales, border and box, and the plot kind of each model.

#include "plot/dialog/format_page.h"

class QButtonGroup;

namespace halvex {

class GeneralPage final : public FormatPage {
public:
    explicit GeneralPage(FormatSheet& sheet);

    // The plot kind the page holds for model k, or -1 before it is read.
    int plotKind(int k) const;

    QButtonGroup* displayAs() const noexcept { return displayAs_; }

protected:
    FieldValues ReadPage() override;
    void WritePage(const FieldRecord& record) override;
    int TabCount() const override;
    FieldValues ReadTab(int tab) override;
    void WriteTab(int tab, const FieldRecord& record) override;

private:
    QButtonGroup* displayAs_ = nullptr;
};

} // namespace halvex
