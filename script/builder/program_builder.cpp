#include "script/builder/program_builder.h"

#include "platform/automation/safe_array.h"
#include "platform/system/large_stack.h"
#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"
#include "script/binding/class_variable.h"
#include "script/binding/method_helper.h"
#include "script/binding/object_refs.h"
#include "script/binding/ole_helper.h"
#include "script/expr/expression.h"
#include "script/il/il_vocabulary.h"
#include "script/il/number_literal.h"
#include "script/program/designator.h"
#include "script/program/entries.h"
#include "script/program/run_error.h"
#include "script/program/script.h"
#include "script/program/statements.h"
#include "script/xml/xml_document.h"

#include <array>

namespace script {

using il::Tag;
using platform::Variant;

namespace {

struct BuildError {
    std::string message;
};

bool classDerives(std::string_view cls, std::string_view base, const void* ctx)
{
    const auto* scope = static_cast<const TfsScript*>(ctx);
    TfsClassVariable* c = scope ? scope->FindClass(cls) : nullptr;
    return c ? c->InheritsFrom(base) : platform::equalsIgnoreCaseCp1251(cls, base);
}

Variant initialValue(TfsVarType t)
{
    switch (t) {
    case fvtBool: return Variant(false);
    case fvtChar:
    case fvtString: return Variant(std::string_view());
    case fvtFloat: return Variant(0.0);
    case fvtInt:
    case fvtClass: return Variant(0);
    default: return Variant::null();
    }
}

std::unique_ptr<TfsCustomVariable> makeVariable(std::string_view name, TfsVarType t, std::string_view typeName)
{
    std::unique_ptr<TfsCustomVariable> v;
    if (t == fvtChar || t == fvtString)
        v = std::make_unique<TfsstringVariable>(name, t, typeName);
    else
        v = std::make_unique<TfsVariable>(name, t, typeName);
    v->Value = initialValue(t);
    return v;
}

Tag tagOf(const TfsXMLItem& el)
{
    return il::TagOf(el.Name());
}

// A constant operand node.
class ConstNode final : public ExprNode {
public:
    ConstNode(Variant v, TfsVarType t, std::string name) : ExprNode(t, std::move(name)), v_(std::move(v)) {}
    Variant Eval() override { return v_; }

private:
    Variant v_;
};

class Builder {
public:
    Builder(TfsScript& root, bool declareVars) : root_(root), declareVars_(declareVars) {}

    std::string errorPos;
    std::string unitName;

    void buildProgram(const TfsXMLItem& program);
    std::unique_ptr<ExprNode> buildDeferred(const TfsXMLItem& el, TfsScript& scope, bool needResult);

private:
    struct Designator {
        std::unique_ptr<ExprNode> node;
        TfsVarType type = fvtVariant;
        std::string typeName = "Variant";
        bool readOnly = false;
        TfsCustomVariable* plainVar = nullptr;
    };
    enum class Mode { Normal, New, Delete };
    struct WithVar {
        std::string name;
        TfsCustomVariable* var;
    };
    struct Item {
        TfsDesignator::ItemKind kind = TfsDesignator::ItemKind::Storage;
        TfsCustomVariable* entry = nullptr;
        std::string name;
        std::string pos;
        std::vector<std::unique_ptr<ExprNode>> args;
        std::vector<std::string> argPos;
        std::vector<TfsVarType> argType;
        std::vector<std::string> argTypeName;
        TfsVarType type = fvtVariant;
        std::string typeName = "Variant";
        bool readOnly = false;
        bool indexPending = false; // an index method waiting for its "["
        bool checkArgs = true;
    };

    [[noreturn]] void fail(std::string message) { throw BuildError{std::move(message)}; }
    void mark(const TfsXMLItem& el) { errorPos = el.Prop(il::kPos); }
    // Every level of nesting the builder recurses into: refused where the
    // stack would run short (the analyser lets ten thousand levels through).
    void enterLevel(const TfsXMLItem& el)
    {
        if (platform::StackPosition() < stackFloor_) {
            mark(el);
            fail("Nesting too deep");
        }
    }

    // Lookups.
    TfsVarType resolveType(const std::string& name, std::string& typeName, TfsScript& scope);
    TfsCustomVariable& findVariable(TfsScript& scope, const std::string& name);
    void checkNew(TfsScript& scope, const std::string& name);
    void checkTypes(TfsVarType target, const std::string& targetName, TfsVarType source,
                    const std::string& sourceName, TfsScript& scope);

