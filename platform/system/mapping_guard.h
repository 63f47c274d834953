#pragma once
// Keeps a file mapping from killing the process when the file is cut short
// under it. Touching a mapped page past the file's new end raises SIGBUS;
// for a guarded range the handler puts zero-filled memory in place of the
// missing pages, marks the range damaged, and lets the read go on. Faults
// anywhere else go to the handler that was installed before.

#include <cstddef>

namespace platform {

// Guards [begin, begin + length). Returns a slot for the calls below, or -1
// when no slot is free or no handler could be installed (the caller then
// reads the file instead of mapping it).
int guardMapping(const void* begin, std::size_t length) noexcept;

// Stops guarding; call before the range is unmapped.
void unguardMapping(int slot) noexcept;

// True once a missing page of the range was replaced by zeros.
bool mappingDamaged(int slot) noexcept;

} // namespace platform
