#include "script/il/il_vocabulary.h"

#include "platform/text/ascii_case.h"

#include <array>

namespace script::il {

namespace {

constexpr auto kTagNames = std::to_array<std::string_view>({
    "",
    "program", "types", "uses", "file", "var", "const", "ident", "type", "array", "dim", "init", "procedure",
    "function", "name", "parameters", "varparams", "varparam",
    "compoundstmt", "assignstmt", "modificator", "callstmt", "ifstmt", "thenstmt", "elsestmt", "casestmt",
    "caseselector", "forstmt", "downto", "vbforstmt", "cppforstmt", "empty", "whilestmt", "repeatstmt",
    "inverse", "trystmt", "finallystmt", "exceptstmt", "break", "continue", "exit", "return", "with", "delete",
    "expr", "op", "number", "string", "set", "range", "new", "dsgn", "node", "addr",
});
static_assert(kTagNames.size() == static_cast<std::size_t>(Tag::Addr) + 1);

constexpr auto kOperatorTexts = std::to_array<std::string_view>({
    "", "+", "-", "*", "/", "(", ")", ">", "<", ">=", "<=", "<>", "=",
    "or", "xor", "and", "div", "mod", "shl", "shr", "in", "is", "not", "unminus", "strcat",
});
static_assert(kOperatorTexts.size() == static_cast<std::size_t>(Operator::StrCat) + 1);

} // namespace

std::string_view TagName(Tag tag) noexcept
{
    return kTagNames[static_cast<std::size_t>(tag)];
}

Tag TagOf(std::string_view name) noexcept
{
    for (std::size_t i = 1; i < kTagNames.size(); ++i)
        if (platform::equalsIgnoreCaseAscii(kTagNames[i], name))
            return static_cast<Tag>(i);
    return Tag::Unknown;
}

std::string_view OperatorText(Operator op) noexcept
{
    return kOperatorTexts[static_cast<std::size_t>(op)];
}

Operator OperatorOf(std::string_view text) noexcept
{
    for (std::size_t i = 1; i < kOperatorTexts.size(); ++i)
        if (platform::equalsIgnoreCaseAscii(kOperatorTexts[i], text))
            return static_cast<Operator>(i);
    return Operator::Unknown;
}

} // namespace script::il
