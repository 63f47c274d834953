#pragma once
// The saved record of a plot model: its version, then its format under the
// keys of its exchange. Records hold the format only, never the data.

#include "plot/model/model_format.h"

namespace platform {
class PropExchange;
}

namespace halvex {

// Saving writes the keys of 8.6 from format, with rect under the `Rect`
// keys (the caller passes the bar box for bar and patch plots). Loading
// reads them into format and rect as the stored version says, applies the
// conversions of older versions and leaves the `Rect` vector normalised;
// rect then goes to format.rect.
void ExchangeModelRecord(platform::PropExchange& px, ModelFormat& format, BoundingRecord& rect);

} // namespace halvex
