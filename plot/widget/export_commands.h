#pragma once
// The commands "Export ..." and "Print ..." of the control's context menu:
// a file dialog (the format by the filter or the typed extension), for a
// bitmap the dialog "Bitmap Parameters", asked before any file is touched,
// then the export with the wait cursor; a printer dialog for printing.
// The dialogs can be replaced (tests).

#include <QString>

#include <functional>
#include <string>

class QPrinter;
class QWidget;

namespace halvex {

class CGLCOleControl;

struct ExportChoices {
    // The file and the filter (0-based) picked; false: cancelled.
    std::function<bool(QWidget*, std::string& path, int& filter)> chooseFile;
    // The resolution and bits per pixel of a bitmap; false: cancelled.
    std::function<bool(QWidget*, int& dpi, int& bits)> chooseBitmap;
    // Sets the printer up; false: cancelled.
    std::function<bool(QWidget*, QPrinter&)> choosePrinter;
    // Tells the user why it failed.
    std::function<void(QWidget*, const QString&)> report;
};

// The standard dialogs and a warning box.
ExportChoices StandardExportChoices();

// Each returns true when the file was written or the page printed.
bool RunExportCommand(QWidget* parent, CGLCOleControl& control, const ExportChoices& choices);
bool RunPrintCommand(QWidget* parent, CGLCOleControl& control, const ExportChoices& choices);

} // namespace halvex
