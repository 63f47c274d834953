// The lexical parser: blanks and comments, each kind of token, positions.

#include "script/parser/lexical_parser.h"

#include <gtest/gtest.h>

using script::TfsParser;

namespace {

// The settings the Basic-like grammar gives.
void basicSettings(TfsParser& p)
{
    p.SetCommentLine1("'");
    p.SetCommentLine2("rem");
    p.SetCommentBlock1("/\\,/\\");
    p.SetCommentBlock2("/\\,/\\");
    p.SetStringQuote('"');
    p.SetHexSequence("0x");
    p.SetSkipEOL(false);
    p.SetSkipChar('_');
}

// The settings of the C-like grammar (double quotes, escapes).
void cSettings(TfsParser& p)
{
    p.SetCommentBlock1("/*,*/");
    p.SetCommentBlock2("/*,*/");
    p.SetStringQuote('"');
    p.SetHexSequence("0x");
}

struct Read {
    std::string token;
    std::size_t position; // after the read
};

Read number(TfsParser& p, std::string_view text)
{
    p.SetText(text);
    std::string t = p.ReadNumber();
    return {t, p.Position()};
}

Read string(TfsParser& p, std::string_view text)
{
    p.SetText(text);
    std::string t = p.ReadString();
    return {t, p.Position()};
}

} // namespace

TEST(Lexer, DefaultsSkipPascalComments)
{
    TfsParser p;
    p.SetText("  // line\r\n\t{ block }(* other *) {}x");
    p.SkipBlanks();
    EXPECT_EQ(p.At(p.Position()), 'x');
    EXPECT_EQ(p.TokenStart(), p.Position());
    // Openers need no word boundary, and letter case counts.
    p.SetText("a//b");
    EXPECT_EQ(p.ReadWord(), "a");
    p.SkipBlanks();
    EXPECT_EQ(p.Position(), 5u);
    // An unterminated block comment runs to the end, and no further.
    p.SetText("x { open");
    p.SetPosition(2);
    p.SkipBlanks();
    EXPECT_EQ(p.Position(), 9u);
    EXPECT_EQ(p.ReadWord(), "");
    EXPECT_EQ(p.ReadNumber(), "");
    EXPECT_EQ(p.ReadString(), "");
    // A comment opener in the very last character is no comment.
    p.SetText("x /");
    p.SetPosition(2);
    p.SkipBlanks();
    EXPECT_EQ(p.Position(), 3u);
}

TEST(Lexer, LineEndsAsTokensAndContinuation)
{
    TfsParser p;
    basicSettings(p);
    p.SetText("a  \r\n\r\nb");
    EXPECT_EQ(p.ReadWord(), "a");
    p.SkipBlanks();
    EXPECT_EQ(p.Position(), 4u); // the CR is not blank
    EXPECT_TRUE(p.SkipLineEnd());
    EXPECT_EQ(p.Position(), 8u); // every CR and LF that follows
    EXPECT_FALSE(p.SkipLineEnd());

    // "_" joins the next line.
    p.SetText("a _\r\n  b");
    p.ReadWord();
    EXPECT_EQ(p.ReadWord(), "b");
    // Several in a row, each with its own line end.
    p.SetText("a _ _\r\n\r\n b\r\n");
    p.ReadWord();
    EXPECT_EQ(p.ReadWord(), "b");
    // At the start of a word it is taken as a continuation too.
    p.SetText("_x");
    EXPECT_EQ(p.ReadWord(), "x");
    // A long run of them needs no deep stack.
    p.SetText(std::string(200000, '_') + "y");
    EXPECT_EQ(p.ReadWord(), "y");
}

TEST(Lexer, BasicLineCommentsKeepTheirLineEnd)
{
    TfsParser p;
    basicSettings(p);
    p.SetText("x ' note\r\ny");
    p.ReadWord();
    p.SkipBlanks();
    EXPECT_EQ(p.At(p.Position()), '\r');
    EXPECT_TRUE(p.SkipLineEnd());
    EXPECT_EQ(p.ReadWord(), "y");
    // "rem" in lower case opens a comment wherever a token starts, even
    // as the start of a longer word; "REM" does not.
    p.SetText("remainder = 1\r\n");
    p.SkipBlanks();
    EXPECT_EQ(p.At(p.Position()), '\r');
    p.SetText("REM x");
    EXPECT_EQ(p.ReadWord(), "REM");
    p.SetText("/\\ block \\/ /\\x");
    p.SkipBlanks();
    EXPECT_EQ(p.At(p.Position()), 'x');
}

TEST(Lexer, Words)
{
    TfsParser p;
    p.AddKeyword("Begin");
    p.AddKeyword("end");
    EXPECT_TRUE(p.IsKeyword("BEGIN"));
    EXPECT_TRUE(p.IsKeyword("End"));
    EXPECT_FALSE(p.IsKeyword("ends"));
    p.SetText("  begin x");
    EXPECT_EQ(p.ReadIdent(), "");
    EXPECT_EQ(p.Position(), 3u); // blanks skipped, word not read
    EXPECT_EQ(p.ReadWord(), "begin");
    EXPECT_EQ(p.ReadIdent(), "x");
    p.SetText("Begin_1x");
    EXPECT_EQ(p.ReadIdent(), "Begin_1x");
    p.SetText("1abc");
    EXPECT_EQ(p.ReadWord(), "");
    p.SetText("\xe0\xe1");
    EXPECT_EQ(p.ReadWord(), ""); // Cyrillic letters are not identifier characters
    p.SetIdentChars("ab");
    p.SetText("abba9");
    EXPECT_EQ(p.ReadWord(), "abba");
    p.ClearKeywords();
    EXPECT_FALSE(p.IsKeyword("begin"));
}

