#pragma once
// The last steps every model builder shares, once its new model holds its
// data: the model goes into the control's table under its number in place
// of the old one (whose format-dialog link it takes over), the control's
// data box is widened by the new model's record (the bar box for bars and
// patches) and opened around a single point, and the control is marked
// modified. Nothing before these steps may change the control, so a build
// that fails leaves it as it was.

#include "platform/automation/ref_counted.h"

namespace halvex {

class CglModel;
class PlotOwner;

void InstallBuiltModel(PlotOwner& control, int modelNumber, CglModel* old, platform::Ref<CglModel> model);

} // namespace halvex
