#pragma once
// The viewer's file dialogs: SelectFile and SelectFileForSave.

#include <QString>
#include <QStringList>

class QWidget;

namespace tavrin {

// The dialog's filter list: "Файлы типа " + filter when a filter is given;
// otherwise "Файлы типа *.ext|*.ext" from the start name's extension; then
// "Все файлы|*.*". Given and returned in the "name|pattern|name|pattern"
// form; see ToQtFilters for the dialog's own form.
QString BuildFileFilter(const QString& filter, const QString& startName);
// "name|pattern|..." pairs as Qt name filters ("name (pattern)"); "*.*"
// becomes "*" so files without a dot are listed too.
QStringList ToQtFilters(const QString& delphiStyle);

// An open-file dialog whose file must exist. All four arguments are trimmed
// of spaces first. A non-empty start folder is the initial folder and the
// name box holds the start name's file part; otherwise the initial folder
// is the start name's folder part. Returns the path, or empty when the user
// cancels.
QString SelectFile(QWidget* parent, QString startDir, QString startName, QString filter, QString title);
// The same, as a save dialog that asks before overwriting.
QString SelectFileForSave(QWidget* parent, QString startDir, QString startName, QString filter, QString title);

} // namespace tavrin
