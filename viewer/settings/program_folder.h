#pragma once
// The program folder: where "Tavrin.ini", the list files and relative list
// entries live. It is the executable's folder; when that is not writable
// (an installed build) it is $XDG_CONFIG_HOME/Tavrin/ instead, so settings
// are never silently lost. $TAVRIN_HOME overrides both.

#include <string>

namespace tavrin {

// Full path of the running executable.
std::string ExecutablePath();

// The program folder with a trailing '/', created when missing.
std::string ResolveProgramFolder();

inline constexpr const char* kSettingsFileName = "Tavrin.ini";
inline constexpr const char* kListFileName = "~ListFiles.txt";
inline constexpr const char* kCheckedListFileName = "~ListFilesChecked.txt";

} // namespace tavrin
