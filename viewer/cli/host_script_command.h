#pragma once
// A script run the way the viewer prepares it, with no window:
//   tavrin --script FILE --host [--rect X0 X1 Y0 Y1] [--new-matrix FILE]
//          [--answer TEXT]... [--print NAME...]... [--print-list]
// The host script gets the script library with the index rectangle (from
// --rect, else the settings file's); FileName_Matrix_New starts as
// --new-matrix gives it. The dialogs take the --answer texts in order;
// messages go to standard error. After the run --print writes NAME=TEXT
// and --print-list the lines of List_Data, one a line.

#include <cstdio>
#include <string>
#include <vector>

namespace tavrin {

// Whether the arguments name both --script and --host.
bool IsHostScriptCommand(const std::vector<std::string>& args);

// The exit status: 0; 1 for bad options or an unreadable file; 2 after
// "ERROR line:col: message"; 3 after "RUNTIME ERROR: message".
int RunHostScriptCommand(const std::vector<std::string>& args, const std::string& programFolder, std::FILE* out,
                         std::FILE* err);

} // namespace tavrin