TEST(Lexer, Punctuation)
{
    TfsParser p;
    for (int c = 1; c < 256; ++c) {
        p.SetText(std::string(1, static_cast<char>(c)));
        bool punct = (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
        EXPECT_EQ(p.ReadPunct().size(), punct ? 1u : 0u) << c;
    }
    p.SetText(" +");
    EXPECT_EQ(p.ReadPunct(), ""); // no blanks skipped
    p.SetText("");
    EXPECT_EQ(p.ReadPunct(), "");
}

TEST(Lexer, Numbers)
{
    TfsParser p;
    struct Case {
        const char* text;
        const char* token;
        std::size_t position;
    } cases[] = {
        {"123", "123", 4},      {"  42;", "42", 5},      {"1.5", "1.5", 4},     {"1..5", "1", 2},
        {"1.e5", "1", 2},       {"1.x", "1", 2},         {"1e5", "1e5", 4},     {"1E+5", "1E+5", 5},
        {"2e-3x", "2e-3", 5},   {"1e", "1", 2},          {"1e+", "1", 2},       {"1.25E2", "1.25E2", 7},
        {"$1F", "$1F", 4},      {"$ff.5", "$ff.5", 6},   {"$", "", 1},          {"$G", "", 1},
        {"abc", "", 1},         {".5", "", 1},           {"007", "007", 4},
    };
    for (const Case& c : cases) {
        Read r = number(p, c.text);
        EXPECT_EQ(r.token, c.token) << c.text;
        EXPECT_EQ(r.position, c.position) << c.text;
    }
    // Another hex prefix is written as "$".
    p.SetHexSequence("0x");
    EXPECT_EQ(number(p, "0x1F").token, "$1F");
    EXPECT_EQ(number(p, "0x").token, "");
    EXPECT_EQ(number(p, "0").token, "0");
    EXPECT_EQ(number(p, "0.5").token, "0.5");
    EXPECT_EQ(number(p, "$1F").token, "");
}

TEST(Lexer, PascalStrings)
{
    TfsParser p;
    struct Case {
        const char* text;
        const char* token;
    } cases[] = {
        {"'abc'", "'abc'"},
        {"''", "''"},
        {"'it''s'", "'it's'"},
        {"'a'#13#10'b'", "'a\r\nb'"},
        {"#65#$42", "'AB'"},
        {"#321", "'A'"},   // low eight bits of the code
        {"#$141", "'A'"},
        {"#99999999999999999999", "'\xff'"},
        {"'a' 'b'", "'a'"}, // a blank ends the literal
        {"'abc", ""},
        {"'ab\r\ncd'", ""},
        {"#", ""},
        {"#x", ""},
        {"'\\n'", "'\\n'"}, // no escapes with single quotes
        {"'\xcf\xf0\xe8'", "'\xcf\xf0\xe8'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(string(p, c.text).token, c.token) << c.text;
    // An unterminated part is no part: the literal ends before it.
    Read r = string(p, "'a''b");
    EXPECT_EQ(r.token, "");
    r = string(p, "#65'open");
    EXPECT_EQ(r.token, "'A'");
    EXPECT_EQ(r.position, 4u);
}

TEST(Lexer, DoubleQuoteStringsWithEscapes)
{
    TfsParser p;
    cSettings(p);
    struct Case {
        const char* text;
        std::string token;
    } cases[] = {
        {"\"a\\nb\"", "'a\nb'"},
        {"\"\\N\"", "'\n'"},
        {"\"\\r\"", "'\r'"},
        {"\"\\t\"", "'t'"},
        {"\"\\x41\"", "'A'"},
        {"\"\\x4142\"", "'B'"}, // every hex digit, low eight bits
        {"\"\\x\"", "''"},
        {"\"\\\"\"", "'\"'"},
        {"\"\\\\\"", "'\\'"},
        {"\"a\"\"b\"", "'ab'"}, // a doubled quote closes and opens
        {"\"'\"", "'''"},
        {"#0x41", "'A'"},
        {"\"abc\\", ""},        // a backslash at the very end
        {"\"abc\\\r\n\"", ""},  // or before a line end
        {"\"\\", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(string(p, c.text).token, c.token) << c.text;
}

TEST(Lexer, BracketText)
{
    TfsParser p;
    p.SetText("<a<b>c>rest");
    p.SetPosition(2);
    EXPECT_EQ(p.ReadBracketText(), "a<b>c");
    EXPECT_EQ(p.At(p.Position()), '>');
    p.SetText("<'>' \"'>\" x>y");
    p.SetPosition(2);
    EXPECT_EQ(p.ReadBracketText(), "'>' \"'>\" x");
    p.SetText("<open");
    p.SetPosition(2);
    EXPECT_EQ(p.ReadBracketText(), "open");
    EXPECT_EQ(p.Position(), 6u);
}

TEST(Lexer, PositionsCountCarriageReturns)
{
    TfsParser p;
    p.SetText("ab\r\ncd\r\n\r\nx");
    EXPECT_EQ(p.PositionText(1), "1:1");
    EXPECT_EQ(p.PositionText(3), "2:0"); // the CR itself
    EXPECT_EQ(p.PositionText(4), "2:0"); // the LF does not count
    EXPECT_EQ(p.PositionText(5), "2:1");
    EXPECT_EQ(p.PositionText(7), "3:0");
    EXPECT_EQ(p.PositionText(11), "4:1");
    EXPECT_EQ(p.PositionText(12), "4:2"); // just after the text
    // Lines are counted by CR only; a lone LF stays in the column.
    p.SetText("a\nb");
    EXPECT_EQ(p.PositionText(3), "1:2");
    p.SetText("x");
    p.SetPosition(2);
    EXPECT_EQ(p.PositionText(), "1:2");
}
