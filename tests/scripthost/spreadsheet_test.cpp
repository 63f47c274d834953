// The spreadsheet object driven by scripts through the library: real
// .xlsx and .csv files, read back by another program (openpyxl) and read
// from files it wrote; the limits of a sheet.

#include "tests/scripthost/host_fixture.h"

#include "platform/text/cp1251.h"
#include "script/library/string_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

using hosttest::HostRun;

namespace {

// Runs python3 with the program on standard input; its output.
std::string python(const testsupport::TempDir& dir, const std::string& program, int* status = nullptr)
{
    dir.write("prog.py", program);
    std::string cmd = "cd '" + dir.path() + "' && /usr/bin/python3 prog.py >py.out 2>py.err";
    int st = std::system(cmd.c_str());
    if (status)
        *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return testsupport::readAll(dir.file("py.out")) + testsupport::readAll(dir.file("py.err"));
}

std::string cp(const char* utf8)
{
    return platform::utf8ToCp1251(utf8);
}

} // namespace

TEST(Spreadsheet, WorkbookWrittenByAScriptReadsBackElsewhere)
{
    HostRun h;
    std::string script = cp("var x, sh: Variant; r, c, r2, c2: Integer; ok, ok2: Boolean; name: String; begin\r\n"
                            "  x := ConnectToExcel(0, 1);\r\n"
                            "  sh := Excel_GetList(x, 1);\r\n"
                            "  Excel_PutValue_to_Cell(sh, 1, 1, 1, 1, '  Заголовок  ');\r\n"
                            "  Excel_PutValue_to_Cell(sh, 2, 1, 0, 0, '3.5');\r\n"
                            "  Excel_PutValue_to_Cell(sh, 2, 3, 0, 0, 'abc');\r\n"
                            "  sh.Cells(3, 2).Value := True;\r\n"
                            "  name := Excel_GetNameList(x, 1);\r\n"
                            "  ok := Excel_GetCoordLastCellInList(x, 1, False, r, c);\r\n"
                            "  ok2 := Excel_GetCoordLastCellInList(x, 1, True, r2, c2);\r\n"
                            "  x.ActiveWorkbook.SaveAs('book.xlsx');\r\n"
                            "  x.Quit;\r\n"
                            "end.");
    ASSERT_EQ(h.Run(script), "");
    EXPECT_EQ(h.Var("name"), "Sheet1");
    EXPECT_EQ(h.Var("ok") + h.Var("r") + h.Var("c"), "True33");
    EXPECT_EQ(h.Var("ok2") + h.Var("r2") + h.Var("c2"), "True33");
    int status = 0;
    std::string out = python(h.dir,
                             "import openpyxl\n"
                             "wb = openpyxl.load_workbook('book.xlsx')\n"
                             "ws = wb.worksheets[0]\n"
                             "print(len(wb.worksheets), ws.title)\n"
                             "a1 = ws['A1']\n"
                             "print(a1.value, a1.font.b, a1.border.left.style, a1.border.bottom.style)\n"
                             "print(repr(ws['A2'].value), ws['A2'].font.b, repr(ws['C2'].value), ws['B3'].value)\n",
                             &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out, "3 Sheet1\nЗаголовок True thin thin\n3.5 False 'abc' True\n");
    // Read back here too: values and bold.
    ASSERT_EQ(h.Run("var y, sh: Variant; v: String; b1, b2: Boolean; begin y := Excel_OpenFile('book.xlsx'); "
                    "sh := Excel_GetList(y, 1); v := Excel_GetValue_from_Cell(sh, 1, 1) + '|' + "
                    "Excel_GetValue_from_Cell(sh, 2, 1) + '|' + Excel_GetValue_from_Cell(sh, 3, 2); "
                    "b1 := sh.Cells(1, 1).Font.Bold; b2 := sh.Cells(2, 1).Font.Bold; end."),
              "");
    EXPECT_EQ(platform::cp1251ToUtf8(h.Var("v")), "Заголовок|3.5|True");
    EXPECT_EQ(h.Var("b1") + h.Var("b2"), "TrueFalse");
    // No temporary file is left beside it.
    EXPECT_EQ(python(h.dir, "import os\nprint(sorted(f for f in os.listdir('.') if '~' in f))\n"), "[]\n");
}

