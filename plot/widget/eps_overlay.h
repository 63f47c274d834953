#pragma once
// What the painter draws over the picture, as PostScript for the
// Encapsulated PostScript export: the annotations as images, the border as
// a rectangle and the title as the outlines of its glyphs (so it prints in
// the picture's own font, whatever its alphabet), in a width × height
// picture whose origin is its bottom-left corner.

#include <string>

namespace halvex {

class CGLCOleControl;

std::string EpsOverlay(const CGLCOleControl& control, int width, int height, double dpi);

} // namespace halvex
