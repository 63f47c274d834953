#include "viewer/cli/export_command.h"

#include "platform/archive/byte_archive.h"
#include "platform/archive/persist.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/dispatch_exception.h"
#include "platform/system/file_io.h"
#include "platform/text/number_text.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_registration.h"
#include "platform/system/output_file.h"
#include "plot/dialog/wizard_choices.h"
#include "plot/export/export_formats.h"
#include "plot/widget/control_export.h"
#include "script/library/standard_library.h"
#include "script/program/script.h"
#include "viewer/binding/initial_state.h"
#include "viewer/binding/plot_binding.h"
#include "viewer/cli/file_plots.h"
#include "viewer/cli/headless_commands.h"
#include "viewer/cli/polyhedron_command.h"
#include "viewer/cli/property_path.h"
#include "viewer/cli/script_commands.h"
#include "viewer/cli/scatter_export.h"

#include <QGuiApplication>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <stdexcept>

namespace tavrin {

platform::Variant PropertyValueFromText(const std::string& text)
{
    std::int32_t i = 0;
    if (platform::parseInt32(text, i))
        return platform::Variant(int(i));
    double d = 0;
    if (platform::parseDecimal(text, d))
        return platform::Variant(d);
    return platform::Variant(text);
}

namespace {

void message(std::FILE* err, const std::string& text)
{
    std::string line = "tavrin: " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), err);
}

// The offscreen platform's notices (no runtime folder and the like) are
// not the user's business; errors still go to standard error.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "tavrin: %s\n", text.toLocal8Bit().constData());
}

// The message of the error being handled: the control's own text when it
// gives one.
std::string handledErrorText()
{
    try {
        throw;
    } catch (const platform::DispatchException& e) {
        return e.description().empty() ? e.what() : e.description();
    } catch (const std::bad_alloc&) {
        return "not enough memory";
    } catch (const std::exception& e) {
        return e.what();
    }
}

// Sets a property named on the command line; an error says which option
// it came from ("--set Zoom=1: Unknown name.").
void setProperty(platform::Dispatch& object, const char* option, const std::string& name, const std::string& value)
{
    try {
        SetPropertyPath(object, name, PropertyValueFromText(value));
    } catch (const std::exception&) {
        throw std::runtime_error(std::string(option) + " " + name + "=" + value + ": " + handledErrorText());
    }
}

platform::PersistStream& persistence(platform::Dispatch& control)
{
    auto* p = dynamic_cast<platform::PersistStream*>(&control);
    if (!p)
        throw std::runtime_error("the plot control keeps no state");
    return *p;
}

