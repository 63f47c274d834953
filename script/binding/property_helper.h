#pragma once
// TfsPropertyHelper: a host property, read through its getter and written
// through its setter (read-only without one).

#include "script/binding/member_callbacks.h"
#include "script/program/entries.h"

namespace script {

class TfsPropertyHelper : public TfsCustomHelper {
public:
    TfsPropertyHelper(std::string_view name, TfsVarType type, std::string_view typeName,
                      TfsGetValueCallback getter, TfsSetValueCallback setter);
    platform::Variant GetValue() override;
    void SetValue(const platform::Variant& value) override;

    TfsGetValueCallback Getter;
    TfsSetValueCallback Setter;
    TfsClassVariable* ClassRef = nullptr;

private:
    std::string upperName_;
};

} // namespace script
