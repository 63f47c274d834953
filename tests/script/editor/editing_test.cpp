#include "script/editor/editor_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace script::editor {
namespace {

// The raw lines (padding included) joined with "|".
std::string raw(const EditorModel& m)
{
    std::string out;
    for (std::size_t i = 0; i < m.lineCount(); ++i)
        out += (i ? "|" : "") + m.line(i);
    return out;
}

EditorModel modelOf(std::string_view text)
{
    EditorModel m;
    m.setText(text);
    return m;
}

TEST(EditorEditing, TypingBeyondTheLineEndPads)
{
    EditorModel m;
    m.setPos(10, 1);
    m.insertText("x");
    EXPECT_EQ(raw(m), "         x");
    EXPECT_EQ(m.cursor(), (TextPos{1, 11}));
    // Reading the lines drops the padding of a line typed past its end.
    m.setPos(20, 1);
    m.insertText(" ");
    EXPECT_EQ(m.lines(), std::vector<std::string>{"         x"});
}

TEST(EditorEditing, TypingReplacesTheSelection)
{
    EditorModel m = modelOf("hello world");
    m.setPos(1, 1);
    for (int i = 0; i < 5; ++i)
        m.move(Motion::Right, true);
    m.insertText("HI");
    EXPECT_EQ(raw(m), "HI world");
    EXPECT_FALSE(m.hasSelection());
    EXPECT_EQ(m.cursor(), (TextPos{1, 3}));
}

TEST(EditorEditing, PastedTabsAndLineBreaksAreKept)
{
    EditorModel m = modelOf("ab");
    m.setPos(2, 1);
    m.insertText("1\t2\r\n\t3\n4\r5");
    EXPECT_EQ(raw(m), "a1\t2|\t3|4|5b");
    EXPECT_EQ(m.cursor(), (TextPos{4, 2}));
    m.selectAll();
    EXPECT_EQ(m.selectedText(), "a1\t2\r\n\t3\r\n4\r\n5b");
}

TEST(EditorEditing, EnterKeepsTheIndentation)
{
    EditorModel m = modelOf("  begin");
    m.move(Motion::End, false);
    m.newLine();
    EXPECT_EQ(raw(m), "  begin|  ");
    EXPECT_EQ(m.cursor(), (TextPos{2, 3}));
    // On a blank line the new line is indented to the former column.
    EditorModel blank = modelOf("");
    blank.setPos(5, 1);
    blank.newLine();
    EXPECT_EQ(blank.cursor(), (TextPos{2, 5}));
    // In the middle of a line the right part moves down, indented.
    EditorModel mid = modelOf("    a := b;");
    mid.setPos(9, 1);
    mid.newLine();
    EXPECT_EQ(raw(mid), "    a :=|     b;");
    // One undo takes it all back.
    mid.undo();
    EXPECT_EQ(raw(mid), "    a := b;");
    EXPECT_EQ(mid.cursor(), (TextPos{1, 9}));
}

TEST(EditorEditing, TabLinesUpWithTheLineAbove)
{
    EditorModel m = modelOf("  if a  then\r\n\r\n");
    m.setPos(1, 2);
    m.tab(); // a blank above: to the next non-blank column
    EXPECT_EQ(m.cursor(), (TextPos{2, 3}));
    m.tab(); // on "if": to the next word, "a"
    EXPECT_EQ(m.cursor(), (TextPos{2, 6}));
    m.tab(); // on "a": past the blanks to "then"
    EXPECT_EQ(m.cursor(), (TextPos{2, 9}));
    m.tab(); // on "then": just past the line's text
    EXPECT_EQ(m.cursor(), (TextPos{2, 13}));
    std::size_t depth = m.undoDepth();
    m.tab(); // no line above reaches column 13
    EXPECT_EQ(m.cursor(), (TextPos{2, 13}));
    EXPECT_EQ(m.undoDepth(), depth);
    EXPECT_EQ(raw(m), "  if a  then|            ");
}

TEST(EditorEditing, BackspaceFollowsTheIndentationAbove)
{
    EditorModel m = modelOf("begin\r\n  a;\r\n    b;");
    m.setPos(5, 3);
    m.backspace();
    EXPECT_EQ(raw(m), "begin|  a;|  b;");
    EXPECT_EQ(m.cursor(), (TextPos{3, 3}));
    m.backspace();
    EXPECT_EQ(raw(m), "begin|  a;|b;");
    // Inside a word: one character.
    m.setPos(2, 3);
    m.backspace();
    EXPECT_EQ(raw(m), "begin|  a;|;");
    // At column 1: joined to the previous line, without its trailing blanks.
    EditorModel j = modelOf("x   \r\ny");
    j.setPos(1, 2);
    j.backspace();
    EXPECT_EQ(raw(j), "xy");
    EXPECT_EQ(j.cursor(), (TextPos{1, 2}));
    // On the first line's indentation, one character.
    EditorModel first = modelOf("    a");
    first.setPos(5, 1);
    first.backspace();
    EXPECT_EQ(raw(first), "   a");
    // Below a first line that begins further right: one character.
    EditorModel right = modelOf("      x\r\n    y");
    right.setPos(5, 2);
    right.backspace();
    EXPECT_EQ(raw(right), "      x|   y");
    // Nothing before line 1, column 1.
    EditorModel none = modelOf("a");
    none.backspace();
    EXPECT_EQ(none.undoDepth(), 0u);
    EXPECT_FALSE(none.modified());
}

TEST(EditorEditing, DeleteJoinsAtTheLineEnd)
{
    EditorModel m = modelOf("ab\r\ncd   \r\nef");
    m.setPos(5, 1);
    m.deleteForward();
    EXPECT_EQ(raw(m), "ab  cd|ef");
    m.setPos(1, 1);
    m.deleteForward();
    EXPECT_EQ(raw(m), "b  cd|ef");
    m.setPos(3, 2);
    m.deleteForward(); // the last line's end: nothing to join
    EXPECT_EQ(raw(m), "b  cd|ef");
}

TEST(EditorEditing, DeleteLineEmptiesTheLastLine)
{
    EditorModel m = modelOf("one\r\ntwo\r\nthree");
    m.setPos(3, 2);
    m.deleteLine();
    EXPECT_EQ(raw(m), "one|three");
    EXPECT_EQ(m.cursor(), (TextPos{2, 3}));
    m.deleteLine();
    EXPECT_EQ(raw(m), "one|");
    EXPECT_EQ(m.cursor(), (TextPos{2, 1}));
}

TEST(EditorEditing, BlockIndentAndUnindent)
{
    EditorModel m = modelOf("a\r\n    b\r\n\r\n   c\r\nd");
    m.setPos(1, 2);
    m.dragTo(TextPos{5, 1}); // ends at column 1: line 5 stays out
    m.indentBlock();
    EXPECT_EQ(raw(m), "a|      b|  |     c|d");
    m.unindentBlock();
    EXPECT_EQ(raw(m), "a|    b|  |   c|d");
    m.unindentBlock(); // blank lines neither limit nor lose anything
    EXPECT_EQ(raw(m), "a|  b|  | c|d");
    m.unindentBlock(); // the smallest indentation is one blank
    EXPECT_EQ(raw(m), "a| b|  |c|d");
    std::size_t depth = m.undoDepth();
    m.unindentBlock(); // "c" has none left: no change, no snapshot
    EXPECT_EQ(m.undoDepth(), depth);
    m.clearSelection();
    m.indentBlock(); // needs a selection
    EXPECT_EQ(raw(m), "a| b|  |c|d");
}

TEST(EditorEditing, CutCopyAndSelectionBounds)
{
    EditorModel m = modelOf("abc\r\ndef\r\nghi");
    m.setPos(2, 1);
    m.dragTo(TextPos{2, 3});
    EXPECT_EQ(m.selectedText(), "bc\r\nde");
    EXPECT_EQ(m.cut(), "bc\r\nde");
    EXPECT_EQ(raw(m), "af|ghi");
    EXPECT_EQ(m.cut(), ""); // nothing selected
    // A lower end past its line starts at the next line; a higher end
    // past its line is cut to the line's end.
    EditorModel p = modelOf("ab\r\ncd\r\nef");
    p.setPos(9, 1);
    p.dragTo(TextPos{2, 9});
    EXPECT_EQ(p.selectedText(), "cd");
    p.backspace();
    EXPECT_EQ(raw(p), "ab||ef");
}

TEST(EditorEditing, SelectionAcrossALineLongerThan1024)
{
    const std::string longLine(1100, 'x');
    EditorModel m = modelOf("start\r\n" + longLine + "\r\nend");
    m.setPos(3, 1);
    m.dragTo(TextPos{3, 3});
    EXPECT_EQ(m.selectedText(), "art\r\n" + longLine + "\r\nen");
    // The end of the long line is reachable and sorts before the next line.
    m.setPos(1, 2);
    m.move(Motion::End, false);
    EXPECT_EQ(m.cursor(), (TextPos{2, 1101}));
    m.move(Motion::Down, true);
    EXPECT_EQ(m.selectedText(), "\r\nend");
    EXPECT_TRUE(m.isSelected(TextPos{2, 1101}));
    EXPECT_FALSE(m.isSelected(TextPos{2, 1100}));
    m.move(Motion::Up, false);
    m.setPos(1050, 2);
    m.dragTo(TextPos{3, 1});
    EXPECT_EQ(m.selectedText(), std::string(51, 'x') + "\r\n");
    m.deleteForward();
    EXPECT_EQ(m.line(1), std::string(1049, 'x') + "end");
    // Elsewhere the column stops at 1024.
    m.setPos(5000, 1);
    EXPECT_EQ(m.cursor().column, 1024);
}

TEST(EditorEditing, UndoAcross32Steps)
{
    EditorModel m = modelOf("");
    for (int i = 0; i < 33; ++i)
        m.insertText(std::string(1, char('a' + i % 26)));
    EXPECT_EQ(m.undoDepth(), 32u);
    for (int i = 0; i < 32; ++i)
        m.undo();
    EXPECT_EQ(raw(m), "a"); // as it was 32 changes ago; the first is gone
    EXPECT_EQ(m.cursor(), (TextPos{1, 2}));
    EXPECT_FALSE(m.canUndo());
    m.undo(); // an empty list: nothing
    EXPECT_EQ(raw(m), "a");
}

TEST(EditorEditing, SnapshotsShareUnchangedLines)
{
    // Undo of edits far apart in a long text restores exactly.
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    EditorModel m = modelOf(text);
    const auto before = m.lines();
    for (int i = 0; i < 32; ++i) {
        m.setPos(3, long(i * 600 + 1));
        if (i % 3 == 0)
            m.newLine();
        else if (i % 3 == 1)
            m.insertText("ab\r\ncd");
        else
            m.deleteLine();
    }
    while (m.canUndo())
        m.undo();
    EXPECT_EQ(m.lines(), before);
}

TEST(EditorEditing, BookmarksFollowAndDieWithTheirLines)
{
    EditorModel m = modelOf("0\r\n1\r\n2\r\n3\r\n4\r\n5");
    m.setPos(1, 2);
    m.toggleBookmark(1);
    m.setPos(1, 4);
    m.toggleBookmark(3);
    m.toggleBookmark(4); // the line carries another digit: nothing
    EXPECT_EQ(m.bookmarkLine(4), -1);
    m.setPos(1, 6);
    m.toggleBookmark(5);
    EXPECT_EQ(m.bookmarkOn(3), 3);
    // Enter at the start of line 1 moves the bookmarks below by one.
    m.setPos(1, 1);
    m.newLine();
    EXPECT_EQ(m.bookmarkLine(1), 2);
    EXPECT_EQ(m.bookmarkLine(3), 4);
    // Deleting the lines "1" to "3" removes the bookmark on "1" and moves
    // the one on "3", whose tail stays.
    m.setPos(1, 3);
    m.dragTo(TextPos{5, 1});
    m.deleteForward();
    EXPECT_EQ(m.bookmarkLine(1), -1);
    EXPECT_EQ(m.bookmarkLine(3), 2);
    EXPECT_EQ(m.line(2), "3");
    EXPECT_EQ(m.bookmarkLine(5), 4);
    // Ctrl+Y removes the line and its bookmark.
    m.setPos(1, 3);
    m.deleteLine();
    EXPECT_EQ(m.bookmarkLine(3), -1);
    EXPECT_EQ(m.bookmarkLine(5), 3);
    m.gotoBookmark(5);
    EXPECT_EQ(m.cursor().line, 4);
    m.toggleBookmark(5); // the same digit again removes it
    EXPECT_EQ(m.bookmarkLine(5), -1);
}

TEST(EditorEditing, UndoKeepsBookmarksOnUnchangedLines)
{
    EditorModel m = modelOf("a\r\nb\r\nc\r\nd");
    m.setPos(1, 4);
    m.toggleBookmark(7);
    m.setPos(1, 1);
    m.insertText("x\r\ny\r\n");
    EXPECT_EQ(m.bookmarkLine(7), 5);
    m.undo();
    EXPECT_EQ(m.bookmarkLine(7), 3);
}

TEST(EditorEditing, LinesAreCopiesAndSettingThemResets)
{
    EditorModel m = modelOf("abc  \r\ndef");
    int changes = 0;
    m.onChange = [&] { ++changes; };
    m.setPos(2, 2);
    m.insertText("!");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(m.modified());
    std::vector<std::string> copy = m.lines();
    EXPECT_EQ(copy, (std::vector<std::string>{"abc", "d!ef"}));
    copy[0] = "changed behind its back";
    EXPECT_EQ(m.line(0), "abc  ");
    EXPECT_EQ(m.text(), "abc\r\nd!ef\r\n");
    m.setLines({"new", "text"});
    EXPECT_EQ(changes, 1); // no change notice
    EXPECT_FALSE(m.canUndo());
    EXPECT_EQ(m.cursor(), (TextPos{1, 1}));
    EXPECT_EQ(m.topLine(), 0);
    m.setLines({});
    EXPECT_EQ(m.lineCount(), 1u);
    EXPECT_EQ(m.line(0), "");
}

TEST(EditorEditing, TextsOver16MegabytesAreRefused)
{
    EditorModel m = modelOf("kept");
    std::string huge(EditorModel::kMaxTextBytes + 1, 'x');
    EXPECT_FALSE(m.setText(huge));
    EXPECT_EQ(m.line(0), "kept");
    EXPECT_NE(m.footerMessage().find("16 MB"), std::string::npos);

    const std::string path = ::testing::TempDir() + "editor_huge.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << huge;
    }
    std::string error;
    EXPECT_FALSE(m.loadFile(path, &error));
    EXPECT_NE(error.find("16 MB"), std::string::npos);
    std::remove(path.c_str());
}

