#pragma once
// Page 5, "Title": the graph title and where it is drawn.

#include "plot/dialog/format_page.h"

class QLineEdit;

namespace halvex {

class TitlePage final : public FormatPage {
public:
    explicit TitlePage(FormatSheet& sheet);

    static constexpr int kMaxTitle = 100;
    QLineEdit* titleEdit() const noexcept { return title_; }

protected:
    FieldValues ReadPage() override;
    void WritePage(const FieldRecord& record) override;

private:
    QLineEdit* title_;
};

} // namespace halvex
