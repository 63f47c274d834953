#include "script/program/statements.h"

#include "platform/automation/variant_ops.h"
#include "script/expr/expression.h"
#include "script/expr/operator_nodes.h"
#include "script/program/entries.h"
#include "script/program/run_error.h"
#include "script/program/run_state.h"
#include "script/program/script.h"

#include <exception>

namespace script {

using platform::Variant;

TfsStatement::TfsStatement(TfsScript& script, std::string sourcePos, std::string unitName)
    : Script(&script), SourcePos(std::move(sourcePos)), UnitName(std::move(unitName)), run_(&script.Run())
{
}

TfsStatement::~TfsStatement() = default;

void TfsStatement::callHook()
{
    run_->CallHook(*Script, UnitName, SourcePos);
}

Flow TfsStatement::Execute()
{
    return RunList(Items);
}

// ---- assignments -------------------------------------------------------

Flow TfsAssignmentStmt::Execute()
{
    Hook();
    if (TargetVar) {
        StoreValue(*TargetVar, Expression->Eval());
        return Flow::Normal;
    }
    Designator->Assign(Expression->Eval());
    return Flow::Normal;
}

namespace {

// target := target op value, in place when the target is a plain variable:
// a string grows in its own buffer instead of being copied.
template <class Op>
Flow inPlace(TfsAssignmentStmt& s, Op op)
{
    Variant x = s.Expression->Eval();
    if (s.TargetVar) {
        Variant& slot = s.TargetVar->Value;
        if (s.TargetVar->IsReadOnly)
            return Flow::Normal;
        op(slot, x, s.IntOnly);
        if (s.TargetVar->kind() == TfsCustomVariable::Kind::StringVariable && !slot.isString())
            slot = Variant(slot.toString());
        return Flow::Normal;
    }
    Variant v = s.Designator->Eval();
    op(v, x, s.IntOnly);
    s.Designator->Assign(v);
    return Flow::Normal;
}

} // namespace

Flow TfsAssignPlusStmt::Execute()
{
    Hook();
    return inPlace(*this, [](Variant& v, const Variant& x, bool intOnly) {
        if (v.type() == platform::varInteger && x.type() == platform::varInteger) {
            if (intOnly) {
                v = Variant(static_cast<int>(platform::wrapAdd(v.rawInt32(), x.rawInt32())));
                return;
            }
            std::int64_t r = std::int64_t(v.rawInt32()) + x.rawInt32();
            if (r >= INT32_MIN && r <= INT32_MAX) {
                v = Variant(static_cast<int>(r));
                return;
            }
        }
        if (v.isString() && x.isString())
            v.appendString(x.stringView());
        else
            v = AddValues(v, x);
    });
}

Flow TfsAssignMinusStmt::Execute()
{
    Hook();
    return inPlace(*this, [](Variant& v, const Variant& x, bool intOnly) {
        if (intOnly)
            v = Variant(static_cast<int>(platform::wrapSub(IntOf(v), IntOf(x))));
        else
            v = SubValues(v, x);
    });
}

Flow TfsAssignMulStmt::Execute()
{
    Hook();
    return inPlace(*this, [](Variant& v, const Variant& x, bool intOnly) {
        if (intOnly)
            v = Variant(static_cast<int>(platform::wrapMul(IntOf(v), IntOf(x))));
        else
            v = MulValues(v, x);
    });
}

Flow TfsAssignDivStmt::Execute()
{
    Hook();
    return inPlace(*this, [](Variant& v, const Variant& x, bool) { v = DivideValues(v, x); });
}

// ---- calls -------------------------------------------------------------

Flow TfsCallStmt::Execute()
{
    Hook();
    if (Modificator.empty()) {
        Designator->Eval();
        return Flow::Normal;
    }
    Variant v = Designator->Eval();
    v = Modificator == "+" ? AddValues(v, Variant(1)) : SubValues(v, Variant(1));
    Designator->Assign(v);
    return Flow::Normal;
}

// ---- conditionals ------------------------------------------------------

Flow TfsIfStmt::Execute()
{
    Hook();
    if (Condition->EvalBool())
        return RunList(Items);
    return RunList(ElseStmt);
}

TfsCaseStmt::~TfsCaseStmt() = default;

Flow TfsCaseStmt::Execute()
{
    Variant v = Condition->Eval();
    Hook();
    for (auto& sel : Selectors)
        if (sel->SetExpression->Contains(v))
            return RunList(sel->Items);
    return RunList(ElseStmt);
}

// ---- loops -------------------------------------------------------------

Flow TfsRepeatStmt::Execute()
{
    Hook();
    for (;;) {
        run_->CheckStop();
        Flow f = RunList(Items);
        if (f == Flow::Break)
            break;
        if (f == Flow::Exit)
            return f;
        bool c = Condition->EvalBool();
        if (c != InverseCondition)
            break;
    }
    return Flow::Normal;
}

Flow TfsWhileStmt::Execute()
{
    Hook();
    while (Condition->EvalBool()) {
        run_->CheckStop();
        Flow f = RunList(Items);
        if (f == Flow::Break)
            break;
        if (f == Flow::Exit)
            return f;
    }
    return Flow::Normal;
}

Flow TfsForStmt::Execute()
{
    std::int32_t a = BeginValue->EvalInt();
    std::int32_t b = EndValue->EvalInt();
    Hook();
    // The number of rounds is fixed at the start, in 64 bits: a loop over
    // the whole integer range must not overflow the count.
    std::int64_t rounds = Down ? std::int64_t(a) - b + 1 : std::int64_t(b) - a + 1;
    Variant& slot = Variable->Value;
    std::int64_t i = a;
    const std::int64_t step = Down ? -1 : 1;
    for (; rounds > 0; --rounds, i += step) {
        run_->CheckStop();
        slot = Variant(static_cast<int>(i));
        Flow f = RunList(Items);
        if (f == Flow::Break)
            break;
        if (f == Flow::Exit)
            return f;
    }
    return Flow::Normal;
}

Flow TfsVbForStmt::Execute()
{
    Variant i = BeginValue->Eval();
    Variant e = EndValue->Eval();
    Variant s = Step ? Step->Eval() : Variant(1);
    Hook();
    bool negative = platform::varCompare(s, Variant(0)) == -1;
    for (;;) {
        int c = platform::varCompare(i, e);
        if (negative ? !(c == 1 || c == 0) : !(c == -1 || c == 0))
            break;
        run_->CheckStop();
        StoreValue(*Variable, i);
        Flow f = RunList(Items);
        if (f == Flow::Break)
            break;
        if (f == Flow::Exit)
            return f;
        i = AddValues(i, s);
    }
    return Flow::Normal;
}

Flow TfsCppForStmt::Execute()
{
    Hook();
    Flow f = RunList(FirstStmt);
    if (f == Flow::Exit)
        return f;
    while (!Condition || Condition->EvalBool()) {
        run_->CheckStop();
        f = RunList(Items);
        if (f == Flow::Break)
            break;
        if (f == Flow::Exit)
            return f;
        f = RunList(SecondStmt);
        if (f == Flow::Exit)
            return f;
        if (f == Flow::Break)
            break;
    }
    return Flow::Normal;
}

// ---- try -------------------------------------------------------------

Flow TfsTryStmt::Execute()
{
    Hook();
    if (IsExcept) {
        try {
            return RunList(Items);
        } catch (const TfsScriptStopped&) {
            throw;
        } catch (const std::exception&) {
        }
        return RunList(ExceptStmt);
    }
    Flow f;
    try {
        f = RunList(Items);
    } catch (...) {
        // The finally part runs; an error it raises replaces this one.
        RunList(ExceptStmt);
        throw;
    }
    // After break, continue and exit too; a jump of its own wins.
    Flow g = RunList(ExceptStmt);
    return g != Flow::Normal ? g : f;
}

// ---- jumps -------------------------------------------------------------

Flow TfsBreakStmt::Execute()
{
    Hook();
    return Flow::Break;
}

Flow TfsContinueStmt::Execute()
{
    Hook();
    return Flow::Continue;
}

Flow TfsExitStmt::Execute()
{
    Hook();
    return Flow::Exit;
}

Flow TfsWithStmt::Execute()
{
    Variable->Value = Designator->Eval();
    return Flow::Normal;
}

} // namespace script
