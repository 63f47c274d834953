#pragma once
// A named property bag: values under names, in the order first written,
// names compared ignoring ASCII case.

#include "platform/automation/variant.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class PropertyBag {
public:
    // Replaces a value of the same name, else appends.
    void Write(std::string_view name, Variant value);
    // The value under name, or nullptr.
    const Variant* Read(std::string_view name) const;
    std::size_t size() const noexcept { return entries_.size(); }
    const std::vector<std::pair<std::string, Variant>>& entries() const noexcept { return entries_; }

private:
    std::vector<std::pair<std::string, Variant>> entries_;
};

} // namespace platform
