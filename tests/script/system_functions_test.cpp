// The system functions of the global scope, called from scripts, with the
// edge cases of each: conversions, dates, strings, mathematics and the rest.

#include "tests/script/run_support.h"
#include "tests/test_support.h"

#include "script/binding/host_ui.h"
#include "script/binding/terminal_ui.h"

#include <gtest/gtest.h>

using scripttest::RunFor;

namespace {

// The value of expression, through a Variant.
std::string eval(const std::string& expression)
{
    return RunFor("var r: Variant; begin r := " + expression + "; end.", "r");
}

std::string failure(const std::string& statement)
{
    return RunFor("var r: Variant; s: String; i: Integer; begin " + statement + "; end.", "r");
}

} // namespace

TEST(SystemFunctions, Conversions)
{
    EXPECT_EQ(eval("IntToStr(42)"), "42");
    EXPECT_EQ(eval("IntToStr(-7)"), "-7");
    // A Variant holding a float is converted to an integer, halves to even.
    EXPECT_EQ(RunFor("var v, r: Variant; begin v := 2.5; r := IntToStr(v); end.", "r"), "2");
    EXPECT_EQ(RunFor("var v, r: Variant; begin v := 1e10; r := IntToStr(v); end.", "r"),
              "RUNTIME ERROR: Overflow while converting variant of type (Double) into type (Integer)");
    EXPECT_EQ(RunFor("var r: Variant; begin r := IntToStr(2.5); end.", "r"),
              "ERROR 1:37: Incompatible types: 'Integer', 'Extended'");
    EXPECT_EQ(eval("FloatToStr(0.1 + 0.2)"), "0.3");
    EXPECT_EQ(eval("FloatToStr(1e20)"), "1E20");
    EXPECT_EQ(eval("FloatToStr(-0.0)"), "0");
    EXPECT_EQ(eval("FloatToStr(2.5)"), "2.5");
    EXPECT_EQ(eval("DateToStr(38353)"), "01.01.2005");
    EXPECT_EQ(eval("TimeToStr(0.75)"), "18:00:00");
    EXPECT_EQ(eval("DateTimeToStr(38353.5)"), "01.01.2005 12:00:00");
    EXPECT_EQ(failure("r := DateToStr(1e12)"), "RUNTIME ERROR: Invalid date: 1000000000000");
    EXPECT_EQ(eval("VarToStr(Null)"), "");
    EXPECT_EQ(eval("VarToStr(True)"), "True");
    EXPECT_EQ(eval("StrToInt(' 12 ')"), "12");
    EXPECT_EQ(eval("StrToInt('$FF')"), "255");
    EXPECT_EQ(eval("StrToInt('-2147483648')"), "-2147483648");
    EXPECT_EQ(failure("r := StrToInt('2147483648')"), "RUNTIME ERROR: '2147483648' is not a valid integer value");
    EXPECT_EQ(failure("r := StrToInt('12a')"), "RUNTIME ERROR: '12a' is not a valid integer value");
    EXPECT_EQ(failure("r := StrToInt('1.5')"), "RUNTIME ERROR: '1.5' is not a valid integer value");
    EXPECT_EQ(eval("StrToFloat('1.5')"), "1.5");
    EXPECT_EQ(eval("StrToFloat('1,5')"), "1.5"); // a decimal comma reads as the point
    EXPECT_EQ(eval("StrToFloat('-2e3')"), "-2000");
    EXPECT_EQ(failure("r := StrToFloat('x')"), "RUNTIME ERROR: 'x' is not a valid floating point value");
    EXPECT_EQ(eval("FloatToStr(StrToDate('05.03.2007'))"), "39146");
    EXPECT_EQ(eval("FloatToStr(StrToDate('5/3/07'))"), "39146");
    EXPECT_EQ(failure("r := StrToDate('31.02.2007')"), "RUNTIME ERROR: '31.02.2007' is not a valid date");
    EXPECT_EQ(eval("FloatToStr(StrToTime('18:00'))"), "0.75");
    EXPECT_EQ(eval("FloatToStr(StrToTime('6:00 PM'))"), "0.75");
    EXPECT_EQ(failure("r := StrToTime('25:00')"), "RUNTIME ERROR: '25:00' is not a valid time");
    EXPECT_EQ(eval("FloatToStr(StrToDateTime('01.01.2005 12:00'))"), "38353.5");
    EXPECT_EQ(failure("r := StrToDateTime('01.01.2005 x')"),
              "RUNTIME ERROR: '01.01.2005 x' is not a valid date and time");
}

