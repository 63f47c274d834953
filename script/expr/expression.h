#pragma once
// TfsExpression turns the flat infix sequence of the intermediate language
// into a tree by operator priority while it is fed, infers and checks the
// operand types when it is finished, and hands over the tree of run-time
// nodes with its integer-only and Boolean-only short paths.

#include "script/expr/expr_node.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace script {

class TfsScript;
class TfsCustomVariable;

// An expression nested deeper than the stack allows to build.
class ExpressionTooDeep : public std::runtime_error {
public:
    ExpressionTooDeep() : std::runtime_error("Nesting too deep") {}
};

// A set constructor: elements and ranges. Also the value set of a case
// selector.
class TfsSetExpression : public ExprNode {
public:
    TfsSetExpression() : ExprNode(fvtVariant, "Variant") {}
    void AddElement(std::unique_ptr<ExprNode> e);
    // The next element closes a range with the last one.
    void AddRange() { rangeNext_ = true; }
    bool Contains(const platform::Variant& value);
    // An array of the element values, 0 in place of each range marker.
    platform::Variant Eval() override;

private:
    struct Element {
        std::unique_ptr<ExprNode> low, high; // high: only for a range
    };
    std::vector<Element> elements_;
    bool rangeNext_ = false;
};

class TfsExpression {
public:
    TfsExpression();
    ~TfsExpression();
    TfsExpression(const TfsExpression&) = delete;
    TfsExpression& operator=(const TfsExpression&) = delete;

    // Each addition carries the "line:col" of its element, for errors.
    void AddConst(const platform::Variant& value, std::string pos);
    // A designator or other operand node with its type.
    void AddOperand(std::unique_ptr<ExprNode> node, std::string pos);
    void AddSet(std::unique_ptr<TfsSetExpression> set, std::string pos);
    // The lower-case text of an `op` element; an unknown text adds nothing.
    void AddOperator(std::string_view text, std::string pos);

    // Builds the tree and infers types. Returns the position of the first
    // operator whose operands do not fit, or empty. isDerived answers class
    // inheritance for "is" (may be null).
    std::string Finish(const TfsScript* scope);

    TfsVarType Type() const noexcept { return type_; }
    const std::string& TypeName() const noexcept { return typeName_; }
    // The root is one designator that can be written.
    bool IsAssignable() const noexcept;
    // The tree's only operand, when the tree is one: a constant or a
    // designator.
    ExprNode* SingleOperand() const noexcept;
    // Hands over the run-time tree (after Finish).
    std::unique_ptr<ExprNode> Release();

    // Whether the tree is "target op X" for op one of + - * / and target
    // the plain variable given: then X is handed over (lowered) and op
    // returned ('+', '-', '*', '/'; intOnly tells whether the operator took
    // the 32-bit integer path), else 0 and nothing changes. Before Release.
    char SplitInPlace(const TfsCustomVariable* target, std::unique_ptr<ExprNode>& x, bool& intOnly);

private:
    struct Node;
    void attach(Node* parent, Node* child);
    void addNode(std::unique_ptr<Node> n);
    std::unique_ptr<ExprNode> lower(Node* n);
    // A long run of binary operators down the left side (1+1+...+1) is
    // lowered into one node that evaluates it in a loop; shorter ones keep
    // the typed node per operator.
    static constexpr std::size_t kChainFrom = 64;
    static constexpr std::size_t kStackKept = std::size_t(1) << 20;
    static std::size_t leftSpine(const Node* n) noexcept;
    std::unique_ptr<ExprNode> lowerChain(Node* n, std::size_t length);
    std::uintptr_t stackFloor_ = 0;

    std::vector<std::unique_ptr<Node>> pool_;
    Node* root_ = nullptr; // the placeholder while building
    Node* current_ = nullptr;
    Node* tree_ = nullptr; // after Finish
    TfsVarType type_ = fvtVariant;
    std::string typeName_;
    const TfsScript* scope_ = nullptr;
};

} // namespace script
