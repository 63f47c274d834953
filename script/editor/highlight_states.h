#pragma once
// The scan state at the start of every line, worked out lazily: an edit
// marks the lines from the edit on as unknown, and the next look-up scans
// forward from the last known line until it reaches the line asked for, or
// until, past the edited lines, a line starts in the state it had before
// (everything below is then as it was). Typing inside a 100,000-line text
// rescans a line or two; opening a comment rescans only down to the lines
// on screen.

#include "script/editor/syntax_scanner.h"

#include <cstddef>
#include <vector>

namespace script::editor {

class LineStore;

class HighlightStates {
public:
    // Every state unknown (a new text, another syntax type).
    void reset(std::size_t lineCount);
    // Lines [at, at + removed) became `inserted` lines.
    void linesReplaced(std::size_t at, std::size_t removed, std::size_t inserted);
    // The state at the start of line `index`.
    ScanState stateAt(std::size_t index, const LineStore& lines, TSyntaxType type);

private:
    std::vector<ScanState> starts_;
    // starts_[0 .. known_] are right.
    std::size_t known_ = 0;
    // starts_[settled_ ..] were right before the latest edits: once a scan
    // that reaches settled_ or beyond finds a state equal to the stored
    // one, all the rest are right again.
    std::size_t settled_ = 0;
};

} // namespace script::editor
