#include "scripthost/script_host.h"

#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "platform/text/number_text.h"
#include "script/binding/object_refs.h"
#include "script/library/standard_library.h"
#include "script/library/string_list.h"
#include "script/parser/script_text.h"
#include "script/program/run_error.h"
#include "script/program/script.h"
#include "scripthost/script_library.h"
#include "scripthost/spreadsheet/spreadsheet_application.h"

namespace tavrin {

ScriptHost::ScriptHost(std::string programFolder, HostDialogs& dialogs)
    : programFolder_(std::move(programFolder)), list_(std::make_unique<script::TfsStringList>()),
      context_(std::make_unique<LibraryContext>())
{
    context_->listData = list_.get();
    context_->dialogs = &dialogs;
    context_->programFolder = programFolder_;
    list_->FileFolder = programFolder_;
    script_ = std::make_unique<script::TfsScript>(&script::InstallStandardLibrary());
    RegisterSpreadsheetApplication();
    SetSpreadsheetFolder(programFolder_);
}

ScriptHost::~ScriptHost()
{
    // The script's entries refer to the list: they go first.
    script_.reset();
    script::ReleaseObject(list_.get());
}

void ScriptHost::Prepare(const IndexRect& rect)
{
    script::TfsScript& s = *script_;
    s.Clear();
    s.Parent = &script::InstallStandardLibrary();
    s.SyntaxType = "PascalScript";
    list_->Clear();
    context_->rect = rect;
    RegisterScriptLibrary(s, *context_);
    script::MarkHostObject(list_.get());
}

script::TfsScript& ScriptHost::Script() noexcept
{
    return *script_;
}

script::TfsStringList& ScriptHost::ListData() noexcept
{
    return *list_;
}

bool ScriptHost::RunFillScript(const std::string& fileName, const IndexRect& rect, std::vector<std::string>& lines,
                               std::string* compileError)
{
    lines.clear();
    if (compileError)
        compileError->clear();
    struct Cleanup {
        ScriptHost& h;
        ~Cleanup()
        {
            h.script_->Lines.clear();
            h.list_->Clear();
        }
    } cleanup{*this};
    if (!platform::fileExists(fileName))
        return false;
    std::string bytes, error;
    if (!script::ReadScriptFile(fileName, bytes, &error)) {
        if (compileError)
            *compileError = platform::utf8ToCp1251(error);
        return false;
    }
    Prepare(rect);
    script::TfsScript& s = *script_;
    s.UnitFolder = platform::extractFilePath(fileName);
    s.SetText(bytes);
    s.SetVariable("ResultScript", platform::Variant(false));
    if (!s.Compile()) {
        if (compileError)
            *compileError = s.ErrorPosition() + ": " + s.ErrorText();
        return false;
    }
    s.Execute();
    if (!s.GetVariable("ResultScript").toBool())
        return false;
    lines.reserve(list_->Lines().size());
    for (const script::TfsStringList::Line& l : list_->Lines())
        lines.push_back(l.text);
    return true;
}

std::string ScriptHost::NewMatrixFileName() const
{
    std::string name(platform::trimSpaces(script_->GetVariable("FileName_Matrix_New").toString()));
    return name.empty() ? name : ScriptPathName(*context_, name);
}

FillScriptRunner MakeFillScriptRunner(ScriptHost& host, std::function<void(const std::string&)> warn)
{
    return [&host, warn = std::move(warn)](const std::string& scriptPath, const IndexRect& rect,
                                           std::vector<std::string>& lines) {
        std::string compileError;
        try {
            bool ok = host.RunFillScript(scriptPath, rect, lines, &compileError);
            if (!ok && !compileError.empty() && warn)
                warn("Fill script \"" + scriptPath + "\" does not compile (" + platform::cp1251ToUtf8(compileError) +
                     "); the file's own lines are shown");
            return ok;
        } catch (const FillScriptError&) {
            throw;
        } catch (const std::exception& e) {
            lines.clear();
            throw FillScriptError("Fill script \"" + scriptPath + "\": " + platform::cp1251ToUtf8(e.what()));
        }
    };
}

} // namespace tavrin
