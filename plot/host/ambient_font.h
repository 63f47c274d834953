#pragma once
// A container's font as an ambient property: a font object with the
// standard members Name (the face) and Size (points, as currency).

#include "platform/automation/dispatch.h"

#include <string>

namespace halvex::host {

class AmbientFont final : public platform::Dispatch {
public:
    static constexpr platform::DispId kName = 0;
    static constexpr platform::DispId kSize = 2;

    AmbientFont(std::string face, double points) : face_(std::move(face)), points_(points) {}

    platform::DispId idOfName(std::string_view name) const override;
    platform::Variant invoke(platform::DispId id, platform::InvokeKind kind, std::span<platform::Variant> args) override;
    std::string className() const override { return "Font"; }

private:
    std::string face_;
    double points_;
};

// Face and whole points of a font object as containers hand it over (size
// in points = floor(size in 1/10000 points × 0.0001 + 0.5)); false when the
// value is no font.
bool ReadAmbientFont(const platform::Variant& font, std::string& face, int& points);

} // namespace halvex::host
