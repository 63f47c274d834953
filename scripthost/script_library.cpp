#include "scripthost/script_library.h"

#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "platform/text/number_text.h"
#include "script/binding/host_ui.h"
#include "script/binding/object_refs.h"
#include "script/library/library_support.h"
#include "script/library/string_list.h"
#include "script/program/run_error.h"
#include "script/program/entries.h"
#include "script/program/script.h"
#include "scripthost/excel_routines.h"
#include "scripthost/host_dialogs.h"
#include "scripthost/list_routines.h"
#include "scripthost/text_routines.h"
#include "viewer/settings/ini_params.h"

#include <unordered_map>

namespace tavrin {

using platform::Variant;
using script::RaiseRuntime;
using script::TfsStringList;
using Args = std::vector<Variant>;

const std::array<const char*, 37> kLibraryDeclarations = {
    "function DatePlusDays_YMD(Y,M,D,CountDays:integer) : integer;",
    "function AppendCharToString(S:String; CodeChar:byte; SizeStringResult:integer; AppendLeft:boolean):string;",
    "function InversionString(Sx : string) : string;",
    "function LTrim(Sx : string) : string;",
    "function RTrim(Sx : string) : string;",
    "function AllTrim(Sx : string) : string;",
    "function IsNumber(Sx : string) : boolean;",
    "function IsDate(Sx : String) : Boolean;",
    "function RoundNumber(X : extended;Prec : integer) : extended;",
    "function Power(Base, Exponent: Extended): Extended;",
    "function InputQuery(ACaption, APrompt: string; var Value: string): Boolean;",
    "function SelectFile(StartDir, StartFN, Filter, Title : string) : string;",
    "procedure UnAssignedVariant(Var V : Variant);",
    "function YesLinkToOLE(HandleAny : Variant) : integer;",
    "function ConnectToExcel(YesVisible,YesAddWorkBooks : integer) : Variant;",
    "function Excel_GetList(Excel :oleVariant; NumList : integer) : Variant;",
    "function Excel_OpenFile(fn : string) : Variant;",
    "function Excel_GetCoordLastCellInList(Excel : oleVariant; NumList : integer;SetCursorToCell: boolean;Var Row,Col "
    ": integer) : boolean;",
    "function Excel_GetNameList(Excel : oleVariant; NumList : integer) : string;",
    "function Excel_GetRow_to_Strings(Excel : OleVariant; NumList, NumRow, NumCol1, NumCol2 : integer; List : "
    "TStrings) : integer;",
    "function Excel_PutValue_to_Cell(ListExcel : Variant;NRow,NCol,YesBold,YesBorder : integer; Value : string) : "
    "boolean;",
    "function Excel_GetValue_from_Cell(ListExcel : Variant;NRow,NCol : integer) : string;",
    "function Excel_Form1Import_Execute(ListIn,ListOut : TSTrings) : boolean;",
    "procedure MessageBeep(Nr : integer);",
    "function FileExists(fn : string) : boolean;",
    "function ExtractFilePath(fn : string) : string;",
    "function ExtractFileName(fn : string) : string;",
    "function ExtractFileExt(fn : string) : string;",
    "procedure PutToINI_StringParamW(NameINI,NameTop,NameParam,S : string);",
    "function GetFromINI_StringParamDef(NameINI,NameTop,NameParam : string; Def : string) : string;",
    "procedure List_Clear(List : TStrings);",
    "procedure List_Sort(List : TStrings);",
    "function List_View(Head : string; List : TStrings) : boolean;",
    "function Text_View(sCaption,sHead : string; Text, ListInit : TStrings) : boolean;",
    "function MessageDlg(const Msg: string; DlgType: integer; Buttons: integer): integer;",
    "procedure Application_ProcessMessages;",
    "function Get_MinMaxNumber_In_List(UnSimb : TSetChars; List : TStrings; NumCol : integer; Var MinN, MaxN : "
    "extended) : integer;",
};

namespace {

enum Routine : int {
    rDatePlusDays, rAppendChar, rInversion, rLTrim, rRTrim, rAllTrim, rIsNumber, rIsDate, rRoundNumber, rPower,
    rInputQuery, rSelectFile, rUnAssigned, rYesLinkToOLE, rConnectToExcel, rExcelGetList, rExcelOpenFile,
    rExcelLastCell, rExcelNameList, rExcelRowToStrings, rExcelPutValue, rExcelGetValue, rExcelImport,
    rMessageBeep, rFileExists, rExtractFilePath, rExtractFileName, rExtractFileExt, rPutToIni, rGetFromIni,
    rListClear, rListSort, rListView, rTextView, rMessageDlg, rProcessMessages, rMinMax, kRoutineCount
};
static_assert(kRoutineCount == std::tuple_size_v<decltype(kLibraryDeclarations)>);

// The routine's name in a declaration: the word after "function" or
// "procedure".
std::string_view declaredName(std::string_view decl)
{
    std::size_t b = decl.find(' ') + 1;
    std::size_t e = decl.find_first_of("(;: ", b);
    return decl.substr(b, e - b);
}

// The names as the host upper-cases them (code page 1251 capitals too);
// the engine hands the callback the member's name in upper case.
const std::unordered_map<std::string, int>& routineByName()
{
    static const std::unordered_map<std::string, int> table = [] {
        std::unordered_map<std::string, int> t;
        for (int i = 0; i < kRoutineCount; ++i)
            t.emplace(platform::upperCp1251(declaredName(kLibraryDeclarations[static_cast<std::size_t>(i)])), i);
        return t;
    }();
    return table;
}

std::string text(const Variant& v)
{
    return v.toString();
}

std::int64_t integer(const Variant& v)
{
    return script::library::Int64Arg(v);
}

TfsStringList* listArg(const Variant& v)
{
    return script::library::ObjectArg<TfsStringList>(v);
}

std::vector<std::string> linesOf(const TfsStringList* list)
{
    std::vector<std::string> out;
    if (!list)
        return out;
    out.reserve(list->Lines().size());
    for (const TfsStringList::Line& l : list->Lines())
        out.push_back(l.text);
    return out;
}

HostDialogs& dialogs(const LibraryContext& c)
{
    if (!c.dialogs)
        RaiseRuntime("No dialogs in this run");
    return *c.dialogs;
}

// Sections and keys that would break the file's lines or its structure.
void checkIniName(std::string_view name, bool section)
{
    for (char ch : name)
        if (ch == '\r' || ch == '\n' || (section ? ch == ']' : ch == '='))
            RaiseRuntime(std::string(section ? "Invalid INI section name: " : "Invalid INI key name: ") +
                         std::string(name.substr(0, std::min<std::size_t>(name.size(), 64))));
}

// The button set of a MessageDlg code, as engine bits; 0 when the code
// names none.
int messageButtons(std::int64_t code)
{
    using namespace script;
    static constexpr int kSingle[] = {mbYes,   mbNo,  mbOK,      mbCancel,   mbAbort, mbRetry,
                                      mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp};
    if (code >= 0 && code <= 10)
        return code == 10 ? 0 : kSingle[code]; // Help alone cannot close a box
    if (code == 400)
        return mbYes | mbNo | mbCancel;
    if (code == 500)
        return mbOK | mbCancel;
    if (code == 1500)
        return mbAbort | mbRetry | mbIgnore;
    return 0;
}

Variant call(LibraryContext& c, int routine, Args& a)
{
    namespace r = routines;
    switch (routine) {
    case rDatePlusDays:
        return Variant(r::DatePlusDays_YMD(integer(a[0]), integer(a[1]), integer(a[2]), integer(a[3])));
    case rAppendChar:
        return Variant(r::AppendCharToString(text(a[0]), static_cast<int>(integer(a[1])), integer(a[2]), a[3].toBool()));
    case rInversion: return Variant(r::InversionString(text(a[0])));
    case rLTrim: return Variant(r::LTrim(text(a[0])));
    case rRTrim: return Variant(r::RTrim(text(a[0])));
    case rAllTrim: return Variant(r::AllTrim(text(a[0])));
    case rIsNumber: return Variant(r::IsNumber(text(a[0])));
    case rIsDate: return Variant(r::IsDate(text(a[0])));
    case rRoundNumber: return Variant(r::RoundNumber(a[0].toDouble(), integer(a[1])));
    case rPower: return Variant(r::Power(a[0].toDouble(), a[1].toDouble()));
    case rInputQuery: {
        std::string value = text(a[2]);
        bool ok = dialogs(c).InputQuery(text(a[0]), text(a[1]), value);
        if (ok)
            a[2] = Variant(value);
        return Variant(ok);
    }
    case rSelectFile:
        return Variant(r::AllTrim(dialogs(c).SelectFile(text(a[0]), text(a[1]), text(a[2]), text(a[3]))));
    case rUnAssigned:
        a[0] = Variant();
        return Variant::null();
    case rYesLinkToOLE: return Variant(!a[0].isEmpty());
    case rConnectToExcel: return excel::ConnectToExcel(integer(a[0]) != 0, integer(a[1]) != 0);
    case rExcelGetList: return excel::GetList(a[0], integer(a[1]));
    case rExcelOpenFile: return excel::OpenFile(r::AllTrim(text(a[0])));
    case rExcelLastCell: {
        std::int64_t row = 0, col = 0;
        bool set = excel::GetCoordLastCell(a[0], integer(a[1]), a[2].toBool(), row, col);
        a[3] = Variant::fromInt32(static_cast<std::int32_t>(row));
        a[4] = Variant::fromInt32(static_cast<std::int32_t>(col));
        return Variant(set);
    }
    case rExcelNameList: return Variant(excel::GetNameList(a[0], integer(a[1])));
    case rExcelRowToStrings:
        return Variant(
            excel::GetRowToStrings(a[0], integer(a[1]), integer(a[2]), integer(a[3]), integer(a[4]), listArg(a[5])));
    case rExcelPutValue:
        return Variant(excel::PutValueToCell(a[0], integer(a[1]), integer(a[2]), integer(a[3]), integer(a[4]),
                                             r::AllTrim(text(a[5]))));
    case rExcelGetValue: return Variant(excel::GetValueFromCell(a[0], integer(a[1]), integer(a[2])));
    case rExcelImport: return Variant::null(); // registered, offers nothing
    case rMessageBeep:
        dialogs(c).MessageBeep(static_cast<int>(integer(a[0])));
        return Variant::null();
    case rFileExists: return Variant(platform::fileExists(ScriptPathName(c, text(a[0]))));
    case rExtractFilePath: return Variant(platform::extractFilePath(text(a[0])));
    case rExtractFileName: return Variant(platform::extractFileName(text(a[0])));
    case rExtractFileExt: return Variant(platform::extractFileExt(text(a[0])));
    case rPutToIni: {
        std::string section = text(a[1]), key = text(a[2]), value = text(a[3]);
        checkIniName(section, true);
        checkIniName(key, false);
        for (char& ch : value)
            if (ch == '\r' || ch == '\n')
                ch = ' ';
        PutToINI_StringParamW(ScriptPathName(c, text(a[0])), section, key, value);
        return Variant::null();
    }
    case rGetFromIni:
        return Variant(GetFromINI_StringParamDef(ScriptPathName(c, text(a[0])), text(a[1]), text(a[2]), text(a[3])));
    case rListClear:
        ListClear(listArg(a[0]));
        return Variant::null();
    case rListSort:
        ListSort(listArg(a[0]), [&c] {
            if (c.dialogs)
                c.dialogs->ProcessMessages();
        });
        return Variant::null();
    case rListView: return Variant(dialogs(c).ListView(text(a[0]), linesOf(listArg(a[1]))));
    case rTextView:
        return Variant(
            dialogs(c).TextView(text(a[0]), text(a[1]), linesOf(listArg(a[2])), linesOf(listArg(a[3]))));
    case rMessageDlg: {
        std::int64_t kind = integer(a[1]);
        int buttons = messageButtons(integer(a[2]));
        int result = dialogs(c).MessageDlg(r::AllTrim(text(a[0])), kind >= 0 && kind <= 4 ? int(kind) : 2,
                                           buttons ? buttons : script::mbOK);
        // A box with no button of its own got an OK to close it; it still
        // answers "none".
        return Variant(buttons ? result : 0);
    }
    case rProcessMessages:
        dialogs(c).ProcessMessages();
        return Variant::null();
    case rMinMax: {
        double minN = 0, maxN = 0;
        int n = GetMinMaxNumberInList(text(a[0]), listArg(a[1]), integer(a[2]), minN, maxN, [&c] {
            if (c.dialogs)
                c.dialogs->ProcessMessages();
        });
        a[3] = Variant(minN);
        a[4] = Variant(maxN);
        return Variant(n);
    }
    default: break;
    }
    return Variant::null();
}

} // namespace

std::string ScriptPathName(const LibraryContext& context, const std::string& cp1251Name)
{
    std::string name = platform::cp1251ToUtf8(cp1251Name);
    if (!name.empty() && name.front() != '/' && !context.programFolder.empty())
        return context.programFolder + name;
    return name;
}

void RegisterScriptLibrary(script::TfsScript& host, LibraryContext& c)
{
    host.AddObject("List_Data", c.listData, "TStrings");
    // Added in this scope even where the global scope has the name (the
    // Dialogs group's mbYes is a set bit; here it is 0).
    auto entry = [&host](std::string_view name, script::TfsVarType type, std::string_view typeName,
                         const Variant& value, bool readOnly) {
        std::unique_ptr<script::TfsVariable> v;
        if (type == script::fvtString)
            v = std::make_unique<script::TfsstringVariable>(name, type, typeName);
        else
            v = std::make_unique<script::TfsVariable>(name, type, typeName);
        v->Value = value;
        v->IsReadOnly = readOnly;
        host.Add(std::move(v));
    };
    auto integerConst = [&](std::string_view name, int value) {
        entry(name, script::fvtInt, "Integer", Variant(value), true);
    };
    auto floatConst = [&](std::string_view name, double value) {
        entry(name, script::fvtFloat, "Extended", Variant(value), true);
    };
    integerConst("Matrix_Xmin", c.rect.xmin);
    integerConst("Matrix_Xmax", c.rect.xmax);
    integerConst("Matrix_Ymin", c.rect.ymin);
    integerConst("Matrix_Ymax", c.rect.ymax);
    static const char* const kKinds[] = {"mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom"};
    for (int i = 0; i < 5; ++i)
        integerConst(kKinds[i], i);
    static const char* const kButtons[] = {"mbYes",   "mbNo",  "mbOK",      "mbCancel",   "mbAbort", "mbRetry",
                                           "mbIgnore", "mbAll", "mbNoToAll", "mbYesToAll", "mbHelp"};
    for (int i = 0; i < 11; ++i)
        integerConst(kButtons[i], i);
    integerConst("mbYesNoCancel", 400);
    integerConst("mbOKCancel", 500);
    integerConst("mbAbortRetryIgnore", 1500);
    floatConst("cPI", 3.1415926535897932385);
    floatConst("cGrav", 6.672E-11);
    floatConst("cG", 9.80665);
    floatConst("cP", 101325.0);
    floatConst("cC", 2.99792458E8);
    floatConst("cM0", 1.25663706144E-6);
    floatConst("cX0", 8.85418782E-12);
    floatConst("cH", 6.626176E-34);
    entry("ResultScript", script::fvtBool, "Boolean", Variant(false), false);
    entry("FileName_Matrix_New", script::fvtString, "String", Variant(std::string()), false);

    auto callback = [&c](void*, script::TfsClassVariable*, const std::string& name, Args& a) -> Variant {
        const auto& table = routineByName();
        auto it = table.find(name);
        if (it == table.end())
            return Variant::null();
        return call(c, it->second, a);
    };
    for (const char* decl : kLibraryDeclarations)
        host.AddMethod(decl, callback, "ctOther");
}

} // namespace tavrin
