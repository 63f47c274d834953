#pragma once
// Values the renderer passes through the feedback stream (glPassThrough)
// around drawing that the PostScript export must treat specially. Drawing
// to the screen ignores them.

namespace halvex::feedback_mark {

// Polygons between these two marks only fill the depth buffer (hidden-line
// removal): on paper they are painted in the background colour, so that
// they hide the lines behind them. Whole numbers below 2^24, exact as floats.
constexpr float kHiddenFillBegin = 7340033.0f;
constexpr float kHiddenFillEnd = 7340034.0f;

} // namespace halvex::feedback_mark
