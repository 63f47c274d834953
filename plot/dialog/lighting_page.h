#pragma once
// Page 4, "Lighting": the lighting switch, the ambient colour, a lighting
// scheme, and the eight light slots one tab each. A light turned on in an
// empty slot is created when the page applies.

#include "plot/dialog/format_page.h"

class QComboBox;

namespace halvex {

class LightingPage final : public FormatPage {
public:
    explicit LightingPage(FormatSheet& sheet);

    QComboBox* schemes() const noexcept { return schemes_; }
    // What choosing a scheme in the list does.
    void ChooseScheme(int scheme);

protected:
    FieldValues ReadPage() override;
    void WritePage(const FieldRecord& record) override;
    int TabCount() const override { return 8; }
    FieldValues ReadTab(int tab) override;
    void WriteTab(int tab, const FieldRecord& record) override;
    void Shown() override;

private:
    QComboBox* schemes_;
};

} // namespace halvex
