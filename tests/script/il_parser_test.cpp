// The analyser: what it writes for the edge cases of the languages, the
// choice of language, backtracking, units and nesting.

#include "platform/text/cp1251.h"
#include "script/parser/il_parser.h"
#include "script/parser/language_registry.h"
#include "script/parser/script_text.h"
#include "script/script_error.h"
#include "tests/script/il_test_support.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using scripttest::Analyse;
using scripttest::Analysis;

namespace {

// The brief form of one statement of a Pascal-like main block.
std::string pascalStatement(const std::string& statement)
{
    Analysis a = Analyse("PascalScript", "begin " + statement + " end.");
    EXPECT_TRUE(a.ok) << a.errors.ErrorPosition << " " << a.errors.ErrorText;
    return a.brief;
}

} // namespace

TEST(IlParser, PascalProgramsAndTheirEnd)
{
    EXPECT_EQ(Analyse("PascalScript", "begin end.").brief, "program(compoundstmt)");
    // Whatever follows the final "end." is not read.
    Analysis a = Analyse("PascalScript", "begin end. )(*&^ stray");
    EXPECT_TRUE(a.ok);
    // A ";" after the last case selector, before "else" and before "end".
    EXPECT_EQ(pascalStatement("case x of 1: y := 1; else y := 2; end"),
              "program(compoundstmt(casestmt(expr(dsgn(node:x)) caseselector(set(expr(number:1)) "
              "assignstmt(dsgn(node:y) expr(number:1))) assignstmt(dsgn(node:y) expr(number:2)))))");
    EXPECT_TRUE(Analyse("PascalScript", "begin case x of 1: y := 1; end end.").ok);
    // Statements may be empty.
    EXPECT_EQ(pascalStatement(";;"), "program(compoundstmt)");
}

TEST(IlParser, PascalDeclarationsEndAtTheFirstNonIdentifier)
{
    Analysis a = Analyse("PascalScript", "var a, b: Integer; c: String;\nconst k = 1;\nbegin end.");
    ASSERT_TRUE(a.ok) << a.errors.ErrorText;
    EXPECT_EQ(a.brief, "program(var(ident:a ident:b type:Integer) var(ident:c type:String) "
                       "const(ident:k expr(number:1)) compoundstmt)");
}

TEST(IlParser, ArrayBoundsAndCounts)
{
    // "1..5": the number 1, two dots, the number 5.
    Analysis a = Analyse("PascalScript", "var m: array[1..5, 10] of Integer; begin end.");
    ASSERT_TRUE(a.ok);
    // A count is written once: the alternative that tried it as a lower
    // bound leaves nothing behind.
    EXPECT_EQ(a.brief, "program(var(ident:m array(dim(expr(number:1) expr(number:5)) dim(expr(number:10))) "
                       "type:Integer) compoundstmt)");
}

TEST(IlParser, AFailedOperandTakesItsOperatorBack)
{
    // "a * b * -1" is no expression of the grammar (a unary minus stands
    // only at the start); it must not become "a * b * - 1".
    EXPECT_FALSE(Analyse("PascalScript", "begin x := a * b * -1 end.").ok);
    EXPECT_FALSE(Analyse("JScript", "x = a * b * -1;").ok);
    EXPECT_FALSE(Analyse("C++Script", "{ x = a * b * -1; }").ok);
    EXPECT_FALSE(Analyse("BasicScript", "x = a * b * -1\n").ok);
    EXPECT_EQ(pascalStatement("x := a * b * (-1)"),
              "program(compoundstmt(assignstmt(dsgn(node:x) expr(dsgn(node:a) op:* dsgn(node:b) op:* op:( "
              "expr(op:unminus number:1) op:)))))");
}

