#pragma once
// The cells of a workbook held in memory: a sparse store per sheet, keyed
// by row then column, so a sheet with a few cells far apart costs only
// those cells. Rows run 1..1048576 and columns 1..16384, as in the files
// it reads and writes. Texts are code page 1251, as scripts hold them.

#include "platform/automation/variant.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::sheet {

constexpr std::int64_t kMaxRows = 1048576;
constexpr std::int64_t kMaxColumns = 16384;

// One edge of a cell's frame: the automation LineStyle and Weight
// (0: no line).
struct Border {
    std::int32_t lineStyle = 0;
    std::int32_t weight = 2;
};

enum BorderEdge : int { EdgeLeft, EdgeRight, EdgeTop, EdgeBottom, kEdgeCount };

struct Cell {
    platform::Variant value; // Empty, a number, a Boolean, a date or a text
    bool bold = false;
    Border borders[kEdgeCount];
    bool hasFormat() const noexcept;
};

class SheetData {
public:
    explicit SheetData(std::string name) : name_(std::move(name)) {}
    const std::string& name() const noexcept { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    // nullptr when the cell holds nothing.
    const Cell* find(std::int32_t row, std::int32_t col) const;
    // The cell, made when missing. Rows and columns must be in range.
    Cell& at(std::int32_t row, std::int32_t col);
    // Drops a cell that holds neither a value nor a format.
    void tidy(std::int32_t row, std::int32_t col);
    // The last row and column that hold a cell (0, 0 when none).
    std::int32_t lastRow() const noexcept;
    std::int32_t lastColumn() const noexcept;
    std::size_t cellCount() const noexcept { return cells_.size(); }

    // Cells in row-major order.
    template <class Fn>
    void forEach(Fn&& fn) const
    {
        for (const auto& [key, cell] : cells_)
            fn(static_cast<std::int32_t>(key >> 32), static_cast<std::int32_t>(key & 0xFFFFFFFFu), cell);
    }

private:
    static std::uint64_t key(std::int32_t row, std::int32_t col) noexcept
    {
        return (std::uint64_t(std::uint32_t(row)) << 32) | std::uint32_t(col);
    }
    std::string name_;
    std::map<std::uint64_t, Cell> cells_;
    std::map<std::int32_t, std::int32_t> columnUse_; // column -> cells in it
};

struct WorkbookData {
    std::string path; // UTF-8; empty until saved or opened
    std::string name; // code page 1251, "Book1" or the file's name
    std::vector<std::shared_ptr<SheetData>> sheets;
    std::size_t activeSheet = 0;
};

// "A1" / "$B$12" (a cell), or "A1:C3" (a block): true with the corners.
bool ParseA1(std::string_view text, std::int64_t& row1, std::int64_t& col1, std::int64_t& row2, std::int64_t& col2);
// Column letters of a column number: 1 "A", 27 "AA".
std::string ColumnLetters(std::int64_t col);

} // namespace tavrin::sheet
