#pragma once
// Workbooks on disk: ".xlsx" written with libxlsxwriter and read with
// liborcus, which also reads ".ods" (and ".xlsm"); ".csv" both ways
// (UTF-8, comma separated; a file whose first line has more ";" than ","
// is read with ";"). A save goes to a temporary file beside the target
// and is renamed into place. Failures throw std::runtime_error with a text
// for the user (UTF-8).

#include "scripthost/spreadsheet/sheet_data.h"

#include <string>

namespace tavrin::sheet {

enum class FileKind { Xlsx, Ods, Csv, Unknown };
FileKind KindOfFile(const std::string& path);

// Replaces book's sheets with the file's; the file's name becomes the
// book's path and name.
void LoadWorkbook(const std::string& path, WorkbookData& book);
// Writes the book (all sheets for .xlsx, the first for .csv).
void SaveWorkbook(const std::string& path, const WorkbookData& book, FileKind kind);

} // namespace tavrin::sheet
