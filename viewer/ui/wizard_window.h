#pragma once
// tavrin --wizard: the plot wizard on screen, then a plain window with the
// plot it set up, of the files or of the wizard's sample data.

#include "viewer/cli/command_line.h"

#include <string>

namespace tavrin {

// Runs until the window closes (or the wizard is cancelled, status 0);
// errors go to standard error with status 1.
int RunWizardWindow(int& argc, char** argv, const CommandLine& cl, const std::string& programFolder);

} // namespace tavrin
