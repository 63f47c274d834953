#pragma once
// The builders of the other plot kinds: meshes from three coordinate
// matrices (parametric surfaces, scatter plots, lists of three matrices),
// vector fields from two matrices, and volumes from the host's nested
// values. Each takes over the format of the model it replaces and widens the
// control's data box, as BuildSurface does. A failed build leaves the table,
// the model it would replace and the data box as they were.

#include <cstddef>
#include <cstdint>

namespace halvex {

class PlotOwner;
class InterruptSource;
namespace host {
struct HostValue;
class HostValueTable;
} // namespace host

// One coordinate of a mesh: a column-major array of doubles, element (i, j)
// at j × stride + i (a stride of 0 meaning rows), or no array at all (the
// coordinate is 0). length: the doubles the array holds.
struct MeshCoordinate {
    const double* data = nullptr;
    std::size_t length = 0;
    std::size_t stride = 0;
};

// Vertex (i, j) = (y, z, x) in display coordinates. Errors: 32785 when the
// model cannot be made; 32801 when rows or cols is below 1, an array is too
// short for its stride ((cols − 1) × stride + rows elements are read), the
// vertices cannot be held, or a coordinate is not a finite number that a
// float can carry.
bool BuildMesh(PlotOwner& control, const MeshCoordinate& x, const MeshCoordinate& y, const MeshCoordinate& z,
               std::int32_t rows, std::int32_t cols, int modelNumber);

// re, im: rows × cols doubles, element (i, j) at i + j × rows; im may be
// null (imaginary parts 0). The vector (i, j) is (im, 0, re) in display
// coordinates, drawn at (i, 0, j); `Rect` spans the grid positions and the
// arrows drawn from them. Errors: 57714 for fewer than 2 rows or columns, 57712 for a
// component that is not finite (or too large for a float), 32785 / 32801
// when memory runs out, 57763 when the interrupt source asks to stop
// (asked after every column).
bool BuildVectorField(PlotOwner& control, const double* re, const double* im, std::int32_t rows, std::int32_t cols,
                      int modelNumber, InterruptSource* interrupt = nullptr);

// A host value of k pieces (a one-column list of references), each piece a
// one-column list of three references to matrices x, y, z of one size
// rows × cols, the same for every piece. The model holds the k grids one
// after another. Errors: 32801 for a missing or malformed piece, pieces of
// different sizes, or a coordinate that is not finite; 32785 when memory
// runs out.
bool BuildVolume(PlotOwner& control, const host::HostValueTable& values, const host::HostValue& element,
                 int modelNumber);

} // namespace halvex
