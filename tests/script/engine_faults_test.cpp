// Faults of the engine found by comparing scripts with other
// implementations of their languages, and by hostile input: real division,
// 32-bit wrapping, typed array elements, ranges with names, Delete in the
// languages where "delete" is a keyword, very long operator chains and
// very deep nesting, units named more than once, and script files that are
// not regular files.

#include "tests/script/run_support.h"
#include "tests/test_support.h"

#include "platform/automation/value_limits.h"
#include "script/library/standard_library.h"
#include "script/parser/script_text.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using scripttest::Compile;
using scripttest::RunFor;

namespace {

// A language's spelling of "r = expression" with r a Variant.
std::string assignment(const std::string& language, const std::string& expr)
{
    if (language == "PascalScript")
        return "var r: Variant; begin r := " + expr + "; end.";
    if (language == "BasicScript")
        return "r = " + expr + "\n";
    if (language == "JScript")
        return "var r = " + expr + ";";
    return "Variant r; { r = " + expr + "; }";
}

const char* const kLanguages[] = {"PascalScript", "BasicScript", "JScript", "C++Script"};

// Lowers the value limits for one test.
struct SmallLimits {
    platform::ValueLimits saved = platform::valueLimits();
    SmallLimits(std::size_t bytes, std::uint64_t elements)
    {
        platform::valueLimits().maxStringBytes = bytes;
        platform::valueLimits().maxArrayElements = elements;
    }
    ~SmallLimits() { platform::valueLimits() = saved; }
};

} // namespace

TEST(EngineFaults, SlashIsRealDivisionInEveryLanguage)
{
    for (const char* language : kLanguages) {
        EXPECT_EQ(RunFor(assignment(language, "1/2 + 1/2"), "r", language), "1") << language;
        EXPECT_EQ(RunFor(assignment(language, "10/4*2"), "r", language), "5") << language;
        EXPECT_EQ(RunFor(assignment(language, "7/2"), "r", language), "3.5") << language;
    }
    // An Integer target takes "/" only as its assignment rules allow.
    EXPECT_EQ(RunFor("var i: Integer; begin i := 10 / 4; end.", "i"), "ERROR 1:28: Incompatible types: 'Integer', 'Extended'");
    EXPECT_EQ(RunFor("var d: Double; a, b: Integer; begin a := 10; b := 4; d := a / b; end.", "d"), "2.5");
    EXPECT_EQ(RunFor("var v: Variant; begin v := 9; v := v / 3; end.", "v"), "3");
}

TEST(EngineFaults, IntegerArithmeticWrapsAtThirtyTwoBits)
{
    // Unary minus of the smallest Integer is itself, and the value stays an
    // Integer: the next operation works.
    EXPECT_EQ(RunFor("var i: Integer; begin i := -2147483647 - 1; i := -(-i); i := -i; i := i + 1; end.", "i"),
              "-2147483647");
    EXPECT_EQ(RunFor("var a, b: Integer; begin a := -2147483647 - 1; b := -a; end.", "b"), "-2147483648");
    // Through Variants, too.
    EXPECT_EQ(RunFor("var v: Variant; begin v := 2147483647; v := v + 1; end.", "v"), "-2147483648");
    EXPECT_EQ(RunFor("var v, w: Variant; begin v := 65536; w := v * v; end.", "w"), "0");
    EXPECT_EQ(RunFor("var v: Variant; begin v := -2147483647 - 1; v := v - 1; end.", "v"), "2147483647");
    EXPECT_EQ(RunFor("var v: Variant; begin v := 2147483647; Inc(v); end.", "v"), "-2147483648");
    EXPECT_EQ(RunFor("var x = 2147483647; x++;", "x", "JScript"), "-2147483648");
    EXPECT_EQ(RunFor("x = -2147483647 - 1\nx = -x\n", "x", "BasicScript"), "-2147483648");
    // Floats stay floats.
    EXPECT_EQ(RunFor("var v: Variant; begin v := 2147483647.0; v := v + 1; end.", "v"), "2147483648");
}

