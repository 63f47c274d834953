#include "plot/widget/image_render.h"

#include "plot/core/gl_control_core.h"
#include "plot/core/picture_render.h"
#include "plot/widget/picture_export.h"

#include <algorithm>
#include <cmath>

namespace halvex {

QImage RenderControlImage(CGLCOleControl& control, int width, int height, std::string& error,
                          const ImageOptions& options)
{
    // Laid out as the control would be at its size × 96 / dpi.
    const double dpi = options.dpi > 0.0 ? options.dpi : 96.0;
    control.SetControlSize(std::max(1, int(std::lround(width * 96.0 / dpi))),
                           std::max(1, int(std::lround(height * 96.0 / dpi))));
    ColorBarScope bar(control, options.colorBar);
    QImage picture = RenderPicture(control, width, height, dpi, error);
    if (picture.isNull())
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace halvex
