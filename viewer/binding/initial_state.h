#pragma once
// The plot control's state when the viewer's window is made: the values
// that the window's stored initial state carries, set through the
// control's properties, with the model box, its axes and back planes.

#include "platform/automation/dispatch.h"

namespace tavrin {

void ApplyInitialPlotState(platform::Dispatch& control);

} // namespace tavrin
