#include "script/program/global_scope.h"

#include "script/program/entries.h"
#include "script/program/script.h"

#include <memory>

namespace script {

namespace {

void fill(TfsScript& g)
{
    using platform::Variant;
    struct TypeName {
        const char* name;
        TfsVarType type;
    };
    static const TypeName kTypes[] = {
        {"Byte", fvtInt},        {"Word", fvtInt},         {"Integer", fvtInt},      {"Longint", fvtInt},
        {"Cardinal", fvtInt},    {"TColor", fvtInt},       {"Boolean", fvtBool},     {"Real", fvtFloat},
        {"Single", fvtFloat},    {"Double", fvtFloat},     {"Extended", fvtFloat},   {"Currency", fvtFloat},
        {"TDate", fvtFloat},     {"TTime", fvtFloat},      {"TDateTime", fvtFloat},  {"Char", fvtChar},
        {"String", fvtString},   {"Variant", fvtVariant},  {"Pointer", fvtVariant},  {"Array", fvtArray},
        {"Constructor", fvtConstructor},
    };
    for (const TypeName& t : kTypes)
        g.Add(std::make_unique<TfsTypeVariable>(t.name, t.type, t.name));
    auto constant = [&](const char* name, TfsVarType t, const char* typeName, Variant v) {
        auto c = std::make_unique<TfsVariable>(name, t, typeName);
        c->Value = std::move(v);
        c->IsReadOnly = true;
        g.Add(std::move(c));
    };
    constant("True", fvtBool, "Boolean", Variant(true));
    constant("False", fvtBool, "Boolean", Variant(false));
    constant("nil", fvtVariant, "Variant", Variant(0));
    constant("Null", fvtVariant, "Variant", Variant::null());
}

struct Holder {
    std::unique_ptr<TfsScript> scope;
    bool gone = false;
    ~Holder()
    {
        gone = true;
        scope.reset();
    }
};

Holder& holder()
{
    static Holder h;
    return h;
}

} // namespace

TfsScript* GlobalScope()
{
    Holder& h = holder();
    if (h.gone)
        return nullptr;
    if (!h.scope) {
        h.scope = std::make_unique<TfsScript>();
        fill(*h.scope);
    }
    return h.scope.get();
}

} // namespace script
