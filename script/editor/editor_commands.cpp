// The editing commands of the editor model: each takes one undo snapshot
// before it changes the text, and none when it changes nothing.

#include "script/editor/editor_model.h"

#include <algorithm>

namespace script::editor {

namespace {

std::size_t trimmedLength(std::string_view s) noexcept
{
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return n;
}

// The column (from 1) of the first character that is not a blank, or 0
// for a blank line.
long firstNonBlank(std::string_view s) noexcept
{
    std::size_t i = s.find_first_not_of(' ');
    return i == std::string_view::npos ? 0 : long(i) + 1;
}

} // namespace

void EditorModel::insertText(std::string_view text)
{
    if (text.empty() || !beginChange())
        return;
    if (hasSelection())
        deleteSelection();
    selecting_ = false;
    padTo(cursor_);
    placeCursor(replaceRange(cursor_, cursor_, text));
    endChange();
}

void EditorModel::newLine()
{
    if (!beginChange())
        return;
    if (hasSelection())
        deleteSelection();
    selecting_ = false;
    const long line = cursor_.line;
    const std::string& s = lines_[std::size_t(line - 1)];
    const long column = std::min(cursor_.column, long(s.size()) + 1);
    long indent = firstNonBlank(std::string_view(s).substr(0, std::size_t(column - 1)));
    if (indent == 0)
        indent = cursor_.column;
    const TextPos cut{line, column};
    replaceRange(cut, cut, "\n");
    if (indent > 1)
        replaceRange(TextPos{line + 1, 1}, TextPos{line + 1, 1}, std::string(std::size_t(indent - 1), ' '));
    placeCursor(TextPos{line + 1, indent});
    endChange();
}

void EditorModel::tab()
{
    if (readOnly_)
        return;
    const long column = cursor_.column;
    for (long l = cursor_.line - 2; l >= 0; --l) {
        const std::string& above = lines_[std::size_t(l)];
        const std::size_t length = trimmedLength(above);
        if (long(length) < column)
            continue;
        std::size_t i = std::size_t(column - 1);
        if (above[i] != ' ') {
            while (i < length && above[i] != ' ')
                ++i; // the rest of the word at the cursor column
        }
        while (i < length && above[i] == ' ')
            ++i; // up to the next word, or past the line's text
        insertText(std::string(i + 1 - std::size_t(column), ' '));
        return;
    }
}

void EditorModel::backspace()
{
    if (!beginChange())
        return;
    if (hasSelection()) {
        deleteSelection();
        endChange();
        return;
    }
    selecting_ = false;
    const long line = cursor_.line, column = cursor_.column;
    if (column == 1) {
        if (line > 1) {
            // The previous line loses its trailing blanks; the joint is
            // where the cursor goes.
            const long joint = long(trimmedLength(lines_[std::size_t(line - 2)])) + 1;
            placeCursor(replaceRange(TextPos{line - 1, joint}, TextPos{line, 1}, {}));
        }
        endChange();
        return;
    }
    const std::string& s = lines_[std::size_t(line - 1)];
    const long first = firstNonBlank(s);
    long target = column - 1;
    if (first == 0 || first == column) {
        // Back to the indentation of the nearest line above that begins
        // left of the cursor.
        long found = 0;
        for (long l = line - 2; l >= 0 && found == 0; --l) {
            long f = firstNonBlank(lines_[std::size_t(l)]);
            if (f > 0 && f < column)
                found = f;
        }
        if (found == 0 && line > 1) {
            long f = firstNonBlank(lines_[0]);
            found = f == 0 ? 1 : f;
            if (found >= column)
                found = 0; // the first line begins further right: one character
        }
        if (found > 0)
            target = found;
    }
    const long end = std::min(column, long(s.size()) + 1);
    if (target < end)
        replaceRange(TextPos{line, target}, TextPos{line, end}, {});
    placeCursor(TextPos{line, target});
    endChange();
}

void EditorModel::deleteForward()
{
    if (!beginChange())
        return;
    if (hasSelection()) {
        deleteSelection();
        endChange();
        return;
    }
    selecting_ = false;
    const long line = cursor_.line, column = cursor_.column;
    const std::string& s = lines_[std::size_t(line - 1)];
    if (column > long(s.size())) {
        if (std::size_t(line) < lines_.size()) {
            const std::string& next = lines_[std::size_t(line)];
            std::string appended = next.substr(0, trimmedLength(next));
            const long nextEnd = long(next.size()) + 1;
            padTo(cursor_);
            replaceRange(cursor_, TextPos{line + 1, nextEnd}, appended);
            placeCursor(TextPos{line, column});
        }
    } else {
        replaceRange(cursor_, TextPos{line, column + 1}, {});
    }
    endChange();
}

std::string EditorModel::cut()
{
    if (!hasSelection() || readOnly_)
        return {};
    std::string text = selectedText();
    beginChange();
    deleteSelection();
    endChange();
    return text;
}

void EditorModel::deleteLine()
{
    if (!beginChange())
        return;
    selecting_ = false;
    const long line = cursor_.line;
    if (std::size_t(line) < lines_.size()) {
        replaceRange(TextPos{line, 1}, TextPos{line + 1, 1}, {});
        placeCursor(cursor_);
    } else {
        const long end = long(lines_[std::size_t(line - 1)].size()) + 1;
        if (end > 1)
            replaceRange(TextPos{line, 1}, TextPos{line, end}, {});
        placeCursor(TextPos{line, 1});
    }
    endChange();
}

void EditorModel::indentBlock()
{
    indentLines(true);
}

void EditorModel::unindentBlock()
{
    indentLines(false);
}

void EditorModel::indentLines(bool indent)
{
    if (!hasSelection() || !beginChange())
        return;
    const TextPos lo = std::min(anchor_, end_), hi = std::max(anchor_, end_);
    const long first = lo.line;
    const long last = hi.column == 1 && hi.line > first ? hi.line - 1 : hi.line;
    long shift = 2;
    if (!indent) {
        // The smallest indentation among the non-blank lines, at most two.
        for (long l = first; l <= last; ++l) {
            long f = firstNonBlank(lines_[std::size_t(l - 1)]);
            if (f > 0)
                shift = std::min(shift, f - 1);
        }
        if (shift == 0) {
            endChange();
            return;
        }
    }
    std::vector<bool> touched(std::size_t(last - first + 1), false);
    for (long l = first; l <= last; ++l) {
        if (indent) {
            replaceRange(TextPos{l, 1}, TextPos{l, 1}, "  ");
        } else {
            if (firstNonBlank(lines_[std::size_t(l - 1)]) == 0)
                continue;
            replaceRange(TextPos{l, 1}, TextPos{l, 1 + shift}, {});
        }
        touched[std::size_t(l - first)] = true;
    }
    // The selection and the cursor stay on the same characters; column 1
    // stays at column 1, so a block selected from line starts stays so.
    auto follow = [&](TextPos& p) {
        if (p.line < first || p.line > last || !touched[std::size_t(p.line - first)] || p.column == 1)
            return;
        p.column = indent ? p.column + 2 : std::max(1L, p.column - shift);
    };
    follow(anchor_);
    follow(end_);
    TextPos c = cursor_;
    follow(c);
    placeCursor(c);
    endChange();
}

} // namespace script::editor
