#pragma once
// The named entries of a scope: variables and constants, types, formal
// parameters, routines, and the member accessors that designators walk
// through. Every entry has a type code, a type name and a value.

#include "platform/automation/variant.h"
#include "script/program/type_code.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace script {

class ExprNode;
class TfsParamItem;
class TfsScript;
class TfsStatement;
class TfsClassVariable;
class TfsVariable;

class TfsCustomVariable {
public:
    enum class Kind : unsigned char {
        Variable,       // TfsVariable
        StringVariable, // TfsstringVariable
        Param,          // TfsParamItem
        Type,           // TfsTypeVariable
        Proc,           // TfsProcVariable
        Class,          // TfsClassVariable
        Method,         // TfsMethodHelper
        Property,       // TfsPropertyHelper
        Event,          // TfsEventHelper
        Automation,     // TfsOLEHelper
        ArrayHelper,    // indexes an array value
        StringHelper,   // indexes a string value
        Other,
    };

    TfsCustomVariable(Kind kind, std::string_view name, TfsVarType type, std::string_view typeName);
    virtual ~TfsCustomVariable();
    TfsCustomVariable(const TfsCustomVariable&) = delete;
    TfsCustomVariable& operator=(const TfsCustomVariable&) = delete;

    virtual platform::Variant GetValue();
    // Ignored for a read-only entry.
    virtual void SetValue(const platform::Variant& value);

    Kind kind() const noexcept { return kind_; }
    // A variable, a string variable or a parameter: an entry whose value is
    // its storage.
    bool IsStorage() const noexcept { return kind_ <= Kind::Param; }

    int Count() const noexcept { return static_cast<int>(params_.size()); }
    TfsParamItem& Params(int index) const { return *params_[static_cast<std::size_t>(index)]; }
    void AddParam(std::unique_ptr<TfsParamItem> param);
    // Parameters without a default value.
    int GetRequiredCount() const noexcept;

    std::string Name;
    std::string TypeName;
    TfsVarType Type;
    bool IsReadOnly = false;
    const void* AddedBy = nullptr;
    // For an array variable its array accessor; for a function its Result.
    TfsCustomVariable* RefItem = nullptr;
    std::string SourcePos;
    bool NeedResult = true;
    platform::Variant Value;

protected:
    std::vector<std::unique_ptr<TfsParamItem>> params_;

private:
    Kind kind_;
};

// A variable or a constant (read-only).
class TfsVariable : public TfsCustomVariable {
public:
    TfsVariable(std::string_view name, TfsVarType type, std::string_view typeName)
        : TfsCustomVariable(Kind::Variable, name, type, typeName) {}

protected:
    TfsVariable(Kind kind, std::string_view name, TfsVarType type, std::string_view typeName)
        : TfsCustomVariable(kind, name, type, typeName) {}
};

// A Char or String variable: it keeps its value as text.
class TfsstringVariable : public TfsVariable {
public:
    TfsstringVariable(std::string_view name, TfsVarType type, std::string_view typeName)
        : TfsVariable(Kind::StringVariable, name, type, typeName) { Value = platform::Variant(std::string_view()); }
    void SetValue(const platform::Variant& value) override;
};

// A type name (Integer, String, an enumeration, ...).
class TfsTypeVariable : public TfsCustomVariable {
public:
    TfsTypeVariable(std::string_view name, TfsVarType type, std::string_view typeName)
        : TfsCustomVariable(Kind::Type, name, type, typeName) {}
};

// A formal parameter. For a script routine it is also the variable of the
// routine's scope that holds the argument during the call.
class TfsParamItem : public TfsCustomVariable {
public:
    TfsParamItem(std::string_view name, TfsVarType type, std::string_view typeName, bool isVarParam,
                 bool hasDefault, platform::Variant defValue);
    bool IsVarParam;
    bool HasDefault;
    platform::Variant DefValue;
};

// Stores a value into a storage entry the way the entry keeps it: string
// variables as text, everything else as it is.
void StoreValue(TfsCustomVariable& entry, const platform::Variant& value);
void StoreValue(TfsCustomVariable& entry, platform::Variant&& value);

// A procedure or function of the script. It owns its scope (parameters,
// locals, nested routines and the body); the parameters are in both its
// list and its scope's.
class TfsProcVariable : public TfsCustomVariable {
public:
    TfsProcVariable(std::string_view name, TfsVarType type, std::string_view typeName, TfsScript& parent,
                    bool isFunc);
    ~TfsProcVariable() override;

    // Calls the routine with the parameters' current values.
    platform::Variant GetValue() override;
    // A call from outside the program (an event of a host object): on a
    // stack of its own, guarded like a run, the values given to the first
    // parameters and the parameters' values afterwards read back into
    // them. False, doing nothing, while the routine already runs.
    bool CallFromHost(std::span<platform::Variant> args);
    // Calls the routine with one argument expression per parameter (missing
    // ones already filled with defaults). By-reference parameters are
    // written back into their argument expressions after the call.
    platform::Variant Call(ExprNode* const* args, std::size_t count);

    TfsScript& Scope() noexcept { return *scope_; }
    bool IsFunc;
    bool Executing = false;
    TfsVariable* ResultVar = nullptr;

    // Takes the final list of the scope's variables (after the build): they
    // start from their initial values on each call and are saved around a
    // recursive call.
    void Prepare();

private:
    struct Frame;
    platform::Variant run();

    std::unique_ptr<TfsScript> scope_;
    std::vector<platform::Variant*> slots_;    // every variable of the scope
    std::vector<platform::Variant> initial_;   // their values at the call's start
    std::vector<platform::Variant*> paramSlots_;
    std::vector<platform::Variant> saved_;     // a stack of saved frames
    bool prepared_ = false;
    int preparedCount_ = 0;
};

// ---- member accessors ------------------------------------------------------

// The object an accessor works on, given by the designator walk. The host
// members (script/binding) derive from it.
class TfsCustomHelper : public TfsCustomVariable {
public:
    using TfsCustomVariable::TfsCustomVariable;
    platform::Variant ParentValue;
    TfsCustomVariable* ParentRef = nullptr;
    TfsScript* Script = nullptr;
};

} // namespace script
