// Statements, routines, arrays and strings of the interpreter, and the
// faults it must not have: lost by-reference results in recursion, stray
// jump flags, unbounded recursion, out-of-range indexes.

#include "tests/script/run_support.h"

#include "script/program/entries.h"
#include "script/script_error.h"

#include <gtest/gtest.h>

using scripttest::Compile;
using scripttest::RunFor;

TEST(Interpreter, ForLoopsCountAsFixedAtTheStart)
{
    EXPECT_EQ(RunFor("var i, n: Integer; begin n := 0; for i := 1 to 0 do n := n + 1; end.", "n"), "0");
    EXPECT_EQ(RunFor("var i, n: Integer; begin for i := 3 downto 1 do n := n * 10 + i; end.", "n"), "321");
    EXPECT_EQ(RunFor("var i: Integer; s: String; begin s := ''; for i := 3 downto 1 do s := s + 'x'; end.", "s"),
              "xxx");
    // The variable keeps the last value it was given.
    EXPECT_EQ(RunFor("var i: Integer; begin for i := 1 to 5 do ; end.", "i"), "5");
    // Changing the variable or the bound inside does not change the rounds.
    EXPECT_EQ(RunFor("var i, n, e: Integer; begin e := 3; for i := 1 to e do begin n := n + 1; i := 10; e := 100 "
                     "end; end.",
                     "n"),
              "3");
    // The whole integer range: the round count needs 64 bits.
    EXPECT_EQ(RunFor("var i, n: Integer; begin for i := 2147483646 to 2147483647 do n := n + 1; end.", "n"), "2");
    EXPECT_EQ(RunFor("var i, n: Integer; begin for i := -2147483647 - 1 to -2147483647 do n := n + 1; end.", "n"),
              "2");
}

TEST(Interpreter, LoopsAndJumps)
{
    const char* nested = R"(
var i, j, n: Integer;
begin
  for i := 1 to 3 do
    for j := 1 to 10 do begin
      if j = 2 then Break;
      n := n + 1;
    end;
end.)";
    EXPECT_EQ(RunFor(nested, "n"), "3");
    const char* cont = R"(
var i, n: Integer;
begin
  i := 0;
  while i < 10 do begin
    i := i + 1;
    if i mod 2 = 0 then Continue;
    n := n + i;
  end;
end.)";
    EXPECT_EQ(RunFor(cont, "n"), "25");
    EXPECT_EQ(RunFor("var i: Integer; begin repeat i := i + 1 until i >= 7; end.", "i"), "7");
    EXPECT_EQ(RunFor("var i: Integer; begin while i < 0 do ; end.", "i"), "0");
    const char* caseOf = R"(
var i: Integer; s: String;
begin
  for i := 0 to 7 do
    case i of
      1, 3..5: s := s + 'a';
      6: s := s + 'b';
    else
      s := s + '-';
    end;
end.)";
    EXPECT_EQ(RunFor(caseOf, "s"), "-a-aaab-");
}

TEST(Interpreter, ExitLeavesOnlyTheRoutine)
{
    const char* text = R"(
var n: Integer;
procedure P;
begin
  n := n + 1;
  Exit;
  n := n + 100;
end;
begin
  P;
  P;
  n := n * 10;
end.)";
    EXPECT_EQ(RunFor(text, "n"), "20");
}

TEST(Interpreter, StrayJumpsDoNotLeakIntoLaterCalls)
{
    // A break outside any loop ends the routine; the next call and the
    // next run start clean.
    const char* text = R"(
var n: Integer;
procedure P;
begin
  n := n + 1;
  Break;
  n := n + 100;
end;
begin
  P;
  P;
  n := n + 1000;
end.)";
    scripttest::Program p = Compile(text);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("n"), "1002");
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("n"), "2004");
}

TEST(Interpreter, FinallyRunsAfterExitAndBreak)
{
    const char* text = R"(
var log: String; i: Integer;
procedure P;
begin
  try
    log := log + 'a';
    Exit;
  finally
    log := log + 'f';
  end;
  log := log + 'x';
end;
begin
  P;
  for i := 1 to 3 do
    try
      Break;
    finally
      log := log + 'b';
    end;
  try
    try
      i := 1 div 0;
    finally
      log := log + 'g';
    end;
  except
    log := log + 'e';
  end;
end.)";
    EXPECT_EQ(RunFor(text, "log"), "afbge");
}

TEST(Interpreter, TryExceptSwallowsAndContinues)
{
    EXPECT_EQ(RunFor("var i, n: Integer; begin try i := 1 div n; n := 5 except n := 7 end; n := n + 1; end.", "n"),
              "8");
    EXPECT_EQ(RunFor("var i, n: Integer; begin i := 1 div n; end.", "i"), "RUNTIME ERROR: Division by zero");
}

