#pragma once
// Text into lines: a line ends at CR, LF or CR LF; a final line end does
// not start another line.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::vector<std::string> splitLines(std::string_view text);
// The lines joined with CR LF after every line.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

} // namespace platform
