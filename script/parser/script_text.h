#pragma once
// Script text as the engine reads it: lines joined with CR LF. A script
// file may end its lines with CR LF, LF or CR; the engine counts lines by
// carriage returns and the Basic-like language takes CR as its line end,
// so every line end becomes CR LF, and the last line gets one too.

#include <string>
#include <string_view>

namespace script {

// Same as joining the lines split at CR, LF or CR LF with CR LF after each.
std::string NormalizeLineEnds(std::string_view text);

} // namespace script