TEST(Interpreter, RecursionRestoresLocals)
{
    const char* sum = R"(
var r: Integer;
function F(n: Integer): Integer;
var local: Integer;
begin
  local := n * 10;
  if n > 0 then Result := F(n - 1) + local else Result := local;
end;
begin r := F(4); end.)";
    EXPECT_EQ(RunFor(sum, "r"), "100");
    EXPECT_EQ(RunFor("var c: Integer; function Fib(n: Integer): Integer; begin if n < 2 then Result := n else "
                     "Result := Fib(n - 1) + Fib(n - 2) end; begin c := Fib(20) end.",
                     "c"),
              "6765");
}

TEST(Interpreter, ByReferenceResultsSurviveRecursion)
{
    // The inner call's by-reference result must land in the caller's
    // local after the caller's locals come back.
    const char* text = R"(
var total: Integer;
procedure Count(n: Integer; var acc: Integer);
var mine: Integer;
begin
  mine := 0;
  if n > 0 then Count(n - 1, mine);
  acc := mine + n;
end;
begin
  Count(4, total);
end.)";
    EXPECT_EQ(RunFor(text, "total"), "10");
    const char* swap = R"(
var a, b: Integer;
procedure Swap(var x, y: Integer);
var t: Integer;
begin t := x; x := y; y := t; end;
begin a := 1; b := 2; Swap(a, b); end.)";
    EXPECT_EQ(RunFor(swap, "a"), "2");
    EXPECT_EQ(RunFor(swap, "b"), "1");
}

TEST(Interpreter, LocalsStartFreshAndRecursionIsBounded)
{
    // Locals and the result start from their initial values on each call.
    const char* text = R"(
var a, b: String;
function Twice(s: String): String;
var i: Integer;
begin
  for i := 1 to 2 do Result := Result + s;
end;
begin a := Twice('x'); b := Twice('y'); end.)";
    EXPECT_EQ(RunFor(text, "b"), "yy");
    // Unbounded recursion is a run-time error, not a crash, and the
    // script can run again afterwards.
    scripttest::Program p = Compile("var n: Integer; procedure R; begin n := n + 1; R; end; begin R; end.");
    ASSERT_TRUE(p.compiled);
    EXPECT_EQ(p.Run(), "Stack overflow");
    EXPECT_EQ(p.Run(), "Stack overflow");
    // A try/except deep down catches it too.
    EXPECT_EQ(RunFor("var n: Integer; procedure R; begin n := n + 1; R; end; begin try R; except n := -1; end; end.",
                     "n"),
              "-1");
}

TEST(Interpreter, ArraysOfOneToThreeDimensions)
{
    const char* text = R"(
var a: array[1..5] of Integer;
    m: array[0..2, 0..3] of Integer;
    c: array[2, 2, 2] of Integer;
    i, j, s: Integer;
begin
  for i := 1 to 5 do a[i] := i * i;
  for i := 0 to 2 do for j := 0 to 3 do m[i, j] := i * 10 + j;
  c[1, 1, 1] := 7;
  s := a[5] + m[2, 3] + c[1, 1, 1];
end.)";
    EXPECT_EQ(RunFor(text, "s"), "55");
    // Two names before one array type: only the last one is an array.
    EXPECT_EQ(RunFor("var a, b: array[0..9] of Integer; begin a := 5; b[9] := 1; end.", "a"), "5");
    EXPECT_EQ(RunFor("var a: array[1..5] of Integer; begin a[6] := 1; end.", "a"),
              "RUNTIME ERROR: Array index out of bounds");
    EXPECT_EQ(RunFor("var a: array[1..5] of Integer; i: Integer; begin i := a[0]; end.", "a"),
              "RUNTIME ERROR: Array index out of bounds");
    EXPECT_EQ(RunFor("var m: array[3, 3] of Integer; begin m[1, -1] := 1; end.", "m"),
              "RUNTIME ERROR: Array index out of bounds");
    // Arrays are values: an assignment copies (on the first write).
    EXPECT_EQ(RunFor("var a, b: Variant; x: array[0..1] of Integer; begin x[0] := 1; a := x; x[0] := 2; b := a[0]; "
                     "end.",
                     "b"),
              "1");
}

TEST(Interpreter, StringIndexing)
{
    EXPECT_EQ(RunFor("var s, c: String; begin s := 'abc'; c := s[2]; s[3] := 'Z'; s := s + c; end.", "s"), "abZb");
    EXPECT_EQ(RunFor("var s, c: String; begin s := 'abc'; c := s[4]; end.", "c"),
              "RUNTIME ERROR: String index out of bounds");
    EXPECT_EQ(RunFor("var s: String; begin s := 'abc'; s[0] := 'x'; end.", "s"),
              "RUNTIME ERROR: String index out of bounds");
    EXPECT_EQ(RunFor("var s: String; begin s := 'abc'; s[1] := ''; end.", "s"),
              "RUNTIME ERROR: A character cannot be empty");
    // A copy is not changed by writing a character of the original.
    EXPECT_EQ(RunFor("var s, t: String; begin s := 'abc'; t := s; s[1] := 'x'; end.", "t"), "abc");
    // Variant strings and arrays index at run time.
    EXPECT_EQ(RunFor("var v, c: Variant; begin v := 'hello'; c := v[5]; end.", "c"), "o");
}

