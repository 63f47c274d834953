// The builder's compile errors with their positions, the expression rules
// (priorities, types, operators), and one algorithm in all four languages.

#include "tests/script/run_support.h"

#include "platform/system/file_io.h"

#include <gtest/gtest.h>

using scripttest::Compile;
using scripttest::RunFor;

namespace {

std::string errorOf(const char* text, const char* language = "PascalScript")
{
    return Compile(text, language).error;
}

} // namespace

TEST(CompileErrors, MessagesAndPositions)
{
    EXPECT_EQ(errorOf("var i: Integer; i: String; begin end."), "1:18: Identifier redeclared: 'i'");
    EXPECT_EQ(errorOf("var i: Foo; begin end."), "1:11: Unknown type: 'Foo'");
    EXPECT_EQ(errorOf("begin\n  x := 1;\nend."), "2:4: Undeclared identifier: 'x'");
    EXPECT_EQ(errorOf("var i: Integer; begin i := 'a'; end."), "1:28: Incompatible types: 'Integer', 'String'");
    EXPECT_EQ(errorOf("var i: Integer; s: String; begin i := 1 + s; end."), "1:42: Incompatible types");
    EXPECT_EQ(errorOf("const c = 1; begin c := 2; end."), "1:20: Left side cannot be assigned to");
    EXPECT_EQ(errorOf("procedure P(x: Integer); begin for x := 1 to 2 do ; end; begin end."),
              "1:37: For loop variable must be numeric variable");
    EXPECT_EQ(errorOf("var s: String; begin for s := 1 to 2 do ; end."),
              "1:27: For loop variable must be numeric variable");
    EXPECT_EQ(errorOf("var i: Integer; begin with i do ; end."), "1:28: Class type required");
    EXPECT_EQ(errorOf("procedure P; begin end; var s: String; begin s := @P.x; end."), "1:51: Variable required");
    EXPECT_EQ(errorOf("var s: String; begin s := s.x; end."), "1:30: Strings doesn't have properties or methods");
    EXPECT_EQ(errorOf("var i: Integer; begin i := i[1]; end."), "1:30: Array type required");
    EXPECT_EQ(errorOf("procedure P(a, b: Integer; c: Integer = 1); begin end; begin P(1); end."),
              "1:63: Not enough actual parameters");
    EXPECT_EQ(errorOf("procedure P(a: Integer); begin end; begin P(1, 2); end."), "1:44: Too many actual parameters");
    EXPECT_EQ(errorOf("procedure P(a: Integer); begin end; begin P('x'); end."),
              "1:45: Incompatible types: 'Integer', 'String'");
    EXPECT_EQ(errorOf("var b: Boolean; i: Integer; begin b := i in i; end."), "1:44: Incompatible types");
    EXPECT_EQ(errorOf("var i: Integer; begin i := i * 0.5; end."), "1:28: Incompatible types: 'Integer', 'Extended'");
    EXPECT_EQ(errorOf("var a: array[1..3] of Integer; begin a[1, 2] := 0; end."), "1:40: Too many actual parameters");
    EXPECT_EQ(errorOf("var a: array[5..1] of Integer; begin end."), "1:14: Invalid array bounds");
    EXPECT_EQ(errorOf("var i: Integer = 'x'; begin end."), "1:18: Incompatible types: 'Integer', 'String'");
    EXPECT_EQ(errorOf("procedure P(a: Integer = 'x'); begin end; begin end."),
              "1:26: Incompatible types: 'Integer', 'String'");
    EXPECT_EQ(errorOf("var i: Integer; begin for i := 'a' to 2 do ; end."), "1:32: Incompatible types: 'Integer', 'String'");
    // The Basic-like language makes unknown names variables, so a function
    // used before its declaration is a redeclaration.
    EXPECT_EQ(errorOf("x = f\nFunction f(a)\n  Return a\nEnd Function\n", "BasicScript"),
              "2:11: Identifier redeclared: 'f'");
}

