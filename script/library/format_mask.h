#pragma once
// FormatMaskText: a value laid out through an edit mask "mask;save;blank".
// Mask characters: L l A a C c 0 9 # take the value's next character (the
// kinds are not checked here); > and < upper- and lower-case what follows,
// <> stops that; \ makes the next character literal; "/" is the date
// separator (".") and ":" the time separator; "!" is ignored; anything
// else is literal. With save (the second field, "1" when absent) the value
// holds the literals too and they are skipped where they match. Positions
// left over show the blank character (third field, "_" when absent).

#include <string>
#include <string_view>

namespace script::library {

std::string FormatMaskTextValue(std::string_view editMask, std::string_view value);

} // namespace script::library
