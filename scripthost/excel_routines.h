#pragma once
// The spreadsheet routines of the script library: late-bound calls on the
// "Excel.Application" automation object, by member name, as any script
// would make them. An "empty" object is the Empty value.

#include "platform/automation/variant.h"

#include <cstdint>
#include <string>

namespace script {
class TfsStringList;
}

namespace tavrin::excel {

platform::Variant ConnectToExcel(bool visible, bool addWorkbook);
platform::Variant OpenFile(const std::string& fileName);
platform::Variant GetList(const platform::Variant& excel, std::int64_t numList);
std::string GetNameList(const platform::Variant& excel, std::int64_t numList);
bool GetCoordLastCell(const platform::Variant& excel, std::int64_t numList, bool setCursor, std::int64_t& row,
                      std::int64_t& col);
int GetRowToStrings(const platform::Variant& excel, std::int64_t numList, std::int64_t numRow, std::int64_t col1,
                    std::int64_t col2, script::TfsStringList* list);
bool PutValueToCell(const platform::Variant& sheet, std::int64_t row, std::int64_t col, std::int64_t bold,
                    std::int64_t border, const std::string& value);
std::string GetValueFromCell(const platform::Variant& sheet, std::int64_t row, std::int64_t col);

} // namespace tavrin::excel
