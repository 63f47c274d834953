#pragma once
// `DrawPolyhedron`: a polyhedron request recorded as drawing calls of a
// quick plot. The vertices go in as one vertex array; each face follows
// with its flat normal (and, with "+", its colour by number of sides) as
// polygon pieces outlined along the polyhedron's true edges only: a convex
// face is one polygon; a star face, a face through the centre or one that
// is not convex is a fan from its centre with its edge flag off, and its
// rim triangles of no area with the flag on.

#include "plot/model/kaleido.h"
#include "plot/model/quick_plot_calls.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace halvex {

// Red, green, blue, alpha of a face of n sides under "+".
std::array<std::uint8_t, 4> SideColor(std::int32_t sides) noexcept;

// Records the solid's faces.
void RecordSolid(const kaleido::Solid& solid, bool colorBySides, RecordedCalls& calls);

// 0 on success; else the generator's error number (positive), or a
// negative system error number (memory ran out). Nothing is appended on
// failure.
std::int32_t DrawPolyhedron(std::string_view request, RecordedCalls& calls);

} // namespace halvex
