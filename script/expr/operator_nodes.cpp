#include "script/expr/operator_nodes.h"

#include "platform/automation/variant_ops.h"
#include "script/binding/class_variable.h"
#include "script/binding/object_refs.h"
#include "script/expr/expression.h"
#include "script/program/entries.h"
#include "script/program/run_error.h"
#include "script/program/script.h"

namespace script {

using platform::Variant;
using platform::varDouble;
using platform::varInteger;

// ---- the operations ----------------------------------------------------

namespace {

// Integers of 32 bits or fewer (and Booleans, which count as -1 and 0):
// their sums, differences and products wrap at 32 bits like the typed
// path's, so no 64-bit value comes out of Integer arithmetic.
bool narrowInt(const Variant& v) noexcept
{
    switch (v.type()) {
    case varInteger: case platform::varSmallint: case platform::varShortInt: case platform::varByte:
    case platform::varWord: case platform::varLongWord: case platform::varBoolean:
        return true;
    default:
        return false;
    }
}

Variant wrapped(std::uint64_t bits) noexcept
{
    return Variant(static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(bits))));
}

std::uint64_t bitsOf(const Variant& v)
{
    return static_cast<std::uint64_t>(v.toInt64());
}

} // namespace

Variant AddValues(const Variant& a, const Variant& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return Variant(static_cast<int>(platform::wrapAdd(a.rawInt32(), b.rawInt32())));
    if (a.type() == varDouble && b.type() == varDouble)
        return Variant(a.rawDouble() + b.rawDouble());
    if (a.type() == varInteger && b.type() == varDouble)
        return Variant(a.rawInt32() + b.rawDouble());
    if (a.type() == varDouble && b.type() == varInteger)
        return Variant(a.rawDouble() + b.rawInt32());
    if (narrowInt(a) && narrowInt(b))
        return wrapped(bitsOf(a) + bitsOf(b));
    return platform::varAdd(a, b);
}

Variant SubValues(const Variant& a, const Variant& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return Variant(static_cast<int>(platform::wrapSub(a.rawInt32(), b.rawInt32())));
    if (a.type() == varDouble && b.type() == varDouble)
        return Variant(a.rawDouble() - b.rawDouble());
    if (a.type() == varInteger && b.type() == varDouble)
        return Variant(a.rawInt32() - b.rawDouble());
    if (a.type() == varDouble && b.type() == varInteger)
        return Variant(a.rawDouble() - b.rawInt32());
    if (narrowInt(a) && narrowInt(b))
        return wrapped(bitsOf(a) - bitsOf(b));
    return platform::varSub(a, b);
}

Variant MulValues(const Variant& a, const Variant& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return Variant(static_cast<int>(platform::wrapMul(a.rawInt32(), b.rawInt32())));
    if (a.type() == varDouble && b.type() == varDouble)
        return Variant(a.rawDouble() * b.rawDouble());
    if (a.type() == varInteger && b.type() == varDouble)
        return Variant(a.rawInt32() * b.rawDouble());
    if (a.type() == varDouble && b.type() == varInteger)
        return Variant(a.rawDouble() * b.rawInt32());
    if (narrowInt(a) && narrowInt(b))
        return wrapped(bitsOf(a) * bitsOf(b));
    return platform::varMul(a, b);
}

Variant NegateValue(const Variant& a)
{
    if (a.type() == varDouble)
        return Variant(-a.rawDouble());
    if (a.type() == varInteger)
        return Variant(static_cast<int>(platform::wrapSub(0, a.rawInt32())));
    if (narrowInt(a))
        return wrapped(0 - bitsOf(a));
    return platform::varNegate(a);
}

Variant DivideValues(const Variant& a, const Variant& b)
{
    if ((a.type() == varDouble || a.type() == varInteger) && (b.type() == varDouble || b.type() == varInteger)) {
        double y = b.type() == varDouble ? b.rawDouble() : b.rawInt32();
        if (y != 0) {
            double x = a.type() == varDouble ? a.rawDouble() : a.rawInt32();
            return Variant(x / y);
        }
    }
    return platform::varDivide(a, b);
}

