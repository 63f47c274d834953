#pragma once
// Arguments and results of the control's automation members in the types
// of their declarations. A value that has no such form fails as a
// container expects: type mismatch, or overflow when out of the type's range.

#include "platform/automation/variant.h"

#include <cstdint>
#include <string>

namespace halvex {

std::int16_t argI2(const platform::Variant& v);
std::int32_t argI4(const platform::Variant& v);
// A packed colour: any integer that fits 32 bits, signed or not.
std::uint32_t argColor(const platform::Variant& v);
float argR4(const platform::Variant& v);
double argR8(const platform::Variant& v);
bool argBool(const platform::Variant& v);
std::string argString(const platform::Variant& v);
// An integer of the declared type (I2, I4, UI4 or BOOL) as a wide number.
std::int64_t argOfType(platform::VarType type, const platform::Variant& v);

// A result of the declared type (I2, I4, UI4 or BOOL) from a wide number.
platform::Variant resultOfType(platform::VarType type, std::int64_t value);

} // namespace halvex
