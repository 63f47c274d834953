#pragma once
// The control as a picture with no window: the 3-D picture drawn off
// screen, with the border and title over it.

#include <QImage>

#include <string>

namespace halvex {

class CGLCOleControl;

// A width × height picture; a null image with a message when it cannot be
// made (no off-screen context).
QImage RenderControlImage(CGLCOleControl& control, int width, int height, std::string& error);

} // namespace halvex