namespace {

using Ptr = std::unique_ptr<ExprNode>;

class BinaryNode : public ExprNode {
public:
    BinaryNode(Ptr l, Ptr r) : l_(std::move(l)), r_(std::move(r)) {}

protected:
    Ptr l_, r_;
};

// ---- integer-only ------------------------------------------------------

template <std::int32_t (*F)(std::int32_t, std::int32_t)>
class IntArith final : public BinaryNode {
public:
    using BinaryNode::BinaryNode;
    Variant Eval() override { return Variant(static_cast<int>(EvalInt())); }
    std::int32_t EvalInt() override
    {
        std::int32_t a = l_->EvalInt();
        return F(a, r_->EvalInt());
    }
};

template <class Cmp>
class IntCompare final : public BinaryNode {
public:
    using BinaryNode::BinaryNode;
    Variant Eval() override { return Variant(EvalBool()); }
    bool EvalBool() override
    {
        std::int32_t a = l_->EvalInt();
        return Cmp()(a, r_->EvalInt());
    }
};

// ---- Variant -----------------------------------------------------------

template <Variant (*F)(const Variant&, const Variant&)>
class VarArith final : public BinaryNode {
public:
    using BinaryNode::BinaryNode;
    Variant Eval() override
    {
        Variant a = l_->Eval();
        Variant b = r_->Eval();
        return F(a, b);
    }
};

// Comparison by the value model; "unordered" (2) satisfies only "<>".
int compareOrder(const Variant& a, const Variant& b)
{
    if (a.type() == varInteger && b.type() == varInteger)
        return (a.rawInt32() > b.rawInt32()) - (a.rawInt32() < b.rawInt32());
    if (a.type() == varDouble && b.type() == varDouble) {
        double x = a.rawDouble(), y = b.rawDouble();
        return x < y ? -1 : x > y ? 1 : x == y ? 0 : 2;
    }
    return platform::varCompare(a, b);
}

bool compareHolds(OpCode op, int c) noexcept
{
    switch (op) {
    case OpCode::Greater: return c == 1;
    case OpCode::Less: return c == -1;
    case OpCode::LessEq: return c == -1 || c == 0;
    case OpCode::GreaterEq: return c == 1 || c == 0;
    case OpCode::NotEq: return c != 0;
    default: return c == 0;
    }
}

template <int Op>
class VarCompare final : public BinaryNode {
public:
    using BinaryNode::BinaryNode;
    Variant Eval() override { return Variant(EvalBool()); }
    bool EvalBool() override
    {
        Variant a = l_->Eval();
        Variant b = r_->Eval();
        return compareHolds(static_cast<OpCode>(Op), compareOrder(a, b));
    }
};

class StrCatNode final : public BinaryNode {
public:
    using BinaryNode::BinaryNode;
    Variant Eval() override
    {
        Variant a = l_->Eval();
        Variant b = r_->Eval();
        if (a.isString())
            return platform::varConcat(a, b);
        return platform::varAdd(a, b);
    }
};

// Boolean-only and/or evaluate their right side only when it decides.
class BoolAnd final : public BinaryNode {
public:
    using BinaryNode::BinaryNode;
    Variant Eval() override
    {
        Variant a = l_->Eval();
        if (!BoolOf(a))
            return a;
        return r_->Eval();
    }
    bool EvalBool() override { return l_->EvalBool() && r_->EvalBool(); }
};

class BoolOr final : public BinaryNode {
public:
    using BinaryNode::BinaryNode;
    Variant Eval() override
    {
        Variant a = l_->Eval();
        if (BoolOf(a))
            return a;
        return r_->Eval();
    }
    bool EvalBool() override { return l_->EvalBool() || r_->EvalBool(); }
};

class NotNode final : public ExprNode {
public:
    explicit NotNode(Ptr x) : x_(std::move(x)) {}
    Variant Eval() override
    {
        Variant a = x_->Eval();
        if (a.type() == platform::varBoolean)
            return Variant(!a.rawBool());
        return platform::varNot(a);
    }
    bool EvalBool() override { return BoolOf(Eval()); }

private:
    Ptr x_;
};

class NegateNode final : public ExprNode {
public:
    explicit NegateNode(Ptr x) : x_(std::move(x)) {}
    Variant Eval() override { return NegateValue(x_->Eval()); }

private:
    Ptr x_;
};

class InNode final : public ExprNode {
public:
    InNode(Ptr v, std::unique_ptr<TfsSetExpression> s) : v_(std::move(v)), s_(std::move(s)) {}
    Variant Eval() override { return Variant(EvalBool()); }
    bool EvalBool() override { return s_->Contains(v_->Eval()); }

private:
    Ptr v_;
    std::unique_ptr<TfsSetExpression> s_;
};

class IsNode final : public ExprNode {
public:
    IsNode(Ptr v, std::string cls) : v_(std::move(v)), cls_(std::move(cls)) {}
    Variant Eval() override { return Variant(EvalBool()); }
    bool EvalBool() override
    {
        Variant v = v_->Eval();
        if (v.isEmptyOrNull())
            return false;
        const TfsClassVariable* cls = nullptr;
        ResolveObject(v, &cls);
        return cls && cls->InheritsFrom(cls_);
    }

private:
    Ptr v_;
    std::string cls_;
};

std::int32_t shlInt(std::int32_t a, std::int32_t b) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) << (b & 31));
}