TEST(Spreadsheet, WorkbookWrittenElsewhereIsReadByAScript)
{
    HostRun h;
    int status = 0;
    std::string out = python(h.dir,
                             "import openpyxl\n"
                             "wb = openpyxl.Workbook()\n"
                             "ws = wb.active\n"
                             "ws.title = 'Данные'\n"
                             "ws['A1'] = 'Имя  '\n"
                             "ws['B1'] = 2.25\n"
                             "ws['C1'] = 7\n"
                             "ws['E1'] = 'край'\n"
                             "ws2 = wb.create_sheet('Второй')\n"
                             "ws2['B4'] = 'x'\n"
                             "wb.save('in.xlsx')\n",
                             &status);
    ASSERT_EQ(status, 0) << out;
    std::string script = "var x, sh: Variant; n, r, c: Integer; v1, v2, name, name2: String; L: TStringList; begin\r\n"
                         "  x := Excel_OpenFile('  in.xlsx  ');\r\n"
                         "  sh := Excel_GetList(x, 1);\r\n"
                         "  v1 := Excel_GetValue_from_Cell(sh, 1, 1);\r\n"
                         "  v2 := Excel_GetValue_from_Cell(sh, 1, 2);\r\n"
                         "  name := Excel_GetNameList(x, 1); name2 := Excel_GetNameList(x, 2);\r\n"
                         "  L := TStringList.Create;\r\n"
                         "  n := Excel_GetRow_to_Strings(x, 1, 1, 2, 2147483647, L);\r\n"
                         "  List_Data.Assign(L); L.Free;\r\n"
                         "  Excel_GetCoordLastCellInList(x, 2, False, r, c);\r\n"
                         "  if YesLinkToOLE(Excel_GetList(x, 3)) = 0 then n := n + 100;\r\n"
                         "end.";
    ASSERT_EQ(h.Run(script), "");
    EXPECT_EQ(platform::cp1251ToUtf8(h.Var("v1")), "Имя");
    EXPECT_EQ(h.Var("v2"), "2.25");
    EXPECT_EQ(platform::cp1251ToUtf8(h.Var("name")), "Данные");
    EXPECT_EQ(platform::cp1251ToUtf8(h.Var("name2")), "Второй");
    // Columns 2 to the last one used (5), not to 2^31 - 1.
    EXPECT_EQ(h.Var("n"), "104");
    std::vector<std::string> row;
    for (const auto& l : h.host->ListData().Lines())
        row.push_back(platform::cp1251ToUtf8(l.text));
    EXPECT_EQ(row, (std::vector<std::string>{"2.25", "7", "", "край"}));
    EXPECT_EQ(h.Var("r") + " " + h.Var("c"), "4 2");
}

TEST(Spreadsheet, SheetLimitsAndSparseCells)
{
    HostRun h;
    const std::string head = "var x, sh: Variant; r, c: Integer; begin x := ConnectToExcel(1, 1); "
                             "sh := Excel_GetList(x, 1); ";
    EXPECT_EQ(h.Run(head + "sh.Cells(1048576, 16384).Value := 1; Excel_GetCoordLastCellInList(x, 1, False, r, c); "
                           "x.Visible := False; if not x.Visible then r := -r; end."),
              "");
    EXPECT_EQ(h.Var("r") + " " + h.Var("c"), "-1048576 16384");
    EXPECT_EQ(h.Run(head + "sh.Cells(0, 1).Value := 1; end."),
              "RUNTIME ERROR: Row 0 is outside 1..1048576");
    EXPECT_EQ(h.Run(head + "sh.Cells(1048577, 1).Value := 1; end."),
              "RUNTIME ERROR: Row 1048577 is outside 1..1048576");
    EXPECT_EQ(h.Run(head + "Excel_PutValue_to_Cell(sh, 1, 16385, 0, 0, 'x'); end."),
              "RUNTIME ERROR: Column 16385 is outside 1..16384");
    EXPECT_EQ(h.Run(head + "sh.Range('B2').Value := 'q'; r := sh.Range('A1').SpecialCells(11).Row; end."), "");
    EXPECT_EQ(h.Var("r"), "2");
    EXPECT_EQ(h.Run(head + "sh.Range('not a cell').Value := 1; end.").rfind("RUNTIME ERROR: Range(", 0), 0u);
    // Getters on absent objects give empty answers, no errors.
    EXPECT_EQ(h.Run("var e: Variant; s: String; begin UnAssignedVariant(e); s := Excel_GetValue_from_Cell(e, 1, 1) + "
                    "Excel_GetNameList(e, 1) + 'end'; end."),
              "");
    EXPECT_EQ(h.Var("s"), "end");
    EXPECT_EQ(h.Run(head + "x.Workbooks.Add; r := x.Workbooks.Count; x.ActiveWorkbook.Close; "
                           "c := x.Workbooks.Count; end."),
              "");
    EXPECT_EQ(h.Var("r") + h.Var("c"), "21");
    EXPECT_EQ(h.Run(head + "x.ActiveWorkbook.Save; end.").rfind("RUNTIME ERROR: The workbook", 0), 0u);
    EXPECT_EQ(h.Run(head + "x.ActiveWorkbook.SaveAs('/no/such/folder/b.xlsx'); end.").rfind("RUNTIME ERROR", 0), 0u);
}

