#include "plot/core/embedded_item.h"

#include "platform/archive/byte_archive.h"

namespace halvex {

namespace {
constexpr std::uint32_t kItemLayout = 1;
} // namespace

std::vector<std::uint8_t> WriteObjectDescriptor(const ObjectDescriptor& d)
{
    platform::ArchiveWriter w;
    w.writeGuid(d.classId);
    w.writeText(d.typeName);
    w.writeText(d.source);
    w.writeI32(d.extent[0]);
    w.writeI32(d.extent[1]);
    w.writeI32(d.dragOffset[0]);
    w.writeI32(d.dragOffset[1]);
    w.writeU8(d.canLink ? 1 : 0);
    return w.take();
}

std::optional<ObjectDescriptor> ReadObjectDescriptor(std::span<const std::uint8_t> bytes)
{
    try {
        platform::ArchiveReader r(bytes);
        ObjectDescriptor d;
        d.classId = r.readGuid();
        d.typeName = r.readText();
        d.source = r.readText();
        d.extent[0] = r.readI32();
        d.extent[1] = r.readI32();
        d.dragOffset[0] = r.readI32();
        d.dragOffset[1] = r.readI32();
        d.canLink = r.readU8() != 0;
        return d;
    } catch (const platform::ArchiveError&) {
        return std::nullopt;
    }
}

std::vector<std::uint8_t> WriteEmbeddedItem(const EmbeddedItem& item)
{
    platform::ArchiveWriter w;
    w.writeU32(kItemLayout);
    w.writeGuid(item.classId);
    w.writeText(item.typeName);
    w.writeText(item.nativeFormat);
    w.writeI32(item.extent[0]);
    w.writeI32(item.extent[1]);
    w.writeBlob(item.data);
    w.writeBlob(item.presentation);
    w.writeU8(item.link ? 1 : 0);
    return w.take();
}

std::optional<EmbeddedItem> ReadEmbeddedItem(std::span<const std::uint8_t> bytes)
{
    try {
        platform::ArchiveReader r(bytes);
        if (r.readU32() != kItemLayout)
            return std::nullopt;
        EmbeddedItem item;
        item.classId = r.readGuid();
        item.typeName = r.readText();
        item.nativeFormat = r.readText();
        item.extent[0] = r.readI32();
        item.extent[1] = r.readI32();
        item.data = r.readBlob();
        item.presentation = r.readBlob();
        item.link = r.readU8() != 0;
        return item;
    } catch (const platform::ArchiveError&) {
        return std::nullopt;
    }
}

} // namespace halvex
