#include "scripthost/spreadsheet/spreadsheet_application.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/dispatch_exception.h"
#include "platform/automation/member_table.h"
#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "platform/text/number_text.h"
#include "scripthost/spreadsheet/sheet_data.h"
#include "scripthost/spreadsheet/workbook_files.h"

#include <algorithm>

namespace tavrin {

using platform::DispId;
using platform::InvokeKind;
using platform::MemberTable;
using platform::Ref;
using platform::Variant;
using sheet::SheetData;
using sheet::WorkbookData;
using Args = std::span<Variant>;

namespace {

constexpr const char* kSource = "Excel.Application";
constexpr platform::Guid kClassId{0x879FF932, 0x0466, 0x4039, {0x96, 0x73, 0x31, 0x9A, 0x4E, 0x79, 0x71, 0xD7}};
// Past this many cells one assignment to a block is refused.
constexpr std::int64_t kMaxBlockCells = std::int64_t(1) << 20;

std::string& defaultFolder()
{
    static std::string folder;
    return folder;
}

[[noreturn]] void fail(const std::string& text)
{
    throw platform::DispatchException(platform::status::fromErrorNumber(1004), 1004, kSource,
                                      platform::utf8ToCp1251(text));
}

[[noreturn]] void badParams()
{
    throw platform::DispatchException::fromStatus(platform::status::BadParamCount, kSource);
}

std::int64_t intArg(const Variant& v)
{
    try {
        return v.toInt64();
    } catch (const std::exception&) {
        throw platform::DispatchException::fromStatus(platform::status::TypeMismatch, kSource);
    }
}

void checkCell(std::int64_t row, std::int64_t col)
{
    if (row < 1 || row > sheet::kMaxRows)
        fail("Row " + std::to_string(row) + " is outside 1..1048576");
    if (col < 1 || col > sheet::kMaxColumns)
        fail("Column " + std::to_string(col) + " is outside 1..16384");
}

// A value as a cell keeps it: a text that reads as a number is a number,
// as if it had been typed into the cell.
Variant cellValue(const Variant& v)
{
    if (v.isEmptyOrNull())
        return Variant();
    if (v.isBool() || v.type() == platform::varDate)
        return v;
    if (v.isNumeric())
        return Variant(v.toDouble());
    std::string t = v.toString();
    if (t.empty())
        return Variant();
    double d = 0;
    if (platform::parseDecimal(t, d))
        return Variant(d);
    return Variant(t);
}

std::string fileName(const Variant& v)
{
    std::string name = platform::cp1251ToUtf8(std::string(platform::trimSpaces(v.toString())));
    if (name.empty())
        fail("No file name given");
    if (name.front() != '/')
        name.insert(0, defaultFolder());
    return name;
}

// The common shape: a member table, property reads and writes told apart.
class Object : public platform::Dispatch {
public:
    explicit Object(const MemberTable& members, const char* name) : members_(members), name_(name) {}
    DispId idOfName(std::string_view name) const override { return members_.find(name); }
    std::string className() const override { return name_; }

protected:
    // The value of a put (its last argument); the other arguments index.
    static const Variant& putValue(Args args)
    {
        if (args.empty())
            badParams();
        return args.back();
    }
    [[noreturn]] void unknown(DispId id) const
    {
        (void)id;
        throw platform::DispatchException::fromStatus(platform::status::MemberNotFound, kSource);
    }

private:
    const MemberTable& members_;
    const char* name_;
};

class Application;

// ---- Range, Font, Borders ------------------------------------------------

struct Block {
    std::shared_ptr<SheetData> sheet;
    std::int64_t row1, col1, row2, col2;
    std::int64_t cells() const { return (row2 - row1 + 1) * (col2 - col1 + 1); }
    // fn(cell) for every cell, made where missing; refused on a huge block.
    template <class Fn>
    void each(Fn&& fn) const
    {
        if (cells() > kMaxBlockCells)
            fail("The range has too many cells for one assignment");
        for (std::int64_t r = row1; r <= row2; ++r)
            for (std::int64_t c = col1; c <= col2; ++c) {
                fn(sheet->at(static_cast<std::int32_t>(r), static_cast<std::int32_t>(c)));
                sheet->tidy(static_cast<std::int32_t>(r), static_cast<std::int32_t>(c));
            }
    }
    const sheet::Cell* first() const
    {
        return sheet->find(static_cast<std::int32_t>(row1), static_cast<std::int32_t>(col1));
    }
};

class Font final : public Object {
public:
    enum : DispId { idBold = 1 };
    explicit Font(Block b) : Object(table(), "Font"), block_(std::move(b)) {}
    Variant invoke(DispId id, InvokeKind kind, Args args) override
    {
        if (id != idBold)
            unknown(id);
        if (kind == InvokeKind::PropertyPut) {
            bool bold = putValue(args).toBool();
            block_.each([bold](sheet::Cell& c) { c.bold = bold; });
            return Variant();
        }
        const sheet::Cell* c = block_.first();
        return Variant(c && c->bold);
    }

private:
    static const MemberTable& table()
    {
        static const MemberTable t{{"Bold", idBold}};
        return t;
    }
    Block block_;
};

class Borders final : public Object {
public:
    enum : DispId { idLineStyle = 1, idWeight, idItem, idCount };
    // edge < 0: all four.
    Borders(Block b, int edge) : Object(table(), "Borders"), block_(std::move(b)), edge_(edge) {}
    Variant invoke(DispId id, InvokeKind kind, Args args) override
    {
        switch (id) {
        case idItem:
            if (args.empty())
                badParams();
            return Variant(Ref<platform::Dispatch>(new Borders(block_, edgeOf(intArg(args[0])))));
        case idCount: return Variant(4);
        case idLineStyle:
        case idWeight: {
            if (kind == InvokeKind::PropertyPut) {
                auto v = static_cast<std::int32_t>(intArg(putValue(args)));
                block_.each([&](sheet::Cell& c) {
                    for (int e = 0; e < sheet::kEdgeCount; ++e)
                        if (edge_ < 0 || e == edge_)
                            (id == idLineStyle ? c.borders[e].lineStyle : c.borders[e].weight) = v;
                });
                return Variant();
            }
            const sheet::Cell* c = block_.first();
            const sheet::Border b = c ? c->borders[edge_ < 0 ? 0 : edge_] : sheet::Border{};
            if (id == idLineStyle)
                return Variant(b.lineStyle == 0 ? -4142 : b.lineStyle);
            return Variant(b.weight);
        }
        default: unknown(id);
        }
    }
    // 1 left, 2 right, 3 top, 4 bottom; also the edge numbers 7..10.
    static int edgeOf(std::int64_t index)
    {
        switch (index) {
        case 1:
        case 7: return sheet::EdgeLeft;
        case 2:
        case 10: return sheet::EdgeRight;
        case 3:
        case 8: return sheet::EdgeTop;
        case 4:
        case 9: return sheet::EdgeBottom;
        default: fail("Borders(" + std::to_string(index) + "): no such edge");
        }
    }

private:
    static const MemberTable& table()
    {
        static const MemberTable t{{"LineStyle", idLineStyle}, {"Weight", idWeight}, {"Item", idItem}, {"Count", idCount}};
        return t;
    }
    Block block_;
    int edge_;
};

class Range final : public Object {
public:
    enum : DispId {
        idValue = 1, idValue2, idText, idRow, idColumn, idCount, idFont, idBorders, idSpecialCells, idSelect,
        idActivate, idCells, idItem, idClearContents, idClear, idAddress
    };
    Range(Ref<Application> app, Block b) : Object(table(), "Range"), app_(std::move(app)), block_(std::move(b)) {}
    Variant invoke(DispId id, InvokeKind kind, Args args) override;

private:
    static const MemberTable& table()
    {
        static const MemberTable t{{"Value", idValue},
                                   {"Value2", idValue2},
                                   {"Text", idText},
                                   {"Row", idRow},
                                   {"Column", idColumn},
                                   {"Count", idCount},
                                   {"Font", idFont},
                                   {"Borders", idBorders},
                                   {"SpecialCells", idSpecialCells},
                                   {"Select", idSelect},
                                   {"Activate", idActivate},
                                   {"Cells", idCells},
                                   {"Item", idItem},
                                   {"ClearContents", idClearContents},
                                   {"Clear", idClear},
                                   {"Address", idAddress}};
        return t;
    }
    Ref<Application> app_;
    Block block_;
};

// ---- Worksheet, Worksheets, Workbook, Workbooks, Application ---------------

class Worksheet final : public Object {
public:
    enum : DispId { idCells = 1, idRange, idName, idIndex, idActivate, idSelect, idUsedRange };
    Worksheet(Ref<Application> app, std::shared_ptr<WorkbookData> book, std::shared_ptr<SheetData> sheet)
        : Object(table(), "Worksheet"), app_(std::move(app)), book_(std::move(book)), sheet_(std::move(sheet))
    {}
    Variant invoke(DispId id, InvokeKind kind, Args args) override;

private:
    static const MemberTable& table()
    {
        static const MemberTable t{{"Cells", idCells},       {"Range", idRange},   {"Name", idName},
                                   {"Index", idIndex},       {"Activate", idActivate}, {"Select", idSelect},
                                   {"UsedRange", idUsedRange}};
        return t;
    }
    Ref<Application> app_;
    std::shared_ptr<WorkbookData> book_;
    std::shared_ptr<SheetData> sheet_;
};

class Worksheets final : public Object {
public:
    enum : DispId { idCount = 1, idItem, idAdd };
    Worksheets(Ref<Application> app, std::shared_ptr<WorkbookData> book)
        : Object(table(), "Worksheets"), app_(std::move(app)), book_(std::move(book))
    {}
    Variant invoke(DispId id, InvokeKind kind, Args args) override;
    // Sheet n (from 1) or the sheet of that name.
    static Variant item(const Ref<Application>& app, const std::shared_ptr<WorkbookData>& book, const Variant& which);

private:
    static const MemberTable& table()
    {
        static const MemberTable t{{"Count", idCount}, {"Item", idItem}, {"Add", idAdd}};
        return t;
    }
    Ref<Application> app_;
    std::shared_ptr<WorkbookData> book_;
};

class Workbook final : public Object {
public:
    enum : DispId {
        idWorksheets = 1, idSheets, idActiveSheet, idSave, idSaveAs, idClose, idActivate, idName, idFullName, idPath
    };
    Workbook(Ref<Application> app, std::shared_ptr<WorkbookData> book)
        : Object(table(), "Workbook"), app_(std::move(app)), book_(std::move(book))
    {}
    Variant invoke(DispId id, InvokeKind kind, Args args) override;

private:
    static const MemberTable& table()
    {
        static const MemberTable t{{"Worksheets", idWorksheets}, {"Sheets", idSheets},   {"ActiveSheet", idActiveSheet},
                                   {"Save", idSave},             {"SaveAs", idSaveAs},   {"Close", idClose},
                                   {"Activate", idActivate},     {"Name", idName},       {"FullName", idFullName},
                                   {"Path", idPath}};
        return t;
    }
    Ref<Application> app_;
    std::shared_ptr<WorkbookData> book_;
};

class Workbooks final : public Object {
public:
    enum : DispId { idAdd = 1, idOpen, idCount, idItem, idClose };
    explicit Workbooks(Ref<Application> app) : Object(table(), "Workbooks"), app_(std::move(app)) {}
    Variant invoke(DispId id, InvokeKind kind, Args args) override;

private:
    static const MemberTable& table()
    {
        static const MemberTable t{{"Add", idAdd}, {"Open", idOpen}, {"Count", idCount}, {"Item", idItem}, {"Close", idClose}};
        return t;
    }
    Ref<Application> app_;
};

class Application final : public Object {
public:
    enum : DispId {
        idVisible = 1, idDisplayAlerts, idWorkbooks, idActiveWorkbook, idActiveSheet, idActiveCell, idCells, idRange,
        idWorksheets, idSheets, idQuit
    };
    Application() : Object(table(), "Application") {}
    Variant invoke(DispId id, InvokeKind kind, Args args) override;

