#pragma once
// Page 3, "Appearance": fill, lines and points of each model, with their
// colours, named and read after the model's plot kind.

#include "plot/dialog/format_page.h"

class QAbstractButton;
class QButtonGroup;

namespace halvex {

class AppearancePage final : public FormatPage {
public:
    explicit AppearancePage(FormatSheet& sheet);

    QButtonGroup* fillChoice() const noexcept { return fill_; }
    QButtonGroup* lineChoice() const noexcept { return lines_; }

protected:
    int TabCount() const override;
    FieldValues ReadTab(int tab) override;
    void WriteTab(int tab, const FieldRecord& record) override;
    void Shown() override;

private:
    QButtonGroup* fill_;
    QButtonGroup* lines_;
};

} // namespace halvex
