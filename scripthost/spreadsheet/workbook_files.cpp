#include "scripthost/spreadsheet/workbook_files.h"

#include "platform/system/file_io.h"
#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"
#include "platform/text/date_serial.h"
#include "platform/text/number_text.h"
#include "scripthost/spreadsheet/xlsx_reader.h"

#include <orcus/orcus_ods.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <locale.h>
#include <map>
#include <stdexcept>
#include <tuple>
#include <unistd.h>

namespace tavrin::sheet {

using platform::Variant;
namespace ss = orcus::spreadsheet;

FileKind KindOfFile(const std::string& path)
{
    std::string ext = platform::lowerAscii(platform::extractFileExt(path));
    if (ext == ".xlsx" || ext == ".xlsm")
        return FileKind::Xlsx;
    if (ext == ".ods")
        return FileKind::Ods;
    if (ext == ".csv")
        return FileKind::Csv;
    return FileKind::Unknown;
}

namespace {

[[noreturn]] void fail(const std::string& text)
{
    throw std::runtime_error(text);
}

// Text from a file (UTF-8) as scripts hold it.
std::string fromUtf8(std::string_view s)
{
    return platform::utf8ToCp1251(s);
}

Variant numberOrText(std::string_view s)
{
    double d = 0;
    if (!s.empty() && platform::parseDecimal(s, d))
        return Variant(d);
    return Variant(fromUtf8(s));
}

std::string baseName(const std::string& path)
{
    std::string name = platform::extractFileName(path);
    std::string ext = platform::extractFileExt(name);
    return name.substr(0, name.size() - ext.size());
}

// ---- reading through liborcus -------------------------------------------

class StringPool final : public ss::iface::import_shared_strings {
public:
    std::vector<std::string> strings;
    std::size_t append(std::string_view s) override
    {
        strings.push_back(fromUtf8(s));
        return strings.size() - 1;
    }
    std::size_t add(std::string_view s) override
    {
        std::string t = fromUtf8(s);
        auto it = index_.find(t);
        if (it != index_.end())
            return it->second;
        strings.push_back(t);
        index_.emplace(std::move(t), strings.size() - 1);
        return strings.size() - 1;
    }
    void set_segment_font(std::size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void append_segment(std::string_view s) override { segments_ += s; }
    std::size_t commit_segments() override
    {
        std::size_t id = append(segments_);
        segments_.clear();
        return id;
    }

private:
    std::map<std::string, std::size_t> index_;
    std::string segments_;
};

class SheetImport final : public ss::iface::import_sheet {
public:
    SheetImport(SheetData& data, const StringPool& pool) : data_(data), pool_(pool) {}
    void set_auto(ss::row_t r, ss::col_t c, std::string_view s) override { put(r, c, numberOrText(s)); }
    void set_string(ss::row_t r, ss::col_t c, ss::string_id_t id) override
    {
        if (id < pool_.strings.size())
            put(r, c, Variant(pool_.strings[id]));
    }
    void set_value(ss::row_t r, ss::col_t c, double v) override { put(r, c, Variant(v)); }
    void set_bool(ss::row_t r, ss::col_t c, bool v) override { put(r, c, Variant(v)); }
    void set_date_time(ss::row_t r, ss::col_t c, int y, int mo, int d, int h, int mi, double s) override
    {
        double date = 0, time = 0;
        int whole = static_cast<int>(s);
        if (platform::encodeDate(y, mo, d, date) &&
            platform::encodeTime(h, mi, whole, static_cast<int>((s - whole) * 1000), time))
            put(r, c, Variant::fromDate(date + (date < 0 ? -time : time)));
    }
    void set_format(ss::row_t, ss::col_t, std::size_t) override {}
    void set_format(ss::row_t, ss::col_t, ss::row_t, ss::col_t, std::size_t) override {}
    void fill_down_cells(ss::row_t r, ss::col_t c, ss::row_t n) override
    {
        const Cell* src = data_.find(r + 1, c + 1);
        if (!src)
            return;
        Variant v = src->value;
        for (ss::row_t i = 1; i <= n && r + i < kMaxRows; ++i)
            put(r + i, c, v);
    }
    ss::range_size_t get_sheet_size() const override
    {
        return {static_cast<ss::row_t>(kMaxRows), static_cast<ss::col_t>(kMaxColumns)};
    }

private:
    void put(ss::row_t r, ss::col_t c, Variant v)
    {
        if (r < 0 || c < 0 || r >= kMaxRows || c >= kMaxColumns)
            return;
        data_.at(r + 1, c + 1).value = std::move(v);
    }
    SheetData& data_;
    const StringPool& pool_;
};

// Cell addresses in the files ("B12", "A1:C3"), as 0-based rows and columns.
class AddressReader final : public ss::iface::import_reference_resolver {
public:
    ss::src_address_t resolve_address(std::string_view address) override
    {
        std::int64_t r1, c1, r2, c2;
        if (!ParseA1(address, r1, c1, r2, c2))
            throw std::invalid_argument("bad cell address");
        return {0, static_cast<ss::row_t>(r1 - 1), static_cast<ss::col_t>(c1 - 1)};
    }
    ss::src_range_t resolve_range(std::string_view range) override
    {
        std::int64_t r1, c1, r2, c2;
        if (!ParseA1(range, r1, c1, r2, c2))
            throw std::invalid_argument("bad cell range");
        return {{0, static_cast<ss::row_t>(r1 - 1), static_cast<ss::col_t>(c1 - 1)},
                {0, static_cast<ss::row_t>(r2 - 1), static_cast<ss::col_t>(c2 - 1)}};
    }
};

class BookImport final : public ss::iface::import_factory {
public:
    explicit BookImport(WorkbookData& book) : book_(book) {}
    ss::iface::import_shared_strings* get_shared_strings() override { return &pool_; }
    ss::iface::import_reference_resolver* get_reference_resolver(ss::formula_ref_context_t) override
    {
        return &addresses_;
    }
    ss::iface::import_sheet* append_sheet(ss::sheet_t, std::string_view name) override
    {
        book_.sheets.push_back(std::make_shared<SheetData>(fromUtf8(name)));
        sheets_.push_back(std::make_unique<SheetImport>(*book_.sheets.back(), pool_));
        return sheets_.back().get();
    }
    ss::iface::import_sheet* get_sheet(std::string_view name) override
    {
        std::string n = fromUtf8(name);
        for (std::size_t i = 0; i < book_.sheets.size(); ++i)
            if (book_.sheets[i]->name() == n)
                return sheets_[i].get();
        return nullptr;
    }
    ss::iface::import_sheet* get_sheet(ss::sheet_t index) override
    {
        return index >= 0 && static_cast<std::size_t>(index) < sheets_.size() ? sheets_[index].get() : nullptr;
    }
    void finalize() override {}

private:
    WorkbookData& book_;
    StringPool pool_;
    AddressReader addresses_;
    std::vector<std::unique_ptr<SheetImport>> sheets_;
};

// ---- CSV ----------------------------------------------------------------

void readCsv(const std::string& bytes0, SheetData& sheet)
{
    std::string_view bytes = bytes0;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    // UTF-8 unless it is not valid as such: then it is code page 1251.
    std::string utf8Check = platform::cp1251ToUtf8(platform::utf8ToCp1251(bytes));
    const bool utf8 = utf8Check == bytes;
    std::size_t firstEnd = bytes.find_first_of("\r\n");
    std::string_view first = bytes.substr(0, firstEnd);
    auto count = [&](char ch) { return std::count(first.begin(), first.end(), ch); };
    const char sep = count(';') > count(',') ? ';' : ',';

    std::int64_t row = 1, col = 1;
    std::string field;
    bool quoted = false, wasQuoted = false;
    auto endField = [&] {
        if (row > kMaxRows || col > kMaxColumns)
            fail("The file has more rows or columns than a sheet holds");
        if (!field.empty()) {
            std::string text = utf8 ? platform::utf8ToCp1251(field) : field;
            double d = 0;
            Variant v = !wasQuoted && platform::parseDecimal(text, d) ? Variant(d) : Variant(text);
            sheet.at(static_cast<std::int32_t>(row), static_cast<std::int32_t>(col)).value = std::move(v);
        }
        field.clear();
        wasQuoted = false;
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char ch = bytes[i];
        if (quoted) {
            if (ch == '"') {
                if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += ch;
            }
        } else if (ch == '"') {
            quoted = wasQuoted = true;
        } else if (ch == sep) {
            endField();
            ++col;
        } else if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            endField();
            ++row;
            col = 1;
        } else {
            field += ch;
        }
    }
    endField();
}

std::string csvText(const Variant& v)
{
    if (v.isEmptyOrNull())
        return {};
    if (v.isBool())
        return v.rawBool() ? "TRUE" : "FALSE";
    if (v.isNumeric() && v.type() != platform::varDate)
        return platform::formatShortest(v.toDouble());
    std::string t = platform::cp1251ToUtf8(v.toString());
    if (t.find_first_of(",;\"\r\n") == std::string::npos && !t.empty() && t.front() != ' ' && t.back() != ' ')
        return t;
    std::string q = "\"";
    for (char ch : t) {
        if (ch == '"')
            q += '"';
        q += ch;
    }
    return q + '"';
}

std::string writeCsv(const SheetData& sheet)
{
    std::string out;
    std::int32_t row = 1, col = 1;
    sheet.forEach([&](std::int32_t r, std::int32_t c, const Cell& cell) {
        if (cell.value.isEmpty())
            return;
        for (; row < r; ++row, col = 1)
            out += "\r\n";
        for (; col < c; ++col)
            out += ',';
        out += csvText(cell.value);
    });
    if (!out.empty())
        out += "\r\n";
    return out;
}

// ---- writing .xlsx ------------------------------------------------------

std::uint8_t borderStyle(const Border& b)
{
    switch (b.lineStyle) {
    case 0:
    case -4142: return LXW_BORDER_NONE;
    case -4115: return LXW_BORDER_DASHED;
    case -4118: return LXW_BORDER_DOTTED;
    case -4119: return LXW_BORDER_DOUBLE;
    case 4: return LXW_BORDER_DASH_DOT;
    case 5: return LXW_BORDER_DASH_DOT_DOT;
    default: break;
    }
    switch (b.weight) {
    case 1: return LXW_BORDER_HAIR;
    case -4138: return LXW_BORDER_MEDIUM;
    case 4: return LXW_BORDER_THICK;
    default: return LXW_BORDER_THIN;
    }
}

class XlsxWriter {
public:
    explicit XlsxWriter(const std::string& path)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_FALSE;
        book_ = workbook_new_opt(path.c_str(), &options);
        if (!book_)
            fail("Cannot create the workbook file");
    }
    ~XlsxWriter()
    {
        if (book_)
            workbook_close(book_);
    }
    void write(const WorkbookData& data)
    {
        for (const auto& sheet : data.sheets) {
            std::string name = platform::cp1251ToUtf8(sheet->name());
            if (lxw_error e = workbook_validate_sheet_name(book_, name.c_str()); e != LXW_NO_ERROR)
                fail("Sheet name \"" + name + "\": " + lxw_strerror(e));
            lxw_worksheet* ws = workbook_add_worksheet(book_, name.c_str());
            if (!ws)
                fail("Cannot add the sheet \"" + name + "\"");
            std::string error;
            sheet->forEach([&](std::int32_t r, std::int32_t c, const Cell& cell) {
                if (error.empty())
                    error = writeCell(ws, static_cast<lxw_row_t>(r - 1), static_cast<lxw_col_t>(c - 1), cell);
            });
            if (!error.empty())
                fail(error);
        }
        lxw_error e = workbook_close(book_);
        book_ = nullptr;
        if (e != LXW_NO_ERROR)
            fail(std::string("Cannot write the workbook: ") + lxw_strerror(e));
    }

private:
    lxw_format* format(const Cell& cell, bool date)
    {
        if (!cell.hasFormat() && !date)
            return nullptr;
        auto key = std::make_tuple(cell.bold, date, borderStyle(cell.borders[EdgeLeft]),
                                   borderStyle(cell.borders[EdgeRight]), borderStyle(cell.borders[EdgeTop]),
                                   borderStyle(cell.borders[EdgeBottom]));
        auto it = formats_.find(key);
        if (it != formats_.end())
            return it->second;
        lxw_format* f = workbook_add_format(book_);
        if (cell.bold)
            format_set_bold(f);
        if (date)
            format_set_num_format(f, "dd.mm.yyyy hh:mm:ss");
        format_set_left(f, std::get<2>(key));
        format_set_right(f, std::get<3>(key));
        format_set_top(f, std::get<4>(key));
        format_set_bottom(f, std::get<5>(key));
        formats_.emplace(key, f);
        return f;
    }
    std::string writeCell(lxw_worksheet* ws, lxw_row_t r, lxw_col_t c, const Cell& cell)
    {
        const Variant& v = cell.value;
        lxw_error e = LXW_NO_ERROR;
        if (v.isEmptyOrNull()) {
            e = worksheet_write_blank(ws, r, c, format(cell, false));
        } else if (v.isBool()) {
            e = worksheet_write_boolean(ws, r, c, v.rawBool(), format(cell, false));
        } else if (v.type() == platform::varDate) {
            e = worksheet_write_number(ws, r, c, v.toDouble(), format(cell, true));
        } else if (v.isNumeric()) {
            e = worksheet_write_number(ws, r, c, v.toDouble(), format(cell, false));
        } else {
            std::string t = platform::cp1251ToUtf8(v.toString());
            e = worksheet_write_string(ws, r, c, t.c_str(), format(cell, false));
        }
        if (e != LXW_NO_ERROR)
            return "Cell " + ColumnLetters(c + 1) + std::to_string(r + 1) + ": " + lxw_strerror(e);
        return {};
    }
    lxw_workbook* book_ = nullptr;
    std::map<std::tuple<bool, bool, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t>, lxw_format*> formats_;
};

// libxlsxwriter prints numbers with the C library's printf, which follows
// the user's locale ("3,5" in a Russian one, a number no reader takes), and
// liborcus reads them with strtod: both work under the "C" locale, on this
// thread only.
class ClassicNumbers {
public:
    ClassicNumbers() : c_(::newlocale(LC_ALL_MASK, "C", nullptr)), old_(c_ ? ::uselocale(c_) : nullptr) {}
    ~ClassicNumbers()
    {
        if (c_) {
            ::uselocale(old_);
            ::freelocale(c_);
        }
    }
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    locale_t c_;
    locale_t old_;
};

std::string temporaryBeside(const std::string& path)
{
    return platform::extractFilePath(path) + "." + platform::extractFileName(path) + ".~" +
           std::to_string(::getpid()) + platform::extractFileExt(path);
}

} // namespace

