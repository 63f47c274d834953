#include "script/binding/method_helper.h"

#include "platform/text/cp1251.h"
#include "script/binding/class_variable.h"
#include "script/binding/object_refs.h"
#include "script/program/run_error.h"

namespace script {

using platform::Variant;

void* MemberInstance(const Variant& parent, const TfsClassVariable* memberClass)
{
    // Null (a class-level call) and nil: no object.
    if (parent.isEmptyOrNull() || (parent.type() == platform::varInteger && parent.rawInt32() == 0))
        return nullptr;
    const TfsClassVariable* cls = nullptr;
    void* obj = ResolveObject(parent, &cls);
    // A reference cast to a class it is not of must not reach that
    // class's callbacks, which take the object for one of theirs.
    if (memberClass && cls != memberClass && !(cls && cls->IsA(*memberClass)))
        RaiseRuntime("Invalid class typecast");
    return obj;
}

TfsMethodHelper::TfsMethodHelper(std::string_view name, TfsVarType type, std::string_view typeName,
                                 TfsMethodCallback callback)
    : TfsCustomHelper(Kind::Method, name, type, typeName), Callback(std::move(callback)),
      upperName_(platform::upperCp1251(name))
{
    IsReadOnly = true;
}

std::vector<Variant> TfsMethodHelper::arguments() const
{
    std::vector<Variant> args;
    args.reserve(params_.size() + 1);
    for (const auto& p : params_)
        args.push_back(p->Value);
    return args;
}

void* TfsMethodHelper::instance() const
{
    return MemberInstance(ParentValue, ClassRef);
}

std::string TfsMethodHelper::callName(const char* suffix) const
{
    return suffix ? upperName_ + suffix : upperName_;
}

Variant TfsMethodHelper::GetValue()
{
    if (!Callback)
        return Variant(0);
    void* inst = instance();
    std::vector<Variant> args = arguments();
    Variant r = Callback(inst, ClassRef, callName(IsIndexMethod ? ".GET" : nullptr), args);
    for (std::size_t i = 0; i < params_.size() && i < args.size(); ++i)
        if (params_[i]->IsVarParam)
            params_[i]->Value = std::move(args[i]);
    return r;
}

void TfsMethodHelper::SetValue(const Variant& value)
{
    if (!IsIndexMethod || IndexReadOnly || !Callback)
        return;
    void* inst = instance();
    std::vector<Variant> args = arguments();
    args.push_back(value);
    Callback(inst, ClassRef, callName(".SET"), args);
}

} // namespace script
