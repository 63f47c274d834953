#include "plot/export/scene_view.h"

#include "plot/core/gl_control_core.h"
#include "plot/core/gl_renderer.h"
#include "plot/host/control_site.h"

#include <cmath>

namespace halvex {

double SceneView::PixelSize() const noexcept
{
    double h = frustum[3] - frustum[2];
    if (perspective && nearPlane > 0.0)
        h = h / nearPlane * zPosition;
    return height > 0 ? std::fabs(h) / height : 1.0;
}

SceneView ReadSceneView(const CGLCOleControl& control, const GlRenderer& renderer, int width, int height,
                        double dpi)
{
    SceneView v;
    const ControlState& s = control.state();
    const ViewState& view = renderer.view();
    v.rotation = s.rotation;
    v.tilt = s.tilt;
    v.twist = s.twist;
    v.spinAngle = view.spinAngle;
    v.spinAxis = view.spinAxis;
    v.flatPlot = control.FlatPlot();
    v.zPosition = s.zPosition;
    v.pan = view.pan;
    v.scale = renderer.SceneScale();
    v.centre = view.centre;
    v.perspective = view.perspectiveFrustum;
    v.frustum = {view.frustum[0], view.frustum[1], view.frustum[2], view.frustum[3]};
    v.nearPlane = view.nearPlane;
    v.fieldOfView = view.fieldOfView;
    v.radius = view.radius;
    v.width = width;
    v.height = height;
    v.lineScale = float(dpi > 0.0 ? dpi / 96.0 : 1.0);
    std::uint32_t back = 0xFFFFFF;
    platform::Variant bg = control.AmbientProperty(host::ambient::BackColor);
    if (!bg.isEmptyOrNull()) {
        try {
            back = static_cast<std::uint32_t>(bg.toInt32());
        } catch (...) {
        }
    }
    v.background = {float(back & 0xFF) / 255.0f, float(back >> 8 & 0xFF) / 255.0f, float(back >> 16 & 0xFF) / 255.0f};
    v.lighting = s.lighting;
    for (int slot = 0; slot < kLightSlots; ++slot)
        if (const CglLight* light = control.LightAt(slot))
            v.lights.push_back({light->position(), {light->diffuse()[0], light->diffuse()[1], light->diffuse()[2]},
                                light->enabled()});
    return v;
}

} // namespace halvex
