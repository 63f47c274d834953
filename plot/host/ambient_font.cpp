#include "plot/host/ambient_font.h"

#include "platform/automation/dispatch_exception.h"
#include "platform/text/ascii_case.h"

#include <cmath>

namespace halvex::host {

platform::DispId AmbientFont::idOfName(std::string_view name) const
{
    if (platform::equalsIgnoreCaseAscii(name, "Name"))
        return kName;
    if (platform::equalsIgnoreCaseAscii(name, "Size"))
        return kSize;
    return platform::kDispIdUnknown;
}

platform::Variant AmbientFont::invoke(platform::DispId id, platform::InvokeKind kind, std::span<platform::Variant>)
{
    if (kind == platform::InvokeKind::PropertyGet || kind == platform::InvokeKind::Method) {
        if (id == kName)
            return platform::Variant(face_);
        if (id == kSize)
            return platform::Variant::fromCurrency(points_);
    }
    throw platform::DispatchException(platform::status::MemberNotFound, 0, "Font", "Member not found");
}

bool ReadAmbientFont(const platform::Variant& font, std::string& face, int& points)
{
    platform::Dispatch* d = font.dispatch();
    if (!d)
        return false;
    try {
        std::string name = d->get(AmbientFont::kName).toString();
        std::int64_t units = d->get(AmbientFont::kSize).toCurrencyUnits();
        if (name.empty())
            return false;
        face = name;
        points = static_cast<int>(std::floor(double(units) * 0.0001 + 0.5));
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace halvex::host
