#pragma once
// --export: the files' surfaces drawn off screen into a picture file, with
// no display; a plot script may set the control up before it draws.

#include "platform/automation/variant.h"
#include "viewer/cli/command_line.h"
#include "viewer/data/fill_script.h"

#include <cstdio>
#include <string>

namespace tavrin {

// Returns the exit status (0, or 1 with the message on err; a plot script's
// compile error is 2, its run-time error 3, as for --script). The values
// asked for with --get go to out.
// In fill mode 4 each file's fill script runs through runFillScript.
int RunExportCommand(const CommandLine& cl, const std::string& programFolder, std::FILE* err,
                     std::FILE* out = stdout, const FillScriptRunner& runFillScript = {});

// --load-state / --save-state without --export: the plot control alone,
// with --set and --get, nothing drawn.
int RunStateCommand(const CommandLine& cl, std::FILE* err, std::FILE* out = stdout);

// A property value as a container types it: a whole number, a decimal
// number with "." as the point, or else text.
platform::Variant PropertyValueFromText(const std::string& text);

} // namespace tavrin