std::int32_t shrInt(std::int32_t a, std::int32_t b) noexcept
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) >> (b & 31));
}

} // namespace

// ---- long chains ---------------------------------------------------------

ChainNode::ChainNode(Ptr first) : first_(std::move(first)) {}

ChainNode::~ChainNode() = default;

void ChainNode::Add(OpCode op, bool intOnly, bool boolOnly, Ptr right)
{
    steps_.push_back({op, intOnly, boolOnly, std::move(right)});
}

// One operator of the chain, with the meaning its own node would give it.
Variant ChainNode::apply(const Step& st, Variant acc)
{
    using namespace platform;
    ExprNode& r = *st.right;
    if (st.intOnly) {
        std::int32_t a = IntOf(acc);
        switch (st.op) {
        case OpCode::Plus: return Variant(static_cast<int>(wrapAdd(a, r.EvalInt())));
        case OpCode::Minus: return Variant(static_cast<int>(wrapSub(a, r.EvalInt())));
        case OpCode::Mul: return Variant(static_cast<int>(wrapMul(a, r.EvalInt())));
        case OpCode::Div: return Variant(static_cast<int>(checkedDiv(a, r.EvalInt())));
        case OpCode::Mod: return Variant(static_cast<int>(checkedMod(a, r.EvalInt())));
        case OpCode::Shl: return Variant(static_cast<int>(shlInt(a, r.EvalInt())));
        case OpCode::Shr: return Variant(static_cast<int>(shrInt(a, r.EvalInt())));
        case OpCode::Greater: return Variant(a > r.EvalInt());
        case OpCode::Less: return Variant(a < r.EvalInt());
        case OpCode::LessEq: return Variant(a <= r.EvalInt());
        case OpCode::GreaterEq: return Variant(a >= r.EvalInt());
        case OpCode::NotEq: return Variant(a != r.EvalInt());
        case OpCode::Eq: return Variant(a == r.EvalInt());
        default: break;
        }
    }
    if (st.boolOnly && st.op == OpCode::And)
        return BoolOf(acc) ? r.Eval() : acc;
    if (st.boolOnly && st.op == OpCode::Or)
        return BoolOf(acc) ? acc : r.Eval();
    Variant b = r.Eval();
    switch (st.op) {
    case OpCode::Plus: return AddValues(acc, b);
    case OpCode::Minus: return SubValues(acc, b);
    case OpCode::Mul: return MulValues(acc, b);
    case OpCode::DivFloat: return DivideValues(acc, b);
    case OpCode::Div: return varIntDiv(acc, b);
    case OpCode::Mod: return varMod(acc, b);
    case OpCode::And: return varAnd(acc, b);
    case OpCode::Or: return varOr(acc, b);
    case OpCode::Xor: return varXor(acc, b);
    case OpCode::Shl: return varShl(acc, b);
    case OpCode::Shr: return varShr(acc, b);
    case OpCode::StrCat: return acc.isString() ? varConcat(acc, b) : varAdd(acc, b);
    default: return Variant(compareHolds(st.op, compareOrder(acc, b)));
    }
}

Variant ChainNode::Eval()
{
    Variant acc = first_->Eval();
    for (const Step& st : steps_)
        acc = apply(st, std::move(acc));
    return acc;
}

bool IsChainable(OpCode op) noexcept
{
    switch (op) {
    case OpCode::Greater: case OpCode::Less: case OpCode::LessEq: case OpCode::GreaterEq: case OpCode::NotEq:
    case OpCode::Eq: case OpCode::Plus: case OpCode::Minus: case OpCode::Or: case OpCode::Xor: case OpCode::Mul:
    case OpCode::DivFloat: case OpCode::Div: case OpCode::Mod: case OpCode::And: case OpCode::Shl:
    case OpCode::Shr: case OpCode::StrCat:
        return true;
    default:
        return false;
    }
}

