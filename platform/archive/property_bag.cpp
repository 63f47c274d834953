#include "platform/archive/property_bag.h"

#include "platform/text/ascii_case.h"

namespace platform {

void PropertyBag::Write(std::string_view name, Variant value)
{
    for (auto& [key, v] : entries_)
        if (equalsIgnoreCaseAscii(key, name)) {
            v = std::move(value);
            return;
        }
    entries_.emplace_back(std::string(name), std::move(value));
}

const Variant* PropertyBag::Read(std::string_view name) const
{
    for (const auto& [key, v] : entries_)
        if (equalsIgnoreCaseAscii(key, name))
            return &v;
    return nullptr;
}

} // namespace platform
