#pragma once
// Reads an .xlsx (or .xlsm) workbook: the archive through liborcus's zip
// reader and each part through its XML parser. The values of cells (shared
// and inline strings, numbers, Booleans, the last values of formulas) and
// whether their font is bold; sheet names in order. Part names may be
// relative or absolute, as different writers make them.

#include "scripthost/spreadsheet/sheet_data.h"

#include <string>

namespace tavrin::sheet {

// Fills book's sheets; throws std::exception on a damaged file.
void ReadXlsx(const std::string& path, WorkbookData& book);

} // namespace tavrin::sheet
