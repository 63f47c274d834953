#pragma once
// Scene shapes of the glyph plot kinds (see scene_geometry.h).

#include "plot/export/scene_geometry.h"

namespace halvex {

// A vector field's arrows: heads as triangles with the shafts as lines
// when filled, shaft and head strokes as lines, and the arrows' points.
SceneModel VectorScene(MeshModel& model, const SceneStyle& style);
// Bars as boxes and patches as tiles, filled, half filled, outlined or
// marked at the corners.
SceneModel BoxScene(MeshModel& model, const SceneStyle& style);

} // namespace halvex
