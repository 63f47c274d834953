#pragma once
// A whole file as read-only bytes, without copying a regular file: it is
// mapped privately and read through the page cache. Pipes, devices and
// files that report no size are read into memory instead.
//
// The mapping is a view of the file as it is while it is read, as read()
// would be: bytes that a writer changes meanwhile may show. A file cut short
// under the mapping never crashes the process: the missing pages read as
// zeros (see mapping_guard.h) and truncated() turns true, so the reader can
// refuse what it read.

#include "platform/system/file_buffer.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class MappedFile {
public:
    MappedFile() = default;
    // A copy of the bytes in memory (computed text, tests).
    explicit MappedFile(std::string_view bytes) : heap_(bytes) {}
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    // Maps or reads the whole file; false with a message in *error when it
    // cannot be opened or read (the same texts as FileBuffer::load).
    bool open(const std::string& path, std::string* error = nullptr);

    const char* data() const noexcept { return map_ ? map_ : heap_.data(); }
    std::size_t size() const noexcept { return map_ ? mapSize_ : heap_.size(); }
    bool empty() const noexcept { return size() == 0; }
    std::string_view view() const noexcept { return {data(), size()}; }
    // The bytes are the file's pages rather than a copy in memory.
    bool mapped() const noexcept { return map_ != nullptr; }

    // Hints for a reader that walks the file once: read [begin, end) ahead,
    // and let the pages wholly inside [begin, end) go from this process's
    // memory once read (they come back from the file if touched again, so
    // the bytes stay valid). Nothing happens for bytes held in memory.
    void prefetch(std::size_t begin, std::size_t end) const noexcept;
    void release(std::size_t begin, std::size_t end) const noexcept;

    // The file was cut short while mapped: part of what was read is zeros.
    bool truncated() const noexcept;

private:
    void unmap() noexcept;

    FileBuffer heap_;
    char* map_ = nullptr;
    std::size_t mapSize_ = 0;
    int guard_ = -1;
};

} // namespace platform