TEST(SystemFunctions, Dates)
{
    const char* decode = R"(
var y, m, d, h, n, s, ms: Word; t: TDateTime;
begin
  t := EncodeDate(2005, 1, 1) + EncodeTime(13, 45, 30, 250);
  DecodeDate(t, y, m, d);
  DecodeTime(t, h, n, s, ms);
end.)";
    scripttest::Program p = scripttest::Compile(decode);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("y"), "2005");
    EXPECT_EQ(p.Var("m"), "1");
    EXPECT_EQ(p.Var("d"), "1");
    EXPECT_EQ(p.Var("h"), "13");
    EXPECT_EQ(p.Var("n"), "45");
    EXPECT_EQ(p.Var("s"), "30");
    EXPECT_EQ(p.Var("ms"), "250");
    EXPECT_EQ(eval("FloatToStr(EncodeDate(1899, 12, 30))"), "0");
    EXPECT_EQ(failure("r := EncodeDate(2005, 2, 29)"), "RUNTIME ERROR: Invalid argument to date encode");
    EXPECT_EQ(failure("r := EncodeTime(24, 0, 0, 0)"), "RUNTIME ERROR: Invalid argument to time encode");
    EXPECT_EQ(failure("DecodeDate(1e12, i, i, i)"), "RUNTIME ERROR: Invalid date: 1000000000000");
    EXPECT_EQ(eval("DayOfWeek(EncodeDate(2005, 1, 2))"), "1"); // Sunday
    // Before 30 December 1899: the day of a negative serial is its whole part.
    EXPECT_EQ(eval("DayOfWeek(-1)"), "6");
    EXPECT_EQ(eval("DayOfWeek(-7)"), "7");
    EXPECT_EQ(eval("DayOfWeek(-1.5)"), "6");
    EXPECT_EQ(eval("IsLeapYear(2000)"), "True");
    EXPECT_EQ(eval("IsLeapYear(1900)"), "False");
    EXPECT_EQ(eval("IsLeapYear(2004)"), "True");
    EXPECT_EQ(eval("DaysInMonth(2004, 2)"), "29");
    EXPECT_EQ(eval("DaysInMonth(2005, 2)"), "28");
    EXPECT_EQ(eval("DaysInMonth(2005, 12)"), "31");
    EXPECT_EQ(failure("r := DaysInMonth(2005, 13)"), "RUNTIME ERROR: Month out of range: 13");
    EXPECT_EQ(failure("r := DaysInMonth(2005, 0)"), "RUNTIME ERROR: Month out of range: 0");
    // Now is today plus the time of day.
    EXPECT_EQ(eval("(Now >= Date) and (Now < Date + 1) and (Time < 1) and (Trunc(Now) = Date)"), "True");
}

