#include "script/binding/class_variable.h"

#include "platform/text/cp1251.h"
#include "script/binding/declaration.h"
#include "script/binding/method_helper.h"
#include "script/binding/object_refs.h"
#include "script/binding/property_helper.h"
#include "script/program/script.h"

namespace script {

using platform::Variant;

namespace {

// Ancestor chains are short; a cycle (A's ancestor B, B's ancestor A)
// must still end.
constexpr int kMaxAncestors = 256;

} // namespace

TfsClassVariable::TfsClassVariable(std::string_view name, std::string_view ancestor, TfsScript& scope,
                                   TfsInstanceFactory factory)
    : TfsCustomVariable(Kind::Class, name, fvtClass, name), AncestorName(ancestor), Factory(std::move(factory)),
      scope_(&scope)
{
    IsReadOnly = true;
    // One optional parameter: TStrings(X) is a type cast.
    AddParam(std::make_unique<TfsParamItem>("", fvtVariant, "Variant", false, true, Variant::null()));
}

TfsClassVariable::~TfsClassVariable() = default;

Variant TfsClassVariable::GetValue()
{
    TfsParamItem& p = Params(0);
    Variant arg = std::move(p.Value);
    p.Value = Variant::null();
    if (!arg.isEmptyOrNull()) {
        if (arg.isDispatch() || (arg.type() == platform::varInteger && arg.rawInt32() == 0))
            return arg; // an automation object, or nil
        ResolveObject(arg); // a number is no object
        return arg;
    }
    std::unique_ptr<TfsObject> object = Factory ? Factory() : nullptr;
    if (!object)
        return Variant::null();
    return ObjectStore::Adopt(std::move(object), *this);
}

void TfsClassVariable::AddMember(std::unique_ptr<TfsCustomVariable> member)
{
    if (auto* m = dynamic_cast<TfsMethodHelper*>(member.get()))
        m->ClassRef = this;
    else if (auto* pr = dynamic_cast<TfsPropertyHelper*>(member.get()))
        pr->ClassRef = this;
    else if (auto* ev = dynamic_cast<TfsEventHelper*>(member.get()))
        ev->ClassRef = this;
    member->AddedBy = AddedBy;
    members_.push_back(std::move(member));
}

TfsMethodHelper& TfsClassVariable::AddConstructor(std::string_view declaration, TfsMethodCallback callback)
{
    TfsDeclaration d = ParseDeclaration(declaration, *scope_);
    auto m = std::make_unique<TfsMethodHelper>(d.name, fvtConstructor, "Constructor", std::move(callback));
    AddDeclaredParams(*m, d, *scope_);
    TfsMethodHelper& ref = *m;
    AddMember(std::move(m));
    return ref;
}

TfsMethodHelper& TfsClassVariable::AddMethod(std::string_view declaration, TfsMethodCallback callback)
{
    TfsDeclaration d = ParseDeclaration(declaration, *scope_);
    std::string typeName = "Variant";
    TfsVarType t = fvtVariant;
    if (d.isFunction)
        t = ResolveTypeName(d.resultType, *scope_, typeName);
    auto m = std::make_unique<TfsMethodHelper>(d.name, t, typeName, std::move(callback));
    AddDeclaredParams(*m, d, *scope_);
    TfsMethodHelper& ref = *m;
    AddMember(std::move(m));
    return ref;
}

TfsPropertyHelper& TfsClassVariable::AddProperty(std::string_view name, std::string_view typeName,
                                                 TfsGetValueCallback getter, TfsSetValueCallback setter)
{
    std::string resolved;
    TfsVarType t = ResolveTypeName(typeName, *scope_, resolved);
    auto p = std::make_unique<TfsPropertyHelper>(name, t, resolved, std::move(getter), std::move(setter));
    TfsPropertyHelper& ref = *p;
    AddMember(std::move(p));
    return ref;
}

TfsMethodHelper& TfsClassVariable::addIndex(std::string_view name, std::string_view indexTypes,
                                            std::string_view resultType, TfsMethodCallback callback, bool readOnly)
{
    std::string resolved;
    TfsVarType t = ResolveTypeName(resultType, *scope_, resolved);
    auto m = std::make_unique<TfsMethodHelper>(name, t, resolved, std::move(callback));
    m->IsIndexMethod = true;
    m->IndexReadOnly = readOnly;
    int n = 0;
    std::size_t start = 0;
    while (start <= indexTypes.size()) {
        std::size_t comma = indexTypes.find(',', start);
        std::string_view one = indexTypes.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                                        : comma - start);
        while (!one.empty() && static_cast<unsigned char>(one.front()) <= ' ')
            one.remove_prefix(1);
        while (!one.empty() && static_cast<unsigned char>(one.back()) <= ' ')
            one.remove_suffix(1);
        if (!one.empty()) {
            std::string pn;
            TfsVarType pt = ResolveTypeName(one, *scope_, pn);
            m->AddParam(std::make_unique<TfsParamItem>("p" + std::to_string(n++), pt, pn, false, false,
                                                       Variant::null()));
        }
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    TfsMethodHelper& ref = *m;
    AddMember(std::move(m));
    return ref;
}

TfsMethodHelper& TfsClassVariable::AddIndexProperty(std::string_view name, std::string_view indexTypes,
                                                    std::string_view resultType, TfsMethodCallback callback,
                                                    bool readOnly)
{
    return addIndex(name, indexTypes, resultType, std::move(callback), readOnly);
}

TfsMethodHelper& TfsClassVariable::AddDefaultProperty(std::string_view name, std::string_view indexTypes,
                                                      std::string_view resultType, TfsMethodCallback callback,
                                                      bool readOnly)
{
    TfsMethodHelper& m = addIndex(name, indexTypes, resultType, std::move(callback), readOnly);
    DefProperty = &m;
    return m;
}

TfsEventHelper& TfsClassVariable::AddEvent(std::string_view name, TfsEventAdapterFactory adapter,
                                           TfsEventInstaller installer)
{
    auto e = std::make_unique<TfsEventHelper>(name, adapter, std::move(installer));
    TfsEventHelper& ref = *e;
    AddMember(std::move(e));
    return ref;
}

const TfsClassVariable* TfsClassVariable::Ancestor() const
{
    if (AncestorName.empty())
        return nullptr;
    const TfsClassVariable* a = scope_->FindClass(AncestorName);
    return a == this ? nullptr : a;
}

TfsCustomVariable* TfsClassVariable::FindMember(std::string_view name) const
{
    const TfsClassVariable* c = this;
    for (int guard = 0; c && guard < kMaxAncestors; ++guard, c = c->Ancestor())
        for (const auto& m : c->members_)
            if (platform::equalsIgnoreCaseCp1251(m->Name, name))
                return m.get();
    return nullptr;
}

bool TfsClassVariable::InheritsFrom(std::string_view base) const
{
    const TfsClassVariable* c = this;
    for (int guard = 0; c && guard < kMaxAncestors; ++guard, c = c->Ancestor())
        if (platform::equalsIgnoreCaseCp1251(c->Name, base))
            return true;
    return false;
}

bool TfsClassVariable::IsA(const TfsClassVariable& base) const
{
    const TfsClassVariable* c = this;
    for (int guard = 0; c && guard < kMaxAncestors; ++guard, c = c->Ancestor())
        if (c == &base)
            return true;
    return false;
}

TfsCustomVariable* TfsClassVariable::DefaultProperty() const
{
    const TfsClassVariable* c = this;
    for (int guard = 0; c && guard < kMaxAncestors; ++guard, c = c->Ancestor())
        if (c->DefProperty)
            return c->DefProperty;
    return nullptr;
}

} // namespace script
