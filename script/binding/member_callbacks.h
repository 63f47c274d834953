#pragma once
// The callbacks a host gives for the routines, methods and properties it
// registers. instance is the object the member is called on (nullptr for
// global routines and class-level calls); cls is the class the member was
// registered with; name is the member's name in upper case ("ITEMS.GET"
// and "ITEMS.SET" for indexed properties). Arguments come in declaration
// order, indexed from 0; a callback writes the new values of by-reference
// parameters back into them. Errors are exceptions with the message the
// script sees.

#include "platform/automation/variant.h"

#include <functional>
#include <string>
#include <vector>

namespace script {

class TfsClassVariable;

using TfsMethodCallback = std::function<platform::Variant(void* instance, TfsClassVariable* cls,
                                                          const std::string& name,
                                                          std::vector<platform::Variant>& args)>;
using TfsGetValueCallback =
    std::function<platform::Variant(void* instance, TfsClassVariable* cls, const std::string& name)>;
using TfsSetValueCallback = std::function<void(void* instance, TfsClassVariable* cls, const std::string& name,
                                               const platform::Variant& value)>;

} // namespace script
