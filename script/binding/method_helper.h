#pragma once
// TfsMethodHelper: a host routine, method, constructor or indexed property.
// Reading it calls the callback with the parameters' values; writing an
// indexed property calls it with ".SET" and the value as the last argument.

#include "script/binding/member_callbacks.h"
#include "script/program/entries.h"

namespace script {

class TfsMethodHelper : public TfsCustomHelper {
public:
    TfsMethodHelper(std::string_view name, TfsVarType type, std::string_view typeName,
                    TfsMethodCallback callback);
    platform::Variant GetValue() override;
    void SetValue(const platform::Variant& value) override;

    TfsMethodCallback Callback;
    TfsClassVariable* ClassRef = nullptr;
    // An indexed property: its indexes follow "[" directly.
    bool IsIndexMethod = false;
    // An indexed property without a setter.
    bool IndexReadOnly = false;
    // For tools (an editor's list of routines): "ctString" and the like.
    std::string Category;
    std::string Description;

private:
    std::vector<platform::Variant> arguments() const;
    void* instance() const;
    std::string callName(const char* suffix) const;
    std::string upperName_;
};

// The object a member is called on, checked against the class the member
// belongs to: "Invalid class typecast" when a reference of another class
// was cast to it. nullptr when the parent value is Null (a class-level call)
// or nil.
void* MemberInstance(const platform::Variant& parent, const TfsClassVariable* memberClass);

} // namespace script
