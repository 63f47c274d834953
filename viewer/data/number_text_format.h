#pragma once
// The normal form of a default-value text as the main window shows it.

#include <string>
#include <string_view>

namespace tavrin {

// The number of the text (StrToNumberDef, default 0) written with at most
// five decimals, "." as the point, no superfluous zeros: "1,5" gives "1.5",
// "abc" "0", "100" "100", "0.25" "0.25", "-2" "-2", "0.000001" "0".
std::string FormatNumberText(std::string_view text);

} // namespace tavrin
