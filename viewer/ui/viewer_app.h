#pragma once
// The viewer program with its window: one instance per program file, then
// the main window and the user-interface loop.

#include <string>
#include <vector>

namespace tavrin {

// Runs the window until it closes; the files are opened in it. Returns the
// exit status.
int RunViewerWindow(int& argc, char** argv, const std::vector<std::string>& files);

// The single-instance message for a program file name.
std::string AlreadyRunningText(const std::string& programFileName);

} // namespace tavrin
