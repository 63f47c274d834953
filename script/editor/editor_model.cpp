#include "script/editor/editor_model.h"

#include "platform/system/file_io.h"
#include "platform/text/line_split.h"

#include <algorithm>
#include <cassert>
#include <filesystem>
#include <system_error>

namespace script::editor {

namespace {

std::string_view trimRight(std::string_view s) noexcept
{
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return s.substr(0, n);
}

// The text split at CR LF, LF or CR; a final line break gives a final empty
// piece (pasting "a\r\n" ends the line).
std::vector<std::string_view> splitPieces(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        pieces.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

const char* const kTooLarge = "The text is larger than 16 MB and cannot be edited.";

} // namespace

EditorModel::EditorModel() : lines_(std::vector<std::string>(1))
{
    states_.reset(1);
}

// --- The text ----------------------------------------------------------

std::vector<std::string> EditorModel::lines() const
{
    std::vector<std::string> out = lines_.toVector();
    for (std::string& l : out)
        l.resize(trimRight(l).size());
    return out;
}

std::string EditorModel::text() const
{
    return platform::joinLinesCrLf(lines());
}

bool EditorModel::setLines(std::vector<std::string> lines)
{
    std::size_t bytes = 0;
    for (const std::string& l : lines)
        bytes += l.size() + 2;
    if (bytes > kMaxTextBytes) {
        footer_ = kTooLarge;
        return false;
    }
    if (lines.empty())
        lines.emplace_back();
    lines_ = LineStore(std::move(lines));
    resetAfterNewText();
    return true;
}

bool EditorModel::setText(std::string_view text)
{
    if (text.size() > kMaxTextBytes) {
        footer_ = kTooLarge;
        return false;
    }
    return setLines(platform::splitLines(text));
}

bool EditorModel::loadFile(const std::string& path, std::string* error)
{
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxTextBytes) {
        footer_ = kTooLarge;
        if (error)
            *error = kTooLarge;
        return false;
    }
    std::string bytes;
    std::string message;
    if (!platform::readFile(path, bytes, &message)) {
        if (error)
            *error = message;
        return false;
    }
    if (!setText(bytes)) {
        if (error)
            *error = footer_;
        return false;
    }
    return true;
}

bool EditorModel::saveFile(const std::string& path, std::string* error) const
{
    return platform::writeFileAtomic(path, text(), error);
}

void EditorModel::resetAfterNewText()
{
    undo_.clear();
    bookmarks_.clear();
    states_.reset(lines_.size());
    ++revision_;
    selecting_ = false;
    cursor_ = TextPos{};
    topLine_ = 0;
    leftColumn_ = 0;
    footer_.clear();
}

void EditorModel::setSyntaxType(TSyntaxType type)
{
    syntax_ = type;
    rehighlight();
}

void EditorModel::rehighlight()
{
    states_.reset(lines_.size());
}

void EditorModel::lineAttributes(std::size_t index, std::vector<CharAttr>& out)
{
    const std::string& l = lines_[index];
    out.resize(l.size());
    ScanLine(syntax_, l, states_.stateAt(index, lines_, syntax_), out.data());
}

// --- Changes -----------------------------------------------------------

bool EditorModel::beginChange()
{
    if (readOnly_)
        return false;
    pending_ = Snapshot{lines_, cursor_};
    pendingRevision_ = revision_;
    return true;
}

void EditorModel::endChange()
{
    Snapshot before = std::move(pending_);
    pending_ = Snapshot{};
    if (revision_ == pendingRevision_)
        return; // nothing changed: no snapshot, not modified
    pushSnapshot(std::move(before));
    modified_ = true;
    if (onChange)
        onChange();
}

void EditorModel::pushSnapshot(Snapshot snapshot)
{
    if (undo_.size() == kUndoDepth)
        undo_.pop_front();
    undo_.push_back(std::move(snapshot));
}

TextPos EditorModel::replaceRange(TextPos from, TextPos to, std::string_view text)
{
    assert(from <= to && from.line >= 1 && std::size_t(to.line) <= lines_.size());
    const std::size_t a = std::size_t(from.line - 1), b = std::size_t(to.line - 1);
    assert(std::size_t(from.column - 1) <= lines_[a].size() && std::size_t(to.column - 1) <= lines_[b].size());
    const std::vector<std::string_view> pieces = splitPieces(text);
    const std::size_t k = pieces.size() - 1; // line breaks inserted
    const std::size_t head = std::size_t(from.column - 1);

    if (a == b && k == 0) {
        lines_.edit(a).replace(head, std::size_t(to.column - from.column), pieces[0]);
    } else {
        std::string tail = lines_[b].substr(std::size_t(to.column - 1));
        std::vector<std::string> added;
        added.reserve(k);
        for (std::size_t i = 1; i <= k; ++i)
            added.emplace_back(pieces[i]);
        if (k > 0)
            added.back() += tail;
        std::string& first = lines_.edit(a);
        first.resize(head);
        first += pieces[0];
        if (k == 0)
            first += tail;
        lines_.erase(a + 1, b - a);
        lines_.insert(a + 1, std::move(added));
    }
    states_.linesReplaced(a, b - a + 1, k + 1);
    bookmarks_.linesReplaced(long(a), long(b - a), long(k), from.column == 1);
    ++revision_;
    if (k == 0)
        return TextPos{from.line, from.column + long(pieces[0].size())};
    return TextPos{from.line + long(k), long(pieces[k].size()) + 1};
}

void EditorModel::padTo(TextPos p)
{
    const std::size_t index = std::size_t(p.line - 1);
    const std::size_t want = std::size_t(p.column - 1);
    if (lines_[index].size() >= want)
        return;
    lines_.edit(index).resize(want, ' ');
    states_.linesReplaced(index, 1, 1);
    ++revision_;
}

std::pair<TextPos, TextPos> EditorModel::selectionRange() const
{
    if (!hasSelection())
        return {cursor_, cursor_};
    TextPos lo = std::min(anchor_, end_), hi = std::max(anchor_, end_);
    const long loEnd = long(lines_[std::size_t(lo.line - 1)].size()) + 1;
    if (lo.column > loEnd)
        lo = std::size_t(lo.line) < lines_.size() ? TextPos{lo.line + 1, 1} : TextPos{lo.line, loEnd};
    hi.column = std::min(hi.column, long(lines_[std::size_t(hi.line - 1)].size()) + 1);
    if (hi < lo)
        hi = lo;
    return {lo, hi};
}

void EditorModel::deleteSelection()
{
    const TextPos rawLower = std::min(anchor_, end_);
    auto [lo, hi] = selectionRange();
    selecting_ = false;
    if (lo < hi) {
        replaceRange(lo, hi, {});
        placeCursor(lo);
    } else {
        placeCursor(rawLower);
    }
}

// --- Cursor and view ---------------------------------------------------

long EditorModel::maxColumnOf(long line) const noexcept
{
    if (line < 1 || std::size_t(line) > lines_.size())
        return kMaxColumn;
    return std::max(kMaxColumn, long(lines_[std::size_t(line - 1)].size()) + 1);
}

void EditorModel::setPos(long column, long line)
{
    placeCursor(TextPos{line, column});
}

void EditorModel::placeCursor(TextPos p)
{
    footer_.clear();
    p.line = std::clamp(p.line, 1L, long(lines_.size()));
    p.column = std::clamp(p.column, 1L, maxColumnOf(p.line));
    cursor_ = p;
    scrollIntoView();
}

void EditorModel::scrollIntoView()
{
    const long column = cursor_.column - 1, line = cursor_.line - 1;
    if (column >= leftColumn_ + columns_)
        leftColumn_ = column - columns_ + 1;
    else if (column < leftColumn_)
        leftColumn_ = column;
    // Also after a sideways scroll: a cursor off the rows on screen is
    // never left out of sight.
    if (line < topLine_)
        topLine_ = line;
    else if (line >= topLine_ + rows_)
        topLine_ = line - rows_ + 1;
}

void EditorModel::setViewSize(long rows, long columns) noexcept
{
    rows_ = std::max(1L, rows);
    columns_ = std::max(1L, columns);
}

void EditorModel::scrollTo(long topLine) noexcept
{
    topLine_ = std::clamp(topLine, 0L, long(lines_.size()) - 1);
}

// --- Selection ---------------------------------------------------------

bool EditorModel::isSelected(TextPos p) const noexcept
{
    if (!hasSelection())
        return false;
    TextPos lo = std::min(anchor_, end_), hi = std::max(anchor_, end_);
    return lo <= p && p < hi;
}

std::string EditorModel::selectedText() const
{
    auto [lo, hi] = selectionRange();
    if (!(lo < hi))
        return {};
    const std::string& first = lines_[std::size_t(lo.line - 1)];
    if (lo.line == hi.line)
        return first.substr(std::size_t(lo.column - 1), std::size_t(hi.column - lo.column));
    std::string out = first.substr(std::size_t(lo.column - 1));
    lines_.forEach(std::size_t(lo.line), std::size_t(hi.line - 1), [&](std::size_t, const std::string& l) {
        out += "\r\n";
        out += l;
    });
    out += "\r\n";
    out += lines_[std::size_t(hi.line - 1)].substr(0, std::size_t(hi.column - 1));
    return out;
}

void EditorModel::selectAll()
{
    const long last = long(lines_.size());
    anchor_ = TextPos{1, 1};
    placeCursor(TextPos{last, long(lines_[std::size_t(last - 1)].size()) + 1});
    end_ = cursor_;
    selecting_ = true;
}

// --- Bookmarks ---------------------------------------------------------

void EditorModel::toggleBookmark(int digit)
{
    bookmarks_.toggle(digit, cursor_.line - 1);
}

void EditorModel::gotoBookmark(int digit)
{
    long line = bookmarks_.lineOf(digit);
    if (line < 0)
        return;
    selecting_ = false;
    placeCursor(TextPos{line + 1, cursor_.column});
}

// --- Search and replace ------------------------------------------------

bool EditorModel::find(std::string_view what, SearchOptions options)
{
    lastSearch_ = std::string(what);
    if (what.empty())
        return false;
    const long count = long(lines_.size());
    if (!options.backward) {
        for (long l = cursor_.line; l < count; ++l) {
            std::size_t at = FindInLine(lines_[std::size_t(l)], what, options.matchCase);
            if (at != std::string_view::npos) {
                selecting_ = false;
                placeCursor(TextPos{l + 1, long(at) + 1});
                return true;
            }
        }
    } else {
        for (long l = cursor_.line - 2; l >= 0; --l) {
            std::size_t at = FindLastInLine(lines_[std::size_t(l)], what, options.matchCase);
            if (at != std::string_view::npos) {
                selecting_ = false;
                placeCursor(TextPos{l + 1, long(at) + 1});
                return true;
            }
        }
    }
    footer_ = "Text \"" + lastSearch_ + "\" not found.";
    return false;
}

bool EditorModel::findNext(SearchOptions options)
{
    std::string what = lastSearch_;
    return find(what, options);
}

bool EditorModel::replaceAtCursor(std::string_view what, std::string_view with, bool matchCase)
{
    const std::string& l = lines_[std::size_t(cursor_.line - 1)];
    if (!MatchesAt(l, what, matchCase, std::size_t(cursor_.column - 1)) || !beginChange())
        return false;
    selecting_ = false;
    TextPos end = replaceRange(cursor_, TextPos{cursor_.line, cursor_.column + long(what.size())}, with);
    placeCursor(end);
    endChange();
    return true;
}

std::size_t EditorModel::replaceAll(std::string_view what, std::string_view with, bool matchCase)
{
    if (what.empty() || !beginChange())
        return 0;
    std::size_t count = 0;
    std::vector<std::size_t> hits;
    // From the last line up and right to left, so the positions still to
    // visit never move.
    for (std::size_t l = lines_.size(); l-- > 0;) {
        hits.clear();
        const std::string& text = lines_[l];
        for (std::size_t at = FindInLine(text, what, matchCase); at != std::string_view::npos;
             at = FindInLine(text, what, matchCase, at + what.size()))
            hits.push_back(at);
        for (std::size_t h = hits.size(); h-- > 0;) {
            const long line = long(l) + 1, column = long(hits[h]) + 1;
            replaceRange(TextPos{line, column}, TextPos{line, column + long(what.size())}, with);
        }
        count += hits.size();
    }
    if (count > 0) {
        selecting_ = false;
        placeCursor(cursor_);
    }
    endChange();
    return count;
}

// --- Undo --------------------------------------------------------------

void EditorModel::undo()
{
    if (readOnly_ || undo_.empty())
        return;
    Snapshot s = std::move(undo_.back());
    undo_.pop_back();
    // Only the lines between the common start and end changed: the
    // highlight states and bookmarks outside them stay.
    const std::size_t prefix = LineStore::commonPrefix(lines_, s.text);
    const std::size_t suffix = LineStore::commonSuffix(lines_, s.text, prefix);
    const std::size_t removed = lines_.size() - prefix - suffix;
    const std::size_t inserted = s.text.size() - prefix - suffix;
    states_.linesReplaced(prefix, removed, inserted);
    bookmarks_.blockReplaced(long(prefix), long(removed), long(inserted));
    lines_ = std::move(s.text);
    ++revision_;
    selecting_ = false;
    placeCursor(s.cursor);
    modified_ = true;
    if (onChange)
        onChange();
}

} // namespace script::editor
