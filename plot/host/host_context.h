#pragma once
// The host's call context of an evaluation and its value constructors.
// The first field of the context is the host's allocator, which the
// control asks for the constructors; the control builds error values with
// them and holds a value with them while it builds from it. The
// constructors are valid only while the evaluation that received them
// runs.

#include "plot/host/host_values.h"

#include <cstdint>
#include <string_view>

namespace halvex::host {

class HostAllocator {
public:
    // `aString::mk`.
    virtual const HostValue* MakeText(std::string_view text) = 0;
    // `aError::mk`: the text value, the error position and two zeros.
    virtual const HostValue* MakeError(const HostValue* text, std::uint64_t position, std::int32_t a,
                                       std::int32_t b) = 0;
    // A temporary reference that keeps a value alive; every Hold is paired
    // with its Release.
    virtual void Hold(const HostValue* value) = 0;
    virtual void Release(const HostValue* value) = 0;
    // The interface's own reference count.
    virtual void AddRef() = 0;
    virtual void ReleaseInterface() = 0;

protected:
    ~HostAllocator() = default;
};

// What the context's first field points to: it answers the query for the
// allocator interface (with a reference the caller releases) or nullptr.
class AllocatorSource {
public:
    virtual HostAllocator* QueryAllocator() = 0;

protected:
    ~AllocatorSource() = default;
};

struct HostContext {
    AllocatorSource* allocator = nullptr;
};

// The host's mark of a place in an expression: a node of `steps` steps
// (two bits each, from the lowest), the first two given here; the steps
// after them go on from bit 2 × steps.
constexpr std::uint64_t ErrorNode(std::uint32_t first, std::uint32_t second, std::uint32_t steps) noexcept
{
    return steps == 0 ? 0 : steps == 1 ? (first & 3u) : std::uint64_t(first & 3u) | std::uint64_t(second & 3u) << 2;
}

} // namespace halvex::host
