#pragma once
// The settings a visualization matrix is built with, taken from the main
// window (or the command line) once per command.

#include <cstdint>

namespace tavrin {

struct IndexRect {
    std::int32_t xmin = 0, xmax = 100;
    std::int32_t ymin = 0, ymax = 100;
};

enum FillMode : int {
    FillNone = 0,
    FillMin = 1,
    FillMax = 2,
    FillMid = 3,
    FillComputed = 4,
};

struct MatrixSettings {
    IndexRect rect;
    bool yesScale = false;
    int modeMatrixFill = FillNone; // 0..4
    double xdef = 0, ydef = 0, zdef = 0;
};

} // namespace tavrin
