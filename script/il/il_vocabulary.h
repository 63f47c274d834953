#pragma once
// The vocabulary of the intermediate language: the element names that the
// syntax analyser writes for all four languages and the program builder
// reads, their attributes and the operator texts of `op` elements.

#include <string_view>

namespace script::il {

// Elements, in the order of their description: structure, statements,
// expressions.
enum class Tag : unsigned char {
    Unknown,
    // Declarations and structure.
    Program, Types, Uses, File, Var, Const, Ident, Type, Array, Dim, Init, Procedure, Function, Name,
    Parameters, VarParams, VarParam,
    // Statements.
    CompoundStmt, AssignStmt, Modificator, CallStmt, IfStmt, ThenStmt, ElseStmt, CaseStmt, CaseSelector,
    ForStmt, DownTo, VbForStmt, CppForStmt, Empty, WhileStmt, RepeatStmt, Inverse, TryStmt, FinallyStmt,
    ExceptStmt, Break, Continue, Exit, Return, With, Delete,
    // Expressions.
    Expr, Op, Number, String, Set, Range, New, Dsgn, Node, Addr,
};

// The element name of a tag (lower case); "" for Unknown.
std::string_view TagName(Tag tag) noexcept;
// The tag of an element name, ignoring letter case.
Tag TagOf(std::string_view name) noexcept;

// Attributes.
inline constexpr std::string_view kText = "text";
inline constexpr std::string_view kPos = "pos";
inline constexpr std::string_view kUnit = "unit";
inline constexpr std::string_view kTypeAttr = "type";

// Operator texts of `op` elements.
enum class Operator : unsigned char {
    Unknown,
    Plus, Minus, Mul, DivFloat, LeftBracket, RightBracket, Greater, Less, GreaterEq, LessEq, NotEq, Eq,
    Or, Xor, And, Div, Mod, Shl, Shr, In, Is, Not, UnMinus, StrCat,
};

std::string_view OperatorText(Operator op) noexcept;
// The operator of an `op` text, ignoring letter case.
Operator OperatorOf(std::string_view text) noexcept;

} // namespace script::il