TEST(SystemFunctions, Strings)
{
    EXPECT_EQ(eval("Length('')"), "0");
    EXPECT_EQ(eval("Length('abc')"), "3");
    EXPECT_EQ(eval("Copy('abcdef', 2, 3)"), "bcd");
    EXPECT_EQ(eval("Copy('abcdef', 0, 2)"), "ab");
    EXPECT_EQ(eval("Copy('abcdef', -5, 3)"), "abc");
    EXPECT_EQ(eval("Copy('abcdef', 5, 100)"), "ef");
    EXPECT_EQ(eval("Copy('abcdef', 7, 1)"), "");
    EXPECT_EQ(eval("Copy('abcdef', 2, -1)"), "");
    EXPECT_EQ(eval("Copy('abcdef', 2, 2147483647)"), "bcdef");
    EXPECT_EQ(eval("Copy('abcdef', 2147483647, 2147483647)"), "");
    EXPECT_EQ(eval("Pos('cd', 'abcdcd')"), "3");
    EXPECT_EQ(eval("Pos('x', 'abc')"), "0");
    EXPECT_EQ(eval("Pos('', 'abc')"), "0");
    auto edit = [](const std::string& statement) {
        return RunFor("var s: String; begin s := 'abcdef'; " + statement + "; end.", "s");
    };
    EXPECT_EQ(edit("Delete(s, 2, 2)"), "adef");
    EXPECT_EQ(edit("Delete(s, 5, 100)"), "abcd");
    EXPECT_EQ(edit("Delete(s, 0, 2)"), "abcdef");
    EXPECT_EQ(edit("Delete(s, 7, 1)"), "abcdef");
    EXPECT_EQ(edit("Delete(s, 2, -1)"), "abcdef");
    EXPECT_EQ(edit("Delete(s, 2, 2147483647)"), "a");
    EXPECT_EQ(edit("Insert('XY', s, 3)"), "abXYcdef");
    EXPECT_EQ(edit("Insert('XY', s, -4)"), "XYabcdef");
    EXPECT_EQ(edit("Insert('XY', s, 2147483647)"), "abcdefXY");
    EXPECT_EQ(edit("SetLength(s, 2)"), "ab");
    EXPECT_EQ(edit("SetLength(s, -3)"), "");
    EXPECT_EQ(RunFor("var s: String; n: Integer; begin s := 'ab'; SetLength(s, 5); n := Length(s); end.", "n"), "5");
    EXPECT_EQ(eval("Uppercase('abc xyz')"), "ABC XYZ");
    EXPECT_EQ(eval("Lowercase('ABC')"), "abc");
    EXPECT_EQ(eval("Trim('  a b ' + Chr(9))"), "a b");
    EXPECT_EQ(eval("NameCase('ivan ivanov')"), "ivan Ivanov");
    EXPECT_EQ(eval("CompareText('abc', 'ABC')"), "0");
    EXPECT_EQ(eval("CompareText('abc', 'abd') < 0"), "True");
    EXPECT_EQ(eval("CompareText('b', 'A') > 0"), "True");
    EXPECT_EQ(eval("Ord(Chr(65))"), "65");
    EXPECT_EQ(eval("Ord(Chr(321))"), "65"); // the low eight bits
    EXPECT_EQ(eval("Ord(Chr(-1))"), "255");
    EXPECT_EQ(eval("Ord('')"), "0");
    EXPECT_EQ(eval("Ord('abc')"), "97");
}

TEST(SystemFunctions, StringsOfTheRussianCodePage)
{
    // Code page 1251 bytes, whatever the locale of the process says.
    const std::string lowerYo = "\xB8", upperYo = "\xA8";
    const std::string privet = "\xEF\xF0\xE8\xE2\xE5\xF2", PRIVET = "\xCF\xD0\xC8\xC2\xC5\xD2";
    EXPECT_EQ(eval("Uppercase('" + privet + "')"), PRIVET);
    EXPECT_EQ(eval("Lowercase('" + PRIVET + upperYo + "')"), privet + lowerYo);
    EXPECT_EQ(eval("CompareText('" + privet + "', '" + PRIVET + "')"), "0");
    // Ё sorts right after Е and before Ж.
    EXPECT_EQ(eval("CompareText('" + upperYo + "', '\xC5') > 0"), "True");
    EXPECT_EQ(eval("CompareText('" + upperYo + "', '\xC6') < 0"), "True");
    EXPECT_EQ(eval("NameCase('a " + privet + "')"), "a " + std::string("\xCF") + privet.substr(1));
}

