// The script library as scripts see it: the registered entries, each
// routine through the host's callback, and the faults once found in them.

#include "tests/scripthost/host_fixture.h"

#include "platform/text/cp1251.h"
#include "script/library/string_list.h"
#include "script/program/entries.h"
#include "scripthost/script_library.h"

#include <gtest/gtest.h>

using hosttest::HostRun;

TEST(ScriptLibrary, EntriesRegisteredInOrderWithTheirDeclarations)
{
    HostRun h;
    h.host->Prepare({-3, 7, 2, 9});
    script::TfsScript& s = h.host->Script();
    // The 37 routines come last, in the order of their declarations.
    ASSERT_GE(s.Count(), 37);
    for (int i = 0; i < 37; ++i) {
        const std::string& name = s.Items(s.Count() - 37 + i).Name;
        std::string decl = tavrin::kLibraryDeclarations[static_cast<std::size_t>(i)];
        EXPECT_NE(decl.find(" " + name), std::string::npos) << decl;
    }
    EXPECT_EQ(h.Run("var r: Integer; begin r := Matrix_Xmin + Matrix_Xmax * 10 + Matrix_Ymin * 100 + "
                    "Matrix_Ymax * 1000; end.",
                    {-3, 7, 2, 9}),
              "");
    EXPECT_EQ(h.Var("r"), "9267");
    EXPECT_EQ(h.Eval("IntToStr(mbYes) + IntToStr(mbHelp) + ' ' + IntToStr(mbOKCancel) + ' ' + "
                     "IntToStr(mbYesNoCancel) + ' ' + IntToStr(mbAbortRetryIgnore) + ' ' + IntToStr(mtCustom)"),
              "010 500 400 1500 4");
    EXPECT_EQ(h.Eval("cPI"), "3.14159265358979");
    EXPECT_EQ(h.Eval("cC"), "299792458");
    EXPECT_EQ(h.Eval("cGrav * 1e11"), "6.672");
    EXPECT_EQ(h.Eval("ResultScript"), "False");
    EXPECT_EQ(h.Eval("FileName_Matrix_New"), "");
    // Names in another letter case reach the same routine.
    EXPECT_EQ(h.Eval("alltrim('  x  ')"), "x");
    EXPECT_EQ(h.Eval("ALLTRIM('  x  ') + inversionstring('ab')"), "xba");
}

TEST(ScriptLibrary, TextNumberAndDateRoutines)
{
    HostRun h;
    EXPECT_EQ(h.Eval("DatePlusDays_YMD(2004, 2, 28, 1)"), "20040229");
    EXPECT_EQ(h.Eval("AppendCharToString('7', 48, 3, True)"), "007");
    EXPECT_EQ(h.Eval("IsDate('29.02.2000')"), "True");
    EXPECT_EQ(h.Eval("IsNumber(' 1,5 ')"), "True");
    EXPECT_EQ(h.Eval("RoundNumber(2.345, 2)"), "2.35");
    EXPECT_EQ(h.Eval("Power(2, 10)"), "1024");
    EXPECT_EQ(h.Eval("Power(0, -1)"), "RUNTIME ERROR: Division by zero");
    EXPECT_EQ(h.Eval("RoundNumber(0.1, -2147483647 - 1)"), "0.1");
    EXPECT_EQ(h.Eval("ExtractFileExt('/a/b.c.txt') + ExtractFileName('/a/b.txt') + ExtractFilePath('/a/b.txt')"),
              ".txtb.txt/a/");
    EXPECT_EQ(h.Eval("Excel_Form1Import_Execute(nil, nil)"), "");
    EXPECT_EQ(h.Run("var v, a, b: Variant; begin v := 5; a := YesLinkToOLE(v); UnAssignedVariant(v); "
                    "b := YesLinkToOLE(v); end."),
              "");
    EXPECT_EQ(h.Var("a") + h.Var("b"), "TrueFalse");
}

