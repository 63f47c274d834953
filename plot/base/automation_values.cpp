#include "plot/base/automation_values.h"

#include "platform/automation/dispatch_exception.h"

#include <cmath>
#include <limits>

namespace halvex {

namespace {

using platform::DispatchException;
using platform::Variant;

template <class F>
auto converted(F&& convert)
{
    try {
        return convert();
    } catch (const platform::VariantError&) {
        throw DispatchException::fromStatus(platform::status::TypeMismatch);
    }
}

std::int64_t argInRange(const Variant& v, std::int64_t lo, std::int64_t hi)
{
    std::int64_t x = converted([&] { return v.toInt64(); });
    if (x < lo || x > hi)
        throw DispatchException::fromStatus(platform::status::Overflow);
    return x;
}

} // namespace

std::int16_t argI2(const Variant& v)
{
    return static_cast<std::int16_t>(argInRange(v, INT16_MIN, INT16_MAX));
}

std::int32_t argI4(const Variant& v)
{
    return static_cast<std::int32_t>(argInRange(v, INT32_MIN, INT32_MAX));
}

std::uint32_t argColor(const Variant& v)
{
    return static_cast<std::uint32_t>(argInRange(v, INT32_MIN, UINT32_MAX));
}

float argR4(const Variant& v)
{
    double d = converted([&] { return v.toDouble(); });
    if (std::isfinite(d) && std::fabs(d) > double(std::numeric_limits<float>::max()))
        throw DispatchException::fromStatus(platform::status::Overflow);
    return static_cast<float>(d);
}

double argR8(const Variant& v)
{
    return converted([&] { return v.toDouble(); });
}

bool argBool(const Variant& v)
{
    return converted([&] { return v.toBool(); });
}

std::string argString(const Variant& v)
{
    return converted([&] { return v.toString(); });
}

std::int64_t argOfType(platform::VarType type, const Variant& v)
{
    switch (type) {
    case platform::varSmallint: return argI2(v);
    case platform::varInteger: return argI4(v);
    case platform::varLongWord: return argColor(v);
    default: return argBool(v) ? 1 : 0;
    }
}

Variant resultOfType(platform::VarType type, std::int64_t value)
{
    switch (type) {
    case platform::varSmallint: return Variant::fromInt16(static_cast<std::int16_t>(value));
    case platform::varInteger: return Variant::fromInt32(static_cast<std::int32_t>(value));
    case platform::varLongWord: return Variant::fromUInt32(static_cast<std::uint32_t>(value));
    default: return Variant(value != 0);
    }
}

} // namespace halvex
