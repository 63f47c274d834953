#include "script/program/entries.h"

#include "platform/automation/handle_table.h"
#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"
#include "script/expr/expr_node.h"
#include "script/program/run_error.h"
#include "script/program/run_state.h"
#include "script/program/script.h"
#include "script/program/statements.h"

#include <new>

namespace script {

using platform::Variant;

// ---- TfsCustomVariable -------------------------------------------------

TfsCustomVariable::TfsCustomVariable(Kind kind, std::string_view name, TfsVarType type, std::string_view typeName)
    : Name(name), TypeName(typeName), Type(type), kind_(kind)
{
    Value = Variant::null();
}

TfsCustomVariable::~TfsCustomVariable() = default;

Variant TfsCustomVariable::GetValue()
{
    return Value;
}

void TfsCustomVariable::SetValue(const Variant& value)
{
    if (!IsReadOnly)
        Value = value;
}

void TfsCustomVariable::AddParam(std::unique_ptr<TfsParamItem> param)
{
    params_.push_back(std::move(param));
}

int TfsCustomVariable::GetRequiredCount() const noexcept
{
    int n = 0;
    for (const auto& p : params_)
        if (!p->HasDefault)
            ++n;
    return n;
}

void TfsstringVariable::SetValue(const Variant& value)
{
    if (IsReadOnly)
        return;
    Value = value.isString() ? value : Variant(value.toString());
}

TfsParamItem::TfsParamItem(std::string_view name, TfsVarType type, std::string_view typeName, bool isVarParam,
                           bool hasDefault, Variant defValue)
    : TfsCustomVariable(Kind::Param, name, type, typeName), IsVarParam(isVarParam), HasDefault(hasDefault),
      DefValue(std::move(defValue))
{
}

void StoreValue(TfsCustomVariable& entry, const Variant& value)
{
    if (entry.IsReadOnly)
        return;
    if (entry.kind() == TfsCustomVariable::Kind::StringVariable && !value.isString())
        entry.Value = Variant(value.toString());
    else
        entry.Value = value;
}

void StoreValue(TfsCustomVariable& entry, Variant&& value)
{
    if (entry.IsReadOnly)
        return;
    if (entry.kind() == TfsCustomVariable::Kind::StringVariable && !value.isString())
        entry.Value = Variant(value.toString());
    else
        entry.Value = std::move(value);
}

// ---- TfsProcVariable ---------------------------------------------------

TfsProcVariable::TfsProcVariable(std::string_view name, TfsVarType type, std::string_view typeName,
                                 TfsScript& parent, bool isFunc)
    : TfsCustomVariable(Kind::Proc, name, type, typeName), IsFunc(isFunc),
      scope_(std::make_unique<TfsScript>(&parent))
{
    IsReadOnly = true;
    scope_->run_ = parent.run_;
}

TfsProcVariable::~TfsProcVariable()
{
    // The parameters belong to the routine: take them out of the scope
    // before it goes.
    for (const auto& p : params_)
        scope_->Remove(p.get());
    scope_.reset();
}

void TfsProcVariable::Prepare()
{
    slots_.clear();
    initial_.clear();
    paramSlots_.clear();
    for (int i = 0; i < scope_->Count(); ++i) {
        TfsCustomVariable& e = scope_->Items(i);
        if (!e.IsStorage() || e.IsReadOnly)
            continue;
        slots_.push_back(&e.Value);
        initial_.push_back(e.kind() == Kind::Param ? Variant() : e.Value);
    }
    for (const auto& p : params_)
        paramSlots_.push_back(&p->Value);
    prepared_ = true;
    preparedCount_ = scope_->Count();
}

namespace {

// Argument values of one call, on the stack for the usual few.
class ArgBuffer {
public:
    explicit ArgBuffer(std::size_t n)
        : n_(n), p_(n <= kInline ? reinterpret_cast<Variant*>(inline_) : static_cast<Variant*>(
                                                                             ::operator new(n * sizeof(Variant))))
    {
        for (std::size_t i = 0; i < n; ++i)
            new (p_ + i) Variant();
    }
    ~ArgBuffer()
    {
        for (std::size_t i = 0; i < n_; ++i)
            p_[i].~Variant();
        if (p_ != reinterpret_cast<Variant*>(inline_))
            ::operator delete(p_);
    }
    ArgBuffer(const ArgBuffer&) = delete;
    ArgBuffer& operator=(const ArgBuffer&) = delete;
    Variant& operator=(std::size_t) = delete;
    Variant& operator[](std::size_t i) noexcept { return p_[i]; }

private:
    static constexpr std::size_t kInline = 8;
    std::size_t n_;
    alignas(Variant) unsigned char inline_[kInline * sizeof(Variant)];
    Variant* p_;
};

} // namespace

// Sets up one activation: saves the caller's frame when the routine is
// already running, and puts everything back however the call ends.
struct TfsProcVariable::Frame {
    TfsProcVariable& p;
    RunState& rs;
    bool recursive;
    std::size_t mark;
    TfsScript* hookScope = nullptr;
    TfsScript* prevRoutine = nullptr;
    bool restored = false;

