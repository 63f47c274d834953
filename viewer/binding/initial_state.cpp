#include "viewer/binding/initial_state.h"

#include "initial_state_resource.h"
#include "platform/archive/persist.h"
#include "platform/archive/property_bag.h"

#include <stdexcept>

namespace tavrin {

namespace {

template <class Interface>
Interface& persistence(platform::Dispatch& control)
{
    auto* p = dynamic_cast<Interface*>(&control);
    if (!p)
        throw std::invalid_argument("the object keeps no state");
    return *p;
}

} // namespace

std::span<const std::uint8_t> InitialPlotState()
{
    return initial_state_resource("initial_state.bin");
}

void ApplyInitialPlotState(platform::Dispatch& control)
{
    persistence<platform::PersistStream>(control).LoadState(InitialPlotState());
}

std::vector<std::uint8_t> MakeInitialPlotState(platform::Dispatch& control)
{
    using platform::Variant;
    // The control's own values, as the window's stored state has them:
    // angles in radians (35°, 0°, 10° in single precision), the camera
    // distance of that view, colours packed as the properties read them.
    platform::PropertyBag bag;
    bag.Write("_ExtentX", Variant::fromInt32(7408));
    bag.Write("_ExtentY", Variant::fromInt32(7514));
    bag.Write("Tilt", Variant(0.6108652017876098));
    bag.Write("Rotation", Variant(0.0));
    bag.Write("Twist", Variant(0.17453291479645996));
    bag.Write("ZPosition", Variant(24.198495368895077));
    bag.Write("DepthScale", Variant(1.0));
    bag.Write("ShowBorder", Variant(true));
    bag.Write("EnableLighting", Variant(false));
    bag.Write("EnableFog", Variant(false));
    bag.Write("FogColor", Variant::fromUInt32(0xFFFFFFFF));
    bag.Write("AmbientLight", Variant::fromUInt32(0xFF333333));
    bag.Write("Constrained View", Variant(false));
    bag.Write("Title", Variant(std::string()));
    bag.Write("TitlePosition", Variant::fromInt16(2));
    bag.Write("Perspective", Variant(false));
    bag.Write("VerticalScale", Variant::fromInt16(100));
    bag.Write("ViewingDistance", Variant::fromInt16(18));
    bag.Write("BorderColor", Variant::fromUInt32(0));
    persistence<platform::PersistPropertyBag>(control).LoadProperties(bag);

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
    return persistence<platform::PersistStream>(control).SaveState();
}

} // namespace tavrin
