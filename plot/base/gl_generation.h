#pragma once
// Which GL context is current on this thread, told as a generation number
// that no later context reuses. Display lists, textures and glyph lists
// belong to one GL context: what is kept per context is kept per
// generation, and forgotten once that generation is no longer live. The
// control's context records (core) set these; the per-context lists
// (ContextLists) read them.

#include <cstdint>

namespace halvex::glgen {

// The generation current on this thread; 0 when none.
std::uint64_t Current() noexcept;
void SetCurrent(std::uint64_t generation) noexcept;

// A fresh generation, live until Retire.
std::uint64_t Begin() noexcept;
// The context of the generation is gone; 0 is ignored.
void Retire(std::uint64_t generation) noexcept;
bool Live(std::uint64_t generation) noexcept;

} // namespace halvex::glgen
