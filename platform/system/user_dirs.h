#pragma once
// Per-user folders of the desktop: configuration and runtime.

#include <string>

namespace platform {

// $XDG_CONFIG_HOME, else ~/.config; with a trailing '/'.
std::string configHome();
// $XDG_RUNTIME_DIR when it is an existing folder, else the temporary folder;
// with a trailing '/'.
std::string runtimeDir();
// Creates a folder and its parents (mode 0700 for new ones); true when it
// exists afterwards.
bool makeDirectories(const std::string& path);

} // namespace platform