std::unique_ptr<ExprNode> MakeBinaryNode(OpCode op, bool intOnly, bool boolOnly, Ptr l, Ptr r)
{
    using namespace platform;
    if (intOnly) {
        switch (op) {
        case OpCode::Plus: return std::make_unique<IntArith<wrapAdd>>(std::move(l), std::move(r));
        case OpCode::Minus: return std::make_unique<IntArith<wrapSub>>(std::move(l), std::move(r));
        case OpCode::Mul: return std::make_unique<IntArith<wrapMul>>(std::move(l), std::move(r));
        case OpCode::Div: return std::make_unique<IntArith<checkedDiv>>(std::move(l), std::move(r));
        case OpCode::Mod: return std::make_unique<IntArith<checkedMod>>(std::move(l), std::move(r));
        case OpCode::Shl: return std::make_unique<IntArith<shlInt>>(std::move(l), std::move(r));
        case OpCode::Shr: return std::make_unique<IntArith<shrInt>>(std::move(l), std::move(r));
        case OpCode::Greater: return std::make_unique<IntCompare<std::greater<>>>(std::move(l), std::move(r));
        case OpCode::Less: return std::make_unique<IntCompare<std::less<>>>(std::move(l), std::move(r));
        case OpCode::LessEq: return std::make_unique<IntCompare<std::less_equal<>>>(std::move(l), std::move(r));
        case OpCode::GreaterEq:
            return std::make_unique<IntCompare<std::greater_equal<>>>(std::move(l), std::move(r));
        case OpCode::NotEq: return std::make_unique<IntCompare<std::not_equal_to<>>>(std::move(l), std::move(r));
        case OpCode::Eq: return std::make_unique<IntCompare<std::equal_to<>>>(std::move(l), std::move(r));
        default: break;
        }
    }
    if (boolOnly) {
        if (op == OpCode::And)
            return std::make_unique<BoolAnd>(std::move(l), std::move(r));
        if (op == OpCode::Or)
            return std::make_unique<BoolOr>(std::move(l), std::move(r));
    }
    switch (op) {
    case OpCode::Plus: return std::make_unique<VarArith<AddValues>>(std::move(l), std::move(r));
    case OpCode::Minus: return std::make_unique<VarArith<SubValues>>(std::move(l), std::move(r));
    case OpCode::Mul: return std::make_unique<VarArith<MulValues>>(std::move(l), std::move(r));
    case OpCode::DivFloat: return std::make_unique<VarArith<DivideValues>>(std::move(l), std::move(r));
    case OpCode::Div: return std::make_unique<VarArith<varIntDiv>>(std::move(l), std::move(r));
    case OpCode::Mod: return std::make_unique<VarArith<varMod>>(std::move(l), std::move(r));
    case OpCode::And: return std::make_unique<VarArith<varAnd>>(std::move(l), std::move(r));
    case OpCode::Or: return std::make_unique<VarArith<varOr>>(std::move(l), std::move(r));
    case OpCode::Xor: return std::make_unique<VarArith<varXor>>(std::move(l), std::move(r));
    case OpCode::Shl: return std::make_unique<VarArith<varShl>>(std::move(l), std::move(r));
    case OpCode::Shr: return std::make_unique<VarArith<varShr>>(std::move(l), std::move(r));
    case OpCode::StrCat: return std::make_unique<StrCatNode>(std::move(l), std::move(r));
    case OpCode::Greater: return std::make_unique<VarCompare<1>>(std::move(l), std::move(r));
    case OpCode::Less: return std::make_unique<VarCompare<2>>(std::move(l), std::move(r));
    case OpCode::LessEq: return std::make_unique<VarCompare<3>>(std::move(l), std::move(r));
    case OpCode::GreaterEq: return std::make_unique<VarCompare<4>>(std::move(l), std::move(r));
    case OpCode::NotEq: return std::make_unique<VarCompare<5>>(std::move(l), std::move(r));
    case OpCode::Eq: return std::make_unique<VarCompare<6>>(std::move(l), std::move(r));
    default: return l;
    }
}

std::unique_ptr<ExprNode> MakeUnaryNode(OpCode op, Ptr operand)
{
    if (op == OpCode::Not)
        return std::make_unique<NotNode>(std::move(operand));
    return std::make_unique<NegateNode>(std::move(operand));
}

std::unique_ptr<ExprNode> MakeInNode(Ptr value, std::unique_ptr<TfsSetExpression> set)
{
    return std::make_unique<InNode>(std::move(value), std::move(set));
}

std::unique_ptr<ExprNode> MakeIsNode(Ptr value, std::string className, const TfsScript*)
{
    return std::make_unique<IsNode>(std::move(value), std::move(className));
}

} // namespace script
