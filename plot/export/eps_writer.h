#pragma once
// Encapsulated PostScript from the renderer's feedback stream (vertex type
// 3-D plus colour: x, y, z, red, green, blue, alpha per vertex): the stream
// is read into primitives, checked against its own length, optionally
// ordered by depth, and written as PostScript with a prolog whose
// `gouraudtriangle` procedure shades smooth triangles by subdivision.

#include "plot/export/text_sink.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halvex::eps {

// Values per vertex of the stream: RGBA only.
constexpr int kVertexValues = 7;

enum class PrimitiveKind : std::uint8_t { Point, Line, Polygon };

struct Primitive {
    std::uint32_t offset = 0; // stream index of its first vertex
    std::uint32_t count = 0;  // vertices
    PrimitiveKind kind = PrimitiveKind::Point;
    // A hidden-line fill: painted in the background colour.
    bool hiddenFill = false;
    // The sort key, in window depth: a point's z, a line's mean z and a
    // polygon's farthest z. The renderer pushes filled polygons back
    // (polygon offset) so that the lines drawn on them show; ordering a
    // polygon by its farthest corner does the same on paper, where by its
    // mean every other piece of a wireframe would be painted over.
    float depth = 0.0f;
};

// Reads the stream (the values the renderer wrote). Points, lines, line
// resets and polygons become primitives; bitmap, pixel and pass-through
// tokens are skipped (pass-through values that mark a hidden-line fill
// are obeyed). Polygons of no area and lines of no length are left out.
// False, with a message, for a token it does not know or a count that
// runs past the end of the stream.
bool ParseFeedback(std::span<const float> stream, std::vector<Primitive>& out, std::string& error);

// Farthest first (painter's order); primitives of equal depth keep their
// stream order, so the same picture gives the same file byte for byte.
void SortByDepth(std::vector<Primitive>& primitives);

struct Page {
    std::array<int, 4> viewport{0, 0, 0, 0}; // x, y, width, height
    std::array<float, 3> clearColor{1.0f, 1.0f, 1.0f};
    float lineWidth = 1.0f;
    float pointSize = 1.0f;
    std::string creator = "Corvane, Inc.";
    // PostScript drawn over the picture, in its coordinates (the title,
    // the border, the annotations); empty for none.
    std::string overlay;
};

// The whole file: header, prolog, background, the primitives in the given
// order, the overlay and the trailer. False when the sink failed.
bool WriteEps(std::span<const float> stream, const std::vector<Primitive>& primitives, const Page& page,
              TextSink& sink);

// The prolog's lines, for tests that run the procedures alone.
std::span<const char* const> PrologLines();

} // namespace halvex::eps
