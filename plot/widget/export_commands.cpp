#include "plot/widget/export_commands.h"

#include "plot/core/gl_control_core.h"
#include "plot/export/export_formats.h"
#include "plot/widget/bitmap_dialog.h"
#include "plot/widget/control_export.h"
#include "plot/widget/print_plot.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

#include <cmath>

namespace halvex {

namespace {

QStringList filterTexts()
{
    int count = 0;
    const ExportFilter* filters = ExportFilters(count);
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QString::fromLatin1(filters[i].text);
    return list;
}

// The wait cursor while an export or a print runs.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

} // namespace

ExportChoices StandardExportChoices()
{
    ExportChoices c;
    c.chooseFile = [](QWidget* parent, std::string& path, int& filter) {
        const QStringList list = filterTexts();
        QString selected = list.value(filter, list.first());
        QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("Export"), QString(), list.join(";;"),
                                                    &selected);
        if (file.isEmpty())
            return false;
        path = file.toStdString();
        filter = std::max<int>(0, int(list.indexOf(selected)));
        return true;
    };
    c.chooseBitmap = [](QWidget* parent, int& dpi, int& bits) {
        BitmapParametersDialog dialog(parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        dpi = dialog.dpi();
        bits = dialog.bits();
        return true;
    };
    c.choosePrinter = [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    c.report = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, QStringLiteral("3-D Plot"), text);
    };
    return c;
}

bool RunExportCommand(QWidget* parent, CGLCOleControl& control, const ExportChoices& choices)
{
    std::string path;
    int filter = 0;
    if (!choices.chooseFile || !choices.chooseFile(parent, path, filter))
        return false;
    const ExportFormat format = ChosenFormat(path, filter);
    const ControlState& s = control.state();
    ExportOptions options;
    options.width = std::max(1, s.width);
    options.height = std::max(1, s.height);
    if (format == ExportFormat::Bmp) {
        int dpi = 300, bits = 24;
        if (!choices.chooseBitmap || !choices.chooseBitmap(parent, dpi, bits))
            return false;
        // The control's size at the chosen resolution.
        const double scale = dpi / 96.0;
        options.width = int(std::floor(options.width * scale + 0.5));
        options.height = int(std::floor(options.height * scale + 0.5));
        options.dpi = dpi;
        options.bits = bits;
    }
    std::string error;
    bool ok = false;
    {
        WaitCursor wait;
        ok = ExportControl(control, format, options, path, error);
    }
    if (!ok && choices.report)
        choices.report(parent, QString::fromStdString("Cannot export the plot to \"" + path + "\": " + error));
    return ok;
}

bool RunPrintCommand(QWidget* parent, CGLCOleControl& control, const ExportChoices& choices)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choices.choosePrinter || !choices.choosePrinter(parent, printer))
        return false;
    std::string error;
    bool ok = false;
    {
        WaitCursor wait;
        ok = PrintControl(control, printer, error);
    }
    if (!ok && choices.report)
        choices.report(parent, QString::fromStdString("Cannot print the plot: " + error));
    return ok;
}

} // namespace halvex
