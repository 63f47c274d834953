#pragma once
// `ModelPropSink`, the format dialog's settings object of one model: the
// automation face of what a model holds but `IglModel` does not show, the
// quick-plot ranges and coordinate system. It is made on first use and
// kept as the model's dialog link, so it follows the model's format to a
// successor that a builder puts in its place; when the model goes without
// one, every member fails with "Unknown error".

#include "platform/automation/dispatch.h"

namespace halvex {

class CglModel;

// The settings object of the model, made when the model has none.
platform::Ref<platform::Dispatch> ModelSettings(CglModel& model);

} // namespace halvex
