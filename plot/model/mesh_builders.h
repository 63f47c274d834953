#pragma once
// The builders of the other plot kinds: meshes from three coordinate
// matrices (parametric surfaces, scatter plots, lists of three matrices),
// vector fields from two matrices, and volumes from the host's nested
// values. Each takes over the format of the model it replaces and widens the
// control's data box, as BuildSurface does.

#include <cstddef>
#include <cstdint>

namespace halvex {

class PlotOwner;
namespace host {
struct HostValue;
}

// x, y, z: column-major doubles (element (i, j) at j × stride + i, a
// stride of 0 meaning rows), or null for a coordinate that is 0.
bool BuildMesh(PlotOwner& control, const double* x, const double* y, const double* z, std::int32_t rows,
               std::int32_t cols, int modelNumber, std::size_t strideX = 0, std::size_t strideY = 0,
               std::size_t strideZ = 0);
bool BuildVectorField(PlotOwner& control, const double* re, const double* im, std::int32_t rows, std::int32_t cols,
                      int modelNumber);
bool BuildVolume(PlotOwner& control, const host::HostValue& element, int modelNumber);

} // namespace halvex
