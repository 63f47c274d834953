#pragma once
// ExprNode: what every value-producing part of a program is at run time:
// constants, designators, operators, set constructors. Names are resolved
// when the program is built, so evaluation only follows pointers.

#include "platform/automation/variant.h"
#include "script/program/type_code.h"

#include <cstdint>
#include <string>

namespace script {

class ExprNode {
public:
    ExprNode() = default;
    ExprNode(TfsVarType t, std::string name) : type(t), typeName(std::move(name)) {}
    virtual ~ExprNode() = default;
    ExprNode(const ExprNode&) = delete;
    ExprNode& operator=(const ExprNode&) = delete;

    virtual platform::Variant Eval() = 0;
    // Typed forms for the integer-only and Boolean-only paths.
    virtual std::int32_t EvalInt();
    virtual bool EvalBool();
    // Stores a value when the node is an assignable designator (a
    // by-reference argument); any other node ignores it.
    virtual void Assign(const platform::Variant& value);
    virtual bool IsAssignable() const noexcept { return false; }

    TfsVarType type = fvtVariant;
    std::string typeName;
};

// The value model's integer of a value (floats round half to even; out of
// range is an error).
inline std::int32_t IntOf(const platform::Variant& v)
{
    return v.type() == platform::varInteger ? v.rawInt32() : v.toInt32();
}

inline bool BoolOf(const platform::Variant& v)
{
    return v.type() == platform::varBoolean ? v.rawBool() : v.toBool();
}

} // namespace script
