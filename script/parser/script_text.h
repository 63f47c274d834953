#pragma once
// Script text as the engine reads it: lines joined with CR LF. A script
// file may end its lines with CR LF, LF or CR; the engine counts lines by
// carriage returns and the Basic-like language takes CR as its line end,
// so every line end becomes CR LF, and the last line gets one too.

#include <cstddef>
#include <string>
#include <string_view>

namespace script {

// Scripts and units are regular files of at most this size.
constexpr std::size_t kMaxScriptFileBytes = std::size_t(64) << 20;

// Reads a script or unit file (UTF-8 path); false with a message when it is
// not a regular file, is too large or cannot be read.
bool ReadScriptFile(const std::string& path, std::string& bytes, std::string* error);

// Same as joining the lines split at CR, LF or CR LF with CR LF after each.
std::string NormalizeLineEnds(std::string_view text);

} // namespace script
