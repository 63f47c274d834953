#pragma once
// The script commands of the command line:
//   tavrin --script FILE --il [--language NAME]
// prints the intermediate-language document of a script;
//   tavrin --script FILE [--language NAME] [--print NAME...]
// compiles and runs it, then prints the named variables as NAME=TEXT.

#include <cstdio>
#include <string>
#include <vector>

namespace script {
class TfsScript;
}

namespace tavrin {

// The language of a script file by its extension: .vbs, .bas, .vb
// BasicScript; .js JScript; .cpp, .cc, .c, .h C++Script; anything else
// PascalScript. A first line "#language NAME" still has the last word.
std::string ScriptLanguageOfFile(const std::string& file);

// Reads, compiles and runs a script file in program (whose parent the
// caller has set), the way the command line does: units beside the file,
// the library installed. Returns 0; 1 when the file cannot be read (the
// message on err); 2 after "ERROR line:col: message"; 3 after "RUNTIME
// ERROR: message".
int RunScriptFile(script::TfsScript& program, const std::string& file, const std::string& language,
                  std::FILE* err);

// Whether the arguments ask for a script command (they name --script).
bool IsScriptCommand(const std::vector<std::string>& args);

// Runs the command; returns the exit status: 0, 2 for a compile error
// ("ERROR line:col: message" on err), 3 for a run-time error ("RUNTIME
// ERROR: message" on err), 1 for any other failure.
int RunScriptCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace tavrin
