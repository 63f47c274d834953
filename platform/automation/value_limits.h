#pragma once
// How large a single value may grow: a string's bytes and an array's
// elements. Past these a value is refused with "Out of memory" rather than
// taking the machine's memory; a host that runs untrusted scripts under a
// tighter budget (a fuzzer, say) lowers them for the process.

#include <cstddef>
#include <cstdint>

namespace platform {

struct ValueLimits {
    std::size_t maxStringBytes = std::size_t(256) << 20;
    std::uint64_t maxArrayElements = std::uint64_t(1) << 27;
};

// The limits in force (process-wide; set before scripts run).
ValueLimits& valueLimits() noexcept;

} // namespace platform
