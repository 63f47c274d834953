#pragma once
// Replays recorded drawing calls into the current GL context. Arrays are
// the replay's own: their elements go to GL as immediate normals, colours
// and vertices, so GL is never handed an address, and edge flags and
// recorded display lists behave as with single vertices. The replay
// checks what GL cannot: an array element or range outside the arrays set,
// primitives, saved state and matrices that do not pair up. Such a call
// raises 32814 "Illegal graphics primitive specified" before anything of
// it is drawn; whatever the replay began (an open primitive, pushed state
// and matrices) is ended and popped on every path.

#include "plot/model/quick_plot_calls.h"

namespace halvex {

struct ReplayOptions {
    // Recorded colours are passed over: the colour set before the replay
    // holds (lines and dots in the model's own colour).
    bool ignoreColors = false;
};

void ReplayCalls(const RecordedCalls& calls, const ReplayOptions& options = {});

// The checks of one call's arguments that need no drawing state: integer
// arguments are whole numbers in their range. False for a call the
// replay would refuse.
bool CallArgumentsValid(const RecordedCalls::Call& call) noexcept;

} // namespace halvex
