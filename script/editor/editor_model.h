#pragma once
// The script editor without a toolkit: the text (8-bit, code page 1251),
// the cursor, the selection, the view, the undo snapshots, the bookmarks,
// the highlighting and every command. A window draws it and turns keys and
// mouse clicks into its commands.
//
// The cursor column never exceeds 1024, or a line's end when the
// line is longer. There is always at least one line.

#include "script/editor/bookmarks.h"
#include "script/editor/highlight_states.h"
#include "script/editor/line_store.h"
#include "script/editor/syntax_type.h"
#include "script/editor/text_search.h"
#include "script/editor/text_position.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace script::editor {

enum class Motion {
    Left, Right, WordLeft, WordRight, Up, Down, Home, End, TextStart, TextEnd, PageUp, PageDown,
};

class EditorModel {
public:
    static constexpr long kMaxColumn = 1024;
    static constexpr std::size_t kUndoDepth = 32;
    // The largest text the editor takes in, in bytes.
    static constexpr std::size_t kMaxTextBytes = 16u << 20;

    EditorModel();

    // --- The text ---------------------------------------------------
    std::size_t lineCount() const noexcept { return lines_.size(); }
    // index counts from 0.
    const std::string& line(std::size_t index) const { return lines_[index]; }
    // A copy of the lines, trailing blanks removed (they pad lines where
    // text was typed beyond their end).
    std::vector<std::string> lines() const;
    // The lines joined with CR LF, trailing blanks removed.
    std::string text() const;
    // Replaces the text and resets the editor: an empty list becomes one
    // empty line, the undo list is cleared, the cursor goes to column 1 of
    // line 1, the view to the top left, the selection is removed. Does not
    // call onChange. A text over kMaxTextBytes is refused: false, the
    // footer message says why, the editor keeps its text.
    bool setLines(std::vector<std::string> lines);
    // As setLines, the text split at CR LF, LF or CR.
    bool setText(std::string_view text);
    // Reads a file into the editor (setText). False with a message in
    // *error (and the footer) when it cannot be read or is too large.
    bool loadFile(const std::string& path, std::string* error = nullptr);
    // Writes text() to a file safely (a temporary file renamed into place).
    bool saveFile(const std::string& path, std::string* error = nullptr) const;

    TSyntaxType syntaxType() const noexcept { return syntax_; }
    void setSyntaxType(TSyntaxType type);
    bool readOnly() const noexcept { return readOnly_; }
    void setReadOnly(bool on) noexcept { readOnly_ = on; }
    bool modified() const noexcept { return modified_; }
    void setModified(bool on) noexcept { modified_ = on; }
    // Called after every change an editing command makes.
    std::function<void()> onChange;
    // Grows with every change of the text, however made.
    std::size_t revision() const noexcept { return revision_; }

    // The attributes of a line, one per byte.
    void lineAttributes(std::size_t index, std::vector<CharAttr>& out);
    // Every state unknown again (another syntax type, a test).
    void rehighlight();

    // --- Cursor and view --------------------------------------------
    TextPos cursor() const noexcept { return cursor_; }
    // Places the cursor (clamped) and scrolls it into view.
    void setPos(long column, long line);
    long topLine() const noexcept { return topLine_; }       // from 0
    long leftColumn() const noexcept { return leftColumn_; } // from 0
    long visibleRows() const noexcept { return rows_; }
    long visibleColumns() const noexcept { return columns_; }
    void setViewSize(long rows, long columns) noexcept;
    // The first visible line, limited to the text.
    void scrollTo(long topLine) noexcept;
    long maxColumnOf(long line) const noexcept;

    // --- Selection --------------------------------------------------
    bool hasSelection() const noexcept { return selecting_ && anchor_ != end_; }
    TextPos selectionAnchor() const noexcept { return anchor_; }
    TextPos selectionEnd() const noexcept { return end_; }
    // Whether the cell at a position is selected: from the lower end
    // (included) to the higher (excluded). Cells past a line's end count.
    bool isSelected(TextPos p) const noexcept;
    // The selected text, lines joined with CR LF; empty without one.
    std::string selectedText() const;
    void selectAll();
    void clearSelection() noexcept { selecting_ = false; }