    std::vector<std::shared_ptr<WorkbookData>> books;
    std::shared_ptr<WorkbookData> active;
    // The active cell: its sheet, row and column.
    std::weak_ptr<SheetData> cellSheet;
    std::int64_t cellRow = 1, cellCol = 1;

    std::shared_ptr<WorkbookData> addBook()
    {
        auto book = std::make_shared<WorkbookData>();
        book->name = "Book" + std::to_string(++booksMade_);
        for (int i = 1; i <= 3; ++i)
            book->sheets.push_back(std::make_shared<SheetData>("Sheet" + std::to_string(i)));
        books.push_back(book);
        activate(book);
        return book;
    }
    void activate(const std::shared_ptr<WorkbookData>& book)
    {
        active = book;
        if (book && !book->sheets.empty()) {
            cellSheet = book->sheets[std::min(book->activeSheet, book->sheets.size() - 1)];
            cellRow = cellCol = 1;
        }
    }
    void close(const std::shared_ptr<WorkbookData>& book)
    {
        books.erase(std::remove(books.begin(), books.end(), book), books.end());
        if (active == book)
            activate(books.empty() ? nullptr : books.back());
    }
    std::shared_ptr<SheetData> activeSheet() const
    {
        if (!active || active->sheets.empty())
            return nullptr;
        return active->sheets[std::min(active->activeSheet, active->sheets.size() - 1)];
    }

private:
    static const MemberTable& table()
    {
        static const MemberTable t{{"Visible", idVisible},
                                   {"DisplayAlerts", idDisplayAlerts},
                                   {"Workbooks", idWorkbooks},
                                   {"ActiveWorkbook", idActiveWorkbook},
                                   {"ActiveSheet", idActiveSheet},
                                   {"ActiveCell", idActiveCell},
                                   {"Cells", idCells},
                                   {"Range", idRange},
                                   {"Worksheets", idWorksheets},
                                   {"Sheets", idSheets},
                                   {"Quit", idQuit}};
        return t;
    }
    bool visible_ = false;
    bool displayAlerts_ = true;
    int booksMade_ = 0;
};

template <class T, class... A>
Variant object(A&&... a)
{
    return Variant(Ref<platform::Dispatch>(new T(std::forward<A>(a)...)));
}

// Cells(row, col) relative to a block's corner, or the whole block.
Variant cellsOf(const Ref<Application>& app, const Block& b, Args args)
{
    if (args.empty())
        return object<Range>(app, b);
    if (args.size() < 2)
        badParams();
    std::int64_t r = intArg(args[0]), c = intArg(args[1]);
    std::int64_t row = r > 0 && r <= sheet::kMaxRows ? b.row1 + r - 1 : r;
    std::int64_t col = c > 0 && c <= sheet::kMaxColumns ? b.col1 + c - 1 : c;
    checkCell(row, col);
    return object<Range>(app, Block{b.sheet, row, col, row, col});
}

Block wholeSheet(const std::shared_ptr<SheetData>& s)
{
    return Block{s, 1, 1, sheet::kMaxRows, sheet::kMaxColumns};
}

Variant rangeOf(const Ref<Application>& app, const std::shared_ptr<SheetData>& s, Args args)
{
    if (args.empty())
        badParams();
    std::int64_t r1, c1, r2, c2;
    std::string ref = args[0].toString();
    if (!sheet::ParseA1(ref, r1, c1, r2, c2))
        fail("Range(\"" + platform::cp1251ToUtf8(ref) + "\"): not a cell reference");
    return object<Range>(app, Block{s, r1, c1, r2, c2});
}

// The last cell: the last row and the last column in use (A1 when none).
Block lastCell(const std::shared_ptr<SheetData>& s)
{
    std::int64_t r = std::max<std::int64_t>(1, s->lastRow()), c = std::max<std::int64_t>(1, s->lastColumn());
    return Block{s, r, c, r, c};
}

Variant Range::invoke(DispId id, InvokeKind kind, Args args)
{
    const bool put = kind == InvokeKind::PropertyPut;
    switch (id) {
    case idValue:
    case idValue2:
        if (put) {
            Variant v = cellValue(putValue(args));
            block_.each([&v](sheet::Cell& c) { c.value = v; });
            return Variant();
        } else {
            const sheet::Cell* c = block_.first();
            return c ? c->value : Variant();
        }
    case idText: {
        const sheet::Cell* c = block_.first();
        if (!c || c->value.isEmptyOrNull())
            return Variant(std::string());
        if (c->value.isNumeric() && c->value.type() != platform::varDate)
            return Variant(platform::formatShortest(c->value.toDouble()));
        return Variant(c->value.toString());
    }
    case idRow: return Variant::fromInt32(static_cast<std::int32_t>(block_.row1));
    case idColumn: return Variant::fromInt32(static_cast<std::int32_t>(block_.col1));
    case idCount: return Variant(static_cast<double>(block_.cells()));
    case idFont: return object<Font>(block_);
    case idBorders:
        if (args.empty())
            return object<Borders>(block_, -1);
        return object<Borders>(block_, Borders::edgeOf(intArg(args[0])));
    case idSpecialCells: {
        if (args.empty())
            badParams();
        std::int64_t type = intArg(args[0]);
        if (type != 11)
            fail("SpecialCells(" + std::to_string(type) + "): only the last cell (11) is known");
        return object<Range>(app_, lastCell(block_.sheet));
    }
    case idSelect:
    case idActivate:
        app_->cellSheet = block_.sheet;
        app_->cellRow = block_.row1;
        app_->cellCol = block_.col1;
        return Variant(true);
    case idCells:
    case idItem: return cellsOf(app_, block_, args);
    case idClearContents:
    case idClear: {
        const bool formats = id == idClear;
        // Only cells that exist need clearing: walk them, not the block.
        std::vector<std::pair<std::int32_t, std::int32_t>> hit;
        block_.sheet->forEach([&](std::int32_t r, std::int32_t c, const sheet::Cell&) {
            if (r >= block_.row1 && r <= block_.row2 && c >= block_.col1 && c <= block_.col2)
                hit.emplace_back(r, c);
        });
        for (auto [r, c] : hit) {
            sheet::Cell& cell = block_.sheet->at(r, c);
            cell.value = Variant();
            if (formats)
                cell = sheet::Cell{};
            block_.sheet->tidy(r, c);
        }
        return Variant(true);
    }
    case idAddress: {
        std::string a = "$" + sheet::ColumnLetters(block_.col1) + "$" + std::to_string(block_.row1);
        if (block_.cells() > 1)
            a += ":$" + sheet::ColumnLetters(block_.col2) + "$" + std::to_string(block_.row2);
        return Variant(a);
    }
    default: unknown(id);
    }
}

Variant Worksheet::invoke(DispId id, InvokeKind kind, Args args)
{
    switch (id) {
    case idCells: return cellsOf(app_, wholeSheet(sheet_), args);
    case idRange: return rangeOf(app_, sheet_, args);
    case idName:
        if (kind == InvokeKind::PropertyPut) {
            std::string name = putValue(args).toString();
            if (name.empty() || name.size() > 31 || name.find_first_of("[]:*?/\\") != std::string::npos)
                fail("Sheet name \"" + platform::cp1251ToUtf8(name) + "\" is not allowed");
            sheet_->setName(std::move(name));
            return Variant();
        }
        return Variant(sheet_->name());
    case idIndex: {
        auto it = std::find(book_->sheets.begin(), book_->sheets.end(), sheet_);
        return Variant(static_cast<int>(it - book_->sheets.begin()) + 1);
    }
    case idActivate:
    case idSelect: {
        auto it = std::find(book_->sheets.begin(), book_->sheets.end(), sheet_);
        if (it != book_->sheets.end())
            book_->activeSheet = static_cast<std::size_t>(it - book_->sheets.begin());
        app_->activate(book_);
        return Variant(true);
    }
    case idUsedRange: {
        Block b = lastCell(sheet_);
        b.row1 = b.col1 = 1;
        return object<Range>(app_, b);
    }
    default: unknown(id);
    }
}

Variant Worksheets::item(const Ref<Application>& app, const std::shared_ptr<WorkbookData>& book, const Variant& which)
{
    if (which.isString()) {
        for (const auto& s : book->sheets)
            if (platform::equalsIgnoreCaseCp1251(s->name(), which.toString()))
                return object<Worksheet>(app, book, s);
        fail("No sheet named \"" + platform::cp1251ToUtf8(which.toString()) + "\"");
    }
    std::int64_t n = intArg(which);
    if (n < 1 || n > static_cast<std::int64_t>(book->sheets.size()))
        fail("Sheet " + std::to_string(n) + " is outside 1.." + std::to_string(book->sheets.size()));
    return object<Worksheet>(app, book, book->sheets[static_cast<std::size_t>(n - 1)]);
}

Variant Worksheets::invoke(DispId id, InvokeKind, Args args)
{
    switch (id) {
    case idCount: return Variant(static_cast<int>(book_->sheets.size()));
    case idItem:
        if (args.empty())
            badParams();
        return item(app_, book_, args[0]);
    case idAdd: {
        if (book_->sheets.size() >= 255)
            fail("A workbook holds at most 255 sheets");
        std::string name;
        for (int i = static_cast<int>(book_->sheets.size()) + 1;; ++i) {
            name = "Sheet" + std::to_string(i);
            bool taken = std::any_of(book_->sheets.begin(), book_->sheets.end(),
                                     [&](const auto& s) { return platform::equalsIgnoreCaseCp1251(s->name(), name); });
            if (!taken)
                break;
        }
        book_->sheets.push_back(std::make_shared<SheetData>(name));
        book_->activeSheet = book_->sheets.size() - 1;
        return object<Worksheet>(app_, book_, book_->sheets.back());
    }
    default: unknown(id);
    }
}

Variant Workbook::invoke(DispId id, InvokeKind kind, Args args)
{
    switch (id) {
    case idWorksheets:
    case idSheets:
        if (args.empty())
            return object<Worksheets>(app_, book_);
        return Worksheets::item(app_, book_, args[0]);
    case idActiveSheet: {
        if (book_->sheets.empty())
            return Variant();
        return object<Worksheet>(app_, book_, book_->sheets[std::min(book_->activeSheet, book_->sheets.size() - 1)]);
    }
    case idSave:
        if (book_->path.empty())
            fail("The workbook \"" + platform::cp1251ToUtf8(book_->name) + "\" has no file yet: use SaveAs");
        try {
            sheet::SaveWorkbook(book_->path, *book_, sheet::KindOfFile(book_->path));
        } catch (const std::runtime_error& e) {
            fail(e.what());
        }
        return Variant(true);
    case idSaveAs: {
        if (args.empty())
            badParams();
        std::string path = fileName(args[0]);
        sheet::FileKind k = sheet::KindOfFile(path);
        if (k == sheet::FileKind::Unknown && platform::extractFileExt(path).empty()) {
            const std::int64_t format = args.size() > 1 && !args[1].isEmptyOrNull() ? intArg(args[1]) : 51;
            path += format == 6 ? ".csv" : ".xlsx";
            k = sheet::KindOfFile(path);
        }
        try {
            sheet::SaveWorkbook(path, *book_, k);
        } catch (const std::runtime_error& e) {
            fail(e.what());
        }
        book_->path = path;
        book_->name = platform::utf8ToCp1251(platform::extractFileName(path));
        return Variant(true);
    }
    case idClose: {
        if (!args.empty() && !args[0].isEmptyOrNull() && args[0].toBool()) {
            Variant save[1] = {args.size() > 1 ? args[1] : Variant()};
            if (args.size() > 1 && !args[1].isEmptyOrNull())
                invoke(idSaveAs, InvokeKind::Method, save);
            else
                invoke(idSave, InvokeKind::Method, {});
        }
        app_->close(book_);
        return Variant(true);
    }
    case idActivate: app_->activate(book_); return Variant(true);
    case idName: return Variant(book_->name);
    case idFullName:
        return Variant(book_->path.empty() ? book_->name : platform::utf8ToCp1251(book_->path));
    case idPath: {
        std::string folder = platform::extractFilePath(book_->path);
        if (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        return Variant(platform::utf8ToCp1251(folder));
    }
    default: (void)kind; unknown(id);
    }
}

Variant Workbooks::invoke(DispId id, InvokeKind, Args args)
{
    switch (id) {
    case idAdd: return object<Workbook>(app_, app_->addBook());
    case idOpen: {
        if (args.empty())
            badParams();
        std::string path = fileName(args[0]);
        auto book = std::make_shared<WorkbookData>();
        try {
            sheet::LoadWorkbook(path, *book);
        } catch (const std::runtime_error& e) {
            fail(e.what());
        }
        app_->books.push_back(book);
        app_->activate(book);
        return object<Workbook>(app_, book);
    }
    case idCount: return Variant(static_cast<int>(app_->books.size()));
    case idItem: {
        if (args.empty())
            badParams();
        std::int64_t n = intArg(args[0]);
        if (n < 1 || n > static_cast<std::int64_t>(app_->books.size()))
            fail("Workbook " + std::to_string(n) + " is not open");
        return object<Workbook>(app_, app_->books[static_cast<std::size_t>(n - 1)]);
    }
    case idClose:
        app_->books.clear();
        app_->activate(nullptr);
        return Variant(true);
    default: unknown(id);
    }
}

Variant Application::invoke(DispId id, InvokeKind kind, Args args)
{
    const bool put = kind == InvokeKind::PropertyPut;
    Ref<Application> self(this);
    auto sheetOrFail = [this] {
        std::shared_ptr<SheetData> s = activeSheet();
        if (!s)
            fail("No workbook is open");
        return s;
    };
    switch (id) {
    case idVisible:
        if (put) {
            visible_ = putValue(args).toBool();
            return Variant();
        }
        return Variant(visible_);
    case idDisplayAlerts:
        if (put) {
            displayAlerts_ = putValue(args).toBool();
            return Variant();
        }
        return Variant(displayAlerts_);
    case idWorkbooks:
        if (!args.empty()) {
            Variant n[1] = {args[0]};
            Ref<Workbooks> books(new Workbooks(self));
            return books->invoke(Workbooks::idItem, kind, n);
        }
        return object<Workbooks>(self);
    case idActiveWorkbook: return active ? object<Workbook>(self, active) : Variant();
    case idActiveSheet: {
        std::shared_ptr<SheetData> s = activeSheet();
        return s ? object<Worksheet>(self, active, s) : Variant();
    }
    case idActiveCell: {
        std::shared_ptr<SheetData> s = cellSheet.lock();
        if (!s || !active)
            return Variant();
        return object<Range>(self, Block{s, cellRow, cellCol, cellRow, cellCol});
    }
    case idCells: return cellsOf(self, wholeSheet(sheetOrFail()), args);
    case idRange: return rangeOf(self, sheetOrFail(), args);
    case idWorksheets:
    case idSheets:
        if (!active)
            fail("No workbook is open");
        return Ref<Workbook>(new Workbook(self, active))->invoke(Workbook::idWorksheets, kind, args);
    case idQuit:
        books.clear();
        activate(nullptr);
        return Variant();
    default: unknown(id);
    }
}

} // namespace

void RegisterSpreadsheetApplication()
{
    platform::ClassRegistry::instance().registerClass(kSource, kClassId, [] {
        return Ref<platform::Dispatch>(new Application());
    });
}

void SetSpreadsheetFolder(std::string folder)
{
    defaultFolder() = std::move(folder);
}

} // namespace tavrin
