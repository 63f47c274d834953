#include "script/program/entries.h"

#include "platform/system/large_stack.h"
#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"
#include "script/expr/expr_node.h"
#include "script/program/run_error.h"
#include "script/program/run_state.h"
#include "script/program/script.h"
#include "script/program/statements.h"

#include <algorithm>
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

bool TfsProcVariable::CallFromHost(std::span<Variant> args)
{
    if (Executing)
        return false;
    RunState& rs = scope_->Run();
    // Counts as a run: the script cannot be cleared or run again meanwhile.
    struct Running {
        RunState& rs;
        bool was;
        explicit Running(RunState& r) : rs(r), was(r.running) { rs.running = true; }
        ~Running() { rs.running = was; }
    };
    const bool outside = !rs.running;
    Running running(rs);
    platform::RunOnLargeStack([&] {
        if (outside) {
            // Outside a run: the guard, the hook and the stop request are
            // this call's own.
            rs.stopRequested.store(false, std::memory_order_relaxed);
            rs.ArmStackGuard();
            rs.hookOwner = nullptr;
            for (TfsScript* s = scope_.get(); s && !rs.hookOwner; s = s->Parent)
                if (s->OnRunLine)
                    rs.hookOwner = s;
        }
        RunOwnerScope owner(rs.root);
        if (!prepared_ || preparedCount_ != scope_->Count())
            Prepare();
        const std::size_t n = std::min(args.size(), paramSlots_.size());
        for (std::size_t i = 0; i < n; ++i)
            *paramSlots_[i] = args[i];
        GetValue();
        for (std::size_t i = 0; i < n; ++i)
            args[i] = *paramSlots_[i];
    });
    return true;
}

} // namespace script
