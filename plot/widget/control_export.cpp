#include "plot/widget/control_export.h"

#include "plot/core/picture_render.h"
#include "plot/export/eps_export.h"
#include "plot/export/scene_export.h"
#include "plot/widget/eps_overlay.h"
#include "plot/widget/picture_export.h"
#include "plot/widget/print_plot.h"

namespace halvex {

bool ExportControl(CGLCOleControl& control, ExportFormat format, const ExportOptions& o, const std::string& path,
                   std::string& error)
{
    if (o.width < 1 || o.height < 1) {
        error = "the picture has no area";
        return false;
    }
    try {
        ColorBarScope bar(control, o.colorBar);
        switch (format) {
        case ExportFormat::Png:
        case ExportFormat::Bmp:
            return ExportPicture(control,
                                 {format == ExportFormat::Png ? PictureFormat::Png : PictureFormat::Bmp, o.width,
                                  o.height, o.dpi, o.bits},
                                 path, error);
        case ExportFormat::Eps: {
            EpsRequest r;
            r.width = o.width;
            r.height = o.height;
            r.dpi = o.dpi;
            r.overlay = EpsOverlay(control, o.width, o.height, o.dpi);
            return ExportEps(control, r, path, error);
        }
        case ExportFormat::Vrml:
        case ExportFormat::Pov:
            return ExportScene(control,
                               {format == ExportFormat::Vrml ? SceneFormat::Vrml : SceneFormat::Pov, o.width,
                                o.height, o.dpi},
                               path, error);
        case ExportFormat::Pdf: return ExportPdf(control, o.width, o.height, o.dpi, path, error);
        }
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the export";
        return false;
    }
    error = "unknown export format";
    return false;
}

} // namespace halvex
