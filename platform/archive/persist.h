#pragma once
// What a container asks of an object whose state it keeps with its own
// document: the state as a byte stream, or as a named property bag.

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

class PropertyBag;

class PersistStream {
public:
    // Replaces the object's state by the stream's. Throws ArchiveError (and
    // leaves the object as it was) when the stream cannot be loaded.
    virtual void LoadState(std::span<const std::uint8_t> stream) = 0;
    virtual std::vector<std::uint8_t> SaveState() = 0;

protected:
    ~PersistStream() = default;
};

class PersistPropertyBag {
public:
    // Values absent from the bag leave the object's current ones.
    virtual void LoadProperties(const PropertyBag& bag) = 0;
    virtual void SaveProperties(PropertyBag& bag) = 0;

protected:
    ~PersistPropertyBag() = default;
};

} // namespace platform
