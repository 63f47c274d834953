#pragma once
// Scene files of the plot: a VRML 1.0 world and a POV-Ray 3 scene that
// show what the picture shows. The camera, the view transform (in the
// renderer's order, with its axis stretch and centring), the lights and
// every model's shapes are written; POV-Ray's left-handed space is met
// by a last reflection of z, so that its picture is not mirrored.

#include "plot/export/scene_geometry.h"
#include "plot/export/scene_view.h"
#include "plot/export/text_sink.h"

#include <vector>

namespace halvex {

// False when the sink failed.
bool WriteVrml(const SceneView& view, const std::vector<SceneModel>& models, TextSink& sink);
bool WritePov(const SceneView& view, const std::vector<SceneModel>& models, TextSink& sink);

} // namespace halvex
