// tavrin --script FILE --il and tavrin --script FILE --print NAME...: the
// real program, its output and exit status.

#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result run(const std::string& args, const testsupport::TempDir& dir)
{
    const char* bin = std::getenv("TAVRIN_BIN");
    std::string cmd = "cd '" + dir.path() + "' && TAVRIN_HOME='" + dir.path() + "' '" + (bin ? bin : "tavrin") +
                      "' " + args + " >'" + dir.file("out") + "' 2>'" + dir.file("err") + "'";
    int st = std::system(cmd.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, testsupport::readAll(dir.file("out")),
            testsupport::readAll(dir.file("err"))};
}

} // namespace

TEST(ScriptCommand, PrintsTheIntermediateLanguage)
{
    testsupport::TempDir dir;
    // LF line ends, as Linux editors write them; a Cyrillic string in code
    // page 1251, printed as UTF-8.
    dir.write("s.pas", "begin\n  s := '\xcf\xf0\xe8\xe2\xe5\xf2';\nend.\n");
    Result r = run("--script s.pas --il", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "<?xml version=\"1.0\"?>\n"
                     "<program>\n"
                     "  <compoundstmt pos=\"1:1\">\n"
                     "    <assignstmt pos=\"2:3\">\n"
                     "      <dsgn pos=\"2:3\">\n"
                     "        <node text=\"s\" pos=\"2:4\"/>\n"
                     "      </dsgn>\n"
                     "      <expr pos=\"2:8\">\n"
                     "        <string text=\"'\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82'\" pos=\"2:16\"/>\n"
                     "      </expr>\n"
                     "    </assignstmt>\n"
                     "  </compoundstmt>\n"
                     "  <types/>\n"
                     "</program>\n");
    EXPECT_EQ(r.err, "");

    dir.write("s.js", "var x = 1;\n");
    r = run("--script s.js --il --language JScript", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("<ident text=\"x\" pos=\"1:6\"/>"), std::string::npos) << r.out;
}

TEST(ScriptCommand, SyntaxErrorsAndFailures)
{
    testsupport::TempDir dir;
    dir.write("bad.pas", "begin\n  x := ;\nend.\n");
    Result r = run("--script bad.pas --il", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ERROR 2:8: Expression expected\n");
    EXPECT_EQ(r.out, "");

    // Units are looked up beside the script.
    std::string sub = dir.path() + "lib";
    std::system(("mkdir -p '" + sub + "'").c_str());
    dir.write("lib/main.pas", "uses 'unit.pas';\nbegin end.\n");
    dir.write("lib/unit.pas", "begin x := ; end.\n");
    r = run("--script lib/main.pas --il", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ERROR 1:12: Expression expected (unit \"unit.pas\")\n");

    r = run("--script missing.pas --il", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Cannot open file"), std::string::npos) << r.err;
    r = run("--script bad.pas --il --language Cobol", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tavrin: Language 'Cobol' not found\n");
    r = run("--script bad.pas", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ERROR 2:8: Expression expected\n");
    r = run("--script bad.pas --il --print x", dir);
    EXPECT_EQ(r.status, 1);
    r = run("--script", dir);
    EXPECT_EQ(r.status, 1);
    r = run("--help", dir);
    EXPECT_NE(r.out.find("--script FILE --il"), std::string::npos);
}

TEST(ScriptCommand, RunsAndPrintsVariables)
{
    testsupport::TempDir dir;
    // Numbers in "." form whatever the locale (this test also runs under a
    // Russian one); text converted from code page 1251.
    dir.write("run.pas", "var i: Integer; x: Double; s: String; b: Boolean;\n"
                         "begin\n  for i := 1 to 10 do x := x + 0.25;\n"
                         "  s := '\xcc\xe8\xf0';\n  b := x > 2;\nend.\n");
    Result r = run("--script run.pas --print x s i b missing", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "x=2.5\ns=\xd0\x9c\xd0\xb8\xd1\x80\ni=10\nb=True\nmissing=\n");
    EXPECT_EQ(r.err, "");

    dir.write("run.js", "var total = 0;\nfor (var i = 1; i <= 4; i++) total += i;\n");
    r = run("--script run.js --language JScript --print total", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "total=10\n");

    dir.write("undeclared.pas", "begin\n  y := 1;\nend.\n");
    r = run("--script undeclared.pas --print y", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ERROR 2:4: Undeclared identifier: 'y'\n");
    EXPECT_EQ(r.out, "");

    dir.write("div.pas", "var a, b: Integer;\nbegin\n  a := 1 div b;\nend.\n");
    r = run("--script div.pas --print a", dir);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "RUNTIME ERROR: Division by zero\n");
    EXPECT_EQ(r.out, "");
}

TEST(ScriptCommand, SystemFunctionsInEveryLanguage)
{
    testsupport::TempDir dir;
    // The language follows the extension.
    dir.write("f.pas", "var s: String; n: Integer;\nbegin\n  s := UpperCase(Copy('hello', 2, 3)) + IntToStr(Length('abc'));\n"
                       "  n := Pos('L', s) + Round(Sqrt(16));\nend.\n");
    Result r = run("--script f.pas --print s n", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "s=ELL3\nn=6\n");
    dir.write("f2.vbs", "s = IntToStr(7) & \"-x\"\nt = Trim(\"  a  \") & FloatToStr(1 / 4)\n");
    r = run("--script f2.vbs --print s t", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "s=7-x\nt=a0.25\n");
    dir.write("f.js", "var d = DayOfWeek(EncodeDate(2005, 1, 1)); var s = Chr(65) + Lowercase(\"BC\");\n");
    r = run("--script f.js --print d s", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "d=7\ns=Abc\n");
    dir.write("f.cpp", "int n; string s;\n{\n  s = FormatFloat(\"0.00\", 2.0 / 3);\n  n = StrToInt(\"41\") + 1;\n}\n");
    r = run("--script f.cpp --print n s", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "n=42\ns=0.67\n");
    // ShowMessage goes to standard error when there is no window.
    dir.write("msg.pas", "begin ShowMessage('hi there'); end.\n");
    r = run("--script msg.pas", dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "hi there\n");
    dir.write("raise.pas", "begin RaiseException('stopped by the script'); end.\n");
    r = run("--script raise.pas", dir);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "RUNTIME ERROR: stopped by the script\n");
}

TEST(ScriptCommand, OnlyRegularFilesAreRead)
{
    testsupport::TempDir dir;
    std::system(("mkfifo '" + dir.file("pipe.pas") + "'").c_str());
    Result r = run("--script pipe.pas", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
    r = run("--script /dev/zero --il", dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
}