    explicit Frame(TfsProcVariable& proc) : p(proc), rs(proc.scope_->Run()), recursive(proc.Executing)
    {
        rs.Enter();
        mark = p.saved_.size();
        if (recursive) {
            try {
                for (Variant* s : p.slots_)
                    p.saved_.push_back(std::move(*s));
            } catch (...) {
                restore();
                rs.Leave();
                throw;
            }
        }
        for (std::size_t i = 0; i < p.slots_.size(); ++i)
            *p.slots_[i] = p.initial_[i];
        p.Executing = true;
        if (rs.hookOwner) {
            hookScope = rs.hookOwner;
            prevRoutine = hookScope->currentRoutine_;
            hookScope->currentRoutine_ = p.scope_.get();
        }
    }
    void restore() noexcept
    {
        if (restored)
            return;
        restored = true;
        if (recursive) {
            for (std::size_t j = 0; j < p.slots_.size() && mark + j < p.saved_.size(); ++j)
                *p.slots_[j] = std::move(p.saved_[mark + j]);
            p.saved_.resize(mark);
        }
        p.Executing = recursive;
        if (hookScope)
            hookScope->currentRoutine_ = prevRoutine;
    }
    ~Frame()
    {
        restore();
        rs.Leave();
    }
};

Variant TfsProcVariable::run()
{
    scope_->MainStatement().Execute();
    if (IsFunc)
        return std::move(ResultVar->Value);
    return Variant::null();
}

Variant TfsProcVariable::Call(ExprNode* const* args, std::size_t count)
{
    if (!prepared_ || preparedCount_ != scope_->Count())
        Prepare();
    const std::size_t n = std::min(count, paramSlots_.size());
    // All arguments first: one of them may call this routine again.
    ArgBuffer vals(n);
    for (std::size_t i = 0; i < n; ++i)
        vals[i] = args[i]->Eval();
    Variant result;
    bool anyByRef = false;
    {
        Frame frame(*this);
        for (std::size_t i = 0; i < n; ++i)
            *paramSlots_[i] = std::move(vals[i]);
        result = run();
        for (std::size_t i = 0; i < n; ++i)
            if (params_[i]->IsVarParam) {
                vals[i] = std::move(*paramSlots_[i]);
                anyByRef = true;
            }
        // The caller's frame comes back before the by-reference results
        // are written, so that they land in the caller's variables.
        frame.restore();
    }
    if (anyByRef)
        for (std::size_t i = 0; i < n; ++i)
            if (params_[i]->IsVarParam)
                args[i]->Assign(vals[i]);
    return result;
}

Variant TfsProcVariable::GetValue()
{
    if (!prepared_ || preparedCount_ != scope_->Count())
        Prepare();
    const std::size_t n = paramSlots_.size();
    ArgBuffer vals(n);
    for (std::size_t i = 0; i < n; ++i)
        vals[i] = *paramSlots_[i];
    Frame frame(*this);
    for (std::size_t i = 0; i < n; ++i)
        *paramSlots_[i] = std::move(vals[i]);
    return run();
}

// ---- host members ------------------------------------------------------

TfsMethodHelper::TfsMethodHelper(std::string_view name, TfsVarType type, std::string_view typeName,
                                 TfsMethodCallback callback)
    : TfsCustomHelper(Kind::Method, name, type, typeName), Callback(std::move(callback))
{
    IsReadOnly = true;
}

std::vector<Variant> TfsMethodHelper::arguments() const
{
    std::vector<Variant> args;
    args.reserve(params_.size());
    for (const auto& p : params_)
        args.push_back(p->Value);
    return args;
}

void* TfsMethodHelper::instance() const
{
    return ParentValue.isEmptyOrNull() ? nullptr : ResolveObject(ParentValue);
}

Variant TfsMethodHelper::GetValue()
{
    if (!Callback)
        return Variant(0);
    std::vector<Variant> args = arguments();
    std::string name = platform::upperCp1251(Name);
    if (IsIndexMethod)
        name += ".GET";
    Variant r = Callback(instance(), ClassRef, name, args);
    for (std::size_t i = 0; i < params_.size() && i < args.size(); ++i)
        if (params_[i]->IsVarParam)
            params_[i]->Value = args[i];
    return r;
}

void TfsMethodHelper::SetValue(const Variant& value)
{
    if (!IsIndexMethod || !Callback)
        return;
    std::vector<Variant> args = arguments();
    args.push_back(value);
    Callback(instance(), ClassRef, platform::upperCp1251(Name) + ".SET", args);
}

TfsPropertyHelper::TfsPropertyHelper(std::string_view name, TfsVarType type, std::string_view typeName,
                                     TfsGetValueCallback getter, TfsSetValueCallback setter)
    : TfsCustomHelper(Kind::Property, name, type, typeName), Getter(std::move(getter)), Setter(std::move(setter))
{
    IsReadOnly = !Setter;
}

Variant TfsPropertyHelper::GetValue()
{
    Variant r = Variant::null();
    void* obj = ResolveObject(ParentValue);
    if (Getter)
        r = Getter(obj, ClassRef, platform::upperCp1251(Name));
    if (Type == fvtBool && !r.isBool())
        r = Variant(r.toBool());
    return r;
}

void TfsPropertyHelper::SetValue(const Variant& value)
{
    if (IsReadOnly || !Setter)
        return;
    Setter(ResolveObject(ParentValue), ClassRef, platform::upperCp1251(Name), value);
}

// ---- classes -----------------------------------------------------------

TfsClassVariable::TfsClassVariable(std::string_view name, std::string_view ancestor)
    : TfsCustomVariable(Kind::Class, name, fvtClass, name), AncestorName(ancestor)
{
    IsReadOnly = true;
    AddParam(std::make_unique<TfsParamItem>("", fvtVariant, "Variant", false, true, Variant::null()));
}

TfsClassVariable::~TfsClassVariable() = default;

Variant TfsClassVariable::GetValue()
{
    TfsParamItem& p = Params(0);
    Variant arg = std::move(p.Value);
    p.Value = Variant::null();
    if (!arg.isEmptyOrNull()) {
        if (!arg.isDispatch())
            ResolveObject(arg); // a number is no object
        return arg;
    }
    return Factory ? Factory() : Variant::null();
}

void TfsClassVariable::AddMember(std::unique_ptr<TfsCustomVariable> member)
{
    if (auto* h = dynamic_cast<TfsMethodHelper*>(member.get()))
        h->ClassRef = this;
    else if (auto* pr = dynamic_cast<TfsPropertyHelper*>(member.get()))
        pr->ClassRef = this;
    members_.push_back(std::move(member));
}

TfsCustomVariable* TfsClassVariable::FindMember(std::string_view name, const TfsScript& scope) const
{
    const TfsClassVariable* c = this;
    for (int guard = 0; c && guard < 256; ++guard) {
        for (const auto& m : c->members_)
            if (platform::equalsIgnoreCaseCp1251(m->Name, name))
                return m.get();
        if (c->AncestorName.empty())
            break;
        c = scope.FindClass(c->AncestorName);
    }
    return nullptr;
}

bool TfsClassVariable::InheritsFrom(std::string_view base, const TfsScript& scope) const
{
    const TfsClassVariable* c = this;
    for (int guard = 0; c && guard < 256; ++guard) {
        if (platform::equalsIgnoreCaseCp1251(c->Name, base))
            return true;
        if (c->AncestorName.empty())
            break;
        c = scope.FindClass(c->AncestorName);
    }
    return false;
}

TfsCustomVariable* TfsClassVariable::DefaultProperty(const TfsScript& scope) const
{
    const TfsClassVariable* c = this;
    for (int guard = 0; c && guard < 256; ++guard) {
        if (c->DefProperty)
            return c->DefProperty;
        if (c->AncestorName.empty())
            break;
        c = scope.FindClass(c->AncestorName);
    }
    return nullptr;
}

// ---- object references -------------------------------------------------

namespace {

platform::HandleTable& handles()
{
    static platform::HandleTable table;
    return table;
}

} // namespace

Variant MakeObjectRef(void* object, const void* kind)
{
    if (!object)
        return Variant(0);
    return Variant::fromObject(handles().add(object, kind));
}

void* ResolveObject(const Variant& ref, const void** kindOut)
{
    if (ref.isObject()) {
        const void* kind = nullptr;
        if (void* obj = handles().find(ref.rawInt32(), &kind)) {
            if (kindOut)
                *kindOut = kind;
            return obj;
        }
    }
    RaiseRuntime("Invalid object reference");
}

void ReleaseObjectRef(const Variant& ref)
{
    if (ref.isObject())
        handles().remove(ref.rawInt32());
}

} // namespace script
