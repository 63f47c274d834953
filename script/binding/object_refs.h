#pragma once
// Objects as scripts see them. A script holds an object as a reference: a
// number that resolves only through one process-wide handle table, with
// the object's class as its kind. A number that is no live reference is an
// error, never a pointer; an object must lose its reference before it goes.
//
// Objects that scripts create (TStringList.Create and the like) derive from
// TfsObject and belong to the object store: "Free" deletes them, and what a
// script leaves behind goes when that script is cleared.

#include "platform/automation/variant.h"

#include <memory>

namespace script {

class TfsClassVariable;
class TfsScript;

// A reference to object, whose class is cls (null: 0, nil).
platform::Variant MakeObjectRef(void* object, const TfsClassVariable* cls);
// The object of a reference, and its class; "Invalid object reference" for
// anything else.
void* ResolveObject(const platform::Variant& ref, const TfsClassVariable** clsOut = nullptr);
// The class an object was referenced with, or nullptr.
const TfsClassVariable* ClassOfObject(const void* object) noexcept;
// Takes an object's reference away (before the object goes).
void ReleaseObject(const void* object) noexcept;
// Objects the host owns and scripts only use (an output list): "Free" on
// one is the run-time error "Cannot free a host object". The mark goes
// with the object's reference.
void MarkHostObject(const void* object);
bool IsHostObject(const void* object) noexcept;

// The base of objects created by scripts.
class TfsObject {
public:
    TfsObject();
    virtual ~TfsObject();
    TfsObject(const TfsObject&) = delete;
    TfsObject& operator=(const TfsObject&) = delete;

    // The instance scripts refer to: the object itself, unless it holds
    // another (an element of an XML tree, say).
    virtual void* Instance() noexcept { return this; }
    // "Free" is about to delete it: the last chance to raise an error (a
    // file that cannot be written).
    virtual void BeforeFree() {}
};

// The TfsObject at an address, or nullptr when none lives there (a host's
// object of another kind): what a void* instance may be cast to.
TfsObject* AsScriptObject(void* instance) noexcept;

// The objects created by scripts, each owned by the script whose run made
// it (or by none, for objects made outside a run).
class ObjectStore {
public:
    // Takes obj over and returns the reference of its instance.
    static platform::Variant Adopt(std::unique_ptr<TfsObject> obj, const TfsClassVariable& cls);
    // Whether the store owns the object of this instance; the object.
    static bool Owns(const void* instance) noexcept;
    static TfsObject* Owner(const void* instance) noexcept;
    // Gives the object of an instance up (its reference stays): the caller
    // takes it over.
    static std::unique_ptr<TfsObject> Disown(const void* instance) noexcept;
    // Frees an object of the store: its event adapters first, then its
    // reference and the object. False when the store does not own it.
    static bool Free(void* object);
    // Frees what the runs of owner created and did not free.
    static void FreeOwnedBy(const TfsScript* owner) noexcept;
    static std::size_t Count() noexcept;
};

} // namespace script
