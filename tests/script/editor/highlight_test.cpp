#include "script/editor/editor_model.h"
#include "script/editor/keyword_list.h"
#include "script/editor/syntax_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace script::editor {
namespace {

// One letter per character: t text, c comment, k keyword, s string.
std::string codes(EditorModel& m, std::size_t line)
{
    std::vector<CharAttr> attrs;
    m.lineAttributes(line, attrs);
    std::string out;
    for (CharAttr a : attrs) {
        switch (a) {
        case CharAttr::Text: out += 't'; break;
        case CharAttr::Comment: out += 'c'; break;
        case CharAttr::Keyword: out += 'k'; break;
        case CharAttr::String: out += 's'; break;
        }
    }
    return out;
}

EditorModel modelOf(TSyntaxType type, std::string_view text)
{
    EditorModel m;
    m.setSyntaxType(type);
    m.setText(text);
    return m;
}

TEST(EditorHighlight, PascalWordsStringsAndComments)
{
    EditorModel m = modelOf(TSyntaxType::stPascal, "BEGIN x := 'a b'; // note\r\n(* one *) End_x end");
    EXPECT_EQ(codes(m, 0), "kkkkkttttttssssstt" "ccccccc");
    // "End_x" is one word, not the keyword "end".
    EXPECT_EQ(codes(m, 1), "ccccccccc" "ttttttt" "kkk");
}

TEST(EditorHighlight, BraceCommentOverFourLines)
{
    EditorModel m = modelOf(TSyntaxType::stPascal, "a { open\r\nbegin\r\n'x'\r\nclose } b\r\nend");
    EXPECT_EQ(codes(m, 0), "ttcccccc");
    EXPECT_EQ(codes(m, 1), "ccccc");
    EXPECT_EQ(codes(m, 2), "ccc");
    EXPECT_EQ(codes(m, 3), "ccccccctt");
    EXPECT_EQ(codes(m, 4), "kkk");
}

TEST(EditorHighlight, UnterminatedStringsEndWithTheirLine)
{
    EditorModel m = modelOf(TSyntaxType::stPascal, "s := 'open\r\nbegin");
    EXPECT_EQ(codes(m, 0), "tttttsssss");
    EXPECT_EQ(codes(m, 1), "kkkkk");
    EditorModel c = modelOf(TSyntaxType::stCpp, "x = \"abc\r\nint");
    EXPECT_EQ(codes(c, 0), "ttttssss");
    EXPECT_EQ(codes(c, 1), "kkk");
}

TEST(EditorHighlight, UnterminatedBlockCommentRunsToTheEnd)
{
    EditorModel m = modelOf(TSyntaxType::stCpp, "int a; /* start\r\nvoid\r\n\"s\" */ int");
    EXPECT_EQ(codes(m, 0), "kkkttttcccccccc");
    EXPECT_EQ(codes(m, 1), "cccc");
    EXPECT_EQ(codes(m, 2), "cccccctkkk");
    EditorModel open = modelOf(TSyntaxType::stPascal, "(* never\r\nclosed *\r\nend");
    EXPECT_EQ(codes(open, 2), "ccc");
    // "(*)" opens and does not close.
    EditorModel tight = modelOf(TSyntaxType::stPascal, "(*) x\r\nend");
    EXPECT_EQ(codes(tight, 1), "ccc");
}

TEST(EditorHighlight, EachSyntaxTypeHasItsOwnMarkers)
{
    // Basic-like: the apostrophe is plain text, "//" comments.
    EditorModel vb = modelOf(TSyntaxType::stVB, "Dim a ' no // yes");
    EXPECT_EQ(codes(vb, 0), "kkk" "tttttttt" "cccccc");
    // JavaScript-like: double-quoted strings, braces are text.
    EditorModel js = modelOf(TSyntaxType::stJs, "var s = \"x\"; { }");
    EXPECT_EQ(codes(js, 0), "kkktttttsssttttt");
    // SQL: "--" comments, "//" does not.
    EditorModel sql = modelOf(TSyntaxType::stSQL, "select // from -- where");
    EXPECT_EQ(codes(sql, 0), "kkkkkkttttkkkktcccccccc");
    // Text: nothing but text.
    EditorModel text = modelOf(TSyntaxType::stText, "begin { 'x' // y");
    EXPECT_EQ(codes(text, 0), std::string(16, 't'));
}

TEST(EditorHighlight, KeywordListsIgnoreCase)
{
    EXPECT_TRUE(IsKeyword(TSyntaxType::stSQL, "ENTRY_POINT"));
    EXPECT_TRUE(IsKeyword(TSyntaxType::stVB, "AddressOf"));
    EXPECT_FALSE(IsKeyword(TSyntaxType::stPascal, "integer"));
    EXPECT_FALSE(IsKeyword(TSyntaxType::stText, "begin"));
    EXPECT_EQ(KeywordList(TSyntaxType::stJs).substr(0, 14), "break,case,con");
}

TEST(EditorHighlight, TabsAndControlBytesKeepTheirPlace)
{
    // Every byte has an attribute, so the keyword after a tab lines up.
    EditorModel m = modelOf(TSyntaxType::stPascal, "\tbegin\x01'a'");
    EXPECT_EQ(codes(m, 0), "tkkkkktsss");
    EXPECT_EQ(m.line(0)[0], '\t');
    // Digits and characters above 127 start no token.
    EditorModel cyr = modelOf(TSyntaxType::stPascal, "9begin \xE1" "end");
    EXPECT_EQ(codes(cyr, 0), "tkkkkkttkkk");
}

TEST(EditorHighlight, EditsRehighlightTheLinesBelow)
{
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "begin x end\r\n";
    EditorModel m = modelOf(TSyntaxType::stPascal, text);
    EXPECT_EQ(codes(m, 1999), "kkkkktttkkk");
    m.insertText("{");
    EXPECT_EQ(codes(m, 1999), std::string(11, 'c'));
    EXPECT_EQ(codes(m, 1000), std::string(11, 'c'));
    m.setPos(1, 1500);
    m.insertText("}");
    EXPECT_EQ(codes(m, 1499), "ckkkkktttkkk");
    EXPECT_EQ(codes(m, 1999), "kkkkktttkkk");
    EXPECT_EQ(codes(m, 1200), std::string(11, 'c'));
    m.undo();
    EXPECT_EQ(codes(m, 1999), std::string(11, 'c'));
    m.undo();
    EXPECT_EQ(codes(m, 1999), "kkkkktttkkk");
    m.setSyntaxType(TSyntaxType::stText);
    EXPECT_EQ(codes(m, 0), std::string(11, 't'));
}

TEST(EditorHighlight, StatesAgreeWithAWholeScanAfterRandomEdits)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += (i % 7 == 0) ? "(* a\r\n" : (i % 11 == 0 ? "b *) c\r\n" : "x { y } z\r\n");
    EditorModel m = modelOf(TSyntaxType::stPascal, text);
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 8) % 1000; };
    const char* pieces[] = {"{", "}", "(*", "*)", "\n", "x"};
    for (int step = 0; step < 200; ++step) {
        m.setPos(long(next() % 12) + 1, long(next() % m.lineCount()) + 1);
        if (next() % 3 == 0)
            m.backspace();
        else
            m.insertText(pieces[next() % 6]);
        std::size_t probe = next() % m.lineCount();
        std::vector<CharAttr> got;
        m.lineAttributes(probe, got);
        ScanState s = ScanState::Normal;
        for (std::size_t l = 0; l < probe; ++l)
            s = ScanLine(TSyntaxType::stPascal, m.line(l), s);
        std::vector<CharAttr> want(m.line(probe).size());
        ScanLine(TSyntaxType::stPascal, m.line(probe), s, want.data());
        ASSERT_EQ(got, want) << "step " << step << " line " << probe;
    }
}

} // namespace
} // namespace script::editor