TEST(Expressions, PriorityAndGrouping)
{
    EXPECT_EQ(RunFor("var r: Integer; begin r := 2 + 3 * 4; end.", "r"), "14");
    EXPECT_EQ(RunFor("var r: Integer; begin r := (2 + 3) * 4; end.", "r"), "20");
    EXPECT_EQ(RunFor("var r: Integer; begin r := 10 - 4 - 3; end.", "r"), "3");
    EXPECT_EQ(RunFor("var r: Integer; begin r := 100 div 10 div 5; end.", "r"), "2");
    EXPECT_EQ(RunFor("var r: Integer; begin r := -2 * 3 + 1; end.", "r"), "-5");
    // not binds tighter than a comparison.
    EXPECT_EQ(RunFor("var a, b: Boolean; r: Boolean; begin a := False; b := True; r := not a = b; end.", "r"), "True");
    EXPECT_EQ(RunFor("var r: Boolean; begin r := (1 < 2) and (3 > 4) or (5 = 5); end.", "r"), "True");
}

TEST(Expressions, IntegerAndFloatTyping)
{
    EXPECT_EQ(RunFor("var a, b: Integer; r: Double; begin a := 7; b := 2; r := a / b; end.", "r"), "3.5");
    EXPECT_EQ(RunFor("var a, b, r: Integer; begin a := 7; b := 2; r := a div b; end.", "r"), "3");
    EXPECT_EQ(RunFor("var a, r: Integer; begin a := -7; r := a mod 2; end.", "r"), "-1");
    // Integer op Float is a Float in both orders.
    EXPECT_EQ(RunFor("var x: Integer; r: Double; begin x := 3; r := x * 0.5 + 0.5 * x; end.", "r"), "3");
    // 32-bit wrap-around on the typed path; the minimum divided by -1 wraps.
    EXPECT_EQ(RunFor("var a, r: Integer; begin a := 2147483647; r := a + 1; end.", "r"), "-2147483648");
    EXPECT_EQ(RunFor("var a, b, r: Integer; begin a := -2147483647 - 1; b := -1; r := a div b; end.", "r"),
              "-2147483648");
    EXPECT_EQ(RunFor("var a, b, r: Integer; begin a := -2147483647 - 1; b := -1; r := a mod b; end.", "r"), "0");
    EXPECT_EQ(RunFor("var a, r: Integer; begin a := 1; r := a shl 33; end.", "r"), "2");
    EXPECT_EQ(RunFor("var a, r: Integer; begin a := -1; r := a shr 28; end.", "r"), "15");
    EXPECT_EQ(RunFor("var a, r: Integer; begin a := 0; r := 5 div a; end.", "r"), "RUNTIME ERROR: Division by zero");
    EXPECT_EQ(RunFor("var a, r: Integer; begin a := 0; r := 5 mod a; end.", "r"), "RUNTIME ERROR: Division by zero");
    EXPECT_EQ(RunFor("var a: Integer; r: Double; begin a := 0; r := 5 / a; end.", "r"),
              "RUNTIME ERROR: Division by zero");
    // A float out of the integer range does not become an integer.
    EXPECT_EQ(RunFor("var v: Variant; i, r: Integer; begin v := 1e20; i := 1; r := i + v; end.", "r"), "1E20");
    EXPECT_EQ(RunFor("var v: Variant; r, i: Integer; begin v := 1e20; for i := v to 1 do ; end.", "r"),
              "RUNTIME ERROR: Overflow while converting variant of type (Double) into type (Integer)");
    // Literals beyond 32 bits are floats; hex keeps its low 32 bits.
    EXPECT_EQ(RunFor("var v: Variant; begin v := 4294967296; end.", "v"), "4294967296");
    EXPECT_EQ(RunFor("var v: Variant; begin v := $FFFFFFFF; end.", "v"), "-1");
}

