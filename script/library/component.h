#pragma once
// TfsComponent: the object behind TComponent. A component made with an
// owner is freed with it.

#include "script/binding/object_refs.h"

#include <algorithm>
#include <string>
#include <vector>

namespace script {

class TfsComponent : public TfsObject {
public:
    ~TfsComponent() override
    {
        // The owned go first; each takes itself off this list as it goes.
        while (!owned_.empty()) {
            TfsComponent* child = owned_.back();
            if (!ObjectStore::Free(child)) {
                owned_.pop_back();
                child->owner_ = nullptr;
            }
        }
        if (owner_)
            owner_->forget(this);
    }
    void SetOwner(TfsComponent* owner)
    {
        if (owner_)
            owner_->forget(this);
        // An owner cannot be owned by what it owns.
        for (TfsComponent* o = owner; o; o = o->owner_)
            if (o == this)
                return;
        owner_ = owner;
        if (owner_)
            owner_->owned_.push_back(this);
    }
    TfsComponent* Owner() const noexcept { return owner_; }
    std::string Name;
    int Tag = 0;

private:
    void forget(TfsComponent* child) { owned_.erase(std::remove(owned_.begin(), owned_.end(), child), owned_.end()); }
    TfsComponent* owner_ = nullptr;
    std::vector<TfsComponent*> owned_;
};

} // namespace script
