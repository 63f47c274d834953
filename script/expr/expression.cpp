#include "script/expr/expression.h"

#include "platform/automation/safe_array.h"
#include "platform/automation/variant_ops.h"
#include "platform/system/large_stack.h"
#include "platform/text/ascii_case.h"
#include "script/binding/class_variable.h"
#include "script/expr/operator_nodes.h"
#include "script/program/designator.h"
#include "script/program/entries.h"
#include "script/program/script.h"

#include <array>

namespace script {

using platform::Variant;

// ---- set constructors --------------------------------------------------

void TfsSetExpression::AddElement(std::unique_ptr<ExprNode> e)
{
    if (rangeNext_ && !elements_.empty() && !elements_.back().high)
        elements_.back().high = std::move(e);
    else
        elements_.push_back({std::move(e), nullptr});
    rangeNext_ = false;
}

bool TfsSetExpression::Contains(const Variant& value)
{
    for (Element& e : elements_) {
        if (!e.high) {
            if (platform::varCompare(value, e.low->Eval()) == 0)
                return true;
        } else {
            int lo = platform::varCompare(value, e.low->Eval());
            if (lo == 0 || lo == 1) {
                int hi = platform::varCompare(value, e.high->Eval());
                if (hi == 0 || hi == -1)
                    return true;
            }
        }
    }
    return false;
}

Variant TfsSetExpression::Eval()
{
    std::size_t n = 0;
    for (Element& e : elements_)
        n += e.high ? 3 : 1;
    platform::SafeArray::Bound b{0, static_cast<std::uint32_t>(n)};
    platform::SafeArray* a = platform::SafeArray::create(platform::varVariant, std::span(&b, 1));
    if (!a)
        throw platform::VariantError("Out of memory");
    Variant result(a);
    a->release();
    Variant* out = result.mutableArray()->variants();
    std::size_t i = 0;
    for (Element& e : elements_) {
        out[i++] = e.low->Eval();
        if (e.high) {
            out[i++] = Variant(0);
            out[i++] = e.high->Eval();
        }
    }
    return result;
}

// ---- the building tree ---------------------------------------------------

struct TfsExpression::Node {
    OpCode op = OpCode::None;
    int priority = 7;
    bool operand = false;
    Node* left = nullptr;
    Node* right = nullptr;
    Node* parent = nullptr;
    std::unique_ptr<ExprNode> value;           // an operand
    std::unique_ptr<TfsSetExpression> set;     // a set operand
    TfsVarType type = fvtVariant;
    std::string typeName;
    std::string pos;
    bool intOnly = false;
    bool boolOnly = false;
};

namespace {

struct OpInfo {
    std::string_view text;
    OpCode op;
    int priority;
};

constexpr std::array<OpInfo, 24> kOps{{
    {">", OpCode::Greater, 4},     {"<", OpCode::Less, 4},         {"<=", OpCode::LessEq, 4},
    {">=", OpCode::GreaterEq, 4},  {"<>", OpCode::NotEq, 4},       {"=", OpCode::Eq, 4},
    {"+", OpCode::Plus, 3},        {"strcat", OpCode::StrCat, 3},  {"-", OpCode::Minus, 3},
    {"or", OpCode::Or, 3},         {"xor", OpCode::Xor, 3},        {"*", OpCode::Mul, 2},
    {"/", OpCode::DivFloat, 2},    {"div", OpCode::Div, 2},        {"mod", OpCode::Mod, 2},
    {"and", OpCode::And, 2},       {"shl", OpCode::Shl, 2},        {"shr", OpCode::Shr, 2},
    {"(", OpCode::LeftBracket, 6}, {")", OpCode::RightBracket, 5}, {"not", OpCode::Not, 1},
    {"unminus", OpCode::UnMinus, 1}, {"in", OpCode::In, 4},        {"is", OpCode::Is, 4},
}};

bool isComparison(OpCode op)
{
    return op >= OpCode::Greater && op <= OpCode::Eq;
}

bool isNumeric(TfsVarType t)
{
    return t == fvtInt || t == fvtFloat;
}

bool classDerives(std::string_view cls, std::string_view base, const void* ctx)
{
    const auto* scope = static_cast<const TfsScript*>(ctx);
    if (!scope)
        return platform::equalsIgnoreCaseAscii(cls, base);
    TfsClassVariable* c = scope->FindClass(cls);
    return c ? c->InheritsFrom(base) : platform::equalsIgnoreCaseAscii(cls, base);
}

// Which operators a left operand of each type allows.
bool operatorAllowed(TfsVarType left, OpCode op)
{
    switch (left) {
    case fvtBool:
        return op == OpCode::Eq || op == OpCode::NotEq || op == OpCode::Or || op == OpCode::Xor ||
               op == OpCode::And || op == OpCode::Not;
    case fvtChar:
    case fvtString:
        return isComparison(op) || op == OpCode::Plus || op == OpCode::StrCat || op == OpCode::In;
    case fvtClass:
    case fvtArray:
        return op == OpCode::Eq || op == OpCode::NotEq;
    case fvtInt:
    case fvtFloat:
    case fvtVariant:
    case fvtEnum:
        return true;
    default:
        return false;
    }
}

} // namespace

TfsExpression::TfsExpression()
{
    auto root = std::make_unique<Node>();
    root_ = current_ = root.get();
    pool_.push_back(std::move(root));
}

TfsExpression::~TfsExpression() = default;

void TfsExpression::attach(Node* parent, Node* child)
{
    if (!parent->left)
        parent->left = child;
    else
        parent->right = child;
    child->parent = parent;
}

void TfsExpression::addNode(std::unique_ptr<Node> n)
{
    Node* p = n.get();
    pool_.push_back(std::move(n));
    attach(current_, p);
    current_ = p;
}

void TfsExpression::AddConst(const Variant& value, std::string pos)
{
    TfsVarType t = fvtInt;
    if (value.isBool())
        t = fvtBool;
    else if (value.isFloat() && value.type() != platform::varDate)
        t = fvtFloat;
    else if (value.isString())
        t = fvtString;
    class ConstNode final : public ExprNode {
    public:
        explicit ConstNode(const Variant& v, TfsVarType t) : v_(v)
        {
            type = t;
            intOk_ = v.type() == platform::varInteger;
        }
        Variant Eval() override { return v_; }
        std::int32_t EvalInt() override { return intOk_ ? v_.rawInt32() : IntOf(v_); }
        bool EvalBool() override { return BoolOf(v_); }

    private:
        Variant v_;
        bool intOk_;
    };
    auto node = std::make_unique<ConstNode>(value, t);
    node->typeName = TypeDisplayName(t, {});
    AddOperand(std::move(node), std::move(pos));
}

void TfsExpression::AddOperand(std::unique_ptr<ExprNode> value, std::string pos)
{
    auto n = std::make_unique<Node>();
    n->operand = true;
    n->priority = 0;
    n->type = value->type;
    n->typeName = value->typeName;
    n->pos = std::move(pos);
    n->value = std::move(value);
    addNode(std::move(n));
}

void TfsExpression::AddSet(std::unique_ptr<TfsSetExpression> set, std::string pos)
{
    auto n = std::make_unique<Node>();
    n->operand = true;
    n->priority = 0;
    n->type = fvtVariant;
    n->typeName = "Variant";
    n->pos = std::move(pos);
    n->set = std::move(set);
    addNode(std::move(n));
}

void TfsExpression::AddOperator(std::string_view text, std::string pos)
{
    const OpInfo* info = nullptr;
    for (const OpInfo& o : kOps)
        if (platform::equalsIgnoreCaseAscii(o.text, text)) {
            info = &o;
            break;
        }
    if (!info)
        return;
    auto n = std::make_unique<Node>();
    n->op = info->op;
    n->priority = info->priority;
    n->pos = std::move(pos);

    if (n->op == OpCode::LeftBracket || n->op == OpCode::Not || n->op == OpCode::UnMinus) {
        addNode(std::move(n));
        return;
    }
    if (n->op == OpCode::RightBracket) {
        Node* p = current_;
        while (p->priority <= 5 && p->parent)
            p = p->parent;
        if (p->op != OpCode::LeftBracket)
            return; // unbalanced: the grammar never writes it
        Node* inner = p->left;
        Node* outer = p->parent;
        if (outer->left == p)
            outer->left = inner;
        else
            outer->right = inner;
        if (inner)
            inner->parent = outer;
        p->left = nullptr;
        current_ = inner ? inner : outer;
        return;
    }
    // A binary operator.
    Node* N = n.get();
    pool_.push_back(std::move(n));
    if (current_ == root_) {
        attach(root_, N);
        current_ = N;
        return;
    }
    Node* C = current_;
    Node* P = current_->op == OpCode::LeftBracket ? current_ : current_->parent;
    if (P == C) {
        attach(C, N);
        current_ = N;
        return;
    }
    while (P->parent && N->priority >= P->priority) {
        C = P;
        P = P->parent;
    }
    if (P->left == C)
        P->left = N;
    else
        P->right = N;
    N->parent = P;
    N->left = C;
    C->parent = N;
    current_ = N;
}

std::string TfsExpression::Finish(const TfsScript* scope)
{
    tree_ = root_->left;
    std::string firstError;
    // Bottom-up, children before their operator, without recursion: a
    // chain of fifty thousand operators is one long spine.
    std::vector<std::pair<Node*, bool>> work;
    if (tree_)
        work.push_back({tree_, false});
    while (!work.empty()) {
        auto [n, childrenDone] = work.back();
        work.pop_back();
        if (n->operand)
            continue;
        if (!childrenDone) {
            work.push_back({n, true});
            if (n->right)
                work.push_back({n->right, false});
            if (n->left)
                work.push_back({n->left, false});
            continue;
        }
        TfsVarType L = n->left ? n->left->type : fvtVariant;
        TfsVarType R = n->right ? n->right->type : fvtVariant;
        std::string_view LN = n->left ? std::string_view(n->left->typeName) : std::string_view("Variant");
        std::string_view RN = n->right ? std::string_view(n->right->typeName) : std::string_view("Variant");
        n->intOnly = L == fvtInt && R == fvtInt;
        n->boolOnly = L == fvtBool && R == fvtBool;
        bool ok;
        if (n->op == OpCode::Is && L == fvtClass && R == fvtClass)
            ok = true;
        else if (n->op == OpCode::In && !(n->right && n->right->set))
            ok = false; // "in" needs a set constructor on its right
        else {
            bool mix = isNumeric(L) && isNumeric(R);
            ok = (mix || TypesCompatible(L, LN, R, RN, classDerives, scope)) && operatorAllowed(L, n->op);
        }
        n->type = L;
        n->typeName = std::string(LN);
        if (ok) {
            if (isComparison(n->op) || n->op == OpCode::In || n->op == OpCode::Is)
                n->type = fvtBool;
            else if (n->op == OpCode::DivFloat)
                n->type = fvtFloat; // real division, whatever its operands
            else if ((L == fvtInt && R == fvtFloat) || (L == fvtFloat && R == fvtInt))
                n->type = fvtFloat;
            if (n->type != L)
                n->typeName = TypeDisplayName(n->type, {});
        } else if (firstError.empty()) {
            firstError = n->pos;
        }
    }
    if (tree_) {
        type_ = tree_->type;
        typeName_ = tree_->typeName;
    }
    scope_ = scope;
    return firstError;
}

bool TfsExpression::IsAssignable() const noexcept
{
    return tree_ && tree_->operand && tree_->value && tree_->value->IsAssignable();
}

ExprNode* TfsExpression::SingleOperand() const noexcept
{
    return tree_ && tree_->operand ? tree_->value.get() : nullptr;
}

std::unique_ptr<ExprNode> TfsExpression::lower(Node* n)
{
    if (!n) {
        class NullNode final : public ExprNode {
        public:
            Variant Eval() override { return Variant::null(); }
        };
        return std::make_unique<NullNode>();
    }
    if (platform::StackPosition() < stackFloor_)
        throw ExpressionTooDeep();
    std::unique_ptr<ExprNode> out;
    if (n->operand) {
        out = n->set ? std::unique_ptr<ExprNode>(std::move(n->set)) : std::move(n->value);
    } else if (n->op == OpCode::Not || n->op == OpCode::UnMinus) {
        out = MakeUnaryNode(n->op, lower(n->left));
    } else if (n->op == OpCode::In) {
        auto value = lower(n->left);
        out = MakeInNode(std::move(value), std::move(n->right->set));
    } else if (n->op == OpCode::Is) {
        std::string cls = n->right ? n->right->typeName : std::string();
        auto value = lower(n->left);
        out = MakeIsNode(std::move(value), std::move(cls), scope_);
    } else if (std::size_t length = leftSpine(n); length > kChainFrom) {
        out = lowerChain(n, length);
    } else {
        auto l = lower(n->left);
        auto r = lower(n->right);
        out = MakeBinaryNode(n->op, n->intOnly, n->boolOnly, std::move(l), std::move(r));
    }
    out->type = n->type;
    out->typeName = n->typeName;
    return out;
}

std::size_t TfsExpression::leftSpine(const Node* n) noexcept
{
    std::size_t length = 0;
    for (; n && !n->operand && IsChainable(n->op) && length <= kChainFrom; n = n->left)
        ++length;
    return length;
}

std::unique_ptr<ExprNode> TfsExpression::lowerChain(Node* n, std::size_t)
{
    // The binary operators down the left side, outermost first; the
    // operand at the bottom starts the chain.
    std::vector<Node*> spine;
    Node* p = n;
    for (; p && !p->operand && IsChainable(p->op); p = p->left)
        spine.push_back(p);
    auto chain = std::make_unique<ChainNode>(lower(p));
    chain->Reserve(spine.size());
    for (auto it = spine.rbegin(); it != spine.rend(); ++it) {
        Node* op = *it;
        chain->Add(op->op, op->intOnly, op->boolOnly, lower(op->right));
    }
    return chain;
}

std::unique_ptr<ExprNode> TfsExpression::Release()
{
    stackFloor_ = platform::StackFloor(kStackKept);
    return lower(tree_);
}

char TfsExpression::SplitInPlace(const TfsCustomVariable* target, std::unique_ptr<ExprNode>& x, bool& intOnly)
{
    Node* n = tree_;
    if (!n || n->operand || !n->left || !n->right || !n->left->operand || !n->left->value)
        return 0;
    char op;
    switch (n->op) {
    case OpCode::Plus: op = '+'; break;
    case OpCode::Minus: op = '-'; break;
    case OpCode::Mul: op = '*'; break;
    case OpCode::DivFloat: op = '/'; break;
    default: return 0;
    }
    auto* v = dynamic_cast<TfsVariableDesignator*>(n->left->value.get());
    if (!v || &v->Variable() != target)
        return 0;
    intOnly = n->intOnly;
    stackFloor_ = platform::StackFloor(kStackKept);
    x = lower(n->right);
    tree_ = nullptr;
    return op;
}

} // namespace script
