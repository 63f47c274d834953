#pragma once
// Page 8, "Advanced": fog, perspective, the vertical scale, the viewing
// distance and printing quality; per model the colour map and its
// directions, shininess, transparency and the polygon offset.

#include "plot/dialog/format_page.h"

class QComboBox;

namespace halvex {

class AdvancedPage final : public FormatPage {
public:
    explicit AdvancedPage(FormatSheet& sheet);

    // A model colour's alpha as a transparency in percent, and back.
    static int TransparencyOf(std::uint32_t color) noexcept;
    static std::uint32_t AlphaOf(int transparency) noexcept;

protected:
    FieldValues ReadPage() override;
    void WritePage(const FieldRecord& record) override;
    int TabCount() const override;
    FieldValues ReadTab(int tab) override;
    void WriteTab(int tab, const FieldRecord& record) override;
};

} // namespace halvex
