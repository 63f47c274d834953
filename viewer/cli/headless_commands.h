#pragma once
// The headless commands of the command line: they read the settings file
// but never write it, and need no display.

#include "viewer/cli/command_line.h"
#include "viewer/data/fill_script.h"
#include "viewer/data/visualization_matrix.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tavrin {

// The matrix as text: "Xmin Xmax Ymin Ymax", then one line per X index with
// the cells for Y = Ymin..Ymax, each the shortest text that reads back to
// the same double.
void WriteMatrixText(const VisualizationMatrix& m, std::FILE* out);

// Matrix settings of the command: options over the settings file of the
// program folder.
MatrixSettings CommandMatrixSettings(const CommandLine& cl, const std::string& programFolder);

// The cell-by-cell sum of the files' matrices, as the summing command
// makes it: each file's lines as read (no fill script); a file that gives
// no matrix is reported on err and left out.
VisualizationMatrix SumOfFiles(const std::vector<std::string>& files, const MatrixSettings& s, std::FILE* err);

// True when every named file is a regular file; otherwise the reason (from
// stat, so nothing such as a pipe is opened just to explain the refusal)
// goes to err.
bool CheckDataFiles(const std::vector<std::string>& files, std::FILE* err);

// Runs --matrix or --sum; returns the exit status (0, or 1 on errors, whose
// messages go to err).
int RunMatrixCommand(const CommandLine& cl, const std::string& programFolder, std::FILE* out, std::FILE* err,
                     const FillScriptRunner& runFillScript = {});

} // namespace tavrin
