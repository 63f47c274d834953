#include "script/library/standard_library.h"

#include "script/library/classes_group.h"
#include "script/library/dialogs_group.h"
#include "script/library/system_functions.h"
#include "script/program/global_scope.h"
#include "script/program/script.h"
#include "script/script_error.h"

#include <memory>

namespace script {

namespace {

// Made after the global scope, so gone before it: each group takes its
// entries out while the scope is still there.
struct Library {
    explicit Library(TfsScript& scope)
        : system(std::make_unique<TfsSystemFunctions>(scope)), classes(std::make_unique<TfsClassesGroup>(scope)),
          dialogs(std::make_unique<TfsDialogsGroup>(scope))
    {
    }
    ~Library()
    {
        dialogs.reset();
        classes.reset();
        system.reset();
    }
    std::unique_ptr<TfsSystemFunctions> system;
    std::unique_ptr<TfsClassesGroup> classes;
    std::unique_ptr<TfsDialogsGroup> dialogs;
};

} // namespace

TfsScript& InstallStandardLibrary()
{
    TfsScript* global = GlobalScope();
    if (!global)
        throw ScriptError("The script engine is shutting down");
    static Library library(*global);
    return *global;
}

} // namespace script
