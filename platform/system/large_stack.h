#pragma once
// Work whose depth follows its input (the analysis of a deeply nested
// script, the trees built from it, the interpreter walking them) runs on a
// stack of its own, on the calling thread: reserved large, committed only
// as far as it is used, and gone afterwards. Code that recurses asks how
// much stack is left instead of counting levels, so the same check holds in
// any build, sanitizers included.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace platform {

struct StackBounds {
    std::uintptr_t low = 0;  // lowest usable address (the stack grows down to it)
    std::uintptr_t high = 0; // where it starts
    std::size_t size() const noexcept { return high - low; }
};

// Size reserved for a large stack. Under the address sanitizer 64 MiB: it
// cleans up after an exception only within 64 MiB of the stack's top, and
// would report false errors below that.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kLargeStackSize = std::size_t(64) << 20;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::size_t kLargeStackSize = std::size_t(64) << 20;
#else
constexpr std::size_t kLargeStackSize = std::size_t(1) << 30;
#endif
#else
constexpr std::size_t kLargeStackSize = std::size_t(1) << 30;
#endif

// For work that throws no exception from its depth (it unwinds by return
// values): as large in every build.
constexpr std::size_t kDeepStackSize = std::size_t(1) << 30;

// Runs fn on a stack of `size` bytes unless the caller's stack has that
// much left; an exception fn throws reaches the caller. When no stack can
// be reserved, fn runs on the caller's.
void RunOnLargeStack(const std::function<void()>& fn, std::size_t size = kLargeStackSize);

// The stack the caller runs on: the large stack while one is in use, else
// the thread's own.
StackBounds CurrentStackBounds() noexcept;

// The address below which the caller should refuse to go deeper, leaving
// `reserve` bytes (or an eighth of the stack, whichever is more) for the
// work that follows.
std::uintptr_t StackFloor(std::size_t reserve) noexcept;

// About the caller's current stack address, for comparing with a floor
// (the frame of this small function, just below the caller's).
std::uintptr_t StackPosition() noexcept;

} // namespace platform
