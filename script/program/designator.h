#pragma once
// Designators: a name followed by member names, indexes and argument
// lists. The general form walks a chain of items; the fast forms read and
// write a plain variable, one character of a string variable, or one
// element of an array variable directly.

#include "script/expr/expr_node.h"

#include <memory>
#include <string>
#include <vector>

namespace script {

class TfsCustomVariable;
class TfsOLEHelper;
class TfsProcVariable;
class TfsScript;
class TfsXMLItem;

// Reading and writing one element or character, with bounds checks.
platform::Variant ReadElement(const platform::Variant& array, const std::int32_t* idx, int count);
void WriteElement(platform::Variant& array, const std::int32_t* idx, int count, const platform::Variant& value);
// Pointer to a Variant element of an array (unshared first), or nullptr
// when the array keeps its elements raw.
platform::Variant* ElementRef(platform::Variant& array, const std::int32_t* idx, int count);
platform::Variant ReadChar(const platform::Variant& text, std::int32_t index);
void WriteChar(platform::Variant& text, std::int32_t index, const platform::Variant& value);
// A one-character string, shared rather than allocated.
const platform::Variant& CharVariant(unsigned char c);

class TfsDesignator : public ExprNode {
public:
    enum class ItemKind : unsigned char {
        Storage,     // a variable, constant or parameter
        Proc,        // a routine of the script
        Entry,       // any other entry: a host routine, a member, a class
        ArrayIndex,  // indexes the current value as an array
        StringIndex, // indexes the current value as a string
        AnyIndex,    // indexes an array or a string, whichever it holds
        Automation,  // a late-bound member of an automation object
    };
    struct Item {
        Item();
        Item(Item&&) noexcept;
        Item& operator=(Item&&) noexcept;
        ~Item();
        ItemKind kind = ItemKind::Storage;
        TfsCustomVariable* entry = nullptr;
        std::unique_ptr<TfsOLEHelper> ole; // the member of a late-bound item
        std::vector<std::unique_ptr<ExprNode>> args;
        bool hasArgs = false; // an argument list was written (late binding)
    };

    TfsDesignator() = default;
    ~TfsDesignator() override;

    platform::Variant Eval() override;
    void Assign(const platform::Variant& value) override;
    bool IsAssignable() const noexcept override { return !IsReadOnly; }

    std::vector<Item> Items;
    bool NeedResult = true;
    bool IsReadOnly = false;
    TfsScript* Script = nullptr;

private:
    platform::Variant evalItem(Item& it, const platform::Variant& current, bool last);
    void callEntry(Item& it, const platform::Variant& current, bool last, const platform::Variant* store,
                   platform::Variant* result);
};

class TfsVariableDesignator : public ExprNode {
public:
    explicit TfsVariableDesignator(TfsCustomVariable& var);
    platform::Variant Eval() override { return *slot_; }
    std::int32_t EvalInt() override { return IntOf(*slot_); }
    bool EvalBool() override { return BoolOf(*slot_); }
    void Assign(const platform::Variant& value) override;
    bool IsAssignable() const noexcept override;
    TfsCustomVariable& Variable() const noexcept { return *var_; }

private:
    TfsCustomVariable* var_;
    platform::Variant* slot_;
};

// One character of a string variable, 1-based.
class TfsStringDesignator : public ExprNode {
public:
    TfsStringDesignator(TfsCustomVariable& var, std::unique_ptr<ExprNode> index);
    platform::Variant Eval() override;
    void Assign(const platform::Variant& value) override;
    bool IsAssignable() const noexcept override { return true; }

private:
    TfsCustomVariable* var_;
    std::unique_ptr<ExprNode> index_;
};

// One element of an array variable, one to three indexes.
class TfsArrayDesignator : public ExprNode {
public:
    TfsArrayDesignator(TfsCustomVariable& var, std::vector<std::unique_ptr<ExprNode>> indexes,
                       TfsVarType elemType, std::string elemTypeName);
    platform::Variant Eval() override;
    std::int32_t EvalInt() override;
    void Assign(const platform::Variant& value) override;
    bool IsAssignable() const noexcept override { return true; }

private:
    const platform::Variant& element(std::int32_t* idx);
    TfsCustomVariable* var_;
    std::vector<std::unique_ptr<ExprNode>> indexes_;
};

// A call of a script routine with its arguments: the common case of a
// one-item chain, without the chain walk.
class TfsCallDesignator : public ExprNode {
public:
    TfsCallDesignator(TfsProcVariable& proc, std::vector<std::unique_ptr<ExprNode>> args);
    platform::Variant Eval() override;
    std::int32_t EvalInt() override { return IntOf(Eval()); }

private:
    TfsProcVariable* proc_;
    std::vector<std::unique_ptr<ExprNode>> args_;
    std::vector<ExprNode*> raw_;
};

// A designator whose head held Null when the program was built: it is built
// from its element when it is first evaluated.
class TfsDeferredDesignator : public ExprNode {
public:
    struct Context {
        TfsScript* scope;
        bool declareVars;
        std::string unitName;
    };
    TfsDeferredDesignator(const TfsXMLItem& element, Context context, bool needResult);
    ~TfsDeferredDesignator() override;
    platform::Variant Eval() override;
    void Assign(const platform::Variant& value) override;
    bool IsAssignable() const noexcept override { return true; }

private:
    ExprNode& built();
    std::unique_ptr<TfsXMLItem> element_;
    Context context_;
    bool needResult_;
    std::unique_ptr<ExprNode> built_;
};

} // namespace script
