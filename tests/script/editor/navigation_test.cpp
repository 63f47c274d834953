#include "script/editor/editor_model.h"

#include <gtest/gtest.h>

#include <string>

namespace script::editor {
namespace {

EditorModel modelOf(std::string_view text)
{
    EditorModel m;
    m.setText(text);
    return m;
}

std::string numberedLines(int n)
{
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

TEST(EditorNavigation, MovementStopsAtTheLimits)
{
    EditorModel m = modelOf("ab\r\ncd");
    m.move(Motion::Left, false);
    m.move(Motion::Up, false);
    EXPECT_EQ(m.cursor(), (TextPos{1, 1}));
    m.move(Motion::TextEnd, false);
    EXPECT_EQ(m.cursor(), (TextPos{2, 3}));
    m.move(Motion::Down, false);
    EXPECT_EQ(m.cursor(), (TextPos{2, 3}));
    m.setPos(1024, 2);
    m.move(Motion::Right, false);
    EXPECT_EQ(m.cursor(), (TextPos{2, 1024}));
    m.setPos(-5, 99);
    EXPECT_EQ(m.cursor(), (TextPos{2, 1}));
    m.move(Motion::TextStart, false);
    EXPECT_EQ(m.cursor(), (TextPos{1, 1}));
}

TEST(EditorNavigation, WordsHomeAndEnd)
{
    EditorModel m = modelOf("  foo_1 := \xE8\xEC\xFF(x);   ");
    m.move(Motion::WordRight, false);
    EXPECT_EQ(m.cursor().column, 3); // "foo_1"
    m.move(Motion::WordRight, false);
    EXPECT_EQ(m.cursor().column, 12); // the Cyrillic word
    m.move(Motion::WordRight, false);
    EXPECT_EQ(m.cursor().column, 16); // "x"
    m.move(Motion::WordRight, false);
    m.move(Motion::WordRight, false);
    EXPECT_EQ(m.cursor().column, 22); // the line's end stops it
    m.move(Motion::WordRight, false);
    EXPECT_EQ(m.cursor(), (TextPos{1, 22}));
    m.move(Motion::WordLeft, false);
    EXPECT_EQ(m.cursor().column, 16);
    m.move(Motion::WordLeft, false);
    EXPECT_EQ(m.cursor().column, 12);
    m.move(Motion::End, false);
    EXPECT_EQ(m.cursor().column, 19); // past the last non-blank
    m.move(Motion::Home, false);
    EXPECT_EQ(m.cursor().column, 1);
    m.move(Motion::WordLeft, false);
    EXPECT_EQ(m.cursor().column, 1);
}

TEST(EditorNavigation, ShiftExtendsFromTheFirstAnchor)
{
    EditorModel m = modelOf("abcdef\r\nghi");
    m.setPos(3, 1);
    m.move(Motion::Right, true);
    m.move(Motion::Right, true);
    m.move(Motion::Down, true);
    EXPECT_EQ(m.selectionAnchor(), (TextPos{1, 3}));
    EXPECT_EQ(m.selectedText(), "cdef\r\nghi"); // the end is cut to the line
    m.move(Motion::Left, false);
    EXPECT_FALSE(m.hasSelection());
    m.selectAll();
    EXPECT_EQ(m.selectedText(), "abcdef\r\nghi");
    EXPECT_EQ(m.cursor(), (TextPos{2, 4}));
}

TEST(EditorNavigation, ClicksDragsAndDoubleClicks)
{
    EditorModel m = modelOf("alpha beta_2 gamma");
    m.clickAt(TextPos{1, 9});
    EXPECT_EQ(m.cursor(), (TextPos{1, 9}));
    m.selectWordAtCursor();
    EXPECT_EQ(m.selectedText(), "beta_2");
    m.clickAt(TextPos{1, 2});
    EXPECT_FALSE(m.hasSelection());
    m.dragTo(TextPos{1, 5});
    EXPECT_EQ(m.selectedText(), "lph");
    m.clickAt(TextPos{1, 6}); // a blank: no word
    m.selectWordAtCursor();
    EXPECT_FALSE(m.hasSelection());
}

TEST(EditorNavigation, CursorPlacementScrollsJustEnough)
{
    EditorModel m = modelOf(numberedLines(100));
    m.setViewSize(10, 20);
    m.setPos(1, 15);
    EXPECT_EQ(m.topLine(), 5); // line 15 is the last row
    m.setPos(1, 3);
    EXPECT_EQ(m.topLine(), 2);
    m.setPos(30, 3);
    EXPECT_EQ(m.leftColumn(), 10); // column 30 is the last visible one
    m.setPos(5, 3);
    EXPECT_EQ(m.leftColumn(), 4);
    // Far right and far down at once: both scroll.
    m.setPos(60, 80);
    EXPECT_EQ(m.leftColumn(), 40);
    EXPECT_EQ(m.topLine(), 70);
    m.scrollTo(1000);
    EXPECT_EQ(m.topLine(), 99); // at most the last line
    m.scrollTo(-3);
    EXPECT_EQ(m.topLine(), 0);
}

TEST(EditorNavigation, PageUpAndDown)
{
    EditorModel m = modelOf(numberedLines(25));
    ASSERT_EQ(m.lineCount(), 25u);
    m.setViewSize(10, 40);
    m.move(Motion::PageDown, false);
    EXPECT_EQ(m.cursor().line, 10);
    EXPECT_EQ(m.topLine(), 9);
    m.move(Motion::PageDown, false);
    EXPECT_EQ(m.cursor().line, 19);
    EXPECT_EQ(m.topLine(), 18);
    m.move(Motion::PageDown, false); // near the end: the last line, at the top
    EXPECT_EQ(m.cursor().line, 25);
    EXPECT_EQ(m.topLine(), 24);
    m.move(Motion::PageUp, false);
    EXPECT_EQ(m.cursor().line, 16);
    EXPECT_EQ(m.topLine(), 15);
    m.move(Motion::PageUp, false);
    m.move(Motion::PageUp, false);
    EXPECT_EQ(m.cursor().line, 1);
    EXPECT_EQ(m.topLine(), 0);
}

TEST(EditorNavigation, SearchForwardFromTheNextLine)
{
    EditorModel m = modelOf("Begin x\r\nx := BEGIN;\r\n  begin\r\nend");
    EXPECT_TRUE(m.find("begin"));
    EXPECT_EQ(m.cursor(), (TextPos{2, 6}));
    EXPECT_TRUE(m.findNext());
    EXPECT_EQ(m.cursor(), (TextPos{3, 3}));
    EXPECT_FALSE(m.findNext());
    EXPECT_EQ(m.footerMessage(), "Text \"begin\" not found.");
    EXPECT_EQ(m.cursor(), (TextPos{3, 3}));
    m.move(Motion::Left, false); // any movement clears the message
    EXPECT_EQ(m.footerMessage(), "");
    // With case.
    m.setPos(1, 1);
    EXPECT_TRUE(m.find("begin", SearchOptions{true, false}));
    EXPECT_EQ(m.cursor(), (TextPos{3, 3}));
}

TEST(EditorNavigation, SearchBackward)
{
    EditorModel m = modelOf("ab ab\r\nxx\r\nAB\r\nzz");
    m.setPos(1, 4);
    EXPECT_TRUE(m.find("ab", SearchOptions{false, true}));
    EXPECT_EQ(m.cursor(), (TextPos{3, 1}));
    EXPECT_TRUE(m.findNext(SearchOptions{false, true}));
    EXPECT_EQ(m.cursor(), (TextPos{1, 4})); // the last occurrence of the line
    EXPECT_FALSE(m.findNext(SearchOptions{false, true}));
    m.setPos(1, 4);
    EXPECT_TRUE(m.find("ab", SearchOptions{true, true}));
    EXPECT_EQ(m.cursor(), (TextPos{1, 4}));
}

TEST(EditorNavigation, SearchEdgeCases)
{
    // One line: never found, whatever it holds.
    EditorModel one = modelOf("needle");
    EXPECT_FALSE(one.find("needle"));
    EXPECT_EQ(one.footerMessage(), "Text \"needle\" not found.");
    EXPECT_EQ(one.lastSearchText(), "needle");
    // Cyrillic letters compare with their case.
    EditorModel cyr = modelOf("x\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_TRUE(cyr.find("\xEF\xF0\xE8\xE2\xE5\xF2"));
    EXPECT_EQ(cyr.cursor(), (TextPos{3, 1}));
}

TEST(EditorNavigation, ReplaceAtTheCursorAndEverywhere)
{
    EditorModel m = modelOf("a := b;\r\nb := b + 1;\r\nc := B;");
    m.setPos(1, 1);
    EXPECT_FALSE(m.replaceAtCursor("b", "value"));
    m.setPos(6, 1);
    EXPECT_TRUE(m.replaceAtCursor("b", "value"));
    EXPECT_EQ(m.line(0), "a := value;");
    EXPECT_EQ(m.cursor(), (TextPos{1, 11}));
    EXPECT_EQ(m.replaceAll("b", "v", true), 2u);
    EXPECT_EQ(m.line(1), "v := v + 1;");
    EXPECT_EQ(m.line(2), "c := B;");
    EXPECT_EQ(m.replaceAll("b", "w"), 1u); // Latin letters ignore case
    EXPECT_EQ(m.line(2), "c := w;");
    m.undo();
    EXPECT_EQ(m.line(2), "c := B;");
    m.undo();
    EXPECT_EQ(m.line(1), "b := b + 1;");
    // A replacement with a line break splits the lines, bottom up.
    EXPECT_EQ(m.replaceAll(":=", "=\n"), 3u);
    EXPECT_EQ(m.lineCount(), 6u);
    EXPECT_EQ(m.line(5), " B;");
}

} // namespace
} // namespace script::editor
