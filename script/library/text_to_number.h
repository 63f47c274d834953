#pragma once
// The readers behind StrToInt and StrToFloat, shared with ValidInt and
// ValidFloat. Blanks around the number are ignored; an integer may be
// written in hex ("$FF", "0xFF"); a float takes "." or "," as its point.

#include <cstdint>
#include <string_view>

namespace script::library {

bool ReadInt(std::string_view text, std::int32_t& out);
bool ReadFloat(std::string_view text, double& out);

} // namespace script::library
