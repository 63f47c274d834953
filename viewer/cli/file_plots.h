#pragma once
// The data files handed to the plot control as the export command and the
// wizard window hand them over.

#include "platform/automation/dispatch.h"
#include "viewer/data/fill_script.h"
#include "viewer/data/matrix_settings.h"

#include <cstdio>
#include <string>
#include <cstddef>
#include <vector>

namespace tavrin {

// After RemoveSurfaces: one surface per file, or their cell-by-cell sum as
// one surface, or (vectorField) one vector field whose X components are the
// first file's matrix and whose Y components are the second's. A file that
// gives no matrix is reported on err and left out (counted in leftOut).
// Returns the number of models filled. A vector field of other than two
// files, or of a file without a matrix, is a std::runtime_error; so is a
// surface the control refuses, named after its file. Each file's lines go
// through runFillScript in fill mode 4 (a sum runs no fill scripts).
int AddFilePlots(platform::Dispatch& control, const std::vector<std::string>& files, const MatrixSettings& s,
                 bool sum, bool vectorField, std::FILE* err, std::size_t* leftOut = nullptr,
                 const FillScriptRunner& runFillScript = {});

} // namespace tavrin
