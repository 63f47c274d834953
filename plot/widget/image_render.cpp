#include "plot/widget/image_render.h"

#include "plot/core/gl_control_core.h"
#include "plot/widget/picture_export.h"

namespace halvex {

QImage RenderControlImage(CGLCOleControl& control, int width, int height, std::string& error)
{
    control.SetControlSize(width, height);
    QImage picture = RenderPicture(control, width, height, 96.0, error);
    if (picture.isNull())
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace halvex
