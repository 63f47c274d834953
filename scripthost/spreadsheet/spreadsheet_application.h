#pragma once
// The spreadsheet application that scripts drive under the programmatic
// identifier "Excel.Application": an in-process automation object with
// workbooks, worksheets and cell ranges, bound late by member name. It
// shows nothing (Visible is only stored); it reads and writes real files
// (scripthost/spreadsheet/workbook_files.h). Texts are code page 1251.
//
// Object model (members compared ignoring case):
//   Application: Visible, DisplayAlerts, Workbooks, ActiveWorkbook,
//     ActiveSheet, ActiveCell, Cells, Range, Worksheets, Sheets, Quit
//   Workbooks: Add, Open(name), Count, Item(n), Close
//   Workbook: Worksheets/Sheets [(n|name)], ActiveSheet, Save,
//     SaveAs(name), Close([save[, name]]), Activate, Name, FullName, Path
//   Worksheets: Count, Item(n|name), Add
//   Worksheet: Cells[(row, col)], Range("A1"|"A1:C3"), Name, Index,
//     Activate, Select, UsedRange
//   Range: Value, Value2, Text, Row, Column, Count, Font.Bold,
//     Borders[(1..4)].LineStyle/Weight, SpecialCells(11), Select, Activate,
//     Cells(row, col), Item, ClearContents, Clear
// Rows beyond 1..1048576 and columns beyond 1..16384 are automation errors.

#include <string>

namespace tavrin {

// Registers the class in the process's class registry (again: replaced).
void RegisterSpreadsheetApplication();
// Where relative workbook names lead (UTF-8, trailing '/'); empty: the
// working directory.
void SetSpreadsheetFolder(std::string folder);

} // namespace tavrin
