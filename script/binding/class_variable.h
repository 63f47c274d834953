#pragma once
// TfsClassVariable: a class registered for scripts. It holds the class's
// members (looked up ignoring case, then in the ancestors), its default
// property, and how a new instance is made. Used as a value, the class
// gives a new, not yet constructed instance, on which a constructor member
// such as "Create" then runs; with one argument it is a type cast.

#include "script/binding/event_helper.h"
#include "script/binding/member_callbacks.h"
#include "script/program/entries.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace script {

class TfsMethodHelper;
class TfsObject;
class TfsPropertyHelper;

// Makes the instance behind "TMyClass.Create": a new object of the class.
using TfsInstanceFactory = std::function<std::unique_ptr<TfsObject>()>;

class TfsClassVariable : public TfsCustomVariable {
public:
    // scope: where the class is registered; type names of its members and
    // its ancestors are looked up from there.
    TfsClassVariable(std::string_view name, std::string_view ancestor, TfsScript& scope,
                     TfsInstanceFactory factory = {});
    ~TfsClassVariable() override;

    platform::Variant GetValue() override;

    // Registration (declaration texts as for TfsScript::AddMethod).
    // "constructor Create(AOwner: TComponent)": a function of that name
    // whose result is the instance (type Constructor).
    TfsMethodHelper& AddConstructor(std::string_view declaration, TfsMethodCallback callback);
    TfsMethodHelper& AddMethod(std::string_view declaration, TfsMethodCallback callback);
    // Read-only without a setter.
    TfsPropertyHelper& AddProperty(std::string_view name, std::string_view typeName, TfsGetValueCallback getter,
                                   TfsSetValueCallback setter = {});
    // An indexed property: indexTypes "Integer" or "Integer, String"; the
    // callback is called with NAME.GET or NAME.SET.
    TfsMethodHelper& AddIndexProperty(std::string_view name, std::string_view indexTypes,
                                      std::string_view resultType, TfsMethodCallback callback,
                                      bool readOnly = false);
    // The same, and "[" right after an object of the class reaches it.
    TfsMethodHelper& AddDefaultProperty(std::string_view name, std::string_view indexTypes,
                                        std::string_view resultType, TfsMethodCallback callback,
                                        bool readOnly = false);
    TfsEventHelper& AddEvent(std::string_view name, TfsEventAdapterFactory adapter, TfsEventInstaller installer);
    template <class Adapter>
    TfsEventHelper& AddEvent(std::string_view name, TfsEventInstaller installer)
    {
        return AddEvent(name, MakeEventAdapter<Adapter>, std::move(installer));
    }
    void AddMember(std::unique_ptr<TfsCustomVariable> member);

    // A member of this class or of an ancestor.
    TfsCustomVariable* FindMember(std::string_view name) const;
    // Whether this class is the class named base or derives from it.
    bool InheritsFrom(std::string_view base) const;
    bool IsA(const TfsClassVariable& base) const;
    TfsCustomVariable* DefaultProperty() const;
    const TfsClassVariable* Ancestor() const;

    std::string AncestorName;
    TfsCustomVariable* DefProperty = nullptr;
    TfsInstanceFactory Factory;
    // Frees an instance that the object store does not own (a child
    // element of an XML tree, say); false when it cannot be freed.
    std::function<bool(void* instance)> FreeInstance;
    TfsScript& Scope() const noexcept { return *scope_; }

private:
    TfsMethodHelper& addIndex(std::string_view name, std::string_view indexTypes, std::string_view resultType,
                              TfsMethodCallback callback, bool readOnly);
    std::vector<std::unique_ptr<TfsCustomVariable>> members_;
    TfsScript* scope_;
};

} // namespace script
