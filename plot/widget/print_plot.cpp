#include "plot/widget/print_plot.h"

#include "platform/system/output_file.h"
#include "plot/core/band_plan.h"
#include "plot/core/gl_control_core.h"
#include "plot/core/picture_render.h"
#include "plot/widget/plot_overlays.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace halvex {

bool DrawOffscreen(CGLCOleControl& control, QPainter& painter, const QRect& target, std::string& error)
{
    if (target.isEmpty()) {
        error = "the target has no area";
        return false;
    }
    const ControlState& s = control.state();
    const OffscreenResolution r =
        ResolutionFor(target.width(), target.height(), s.width, s.height, s.highQualityPrinting);
    try {
        PictureRenderer picture(control, r.width, r.height, r.rx > 0 ? r.rx : 96);
        if (!picture.valid()) {
            error = picture.error();
            return false;
        }
        const BandPlan& plan = picture.plan();
        const double sy = double(target.height()) / r.height;
        std::vector<std::uint8_t> rgba;
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, r.reduced);
        for (int k = 0; k < plan.bands; ++k) {
            if (!picture.DrawBand(k, rgba)) {
                painter.restore();
                error = picture.error();
                return false;
            }
            const PixelRect band = plan.Band(k);
            const QImage image(rgba.data(), plan.width, band.height(), plan.width * 4, QImage::Format_RGBX8888);
            // Each band onto its share of the target: neighbours meet
            // exactly, however the picture is stretched.
            const QRectF to(target.left(), target.top() + band.top * sy, target.width(), band.height() * sy);
            painter.drawImage(to, image);
        }
        painter.restore();
    } catch (const std::bad_alloc&) {
        error = "not enough memory to draw the picture";
        return false;
    }
    const double dpiY = painter.device() ? painter.device()->logicalDpiY() : 96.0;
    DrawOverlays(painter, control, target, dpiY);
    return true;
}

bool PrintControl(CGLCOleControl& control, QPrinter& printer, std::string& error)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = "the printer cannot be started";
        return false;
    }
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const ControlState& s = control.state();
    const double cw = std::max(s.width, 1), ch = std::max(s.height, 1);
    const double scale = std::min(page.width() / cw, page.height() / ch);
    const QRect target(0, 0, std::max(1, int(cw * scale)), std::max(1, int(ch * scale)));
    bool ok = DrawOffscreen(control, painter, target, error);
    painter.end();
    return ok;
}

bool ExportPdf(CGLCOleControl& control, int width, int height, double dpi, const std::string& path,
               std::string& error)
{
    if (width < 1 || height < 1 || !(dpi > 0.0)) {
        error = "the picture has no area";
        return false;
    }
    platform::OutputFile file;
    if (!file.Open(path)) {
        error = file.error();
        return false;
    }
    bool ok = false;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file.temporaryPath()));
        printer.setResolution(kPdfResolution);
        printer.setFullPage(true);
        printer.setPageLayout(QPageLayout(QPageSize(QSizeF(width / dpi, height / dpi), QPageSize::Inch),
                                          QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&printer)) {
            error = "cannot start the PDF file \"" + path + "\"";
            return false;
        }
        const QRect target = painter.viewport();
        ok = DrawOffscreen(control, painter, target, error);
        if (!painter.end() && ok) {
            error = "cannot finish the PDF file \"" + path + "\"";
            ok = false;
        }
    }
    if (!ok)
        return false;
    if (!file.Commit()) {
        error = file.error();
        return false;
    }
    return true;
}

} // namespace halvex
