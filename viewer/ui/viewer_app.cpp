#include "viewer/ui/viewer_app.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/dispatch_exception.h"
#include "platform/system/file_io.h"
#include "platform/system/single_instance.h"
#include "viewer/settings/program_folder.h"
#include "plot/core/plot_registration.h"
#include "plot/widget/plot_widget.h"
#include "viewer/binding/initial_state.h"
#include "viewer/ui/main_form.h"
#include "viewer/ui/qt_host_dialogs.h"
#include "viewer/ui/script_host_ui.h"
#include "scripthost/script_host.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>

namespace tavrin {

std::string AlreadyRunningText(const std::string& programFileName)
{
    return "Одна копия приложения : \"" + programFileName + "\" - уже работает";
}

int RunViewerWindow(int& argc, char** argv, const std::vector<std::string>& files)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrin"));
    // Scripts ask their questions in windows from now on.
    QtScriptUi scriptUi;

    std::string exe = ExecutablePath();
    std::string programName = platform::extractFileName(exe);
    platform::SingleInstanceLock lock;
    switch (lock.acquire(programName)) {
    case platform::SingleInstanceLock::Result::Acquired:
        break;
    case platform::SingleInstanceLock::Result::AlreadyRunning:
        QMessageBox::warning(nullptr, QStringLiteral("Tavrin"), QString::fromStdString(AlreadyRunningText(programName)));
        return 1;
    case platform::SingleInstanceLock::Result::Failed:
        QMessageBox::critical(nullptr, QStringLiteral("Tavrin"), QStringLiteral("Ошибка выделения памяти"));
        return 1;
    }

    ViewerContext context;
    context.programFolder = ResolveProgramFolder();
    context.exePath = exe;
    // The plot control, created as any container creates it.
    halvex::registerPlotControl();
    try {
        platform::Ref<platform::Dispatch> control = platform::ClassRegistry::instance().create("Corvane.Plot3D.1");
        ApplyInitialPlotState(*control);
        context.plot = PlotBinding(control);
        // Its window; the main window takes it over as OpenGL1.
        context.plotWidget = new halvex::PlotWidget(control);
    } catch (const std::exception& e) {
        QMessageBox::warning(nullptr, QStringLiteral("Tavrin"), QString::fromUtf8(e.what()));
    }
    // The script host: fill scripts of fill mode 4 run there. A script that
    // does not compile is told on the status strip.
    QtHostDialogs hostDialogs;
    ScriptHost scriptHost(context.programFolder, hostDialogs);
    TForm1* formForWarnings = nullptr;
    context.fillScript = MakeFillScriptRunner(scriptHost, [&formForWarnings](const std::string& text) {
        if (formForWarnings)
            formForWarnings->ShowWarning(QString::fromStdString(text));
    });
    TForm1 form(std::move(context));
    formForWarnings = &form;
    hostDialogs.setParent(&form);

    // Relative names on the command line are taken from where the viewer
    // was started, not from the program folder.
    std::vector<std::string> absolute;
    for (const std::string& f : files)
        absolute.push_back(QFileInfo(QDir::current(), QString::fromStdString(f)).absoluteFilePath().toStdString());
    form.OpenFilesAfterStart(absolute);

    QRect screen = form.screen() ? form.screen()->availableGeometry() : QRect();
    if (screen.isValid())
        form.move(screen.center() - form.rect().center());
    form.show();
    return app.exec();
}

} // namespace tavrin
