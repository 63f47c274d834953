#include "scripthost/excel_routines.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/dispatch_exception.h"
#include "script/binding/ole_helper.h"
#include "script/library/string_list.h"
#include "scripthost/text_routines.h"

#include <algorithm>
#include <vector>

namespace tavrin::excel {

using platform::Variant;

namespace {

bool empty(const Variant& v)
{
    return v.isEmptyOrNull();
}

// obj.member(args) as a script writes it.
Variant get(const Variant& obj, std::string_view member, std::vector<Variant> args = {})
{
    script::TfsOLEHelper helper(member);
    return helper.Invoke(obj, args, true);
}

void put(const Variant& obj, std::string_view member, const Variant& value, std::vector<Variant> args = {})
{
    script::TfsOLEHelper helper(member);
    helper.Put(obj, args, value);
}

Variant integer(std::int64_t v)
{
    return Variant::fromInt32(static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)));
}

// The active workbook's sheet numList, or Empty.
Variant sheetOf(const Variant& excel, std::int64_t numList)
{
    if (empty(excel) || numList < 1)
        return Variant();
    Variant book = get(excel, "ActiveWorkbook");
    if (empty(book))
        return Variant();
    Variant sheets = get(book, "WorkSheets");
    if (numList > get(sheets, "Count").toInt64())
        return Variant();
    return get(sheets, "Item", {integer(numList)});
}

std::string cellText(const Variant& sheet, std::int64_t row, std::int64_t col)
{
    Variant v = get(get(sheet, "Cells", {integer(row), integer(col)}), "Value");
    return routines::RTrim(empty(v) ? std::string() : v.toString());
}

} // namespace

Variant ConnectToExcel(bool visible, bool addWorkbook)
{
    Variant app;
    try {
        app = Variant(platform::ClassRegistry::instance().create("Excel.Application"));
    } catch (const platform::DispatchException& e) {
        constexpr std::int32_t kInvalidClassString = std::int32_t(0x800401F3u);
        script::RaiseAutomationError(platform::ClassRegistry::instance().isRegistered("Excel.Application")
                                         ? e.scode()
                                         : kInvalidClassString,
                                     "Excel.Application");
    }
    put(app, "Visible", Variant(visible));
    if (addWorkbook)
        get(get(app, "Workbooks"), "Add");
    return app;
}

Variant OpenFile(const std::string& fileName)
{
    Variant app = ConnectToExcel(true, false);
    if (!empty(app))
        get(get(app, "WorkBooks"), "Open", {Variant(fileName)});
    return app;
}

Variant GetList(const Variant& excel, std::int64_t numList)
{
    return sheetOf(excel, numList);
}

std::string GetNameList(const Variant& excel, std::int64_t numList)
{
    Variant sheet = sheetOf(excel, numList);
    return empty(sheet) ? std::string() : routines::AllTrim(get(sheet, "Name").toString());
}

bool GetCoordLastCell(const Variant& excel, std::int64_t numList, bool setCursor, std::int64_t& row,
                      std::int64_t& col)
{
    row = col = 0;
    Variant sheet = sheetOf(excel, numList);
    if (empty(sheet))
        return false;
    if (setCursor) {
        Variant last = get(get(sheet, "Cells"), "SpecialCells", {Variant(11)});
        if (!get(last, "Select").toBool())
            return false;
        Variant active = get(excel, "ActiveCell");
        row = get(active, "Row").toInt64();
        col = get(active, "Column").toInt64();
        return true;
    }
    Variant last = get(get(sheet, "Range", {Variant("A1")}), "SpecialCells", {Variant(11)});
    row = get(last, "Row").toInt64();
    col = get(last, "Column").toInt64();
    return true;
}

int GetRowToStrings(const Variant& excel, std::int64_t numList, std::int64_t numRow, std::int64_t col1,
                    std::int64_t col2, script::TfsStringList* list)
{
    if (!list)
        return 0;
    list->Clear();
    if (numList < 1 || numRow < 1 || col1 < 1 || col2 < col1)
        return list->Count();
    Variant sheet = sheetOf(excel, numList);
    if (empty(sheet))
        return list->Count();
    // The used range bounds the walk: a last column of MaxInt reads what
    // is there, not two thousand million empty cells.
    Variant last = get(get(sheet, "Range", {Variant("A1")}), "SpecialCells", {Variant(11)});
    col2 = std::min(col2, get(last, "Column").toInt64());
    for (std::int64_t c = col1; c <= col2; ++c)
        list->Add(cellText(sheet, numRow, c));
    return list->Count();
}

bool PutValueToCell(const Variant& sheet, std::int64_t row, std::int64_t col, std::int64_t bold, std::int64_t border,
                    const std::string& value)
{
    Variant cell = get(sheet, "Cells", {integer(row), integer(col)});
    put(cell, "Value", Variant(value));
    put(get(cell, "Font"), "Bold", Variant(bold != 0));
    if (border > 0)
        for (int i = 1; i <= 4; ++i) {
            Variant b = get(cell, "Borders", {Variant(i)});
            put(b, "LineStyle", Variant(1));
            put(b, "Weight", Variant(2));
        }
    return true;
}

std::string GetValueFromCell(const Variant& sheet, std::int64_t row, std::int64_t col)
{
    if (row < 1 || col < 1 || empty(sheet))
        return {};
    return cellText(sheet, row, col);
}

} // namespace tavrin::excel
