#pragma once
// The view of a scene file: everything the VRML and POV-Ray writers need
// to reproduce the renderer's camera, transform and lights, read from the
// control and its renderer once the scene has been built at the picture's
// size.

#include "plot/model/colormaps.h"

#include <array>
#include <vector>

namespace halvex {

class CGLCOleControl;
class GlRenderer;

struct SceneLight {
    std::array<float, 4> position{0.0f, 0.0f, 0.0f, 0.0f}; // w = 0: directional
    Rgb diffuse{0.0f, 0.0f, 0.0f};
    bool enabled = false;
};

struct SceneView {
    // The modelview of the renderer, in its order: translate by (pan x,
    // pan y, −zPosition), rotate by Rotation about y, Tilt about x, Twist
    // about y (radians), by the spin angle (degrees) about its axis, scale,
    // translate by −centre. A flat plot is seen from above instead.
    double rotation = 0.0;
    double tilt = 0.0;
    double twist = 0.0;
    double spinAngle = 0.0;
    std::array<float, 3> spinAxis{1.0f, 0.0f, 0.0f};
    bool flatPlot = false;
    double zPosition = 3.0;
    std::array<float, 2> pan{0.0f, 0.0f};
    std::array<float, 3> scale{1.0f, 1.0f, 1.0f};
    std::array<float, 3> centre{0.0f, 0.0f, 0.0f};
    // The projection: a frustum or box (left, right, bottom, top at the
    // near plane) and the vertical field of view in degrees.
    bool perspective = false;
    std::array<double, 4> frustum{-1.0, 1.0, -1.0, 1.0};
    double nearPlane = 1.0;
    double fieldOfView = 20.0;
    double radius = 1.0; // R, the scene's radius
    int width = 1;       // the picture's pixels
    int height = 1;
    float lineScale = 1.0f; // line-width units per pixel at the picture's resolution
    Rgb background{1.0f, 1.0f, 1.0f};
    bool lighting = false;
    std::vector<SceneLight> lights; // the slots that hold a light, in slot order

    // The size of a picture pixel at the scene's centre, in eye units.
    double PixelSize() const noexcept;
};

// Reads the view from the control and from the renderer's last built scene.
SceneView ReadSceneView(const CGLCOleControl& control, const GlRenderer& renderer, int width, int height,
                        double dpi);

} // namespace halvex
