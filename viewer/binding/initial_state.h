#pragma once
// The plot control's state when the viewer's window is made: a 710-byte
// stream in the control's own format, kept with the program
// (resources/initial_state.bin) and handed to the control's loader.

#include "platform/automation/dispatch.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tavrin {

// The stream kept with the program.
std::span<const std::uint8_t> InitialPlotState();

// Loads it into a plot control; throws platform::ArchiveError when the
// control refuses it, std::invalid_argument for an object that keeps no
// state.
void ApplyInitialPlotState(platform::Dispatch& control);

// The stream as the control's own saver makes it from the viewer's values
// (tilt 35°, twist 10°, an extent of 7408 × 7514 hundredths of a
// millimetre, the box outline, axes along its outer edges and light grey
// grids on the back planes). control: a new plot control, which this sets
// up and saves. The resource is made with it (tavrin_make_initial_state).
std::vector<std::uint8_t> MakeInitialPlotState(platform::Dispatch& control);

} // namespace tavrin
