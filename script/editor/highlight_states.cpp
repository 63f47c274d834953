#include "script/editor/highlight_states.h"

#include "script/editor/line_store.h"

#include <algorithm>
#include <cassert>

namespace script::editor {

void HighlightStates::reset(std::size_t lineCount)
{
    starts_.assign(std::max<std::size_t>(lineCount, 1), ScanState::Normal);
    known_ = 0;
    settled_ = starts_.size(); // nothing stored can be trusted
}

void HighlightStates::linesReplaced(std::size_t at, std::size_t removed, std::size_t inserted)
{
    assert(at + removed <= starts_.size());
    auto pos = starts_.begin() + std::ptrdiff_t(at);
    if (inserted > removed)
        starts_.insert(pos, inserted - removed, ScanState::Normal);
    else
        starts_.erase(pos, pos + std::ptrdiff_t(removed - inserted));
    if (starts_.empty())
        starts_.push_back(ScanState::Normal);
    // The start of line `at` depends only on the lines above it.
    known_ = std::min(known_, at);
    std::size_t settled = settled_ >= at + removed ? settled_ - removed + inserted : settled_;
    settled_ = std::max(settled, at + inserted);
}

ScanState HighlightStates::stateAt(std::size_t index, const LineStore& lines, TSyntaxType type)
{
    assert(starts_.size() == std::max<std::size_t>(lines.size(), 1));
    if (index <= known_)
        return starts_[index];
    bool done = false;
    lines.forEach(known_, index, [&](std::size_t i, const std::string& line) {
        if (done)
            return;
        ScanState next = ScanLine(type, line, starts_[i]);
        if (i + 1 >= settled_ && starts_[i + 1] == next) {
            done = true;
            return;
        }
        starts_[i + 1] = next;
        known_ = i + 1;
    });
    if (done) {
        known_ = starts_.size() - 1;
        settled_ = 0;
    }
    return starts_[index];
}

} // namespace script::editor
