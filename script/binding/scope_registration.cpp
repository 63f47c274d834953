// The registration operations of TfsScript: how a host puts its types,
// constants, variables, objects, enumerations, routines and classes into a
// scope.

#include "platform/automation/dispatch.h"
#include "platform/text/number_text.h"
#include "script/binding/class_variable.h"
#include "script/binding/declaration.h"
#include "script/binding/method_helper.h"
#include "script/binding/object_refs.h"
#include "script/binding/registration_owner.h"
#include "script/program/entries.h"
#include "script/program/script.h"

namespace script {

using platform::Variant;

TfsRegistrationOwner::~TfsRegistrationOwner()
{
    scope_.RemoveItems(this);
}

TfsRegistrationOwner::Stamp::Stamp(TfsRegistrationOwner& owner) noexcept
    : scope_(owner.scope_), saved_(owner.scope_.AddedBy)
{
    scope_.AddedBy = &owner;
}

TfsRegistrationOwner::Stamp::~Stamp()
{
    scope_.AddedBy = saved_;
}

namespace {

std::unique_ptr<TfsVariable> newVariable(std::string_view name, TfsVarType t, std::string_view typeName)
{
    if (t == fvtChar || t == fvtString)
        return std::make_unique<TfsstringVariable>(name, t, typeName);
    return std::make_unique<TfsVariable>(name, t, typeName);
}

// "A, B, C": the names, trimmed.
template <class F>
void eachName(std::string_view names, F f)
{
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t comma = names.find(',', start);
        std::string_view one =
            names.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        one = platform::trimBlanks(one);
        if (!one.empty())
            f(one);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
}

} // namespace

TfsTypeVariable* TfsScript::AddType(std::string_view name, TfsVarType type)
{
    if (Find(name))
        return nullptr;
    return static_cast<TfsTypeVariable*>(&Add(std::make_unique<TfsTypeVariable>(name, type, name)));
}

TfsVariable* TfsScript::AddConst(std::string_view name, std::string_view typeName, const Variant& value)
{
    TfsVariable* v = AddVariable(name, typeName, value);
    if (v)
        v->IsReadOnly = true;
    return v;
}

TfsVariable* TfsScript::AddVariable(std::string_view name, std::string_view typeName, const Variant& value)
{
    if (Find(name))
        return nullptr;
    std::string resolved;
    TfsVarType t = ResolveTypeName(typeName, *this, resolved);
    auto v = newVariable(name, t, resolved);
    StoreValue(*v, value);
    return static_cast<TfsVariable*>(&Add(std::move(v)));
}

TfsVariable* TfsScript::AddObject(std::string_view name, void* object, std::string_view className)
{
    if (Find(name))
        return nullptr;
    const TfsClassVariable* cls = FindClass(className);
    auto v = std::make_unique<TfsVariable>(name, fvtClass, cls ? std::string_view(cls->Name) : className);
    v->Value = MakeObjectRef(object, cls);
    v->IsReadOnly = true;
    return static_cast<TfsVariable*>(&Add(std::move(v)));
}

TfsVariable* TfsScript::AddObject(std::string_view name, platform::Dispatch* object)
{
    if (Find(name))
        return nullptr;
    auto v = std::make_unique<TfsVariable>(name, fvtVariant, "Variant");
    v->Value = Variant(object);
    v->IsReadOnly = true;
    return static_cast<TfsVariable*>(&Add(std::move(v)));
}

void TfsScript::AddEnum(std::string_view typeName, std::string_view names)
{
    Add(std::make_unique<TfsTypeVariable>(typeName, fvtEnum, typeName));
    int value = 0;
    eachName(names, [&](std::string_view one) {
        auto c = std::make_unique<TfsVariable>(one, fvtEnum, typeName);
        c->Value = Variant(value++);
        c->IsReadOnly = true;
        Add(std::move(c));
    });
}

void TfsScript::AddEnumSet(std::string_view typeName, std::string_view names)
{
    Add(std::make_unique<TfsTypeVariable>(typeName, fvtEnum, typeName));
    std::uint32_t bit = 1;
    eachName(names, [&](std::string_view one) {
        auto c = std::make_unique<TfsVariable>(one, fvtEnum, typeName);
        c->Value = Variant(static_cast<int>(bit));
        bit <<= 1;
        c->IsReadOnly = true;
        Add(std::move(c));
    });
}

TfsMethodHelper& TfsScript::AddMethod(std::string_view declaration, TfsMethodCallback callback,
                                      std::string_view category, std::string_view description)
{
    TfsDeclaration d = ParseDeclaration(declaration, *this);
    std::string typeName = "Variant";
    TfsVarType t = fvtVariant;
    if (d.isFunction)
        t = ResolveTypeName(d.resultType, *this, typeName);
    auto m = std::make_unique<TfsMethodHelper>(d.name, t, typeName, std::move(callback));
    AddDeclaredParams(*m, d, *this);
    m->Category = category;
    m->Description = description.empty() ? d.name : std::string(description);
    return static_cast<TfsMethodHelper&>(Add(std::move(m)));
}

TfsClassVariable* TfsScript::AddClass(std::string_view name, std::string_view ancestor,
                                      std::function<std::unique_ptr<TfsObject>()> factory)
{
    if (Find(name))
        return nullptr;
    auto c = std::make_unique<TfsClassVariable>(name, ancestor, *this, std::move(factory));
    c->AddedBy = AddedBy;
    return static_cast<TfsClassVariable*>(&Add(std::move(c)));
}

} // namespace script
