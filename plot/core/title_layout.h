#pragma once
// Where the graph title goes: a band of its own above or below the 3-D
// picture, which the picture leaves free, so that the title never covers
// axis numbers. The renderer (which lays the picture out) and the painter
// (which draws the title) ask the same question here.

#include <string>

namespace halvex {

class CGLCOleControl;

struct TitleLayout {
    bool shown = false;
    bool above = true;
    int band = 0;        // the band's height, pixels
    float pixels = 0.0f; // the font's em size, pixels
    std::string face;    // as the container names it
};

// The title of a width × height picture at dpi dots per inch: the
// container's font (else "Times New Roman" at 10 points) at that
// resolution, made smaller when the text is wider than the picture. A
// title that would need more than a third of the height, or that would be
// unreadably small, is not shown: never cut.
TitleLayout LayOutTitle(const CGLCOleControl& control, int width, int height, double dpi);

} // namespace halvex
