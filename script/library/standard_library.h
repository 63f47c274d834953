#pragma once
// The engine's standard entries in the process-wide global scope: the
// system functions, the Classes group and the Dialogs group (enumerations,
// sets and the input functions). Every host installs them before it
// compiles; they are removed at exit, each group with its own stamp.

namespace script {

class TfsScript;

// Installs the library once (later calls do nothing) and returns the
// global scope that holds it.
TfsScript& InstallStandardLibrary();

} // namespace script
