#include "plot/model/plot_light.h"

#include "plot/base/automation_values.h"
#include "plot/base/member_dispatch.h"

#include <stdexcept>

namespace halvex {

using platform::Dispatch;
using platform::Variant;

CglLight::CglLight(std::int32_t lightNumber, bool enabled, platform::Ref<OwnerLink> owner)
    : enabled_(enabled), lightNumber_(lightNumber), owner_(std::move(owner))
{}

platform::Ref<CglLight> CglLight::makeDefault(int slot, platform::Ref<OwnerLink> owner)
{
    static constexpr LightPosition positions[3] = {{1, 0, 1, 0}, {1, 1, 1, 0}, {0, 1, 1, 0}};
    static constexpr ColorF diffuses[3] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
    if (slot < 0 || slot > 2)
        throw std::invalid_argument("only slots 0, 1 and 2 have default lights");
    platform::Ref<CglLight> light(new CglLight(kFirstLightName + slot, true, std::move(owner)));
    light->position_ = positions[slot];
    light->diffuse_ = diffuses[slot];
    light->specular_ = {0, 0, 0, 1};
    return light;
}

platform::DispId CglLight::idOfName(std::string_view name) const
{
    return members().idOfName(name);
}

Variant CglLight::invoke(platform::DispId id, platform::InvokeKind kind, std::span<Variant> args)
{
    Variant result = members().invoke(*this, id, kind, args);
    // Every write tells the owner once more, changed or not.
    if (kind == platform::InvokeKind::PropertyPut || kind == platform::InvokeKind::PropertyPutRef)
        LightChanged();
    return result;
}

const platform::MemberTable& CglLight::memberNames()
{
    return members().names();
}

void CglLight::Restore(std::uint32_t specular, std::uint32_t diffuse, const LightPosition& position,
                       std::int32_t lightNumber, bool enabled) noexcept
{
    specular_ = unpackRgbOpaque(specular);
    diffuse_ = unpackRgbOpaque(diffuse);
    position_ = position;
    lightNumber_ = lightNumber;
    enabled_ = enabled;
}

void CglLight::LightChanged()
{
    if (PlotOwner* o = owner())
        o->RequestRedraw();
}

const MemberDispatch& CglLight::members()
{
    struct Access {
        static CglLight& light(Dispatch& d) { return static_cast<CglLight&>(d); }
        static ColorF& colour(CglLight& l, std::uint32_t which) { return which == 0 ? l.specular_ : l.diffuse_; }

        // Colours read without alpha (alpha byte 0) and are written opaque.
        static Variant getColor(Dispatch& d, const Member& m)
        {
            return Variant::fromInt32(static_cast<std::int32_t>(packRgb(colour(light(d), m.data), 0)));
        }
        static void putColor(Dispatch& d, const Member& m, const Variant& v)
        {
            CglLight& l = light(d);
            ColorF c = unpackRgbOpaque(argColor(v));
            ColorF& field = colour(l, m.data);
            if (c != field) {
                field = c;
                l.LightChanged();
            }
        }

        // data: the index of the display coordinate (PosX is z, PosY x,
        // PosZ y, PositionScale w).
        static Variant getPosition(Dispatch& d, const Member& m)
        {
            return Variant::fromSingle(light(d).position_[m.data]);
        }
        static void putPosition(Dispatch& d, const Member& m, const Variant& v)
        {
            CglLight& l = light(d);
            float x = argR4(v);
            if (x != l.position_[m.data]) {
                l.position_[m.data] = x;
                l.LightChanged();
            }
        }

        static Variant getId(Dispatch& d, const Member&)
        {
            return Variant::fromInt16(static_cast<std::int16_t>(light(d).lightNumber_));
        }
        static void putId(Dispatch& d, const Member&, const Variant& v)
        {
            CglLight& l = light(d);
            std::int32_t id = argI2(v);
            if (id != l.lightNumber_) {
                l.lightNumber_ = id;
                l.LightChanged();
            }
        }

        static Variant getEnabled(Dispatch& d, const Member&)
        {
            return Variant::fromInt16(light(d).enabled_ ? 1 : 0);
        }
        static void putEnabled(Dispatch& d, const Member&, const Variant& v)
        {
            CglLight& l = light(d);
            bool on = argI2(v) != 0;
            if (on != l.enabled_) {
                l.enabled_ = on;
                l.LightChanged();
            }
        }
    };

    using A = Access;
    static const MemberDispatch table{
        {"Specular", 1, A::getColor, A::putColor, nullptr, 0, platform::varInteger, 0},
        {"Diffuse", 2, A::getColor, A::putColor, nullptr, 0, platform::varInteger, 1},
        {"PosX", 3, A::getPosition, A::putPosition, nullptr, 0, platform::varSingle, 2},
        {"PosY", 4, A::getPosition, A::putPosition, nullptr, 0, platform::varSingle, 0},
        {"PosZ", 5, A::getPosition, A::putPosition, nullptr, 0, platform::varSingle, 1},
        {"ID", 6, A::getId, A::putId},
        {"PositionScale", 7, A::getPosition, A::putPosition, nullptr, 0, platform::varSingle, 3},
        {"Enabled", 8, A::getEnabled, A::putEnabled},
    };
    return table;
}

} // namespace halvex
