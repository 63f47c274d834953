#pragma once
// The script commands of the command line:
//   tavrin --script FILE --il [--language NAME]
// prints the intermediate-language document of a script;
//   tavrin --script FILE [--language NAME] [--print NAME...]
// compiles and runs it, then prints the named variables as NAME=TEXT.

#include <cstdio>
#include <string>
#include <vector>

namespace tavrin {

// Whether the arguments ask for a script command (they name --script).
bool IsScriptCommand(const std::vector<std::string>& args);

// Runs the command; returns the exit status: 0, 2 for a compile error
// ("ERROR line:col: message" on err), 3 for a run-time error ("RUNTIME
// ERROR: message" on err), 1 for any other failure.
int RunScriptCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace tavrin