TEST(Interpreter, DefaultParametersAndFunctionNameResult)
{
    const char* text = R"(
var r: Integer;
function Add(a: Integer; b: Integer = 10): Integer;
begin
  Add := a + b;
end;
begin r := Add(1) + Add(1, 2); end.)";
    EXPECT_EQ(RunFor(text, "r"), "14");
}

TEST(Interpreter, NestedRoutinesSeeTheirOuterScope)
{
    const char* text = R"(
var r: Integer;
function Outer(n: Integer): Integer;
var k: Integer;
  function Inner(m: Integer): Integer;
  begin
    Result := m + k;
  end;
begin
  k := 100;
  Result := Inner(n);
end;
begin r := Outer(5); end.)";
    EXPECT_EQ(RunFor(text, "r"), "105");
}

TEST(Interpreter, InitialisersAndConstants)
{
    EXPECT_EQ(RunFor("const Max = $FF; var i: Integer = 3; begin i := i + Max; end.", "i"), "258");
    EXPECT_EQ(RunFor("var f: Double; b: Boolean; s: String; v: Variant; begin end.", "f"), "0");
    EXPECT_EQ(RunFor("var b: Boolean; begin end.", "b"), "False");
}

TEST(Interpreter, OnRunLineSeesEveryStatement)
{
    scripttest::Program p = Compile("var i: Integer;\nbegin\n  for i := 1 to 2 do\n    i := i;\nend.");
    ASSERT_TRUE(p.compiled) << p.error;
    std::string seen;
    p.script->OnRunLine = [&](script::TfsScript&, const std::string& unit, const std::string& pos) {
        seen += pos + " ";
    };
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(seen, "3:3 4:5 4:5 ");
    EXPECT_EQ(p.script->ExecutableLines().size(), 1u);
    EXPECT_EQ(p.script->ExecutableLines()[0], "=4,3,");
}

TEST(Interpreter, OnRunLineInsideRoutines)
{
    scripttest::Program p = Compile("procedure P;\nbegin\n  P2 := 1;\nend;\nvar P2: Integer;\nbegin\n  P;\nend.");
    EXPECT_EQ(p.error, "3:5: Undeclared identifier: 'P2'"); // routines see only what precedes them
    p = Compile("var n: Integer;\nprocedure P;\nbegin\n  n := 1;\nend;\nbegin\n  P;\nend.");
    ASSERT_TRUE(p.compiled) << p.error;
    std::string seen;
    p.script->OnRunLine = [&](script::TfsScript& sender, const std::string&, const std::string& pos) {
        bool inRoutine = &sender != p.script.get();
        seen += pos + (inRoutine ? "r" : "m");
        // While a routine runs, the hook's owner knows its scope.
        seen += p.script->CurrentRoutineScope() == (inRoutine ? &sender : nullptr) ? " " : "? ";
    };
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(seen, "7:3m 4:3r ");
    EXPECT_EQ(p.script->CurrentRoutineScope(), nullptr);
}

TEST(Interpreter, UnsafeCallsAreRefused)
{
    scripttest::Program p = Compile("var i: Integer; begin i := 1; end.");
    ASSERT_TRUE(p.compiled);
    bool clearRefused = false, compileRefused = false, executeRefused = false;
    p.script->OnRunLine = [&](script::TfsScript&, const std::string&, const std::string&) {
        try { p.script->Clear(); } catch (const script::ScriptError&) { clearRefused = true; }
        try { p.script->Compile(); } catch (const script::ScriptError&) { compileRefused = true; }
        try { p.script->Execute(); } catch (const script::ScriptError&) { executeRefused = true; }
    };
    EXPECT_EQ(p.Run(), "");
    EXPECT_TRUE(clearRefused);
    EXPECT_TRUE(compileRefused);
    EXPECT_TRUE(executeRefused);
    EXPECT_EQ(p.Var("i"), "1");

    scripttest::Program bad = Compile("begin x := 1; end.");
    ASSERT_FALSE(bad.compiled);
    EXPECT_THROW(bad.script->Execute(), script::ScriptError);
    // Compiling twice without clearing: the declarations exist already.
    scripttest::Program twice = Compile("var i: Integer; begin end.");
    EXPECT_FALSE(twice.script->Compile());
    EXPECT_EQ(twice.script->ErrorText(), "Identifier redeclared: 'i'");
    twice.script->Clear();
    EXPECT_TRUE(twice.script->Compile());
}

TEST(Interpreter, VariablesFromTheHost)
{
    script::TfsScript s(nullptr);
    s.SetVariable("X", platform::Variant(5));
    EXPECT_EQ(s.GetVariable("x").toString(), "5");
    s.SetVariable("x", platform::Variant("t"));
    EXPECT_EQ(s.Count(), 3); // the two accessors and X
    EXPECT_TRUE(s.GetVariable("missing").isNull());
    int owner = 0;
    s.AddedBy = &owner;
    s.SetVariable("Y", platform::Variant(1));
    s.RemoveItems(&owner);
    EXPECT_EQ(s.Find("Y"), nullptr);
    EXPECT_NE(s.Find("X"), nullptr);
}
