#pragma once
// The control's picture as Encapsulated PostScript: its normal drawing run
// once more with the renderer in feedback mode, so that every point, line
// and polygon comes back projected to window coordinates in its final
// colour, and written by the PostScript writer.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace halvex {

class CGLCOleControl;

// The feedback buffer grows to at most this many values (1 GiB).
constexpr std::size_t kMaxFeedbackValues = std::size_t(1) << 28;

// Runs draw (which draws into the current GL context) in feedback mode with
// the 3-D-plus-colour vertex type and a buffer of (7 × vertices +
// primitives) × 4 values, growing it by half again plus one while the
// renderer reports an overflow, up to limit values. The values written end
// up in out. False with a message when the buffer cannot be had or would
// pass the limit, or draw fails.
bool CaptureFeedback(const std::function<bool()>& draw, std::int64_t vertices, std::int64_t primitives,
                     std::vector<float>& out, std::string& error, std::size_t limit = kMaxFeedbackValues);

struct EpsRequest {
    int width = 0; // the picture in pixels, which become points
    int height = 0;
    double dpi = 96.0; // the resolution the picture is laid out for
    bool sort = true;  // farthest primitives first
    std::string creator = "Corvane, Inc.";
    // PostScript drawn over the picture (title, border, annotations).
    std::string overlay;
};

// Writes the file (to a temporary file beside it, renamed into place at the
// end). False with a message.
bool ExportEps(CGLCOleControl& control, const EpsRequest& request, const std::string& path, std::string& error);

} // namespace halvex
