#pragma once
// The control's scene as a VRML 1.0 world or a POV-Ray scene file.

#include <string>

namespace halvex {

class CGLCOleControl;

enum class SceneFormat { Vrml, Pov };

struct SceneRequest {
    SceneFormat format = SceneFormat::Vrml;
    // The picture the scene reproduces: its size in pixels (the camera's
    // aspect, the width of lines) and resolution.
    int width = 0;
    int height = 0;
    double dpi = 96.0;
};

// Builds the scene as the renderer would for the picture and writes it (to
// a temporary file beside path, renamed into place). False with a message.
bool ExportScene(CGLCOleControl& control, const SceneRequest& request, const std::string& path,
                 std::string& error);

} // namespace halvex