TEST(Spreadsheet, CsvBothWays)
{
    HostRun h;
    const std::string script = cp("var x, sh, y: Variant; v: String; begin x := ConnectToExcel(0, 1); "
                                  "sh := Excel_GetList(x, 1); sh.Cells(1, 1).Value := 'a,b'; "
                                  "sh.Cells(1, 2).Value := 1.5; sh.Cells(2, 3).Value := 'Щ'; "
                                  "x.ActiveWorkbook.SaveAs('t.csv'); x.Quit; "
                                  "y := Excel_OpenFile('t.csv'); v := Excel_GetValue_from_Cell(Excel_GetList(y, 1), 2, 3) "
                                  "+ '|' + Excel_GetValue_from_Cell(Excel_GetList(y, 1), 1, 1); end.");
    ASSERT_EQ(h.Run(script), "");
    EXPECT_EQ(testsupport::readAll(h.dir.file("t.csv")), "\"a,b\",1.5\r\n,,Щ\r\n");
    EXPECT_EQ(platform::cp1251ToUtf8(h.Var("v")), "Щ|a,b");
    h.dir.write("semi.csv", "x;2,5;y\n\"q;\"\"r\";3\n");
    EXPECT_EQ(h.Run("var y: Variant; v: String; begin y := Excel_OpenFile('semi.csv'); "
                    "v := y.ActiveSheet.Cells(2, 1).Value + '|' + y.Cells(1, 2).Text; end."),
              "");
    EXPECT_EQ(h.Var("v"), "q;\"r|2,5");
}

TEST(Spreadsheet, OpenDocumentSheetsAreRead)
{
    HostRun h;
    int status = 0;
    std::string out = python(h.dir,
                             "import zipfile\n"
                             "ns = ('xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" '\n"
                             "      'xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" '\n"
                             "      'xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"')\n"
                             "content = ('<?xml version=\"1.0\" encoding=\"UTF-8\"?>'\n"
                             "  '<office:document-content ' + ns + ' office:version=\"1.2\"><office:body>'\n"
                             "  '<office:spreadsheet><table:table table:name=\"Лист\"><table:table-row>'\n"
                             "  '<table:table-cell office:value-type=\"string\"><text:p>Слово</text:p></table:table-cell>'\n"
                             "  '<table:table-cell office:value-type=\"float\" office:value=\"2.5\"><text:p>2,5</text:p>'\n"
                             "  '</table:table-cell></table:table-row></table:table></office:spreadsheet></office:body>'\n"
                             "  '</office:document-content>')\n"
                             "z = zipfile.ZipFile('in.ods', 'w')\n"
                             "z.writestr('mimetype', 'application/vnd.oasis.opendocument.spreadsheet')\n"
                             "z.writestr('META-INF/manifest.xml', '<?xml version=\"1.0\" encoding=\"UTF-8\"?>'\n"
                             "  '<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">'\n"
                             "  '<manifest:file-entry manifest:full-path=\"/\" '\n"
                             "  'manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>'\n"
                             "  '<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>'\n"
                             "  '</manifest:manifest>')\n"
                             "z.writestr('content.xml', content)\n"
                             "z.close()\n",
                             &status);
    ASSERT_EQ(status, 0) << out;
    ASSERT_EQ(h.Run("var y: Variant; v: String; begin y := Excel_OpenFile('in.ods'); "
                    "v := Excel_GetNameList(y, 1) + '|' + Excel_GetValue_from_Cell(Excel_GetList(y, 1), 1, 1) + '|' + "
                    "Excel_GetValue_from_Cell(Excel_GetList(y, 1), 1, 2); end."),
              "");
    EXPECT_EQ(platform::cp1251ToUtf8(h.Var("v")), "Лист|Слово|2.5");
}
