#include "viewer/ui/wizard_window.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/dispatch_exception.h"
#include "platform/system/file_io.h"
#include "plot/core/plot_registration.h"
#include "plot/dialog/wizard_choices.h"
#include "plot/dialog/wizard_object.h"
#include "plot/widget/plot_widget.h"
#include "viewer/binding/initial_state.h"
#include "viewer/cli/file_plots.h"
#include "viewer/cli/headless_commands.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>

#include <cstdio>

namespace tavrin {

namespace {

std::string errorText()
{
    try {
        throw;
    } catch (const platform::DispatchException& e) {
        return e.description().empty() ? e.what() : e.description();
    } catch (const std::exception& e) {
        return e.what();
    }
}

void fail(const std::string& text)
{
    std::fprintf(stderr, "tavrin: %s\n", text.c_str());
}

} // namespace

int RunWizardWindow(int& argc, char** argv, const CommandLine& cl, const std::string& programFolder)
{
    for (const std::string& f : cl.files)
        if (!platform::fileExists(f)) {
            fail("cannot open file \"" + f + "\"");
            return 1;
        }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    halvex::registerPlotControl();
    halvex::registerPlotWizard();

    platform::Ref<platform::Dispatch> control;
    try {
        auto& registry = platform::ClassRegistry::instance();
        platform::Ref<platform::Dispatch> wizard = registry.create(halvex::kWizardProgId);
        if (!wizard->call(wizard->idOfName("Run")).toBool())
            return 0;
        // The wizard is handed the plot it set up, as a container does.
        control = registry.create("Corvane.Plot3D.1");
        ApplyInitialPlotState(*control);
        int type = wizard->get("PlotType").toInt32();
        if (cl.files.empty())
            halvex::LoadWizardSampleData(*control, type);
        else
            AddFilePlots(*control, cl.files, CommandMatrixSettings(cl, programFolder), false,
                         type == halvex::kWizardVectorField, stderr);
        platform::Variant plot(control);
        wizard->invoke("Apply", platform::InvokeKind::Method, std::span<platform::Variant>(&plot, 1));
    } catch (const std::exception&) {
        std::string text = errorText();
        fail(text);
        QMessageBox::warning(nullptr, QStringLiteral("Tavrin"), QString::fromStdString(text));
        return 1;
    }

    QMainWindow window;
    QString title = QStringLiteral("Tavrin");
    if (!cl.files.empty())
        title += QStringLiteral(" - ") + QString::fromStdString(platform::extractFileName(cl.files.front()));
    window.setWindowTitle(title);
    window.setCentralWidget(new halvex::PlotWidget(control));
    window.resize(720, 560);
    if (QScreen* s = window.screen())
        window.move(s->availableGeometry().center() - window.rect().center());
    window.show();
    return app.exec();
}

} // namespace tavrin