// The control as the viewer starts it, then the loaded state, then the
// values set on the command line. Null after a message.
platform::Ref<platform::Dispatch> makeControl(const CommandLine& cl, std::FILE* err)
{
    halvex::registerPlotControl();
    platform::Ref<platform::Dispatch> control = platform::ClassRegistry::instance().create("Corvane.Plot3D.1");
    ApplyInitialPlotState(*control);
    if (!cl.loadState.empty()) {
        std::string bytes, why;
        if (!platform::readFile(cl.loadState, bytes, &why)) {
            message(err, why.empty() ? "cannot read \"" + cl.loadState + "\"" : why);
            return {};
        }
        try {
            persistence(*control).LoadState(
                {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
        } catch (const platform::ArchiveError& e) {
            message(err, "cannot load the state \"" + cl.loadState + "\": " + e.what());
            return {};
        }
    }
    for (const auto& [key, value] : cl.exportTo.sets)
        setProperty(*control, "--set", key, value);
    return control;
}

bool saveState(const CommandLine& cl, platform::Dispatch& control, std::FILE* err)
{
    if (cl.saveState.empty())
        return true;
    std::vector<std::uint8_t> state = persistence(control).SaveState();
    std::string why;
    if (!platform::writeFileAtomic(cl.saveState, {reinterpret_cast<const char*>(state.data()), state.size()}, &why)) {
        message(err, why.empty() ? "cannot write \"" + cl.saveState + "\"" : why);
        return false;
    }
    return true;
}

bool printValues(const CommandLine& cl, platform::Dispatch& control, std::FILE* out)
{
    for (const std::string& path : cl.exportTo.gets) {
        std::string text;
        try {
            text = PropertyText(GetPropertyPath(control, path));
        } catch (const std::exception&) {
            throw std::runtime_error("--get " + path + ": " + handledErrorText());
        }
        std::string line = path + "=" + text + "\n";
        std::fwrite(line.data(), 1, line.size(), out);
    }
    return true;
}

} // namespace

int RunStateCommand(const CommandLine& cl, std::FILE* err, std::FILE* out)
{
    try {
        platform::Ref<platform::Dispatch> control = makeControl(cl, err);
        if (!control || !saveState(cl, *control, err))
            return 1;
        printValues(cl, *control, out);
    } catch (const std::exception&) {
        message(err, handledErrorText());
        return 1;
    }
    return 0;
}

namespace {

// The files the command reads: an output that is one of them would destroy
// what it is made from.
bool outputsAreNotInputs(const CommandLine& cl, std::FILE* err)
{
    std::vector<std::string> inputs = cl.files;
    if (!cl.loadState.empty())
        inputs.push_back(cl.loadState);
    for (const std::string* output : {&cl.exportTo.output, &cl.saveState}) {
        if (output->empty())
            continue;
        for (const std::string& in : inputs)
            if (platform::SameFile(*output, in)) {
                message(err, "\"" + *output + "\" is the input file \"" + in +
                                 "\"; it is not written over: choose another output");
                return false;
            }
    }
    return true;
}

int exportFile(const CommandLine& cl, const std::string& programFolder, std::FILE* err, std::FILE* out,
               const FillScriptRunner& runFillScript);

} // namespace

int RunExportCommand(const CommandLine& cl, const std::string& programFolder, std::FILE* err, std::FILE* out,
                     const FillScriptRunner& runFillScript)
{
    // However large the picture, memory that cannot be had ends the command
    // with a message, never with an abort.
    try {
        return exportFile(cl, programFolder, err, out, runFillScript);
    } catch (const std::bad_alloc&) {
        message(err, "not enough memory to export \"" + cl.exportTo.output + "\"");
        return 1;
    }
}

namespace {

int exportFile(const CommandLine& cl, const std::string& programFolder, std::FILE* err, std::FILE* out,
               const FillScriptRunner& runFillScript)
{
    const CommandLine::Export& ex = cl.exportTo;
    const std::optional<halvex::ExportFormat> format = halvex::FormatOfPath(ex.output);
    if (!format) {
        message(err, "\"" + ex.output + "\": the kind of file is told by its extension, one of " +
                         halvex::KnownExtensions());
        return 1;
    }
    if (ex.bitsGiven && *format != halvex::ExportFormat::Bmp) {
        message(err, "option --bits: only .bmp pictures have a choice of bits per pixel");
        return 1;
    }
    for (const std::string& f : cl.files)
        if (!platform::fileExists(f)) {
            message(err, "cannot open file \"" + f + "\"");
            return 1;
        }
    if (!outputsAreNotInputs(cl, err))
        return 1;
    std::optional<halvex::WizardChoices> wizard;
    if (!ex.wizardChoices.empty()) {
        std::string why;
        wizard.emplace();
        if (!halvex::ParseWizardChoices(ex.wizardChoices, *wizard, why)) {
            message(err, "option --wizard-choices: " + why);
            return 1;
        }
    }

    // Fonts for the title need a GUI application; the offscreen platform
    // needs no display.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quietQtMessages);
    static int argc = 1;
    static char name[] = "tavrin";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    platform::Ref<platform::Dispatch> control;
    int added = 0;
    try {
        control = makeControl(cl, err);
        if (!control)
            return 1;
        MatrixSettings s = CommandMatrixSettings(cl, programFolder);
        if (cl.polyhedron) {
            PlotBinding(control).RemoveSurfaces();
            AddPolyhedronPlot(*control, *cl.polyhedron);
            added = 1;
        } else if (ex.scatter) {
            PlotBinding(control).RemoveSurfaces();
            added = AddScatterFiles(*control, cl.files, s, ex.grid, err);
            // Each file left out has said why; a picture without it would
            // pass for a drawing of it.
            if (added != int(cl.files.size()))
                return 1;
        } else {
            bool vectorField = wizard && wizard->plotType == halvex::kWizardVectorField;
            std::size_t leftOut = 0;
            added = AddFilePlots(*control, cl.files, s, ex.sum, vectorField, err, &leftOut, runFillScript);
            if (leftOut > 0)
                return 1;
        }
        if (wizard) {
            if (!halvex::ApplyWizardChoices(control.get(), *wizard))
                message(err, "warning: no plot to apply the wizard's choices to");
            // --set has the last word over the wizard's settings.
            for (const auto& [key, value] : ex.sets)
                setProperty(*control, "--set", key, value);
        }
        for (int n = 0; n < added; ++n) {
            std::vector<platform::Variant> args{platform::Variant(n)};
            platform::Variant model = control->invoke("Model", platform::InvokeKind::Method, args);
            for (const auto& [key, value] : ex.modelSets)
                setProperty(*model.dispatch(), "--model-set", key, value);
        }
        if (!ex.plotScript.empty()) {
            // The script sees the control as Plot, late bound by name, as any
            // container would drive it.
            script::TfsScript host(&script::InstallStandardLibrary());
            host.AddObject("Plot", control.get());
            script::TfsScript program(&host);
            if (int status = RunScriptFile(program, ex.plotScript, {}, err))
                return status;
        }
        // Saved as the options, files and plot script left it, before it is
        // drawn at the picture's size.
        if (!saveState(cl, *control, err))
            return 1;
    } catch (const std::exception&) {
        message(err, handledErrorText());
        return 1;
    }

    auto* plotControl = dynamic_cast<halvex::COpenGLCtrl*>(control.get());
    if (!plotControl) {
        message(err, "the plot control is not available");
        return 1;
    }
    // The picture is laid out as a control of its size × 96 / dpi.
    auto controlSide = [&](int pixels) { return std::max(1, int(std::lround(pixels * 96.0 / ex.dpi))); };
    plotControl->SetControlSize(controlSide(ex.width), controlSide(ex.height));
    halvex::ExportOptions options;
    options.width = ex.width;
    options.height = ex.height;
    options.dpi = ex.dpi;
    options.bits = ex.bits;
    options.colorBar = ex.colorBar;
    std::string error;
    bool written = halvex::ExportControl(*plotControl, *format, options, ex.output, error);
    for (const std::string& m : plotControl->drawMessages())
        message(err, "warning: " + m);
    if (!written) {
        message(err, error.empty() ? "cannot write \"" + ex.output + "\"" : error);
        return 1;
    }
    // What the drawing computed (axis ranges and the like) can be read now.
    try {
        printValues(cl, *control, out);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        message(err, handledErrorText());
        return 1;
    }
    return 0;
}

} // namespace

} // namespace tavrin
