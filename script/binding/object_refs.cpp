#include "script/binding/object_refs.h"

#include "platform/automation/handle_table.h"
#include "script/binding/event_helper.h"
#include "script/program/run_error.h"
#include "script/program/run_state.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace script {

using platform::Variant;


namespace {

struct Owned {
    std::unique_ptr<TfsObject> object;
    const TfsScript* owner;
};

// Set once the registry is gone (static destruction): scripts that go
// later find nothing to free. A constant-initialised flag outlives it.
bool gRegistryGone = false;

// The handle table and the store live and die together; at exit the
// objects go first, while their references can still be taken back.
struct Registry {
    platform::HandleTable handles;
    std::unordered_map<const void*, Owned> owned;
    std::unordered_set<const void*> live; // every TfsObject
    std::unordered_set<const void*> host; // marked as the host's
    bool closing = false;

    ~Registry()
    {
        closing = true;
        std::unordered_map<const void*, Owned> rest;
        rest.swap(owned);
        for (auto& [object, o] : rest) {
            handles.remove(handles.handleOf(object));
            o.object.reset();
        }
        gRegistryGone = true;
    }
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

TfsObject::TfsObject()
{
    if (!gRegistryGone)
        registry().live.insert(this);
}

TfsObject::~TfsObject()
{
    if (!gRegistryGone)
        registry().live.erase(this);
}

TfsObject* AsScriptObject(void* instance) noexcept
{
    if (gRegistryGone || !instance)
        return nullptr;
    Registry& r = registry();
    return r.live.count(instance) ? static_cast<TfsObject*>(instance) : nullptr;
}

Variant MakeObjectRef(void* object, const TfsClassVariable* cls)
{
    if (!object || gRegistryGone)
        return Variant(0);
    return Variant::fromObject(registry().handles.add(object, cls));
}

void* ResolveObject(const Variant& ref, const TfsClassVariable** clsOut)
{
    if (ref.isObject() && !gRegistryGone) {
        const void* kind = nullptr;
        if (void* obj = registry().handles.find(ref.rawInt32(), &kind)) {
            if (clsOut)
                *clsOut = static_cast<const TfsClassVariable*>(kind);
            return obj;
        }
    }
    RaiseRuntime("Invalid object reference");
}

const TfsClassVariable* ClassOfObject(const void* object) noexcept
{
    if (gRegistryGone)
        return nullptr;
    Registry& r = registry();
    std::int32_t h = r.handles.handleOf(object);
    const void* kind = nullptr;
    if (!h || !r.handles.find(h, &kind))
        return nullptr;
    return static_cast<const TfsClassVariable*>(kind);
}

void ReleaseObject(const void* object) noexcept
{
    if (gRegistryGone)
        return;
    Registry& r = registry();
    if (std::int32_t h = r.handles.handleOf(object))
        r.handles.remove(h);
    r.host.erase(object);
}

void MarkHostObject(const void* object)
{
    if (!gRegistryGone && object)
        registry().host.insert(object);
}

bool IsHostObject(const void* object) noexcept
{
    return !gRegistryGone && object && registry().host.count(object) != 0;
}

Variant ObjectStore::Adopt(std::unique_ptr<TfsObject> obj, const TfsClassVariable& cls)
{
    if (gRegistryGone)
        return Variant(0);
    Registry& r = registry();
    void* instance = obj->Instance();
    Variant ref = MakeObjectRef(instance, &cls);
    try {
        r.owned.emplace(instance, Owned{std::move(obj), CurrentRunOwner()});
    } catch (...) {
        ReleaseObject(instance);
        throw;
    }
    return ref;
}

bool ObjectStore::Owns(const void* object) noexcept
{
    if (gRegistryGone)
        return false;
    Registry& r = registry();
    return r.owned.find(object) != r.owned.end();
}

TfsObject* ObjectStore::Owner(const void* instance) noexcept
{
    if (gRegistryGone)
        return nullptr;
    Registry& r = registry();
    auto it = r.owned.find(instance);
    return it == r.owned.end() ? nullptr : it->second.object.get();
}

std::unique_ptr<TfsObject> ObjectStore::Disown(const void* instance) noexcept
{
    if (gRegistryGone)
        return nullptr;
    Registry& r = registry();
    auto it = r.owned.find(instance);
    if (it == r.owned.end())
        return nullptr;
    std::unique_ptr<TfsObject> obj = std::move(it->second.object);
    r.owned.erase(it);
    return obj;
}

bool ObjectStore::Free(void* object)
{
    if (gRegistryGone)
        return false;
    Registry& r = registry();
    auto it = r.owned.find(object);
    if (it == r.owned.end())
        return false;
    std::unique_ptr<TfsObject> doomed = std::move(it->second.object);
    r.owned.erase(it);
    if (TfsEventList* events = TfsEventList::GlobalOrNull(); events && !r.closing)
        events->ObjectGone(object);
    ReleaseObject(object);
    doomed.reset();
    return true;
}

void ObjectStore::FreeOwnedBy(const TfsScript* owner) noexcept
{
    if (gRegistryGone)
        return;
    Registry& r = registry();
    if (!owner || r.closing)
        return;
    std::vector<const void*> mine;
    for (const auto& [object, o] : r.owned)
        if (o.owner == owner)
            mine.push_back(object);
    // An object may free others as it goes: each is looked up again.
    for (const void* object : mine) {
        try {
            Free(const_cast<void*>(object));
        } catch (...) {
        }
    }
}

std::size_t ObjectStore::Count() noexcept
{
    return gRegistryGone ? 0 : registry().owned.size();
}

} // namespace script