TEST(SystemFunctions, Mathematics)
{
    EXPECT_EQ(eval("Round(2.5)"), "2");
    EXPECT_EQ(eval("Round(3.5)"), "4");
    EXPECT_EQ(eval("Round(-2.5)"), "-2");
    EXPECT_EQ(eval("Round(2147483647.4)"), "2147483647");
    EXPECT_EQ(failure("r := Round(2147483648.0)"), "RUNTIME ERROR: Integer overflow: 2147483648");
    EXPECT_EQ(failure("r := Round(1e300)"), "RUNTIME ERROR: Integer overflow: 1E300");
    EXPECT_EQ(eval("Trunc(-2.7)"), "-2");
    EXPECT_EQ(failure("r := Trunc(-3e9)"), "RUNTIME ERROR: Integer overflow: -3000000000");
    EXPECT_EQ(eval("Int(-2.7)"), "-2");
    EXPECT_EQ(eval("Frac(2.75)"), "0.75");
    EXPECT_EQ(eval("Sqrt(16)"), "4");
    EXPECT_EQ(failure("r := Sqrt(-1)"), "RUNTIME ERROR: Invalid floating point operation");
    EXPECT_EQ(eval("Abs(-3)"), "3");
    EXPECT_EQ(eval("Round(Sin(Pi / 2) * 1000)"), "1000");
    EXPECT_EQ(eval("Round(Cos(Pi) * 1000)"), "-1000");
    EXPECT_EQ(eval("Round(ArcTan(1) * 4000)"), "3142");
    EXPECT_EQ(eval("Round(Tan(Pi / 4) * 1000)"), "1000");
    EXPECT_EQ(eval("Exp(0)"), "1");
    EXPECT_EQ(failure("r := Exp(1000)"), "RUNTIME ERROR: Floating point overflow");
    EXPECT_EQ(eval("Ln(1)"), "0");
    EXPECT_EQ(failure("r := Ln(0)"), "RUNTIME ERROR: Invalid floating point operation");
    EXPECT_EQ(failure("r := Ln(-1)"), "RUNTIME ERROR: Invalid floating point operation");
    EXPECT_EQ(eval("FloatToStr(Pi)"), "3.14159265358979");
}

TEST(SystemFunctions, TheRest)
{
    EXPECT_EQ(RunFor("var x: Integer; begin x := 1; Inc(x); Inc(x, 5); end.", "x"), "7");
    EXPECT_EQ(RunFor("var x: Integer; begin x := 1; Dec(x); Dec(x, 5); end.", "x"), "-5");
    EXPECT_EQ(RunFor("var a: array[0..1] of Integer; r: Integer; begin Inc(a[1], 3); r := a[1]; end.", "r"), "3");
    EXPECT_EQ(RunFor("var v: Variant; begin v := 1.5; Inc(v); end.", "v"), "2.5");
    EXPECT_EQ(failure("RaiseException('stop here')"), "RUNTIME ERROR: stop here");
    EXPECT_EQ(RunFor("var r: Integer; begin try RaiseException('x'); except r := 1; end; end.", "r"), "1");
    EXPECT_EQ(eval("(Random >= 0) and (Random < 1)"), "True");
    EXPECT_EQ(RunFor("var i: Integer; ok: Boolean; x: Double; begin Randomize; ok := True; for i := 1 to 1000 do "
                     "begin x := Random; ok := ok and (x >= 0) and (x < 1); end; end.",
                     "ok"),
              "True");
    EXPECT_EQ(eval("ValidInt('12')"), "True");
    EXPECT_EQ(eval("ValidInt('1.2')"), "False");
    EXPECT_EQ(eval("ValidFloat('1.2')"), "True");
    EXPECT_EQ(eval("ValidFloat('abc')"), "False");
    EXPECT_EQ(eval("ValidDate('29.02.2004')"), "True");
    EXPECT_EQ(eval("ValidDate('29.02.2005')"), "False");
    EXPECT_EQ(RunFor("var a: Variant; n: Integer; begin a := VarArrayCreate([1, 3, 0, 1], varInteger); a[3, 1] := 7; "
                     "n := a[3, 1] + a[1, 0]; end.",
                     "n"),
              "7");
    EXPECT_EQ(RunFor("var a: Variant; s: String; begin a := VarArrayCreate([0, 2], varVariant); a[2] := 'x'; "
                     "s := VarToStr(a[1]) + a[2]; end.",
                     "s"),
              "x");
    EXPECT_EQ(failure("r := VarArrayCreate([0], varVariant)"),
              "RUNTIME ERROR: VarArrayCreate needs the low and high bound of each dimension");
    EXPECT_EQ(eval("varString + varArray + varByRef"), "24832");
    EXPECT_EQ(eval("varDouble"), "5");
}

