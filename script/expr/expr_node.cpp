#include "script/expr/expr_node.h"

namespace script {

std::int32_t ExprNode::EvalInt()
{
    return IntOf(Eval());
}

bool ExprNode::EvalBool()
{
    return BoolOf(Eval());
}

void ExprNode::Assign(const platform::Variant&)
{
}

} // namespace script