TEST(EngineFaults, TypedArrayElementsStartAtTheirTypesInitialValue)
{
    EXPECT_EQ(RunFor("var a: array[0..2] of Integer; v: Variant; begin v := a[1]; end.", "v"), "0");
    EXPECT_EQ(RunFor("var a: array[1..2] of Double; v: Variant; begin v := a[2] + 0.5; end.", "v"), "0.5");
    EXPECT_EQ(RunFor("var a: array[0..2] of Boolean; v: Variant; begin v := a[0]; end.", "v"), "False");
    EXPECT_EQ(RunFor("var a: array[0..2] of String; v: Variant; begin v := Length(a[2]); end.", "v"), "0");
    EXPECT_EQ(RunFor("var a: array[0..1, 0..1] of Integer; v: Variant; begin v := a[1, 1]; end.", "v"), "0");
    // Variant elements start Null, as Variant variables do.
    EXPECT_EQ(RunFor("var a: array[0..2] of Variant; b: Boolean; begin b := a[0] = Null; end.", "b"), "True");
    EXPECT_EQ(RunFor("int a[3]; Variant v; { v = a[2]; }", "v", "C++Script"), "0");
}

TEST(EngineFaults, RangesTakeAnyExpressionAtBothEnds)
{
    const char* set = "var x, lo, hi: Integer; r: Boolean; begin lo := 1; hi := 5; x := 3; r := x in [lo..hi]; end.";
    EXPECT_EQ(RunFor(set, "r"), "True");
    EXPECT_EQ(RunFor("var x, lo: Integer; r: Boolean; begin lo := 4; x := 3; r := x in [lo .. lo + 2]; end.", "r"),
              "False");
    EXPECT_EQ(RunFor("const lo = 1; hi = 3; var a: array[lo..hi] of Integer; v: Variant; begin a[3] := 7; v := a[hi]; end.",
                     "v"),
                     "7");
    EXPECT_EQ(RunFor("var x, lo, hi, r: Integer; begin lo := 1; hi := 9; x := 5; case x of lo..hi: r := 1; else r := 2; "
                     "end; end.",
                     "r"),
              "1");
    // A member name that is missing is still reported.
    EXPECT_EQ(Compile("var a: Variant; begin a := a.; end.").error, "1:30: Identifier expected");
}

TEST(EngineFaults, DeleteIsARoutineWhereDeleteIsAKeyword)
{
    EXPECT_EQ(RunFor("s = \"abcdef\"\nDelete(s, 2, 3)\n", "s", "BasicScript"), "aef");
    EXPECT_EQ(RunFor("var s = \"abcdef\"; Delete(s, 2, 3);", "s", "JScript"), "aef");
    EXPECT_EQ(RunFor("string s; { s = \"abcdef\"; Delete(s, 2, 3); }", "s", "C++Script"), "aef");
    EXPECT_EQ(RunFor("var s: String; begin s := 'abcdef'; Delete(s, 2, 3); end.", "s"), "aef");
    // "delete obj" still frees the object.
    EXPECT_EQ(RunFor("var l = new TStringList; l.Add(\"x\"); var n = l.Count; delete l;", "n", "JScript"), "1");
}

TEST(EngineFaults, DayOfWeekTakesADateTime)
{
    EXPECT_EQ(RunFor("var d: Integer; begin d := DayOfWeek(EncodeDate(2005, 1, 1)); end.", "d"), "7");
    EXPECT_EQ(RunFor("var d: Integer; t: TDateTime; begin t := 38354.75; d := DayOfWeek(t); end.", "d"), "1");
}

