#pragma once
// The viewer's script host: one host script whose parent is the engine's
// global scope, the output list List_Data, and the runs made on them. The
// library is registered anew before every compilation, with the index
// rectangle of that run (scripthost/script_library.h).

#include "viewer/data/fill_script.h"
#include "viewer/data/matrix_settings.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace script {
class TfsScript;
class TfsStringList;
}

namespace tavrin {

class HostDialogs;
struct LibraryContext;

class ScriptHost {
public:
    // programFolder: UTF-8 with a trailing '/'; relative names of scripts
    // lead there. dialogs outlives the host.
    ScriptHost(std::string programFolder, HostDialogs& dialogs);
    ~ScriptHost();
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;

    // Clears the host script and registers the library with rect.
    void Prepare(const IndexRect& rect);
    script::TfsScript& Script() noexcept;
    script::TfsStringList& ListData() noexcept;

    // The non-interactive run of a fill-algorithm script (UTF-8 name):
    // false when the file is missing or does not compile (compileError then
    // holds "line:col: message", code page 1251) or the script leaves
    // ResultScript false; true with List_Data's lines otherwise. Run-time
    // errors reach the caller. The script text and List_Data are emptied
    // afterwards in every case.
    bool RunFillScript(const std::string& fileName, const IndexRect& rect, std::vector<std::string>& lines,
                       std::string* compileError = nullptr);

    // FileName_Matrix_New after a run, trimmed; a relative name as the
    // program folder makes it absolute (UTF-8).
    std::string NewMatrixFileName() const;
    const std::string& ProgramFolder() const noexcept { return programFolder_; }

private:
    std::string programFolder_;
    std::unique_ptr<script::TfsStringList> list_;
    std::unique_ptr<LibraryContext> context_;
    std::unique_ptr<script::TfsScript> script_;
};

// The fill-mode-4 seam of the viewer on a host: a compile error goes to
// warn (UTF-8 text) and the file's own lines are used; a run-time error is
// thrown as FillScriptError with a UTF-8 message.
FillScriptRunner MakeFillScriptRunner(ScriptHost& host, std::function<void(const std::string&)> warn);

} // namespace tavrin