    // --- Cursor movement (extend: Shift held) -------------------------
    void move(Motion motion, bool extend);
    // A click: the cursor on the cell, no selection; dragging extends.
    void clickAt(TextPos p);
    void dragTo(TextPos p);
    // The word at the cursor (letters, digits, "_"), selected.
    void selectWordAtCursor();

    // --- Editing commands (nothing while readOnly) --------------------
    void insertText(std::string_view text); // typing, pasting
    void newLine();                         // Enter
    void tab();
    void backspace();
    void deleteForward();                   // Delete
    // The selected text, removed; empty (nothing removed) without one.
    std::string cut();
    void deleteLine();                      // Ctrl+Y
    void indentBlock();                     // Ctrl+I
    void unindentBlock();                   // Ctrl+U
    void undo();                            // Ctrl+Z
    bool canUndo() const noexcept { return !undo_.empty(); }
    std::size_t undoDepth() const noexcept { return undo_.size(); }

    // --- Bookmarks --------------------------------------------------
    void toggleBookmark(int digit);
    void gotoBookmark(int digit);
    // The line (from 0) of a bookmark, or -1; the digit on a line, or -1.
    long bookmarkLine(int digit) const noexcept { return bookmarks_.lineOf(digit); }
    int bookmarkOn(long line) const noexcept { return bookmarks_.digitOn(line); }

    // --- Search and replace -----------------------------------------
    // Searches the lines after the cursor's line (before it, backward) and
    // puts the cursor on the first occurrence in the first line that has
    // one (the last occurrence, backward). Not found: the footer message
    // 'Text "..." not found.'. Remembers the text as the last search text.
    bool find(std::string_view what, SearchOptions options = {});
    // Searches again for the last search text.
    bool findNext(SearchOptions options = {});
    const std::string& lastSearchText() const noexcept { return lastSearch_; }
    void setLastSearchText(std::string text) { lastSearch_ = std::move(text); }
    // Replaces the occurrence at the cursor, if there is one, and leaves
    // the cursor after it.
    bool replaceAtCursor(std::string_view what, std::string_view with, bool matchCase = false);
    // Replaces every occurrence in one undo step; the number replaced.
    std::size_t replaceAll(std::string_view what, std::string_view with, bool matchCase = false);

    // --- Footer -----------------------------------------------------
    // Shown until the cursor next moves.
    const std::string& footerMessage() const noexcept { return footer_; }
    void showMessage(std::string message) { footer_ = std::move(message); }

private:
    struct Snapshot {
        LineStore text;
        TextPos cursor;
    };

    // Every editing command: refused while read-only; the snapshot taken
    // before the change goes on the undo list only when the text changed.
    bool beginChange();
    void endChange();
    void pushSnapshot(Snapshot snapshot);

    // The text primitive: [from, to) (both within their lines, from <= to)
    // becomes `text`, split at line breaks. Keeps the bookmarks and the
    // highlight states in step. Returns the position after the new text.
    TextPos replaceRange(TextPos from, TextPos to, std::string_view text);
    // Pads a line with blanks so that `column` lies within it.
    void padTo(TextPos p);
    // The selection as text bounds: a lower end past its line starts at
    // the next line; a higher one past its line is cut to the line's end.
    // Empty (first == second) when nothing is selected.
    std::pair<TextPos, TextPos> selectionRange() const;
    // Removes the selected text; the cursor goes where it began.
    void deleteSelection();
    void resetAfterNewText();

    // Cursor placement: clears the footer, clamps, scrolls into view.
    void placeCursor(TextPos p);
    void scrollIntoView();
    TextPos motionTarget(Motion motion);
    void indentLines(bool indent);

    LineStore lines_;
    HighlightStates states_;
    Bookmarks bookmarks_;
    std::deque<Snapshot> undo_;
    Snapshot pending_;
    std::size_t pendingRevision_ = 0;

    TSyntaxType syntax_ = TSyntaxType::stPascal;
    bool readOnly_ = false;
    bool modified_ = false;
    std::size_t revision_ = 0;

    TextPos cursor_;
    long topLine_ = 0;
    long leftColumn_ = 0;
    long rows_ = 1;
    long columns_ = 1;

    bool selecting_ = false;
    TextPos anchor_;
    TextPos end_;

    std::string footer_;
    std::string lastSearch_;
};

} // namespace script::editor
