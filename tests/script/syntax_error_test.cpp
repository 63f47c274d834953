// Syntax errors of the four languages: the message of the grammar's error
// table and the line and column where the failing item began.

#include "tests/script/il_test_support.h"

#include <gtest/gtest.h>

namespace {

struct ErrorCase {
    const char* language;
    const char* text; // "\n" line ends, made CR LF
    const char* message;
    const char* position;
};

std::ostream& operator<<(std::ostream& os, const ErrorCase& c)
{
    return os << c.language << ": " << c.text;
}

class SyntaxError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(SyntaxError, MessageAndPosition)
{
    const ErrorCase& c = GetParam();
    scripttest::Analysis a = scripttest::Analyse(c.language, c.text);
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.errors.ErrorText, c.message);
    EXPECT_EQ(a.errors.ErrorPosition, c.position);
    EXPECT_EQ(a.errors.ErrorUnit, "");
}

const ErrorCase kPascal[] = {
    {"PascalScript", "begin end", "'.' expected", "2:1"},
    {"PascalScript", "begin x := ; end.", "Expression expected", "1:12"}, // at the semicolon
    {"PascalScript", "begin x := 1 y := 2 end.", "'END' expected", "1:14"},
    {"PascalScript", "var a: integer\nbegin end.", "';' expected", "2:1"},
    {"PascalScript", "var a integer; begin end.", "':' expected", "1:7"},
    {"PascalScript", "const c 5; begin end.", "'=' expected", "1:9"},
    {"PascalScript", "x", "'BEGIN' expected", "1:1"},
    {"PascalScript", "begin if x x := 1; end.", "'THEN' expected", "1:12"},
    {"PascalScript", "begin while x x := 1; end.", "'DO' expected", "1:15"},
    {"PascalScript", "begin for i = 1 to 2 do; end.", "':' expected", "1:13"},
    {"PascalScript", "begin for i := 1 too 2 do; end.", "'TO' or 'DOWNTO' expected", "1:18"},
    {"PascalScript", "begin repeat x := 1; end.", "'UNTIL' expected", "1:22"},
    {"PascalScript", "begin try x := 1; end.", "'FINALLY' or 'EXCEPT' expected", "1:19"},
    {"PascalScript", "begin case x 1: ; end; end.", "'OF' expected", "1:14"},
    {"PascalScript", "begin x := f(1; end.", "')' expected", "1:15"},
    {"PascalScript", "begin x := a[1; end.", "']' expected", "1:15"},
    {"PascalScript", "begin x := (1; end.", "')' expected", "1:14"},
    {"PascalScript", "begin x := not ; end.", "Expression expected", "1:16"},
    {"PascalScript", "begin x := y.; end.", "Identifier expected", "1:14"},
    {"PascalScript", "begin x := <abc; end.", "'>' expected", "2:1"},
    {"PascalScript", "var a: array 5] of integer; begin end.", "'[' expected", "1:14"},
    {"PascalScript", "var a: array[5] integer; begin end.", "'OF' expected", "1:17"},
    {"PascalScript", "procedure p begin end; begin end.", "';' expected", "1:13"},
    {"PascalScript", "function f: ; begin end; begin end.", "Identifier expected", "1:13"},
    // The parameter loop ends cleanly at a word that is no identifier.
    {"PascalScript", "procedure p(a: integer; begin end; begin end.", "')' expected", "1:25"},
    // Reserved words that no rule uses.
    {"PascalScript", "begin goto x; end.", "'END' expected", "1:7"},
    {"PascalScript", "begin label: x := 1; end.", "'END' expected", "1:7"},
    // A missing operand is no longer taken for the operator that follows.
    {"PascalScript", "begin x := a * b * -1; end.", "'END' expected", "1:18"},
    {"PascalScript", "begin x := (((((((((((((((((((((((((((((((1; end.", "')' expected", "1:44"},
};

