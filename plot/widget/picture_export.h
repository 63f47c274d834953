#pragma once
// Pictures of the control with no window, at any size: drawn band by band
// off screen, with the annotations, border and title painted over each
// band, and written as they are drawn (a PNG or a device-independent bitmap
// file), so memory stays bounded however large the picture.

#include <QImage>

#include <string>

namespace halvex {

class CGLCOleControl;

enum class PictureFormat { Png, Bmp };

struct PictureRequest {
    PictureFormat format = PictureFormat::Png;
    int width = 0; // pixels
    int height = 0;
    // The resolution the picture is laid out for: text and lines take
    // dpi / 96 times as many pixels as on the screen.
    double dpi = 96.0;
    int bits = 24; // bitmaps: 8, 16, 24 or 32 bits per pixel
};

// Writes the picture to path (to a temporary file beside it, renamed into
// place when complete). False with a message; the file is then untouched.
bool ExportPicture(CGLCOleControl& control, const PictureRequest& request, const std::string& path,
                   std::string& error);

// The whole picture in memory (for small pictures): a null image with a
// message when it cannot be made.
QImage RenderPicture(CGLCOleControl& control, int width, int height, double dpi, std::string& error);

} // namespace halvex
