#include "script/binding/property_helper.h"

#include "platform/text/cp1251.h"
#include "script/binding/method_helper.h"

namespace script {

using platform::Variant;

TfsPropertyHelper::TfsPropertyHelper(std::string_view name, TfsVarType type, std::string_view typeName,
                                     TfsGetValueCallback getter, TfsSetValueCallback setter)
    : TfsCustomHelper(Kind::Property, name, type, typeName), Getter(std::move(getter)), Setter(std::move(setter)),
      upperName_(platform::upperCp1251(name))
{
    IsReadOnly = !Setter;
}

Variant TfsPropertyHelper::GetValue()
{
    Variant r = Variant::null();
    void* obj = MemberInstance(ParentValue, ClassRef);
    if (Getter)
        r = Getter(obj, ClassRef, upperName_);
    if (Type == fvtBool && !r.isBool())
        r = Variant(r.toBool());
    return r;
}

void TfsPropertyHelper::SetValue(const Variant& value)
{
    if (IsReadOnly || !Setter)
        return;
    Setter(MemberInstance(ParentValue, ClassRef), ClassRef, upperName_, value);
}

} // namespace script
