#pragma once
// Properties named by a dotted path through the plot control's objects,
// as the command line gives them: "Tilt", "ModelBox.AxesStyle",
// "ModelBox.ZAxis.NumGrids", and members taking one number: "Model(0).ViewAs",
// "Light(1).Diffuse". The objects' own errors pass unchanged.

#include "platform/automation/dispatch.h"

#include <string>
#include <string_view>

namespace tavrin {

void SetPropertyPath(platform::Dispatch& root, std::string_view path, const platform::Variant& value);
platform::Variant GetPropertyPath(platform::Dispatch& root, std::string_view path);

// A value as the command line prints it: numbers with "." and as many
// digits as read back the same, True or False, text as it is.
std::string PropertyText(const platform::Variant& value);

} // namespace tavrin