TEST(IlParser, OperatorsAsEachLanguageSpellsThem)
{
    EXPECT_EQ(pascalStatement("x := -a div 2 mod 3 shl 1 shr 1 and b or c xor d"),
              "program(compoundstmt(assignstmt(dsgn(node:x) expr(op:unminus dsgn(node:a) op:div number:2 op:mod "
              "number:3 op:shl number:1 op:shr number:1 op:and dsgn(node:b) op:or dsgn(node:c) op:xor "
              "dsgn(node:d)))))");
    EXPECT_EQ(pascalStatement("x := (a <> b) = (a <= b) in s is t"),
              "program(compoundstmt(assignstmt(dsgn(node:x) expr(op:( expr(dsgn(node:a) op:<> dsgn(node:b)) op:) "
              "op:= op:( expr(dsgn(node:a) op:<= dsgn(node:b)) op:) op:in dsgn(node:s) op:is dsgn(node:t)))))");
    Analysis b = Analyse("BasicScript", "x = 7 \\ 2 & \"a\" <> not y\n");
    EXPECT_EQ(b.brief, "program(compoundstmt(assignstmt(dsgn(node:x) expr(number:7 op:div number:2 op:strcat "
                       "string:'a' op:<> op:not dsgn(node:y)))))");
    Analysis j = Analyse("JScript", "x = a % 2 << 1 >> 1 && b || c ^ !d != e == f;");
    EXPECT_EQ(j.brief, "program(compoundstmt(assignstmt(dsgn(node:x) expr(dsgn(node:a) op:mod number:2 op:shl "
                       "number:1 op:shr number:1 op:and dsgn(node:b) op:or dsgn(node:c) op:xor op:not "
                       "dsgn(node:d) op:<> dsgn(node:e) op:= dsgn(node:f)))))");
    // "<" starts a report expression only where an operand is expected.
    Analysis r = Analyse("JScript", "x = a < <b>;");
    EXPECT_EQ(r.brief, "program(compoundstmt(assignstmt(dsgn(node:x) expr(dsgn(node:a) op:< "
                       "dsgn(node:Get expr(string:'b'))))))");
}

TEST(IlParser, StatementsOfTheOtherLanguages)
{
    // i++ and i += 2, new and delete.
    for (const char* lang : {"JScript", "C++Script"}) {
        std::string body = "i++; i += 2; x = new TStringList; delete x;";
        Analysis a = Analyse(lang, std::string(lang) == "JScript" ? body : "{ " + body + " }");
        ASSERT_TRUE(a.ok) << lang << a.errors.ErrorText;
        EXPECT_EQ(a.brief, "program(compoundstmt(callstmt(dsgn(node:i) modificator:+) "
                           "assignstmt(dsgn(node:i) modificator:+ expr(number:2)) "
                           "assignstmt(dsgn(node:x) expr(new(dsgn(node:TStringList)))) delete(dsgn(node:x))))")
            << lang;
    }
    Analysis b = Analyse("BasicScript", "i++ : i += 2\nSet x = New TStringList\nDelete x\n");
    EXPECT_EQ(b.brief, "program(compoundstmt(callstmt(dsgn(node:i) modificator:+) "
                       "assignstmt(dsgn(node:i) modificator:+ expr(number:2)) "
                       "assignstmt(dsgn(node:x) expr(new(dsgn(node:TStringList)))) delete(dsgn(node:x))))");
    // After a dot the Basic-like language takes any word, keywords too.
    EXPECT_EQ(Analyse("BasicScript", "o.Next.End\n").brief,
              "program(compoundstmt(callstmt(dsgn(node:o node:Next node:End))))");
    // Do ... Loop Until and Loop While.
    EXPECT_EQ(Analyse("BasicScript", "Do\nLoop Until x\nDo\nLoop While x\n").brief,
              "program(compoundstmt(repeatstmt(compoundstmt expr(dsgn(node:x))) "
              "repeatstmt(compoundstmt expr(dsgn(node:x)) inverse:)))");
    // An If block with an empty Then part and an Else part.
    EXPECT_EQ(Analyse("BasicScript", "If x Then\nElse\n  y = 1\nEnd If\n").brief,
              "program(compoundstmt(ifstmt(expr(dsgn(node:x)) elsestmt(compoundstmt(assignstmt(dsgn(node:y) "
              "expr(number:1)))))))");
    // C-like: void result, grouped parameter types, #define.
    Analysis c = Analyse("C++Script", "#define N 10\nvoid f(int a, b; string s) { }\n{ }");
    EXPECT_EQ(c.brief, "program(const(ident:N expr(number:10)) function(type:void name:f parameters(var(type:int "
                       "ident:a ident:b) var(type:string ident:s)) compoundstmt) compoundstmt)");
}

