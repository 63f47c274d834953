#pragma once
// The control as a picture with no window: the 3-D picture drawn off
// screen, with the border and title over it.

#include <QImage>

#include <string>

namespace halvex {

class CGLCOleControl;

struct ImageOptions {
    // The picture is laid out as the control would be at width × 96 / dpi
    // by height × 96 / dpi pixels of the screen: text, lines and ticks
    // grow with dpi, so a 300 dpi picture is the 96 dpi one, sharper.
    double dpi = 96.0;
    // A bar of the colour map with its values, right of the box.
    bool colorBar = false;
};

// A width × height picture; a null image with a message when it cannot be
// made (no off-screen context).
QImage RenderControlImage(CGLCOleControl& control, int width, int height, std::string& error,
                          const ImageOptions& options = {});

} // namespace halvex
