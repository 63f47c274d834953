#pragma once
// Ten bookmark slots, numbered 0 to 9, each a line index (from 0) or -1.
// A line carries at most one bookmark. When lines are inserted or removed
// the bookmarks follow their lines, and a bookmark whose line is removed
// is removed with it.

#include <array>
#include <cstddef>

namespace script::editor {

class Bookmarks {
public:
    static constexpr int kCount = 10;

    Bookmarks() { clear(); }
    void clear() noexcept { lines_.fill(-1); }

    // The line of bookmark digit, or -1.
    long lineOf(int digit) const noexcept { return digit >= 0 && digit < kCount ? lines_[std::size_t(digit)] : -1; }
    // The digit of the bookmark on a line, or -1.
    int digitOn(long line) const noexcept;
    // Sets the digit on a line that carries none; removes it from a line
    // that carries that same digit; otherwise nothing.
    void toggle(int digit, long line) noexcept;

    // Lines [at, at + removed] became [at, at + inserted] (the first line
    // of each is the line the edit began in). With `fromLineStart`, the
    // edit began at its first line's column 1, so that line's own text
    // moved to the end of the edit; otherwise it stayed in place.
    void linesReplaced(long at, long removed, long inserted, bool fromLineStart) noexcept;
    // Lines [at, at + removed) became `inserted` other lines, with no
    // knowledge of what moved where (undo): bookmarks keep their place
    // among the first lines and go with the ones past the new count.
    void blockReplaced(long at, long removed, long inserted) noexcept;

private:
    std::array<long, kCount> lines_;
};

} // namespace script::editor