TEST(EditorEditing, LoadAndSaveFiles)
{
    const std::string path = ::testing::TempDir() + "editor_script.pas";
    {
        std::ofstream out(path, std::ios::binary);
        out << "begin\r\n  x := '\xEF\xF0\xE8\xE2\xE5\xF2';\nend.";
    }
    EditorModel m;
    ASSERT_TRUE(m.loadFile(path));
    EXPECT_EQ(m.lineCount(), 3u);
    EXPECT_EQ(m.line(1), "  x := '\xEF\xF0\xE8\xE2\xE5\xF2';");
    m.setPos(5, 3);
    m.insertText("  ");
    ASSERT_TRUE(m.saveFile(path));
    std::ifstream in(path, std::ios::binary);
    std::string back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(back, "begin\r\n  x := '\xEF\xF0\xE8\xE2\xE5\xF2';\r\nend.\r\n");
    std::string error;
    EXPECT_FALSE(m.loadFile(path + ".missing", &error));
    EXPECT_FALSE(error.empty());
    std::remove(path.c_str());
}

TEST(EditorEditing, ReadOnlyRefusesEditsButMovesAndCopies)
{
    EditorModel m = modelOf("abc\r\ndef");
    m.setReadOnly(true);
    m.setPos(1, 1);
    m.move(Motion::Right, true);
    m.insertText("x");
    m.backspace();
    m.deleteForward();
    m.newLine();
    m.deleteLine();
    m.indentBlock();
    EXPECT_EQ(m.cut(), "");
    EXPECT_EQ(m.replaceAll("a", "b"), 0u);
    EXPECT_EQ(raw(m), "abc|def");
    EXPECT_EQ(m.selectedText(), "a");
    EXPECT_FALSE(m.modified());
    EXPECT_FALSE(m.canUndo());
}

} // namespace
} // namespace script::editor
