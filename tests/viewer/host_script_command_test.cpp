// Scripts run the way the viewer prepares them, from the command line:
// fill scripts in fill mode 4 and tavrin --script FILE --host.

#include "tests/test_support.h"

#include "platform/text/cp1251.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result tavrin(const std::string& args, const testsupport::TempDir& dir)
{
    const char* bin = std::getenv("TAVRIN_BIN");
    std::string cmd = "cd '" + dir.path() + "' && TAVRIN_HOME='" + dir.path() + "home/' '" + (bin ? bin : "tavrin") +
                      "' " + args + " >'" + dir.file("out") + "' 2>'" + dir.file("err") + "' </dev/null";
    int st = std::system(cmd.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, testsupport::readAll(dir.file("out")),
            testsupport::readAll(dir.file("err"))};
}

// The new-matrix template the script editor generates (UTF-8 here; scripts
// are code page 1251 on disk).
const char* kNewMatrixTemplate = R"(#language PascalScript
program Tavrin_new;
//Date : 09.12.2026 12:00:00
//Алгоритм вычисления новой матрицы


function ReCalc : integer;
Var
  fn_Matrix : string;  //Имя текст. файла-матрицы (куда сохранить матрицу)
  Yes : boolean;
  X,Y : integer; //коорд. X и Y матрицы
  z   : extended; //коорд. Z матрицы
begin
  Result:=0;
  List_Data.Clear; //Список, содержащий данные матрицы
  Result:=0;
  Yes:=TRUE;
  fn_Matrix:=AllTrim(FileName_Matrix_New); //Имя нового текст. файла-матрицы
  if length(fn_Matrix)<=0 then Yes:=FALSE;
  if Matrix_Xmin >= Matrix_Xmax then Yes:=FALSE;
  if Matrix_Ymin >= Matrix_Ymax then Yes:=FALSE;
  if Yes then begin
     X:=Matrix_Xmin-1;
     while X<Matrix_Xmax do
      begin
        X:=X+1;
        Y:=Matrix_Ymin-1;
        while Y<Matrix_Ymax do
         begin
           Y:=Y+1;

           //----------------------------
           //здесь нужно вычислить конкретное значение Z для каждой точки матрицы
           Z:= (X+Y)/2;
           //----------------------------


           List_Data.ADD(IntToStr(X)+#32+IntToStr(Y)+#32+FloatToStr(Z)); //формируем список для визуализации (матрица)
           Application_ProcessMessages;
        end;
     end;
  end;

  //List_View('Результат',List_Data); //Для отладки алгоритма

  if List_Data.Count>0 then begin
     List_Data.Insert(0,'* X Y Z');
     List_Data.Insert(0,'*Значения матрицы (для Tavrin.exe)');
     List_Data.Insert(0,'*Файл:'+fn_Matrix);
     List_Data.Insert(0,'*Date:'+DateTimeTostr(NOW));
     List_Data.SaveToFile(fn_Matrix); //Сохраняем расчетную матрицу в файл
  end;

  Result:=List_Data.Count; //Возвращаемое значение
end;


BEGIN
  //=======================================
  //Глобальные объекты, переменные и константы, передаваемые в скрипт при визуализации файла с данными
  //List_Data   : TStrings; //Список, где должны быть размещены данные, которые будут сохранены в файл для визуализации
  //Matrix_Xmin : integer;  //Матрица: Xmin
  //Matrix_Xmax : integer;  //Матрица: Xmax
  //Matrix_Ymin : integer;  //Матрица: Ymin
  //Matrix_Ymax : integer;  //Матрица: Ymax
  //=======================================

  ResultScript:=TRUE;  //Возвращаемое значение. Если FALSE, то матрица не будет не будет сохранена в файл
  if ReCalc>0 then begin
     ShowMessage('OK. Расчет закончен.');
  end
  else begin
     ResultScript:=FALSE; //Выполняем алгоритм расчета матрицы
     ShowMessage('Но данных нет');
  end;

END.
)";

std::string crlf(const std::string& lf)
{
    std::string out;
    for (char c : lf) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

TEST(FillMode4, AScriptThatAddsPointsChangesTheMatrix)
{
    testsupport::TempDir dir;
    dir.write("d.txt", "0 0 1\r\n");
    const std::string matrix = "--matrix '" + dir.file("d.txt") + "' --rect 0 2 0 1 --no-scale --fill 4";
    Result plain = tavrin(matrix, dir);
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, "0 2 0 1\n1 0\n0 0\n0 0\n");
    dir.write("d.Tavrin", "begin\r\n  List_Data.Add(IntToStr(Matrix_Xmax) + ' ' + IntToStr(Matrix_Ymax) + ' 4');\r\n"
                          "  ResultScript := TRUE;\r\nend.\r\n");
    Result filled = tavrin(matrix, dir);
    ASSERT_EQ(filled.status, 0) << filled.err;
    // The computed point (2, 1) goes first: it sets the data's extremes, so
    // the file's own point maps from (0 - 0, 0 - 0) still.
    EXPECT_EQ(filled.out, "0 2 0 1\n1 0\n0 0\n0 4\n");
    EXPECT_EQ(filled.err, "");
    // Other fill modes run no script.
    Result mode0 = tavrin("--matrix '" + dir.file("d.txt") + "' --rect 0 2 0 1 --no-scale --fill 0", dir);
    EXPECT_EQ(mode0.out, plain.out);
}

