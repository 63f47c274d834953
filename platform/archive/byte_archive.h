#pragma once
// The little-endian byte archive persistent state is kept in: fixed-size
// values with no padding, texts with a length prefix, blobs with a 32-bit
// byte count. Reading checks every count against the bytes that remain
// before it allocates, so a short or damaged stream ends in ArchiveError,
// never in a crash or an allocation larger than the stream.
//
// Text prefix: one byte when the length is below 255; else 0xFF and a
// 16-bit length below 0xFFFF; else 0xFF, 0xFFFF and a 32-bit length.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Guid;

class ArchiveError : public std::runtime_error {
public:
    enum class Kind {
        EndOfStream, // the stream ends before its data does
        BadValue,    // a value no writer produces (a flag, a type, a count)
        BadVersion,  // written by a later major version
    };
    ArchiveError(Kind kind, std::size_t offset, const std::string& what);
    Kind kind() const noexcept { return kind_; }
    // Where in the stream the fault was found.
    std::size_t offset() const noexcept { return offset_; }

private:
    Kind kind_;
    std::size_t offset_;
};

class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

    std::size_t position() const noexcept { return pos_; }
    std::size_t remaining() const noexcept { return bytes_.size() - pos_; }
    bool atEnd() const noexcept { return pos_ == bytes_.size(); }

    std::uint8_t readU8();
    std::uint16_t readU16();
    std::int16_t readI16() { return static_cast<std::int16_t>(readU16()); }
    std::uint32_t readU32();
    std::int32_t readI32() { return static_cast<std::int32_t>(readU32()); }
    float readFloat();
    double readDouble();
    std::string readText();
    std::vector<std::uint8_t> readBlob();
    Guid readGuid();
    // A view of the next n bytes, which are passed over.
    std::span<const std::uint8_t> readBytes(std::size_t n);

    // Fails with EndOfStream unless n bytes remain.
    void require(std::size_t n) const;
    [[noreturn]] void fail(ArchiveError::Kind kind, const std::string& what) const;

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

class ArchiveWriter {
public:
    void writeU8(std::uint8_t v) { bytes_.push_back(v); }
    void writeU16(std::uint16_t v);
    void writeI16(std::int16_t v) { writeU16(static_cast<std::uint16_t>(v)); }
    void writeU32(std::uint32_t v);
    void writeI32(std::int32_t v) { writeU32(static_cast<std::uint32_t>(v)); }
    void writeFloat(float v);
    void writeDouble(double v);
    void writeText(std::string_view text);
    void writeBlob(std::span<const std::uint8_t> bytes);
    void writeGuid(const Guid& id);
    void writeBytes(std::span<const std::uint8_t> bytes);

    const std::vector<std::uint8_t>& bytes() const noexcept { return bytes_; }
    std::vector<std::uint8_t> take() noexcept { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace platform