TEST(IlParser, BasicLineEndsAndComments)
{
    // A comment at the end of a line keeps the line's end; "_" joins lines.
    Analysis a = Analyse("BasicScript", "x = 1 ' one\ny = _\n  2 rem two\n/\\ block /\\ z = 3\n");
    ASSERT_TRUE(a.ok) << a.errors.ErrorPosition << " " << a.errors.ErrorText;
    EXPECT_EQ(a.brief, "program(compoundstmt(assignstmt(dsgn(node:x) expr(number:1)) assignstmt(dsgn(node:y) "
                       "expr(number:2)) assignstmt(dsgn(node:z) expr(number:3))))");
    // A word that starts with a lower-case "rem" is taken for a comment:
    // the line is gone. In other letter case it is a name.
    a = Analyse("BasicScript", "remainder = 1\nRemainder = 2\n");
    EXPECT_EQ(a.brief, "program(compoundstmt(assignstmt(dsgn(node:Remainder) expr(number:2))))");
    // Two statements on a line.
    EXPECT_EQ(Analyse("BasicScript", "a = 1 : b = 2\n").brief,
              "program(compoundstmt(assignstmt(dsgn(node:a) expr(number:1)) assignstmt(dsgn(node:b) "
              "expr(number:2))))");
    // An empty script, or one of comments only, is an empty program.
    EXPECT_EQ(Analyse("BasicScript", "").brief, "program");
    EXPECT_EQ(Analyse("BasicScript", "' nothing\n").brief, "program(compoundstmt)");
    EXPECT_EQ(Analyse("JScript", "").brief, "program(compoundstmt)");
}

TEST(IlParser, LfLineEndsBehaveAsCrLf)
{
    const char* text = "x = 1 ' one\n\ny = 2\n";
    std::string crlf = "x = 1 ' one\r\n\r\ny = 2\r\n";
    script::ScriptErrors e1, e2;
    script::TfsILParser p1(e1), p2(e2);
    p1.UseLanguage("BasicScript");
    p2.UseLanguage("BasicScript");
    ASSERT_TRUE(p1.BuildIntermediate(script::NormalizeLineEnds(text)));
    ASSERT_TRUE(p2.BuildIntermediate(crlf));
    EXPECT_EQ(p1.ILDocument().SaveToText(), p2.ILDocument().SaveToText());
    // Positions count lines of LF-only text too.
    Analysis a = Analyse("PascalScript", "begin\nx := ;\nend.");
    EXPECT_EQ(a.errors.ErrorPosition, "2:6");
    EXPECT_EQ(script::NormalizeLineEnds("a\nb\rc\r\n\nd"), "a\r\nb\r\nc\r\n\r\nd\r\n");
    EXPECT_EQ(script::NormalizeLineEnds(""), "");
}

TEST(IlParser, StringsKeepTheirCharacters)
{
    // Code page 1251 letters pass through untouched; characters that would
    // break the document, and "&#", are escaped and come back.
    Analysis a = Analyse("PascalScript",
                         "begin s := '\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0!'; t := '<\"&#65;\">' + #13#10; end.");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.brief, "program(compoundstmt(assignstmt(dsgn(node:s) expr(string:'\xcf\xf0\xe8\xe2\xe5\xf2, "
                       "\xec\xe8\xf0!')) assignstmt(dsgn(node:t) expr(string:'<\"&#65;\">' op:+ string:'\r\n'))))");
    Analysis j = Analyse("JScript", "s = \"\\x41\\n\xe0\";");
    EXPECT_EQ(j.brief, "program(compoundstmt(assignstmt(dsgn(node:s) expr(string:'A\n\xe0'))))");
}

TEST(IlParser, FirstLineChoosesTheLanguage)
{
    script::ScriptErrors errors;
    script::TfsILParser p(errors);
    p.UseLanguage("PascalScript");
    EXPECT_TRUE(p.DeclareVars());
    ASSERT_TRUE(p.BuildIntermediate("#language JScript\r\nvar x = 1;\r\n"));
    EXPECT_EQ(p.LanguageName(), "JScript");
    EXPECT_FALSE(p.DeclareVars());
    EXPECT_EQ(scripttest::Brief(p.ILDocument().Root()),
              "program(compoundstmt(var(ident:x init(expr(number:1)))))");
    // Positions keep counting from the first line.
    script::TfsILParser q(errors);
    q.UseLanguage("PascalScript");
    EXPECT_FALSE(q.BuildIntermediate("#language JScript\r\nx = ;\r\n"));
    EXPECT_EQ(errors.ErrorPosition, "2:5");
    // An unknown language is an exception.
    script::TfsILParser r(errors);
    r.UseLanguage("PascalScript");
    EXPECT_EQ(scripttest::ErrorOf([&] { r.BuildIntermediate("#language Cobol\r\nbegin end.\r\n"); }),
              "Language 'Cobol' not found");
    EXPECT_EQ(scripttest::ErrorOf([&] { r.UseLanguage("Cobol"); }), "Language 'Cobol' not found");
    // "#" without the word is no language line.
    script::TfsILParser c(errors);
    c.UseLanguage("C++Script");
    EXPECT_TRUE(c.BuildIntermediate("#define N 1\r\n{ }\r\n"));
}

