#pragma once
// What the callbacks of the standard library share: the object a member is
// called on, checked; file names from scripts; the text of numbers.

#include "platform/automation/variant.h"
#include "script/binding/object_refs.h"
#include "script/program/run_error.h"

#include <string>
#include <string_view>
#include <vector>

namespace script::library {

using platform::Variant;
using Args = std::vector<Variant>;

// The object a member was called on, as the class's own kind; "Invalid
// object reference" for nil.
template <class T>
T& Self(void* instance)
{
    if (!instance)
        RaiseRuntime("Invalid object reference");
    auto* self = dynamic_cast<T*>(AsScriptObject(instance));
    if (!self)
        RaiseRuntime("Invalid class typecast");
    return *self;
}

// An object argument of a given kind (nil gives nullptr).
template <class T>
T* ObjectArg(const Variant& v)
{
    if (v.isEmptyOrNull() || (v.type() == platform::varInteger && v.rawInt32() == 0))
        return nullptr;
    auto* t = dynamic_cast<T*>(AsScriptObject(ResolveObject(v)));
    if (!t)
        RaiseRuntime("Invalid class typecast");
    return t;
}

// A file name of a script (code page 1251) as the file system spells it.
std::string FileSystemName(const Variant& name);
// The same, a relative name taken from folder (UTF-8, trailing '/') when
// one is given.
std::string FileSystemName(const Variant& name, const std::string& folder);

// Reads a regular file for a script (at most the string limit); the error
// names the file as the script wrote it.
std::string ReadScriptData(const Variant& fileName, const std::string& folder = {});
// Replaces a file through a temporary file beside it.
void WriteScriptData(const Variant& fileName, std::string_view bytes, const std::string& folder = {});

// The integer of a count or position argument, in 64 bits (so that
// clamping never overflows).
std::int64_t Int64Arg(const Variant& v);

} // namespace script::library
