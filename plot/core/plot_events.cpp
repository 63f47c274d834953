#include "plot/core/plot_events.h"

#include "plot/core/plot_ids.h"
#include "plot/host/dravik_ole_control.h"

namespace halvex {

using platform::Variant;

const platform::MemberTable& plotEventNames()
{
    static const platform::MemberTable names{
        {"MouseDown", eventid::MouseDown}, {"Click", eventid::Click},
        {"DblClick", eventid::DblClick},   {"Error", eventid::Error},
        {"KeyDown", eventid::KeyDown},     {"KeyPress", eventid::KeyPress},
        {"KeyUp", eventid::KeyUp},         {"MouseMove", eventid::MouseMove},
        {"MouseUp", eventid::MouseUp},     {"ReadyStateChange", eventid::ReadyStateChange},
    };
    return names;
}

namespace {

void fireMouse(host::CDravikOleControl& c, platform::DispId id, std::int16_t button, std::int16_t shift,
               std::int32_t x, std::int32_t y)
{
    Variant args[] = {Variant::fromInt16(button), Variant::fromInt16(shift), Variant::fromInt32(x), Variant::fromInt32(y)};
    c.FireEvent(id, args);
}

// A value a sink may change; what it leaves is read back as a 16-bit number.
std::int16_t fireKey(host::CDravikOleControl& c, platform::DispId id, std::int16_t key, const std::int16_t* shift)
{
    Variant args[2] = {Variant::fromInt16(key), shift ? Variant::fromInt16(*shift) : Variant()};
    c.FireEvent(id, std::span<Variant>(args, shift ? 2 : 1));
    try {
        std::int32_t v = args[0].toInt32();
        return v >= INT16_MIN && v <= INT16_MAX ? static_cast<std::int16_t>(v) : key;
    } catch (const platform::VariantError&) {
        return key;
    }
}

} // namespace

void FireClick(host::CDravikOleControl& c) { c.FireEvent(eventid::Click); }
void FireDblClick(host::CDravikOleControl& c) { c.FireEvent(eventid::DblClick); }
void FireReadyStateChange(host::CDravikOleControl& c) { c.FireEvent(eventid::ReadyStateChange); }

void FireMouseDown(host::CDravikOleControl& c, std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y)
{
    fireMouse(c, eventid::MouseDown, button, shift, x, y);
}

void FireMouseMove(host::CDravikOleControl& c, std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y)
{
    fireMouse(c, eventid::MouseMove, button, shift, x, y);
}

void FireMouseUp(host::CDravikOleControl& c, std::int16_t button, std::int16_t shift, std::int32_t x, std::int32_t y)
{
    fireMouse(c, eventid::MouseUp, button, shift, x, y);
}

std::int16_t FireKeyDown(host::CDravikOleControl& c, std::int16_t keyCode, std::int16_t shift)
{
    return fireKey(c, eventid::KeyDown, keyCode, &shift);
}

std::int16_t FireKeyPress(host::CDravikOleControl& c, std::int16_t keyAscii)
{
    return fireKey(c, eventid::KeyPress, keyAscii, nullptr);
}

std::int16_t FireKeyUp(host::CDravikOleControl& c, std::int16_t keyCode, std::int16_t shift)
{
    return fireKey(c, eventid::KeyUp, keyCode, &shift);
}

bool FireError(host::CDravikOleControl& c, std::int16_t number, std::string& description, std::int32_t scode,
               std::string_view source, std::string_view helpFile, std::int32_t helpContext)
{
    Variant args[] = {Variant::fromInt16(number), Variant(description), Variant::fromInt32(scode), Variant(source),
                      Variant(helpFile), Variant::fromInt32(helpContext), Variant(false)};
    c.FireEvent(eventid::Error, args);
    if (args[1].isString())
        description = std::string(args[1].stringView());
    try {
        return args[6].toBool();
    } catch (const platform::VariantError&) {
        return false;
    }
}

} // namespace halvex