TEST(SystemFunctions, ShowMessageAndTheInputFunctions)
{
    struct Ui : script::TfsHostUi {
        Ui() { script::SetHostUi(this); }
        ~Ui() override { script::SetHostUi(nullptr); }
        void ShowMessage(const std::string& t) override { shown += t + ";"; }
        bool InputQuery(const std::string& c, const std::string& p, std::string& v) override
        {
            shown += c + "/" + p + "/" + v + ";";
            if (cancel)
                return false;
            v = "typed";
            return true;
        }
        int MessageDlg(const std::string& t, int kind, int buttons) override
        {
            shown += t + "/" + std::to_string(kind) + "/" + std::to_string(buttons) + ";";
            return script::mrNo;
        }
        void ShowError(const std::string&) override {}
        std::string shown;
        bool cancel = false;
    } ui;
    const char* text = R"(
var a, b, v: String; ok: Boolean; r: Integer;
begin
  ShowMessage(12.5);
  a := InputBox('Title', 'Name?', 'def');
  v := 'old';
  ok := InputQuery('T', 'P', v);
  r := MessageDlg('Sure?', mtConfirmation, [mbYes, mbNo], 0);
end.)";
    scripttest::Program p = scripttest::Compile(text);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(ui.shown, "12.5;Title/Name?/def;T/P/old;Sure?/3/3;");
    EXPECT_EQ(p.Var("a"), "typed");
    EXPECT_EQ(p.Var("v"), "typed");
    EXPECT_EQ(p.Var("ok"), "True");
    EXPECT_EQ(p.Var("r"), "7"); // mrNo
    ui.cancel = true;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("a"), "def");
    EXPECT_EQ(p.Var("v"), "old");
    EXPECT_EQ(p.Var("ok"), "False");
}

TEST(SystemFunctions, TheTerminalAnswersFromStandardInput)
{
    testsupport::TempDir dir;
    std::string in = dir.write("answers.txt", "Anna\nmaybe\nn\n");
    std::FILE* input = std::fopen(in.c_str(), "r");
    std::FILE* output = std::fopen(dir.file("out.txt").c_str(), "w");
    ASSERT_TRUE(input && output);
    script::TfsTerminalUi terminal(input, output);
    std::string name = "x";
    EXPECT_TRUE(terminal.InputQuery("Who", "Name?", name));
    EXPECT_EQ(name, "Anna");
    EXPECT_EQ(terminal.MessageDlg("Go on?", script::mtConfirmation, script::mbYes | script::mbNo), script::mrNo);
    // At the end of the input: cancelled, and Cancel or No where offered.
    EXPECT_FALSE(terminal.InputQuery("Who", "Name?", name));
    EXPECT_EQ(name, "Anna");
    EXPECT_EQ(terminal.MessageDlg("Go on?", script::mtConfirmation, script::mbYes | script::mbNo | script::mbCancel),
              script::mrCancel);
    terminal.ShowMessage("hello");
    std::fclose(input);
    std::fclose(output);
    std::string shown = testsupport::readAll(dir.file("out.txt"));
    EXPECT_NE(shown.find("Who: Name? [x]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("(Yes/No)"), std::string::npos) << shown;
    EXPECT_NE(shown.find("hello\n"), std::string::npos) << shown;
}