TEST(IlParser, SuccessClearsTheErrorFields)
{
    script::ScriptErrors errors;
    script::TfsILParser p(errors);
    p.UseLanguage("PascalScript");
    EXPECT_FALSE(p.BuildIntermediate("begin x := ; end."));
    EXPECT_EQ(errors.ErrorText, "Expression expected");
    EXPECT_TRUE(p.BuildIntermediate("begin end."));
    EXPECT_EQ(errors.ErrorText, "");
    EXPECT_EQ(errors.ErrorPosition, "");
    EXPECT_EQ(errors.ErrorUnit, "");
    EXPECT_EQ(p.ILDocument().Root().Count(), 2); // compoundstmt, types
}

TEST(IlParser, DeepNestingAnalyses)
{
    // Ten thousand levels analyse (the analyser has a large stack of its
    // own); only far deeper nesting is an error (engine_faults_test).
    std::string deep = "begin x := " + std::string(10000, '(') + "1" + std::string(10000, ')') + "; end.";
    Analysis a = Analyse("PascalScript", deep);
    EXPECT_TRUE(a.ok) << a.errors.ErrorText;
    std::string fine = "begin x := " + std::string(100, '(') + "1" + std::string(100, ')') + "; end.";
    EXPECT_TRUE(Analyse("PascalScript", fine).ok);
}

// --- units ---------------------------------------------------------------------

TEST(IlUnits, EveryLanguageNamesItsUnits)
{
    testsupport::TempDir dir;
    dir.write("u.pas", "var a: Integer;\r\nbegin end.\r\n");
    dir.write("u.vbs", "Dim a\r\n");
    dir.write("u.js", "var a;\r\n");
    dir.write("u.h", "int a;\r\n{ }\r\n");
    EXPECT_EQ(Analyse("PascalScript", "uses 'u.pas';\nbegin end.", dir.path()).brief,
              "program(uses(program(var(ident:a type:Integer) compoundstmt types)) compoundstmt)");
    EXPECT_EQ(Analyse("BasicScript", "Imports \"u.vbs\"\n", dir.path()).brief,
              "program(compoundstmt(uses(program(compoundstmt(var(ident:a)) types(decimal)))))");
    EXPECT_EQ(Analyse("JScript", "import \"u.js\"", dir.path()).brief,
              "program(compoundstmt(uses(program(compoundstmt(var(ident:a)) types))))");
    EXPECT_EQ(Analyse("C++Script", "#include \"u.h\"\n{ }", dir.path()).brief,
              "program(uses(program(var(type:int ident:a) compoundstmt types(int long void bool float))) "
              "compoundstmt)");
}

TEST(IlUnits, AFailingUnitNamesItselfInErrorUnit)
{
    testsupport::TempDir dir;
    dir.write("bad.pas", "begin\r\n  x := ;\r\nend.\r\n");
    dir.write("mid.pas", "uses 'bad.pas';\r\nbegin end.\r\n");
    Analysis a = Analyse("PascalScript", "uses 'bad.pas';\nbegin end.", dir.path());
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.errors.ErrorText, "Expression expected");
    EXPECT_EQ(a.errors.ErrorPosition, "2:8"); // in the unit's text
    EXPECT_EQ(a.errors.ErrorUnit, "bad.pas");
    // Through another unit: the unit that holds the error is named.
    a = Analyse("PascalScript", "uses 'mid.pas';\nbegin end.", dir.path());
    EXPECT_EQ(a.errors.ErrorUnit, "bad.pas");
    EXPECT_EQ(a.errors.ErrorPosition, "2:8");
    // An error of the main text before the unit keeps the first place.
    a = Analyse("PascalScript", "uses 'bad.pas'\nbegin end.", dir.path());
    EXPECT_EQ(a.errors.ErrorText, "';' expected");
    EXPECT_EQ(a.errors.ErrorUnit, "");
}

