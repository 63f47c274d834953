#pragma once
// Every export of the control behind one call: the PNG and bitmap pictures,
// Encapsulated PostScript (with the annotations, border and title over the
// picture), the VRML and POV-Ray scenes and PDF pages.

#include "plot/export/export_formats.h"

#include <string>

namespace halvex {

class CGLCOleControl;

struct ExportOptions {
    int width = 0; // the picture in pixels
    int height = 0;
    double dpi = 96.0; // the resolution it is laid out for
    int bits = 24;     // bitmaps: bits per pixel
    bool colorBar = false; // a bar of the colour map beside the box
};

// Writes the file (never half: a temporary file beside it is renamed into
// place when complete). False with a message.
bool ExportControl(CGLCOleControl& control, ExportFormat format, const ExportOptions& options,
                   const std::string& path, std::string& error);

} // namespace halvex