TEST(ScriptLibrary, HostListIsEmptiedNeverFreed)
{
    HostRun h;
    EXPECT_EQ(h.Run("begin List_Data.Add('a'); List_Clear(List_Data); List_Data.Add('b'); end."), "");
    // Run leaves List_Data as the script left it.
    EXPECT_EQ(h.host->ListData().Count(), 1);
    EXPECT_EQ(h.Run("begin List_Data.Add('a'); List_Data.Free; end."),
              "RUNTIME ERROR: Cannot free a host object");
    EXPECT_EQ(h.Run("begin List_Data.Add('still here'); end."), "");
    EXPECT_EQ(h.host->ListData().Get(0), "still here");
    // A list of the script's own is emptied and freed: a later use is an
    // error, not a crash.
    EXPECT_EQ(h.Run("var L: TStringList; begin L := TStringList.Create; L.Add('x'); List_Clear(L); L.Add('y'); end."),
              "RUNTIME ERROR: Invalid object reference");
    EXPECT_EQ(h.Run("begin List_Clear(nil); end."), "");
}

TEST(ScriptLibrary, ListSortIsStableByBytes)
{
    HostRun h;
    EXPECT_EQ(h.Run("begin List_Data.Add('b'); List_Data.AddObject('a', List_Data); List_Data.Add('B'); "
                    "List_Data.Add('\xE0'); List_Data.Add('a'); List_Data.Add('A'); List_Sort(List_Data); end."),
              "");
    const auto& lines = h.host->ListData().Lines();
    std::vector<std::string> got;
    for (const auto& l : lines)
        got.push_back(l.text);
    EXPECT_EQ(got, (std::vector<std::string>{"A", "B", "a", "a", "b", "\xE0"}));
    // Equal lines keep their order: the first "a" carries its object.
    EXPECT_FALSE(lines[2].object.isInteger() && lines[2].object.rawInt32() == 0);
    EXPECT_TRUE(lines[3].object.isInteger() && lines[3].object.rawInt32() == 0);
}

TEST(ScriptLibrary, MinMaxStartsAtZeroAndTakesAnyColumn)
{
    HostRun h;
    const std::string decl = "var S: Variant; mn, mx: Extended; n: Integer; begin ";
    EXPECT_EQ(h.Run(decl + "S := ''; List_Data.Add('5'); List_Data.Add('7'); "
                           "n := Get_MinMaxNumber_In_List(S, List_Data, 0, mn, mx); end."),
              "");
    EXPECT_EQ(h.Var("n") + " " + h.Var("mn") + " " + h.Var("mx"), "2 0 7");
    EXPECT_EQ(h.Run(decl + "S := ';'; List_Data.Add('1;-2,5;3'); List_Data.Add('1;x;3'); "
                           "n := Get_MinMaxNumber_In_List(S, List_Data, 1, mn, mx); end."),
              "");
    EXPECT_EQ(h.Var("n") + " " + h.Var("mn") + " " + h.Var("mx"), "2 -2.5 0");
    EXPECT_EQ(h.Run(decl + "S := ' '; List_Data.Add('1 2'); "
                           "n := Get_MinMaxNumber_In_List(S, List_Data, 2147483647, mn, mx); end."),
              "");
    EXPECT_EQ(h.Var("n") + " " + h.Var("mn") + " " + h.Var("mx"), "1 0 0");
    EXPECT_EQ(h.Run(decl + "S := ' '; List_Data.Add('1 2'); "
                           "n := Get_MinMaxNumber_In_List(S, List_Data, -1, mn, mx); end."),
              "");
    EXPECT_EQ(h.Var("n"), "0");
    // A text literal is no TSetChars: refused when the script compiles.
    EXPECT_EQ(h.Run(decl + "n := Get_MinMaxNumber_In_List(' ', List_Data, 0, mn, mx); end.").rfind("ERROR ", 0), 0u);
}

