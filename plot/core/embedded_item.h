#pragma once
// An embedded object and its descriptor as they cross the clipboard and
// live in an annotation. The descriptor says what the object is (its class,
// a name for people, its size, where a drag took it); the item is what the
// annotation keeps: the descriptor's facts, the object's own data in its
// native format, and a picture of it when the source gave one.
//
// Both are little-endian archive records. An item loaded from a stream is
// kept as the bytes it came in; parsing it only finds what to draw.

#include "platform/automation/guid.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace halvex {

struct ObjectDescriptor {
    platform::Guid classId;
    std::string typeName;            // the kind of object, for people
    std::string source;              // where it came from
    std::int32_t extent[2] = {0, 0}; // 0.01 mm
    std::int32_t dragOffset[2] = {0, 0}; // 0.01 mm from the object's corner
    bool canLink = false;
};

std::vector<std::uint8_t> WriteObjectDescriptor(const ObjectDescriptor& d);
// Nothing for bytes that are not a descriptor.
std::optional<ObjectDescriptor> ReadObjectDescriptor(std::span<const std::uint8_t> bytes);

struct EmbeddedItem {
    platform::Guid classId;
    std::string typeName;
    std::string nativeFormat; // the MIME type of data
    std::int32_t extent[2] = {0, 0};
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> presentation; // PNG or SVG bytes, or none
    bool link = false;
};

std::vector<std::uint8_t> WriteEmbeddedItem(const EmbeddedItem& item);
// Nothing for an item of a layout this program does not know.
std::optional<EmbeddedItem> ReadEmbeddedItem(std::span<const std::uint8_t> bytes);

} // namespace halvex
