#pragma once
// TfsScript: the engine's public object and, at the same time, a scope. The
// host gives it a text and a language, compiles and executes; every routine
// of a script owns a TfsScript of its own that holds its parameters, locals
// and body. Entries are looked up ignoring letter case, through the chain
// of parents that ends in the process-wide global scope.

#include "platform/automation/variant.h"
#include "script/binding/member_callbacks.h"
#include "script/parser/il_parser.h"
#include "script/program/type_code.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace script {

class TfsCustomVariable;
class TfsClassVariable;
class TfsMethodHelper;
class TfsObject;
class TfsStatement;
class TfsTypeVariable;
class TfsVariable;
struct RunState;
}
namespace platform {
class Dispatch;
}
namespace script {

class TfsScript;
// The line hook: the scope where the statement runs, its unit, "line:col".
using TfsRunLineEvent =
    std::function<void(TfsScript& Sender, const std::string& UnitName, const std::string& SourcePos)>;

class TfsScript {
public:
    explicit TfsScript(TfsScript* parent = nullptr);
    ~TfsScript();
    TfsScript(const TfsScript&) = delete;
    TfsScript& operator=(const TfsScript&) = delete;

    // The script text, one line per item (8-bit text, code page 1251).
    std::vector<std::string> Lines;
    void SetText(std::string_view text);
    std::string SyntaxType = "PascalScript";
    TfsRunLineEvent OnRunLine;
    TfsScript* Parent = nullptr;
    // Stamped on the entries added from now on.
    const void* AddedBy = nullptr;
    // Where units named by the script are looked up (UTF-8).
    std::string UnitFolder;

    // Compiles Lines in SyntaxType; true when ErrorText is empty afterwards.
    // Refused (ScriptError) while the script runs.
    bool Compile();
    // Runs the main program. Run-time errors reach the caller. Refused
    // while the script runs, and after a failed compilation.
    void Execute();
    // Asks a run to end (from any thread, a line hook or a host function):
    // it stops at the next loop round or routine call with the run-time
    // error "Script stopped", which the script's try statements do not
    // swallow.
    void Terminate() noexcept;
    // Frees every entry, the program and the executable-line register.
    // Refused while the script runs.
    void Clear();
    bool IsRunning() const noexcept;

    const std::string& ErrorText() const noexcept { return errors_.ErrorText; }
    const std::string& ErrorPosition() const noexcept { return errors_.ErrorPosition; }
    const std::string& ErrorUnit() const noexcept { return errors_.ErrorUnit; }
    ScriptErrors& Errors() noexcept { return errors_; }

    // Entries. The scope owns what is added, unless told otherwise.
    TfsCustomVariable& Add(std::unique_ptr<TfsCustomVariable> entry);
    void AddUnowned(TfsCustomVariable* entry);
    // Takes the entry out of the list (freeing it when owned).
    void Remove(TfsCustomVariable* entry);
    // Frees every entry that owner added.
    void RemoveItems(const void* owner);
    int Count() const noexcept { return static_cast<int>(entries_.size()); }
    TfsCustomVariable& Items(int index) const { return *entries_[static_cast<std::size_t>(index)].entry; }

    TfsCustomVariable* Find(std::string_view name) const;
    TfsCustomVariable* FindLocal(std::string_view name) const;
    TfsClassVariable* FindClass(std::string_view name) const;
    // The value of the entry Find finds, or Null.
    platform::Variant GetVariable(std::string_view name) const;
    // Sets the entry Find finds; adds a Variant variable when there is none.
    void SetVariable(std::string_view name, const platform::Variant& value);

    // ---- registration: what a host offers scripts (script/binding) ----
    // Each does nothing and returns nullptr when Find already finds the
    // name, unless said otherwise. Type names are resolved from this scope
    // (a name that is no type is taken for a class of that name).
    TfsTypeVariable* AddType(std::string_view name, TfsVarType type);
    TfsVariable* AddConst(std::string_view name, std::string_view typeName, const platform::Variant& value);
    TfsVariable* AddVariable(std::string_view name, std::string_view typeName, const platform::Variant& value);
    // A read-only variable referencing a host object of a registered class
    // (the host keeps it, and takes its reference away before it goes).
    TfsVariable* AddObject(std::string_view name, void* object, std::string_view className);
    // A read-only variable holding an automation object, bound late.
    TfsVariable* AddObject(std::string_view name, platform::Dispatch* object);
    // A type of that name (Enum) and one constant per listed name, "A, B,
    // C": 0, 1, 2, ... for AddEnum, 1, 2, 4, ... for AddEnumSet. Added
    // even when the names exist.
    void AddEnum(std::string_view typeName, std::string_view names);
    void AddEnumSet(std::string_view typeName, std::string_view names);
    // A global routine from its declaration text (script/binding/
    // declaration.h). Added even when the name exists.
    TfsMethodHelper& AddMethod(std::string_view declaration, TfsMethodCallback callback,
                               std::string_view category = {}, std::string_view description = {});
    // A class; factory makes the instances that "TMyClass.Create" builds
    // on (none: the class cannot be instantiated by scripts).
    TfsClassVariable* AddClass(std::string_view name, std::string_view ancestor,
                               std::function<std::unique_ptr<TfsObject>()> factory = {});

    // Calls the first line hook from this scope upwards.
    void RunLine(const std::string& unitName, const std::string& sourcePos);
    // On the scope that owns the line hook: the scope of the routine that
    // runs, while one does.
    TfsScript* CurrentRoutineScope() const noexcept { return currentRoutine_; }

    // Per unit ("" for the main text): "unit=3,4,7," with the lines that
    // carry statements.
    const std::vector<std::string>& ExecutableLines() const noexcept { return lineRegister_; }
    void RegisterLine(const std::string& unitName, const std::string& sourcePos);

    // The program (or the routine body) of this scope.
    TfsStatement& MainStatement() noexcept { return *main_; }
    // What the statements of this scope share while they run.
    RunState& Run() noexcept { return *run_; }

private:
    friend class TfsProcVariable;
    struct Slot {
        TfsCustomVariable* entry;
        bool owned;
    };
    void addHelpers();
    void letGoOfHost() noexcept;
    void index(TfsCustomVariable* entry);
    void reindex();
    void freeEntries();

    std::vector<Slot> entries_;
    std::unordered_map<std::string, TfsCustomVariable*> byName_; // lower-case names
    std::unique_ptr<TfsStatement> main_;
    std::unique_ptr<RunState> ownRun_;
    RunState* run_ = nullptr;
    ScriptErrors errors_;
    bool compileFailed_ = false;
    TfsScript* currentRoutine_ = nullptr;
    std::vector<std::string> lineRegister_;
    std::unordered_map<std::string, std::vector<bool>> linesSeen_;
};

} // namespace script