TEST(Expressions, VariantsAndStrings)
{
    EXPECT_EQ(RunFor("var v, w, r: Variant; begin v := '12'; w := 3; r := v + w; end.", "r"), "15");
    EXPECT_EQ(RunFor("var v, w, r: Variant; begin v := 'ab'; w := 'cd'; r := v + w; end.", "r"), "abcd");
    EXPECT_EQ(RunFor("var v, r: Variant; begin v := 'ab'; r := v + 1; end.", "r"),
              "RUNTIME ERROR: Could not convert variant of type (String) into type (Double)");
    EXPECT_EQ(RunFor("var s: String; r: Boolean; begin s := 'abc'; r := s < 'abd'; end.", "r"), "True");
    EXPECT_EQ(RunFor("var v: Variant; r: Boolean; begin v := '10'; r := v > 9; end.", "r"), "True");
    EXPECT_EQ(RunFor("var s: String; i: Integer; r: Boolean; begin r := s = i; end.", "r"), "ERROR 1:54: Incompatible types");
    EXPECT_EQ(RunFor("var s: String; begin s := -s; end.", "s"), "ERROR 1:28: Incompatible types");
    EXPECT_EQ(RunFor("var b: Boolean; begin b := not 's'; end.", "b"), "ERROR 1:31: Incompatible types");
    // In-place append keeps the order; a literal in front stays in front.
    EXPECT_EQ(RunFor("var s: String; begin s := 'b'; s := s + 'c'; s := 'a' + s; end.", "s"), "abc");
    EXPECT_EQ(RunFor("var s: String; i: Integer; begin s := ''; for i := 1 to 1000 do s := s + 'x'; i := 0; end.",
                     "i"),
              "0");
    // A String variable keeps text.
    EXPECT_EQ(RunFor("var s: String; v: Variant; begin v := 2.5; s := v; end.", "s"), "2.5");
    // Basic-like "&": concatenation after a string, addition after a number.
    const char* amp = "s = \"x\" : n = 1 : m = 2\na = s & n\nb = n & m\n";
    EXPECT_EQ(RunFor(amp, "a", "BasicScript"), "x1");
    EXPECT_EQ(RunFor(amp, "b", "BasicScript"), "3");
}

TEST(Expressions, BooleansShortCircuitAndSets)
{
    const char* text = R"(
var calls: Integer; r: Boolean;
function Touch: Boolean;
begin calls := calls + 1; Result := True; end;
begin
  r := False and Touch;
  r := True or Touch;
  r := True and Touch;
end.)";
    EXPECT_EQ(RunFor(text, "calls"), "1");
    EXPECT_EQ(RunFor("var x: Integer; r: Boolean; begin x := 4; r := x in [1, 3..5]; end.", "r"), "True");
    EXPECT_EQ(RunFor("var x: Integer; r: Boolean; begin x := 2; r := x in [1, 3..5]; end.", "r"), "False");
    EXPECT_EQ(RunFor("var c: String; r: Boolean; begin c := 'q'; r := c in ['a'..'z']; end.", "r"), "True");
    EXPECT_EQ(RunFor("var a, b: Integer; r: Integer; begin a := 6; b := 3; r := (a and b) + (a or b) + (a xor b); "
                     "end.",
                     "r"),
              "14");
}

TEST(Languages, OneAlgorithmInFourLanguages)
{
    const std::pair<const char*, const char*> programs[] = {
        {"primes.pas", "PascalScript"},
        {"primes.vbs", "BasicScript"},
        {"primes.js", "JScript"},
        {"primes.cpp", "C++Script"},
    };
    for (const auto& [file, language] : programs) {
        std::string text, error;
        ASSERT_TRUE(platform::readFile(std::string(TAVRIN_SCRIPT_PROGRAMS_DIR "/") + file, text, &error)) << error;
        EXPECT_EQ(RunFor(text, "total", language), "1060") << language;
    }
}

TEST(Languages, LoopsOfTheOtherLanguages)
{
    // A Basic-like For with a negative fractional step.
    EXPECT_EQ(RunFor("s = \"\"\nFor x = 2 To 1 Step -0.5\n  s = s & x & \";\"\nNext\n", "s", "BasicScript"),
              "2;1.5;1;");
    // An If block with an empty Then part and an Else part.
    EXPECT_EQ(RunFor("a = 1\nIf a = 2 Then\nElse\n  a = 5\nEnd If\n", "a", "BasicScript"), "5");
    EXPECT_EQ(RunFor("var s = 0; for (var i = 0; i < 5; i++) { if (i == 3) continue; s += i; }", "s", "JScript"),
              "7");
    EXPECT_EQ(RunFor("var n = 0; do { n++; } while (n < 4);", "n", "JScript"), "4");
    EXPECT_EQ(RunFor("int n; { n = 10; n -= 3; n *= 2; }", "n", "C++Script"), "14");
    EXPECT_EQ(RunFor("var i = 0; while (true) { i++; if (i > 9) break; }", "i", "JScript"), "10");
}
