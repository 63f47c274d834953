#include "viewer/cli/command_line.h"
#include "viewer/cli/contour_command.h"
#include "viewer/cli/export_command.h"
#include "viewer/cli/grid_command.h"
#include "viewer/cli/headless_commands.h"
#include "viewer/cli/polyhedron_command.h"
#include "viewer/cli/script_commands.h"
#include "viewer/settings/program_folder.h"
#include "viewer/ui/viewer_app.h"
#include "viewer/ui/wizard_window.h"

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    std::vector<std::string> args(argv + 1, argv + argc);
    if (tavrin::IsScriptCommand(args))
        return tavrin::RunScriptCommand(args, stdout, stderr);
    tavrin::CommandLine cl;
    std::string error;
    if (!tavrin::ParseCommandLine(args, cl, error)) {
        std::fprintf(stderr, "tavrin: %s\n%s", error.c_str(), tavrin::UsageText());
        return 1;
    }
    switch (cl.mode) {
    case tavrin::CommandLine::Mode::Help:
        std::fputs(tavrin::UsageText(), stdout);
        return 0;
    case tavrin::CommandLine::Mode::Version:
        std::puts("tavrin 1.03");
        return 0;
    case tavrin::CommandLine::Mode::Matrix:
    case tavrin::CommandLine::Mode::Sum:
        return tavrin::RunMatrixCommand(cl, tavrin::ResolveProgramFolder(), stdout, stderr);
    case tavrin::CommandLine::Mode::Contours:
        return tavrin::RunContourCommand(cl, tavrin::ResolveProgramFolder(), stdout, stderr);
    case tavrin::CommandLine::Mode::Export:
        return tavrin::RunExportCommand(cl, tavrin::ResolveProgramFolder(), stderr);
    case tavrin::CommandLine::Mode::PolyhedronInfo:
        return tavrin::RunPolyhedronInfo(*cl.polyhedron, stdout, stderr);
    case tavrin::CommandLine::Mode::State:
        return tavrin::RunStateCommand(cl, stderr);
    case tavrin::CommandLine::Mode::Wizard:
        return tavrin::RunWizardWindow(argc, argv, cl, tavrin::ResolveProgramFolder());
    case tavrin::CommandLine::Mode::Grid:
        return tavrin::RunGridCommand(cl, tavrin::ResolveProgramFolder(), stdout, stderr);
    case tavrin::CommandLine::Mode::Window:
        break;
    }
    return tavrin::RunViewerWindow(argc, argv, cl.files);
}