    // Blocks and declarations.
    void buildBlock(const TfsXMLItem& block, TfsScript& scope, StatementList& list);
    void buildElement(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    void buildVar(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    std::unique_ptr<TfsCustomVariable> buildName(const TfsXMLItem& el, int identIndex, TfsScript& scope,
                                                 bool isParam, bool byRef, const TfsXMLItem** init,
                                                 TfsCustomVariable** accessor);
    void buildConst(const TfsXMLItem& el, TfsScript& scope);
    void buildRoutine(const TfsXMLItem& el, TfsScript& scope, bool isFunction);

    // Statements.
    template <class T>
    std::unique_ptr<T> newStmt(const TfsXMLItem& el, TfsScript& scope)
    {
        return std::make_unique<T>(scope, el.Prop(il::kPos), unitName);
    }
    void add(StatementList& list, std::unique_ptr<TfsStatement> s)
    {
        root_.RegisterLine(s->UnitName, s->SourcePos);
        list.push_back(std::move(s));
    }
    void buildAssign(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    std::unique_ptr<TfsStatement> makeAssign(const TfsXMLItem& el, TfsScript& scope, Designator target,
                                             const TfsXMLItem& exprEl, char modificator);
    void buildCall(const TfsXMLItem& el, TfsScript& scope, StatementList& list, Mode mode);
    void buildIf(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    void buildCase(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    void buildFor(const TfsXMLItem& el, TfsScript& scope, StatementList& list, bool vb);
    void buildCppFor(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    void buildWhile(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    void buildRepeat(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    void buildTry(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    void buildReturn(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    void buildWith(const TfsXMLItem& el, TfsScript& scope, StatementList& list);
    TfsCustomVariable& loopVariable(const TfsXMLItem& ident, TfsScript& scope);

    // Expressions and designators.
    std::unique_ptr<ExprNode> buildExpr(const TfsXMLItem& el, TfsScript& scope, TfsVarType* type = nullptr,
                                        std::string* typeName = nullptr, TfsExpression* keep = nullptr);
    void feed(TfsExpression& e, const TfsXMLItem& el, TfsScript& scope);
    std::unique_ptr<TfsSetExpression> buildSet(const TfsXMLItem& el, TfsScript& scope);
    Variant evalConst(const TfsXMLItem& el, TfsScript& scope, TfsVarType* type = nullptr,
                      std::string* typeName = nullptr);
    Designator buildDesignator(const TfsXMLItem& el, TfsScript& scope, Mode mode, bool needResult,
                               bool assignTarget = false);
    Designator deferred(const TfsXMLItem& el, TfsScript& scope, bool needResult);
    void resolveMember(Item& it, const Item& prev, const std::string& text, TfsScript& scope, bool& defer);
    void memberOfClass(Item& it, TfsClassVariable& cls, const std::string& text, TfsScript& scope);
    void checkArguments(Item& it, TfsScript& scope);

    TfsScript& root_;
    std::uintptr_t stackFloor_ = platform::StackFloor(std::size_t(1) << 20);
    bool declareVars_;
    bool atRun_ = false; // building a deferred designator while the program runs
    const TfsXMLItem* block_ = nullptr;
    std::vector<WithVar> withList_;
};

// ---- lookups ---------------------------------------------------------------

TfsVarType Builder::resolveType(const std::string& name, std::string& typeName, TfsScript& scope)
{
    std::string resolved = name;
    // Aliases live in the `types` element of the program (or unit) that
    // holds the block, whichever block is being built.
    for (const TfsXMLItem* p = block_; p; p = p->Parent())
        if (tagOf(*p) == Tag::Program) {
            int t = p->Find("types");
            if (t >= 0) {
                int a = p->Items(t).Find(name);
                if (a >= 0)
                    resolved = p->Items(t).Items(a).Prop(il::kTypeAttr);
            }
            break;
        }
    TfsCustomVariable* e = scope.Find(resolved);
    if (e && e->kind() == TfsCustomVariable::Kind::Type) {
        typeName = e->Type == fvtEnum ? e->TypeName : e->Name;
        return e->Type;
    }
    if (TfsClassVariable* c = scope.FindClass(resolved)) {
        typeName = c->Name;
        return fvtClass;
    }
    fail("Unknown type: '" + name + "'");
}

TfsCustomVariable& Builder::findVariable(TfsScript& scope, const std::string& name)
{
    if (TfsCustomVariable* e = scope.Find(name))
        return *e;
    if (declareVars_)
        fail("Undeclared identifier: '" + name + "'");
    auto v = std::make_unique<TfsVariable>(name, fvtVariant, "Variant");
    return scope.Add(std::move(v));
}

void Builder::checkNew(TfsScript& scope, const std::string& name)
{
    if (scope.FindLocal(name))
        fail("Identifier redeclared: '" + name + "'");
}

void Builder::checkTypes(TfsVarType target, const std::string& targetName, TfsVarType source,
                         const std::string& sourceName, TfsScript& scope)
{
    if (!TypesCompatible(target, targetName, source, sourceName, classDerives, &scope))
        fail("Incompatible types: '" + TypeDisplayName(target, targetName) + "', '" +
             TypeDisplayName(source, sourceName) + "'");
}

// ---- blocks and declarations ---------------------------------------------

void Builder::buildProgram(const TfsXMLItem& program)
{
    block_ = &program;
    buildBlock(program, root_, root_.MainStatement().Items);
}

void Builder::buildBlock(const TfsXMLItem& block, TfsScript& scope, StatementList& list)
{
    for (int i = 0; i < block.Count(); ++i)
        buildElement(block.Items(i), scope, list);
}

void Builder::buildElement(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    enterLevel(el);
    switch (tagOf(el)) {
    case Tag::AssignStmt: buildAssign(el, scope, list); break;
    case Tag::CallStmt: buildCall(el, scope, list, Mode::Normal); break;
    case Tag::IfStmt: buildIf(el, scope, list); break;
    case Tag::CaseStmt: buildCase(el, scope, list); break;
    case Tag::ForStmt: buildFor(el, scope, list, false); break;
    case Tag::VbForStmt: buildFor(el, scope, list, true); break;
    case Tag::CppForStmt: buildCppFor(el, scope, list); break;
    case Tag::WhileStmt: buildWhile(el, scope, list); break;
    case Tag::RepeatStmt: buildRepeat(el, scope, list); break;
    case Tag::TryStmt: buildTry(el, scope, list); break;
    case Tag::Break:
        mark(el);
        add(list, newStmt<TfsBreakStmt>(el, scope));
        break;
    case Tag::Continue:
        mark(el);
        add(list, newStmt<TfsContinueStmt>(el, scope));
        break;
    case Tag::Exit:
        mark(el);
        add(list, newStmt<TfsExitStmt>(el, scope));
        break;
    case Tag::Return: buildReturn(el, scope, list); break;
    case Tag::With: buildWith(el, scope, list); break;
    case Tag::Delete: buildCall(el, scope, list, Mode::Delete); break;
    case Tag::CompoundStmt:
    case Tag::ThenStmt:
    case Tag::ElseStmt:
    case Tag::FinallyStmt:
    case Tag::ExceptStmt: buildBlock(el, scope, list); break;
    case Tag::Uses: {
        std::string saved = unitName;
        unitName = el.Prop(il::kUnit);
        const TfsXMLItem* savedBlock = block_;
        for (int i = 0; i < el.Count(); ++i)
            if (tagOf(el.Items(i)) == Tag::Program) {
                block_ = &el.Items(i);
                buildBlock(el.Items(i), root_, root_.MainStatement().Items);
            }
        block_ = savedBlock;
        unitName = saved;
        break;
    }
    case Tag::Var: buildVar(el, scope, list); break;
    case Tag::Const: buildConst(el, scope); break;
    case Tag::Procedure: buildRoutine(el, scope, false); break;
    case Tag::Function: buildRoutine(el, scope, true); break;
    default: break;
    }
}

std::unique_ptr<TfsCustomVariable> Builder::buildName(const TfsXMLItem& el, int identIndex, TfsScript& scope,
                                                      bool isParam, bool byRef, const TfsXMLItem** init,
                                                      TfsCustomVariable** accessor)
{
    const TfsXMLItem& ident = el.Items(identIndex);
    const std::string name = ident.Prop(il::kText);
    std::string typeName = "Variant";
    TfsVarType t = fvtVariant;
    int typeIndex = el.Find("type");
    if (typeIndex >= 0) {
        mark(el.Items(typeIndex));
        t = resolveType(el.Items(typeIndex).Prop(il::kText), typeName, scope);
    }
    const TfsXMLItem* arrayEl = nullptr;
    *init = nullptr;
    for (int k = identIndex + 1; k < el.Count(); ++k) {
        Tag tag = tagOf(el.Items(k));
        if (tag == Tag::Ident)
            break;
        if (tag == Tag::Array)
            arrayEl = &el.Items(k);
        else if (tag == Tag::Init)
            *init = &el.Items(k);
    }
    mark(ident);
    std::unique_ptr<TfsCustomVariable> v;
    if (isParam) {
        Variant def = Variant::null();
        if (*init) {
            TfsVarType dt;
            std::string dn;
            const TfsXMLItem& expr = (*init)->Items(0);
            def = evalConst(expr, scope, &dt, &dn);
            mark(expr);
            checkTypes(t, typeName, dt, dn, scope);
        }
        v = std::make_unique<TfsParamItem>(name, t, typeName, byRef, *init != nullptr, def);
        v->Value = (*init) ? def : initialValue(t);
    } else {
        v = makeVariable(name, t, typeName);
    }
    if (arrayEl) {
        std::vector<platform::SafeArray::Bound> bounds;
        for (int d = 0; d < arrayEl->Count(); ++d) {
            const TfsXMLItem& dim = arrayEl->Items(d);
            if (tagOf(dim) != Tag::Dim)
                continue;
            mark(dim);
            std::int64_t lo = 0, hi = 0;
            std::vector<const TfsXMLItem*> exprs;
            for (int k = 0; k < dim.Count(); ++k)
                if (tagOf(dim.Items(k)) == Tag::Expr)
                    exprs.push_back(&dim.Items(k));
            if (exprs.size() >= 2) {
                lo = evalConst(*exprs[0], scope).toInt32();
                hi = evalConst(*exprs[1], scope).toInt32();
            } else if (exprs.size() == 1) {
                hi = std::int64_t(evalConst(*exprs[0], scope).toInt32()) - 1;
            }
            mark(dim);
            if (hi < lo || hi - lo + 1 > std::int64_t(platform::SafeArray::kMaxElements))
                fail("Invalid array bounds");
            bounds.push_back({static_cast<std::int32_t>(lo), static_cast<std::uint32_t>(hi - lo + 1)});
        }
        platform::SafeArray* a = bounds.empty() ? nullptr : platform::SafeArray::create(platform::varVariant, bounds);
        if (!a)
            fail("Invalid array bounds");
        // Elements start where a variable of their type starts.
        const Variant start = initialValue(t);
        Variant* elements = a->variants();
        for (std::size_t k = 0, n = a->elementCount(); k < n; ++k)
            elements[k] = start;
        v->Value = Variant(a);
        a->release();
        auto acc = std::make_unique<TfsCustomVariable>(TfsCustomVariable::Kind::ArrayHelper, "", t, typeName);
        for (std::size_t d = 0; d < bounds.size(); ++d)
            acc->AddParam(std::make_unique<TfsParamItem>("", fvtVariant, "Variant", false, false, Variant::null()));
        *accessor = &scope.Add(std::move(acc));
        v->RefItem = *accessor;
        v->Type = fvtArray;
        v->TypeName = "Array";
    }
    return v;
}

void Builder::buildVar(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    for (int i = 0; i < el.Count(); ++i) {
        if (tagOf(el.Items(i)) != Tag::Ident)
            continue;
        mark(el.Items(i));
        checkNew(scope, el.Items(i).Prop(il::kText));
        const TfsXMLItem* init = nullptr;
        TfsCustomVariable* accessor = nullptr;
        auto v = buildName(el, i, scope, false, false, &init, &accessor);
        TfsCustomVariable& var = scope.Add(std::move(v));
        if (init) {
            mark(el);
            Designator target;
            target.node = std::make_unique<TfsVariableDesignator>(var);
            target.type = var.Type;
            target.typeName = var.TypeName;
            target.plainVar = &var;
            add(list, makeAssign(el, scope, std::move(target), init->Items(0), 0));
        }
    }
}

void Builder::buildConst(const TfsXMLItem& el, TfsScript& scope)
{
    if (el.Count() < 2)
        return;
    mark(el.Items(0));
    const std::string name = el.Items(0).Prop(il::kText);
    checkNew(scope, name);
    TfsVarType t;
    std::string tn;
    Variant v = evalConst(el.Items(1), scope, &t, &tn);
    auto c = std::make_unique<TfsVariable>(name, t, tn);
    c->Value = std::move(v);
    c->IsReadOnly = true;
    scope.Add(std::move(c));
}

void Builder::buildRoutine(const TfsXMLItem& el, TfsScript& scope, bool isFunction)
{
    int nameIndex = el.Find("name");
    if (nameIndex < 0)
        return;
    const TfsXMLItem& nameEl = el.Items(nameIndex);
    TfsVarType t = fvtVariant;
    std::string typeName = "Variant";
    if (isFunction) {
        int typeIndex = -1;
        for (int i = 0; i < el.Count(); ++i)
            if (tagOf(el.Items(i)) == Tag::Type) {
                typeIndex = i;
                break;
            }
        if (typeIndex >= 0) {
            const std::string tt = el.Items(typeIndex).Prop(il::kText);
            if (platform::equalsIgnoreCaseAscii(tt, "void")) {
                isFunction = false;
            } else {
                mark(el.Items(typeIndex));
                const TfsXMLItem* saved = block_;
                block_ = &el;
                t = resolveType(tt, typeName, scope);
                block_ = saved;
            }
        }
    }
    mark(nameEl);
    const std::string name = nameEl.Prop(il::kText);
    checkNew(scope, name);
    auto procOwned = std::make_unique<TfsProcVariable>(name, isFunction ? t : fvtVariant,
                                                       isFunction ? typeName : "Variant", scope, isFunction);
    TfsProcVariable& proc = *procOwned;
    proc.SourcePos = el.Prop(il::kPos);
    TfsScript& own = proc.Scope();
    if (isFunction) {
        auto r = makeVariable("Result", t, typeName);
        proc.ResultVar = static_cast<TfsVariable*>(&own.Add(std::move(r)));
        proc.RefItem = proc.ResultVar;
    }
    scope.Add(std::move(procOwned));

    const TfsXMLItem* saved = block_;
    block_ = &el;
    for (int i = 0; i < el.Count(); ++i) {
        const TfsXMLItem& params = el.Items(i);
        if (tagOf(params) != Tag::Parameters)
            continue;
        bool groupByRef = false;
        for (int g = 0; g < params.Count(); ++g) {
            const TfsXMLItem& group = params.Items(g);
            Tag gt = tagOf(group);
            if (gt == Tag::VarParams) {
                groupByRef = true;
                continue;
            }
            if (gt != Tag::Var)
                continue;
            bool nextByRef = false;
            for (int k = 0; k < group.Count(); ++k) {
                Tag kt = tagOf(group.Items(k));
                if (kt == Tag::VarParam) {
                    nextByRef = true;
                    continue;
                }
                if (kt != Tag::Ident)
                    continue;
                mark(group.Items(k));
                checkNew(own, group.Items(k).Prop(il::kText));
                const TfsXMLItem* init = nullptr;
                TfsCustomVariable* accessor = nullptr;
                auto p = buildName(group, k, own, true, groupByRef || nextByRef, &init, &accessor);
                nextByRef = false;
                auto* param = static_cast<TfsParamItem*>(p.release());
                proc.AddParam(std::unique_ptr<TfsParamItem>(param));
                own.AddUnowned(param);
            }
            groupByRef = false;
        }
    }
    buildBlock(el, own, own.MainStatement().Items);
    block_ = saved;
    proc.Prepare();
}

// ---- statements ------------------------------------------------------------

std::unique_ptr<TfsStatement> Builder::makeAssign(const TfsXMLItem& el, TfsScript& scope, Designator target,
                                                  const TfsXMLItem& exprEl, char modificator)
{
    TfsExpression e;
    buildExpr(exprEl, scope, nullptr, nullptr, &e);
    mark(exprEl);
    checkTypes(target.type, target.typeName, e.Type(), e.TypeName(), scope);
    std::unique_ptr<ExprNode> source;
    bool intOnly = false;
    char op = modificator;
    if (op) {
        intOnly = target.type == fvtInt && e.Type() == fvtInt;
        source = e.Release();
    } else if (target.plainVar && (op = e.SplitInPlace(target.plainVar, source, intOnly)) != 0) {
    } else {
        source = e.Release();
    }
    std::unique_ptr<TfsAssignmentStmt> s;
    switch (op) {
    case '+': s = newStmt<TfsAssignPlusStmt>(el, scope); break;
    case '-': s = newStmt<TfsAssignMinusStmt>(el, scope); break;
    case '*': s = newStmt<TfsAssignMulStmt>(el, scope); break;
    case '/': s = newStmt<TfsAssignDivStmt>(el, scope); break;
    default: s = newStmt<TfsAssignmentStmt>(el, scope); break;
    }
    s->TargetVar = target.plainVar;
    s->IntOnly = intOnly;
    s->Designator = std::move(target.node);
    s->Expression = std::move(source);
    return s;
}

void Builder::buildAssign(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    mark(el);
    if (el.Count() < 2)
        return;
    Designator target = buildDesignator(el.Items(0), scope, Mode::Normal, true, true);
    if (target.readOnly) {
        mark(el.Items(0));
        fail("Left side cannot be assigned to");
    }
    char mod = 0;
    int exprIndex = 1;
    if (tagOf(el.Items(1)) == Tag::Modificator) {
        std::string m = el.Items(1).Prop(il::kText);
        mod = m.empty() ? 0 : m[0];
        exprIndex = 2;
    }
    if (exprIndex >= el.Count())
        return;
    add(list, makeAssign(el, scope, std::move(target), el.Items(exprIndex), mod));
}

void Builder::buildCall(const TfsXMLItem& el, TfsScript& scope, StatementList& list, Mode mode)
{
    mark(el);
    if (el.Count() < 1)
        return;
    auto s = newStmt<TfsCallStmt>(el, scope);
    Designator d = buildDesignator(el.Items(0), scope, mode, false);
    if (el.Count() > 1 && tagOf(el.Items(1)) == Tag::Modificator) {
        s->Modificator = el.Items(1).Prop(il::kText);
        if (d.readOnly) {
            mark(el.Items(0));
            fail("Left side cannot be assigned to");
        }
    }
    s->Designator = std::move(d.node);
    add(list, std::move(s));
}

void Builder::buildIf(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    mark(el);
    auto s = newStmt<TfsIfStmt>(el, scope);
    for (int i = 0; i < el.Count(); ++i) {
        const TfsXMLItem& c = el.Items(i);
        switch (tagOf(c)) {
        case Tag::Expr:
            if (!s->Condition)
                s->Condition = buildExpr(c, scope);
            break;
        case Tag::ThenStmt: buildBlock(c, scope, s->Items); break;
        case Tag::ElseStmt: buildBlock(c, scope, s->ElseStmt); break;
        default: break;
        }
    }
    if (!s->Condition)
        return;
    add(list, std::move(s));
}

void Builder::buildCase(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    mark(el);
    if (el.Count() < 1)
        return;
    auto s = newStmt<TfsCaseStmt>(el, scope);
    s->Condition = buildExpr(el.Items(0), scope);
    for (int i = 1; i < el.Count(); ++i) {
        const TfsXMLItem& c = el.Items(i);
        if (tagOf(c) == Tag::CaseSelector) {
            auto sel = std::make_unique<TfsCaseSelector>();
            for (int k = 0; k < c.Count(); ++k) {
                if (tagOf(c.Items(k)) == Tag::Set && !sel->SetExpression)
                    sel->SetExpression = buildSet(c.Items(k), scope);
                else
                    buildElement(c.Items(k), scope, sel->Items);
            }
            if (!sel->SetExpression)
                sel->SetExpression = std::make_unique<TfsSetExpression>();
            s->Selectors.push_back(std::move(sel));
        } else if (i == el.Count() - 1) {
            buildElement(c, scope, s->ElseStmt);
        }
    }
    add(list, std::move(s));
}

TfsCustomVariable& Builder::loopVariable(const TfsXMLItem& ident, TfsScript& scope)
{
    mark(ident);
    TfsCustomVariable& v = findVariable(scope, ident.Prop(il::kText));
    bool plain = v.kind() == TfsCustomVariable::Kind::Variable && !v.IsReadOnly;
    if (!plain || !(v.Type == fvtInt || v.Type == fvtFloat || v.Type == fvtVariant))
        fail("For loop variable must be numeric variable");
    return v;
}

void Builder::buildFor(const TfsXMLItem& el, TfsScript& scope, StatementList& list, bool vb)
{
    mark(el);
    if (el.Count() < 3)
        return;
    TfsCustomVariable& v = loopVariable(el.Items(0), scope);
    std::vector<std::unique_ptr<ExprNode>> exprs;
    bool down = false;
    int i = 1;
    for (; i < el.Count(); ++i) {
        const TfsXMLItem& c = el.Items(i);
        Tag t = tagOf(c);
        if (t == Tag::DownTo) {
            down = true;
            continue;
        }
        if (t != Tag::Expr || exprs.size() == (vb ? 3u : 2u))
            break;
        TfsVarType et;
        std::string en;
        auto x = buildExpr(c, scope, &et, &en);
        mark(c);
        checkTypes(v.Type, v.TypeName, et, en, scope);
        exprs.push_back(std::move(x));
    }
    if (exprs.size() < 2)
        return;
    if (vb) {
        auto s = newStmt<TfsVbForStmt>(el, scope);
        s->Variable = &v;
        s->BeginValue = std::move(exprs[0]);
        s->EndValue = std::move(exprs[1]);
        if (exprs.size() > 2)
            s->Step = std::move(exprs[2]);
        for (; i < el.Count(); ++i)
            buildElement(el.Items(i), scope, s->Items);
        add(list, std::move(s));
    } else {
        auto s = newStmt<TfsForStmt>(el, scope);
        s->Variable = &v;
        s->Down = down;
        s->BeginValue = std::move(exprs[0]);
        s->EndValue = std::move(exprs[1]);
        for (; i < el.Count(); ++i)
            buildElement(el.Items(i), scope, s->Items);
        add(list, std::move(s));
    }
}

void Builder::buildCppFor(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    mark(el);
    auto s = newStmt<TfsCppForStmt>(el, scope);
    if (el.Count() > 0)
        buildElement(el.Items(0), scope, s->FirstStmt);
    if (el.Count() > 1 && tagOf(el.Items(1)) == Tag::Expr)
        s->Condition = buildExpr(el.Items(1), scope);
    if (el.Count() > 2)
        buildElement(el.Items(2), scope, s->SecondStmt);
    for (int i = 3; i < el.Count(); ++i)
        buildElement(el.Items(i), scope, s->Items);
    add(list, std::move(s));
}

void Builder::buildWhile(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    mark(el);
    if (el.Count() < 1)
        return;
    auto s = newStmt<TfsWhileStmt>(el, scope);
    s->Condition = buildExpr(el.Items(0), scope);
    for (int i = 1; i < el.Count(); ++i)
        buildElement(el.Items(i), scope, s->Items);
    add(list, std::move(s));
}

void Builder::buildRepeat(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    mark(el);
    int last = el.Count() - 1;
    auto s = newStmt<TfsRepeatStmt>(el, scope);
    if (last >= 0 && tagOf(el.Items(last)) == Tag::Inverse) {
        s->InverseCondition = true;
        --last;
    }
    if (last < 0)
        return;
    for (int i = 0; i < last; ++i)
        buildElement(el.Items(i), scope, s->Items);
    s->Condition = buildExpr(el.Items(last), scope);
    add(list, std::move(s));
}

void Builder::buildTry(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    mark(el);
    auto s = newStmt<TfsTryStmt>(el, scope);
    for (int i = 0; i < el.Count(); ++i) {
        const TfsXMLItem& c = el.Items(i);
        Tag t = tagOf(c);
        if (t == Tag::FinallyStmt || t == Tag::ExceptStmt) {
            s->IsExcept = t == Tag::ExceptStmt;
            buildBlock(c, scope, s->ExceptStmt);
        } else {
            buildElement(c, scope, s->Items);
        }
    }
    add(list, std::move(s));
}

void Builder::buildReturn(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    mark(el);
    if (el.Count() > 0 && tagOf(el.Items(0)) == Tag::Expr) {
        const TfsXMLItem& expr = el.Items(0);
        mark(expr);
        TfsCustomVariable& result = findVariable(scope, "Result");
        Designator target;
        target.node = std::make_unique<TfsVariableDesignator>(result);
        target.type = result.Type;
        target.typeName = result.TypeName;
        target.plainVar = result.IsStorage() ? &result : nullptr;
        if (result.IsReadOnly || !target.plainVar)
            fail("Left side cannot be assigned to");
        add(list, makeAssign(expr, scope, std::move(target), expr, 0));
    }
    add(list, newStmt<TfsExitStmt>(el, scope));
}

void Builder::buildWith(const TfsXMLItem& el, TfsScript& scope, StatementList& list)
{
    mark(el);
    const int n = el.Count();
    if (n < 1)
        return;
    // The body is the last child unless that is a designator too (an
    // empty body writes nothing).
    const int designators = tagOf(el.Items(n - 1)) == Tag::Dsgn ? n : n - 1;
    std::size_t pushed = 0;
    for (int i = 0; i < designators; ++i) {
        const TfsXMLItem& d = el.Items(i);
        if (tagOf(d) != Tag::Dsgn)
            continue;
        mark(d);
        Designator des = buildDesignator(d, scope, Mode::Normal, true);
        if (des.type != fvtClass && des.type != fvtVariant) {
            mark(d);
            fail("Class type required");
        }
        std::string name;
        for (int k = 0;; ++k) {
            name = std::to_string(k);
            bool used = scope.FindLocal(name) != nullptr;
            for (const WithVar& w : withList_)
                used = used || w.name == name;
            if (!used)
                break;
        }
        auto var = std::make_unique<TfsVariable>(name, des.type, des.typeName);
        TfsCustomVariable& hidden = scope.Add(std::move(var));
        auto s = newStmt<TfsWithStmt>(d, scope);
        s->Variable = &hidden;
        s->Designator = std::move(des.node);
        add(list, std::move(s));
        withList_.push_back({name, &hidden});
        ++pushed;
    }
    if (designators < n)
        buildElement(el.Items(n - 1), scope, list);
    withList_.resize(withList_.size() - pushed);
}

// ---- expressions -----------------------------------------------------------

void Builder::feed(TfsExpression& e, const TfsXMLItem& el, TfsScript& scope)
{
    enterLevel(el);
    for (int i = 0; i < el.Count(); ++i) {
        const TfsXMLItem& c = el.Items(i);
        switch (tagOf(c)) {
        case Tag::Op: e.AddOperator(platform::lowerAscii(c.Prop(il::kText)), c.Prop(il::kPos)); break;
        case Tag::Number:
        case Tag::String: {
            mark(c);
            std::string text = c.Prop(il::kText);
            if (!text.empty() && text[0] == '\'') {
                std::string_view inner(text);
                inner.remove_prefix(1);
                if (!inner.empty() && inner.back() == '\'')
                    inner.remove_suffix(1);
                e.AddConst(Variant(inner), c.Prop(il::kPos));
            } else {
                Variant v;
                if (!il::NumberLiteralValue(text, v))
                    fail("Invalid number: '" + text + "'");
                e.AddConst(v, c.Prop(il::kPos));
            }
            break;
        }
        case Tag::Dsgn: {
            Designator d = buildDesignator(c, scope, Mode::Normal, true);
            d.node->type = d.type;
            d.node->typeName = d.typeName;
            e.AddOperand(std::move(d.node), c.Prop(il::kPos));
            break;
        }
        case Tag::Set: e.AddSet(buildSet(c, scope), c.Prop(il::kPos)); break;
        case Tag::New:
            for (int k = 0; k < c.Count(); ++k)
                if (tagOf(c.Items(k)) == Tag::Dsgn) {
                    Designator d = buildDesignator(c.Items(k), scope, Mode::New, true);
                    d.node->type = d.type;
                    d.node->typeName = d.typeName;
                    e.AddOperand(std::move(d.node), c.Prop(il::kPos));
                    break;
                }
            break;
        case Tag::Expr: feed(e, c, scope); break;
        default: break;
        }
    }
}

std::unique_ptr<ExprNode> Builder::buildExpr(const TfsXMLItem& el, TfsScript& scope, TfsVarType* type,
                                             std::string* typeName, TfsExpression* keep)
{
    mark(el);
    TfsExpression local;
    TfsExpression& e = keep ? *keep : local;
    feed(e, el, scope);
    std::string bad = e.Finish(&scope);
    if (!bad.empty()) {
        errorPos = bad;
        fail("Incompatible types");
    }
    if (type)
        *type = e.Type();
    if (typeName)
        *typeName = e.TypeName();
    if (keep)
        return nullptr;
    auto node = e.Release();
    return node;
}

std::unique_ptr<TfsSetExpression> Builder::buildSet(const TfsXMLItem& el, TfsScript& scope)
{
    mark(el);
    auto set = std::make_unique<TfsSetExpression>();
    for (int i = 0; i < el.Count(); ++i) {
        const TfsXMLItem& c = el.Items(i);
        Tag t = tagOf(c);
        if (t == Tag::Expr)
            set->AddElement(buildExpr(c, scope));
        else if (t == Tag::Range)
            set->AddRange();
    }
    return set;
}

Variant Builder::evalConst(const TfsXMLItem& el, TfsScript& scope, TfsVarType* type, std::string* typeName)
{
    auto node = buildExpr(el, scope, type, typeName);
    return node->Eval();
}

// ---- designators -----------------------------------------------------------

Builder::Designator Builder::deferred(const TfsXMLItem& el, TfsScript& scope, bool needResult)
{
    if (atRun_)
        RaiseRuntime("Invalid object reference");
    Designator d;
    d.node = std::make_unique<TfsDeferredDesignator>(
        el, TfsDeferredDesignator::Context{&scope, declareVars_, unitName}, needResult);
    return d;
}

void Builder::memberOfClass(Item& it, TfsClassVariable& cls, const std::string& text, TfsScript& scope)
{
    if (text == "[") {
        TfsCustomVariable* def = cls.DefaultProperty();
        if (!def)
            fail("Class " + cls.Name + " does not have a default property");
        it.entry = def;
    } else {
        TfsCustomVariable* m = cls.FindMember(text);
        if (!m)
            fail("Undeclared identifier: '" + text + "'");
        it.entry = m;
        auto* method = dynamic_cast<TfsMethodHelper*>(m);
        it.indexPending = method && method->IsIndexMethod;
    }
    it.kind = TfsDesignator::ItemKind::Entry;
    it.type = it.entry->Type;
    it.typeName = it.entry->TypeName;
    it.readOnly = it.entry->IsReadOnly;
    if (auto* method = dynamic_cast<TfsMethodHelper*>(it.entry); method && method->IsIndexMethod)
        it.readOnly = method->IndexReadOnly;
}

void Builder::resolveMember(Item& it, const Item& prev, const std::string& text, TfsScript& scope, bool& defer)
{
    using K = TfsDesignator::ItemKind;
    if (prev.kind == K::Automation) {
        it.kind = K::Automation;
        it.name = text;
        it.type = fvtVariant;
        it.typeName = "Variant";
        it.checkArgs = false;
        return;
    }
    TfsVarType pt = prev.type;
    std::string pn = prev.typeName;
    if (pt == fvtVariant) {
        if (text == "[") {
            it.kind = K::AnyIndex;
            it.entry = scope.Find("__ArrayHelper");
            it.type = fvtVariant;
            it.typeName = "Variant";
            it.checkArgs = false;
            return;
        }
        Variant v = prev.entry && prev.kind == K::Storage ? prev.entry->Value : Variant::null();
        if (v.isDispatch()) {
            it.kind = K::Automation;
            it.name = text;
            it.type = fvtVariant;
            it.typeName = "Variant";
            it.checkArgs = false;
            return;
        }
        if (v.isString())
            fail("Strings doesn't have properties or methods");
        if (v.isArray())
            fail("Index required");
        if (!v.isObject()) {
            defer = true;
            return;
        }
        const TfsClassVariable* cls = nullptr;
        try {
            ResolveObject(v, &cls);
        } catch (const TfsRuntimeError&) {
            defer = true;
            return;
        }
        if (!cls) {
            defer = true;
            return;
        }
        pt = fvtClass;
        pn = cls->Name;
    }
    switch (pt) {
    case fvtString:
    case fvtChar:
        if (text != "[")
            fail("Strings doesn't have properties or methods");
        it.kind = K::StringIndex;
        it.entry = scope.Find("__StringHelper");
        it.type = fvtChar;
        it.typeName = "Char";
        return;
    case fvtClass: {
        TfsClassVariable* cls = scope.FindClass(pn);
        if (!cls)
            fail("Unknown type: '" + pn + "'");
        memberOfClass(it, *cls, text, scope);
        return;
    }
    case fvtArray: {
        if (text != "[")
            fail("Index required");
        TfsCustomVariable* acc = prev.entry && prev.kind == K::Storage ? prev.entry->RefItem : nullptr;
        it.kind = K::ArrayIndex;
        it.entry = acc ? acc : scope.Find("__ArrayHelper");
        it.type = acc ? acc->Type : fvtVariant;
        it.typeName = acc ? acc->TypeName : "Variant";
        it.checkArgs = acc != nullptr;
        return;
    }
    default:
        fail("Array type required");
    }
}

void Builder::checkArguments(Item& it, TfsScript& scope)
{
    using K = TfsDesignator::ItemKind;
    if (!it.entry || !it.checkArgs)
        return;
    if (it.kind == K::AnyIndex || it.kind == K::Automation)
        return;
    TfsCustomVariable& e = *it.entry;
    const int given = static_cast<int>(it.args.size());
    errorPos = it.pos;
    if (given < e.GetRequiredCount())
        fail("Not enough actual parameters");
    if (given > e.Count())
        fail("Too many actual parameters");
    for (int i = given; i < e.Count(); ++i) {
        TfsParamItem& p = e.Params(i);
        it.args.push_back(std::make_unique<ConstNode>(p.DefValue, p.Type, p.TypeName));
        it.argPos.push_back(it.pos);
        it.argType.push_back(p.Type);
        it.argTypeName.push_back(p.TypeName);
    }
    for (int i = 0; i < given; ++i) {
        TfsParamItem& p = e.Params(i);
        errorPos = it.argPos[static_cast<std::size_t>(i)];
        checkTypes(p.Type, p.TypeName, it.argType[static_cast<std::size_t>(i)],
                   it.argTypeName[static_cast<std::size_t>(i)], scope);
    }
}

Builder::Designator Builder::buildDesignator(const TfsXMLItem& el, TfsScript& scope, Mode mode, bool needResult,
                                             bool assignTarget)
{
    using K = TfsDesignator::ItemKind;
    mark(el);
    enterLevel(el);
    Designator result;
    if (el.Count() > 0 && tagOf(el.Items(0)) == Tag::Addr) {
        if (el.Count() != 2)
            fail("Variable required");
        std::string name = el.Items(1).Prop(il::kText);
        result.node = std::make_unique<ConstNode>(Variant(name), fvtString, "String");
        result.type = fvtString;
        result.typeName = "String";
        result.readOnly = true;
        return result;
    }
    std::vector<Item> items;
    bool defer = false;
    for (int i = 0; i < el.Count() && !defer; ++i) {
        const TfsXMLItem& c = el.Items(i);
        Tag t = tagOf(c);
        if (t == Tag::Expr) {
            if (items.empty())
                continue;
            Item& last = items.back();
            TfsVarType at;
            std::string an;
            auto x = buildExpr(c, scope, &at, &an);
            last.args.push_back(std::move(x));
            last.argPos.push_back(c.Prop(il::kPos));
            last.argType.push_back(at);
            last.argTypeName.push_back(an);
            continue;
        }
        if (t != Tag::Node)
            continue;
        mark(c);
        const std::string text = c.Prop(il::kText);
        if (!items.empty() && items.back().indexPending) {
            // An index method takes the bracketed list as its arguments.
            if (text != "[")
                fail("Index required");
            items.back().indexPending = false;
            continue;
        }
        if (!items.empty() && items.back().kind == K::Automation && text == "[")
            continue; // indexes of a late-bound member are its arguments
        Item it;
        it.pos = c.Prop(il::kPos);
        if (items.empty()) {
            // With-variables, innermost first.
            for (auto w = withList_.rbegin(); w != withList_.rend() && !it.entry; ++w) {
                TfsCustomVariable* hv = scope.FindLocal(w->name);
                if (!hv)
                    continue;
                if (hv->Type == fvtClass) {
                    TfsClassVariable* cls = scope.FindClass(hv->TypeName);
                    TfsCustomVariable* m = cls ? cls->FindMember(text) : nullptr;
                    if (!m)
                        continue;
                    Item head;
                    head.kind = K::Storage;
                    head.entry = hv;
                    head.pos = it.pos;
                    head.type = hv->Type;
                    head.typeName = hv->TypeName;
                    items.push_back(std::move(head));
                    memberOfClass(it, *cls, text, scope);
                } else if (hv->Type == fvtVariant && !scope.Find(text)) {
                    if (atRun_)
                        continue;
                    TfsXMLItem copy;
                    copy.Assign(el);
                    auto* front = new TfsXMLItem();
                    front->SetName("node");
                    front->SetText("text=\"" + w->name + "\" pos=\"" + it.pos + "\"");
                    copy.InsertItem(0, front);
                    return deferred(copy, scope, needResult);
                }
            }
            if (!it.entry) {
                TfsCustomVariable& e = findVariable(scope, text);
                it.entry = &e;
                // Inside a function, its own name stands for its result.
                if (assignTarget && e.kind() == TfsCustomVariable::Kind::Proc) {
                    auto& proc = static_cast<TfsProcVariable&>(e);
                    bool inside = false;
                    for (const TfsScript* s = &scope; s && !inside; s = s->Parent)
                        inside = s == &proc.Scope();
                    if (proc.IsFunc && inside && proc.ResultVar)
                        it.entry = proc.ResultVar;
                }
                TfsCustomVariable& en = *it.entry;
                switch (en.kind()) {
                case TfsCustomVariable::Kind::Variable:
                case TfsCustomVariable::Kind::StringVariable:
                case TfsCustomVariable::Kind::Param: it.kind = K::Storage; break;
                case TfsCustomVariable::Kind::Proc: it.kind = K::Proc; break;
                default: it.kind = K::Entry; break;
                }
                it.type = en.Type;
                it.typeName = en.TypeName;
                it.readOnly = en.IsReadOnly;
                if (auto* method = dynamic_cast<TfsMethodHelper*>(&en); method && method->IsIndexMethod) {
                    it.indexPending = true;
                    it.readOnly = method->IndexReadOnly;
                }
                if (en.kind() == TfsCustomVariable::Kind::Type)
                    fail("Undeclared identifier: '" + text + "'");
            }
            if (mode == Mode::New) {
                if (it.entry->kind() != TfsCustomVariable::Kind::Class)
                    fail("Class type required");
                auto* cls = static_cast<TfsClassVariable*>(it.entry);
                items.push_back(std::move(it));
                Item create;
                create.pos = items.back().pos;
                memberOfClass(create, *cls, "Create", scope);
                items.push_back(std::move(create));
                continue;
            }
        } else {
            resolveMember(it, items.back(), text, scope, defer);
            if (defer)
                break;
        }
        items.push_back(std::move(it));
    }
    if (defer)
        return deferred(el, scope, needResult);
    if (items.empty())
        fail("Variable required");

    if (mode == Mode::Delete) {
        const Item& last = items.back();
        if (last.type != fvtClass && last.type != fvtVariant) {
            mark(el);
            fail("Class type required");
        }
        TfsClassVariable* obj = scope.FindClass("TObject");
        if (!obj)
            fail("Undeclared identifier: 'Free'");
        Item f;
        f.pos = last.pos;
        memberOfClass(f, *obj, "Free", scope);
        items.push_back(std::move(f));
    }
    for (Item& it : items)
        checkArguments(it, scope);

    Item& last = items.back();
    result.type = last.type;
    result.typeName = last.typeName;
    if (result.type == fvtConstructor) {
        result.type = fvtClass;
        for (auto r = items.rbegin(); r != items.rend(); ++r)
            if (r->entry && r->entry->kind() == TfsCustomVariable::Kind::Class) {
                result.typeName = r->entry->Name;
                break;
            }
    }
    result.readOnly = last.readOnly;

    // The fast forms.
    Item& head = items[0];
    if (items.size() == 1 && head.kind == K::Storage && head.args.empty()) {
        result.plainVar = head.entry;
        result.node = std::make_unique<TfsVariableDesignator>(*head.entry);
    } else if (items.size() == 1 && head.kind == K::Proc) {
        result.node = std::make_unique<TfsCallDesignator>(*static_cast<TfsProcVariable*>(head.entry),
                                                          std::move(head.args));
    } else if (items.size() == 2 && head.kind == K::Storage && head.args.empty() &&
               items[1].kind == K::StringIndex && items[1].args.size() == 1 &&
               head.entry->kind() == TfsCustomVariable::Kind::StringVariable) {
        result.node = std::make_unique<TfsStringDesignator>(*head.entry, std::move(items[1].args[0]));
    } else if (items.size() == 2 && head.kind == K::Storage && head.args.empty() &&
               items[1].kind == K::ArrayIndex && !items[1].args.empty() && items[1].args.size() <= 3 &&
               head.entry->RefItem == items[1].entry) {
        result.node = std::make_unique<TfsArrayDesignator>(*head.entry, std::move(items[1].args), last.type,
                                                           last.typeName);
    } else {
        auto d = std::make_unique<TfsDesignator>();
        d->Script = &scope;
        d->NeedResult = needResult;
        d->IsReadOnly = result.readOnly;
        for (Item& it : items) {
            TfsDesignator::Item di;
            di.kind = it.kind;
            di.entry = it.entry;
            if (it.kind == K::Automation)
                di.ole = std::make_unique<TfsOLEHelper>(it.name);
            di.args = std::move(it.args);
            di.hasArgs = !di.args.empty();
            d->Items.push_back(std::move(di));
        }
        result.node = std::move(d);
    }
    result.node->type = result.type;
    result.node->typeName = result.typeName;
    return result;
}

std::unique_ptr<ExprNode> Builder::buildDeferred(const TfsXMLItem& el, TfsScript& scope, bool needResult)
{
    atRun_ = true;
    Designator d = buildDesignator(el, scope, Mode::Normal, needResult);
    return std::move(d.node);
}

} // namespace

void BuildProgram(const TfsXMLDocument& document, TfsScript& script, bool declareVars)
{
    Builder b(script, declareVars);
    ScriptErrors& errors = script.Errors();
    try {
        b.buildProgram(document.Root());
        return;
    } catch (const BuildError& e) {
        errors.ErrorText = e.message;
    } catch (const std::exception& e) {
        errors.ErrorText = e.what();
    }
    errors.ErrorPosition = b.errorPos;
    errors.ErrorUnit = b.unitName;
}

std::unique_ptr<ExprNode> BuildDesignatorAtRun(const TfsXMLItem& element, TfsScript& scope, bool declareVars,
                                               const std::string& unitName, bool needResult)
{
    Builder b(scope, declareVars);
    b.unitName = unitName;
    try {
        return b.buildDeferred(element, scope, needResult);
    } catch (const BuildError& e) {
        RaiseRuntime(e.message);
    }
}

} // namespace script
