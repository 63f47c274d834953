#include "plot/export/scene_export.h"

#include "platform/system/output_file.h"
#include "plot/core/gl_control_core.h"
#include "plot/core/picture_render.h"
#include "plot/export/scene_writers.h"
#include "plot/model/mesh_model.h"

namespace halvex {

namespace {

// What the models draw, in ascending key order.
std::vector<SceneModel> CollectModels(CGLCOleControl& control, const GlRenderer& renderer, float lineScale)
{
    SceneStyle style;
    style.dataBox = renderer.sceneBox();
    style.flatPlot = control.FlatPlot();
    style.lineScale = lineScale;
    std::vector<SceneModel> out;
    for (const auto& [number, model] : control.models()) {
        MeshModel* mesh = model ? model->AsMesh() : nullptr;
        if (!mesh)
            continue;
        SceneModel m = ModelScene(*mesh, style);
        m.number = number;
        if (!m.shapes.empty())
            out.push_back(std::move(m));
    }
    return out;
}

} // namespace

bool ExportScene(CGLCOleControl& control, const SceneRequest& request, const std::string& path, std::string& error)
{
    SceneView view;
    std::vector<SceneModel> models;
    try {
        PictureRenderer target(control, request.width, request.height, request.dpi);
        if (!target.valid()) {
            error = target.error();
            return false;
        }
        // The scene is built as for the picture (axes, radius, projection).
        if (target.DrawWhole() == GlRenderer::Frame::Skipped) {
            std::vector<std::uint8_t> band;
            if (!target.DrawBand(0, band)) {
                error = target.error();
                return false;
            }
        }
        const GlRenderer& renderer = *control.glRenderer();
        view = ReadSceneView(control, renderer, request.width, request.height, request.dpi);
        models = CollectModels(control, renderer, view.lineScale);
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the scene";
        return false;
    }
    platform::OutputFile file;
    if (!file.Open(path)) {
        error = file.error();
        return false;
    }
    FileSink sink(file);
    bool written = request.format == SceneFormat::Vrml ? WriteVrml(view, models, sink) : WritePov(view, models, sink);
    if (!written || !file.Commit()) {
        error = file.error().empty() ? "cannot write \"" + path + "\"" : file.error();
        return false;
    }
    return true;
}

} // namespace halvex
