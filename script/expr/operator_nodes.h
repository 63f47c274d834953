#pragma once
// The run-time nodes of operators (internal to the expression builder).

#include "script/expr/expr_node.h"

#include <memory>
#include <string>
#include <vector>

namespace script {

class TfsSetExpression;
class TfsScript;

enum class OpCode : unsigned char {
    None = 0, Greater = 1, Less = 2, LessEq = 3, GreaterEq = 4, NotEq = 5, Eq = 6, Plus = 7, Minus = 8, Or = 9,
    Xor = 10, Mul = 11, DivFloat = 12, Div = 13, Mod = 14, And = 15, Shl = 16, Shr = 17, LeftBracket = 18,
    RightBracket = 19, Not = 20, UnMinus = 21, In = 22, Is = 23, StrCat = 24,
};

// A node for a binary operator; intOnly and boolOnly choose the typed
// short paths.
std::unique_ptr<ExprNode> MakeBinaryNode(OpCode op, bool intOnly, bool boolOnly, std::unique_ptr<ExprNode> l,
                                         std::unique_ptr<ExprNode> r);
std::unique_ptr<ExprNode> MakeUnaryNode(OpCode op, std::unique_ptr<ExprNode> operand);
std::unique_ptr<ExprNode> MakeInNode(std::unique_ptr<ExprNode> value, std::unique_ptr<TfsSetExpression> set);
std::unique_ptr<ExprNode> MakeIsNode(std::unique_ptr<ExprNode> value, std::string className, const TfsScript* scope);

// The binary operators that may stand in a long chain.
bool IsChainable(OpCode op) noexcept;

// A run of binary operators down the left side of a tree, evaluated in a
// loop from the bottom operand up: each step means what its own node would.
class ChainNode final : public ExprNode {
public:
    explicit ChainNode(std::unique_ptr<ExprNode> first);
    ~ChainNode() override;
    void Reserve(std::size_t n) { steps_.reserve(n); }
    void Add(OpCode op, bool intOnly, bool boolOnly, std::unique_ptr<ExprNode> right);
    platform::Variant Eval() override;

private:
    struct Step {
        OpCode op;
        bool intOnly;
        bool boolOnly;
        std::unique_ptr<ExprNode> right;
    };
    static platform::Variant apply(const Step& st, platform::Variant acc);
    std::unique_ptr<ExprNode> first_;
    std::vector<Step> steps_;
};

// The operations themselves, shared with the in-place statements.
platform::Variant AddValues(const platform::Variant& a, const platform::Variant& b);
platform::Variant SubValues(const platform::Variant& a, const platform::Variant& b);
platform::Variant MulValues(const platform::Variant& a, const platform::Variant& b);
platform::Variant DivideValues(const platform::Variant& a, const platform::Variant& b);
platform::Variant NegateValue(const platform::Variant& a);

} // namespace script
