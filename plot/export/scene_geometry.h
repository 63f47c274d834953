#pragma once
// What a model contributes to a scene file, in the model's display
// coordinates: one list of points (finite ones only) with their normals,
// and the shapes drawn with them (triangles, polylines, dots), each with
// its colours as the picture shows them. The VRML and POV-Ray writers
// format this; neither walks the models itself.

#include "plot/model/bounding_record.h"
#include "plot/model/colormaps.h"
#include "plot/model/mesh_normals.h"

#include <cstdint>
#include <vector>

namespace halvex {

class MeshModel;

enum class ShapeKind : std::uint8_t { Faces, Lines, Points };
enum class ColorBinding : std::uint8_t {
    Overall,   // colors[0]
    PerVertex, // colors[point index]
    PerFace,   // colors[triangle number] (faces only)
};

// Ends a polyline in a line shape's indices.
constexpr std::uint32_t kPolylineEnd = 0xFFFFFFFFu;

struct SceneShape {
    ShapeKind kind = ShapeKind::Faces;
    // Faces: three point indices per triangle; lines: polylines, each
    // ended by kPolylineEnd; points: the points drawn.
    std::vector<std::uint32_t> indices;
    ColorBinding binding = ColorBinding::Overall;
    std::vector<Rgb> colors;
    bool smooth = false; // faces: shaded with the points' normals
    float width = 1.0f;  // lines: width, points: diameter, in the picture's pixels
};

struct SceneModel {
    int number = 0; // its key in the control's model table
    std::vector<Vertex> points;
    std::vector<Vertex> normals; // one per point, or none
    std::vector<SceneShape> shapes;
};

struct SceneStyle {
    BoundingRecord dataBox; // colour ramps are taken over it
    bool flatPlot = false;
    float lineScale = 1.0f; // picture pixels per line-width unit
};

// The grid model as the picture draws it: filled (or half-filled)
// triangles in the strip triangulation, the wireframe as one polyline per
// row and per column, and the dots, each only when the model's switches
// draw it. Vertices that are not finite are left out with every triangle
// and line piece that uses them. A model that draws nothing of these, or
// has no data, gives no shapes.
SceneModel GridScene(MeshModel& model, const SceneStyle& style);

// Any model as the picture draws it, by its plot kind: surfaces and
// parametric meshes as GridScene, scatter plots with their connecting
// line, vector fields as arrows (shafts and heads), bars as boxes and
// patches as tiles. Contour plots give no shapes.
SceneModel ModelScene(MeshModel& model, const SceneStyle& style);

} // namespace halvex
