#include "scripthost/spreadsheet/sheet_data.h"

#include <cctype>

namespace tavrin::sheet {

bool Cell::hasFormat() const noexcept
{
    if (bold)
        return true;
    for (const Border& b : borders)
        if (b.lineStyle != 0)
            return true;
    return false;
}

const Cell* SheetData::find(std::int32_t row, std::int32_t col) const
{
    auto it = cells_.find(key(row, col));
    return it == cells_.end() ? nullptr : &it->second;
}

Cell& SheetData::at(std::int32_t row, std::int32_t col)
{
    auto [it, added] = cells_.try_emplace(key(row, col));
    if (added)
        ++columnUse_[col];
    return it->second;
}

void SheetData::tidy(std::int32_t row, std::int32_t col)
{
    auto it = cells_.find(key(row, col));
    if (it == cells_.end() || !it->second.value.isEmpty() || it->second.hasFormat())
        return;
    cells_.erase(it);
    auto c = columnUse_.find(col);
    if (c != columnUse_.end() && --c->second == 0)
        columnUse_.erase(c);
}

std::int32_t SheetData::lastRow() const noexcept
{
    return cells_.empty() ? 0 : static_cast<std::int32_t>(cells_.rbegin()->first >> 32);
}

std::int32_t SheetData::lastColumn() const noexcept
{
    return columnUse_.empty() ? 0 : columnUse_.rbegin()->first;
}

namespace {

// One cell reference at pos: optional "$", letters, optional "$", digits.
bool parseCell(std::string_view t, std::size_t& pos, std::int64_t& row, std::int64_t& col)
{
    if (pos < t.size() && t[pos] == '$')
        ++pos;
    col = 0;
    std::size_t start = pos;
    while (pos < t.size() && std::isalpha(static_cast<unsigned char>(t[pos])) && pos - start < 4) {
        col = col * 26 + (std::toupper(static_cast<unsigned char>(t[pos])) - 'A' + 1);
        ++pos;
    }
    if (pos == start)
        return false;
    if (pos < t.size() && t[pos] == '$')
        ++pos;
    row = 0;
    start = pos;
    while (pos < t.size() && t[pos] >= '0' && t[pos] <= '9' && pos - start < 8) {
        row = row * 10 + (t[pos] - '0');
        ++pos;
    }
    return pos != start && row >= 1 && row <= kMaxRows && col >= 1 && col <= kMaxColumns;
}

} // namespace

bool ParseA1(std::string_view text, std::int64_t& row1, std::int64_t& col1, std::int64_t& row2, std::int64_t& col2)
{
    std::size_t pos = 0;
    if (!parseCell(text, pos, row1, col1))
        return false;
    row2 = row1;
    col2 = col1;
    if (pos == text.size())
        return true;
    if (text[pos] != ':')
        return false;
    ++pos;
    if (!parseCell(text, pos, row2, col2) || pos != text.size())
        return false;
    if (row2 < row1)
        std::swap(row1, row2);
    if (col2 < col1)
        std::swap(col1, col2);
    return true;
}

std::string ColumnLetters(std::int64_t col)
{
    std::string s;
    while (col > 0) {
        --col;
        s.insert(s.begin(), static_cast<char>('A' + col % 26));
        col /= 26;
    }
    return s;
}

} // namespace tavrin::sheet
