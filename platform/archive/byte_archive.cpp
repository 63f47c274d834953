#include "platform/archive/byte_archive.h"

#include "platform/automation/guid.h"

#include <bit>
#include <cstring>

namespace platform {

ArchiveError::ArchiveError(Kind kind, std::size_t offset, const std::string& what)
    : std::runtime_error(what + " (at byte " + std::to_string(offset) + ")"), kind_(kind), offset_(offset)
{}

void ArchiveReader::fail(ArchiveError::Kind kind, const std::string& what) const
{
    throw ArchiveError(kind, pos_, what);
}

void ArchiveReader::require(std::size_t n) const
{
    if (n > remaining())
        fail(ArchiveError::Kind::EndOfStream, "the stream ends before its data does");
}

std::span<const std::uint8_t> ArchiveReader::readBytes(std::size_t n)
{
    require(n);
    std::span<const std::uint8_t> s = bytes_.subspan(pos_, n);
    pos_ += n;
    return s;
}

std::uint8_t ArchiveReader::readU8()
{
    require(1);
    return bytes_[pos_++];
}

std::uint16_t ArchiveReader::readU16()
{
    auto b = readBytes(2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::uint32_t ArchiveReader::readU32()
{
    auto b = readBytes(4);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
}

float ArchiveReader::readFloat()
{
    return std::bit_cast<float>(readU32());
}

double ArchiveReader::readDouble()
{
    std::uint64_t lo = readU32();
    std::uint64_t hi = readU32();
    return std::bit_cast<double>(lo | hi << 32);
}

std::string ArchiveReader::readText()
{
    std::size_t length = readU8();
    if (length == 0xFF) {
        length = readU16();
        if (length == 0xFFFF)
            length = readU32();
    }
    auto b = readBytes(length);
    return std::string(reinterpret_cast<const char*>(b.data()), b.size());
}

std::vector<std::uint8_t> ArchiveReader::readBlob()
{
    std::size_t count = readU32();
    auto b = readBytes(count);
    return std::vector<std::uint8_t>(b.begin(), b.end());
}

Guid ArchiveReader::readGuid()
{
    Guid id;
    id.data1 = readU32();
    id.data2 = readU16();
    id.data3 = readU16();
    auto b = readBytes(8);
    std::memcpy(id.data4.data(), b.data(), 8);
    return id;
}

void ArchiveWriter::writeU16(std::uint16_t v)
{
    bytes_.push_back(static_cast<std::uint8_t>(v));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ArchiveWriter::writeU32(std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<std::uint8_t>(v >> shift));
}

void ArchiveWriter::writeFloat(float v)
{
    writeU32(std::bit_cast<std::uint32_t>(v));
}

void ArchiveWriter::writeDouble(double v)
{
    std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
    writeU32(static_cast<std::uint32_t>(bits));
    writeU32(static_cast<std::uint32_t>(bits >> 32));
}

void ArchiveWriter::writeText(std::string_view text)
{
    std::size_t n = text.size();
    if (n < 0xFF) {
        writeU8(static_cast<std::uint8_t>(n));
    } else {
        writeU8(0xFF);
        if (n < 0xFFFF) {
            writeU16(static_cast<std::uint16_t>(n));
        } else {
            if (n > 0xFFFFFFFFu)
                throw std::length_error("a text longer than 4 GiB cannot be archived");
            writeU16(0xFFFF);
            writeU32(static_cast<std::uint32_t>(n));
        }
    }
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

void ArchiveWriter::writeBlob(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() > 0xFFFFFFFFu)
        throw std::length_error("a blob larger than 4 GiB cannot be archived");
    writeU32(static_cast<std::uint32_t>(bytes.size()));
    writeBytes(bytes);
}

void ArchiveWriter::writeGuid(const Guid& id)
{
    writeU32(id.data1);
    writeU16(id.data2);
    writeU16(id.data3);
    writeBytes(id.data4);
}

void ArchiveWriter::writeBytes(std::span<const std::uint8_t> bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

} // namespace platform