TEST(FillMode4, FailingAndBrokenScripts)
{
    testsupport::TempDir dir;
    dir.write("d.txt", "0 0 1\r\n");
    const std::string matrix = "--matrix '" + dir.file("d.txt") + "' --rect 0 1 0 0 --no-scale --fill 4";
    dir.write("d.Tavrin", platform::utf8ToCp1251("begin RaiseException('Сбой заливки'); end."));
    Result failed = tavrin(matrix, dir);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find("Сбой заливки"), std::string::npos) << failed.err;

    dir.write("d.Tavrin", "begin\r\n  x := ;\r\nend.");
    Result broken = tavrin(matrix, dir);
    EXPECT_EQ(broken.status, 0) << broken.err;
    EXPECT_EQ(broken.out, "0 1 0 0\n1\n0\n");
    EXPECT_NE(broken.err.find("warning: Fill script"), std::string::npos) << broken.err;
    EXPECT_NE(broken.err.find("does not compile (2:"), std::string::npos) << broken.err;
}

TEST(HostScript, AnswersPrintsAndTheList)
{
    testsupport::TempDir dir;
    dir.write("s.pas", platform::utf8ToCp1251(
                           "var s: String; r: Integer; begin s := 'x';\r\n"
                           "  if InputQuery('Имя', 'Введите', s) then List_Data.Add(s);\r\n"
                           "  r := MessageDlg('Продолжить?', mtConfirmation, mbYesNoCancel);\r\n"
                           "  List_Data.Add(IntToStr(Matrix_Xmin) + '..' + IntToStr(Matrix_Xmax));\r\n"
                           "  ShowMessage('готово'); ResultScript := r = 7; end."));
    Result r = tavrin("--script s.pas --host --rect -5 5 0 3 --answer 'Пётр' --answer No --print ResultScript r "
                      "--print-list",
                      dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "ResultScript=True\nr=7\nПётр\n-5..5\n");
    EXPECT_NE(r.err.find("Confirm: Продолжить? (Yes/No/Cancel)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("готово"), std::string::npos) << r.err;

    dir.write("bad.pas", "begin x := ; end.");
    r = tavrin("--script bad.pas --host", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("ERROR 1:", 0), 0u) << r.err;
    dir.write("fail.pas", "begin List_Data.Free; end.");
    r = tavrin("--script fail.pas --host", dir);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "RUNTIME ERROR: Cannot free a host object\n");
    r = tavrin("--script fail.pas --host --rect 1 2", dir);
    EXPECT_EQ(r.status, 1);
}

TEST(HostScript, NewMatrixTemplateWritesItsFile)
{
    testsupport::TempDir dir;
    dir.write("new.pas", crlf(platform::utf8ToCp1251(kNewMatrixTemplate)));
    Result r = tavrin("--script new.pas --host --rect 0 36 0 36 --new-matrix m.txt --print ResultScript", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "ResultScript=True\n");
    EXPECT_NE(r.err.find("OK. Расчет закончен."), std::string::npos) << r.err;
    // A relative name lands in the program folder, not the working one.
    std::string file = testsupport::readAll(dir.file("home/m.txt"));
    std::vector<std::string> lines;
    for (std::size_t b = 0, e; (e = file.find("\r\n", b)) != std::string::npos; b = e + 2)
        lines.push_back(file.substr(b, e - b));
    ASSERT_EQ(lines.size(), 4u + 37u * 37u);
    EXPECT_EQ(lines[0].rfind("*Date:", 0), 0u);
    EXPECT_EQ(platform::cp1251ToUtf8(lines[1]), "*Файл:m.txt");
    EXPECT_EQ(platform::cp1251ToUtf8(lines[2]), "*Значения матрицы (для Tavrin.exe)");
    EXPECT_EQ(lines[3], "* X Y Z");
    EXPECT_EQ(lines[4], "0 0 0");
    EXPECT_EQ(lines[5], "0 1 0.5");
    EXPECT_EQ(lines.back(), "36 36 36");

    r = tavrin("--script new.pas --host --rect 5 5 0 36 --new-matrix m2.txt --print ResultScript", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "ResultScript=False\n");
    EXPECT_NE(r.err.find("Но данных нет"), std::string::npos) << r.err;
    EXPECT_EQ(testsupport::readAll(dir.file("home/m2.txt")), "");
}
