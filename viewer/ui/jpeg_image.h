#pragma once
// JPEG pictures decoded with libjpeg.

#include <QImage>

#include <span>

namespace tavrin {

// The picture, or a null image when the bytes are not a readable JPEG.
QImage DecodeJpeg(std::span<const unsigned char> bytes);

} // namespace tavrin
