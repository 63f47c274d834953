#pragma once
// --contours: the Z contour lines of one data file's matrix as text, the
// form plotting programs read: per line "# level Z", then one "X Y" line
// per point in the file's own coordinates, a blank line between lines.

#include "viewer/cli/command_line.h"

#include <cstdio>
#include <string>

namespace tavrin {

// Returns the exit status (0, or 1 with the message on err).
int RunContourCommand(const CommandLine& cl, const std::string& programFolder, std::FILE* out, std::FILE* err);

} // namespace tavrin
