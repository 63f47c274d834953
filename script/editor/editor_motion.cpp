// Cursor movement, mouse placement and word selection of the editor model.

#include "script/editor/editor_model.h"

#include <algorithm>

namespace script::editor {

namespace {

// Words for moving and double clicks: Latin and Cyrillic letters, digits
// and "_" (code page 1251: А..я from 0xC0, Ё 0xA8, ё 0xB8).
bool isWordChar(char ch) noexcept
{
    const unsigned char c = static_cast<unsigned char>(ch);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0xC0 ||
           c == 0xA8 || c == 0xB8;
}

} // namespace

TextPos EditorModel::motionTarget(Motion motion)
{
    const TextPos c = cursor_;
    const std::string& s = lines_[std::size_t(c.line - 1)];
    const long length = long(s.size());
    switch (motion) {
    case Motion::Left: return TextPos{c.line, c.column - 1};
    case Motion::Right: return TextPos{c.line, c.column + 1};
    case Motion::WordLeft: {
        std::size_t i = std::size_t(std::min(c.column - 1, length));
        while (i > 0 && !isWordChar(s[i - 1]))
            --i;
        while (i > 0 && isWordChar(s[i - 1]))
            --i;
        return TextPos{c.line, long(i) + 1};
    }
    case Motion::WordRight: {
        if (c.column > length)
            return c; // a line end stops the movement
        std::size_t i = std::size_t(c.column - 1);
        while (i < s.size() && isWordChar(s[i]))
            ++i;
        while (i < s.size() && !isWordChar(s[i]))
            ++i;
        return TextPos{c.line, long(i) + 1};
    }
    case Motion::Up: return TextPos{c.line - 1, c.column};
    case Motion::Down: return TextPos{c.line + 1, c.column};
    case Motion::Home: return TextPos{c.line, 1};
    case Motion::End: {
        std::size_t n = s.size();
        while (n > 0 && s[n - 1] == ' ')
            --n;
        return TextPos{c.line, long(n) + 1};
    }
    case Motion::TextStart: return TextPos{1, 1};
    case Motion::TextEnd: {
        const long last = long(lines_.size());
        return TextPos{last, long(lines_[std::size_t(last - 1)].size()) + 1};
    }
    case Motion::PageUp: {
        const long step = std::max(1L, rows_ - 1);
        topLine_ = std::max(0L, topLine_ - step);
        return TextPos{std::max(1L, c.line - step), c.column};
    }
    case Motion::PageDown: {
        const long step = std::max(1L, rows_ - 1);
        const long count = long(lines_.size());
        if (c.line + step > count) {
            topLine_ = count - 1; // the last line, at the top
            return TextPos{count, c.column};
        }
        topLine_ = std::min(topLine_ + step, count - 1);
        return TextPos{c.line + step, c.column};
    }
    }
    return c;
}

void EditorModel::move(Motion motion, bool extend)
{
    if (extend && !selecting_) {
        selecting_ = true;
        anchor_ = cursor_;
    } else if (!extend) {
        selecting_ = false;
    }
    placeCursor(motionTarget(motion));
    if (extend)
        end_ = cursor_;
}

void EditorModel::clickAt(TextPos p)
{
    selecting_ = false;
    placeCursor(p);
    anchor_ = end_ = cursor_;
}

void EditorModel::dragTo(TextPos p)
{
    if (!selecting_) {
        selecting_ = true;
        anchor_ = cursor_;
    }
    placeCursor(p);
    end_ = cursor_;
}

void EditorModel::selectWordAtCursor()
{
    const std::string& s = lines_[std::size_t(cursor_.line - 1)];
    const std::size_t at = std::size_t(cursor_.column - 1);
    if (at >= s.size() || !isWordChar(s[at]))
        return;
    std::size_t from = at, to = at;
    while (from > 0 && isWordChar(s[from - 1]))
        --from;
    while (to < s.size() && isWordChar(s[to]))
        ++to;
    anchor_ = TextPos{cursor_.line, long(from) + 1};
    placeCursor(TextPos{cursor_.line, long(to) + 1});
    end_ = cursor_;
    selecting_ = true;
}

} // namespace script::editor
