#pragma once
// The colour legend of a picture: a vertical bar of a model's colour map,
// from the low end of its ramp at the bottom to the high end at the top,
// with nice numbers of the axis the ramp runs along (the axes' scale rule)
// beside it, in the axis numbers' font. It stands in a band right of the
// 3-D picture, which the picture leaves free.

#include "plot/model/bounding_record.h"
#include "plot/model/label_layout.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace halvex {

class CGLCOleControl;
class GlyphFontList;

class ColorBar {
public:
    // Takes the colours from the first model that colours anything with a
    // map along one axis, and its range from the scene box; false when no
    // model does (nothing is drawn, no band is reserved).
    bool Prepare(const CGLCOleControl& control, const BoundingRecord& sceneBox);
    // The band's width in pixels for text in font at dpi.
    int BandWidth(GlyphFontList* font, double dpi);
    // Draws into band (window pixels, x and y from the bottom left, width,
    // height), with the current context's viewport covering the window.
    void Draw(GlyphFontList* font, const std::array<int, 4>& band, double dpi, std::uint32_t textColor);

    // The numbers drawn by the last Draw, window pixels (for tests).
    const std::vector<TextBox>& texts() const noexcept { return texts_; }
    // The bar itself as the last Draw put it.
    const PixelBox& bar() const noexcept { return bar_; }
    double low() const noexcept { return low_; }
    double high() const noexcept { return high_; }

private:
    struct Number {
        std::string text;
        double value;
    };
    void MakeNumbers();

    std::int32_t colormap_ = 0;
    double low_ = 0.0, high_ = 1.0;
    std::vector<Number> numbers_;
    std::vector<TextBox> texts_;
    PixelBox bar_;
};

} // namespace halvex
