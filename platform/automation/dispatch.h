#pragma once
// Dispatch: an automation object called by member number or by name.

#include "platform/automation/ref_counted.h"
#include "platform/automation/variant.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

using DispId = std::int32_t;

constexpr DispId kDispIdUnknown = -1;
constexpr DispId kDispIdValue = 0;

enum class InvokeKind : std::uint8_t {
    Method = 1,
    PropertyGet = 2,
    PropertyPut = 4,
    PropertyPutRef = 8,
};

class Dispatch : public RefCounted {
public:
    // The member number of a name (compared ignoring letter case), or
    // kDispIdUnknown.
    virtual DispId idOfName(std::string_view name) const = 0;

    // Calls a member. Arguments are in declaration order; for a property put
    // the new value is the last argument. A callee may write by-reference
    // arguments back into args. Failures throw DispatchException.
    virtual Variant invoke(DispId id, InvokeKind kind, std::span<Variant> args) = 0;

    // Name of the object's class, for messages.
    virtual std::string className() const { return "Object"; }

    // Call by name: looks the member up first; an unknown name throws
    // DispatchException with status::UnknownName.
    Variant invoke(std::string_view name, InvokeKind kind, std::span<Variant> args);

    // Conveniences for containers.
    Variant call(DispId id, std::span<Variant> args = {}) { return invoke(id, InvokeKind::Method, args); }
    Variant get(DispId id) { return invoke(id, InvokeKind::PropertyGet, {}); }
    void put(DispId id, Variant value);
    Variant get(std::string_view name) { return invoke(name, InvokeKind::PropertyGet, {}); }
    void put(std::string_view name, Variant value);
};

} // namespace platform
