#include "viewer/binding/initial_state.h"

namespace tavrin {

void ApplyInitialPlotState(platform::Dispatch& control)
{
    using platform::Variant;
    // Angles in degrees: tilt 35, rotation 0, twist 10; radius 1 (depth
    // scale 1). The z position follows from the projection.
    control.put("Tilt", Variant::fromSingle(35.0f));
    control.put("Rotation", Variant::fromSingle(0.0f));
    control.put("Twist", Variant::fromSingle(10.0f));
    control.put("Radius", Variant(1.0));
    control.put("ShowBorder", Variant(true));
    control.put("Lighting", Variant(false));
    control.put("Fog", Variant(false));
    control.put("FogColor", Variant(int(0xFFFFFFFF)));
    control.put("AmbientLight", Variant(int(0xFF333333)));
    control.put("ConstrainedView", Variant(false));
    control.put("GraphTitle", Variant(std::string()));
    control.put("GraphTitlePosition", Variant::fromInt16(2));
    control.put("PerspectiveView", Variant(false));
    control.put("VerticalScale", Variant::fromInt16(100));
    control.put("ViewingDistance", Variant::fromInt16(18));
    control.put("BorderColor", Variant(0));

    // The frame: the box outline, the axes along its outer edges, and light
    // grey grids on the three back planes.
    Variant box = control.get("ModelBox");
    if (platform::Dispatch* b = box.dispatch()) {
        b->put("AxesStyle", Variant::fromInt16(0));
        b->put("ShowBox", Variant(true));
        for (const char* name : {"XYPlane", "YZPlane", "XZPlane"}) {
            Variant plane = b->get(name);
            platform::Dispatch* p = plane.dispatch();
            if (!p)
                continue;
            p->put("ShowVerticalGridLines", Variant(true));
            p->put("ShowHorizontalGridLines", Variant(true));
            p->put("VerticalGridColor", Variant(0xC8C8C8));
            p->put("HorizontalGridColor", Variant(0xC8C8C8));
        }
    }
}

} // namespace tavrin
