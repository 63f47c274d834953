#pragma once
// The seam to the script host: in fill mode 4 a data file's fill-algorithm
// script computes lines that go in front of the file's own lines.

#include "viewer/data/matrix_settings.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrin {

// A run-time error of a fill script (UTF-8 text): it ends the command that
// builds the matrix, with this message.
class FillScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs the script file for the rectangle and fills `lines` with what it
// produced. Returns false when the script did not compile or reported
// failure; a run-time error of the script is thrown.
using FillScriptRunner =
    std::function<bool(const std::string& scriptPath, const IndexRect& rect, std::vector<std::string>& lines)>;

// The fill-algorithm script of a data file: the same name with the
// extension ".Tavrin".
std::string fillScriptPathFor(const std::string& dataFilePath);

} // namespace tavrin