TEST(EngineFaults, LongOperatorChainsBuildAndRunInEveryLanguage)
{
    std::string ones = "1";
    for (int i = 1; i < 50000; ++i)
        ones += "+1";
    for (const char* language : kLanguages)
        EXPECT_EQ(RunFor(assignment(language, ones), "r", language), "50000") << language;

    // Every operator keeps its meaning in a long chain: a mixed chain
    // against the same arithmetic done here.
    std::string mixed = "0";
    long long expect = 0;
    for (int i = 1; i <= 3000; ++i) {
        switch (i % 4) {
        case 0: mixed += "+" + std::to_string(i); expect += i; break;
        case 1: mixed += "-" + std::to_string(i) + "*2"; expect -= 2LL * i; break;
        case 2: mixed += "+" + std::to_string(i) + " div 3"; expect += i / 3; break;
        default: mixed += "-" + std::to_string(i) + " mod 7"; expect -= i % 7; break;
        }
    }
    EXPECT_EQ(RunFor("var r: Integer; begin r := " + mixed + "; end.", "r"), std::to_string(expect));
    std::string text = "'a'";
    for (int i = 0; i < 2000; ++i)
        text += "+'b'";
    EXPECT_EQ(RunFor("var s: String; r: Integer; begin s := " + text + "; r := Length(s); end.", "r"), "2001");
    std::string logic = "True";
    for (int i = 0; i < 2000; ++i)
        logic += i % 2 ? " and True" : " or False";
    EXPECT_EQ(RunFor("var b: Boolean; begin b := " + logic + "; end.", "b"), "True");
    // Variables in the chain, a comparison at its end.
    std::string vars = "x";
    for (int i = 0; i < 1000; ++i)
        vars += "+x";
    EXPECT_EQ(RunFor("var x: Variant; b: Boolean; begin x := 2; b := " + vars + " = 2002; end.", "b"), "True");
}

namespace {

std::string nestedIfs(const std::string& language, int depth)
{
    std::string s;
    if (language == "PascalScript") {
        s = "var x, r: Integer;\nbegin\nx := " + std::to_string(depth) + ";\n";
        for (int i = 0; i < depth; ++i)
            s += "if x = " + std::to_string(i) + " then r := " + std::to_string(i) + " else\n";
        s += "r := -1;\nend.\n";
    } else if (language == "BasicScript") {
        s = "x = " + std::to_string(depth) + "\n";
        for (int i = 0; i < depth; ++i)
            s += "If x = " + std::to_string(i) + " Then\nr = " + std::to_string(i) + "\nElse\n";
        s += "r = -1\n";
        for (int i = 0; i < depth; ++i)
            s += "End If\n";
    } else {
        s = language == "JScript" ? "var x = " + std::to_string(depth) + "; var r;\n"
                                  : "int x, r;\n{\nx = " + std::to_string(depth) + ";\n";
        for (int i = 0; i < depth; ++i)
            s += "if (x == " + std::to_string(i) + ") r = " + std::to_string(i) + "; else\n";
        s += "r = -1;\n";
        if (language != "JScript")
            s += "}\n";
    }
    return s;
}

} // namespace

TEST(EngineFaults, TenThousandLevelsOfNestingAnalyseBuildAndRun)
{
    for (const char* language : kLanguages)
        EXPECT_EQ(RunFor(nestedIfs(language, 10000), "r", language), "-1") << language;
    std::string blocks = "var r: Integer; begin ";
    for (int i = 0; i < 10000; ++i)
        blocks += "begin ";
    blocks += "r := 5;";
    for (int i = 0; i < 10000; ++i)
        blocks += " end;";
    blocks += " end.";
    EXPECT_EQ(RunFor(blocks, "r"), "5");
    std::string parens = std::string(10000, '(') + "2" + std::string(10000, ')');
    EXPECT_EQ(RunFor("var r: Integer; begin r := 1 + " + parens + "; end.", "r"), "3");
    std::string right = "1";
    for (int i = 0; i < 10000; ++i)
        right = "1+(" + right;
    right += std::string(10000, ')');
    EXPECT_EQ(RunFor("var r: Integer; begin r := " + right + "; end.", "r"), "10001");
}

TEST(EngineFaults, OnlyPathologicalNestingIsAnError)
{
    std::string deep = "begin x := " + std::string(2000000, '(') + "1" + std::string(2000000, ')') + "; end.";
    scripttest::Program p = Compile(deep);
    ASSERT_FALSE(p.compiled);
    EXPECT_NE(p.error.find("Nesting too deep"), std::string::npos) << p.error;
}

