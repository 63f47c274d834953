#pragma once
// The points of a data file as they stand in it: X, Y and Z of every data
// line in file order, with no matrix made of them. Empty and comment lines
// are left out; a missing or non-numeric field takes its default, as when a
// matrix is built.

#include "viewer/data/matrix_settings.h"

#include <string>
#include <vector>

namespace tavrin {

struct ScatterPoints {
    std::vector<double> x, y, z;
    std::size_t size() const noexcept { return x.size(); }
};

// Throws FileError when the file cannot be read.
ScatterPoints ReadScatterPoints(const std::string& path, const MatrixSettings& settings);

} // namespace tavrin