TEST(IlUnits, UnitsThatIncludeEachOtherAreAnError)
{
    testsupport::TempDir dir;
    dir.write("self.pas", "uses 'self.pas';\r\nbegin end.\r\n");
    dir.write("a.pas", "uses 'b.pas';\r\nbegin end.\r\n");
    dir.write("b.pas", "uses   './a.pas';\r\nbegin end.\r\n");
    Analysis a = Analyse("PascalScript", "uses 'self.pas';\nbegin end.", dir.path());
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.errors.ErrorText, "Circular unit reference: 'self.pas'");
    EXPECT_EQ(a.errors.ErrorUnit, "self.pas");
    EXPECT_EQ(a.errors.ErrorPosition, "1:6");
    a = Analyse("PascalScript", "uses 'a.pas';\nbegin end.", dir.path());
    EXPECT_EQ(a.errors.ErrorText, "Circular unit reference: './a.pas'");
    EXPECT_EQ(a.errors.ErrorUnit, "b.pas");
    EXPECT_EQ(a.errors.ErrorPosition, "1:8");
    // The same unit twice, side by side, is no cycle.
    dir.write("leaf.pas", "begin end.\r\n");
    EXPECT_TRUE(Analyse("PascalScript", "uses 'leaf.pas', 'leaf.pas';\nbegin end.", dir.path()).ok);
}

TEST(IlUnits, FileNamesAndFolders)
{
    testsupport::TempDir dir;
    // A unit's own units are looked up beside it; its name is 8-bit text.
    dir.write("\xd0\xbc\xd0\xbe\xd0\xb4\xd1\x83\xd0\xbb\xd1\x8c.pas", "uses 'inner.pas';\nbegin end.\n"); // UTF-8 on disk
    std::filesystem::create_directory(dir.path() + "sub");
    dir.write("sub/inner.pas", "var deep: Integer;\nbegin end.\n");
    dir.write("sub/outer.pas", "uses 'inner.pas';\nbegin end.\n");
    Analysis a = Analyse("PascalScript", "uses 'sub/outer.pas';\nbegin end.", dir.path());
    ASSERT_TRUE(a.ok) << a.errors.ErrorText;
    EXPECT_EQ(a.brief, "program(uses(program(uses(program(var(ident:deep type:Integer) compoundstmt types)) "
                       "compoundstmt types)) compoundstmt)");
    // A unit that cannot be read is the file system's error.
    std::string missing = scripttest::ErrorOf([&] { Analyse("PascalScript", "uses 'nowhere.pas'; begin end.", dir.path()); });
    EXPECT_NE(missing.find("Cannot open file"), std::string::npos) << missing;
    // Only regular files: a device would never end.
    std::string device = scripttest::ErrorOf([&] { Analyse("PascalScript", "uses '/dev/zero'; begin end.", dir.path()); });
    EXPECT_EQ(device, "Cannot open file \"/dev/zero\": not a regular file");
    // Code page 1251 in the script, UTF-8 in the file system.
    dir.write("inner.pas", "begin end.\n");
    a = Analyse("PascalScript", "uses '\xec\xee\xe4\xf3\xeb\xfc.pas';\nbegin end.", dir.path());
    EXPECT_TRUE(a.ok) << a.errors.ErrorText;
    EXPECT_EQ(a.brief, "program(uses(program(uses(program(compoundstmt types)) compoundstmt types)) compoundstmt)");
}

TEST(IlUnits, AHostMayReadUnitsItself)
{
    script::ScriptErrors errors;
    script::TfsILParser p(errors);
    p.UseLanguage("JScript");
    std::vector<std::string> asked;
    p.SetUnitReader([&](const std::string& path) {
        asked.push_back(path);
        if (path.find("nested") != std::string::npos)
            return std::string("var n;");
        return std::string("import \"nested.js\"; var u;");
    });
    p.SetUnitFolder("/scripts");
    ASSERT_TRUE(p.BuildIntermediate("import \"lib/u.js\";\r\n"));
    EXPECT_EQ(asked, (std::vector<std::string>{"/scripts/lib/u.js", "/scripts/lib/nested.js"}));
    EXPECT_EQ(scripttest::Brief(p.ILDocument().Root()),
              "program(compoundstmt(uses(program(compoundstmt(uses(program(compoundstmt(var(ident:n)) types)) "
              "var(ident:u)) types))))");
}