void LoadWorkbook(const std::string& path, WorkbookData& book)
{
    FileKind kind = KindOfFile(path);
    if (!platform::fileExists(path))
        fail("'" + path + "' could not be found");
    WorkbookData read;
    try {
        if (kind == FileKind::Csv) {
            std::string bytes, error;
            if (!platform::readRegularFile(path, bytes, std::size_t(256) << 20, &error))
                fail(error);
            read.sheets.push_back(std::make_shared<SheetData>(fromUtf8(baseName(path).substr(0, 31))));
            readCsv(bytes, *read.sheets.back());
        } else if (kind == FileKind::Xlsx) {
            ReadXlsx(path, read);
        } else if (kind == FileKind::Ods) {
            // liborcus reads numbers with the locale's strtod as well.
            ClassicNumbers classic;
            BookImport factory(read);
            orcus::orcus_ods filter(&factory);
            filter.read_file(path);
        } else {
            fail("'" + path + "': not a file format this program reads (.xlsx, .xlsm, .ods, .csv)");
        }
    } catch (const std::runtime_error&) {
        throw;
    } catch (const std::exception& e) {
        fail("'" + path + "' cannot be read: " + e.what());
    }
    if (read.sheets.empty())
        read.sheets.push_back(std::make_shared<SheetData>("Sheet1"));
    read.path = path;
    read.name = fromUtf8(platform::extractFileName(path));
    book = std::move(read);
}

void SaveWorkbook(const std::string& path, const WorkbookData& book, FileKind kind)
{
    std::string folder = platform::extractFilePath(path);
    if (!folder.empty() && !platform::directoryExists(folder))
        fail("Cannot save '" + path + "': the folder does not exist");
    if (kind == FileKind::Csv) {
        std::string error;
        if (!platform::writeFileAtomic(path, book.sheets.empty() ? std::string() : writeCsv(*book.sheets.front()),
                                       &error))
            fail(error);
        return;
    }
    if (kind != FileKind::Xlsx)
        fail("'" + path + "': workbooks are saved as .xlsx or .csv");
    std::string temp = temporaryBeside(path);
    ClassicNumbers classic;
    try {
        XlsxWriter writer(temp);
        writer.write(book);
    } catch (...) {
        std::remove(temp.c_str());
        throw;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        int err = errno;
        std::remove(temp.c_str());
        fail("Cannot save '" + path + "': " + platform::systemErrorText(err));
    }
}

} // namespace tavrin::sheet
