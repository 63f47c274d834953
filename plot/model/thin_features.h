#pragma once
// Features one cell wide: a spike, a dip, the crest of a ridge or the floor
// of a trench whose sides fall steeply within a cell. Filled, such a
// feature is a sliver that narrows to nothing at its top, and thinner than
// a pixel there, so its top is lost between the pixels: the picture shows
// it lower than it is. Drawn as lines as well (a needle from the neighbours'
// height up to the spike's top, a line along the crest), it reaches its
// true height at every size, as lines always cover a pixel a step.

#include "plot/model/mesh_normals.h"

#include <array>
#include <vector>

namespace halvex {

struct FeatureLine {
    Vertex a, b;
};

// The lines of the grid's thin features. scale: the display's stretch per
// coordinate (the box scale), which decides what is steep: a side counts
// when it falls more than kSteepness times the cell's width within a cell.
void FindThinFeatures(const GridSource& g, const std::array<float, 3>& scale, std::vector<FeatureLine>& out);

constexpr float kSteepness = 2.0f;

} // namespace halvex