const ErrorCase kBasic[] = {
    {"BasicScript", "x = 1 y = 2\n", "End of line expected", "1:7"},
    {"BasicScript", "x = \n", "Expression expected", "2:0"},
    {"BasicScript", "x = (1\n", "')' expected", "2:0"},
    {"BasicScript", "x = a[1\n", "']' expected", "2:0"},
    {"BasicScript", "x = <abc\n", "'>' expected", "2:1"},
    {"BasicScript", "Dim 5\n", "Identifier expected", "1:5"},
    {"BasicScript", "If x = 1 y = 2\n", "'THEN' expected", "1:10"},
    {"BasicScript", "If x Then\n y = 1\n", "'END' expected", "3:1"},
    {"BasicScript", "If x Then\n y = 1\nEnd\n", "'IF' expected", "4:0"},
    {"BasicScript", "For i 1 To 3\nNext\n", "'=' expected", "1:7"},
    {"BasicScript", "For i = 1 3\nNext\n", "'TO' expected", "1:11"},
    {"BasicScript", "For i = 1 To 3\n x = i\n", "'NEXT' expected", "3:1"},
    {"BasicScript", "While x\n y = 1\n", "'WEND' expected", "3:1"},
    {"BasicScript", "Select x\nEnd Select\n", "'CASE' expected", "1:8"},
    {"BasicScript", "Select Case x\nCase 1:\n y = 1\nEnd\n", "'SELECT' expected", "5:0"},
    {"BasicScript", "Select Case x\nCase 1:\n y = 1\nCase Else\n y = 2\nEnd Select\n", "':' expected", "5:0"},
    {"BasicScript", "Select Case x\nCase 1:\n y = 1\nCase Oops\nEnd Select\n", "':' expected", "5:0"},
    {"BasicScript", "Sub S\n x = 1\nEnd\n", "'SUB' expected", "4:0"},
    {"BasicScript", "Function F\nEnd Sub\n", "'FUNCTION' expected", "2:5"},
    {"BasicScript", "Try\n x = 1\nEnd Try\n", "'FINALLY' or 'CATCH' expected", "3:1"},
    {"BasicScript", "Try\n x = 1\nFinally\nEnd\n", "'TRY' expected", "5:0"},
    {"BasicScript", "With o\n x = 1\nEnd\n", "'WITH' expected", "4:0"},
    {"BasicScript", "Do\n x = 1\nLoop Wile x\n", "'WHILE' expected", "3:6"},
    {"BasicScript", "Sub S(ByRef 1)\nEnd Sub\n", "Identifier expected", "1:13"},
    // A line the grammar cannot start is an error, not the silent end of
    // the program.
    {"BasicScript", "x = 1\nNext\ny = 2\n", "Statement expected", "2:1"},
    {"BasicScript", "End Sub\n", "Statement expected", "1:1"},
    {"BasicScript", "x = 1\nREM upper case is no comment\n", "Statement expected", "2:1"},
    {"BasicScript", "x = a * -1\n", "End of line expected", "1:7"},
};

const ErrorCase kJScript[] = {
    {"JScript", "if (a = b) x = 1;", "')' expected", "1:7"},
    {"JScript", "if a == b) x = 1;", "'(' expected", "1:4"},
    {"JScript", "switch (a) { case 1: x = 1; break; }", "'}' expected", "1:29"},
    {"JScript", "switch (a) { case 1 x = 1; }", "':' expected", "1:21"},
    {"JScript", "switch (a) case 1: x = 1;", "'{' expected", "1:12"},
    {"JScript", "try { } catch { }", "'FINALLY' or 'EXCEPT' expected", "1:9"},
    {"JScript", "while (x) { x = 1;", "'}' expected", "2:1"},
    {"JScript", "do x = 1; while x;", "'(' expected", "1:17"},
    {"JScript", "do x = 1; until (x);", "'WHILE' expected", "1:11"},
    {"JScript", "do x = 1; while (x)", "';' expected", "2:1"},
    {"JScript", "for (i = 0 i < 3; i++) x = 1;", "';' expected", "1:12"},
    {"JScript", "x = ;", "Expression expected", "1:5"},
    {"JScript", "x = f(1;", "')' expected", "1:8"},
    {"JScript", "x = a[1;", "']' expected", "1:8"},
    {"JScript", "x = <abc", "'>' expected", "2:1"},
    {"JScript", "function (a) {}", "Expression expected", "1:10"},
    {"JScript", "import x;", "Identifier expected", "1:8"},
    {"JScript", "x = 1;\n}\ny = 2;", "Statement expected", "2:1"},
    {"JScript", "x = 1; }", "Statement expected", "1:8"},
};

const ErrorCase kCpp[] = {
    {"C++Script", "int x; x = 1;", "'{' expected", "1:8"},
    {"C++Script", "#define N\n{ }", "Expression expected", "2:1"},
    {"C++Script", "#defin N 1 { }", "'DEFINE' expected", "1:2"},
    {"C++Script", "{ if (a = b) x = 1; }", "')' expected", "1:9"},
    {"C++Script", "{ if a == b) x = 1; }", "'(' expected", "1:6"},
    {"C++Script", "{ x = 1 }", "';' expected", "1:9"},
    {"C++Script", "{ switch (a) { case 1: x = 1; break; } }", "'}' expected", "1:31"},
    {"C++Script", "{ try { } catch { } }", "'FINALLY' or 'EXCEPT' expected", "1:11"},
    {"C++Script", "{ x = 1;", "'}' expected", "2:1"},
    {"C++Script", "void f(int a, ) { }\n{ }", "Identifier expected", "1:15"},
    {"C++Script", "{ do x = 1; while (x) }", "';' expected", "1:23"},
    {"C++Script", "{ do x = 1; (x); }", "'WHILE' expected", "1:13"},
    {"C++Script", "{ x = <abc", "'>' expected", "2:1"},
    {"C++Script", "{ int a[2; }", "']' expected", "1:10"},
};

INSTANTIATE_TEST_SUITE_P(Pascal, SyntaxError, ::testing::ValuesIn(kPascal));
INSTANTIATE_TEST_SUITE_P(Basic, SyntaxError, ::testing::ValuesIn(kBasic));
INSTANTIATE_TEST_SUITE_P(JScript, SyntaxError, ::testing::ValuesIn(kJScript));
INSTANTIATE_TEST_SUITE_P(Cpp, SyntaxError, ::testing::ValuesIn(kCpp));

} // namespace