TEST(ScriptLibrary, IniFilesAreSafeFromInjection)
{
    HostRun h;
    EXPECT_EQ(h.Run("begin PutToINI_StringParamW('s.ini', 'Top', 'Key', 'a'#13#10'[Evil]'#10'x=1'); end."), "");
    std::string ini = testsupport::readAll(h.dir.file("s.ini")); // relative: the program folder
    EXPECT_EQ(ini.find("[Evil]\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Key=a  [Evil] x=1"), std::string::npos) << ini;
    EXPECT_EQ(h.Eval("GetFromINI_StringParamDef('s.ini', 'top', 'KEY', 'def')"), "a  [Evil] x=1");
    EXPECT_EQ(h.Eval("GetFromINI_StringParamDef('s.ini', 'Top', 'None', '  def  ')"), "def");
    EXPECT_EQ(h.Run("begin PutToINI_StringParamW('s.ini', 'Top', 'K=1', 'v'); end."),
              "RUNTIME ERROR: Invalid INI key name: K=1");
    EXPECT_EQ(h.Run("begin PutToINI_StringParamW('s.ini', 'T]op', 'K', 'v'); end."),
              "RUNTIME ERROR: Invalid INI section name: T]op");
    EXPECT_EQ(h.Run("begin PutToINI_StringParamW('s.ini', 'Top', 'K'#10'X', 'v'); end.").rfind("RUNTIME ERROR", 0),
              0u);
    EXPECT_EQ(h.Eval("FileExists('s.ini')"), "True");
    EXPECT_EQ(h.Eval("FileExists('none.ini')"), "False");
}

TEST(ScriptLibrary, RelativeSavesGoToTheProgramFolder)
{
    HostRun h;
    EXPECT_EQ(h.Run("begin List_Data.Add('1 2 3'); List_Data.SaveToFile('out.txt'); "
                    "FileName_Matrix_New := ' new.txt '; end."),
              "");
    EXPECT_EQ(testsupport::readAll(h.dir.file("out.txt")), "1 2 3\r\n");
    EXPECT_EQ(h.host->NewMatrixFileName(), h.dir.file("new.txt"));
}

TEST(ScriptLibrary, DialogsTakeTheAnswersInOrder)
{
    HostRun h({"Иван", "Cancel", "ok", "/tmp/файл.txt", "/tmp/\xE6\x97\xA5.txt", "ok"});
    EXPECT_EQ(h.Run("var s: String; a, b: Boolean; m1, m2, m3, m4: Integer; f1, f2: String; begin "
                    "s := 'x'; a := InputQuery('C', 'P', s); "
                    "m1 := MessageDlg('  Sure?  ', mtConfirmation, mbOKCancel); "
                    "m2 := MessageDlg('Go', mtWarning, mbOKCancel); "
                    "f1 := SelectFile('', '', '', 'Pick'); f2 := SelectFile('', '', '', 'Pick'); "
                    "m3 := MessageDlg('odd', 99, 12345); "
                    "b := InputQuery('C', 'P', s); m4 := MessageDlg('Q', mtError, mbYes); "
                    "MessageBeep(0); Application_ProcessMessages; end."),
              "");
    EXPECT_EQ(platform::cp1251ToUtf8(h.Var("s")), "Иван");
    EXPECT_EQ(h.Var("a"), "True");
    EXPECT_EQ(h.Var("b"), "False"); // no answer left: cancelled
    EXPECT_EQ(h.Var("m4"), "6");    // the only button
    EXPECT_EQ(h.Var("m1"), "2");
    EXPECT_EQ(h.Var("m2"), "1");
    EXPECT_EQ(platform::cp1251ToUtf8(h.Var("f1")), "/tmp/файл.txt");
    EXPECT_EQ(h.Var("f2"), ""); // outside code page 1251: refused
    EXPECT_EQ(h.Var("m3"), "0"); // no recognised button: OK shown, result 0
    std::string msgs = h.Messages();
    EXPECT_NE(msgs.find("Confirm: Sure? (OK/Cancel)"), std::string::npos) << msgs;
    EXPECT_NE(msgs.find("cannot hold"), std::string::npos) << msgs;
    EXPECT_NE(msgs.find("Information: odd (OK)"), std::string::npos) << msgs;
}
