#pragma once
// Saving and loading the control's state: the byte stream (the property
// exchange followed by the model box, the lights and the models) and the
// named property bag (the control's own values only).
//
// Loading reads the whole stream into a staging record first and applies
// it only when all of it was read, so a stream that fails half way leaves
// the control as it was.

#include <cstdint>
#include <span>
#include <vector>

namespace platform {
class PropertyBag;
}

namespace halvex {

class CGLCOleControl;

// Models and annotations a stream may hold at most.
constexpr std::int32_t kMaxSavedModels = 65536;
constexpr std::int32_t kMaxSavedAnnotations = 4096;

std::vector<std::uint8_t> SaveControlState(CGLCOleControl& control);
// Throws platform::ArchiveError for a short or damaged stream, or one of a
// later major version; the control is unchanged then.
void LoadControlState(CGLCOleControl& control, std::span<const std::uint8_t> stream);

void SaveControlProperties(CGLCOleControl& control, platform::PropertyBag& bag);
void LoadControlProperties(CGLCOleControl& control, const platform::PropertyBag& bag);

} // namespace halvex
