#pragma once
// TfsObjectList: the list behind TList, of values (object references,
// numbers) that scripts keep by index.

#include "platform/automation/value_limits.h"
#include "platform/automation/variant_ops.h"
#include "script/binding/object_refs.h"
#include "script/library/string_list.h"
#include "script/program/run_error.h"

#include <vector>

namespace script {

class TfsObjectList : public TfsObject {
public:
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    const platform::Variant& Get(int index) const
    {
        check(index, false);
        return items_[static_cast<std::size_t>(index)];
    }
    void Put(int index, platform::Variant v)
    {
        check(index, false);
        items_[static_cast<std::size_t>(index)] = std::move(v);
    }
    int Add(platform::Variant v)
    {
        room();
        items_.push_back(std::move(v));
        return Count() - 1;
    }
    void Insert(int index, platform::Variant v)
    {
        check(index, true);
        room();
        items_.insert(items_.begin() + index, std::move(v));
    }
    void Delete(int index)
    {
        check(index, false);
        items_.erase(items_.begin() + index);
    }
    int IndexOf(const platform::Variant& v) const
    {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i].type() == v.type() && platform::varCompare(items_[i], v) == 0)
                return static_cast<int>(i);
        return -1;
    }
    int Remove(const platform::Variant& v)
    {
        int i = IndexOf(v);
        if (i >= 0)
            Delete(i);
        return i;
    }
    void Clear() noexcept { items_.clear(); }

private:
    void check(int index, bool allowEnd) const
    {
        if (index < 0 || index > Count() || (index == Count() && !allowEnd))
            RaiseListIndexError(index);
    }
    void room() const
    {
        if (items_.size() + 1 > platform::valueLimits().maxArrayElements)
            RaiseRuntime("Out of memory");
    }
    std::vector<platform::Variant> items_;
};

} // namespace script
