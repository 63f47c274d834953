#include "platform/automation/handle_table.h"

#include <stdexcept>

namespace platform {

std::int32_t HandleTable::add(void* object, Kind kind)
{
    if (auto it = byObject_.find(object); it != byObject_.end())
        return it->second;
    if (next_ == INT32_MAX)
        throw std::length_error("Handle table exhausted");
    std::int32_t h = next_++;
    entries_.emplace(h, Entry{object, kind});
    byObject_.emplace(object, h);
    return h;
}

void* HandleTable::find(std::int32_t handle, Kind kind) const noexcept
{
    auto it = entries_.find(handle);
    if (it == entries_.end() || it->second.kind != kind)
        return nullptr;
    return it->second.object;
}

void* HandleTable::find(std::int32_t handle, Kind* kindOut) const noexcept
{
    auto it = entries_.find(handle);
    if (it == entries_.end())
        return nullptr;
    if (kindOut)
        *kindOut = it->second.kind;
    return it->second.object;
}

std::int32_t HandleTable::handleOf(const void* object) const noexcept
{
    auto it = byObject_.find(object);
    return it == byObject_.end() ? 0 : it->second;
}

bool HandleTable::remove(std::int32_t handle) noexcept
{
    auto it = entries_.find(handle);
    if (it == entries_.end())
        return false;
    byObject_.erase(it->second.object);
    entries_.erase(it);
    return true;
}

void HandleTable::clear() noexcept
{
    entries_.clear();
    byObject_.clear();
}

} // namespace platform
