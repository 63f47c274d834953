#include "viewer/cli/command_line.h"
#include "viewer/cli/contour_command.h"
#include "viewer/cli/export_command.h"
#include "viewer/cli/grid_command.h"
#include "viewer/cli/headless_commands.h"
#include "viewer/cli/host_script_command.h"
#include "viewer/cli/polyhedron_command.h"
#include "viewer/cli/script_commands.h"
#include "scripthost/headless_dialogs.h"
#include "scripthost/script_host.h"
#include "viewer/settings/program_folder.h"
#include "viewer/ui/viewer_app.h"
#include "viewer/ui/wizard_window.h"

#include <clocale>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    std::vector<std::string> args(argv + 1, argv + argc);
    if (tavrin::IsHostScriptCommand(args))
        return tavrin::RunHostScriptCommand(args, tavrin::ResolveProgramFolder(), stdout, stderr);
    if (tavrin::IsScriptCommand(args))
        return tavrin::RunScriptCommand(args, stdout, stderr);
    tavrin::CommandLine cl;
    std::string error;
    if (!tavrin::ParseCommandLine(args, cl, error)) {
        std::fprintf(stderr, "tavrin: %s\n%s", error.c_str(), tavrin::UsageText());
        return 1;
    }
    // Fill scripts of fill mode 4 run in a script host whose dialogs answer
    // on the terminal; a script that does not compile is a warning.
    auto fillScripts = [](const std::string& folder, tavrin::HeadlessDialogs& dialogs,
                          std::unique_ptr<tavrin::ScriptHost>& host) {
        host = std::make_unique<tavrin::ScriptHost>(folder, dialogs);
        return tavrin::MakeFillScriptRunner(*host, [](const std::string& text) {
            std::fprintf(stderr, "tavrin: warning: %s\n", text.c_str());
        });
    };
    tavrin::HeadlessDialogs dialogs;
    std::unique_ptr<tavrin::ScriptHost> host;
    switch (cl.mode) {
    case tavrin::CommandLine::Mode::Help:
        std::fputs(tavrin::UsageText(), stdout);
        return 0;
    case tavrin::CommandLine::Mode::Version:
        std::puts("tavrin 1.03");
        return 0;
    case tavrin::CommandLine::Mode::Matrix:
    case tavrin::CommandLine::Mode::Sum: {
        std::string folder = tavrin::ResolveProgramFolder();
        return tavrin::RunMatrixCommand(cl, folder, stdout, stderr, fillScripts(folder, dialogs, host));
    }
    case tavrin::CommandLine::Mode::Contours:
        return tavrin::RunContourCommand(cl, tavrin::ResolveProgramFolder(), stdout, stderr);
    case tavrin::CommandLine::Mode::Export: {
        std::string folder = tavrin::ResolveProgramFolder();
        return tavrin::RunExportCommand(cl, folder, stderr, stdout, fillScripts(folder, dialogs, host));
    }
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
