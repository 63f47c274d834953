#pragma once
// The light object `CglLight` with its automation interface `IglLight`.
// One light per renderer light name (0x4000 + slot); the control keeps
// eight slots. Colours are floats 0..1, the position is in display
// coordinates: `PosX` is its z (the data X axis), `PosY` its x, `PosZ` its
// y (the height), `PositionScale` its w (0: a directional light).

#include "platform/automation/dispatch.h"
#include "platform/automation/member_table.h"
#include "plot/base/packed_color.h"
#include "plot/model/plot_owner.h"

#include <array>
#include <cstdint>
#include <string>

namespace halvex {

class MemberDispatch;

using LightPosition = std::array<float, 4>; // x, y, z, w

constexpr int kLightSlots = 8;
constexpr std::int32_t kFirstLightName = 0x4000;

class CglLight final : public platform::Dispatch {
public:
    // A new light: position, diffuse and specular all zero.
    CglLight(std::int32_t lightNumber, bool enabled, platform::Ref<OwnerLink> owner = {});
    // One of the three lights a control starts with (slots 0, 1, 2): red,
    // green and blue, directional. Other slots start empty.
    static platform::Ref<CglLight> makeDefault(int slot, platform::Ref<OwnerLink> owner);

    // IglLight
    platform::DispId idOfName(std::string_view name) const override;
    platform::Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<platform::Variant> args) override;
    std::string className() const override { return "glLight"; }
    static const platform::MemberTable& memberNames();

    const LightPosition& position() const noexcept { return position_; }
    const ColorF& diffuse() const noexcept { return diffuse_; }
    const ColorF& specular() const noexcept { return specular_; }
    bool enabled() const noexcept { return enabled_; }
    std::int32_t lightNumber() const noexcept { return lightNumber_; }

    // Every value at once, as a loaded state gives them (colours as the
    // properties write them, opaque); the caller redraws.
    void Restore(std::uint32_t specular, std::uint32_t diffuse, const LightPosition& position, std::int32_t lightNumber,
                 bool enabled) noexcept;

    // Switched off by the control when it destroys the light; no notice.
    void SwitchOff() noexcept { enabled_ = false; }

    PlotOwner* owner() const noexcept { return owner_ ? owner_->owner() : nullptr; }
    void setOwner(platform::Ref<OwnerLink> owner) noexcept { owner_ = std::move(owner); }

    // Tells the owner the picture changed.
    void LightChanged();
    // Switches the renderer's light on with this light's position and
    // colours, or off when the light is disabled.
    void Apply() const;

private:
    static const MemberDispatch& members();

    LightPosition position_{0.0f, 0.0f, 0.0f, 0.0f};
    ColorF diffuse_{0.0f, 0.0f, 0.0f, 0.0f};
    ColorF specular_{0.0f, 0.0f, 0.0f, 0.0f};
    bool enabled_;
    std::int32_t lightNumber_;
    platform::Ref<OwnerLink> owner_;
};

} // namespace halvex
