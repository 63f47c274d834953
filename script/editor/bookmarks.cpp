#include "script/editor/bookmarks.h"

namespace script::editor {

int Bookmarks::digitOn(long line) const noexcept
{
    for (int d = 0; d < kCount; ++d)
        if (lines_[std::size_t(d)] == line)
            return d;
    return -1;
}

void Bookmarks::toggle(int digit, long line) noexcept
{
    if (digit < 0 || digit >= kCount || line < 0)
        return;
    int on = digitOn(line);
    if (on < 0)
        lines_[std::size_t(digit)] = line;
    else if (on == digit)
        lines_[std::size_t(digit)] = -1;
}

void Bookmarks::linesReplaced(long at, long removed, long inserted, bool fromLineStart) noexcept
{
    if (removed == 0 && inserted == 0)
        return;
    for (long& line : lines_) {
        if (line < at)
            continue;
        if (line > at + removed)
            line += inserted - removed;
        else if (fromLineStart)
            // Only the last line's tail survives, at the end of the edit.
            line = line == at + removed ? at + inserted : -1;
        else if (line != at)
            line = -1;
    }
}

void Bookmarks::blockReplaced(long at, long removed, long inserted) noexcept
{
    for (long& line : lines_) {
        if (line < at)
            continue;
        if (line >= at + removed)
            line += inserted - removed;
        else if (line >= at + inserted)
            line = -1;
    }
}

} // namespace script::editor
