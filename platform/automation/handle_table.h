#pragma once
// Object references that travel inside numbers (a script's object values,
// a host's list references) resolve only through a handle table: a forged,
// stale or foreign number is refused, never dereferenced.

#include <cstdint>
#include <unordered_map>

namespace platform {

class HandleTable {
public:
    // The kind tag tells apart objects of different classes sharing a table;
    // any stable address serves (for example a static of the class).
    using Kind = const void*;

    // A fresh handle for the object; handles are positive and never reused
    // while the table lives.
    std::int32_t add(void* object, Kind kind);
    // The object of a live handle of that kind, else nullptr.
    void* find(std::int32_t handle, Kind kind) const noexcept;
    // The object of a live handle of any kind, with its kind.
    void* find(std::int32_t handle, Kind* kindOut) const noexcept;
    // Handle of an object already in the table, or 0.
    std::int32_t handleOf(const void* object) const noexcept;
    bool remove(std::int32_t handle) noexcept;
    std::size_t size() const noexcept { return entries_.size(); }
    void clear() noexcept;

private:
    struct Entry {
        void* object;
        Kind kind;
    };
    std::unordered_map<std::int32_t, Entry> entries_;
    std::unordered_map<const void*, std::int32_t> byObject_;
    std::int32_t next_ = 0x10000; // well clear of small integers
};

} // namespace platform