TEST(EngineFaults, AUnitIsReadOncePerCompilation)
{
    testsupport::TempDir dir;
    dir.write("c.pas", "var c: Integer;\r\nbegin end.\r\n");
    scripttest::Program p;
    p.script = std::make_unique<script::TfsScript>(&script::InstallStandardLibrary());
    p.script->UnitFolder = dir.path();
    p.script->SetText("uses 'c.pas', 'c.pas';\nbegin c := 3; end.");
    ASSERT_TRUE(p.script->Compile()) << p.script->ErrorText();
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("c"), "3");

    // A diamond of 46 units, each naming the next two: every unit once.
    for (int i = 0; i < 46; ++i) {
        std::string text;
        if (i + 2 < 46)
            text = "uses 'u" + std::to_string(i + 1) + ".pas', 'u" + std::to_string(i + 2) + ".pas';\r\n";
        else if (i + 1 < 46)
            text = "uses 'u" + std::to_string(i + 1) + ".pas';\r\n";
        text += "var v" + std::to_string(i) + ": Integer;\r\nbegin v" + std::to_string(i) + " := " + std::to_string(i) +
                "; end.\r\n";
        dir.write("u" + std::to_string(i) + ".pas", text);
    }
    script::TfsScript s(&script::InstallStandardLibrary());
    s.UnitFolder = dir.path();
    s.SetText("uses 'u0.pas';\nvar total: Integer;\nbegin total := v0 + v45; end.");
    ASSERT_TRUE(s.Compile()) << s.ErrorText();
    s.Execute();
    EXPECT_EQ(s.GetVariable("total").toString(), "45");
}

TEST(EngineFaults, ScriptsAndUnitsAreRegularFilesOfSaneSize)
{
    testsupport::TempDir dir;
    std::string fifo = dir.file("pipe.pas");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string bytes, error;
    EXPECT_FALSE(script::ReadScriptFile(fifo, bytes, &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_FALSE(script::ReadScriptFile("/dev/zero", bytes, &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    std::string big = dir.file("big.pas");
    int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t(65) << 20), 0);
    ::close(fd);
    EXPECT_FALSE(script::ReadScriptFile(big, bytes, &error));
    EXPECT_NE(error.find("larger than 64 MiB"), std::string::npos) << error;

    // A unit that is a pipe is refused the same way, without waiting.
    script::TfsScript s(&script::InstallStandardLibrary());
    s.UnitFolder = dir.path();
    s.SetText("uses 'pipe.pas';\nbegin end.");
    EXPECT_THROW(s.Compile(), std::exception);
}

TEST(EngineFaults, ValuesAreCappedWithOutOfMemory)
{
    SmallLimits limits(1 << 20, 1 << 16);
    EXPECT_EQ(RunFor("var s: String; begin s := 'x'; while True do s := s + s; end.", "s"),
              "RUNTIME ERROR: Out of memory");
    EXPECT_EQ(RunFor("var s: String; begin SetLength(s, 2000000); end.", "s"), "RUNTIME ERROR: Out of memory");
    EXPECT_EQ(RunFor("var v: Variant; begin v := VarArrayCreate([0, 100000], varVariant); end.", "v"),
              "RUNTIME ERROR: Out of memory");
    EXPECT_EQ(RunFor("var s: String; begin s := Format('%2000000d', [1]); end.", "s"), "RUNTIME ERROR: Out of memory");
    // The script can catch it.
    EXPECT_EQ(RunFor("var s: String; r: Integer; begin s := 'x'; try while True do s := s + s; except r := 1; end; end.",
                     "r"),
              "1");
}

TEST(EngineFaults, ARunCanBeStoppedEvenInAnEmptyLoop)
{
    scripttest::Program p = Compile("var i: Integer; begin try while True do ; except i := 1; end; end.");
    ASSERT_TRUE(p.compiled) << p.error;
    p.script->OnRunLine = [](script::TfsScript& s, const std::string&, const std::string&) { s.Terminate(); };
    // The hook of the while statement asks to stop; the loop stops at its
    // next round, and the script's own handler does not swallow it.
    EXPECT_EQ(p.Run(), "Script stopped");
    EXPECT_EQ(p.Var("i"), "0");
}
