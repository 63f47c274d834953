#pragma once
// The Escape key's state right now, read from the window system while a
// long drawing holds the user-interface thread (no events are delivered
// then). False where the window system cannot be asked.

namespace halvex {

bool EscapeKeyDown();

} // namespace halvex
