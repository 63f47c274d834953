#include "plot/widget/image_render.h"

#include "plot/core/gl_control_core.h"
#include "plot/core/offscreen_render.h"
#include "plot/widget/plot_overlays.h"

#include <QPainter>

namespace halvex {

QImage RenderControlImage(CGLCOleControl& control, int width, int height, std::string& error,
                          const ImageOptions& options)
{
    OffscreenRenderer target(control, width, height, options.dpi);
    if (!target.valid()) {
        error = "cannot draw off screen: " + target.error();
        return {};
    }
    GlRenderer& renderer = target.renderer();
    renderer.SetColorBar(options.colorBar);
    target.Render();
    renderer.SetColorBar(false);
    std::vector<std::uint8_t> rgba;
    if (!target.Read(rgba)) {
        error = "cannot read the off-screen picture back";
        return {};
    }
    QImage image(rgba.data(), width, height, width * 4, QImage::Format_RGBA8888);
    QImage picture = image.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    DrawOverlays(painter, control, picture.rect(), options.dpi);
    painter.end();
    return picture;
}

} // namespace halvex
