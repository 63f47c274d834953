#pragma once
// --grid FILE --size RxC: a data file's points gridded by natural
// neighbours, printed in the matrix command's text form for other tools.

#include "viewer/cli/command_line.h"

#include <cstdio>
#include <string>

namespace tavrin {

// Returns the exit status (0, or 1 with the message on err).
int RunGridCommand(const CommandLine& cl, const std::string& programFolder, std::FILE* out, std::FILE* err);

} // namespace tavrin
