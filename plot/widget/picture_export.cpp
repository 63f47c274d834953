#include "plot/widget/picture_export.h"

#include "platform/system/output_file.h"
#include "plot/core/gl_control_core.h"
#include "plot/core/picture_render.h"
#include "plot/export/bmp_format.h"
#include "plot/export/png_stream.h"
#include "plot/widget/plot_overlays.h"

#include <QPainter>

#include <cstring>

namespace halvex {

namespace {

// The annotations, border and title over one band of a picture whose
// whole extent is picture.
void paintOverlays(CGLCOleControl& control, std::vector<std::uint8_t>& rgba, const QRect& picture,
                   const PixelRect& band, double dpi)
{
    // The GL's alpha means nothing here: every pixel is opaque.
    QImage image(rgba.data(), picture.width(), band.height(), picture.width() * 4, QImage::Format_RGBX8888);
    QPainter painter(&image);
    painter.translate(0, -band.top);
    painter.setClipRect(QRect(0, band.top, picture.width(), band.height()));
    DrawOverlays(painter, control, picture, dpi);
    painter.end();
}

// Draws every band, top first (bottom first when asked), and hands each to
// write with its rows top first.
template <class Write>
bool drawBands(CGLCOleControl& control, PictureRenderer& target, std::string& error, bool bottomFirst, Write write)
{
    const BandPlan& plan = target.plan();
    const QRect picture(0, 0, plan.width, plan.height);
    std::vector<std::uint8_t> rgba;
    for (int n = 0; n < plan.bands; ++n) {
        const int k = bottomFirst ? plan.bands - 1 - n : n;
        if (!target.DrawBand(k, rgba)) {
            error = target.error();
            return false;
        }
        const PixelRect band = plan.Band(k);
        paintOverlays(control, rgba, picture, band, target.dpi());
        if (!write(k, band, rgba))
            return false;
    }
    return true;
}

} // namespace

bool ExportPicture(CGLCOleControl& control, const PictureRequest& request, const std::string& path,
                   std::string& error)
{
    BmpLayout layout;
    if (request.format == PictureFormat::Bmp && !PlanBmp(request.width, request.height, request.bits, layout, error))
        return false;
    try {
        PictureRenderer target(control, request.width, request.height, request.dpi);
        if (!target.valid()) {
            error = target.error();
            return false;
        }
        platform::OutputFile file;
        if (!file.Open(path)) {
            error = file.error();
            return false;
        }
        auto failed = [&](const std::string& why) {
            error = file.error().empty() ? why : file.error();
            return false;
        };
        if (request.format == PictureFormat::Png) {
            PngStream png;
            if (!png.Begin(file, request.width, request.height))
                return failed(png.error());
            bool ok = drawBands(control, target, error, false, [&](int, const PixelRect& band, const auto& rgba) {
                return png.WriteRows(rgba.data(), band.height()) || failed(png.error());
            });
            if (!ok)
                return false;
            if (!png.End())
                return failed(png.error());
        } else {
            // A bitmap's rows run bottom up: the bands are drawn bottom first.
            if (!file.Write(BmpHeaders(layout)))
                return failed("cannot write the bitmap");
            std::string rows;
            bool ok = drawBands(control, target, error, true, [&](int, const PixelRect& band, const auto& rgba) {
                rows.clear();
                for (int y = band.height() - 1; y >= 0; --y)
                    AppendBmpRows(rgba.data() + std::size_t(y) * std::size_t(request.width) * 4, layout, 1, rows);
                return file.Write(rows) || failed("cannot write the bitmap");
            });
            if (!ok)
                return false;
            if (file.size() != layout.fileSize)
                return failed("the bitmap came out of the wrong size");
        }
        if (!file.Commit())
            return failed("cannot write \"" + path + "\"");
    } catch (const std::bad_alloc&) {
        error = "not enough memory to draw a picture of " + std::to_string(request.width) + " x " +
                std::to_string(request.height) + " pixels";
        return false;
    }
    return true;
}

QImage RenderPicture(CGLCOleControl& control, int width, int height, double dpi, std::string& error)
{
    PictureRenderer target(control, width, height, dpi);
    if (!target.valid()) {
        error = target.error();
        return {};
    }
    QImage picture;
    try {
        picture = QImage(width, height, QImage::Format_RGBX8888);
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the picture";
        return {};
    }
    if (picture.isNull()) {
        error = "not enough memory for a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels";
        return {};
    }
    bool ok = drawBands(control, target, error, false, [&](int, const PixelRect& band, const auto& rgba) {
        const std::size_t row = std::size_t(width) * 4;
        for (int y = 0; y < band.height(); ++y)
            std::memcpy(picture.scanLine(band.top + y), rgba.data() + std::size_t(y) * row, row);
        return true;
    });
    if (!ok)
        return {};
    return picture;
}

} // namespace halvex
