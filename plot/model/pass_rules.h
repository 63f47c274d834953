#pragma once
// Which switch of a model's format draws what, per plot kind: one row per
// kind, one column per drawing (the fill, the half fill, lines, points, and
// the contour lines and fills that stand in for the plain ones). Draw reads
// the row of its kind and does what the pass asks of the switches that are
// on.

#include "plot/model/model_format.h"

#include <array>
#include <cstdint>

namespace halvex {

// Bits of the two flag words; a column is on when any of its bits is set.
struct SwitchBits {
    std::uint32_t word1 = 0; // ShadeModel1
    std::uint32_t word2 = 0; // ShadeModel2

    bool AnyOf(const ModelFormat& f) const noexcept
    {
        return (f.shadeModel1 & word1) != 0 || (f.shadeModel2 & word2) != 0;
    }
};

struct KindPassRule {
    SwitchBits fill;
    SwitchBits halfFill; // only together with the fill or a contour fill
    SwitchBits lines;
    SwitchBits points;
    // Lines drawn as contour lines, in place of the kind's own lines.
    SwitchBits contourLines;
    // Lines (contour lines) only while the plot is seen flat from above.
    SwitchBits flatContourLines;
    // A contour fill: the textured fill, which also makes pass 1 draw.
    SwitchBits contourFill;
};

// Indexed by plot kind (`ViewAs` 0 … 5).
extern const std::array<KindPassRule, 6> kPassRules;

// The switches of one model as its kind's row reads them.
struct PassSwitches {
    bool fill = false;
    bool halfFill = false;
    bool lines = false;
    bool points = false;
    bool contourLines = false;
    bool contourFill = false;
};

// A kind outside 0 … 5 has every switch off.
PassSwitches SwitchesOf(const ModelFormat& f, bool flatPlot) noexcept;

} // namespace halvex
