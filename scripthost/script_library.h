#pragma once
// The script library the viewer offers its scripts: the output list
// List_Data, the index rectangle, the message-box and physical constants,
// ResultScript and FileName_Matrix_New, and 37 routines served by one
// callback that knows them by name.

#include "viewer/data/matrix_settings.h"

#include <array>
#include <string>

namespace script {
class TfsScript;
class TfsStringList;
}

namespace tavrin {

class HostDialogs;

// What the routines work with; it outlives every run of the host script.
struct LibraryContext {
    script::TfsStringList* listData = nullptr;
    IndexRect rect;
    HostDialogs* dialogs = nullptr;
    // Where relative file names of scripts lead (UTF-8, trailing '/').
    std::string programFolder;
};

// The declarations, in the order they are registered.
extern const std::array<const char*, 37> kLibraryDeclarations;

// Registers the entries in host (after List_Data, the constants and the
// variables, the routines in order).
void RegisterScriptLibrary(script::TfsScript& host, LibraryContext& context);

// A file name of a script (code page 1251) for the file system: a relative
// name is taken from the program folder, never the working directory.
std::string ScriptPathName(const LibraryContext& context, const std::string& cp1251Name);

} // namespace tavrin
