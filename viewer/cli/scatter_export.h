#pragma once
// --export --scatter: each data file's points handed to the plot control as
// a point list (AddScatterPlot), one model per file; with --grid, each list
// is shown as a surface gridded by natural neighbours.

#include "platform/automation/dispatch.h"
#include "viewer/data/matrix_settings.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

// Returns the number of models added; a file without points is reported on
// err and left out. Throws FileError, and what the control raises, named
// after the file.
int AddScatterFiles(platform::Dispatch& control, const std::vector<std::string>& files, const MatrixSettings& s,
                    const std::optional<std::array<int, 2>>& grid, std::FILE* err);

} // namespace tavrin
