#pragma once
// Registering a list of global routines whose callbacks need only their
// arguments.

#include "script/library/library_support.h"
#include "script/program/script.h"

#include <initializer_list>

namespace script::library {

using Routine = Variant (*)(Args& args);

struct RoutineEntry {
    const char* declaration;
    Routine body;
};

inline void RegisterRoutines(TfsScript& scope, const char* category, std::initializer_list<RoutineEntry> routines)
{
    for (const RoutineEntry& r : routines)
        scope.AddMethod(
            r.declaration,
            [body = r.body](void*, TfsClassVariable*, const std::string&, Args& args) { return body(args); },
            category);
}

} // namespace script::library
