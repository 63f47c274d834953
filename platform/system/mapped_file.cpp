#include "platform/system/mapped_file.h"

#include "platform/system/file_io.h"
#include "platform/system/mapping_guard.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

std::size_t pageSize() noexcept
{
    static const std::size_t size = [] {
        long p = ::sysconf(_SC_PAGESIZE);
        return p > 0 ? static_cast<std::size_t>(p) : std::size_t(4096);
    }();
    return size;
}

} // namespace

MappedFile::MappedFile(MappedFile&& other) noexcept
    : heap_(std::move(other.heap_)), map_(std::exchange(other.map_, nullptr)),
      mapSize_(std::exchange(other.mapSize_, 0)), guard_(std::exchange(other.guard_, -1))
{}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept
{
    if (this != &other) {
        unmap();
        heap_ = std::move(other.heap_);
        map_ = std::exchange(other.map_, nullptr);
        mapSize_ = std::exchange(other.mapSize_, 0);
        guard_ = std::exchange(other.guard_, -1);
    }
    return *this;
}

MappedFile::~MappedFile()
{
    unmap();
}

void MappedFile::unmap() noexcept
{
    if (!map_)
        return;
    unguardMapping(guard_);
    ::munmap(map_, mapSize_);
    map_ = nullptr;
    mapSize_ = 0;
    guard_ = -1;
}

bool MappedFile::open(const std::string& path, std::string* error)
{
    unmap();
    heap_ = FileBuffer();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = "Cannot open file \"" + path + "\": " + systemErrorText(errno);
        return false;
    }
    struct stat st {};
    bool mappable = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
                    static_cast<std::uintmax_t>(st.st_size) <= SIZE_MAX;
    if (mappable) {
        auto size = static_cast<std::size_t>(st.st_size);
        void* p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (p != MAP_FAILED) {
            int guard = guardMapping(p, size);
            if (guard >= 0) {
                ::close(fd);
                map_ = static_cast<char*>(p);
                mapSize_ = size;
                guard_ = guard;
                return true;
            }
            // Unguarded, a shrinking file could kill the process: read it.
            ::munmap(p, size);
        }
    }
    // Not a plain file with a size (a pipe, a device, /proc), or mapping
    // failed: read it through the same descriptor (a pipe's writer must not
    // see its reader go), which also gives the usual messages for folders.
    bool ok = heap_.load(fd, path, error);
    ::close(fd);
    return ok;
}

void MappedFile::prefetch(std::size_t begin, std::size_t end) const noexcept
{
    if (!map_ || begin >= end || begin >= mapSize_)
        return;
    std::size_t page = pageSize();
    std::size_t b = begin / page * page;
    std::size_t e = end < mapSize_ ? end : mapSize_;
    ::madvise(map_ + b, e - b, MADV_WILLNEED);
}

void MappedFile::release(std::size_t begin, std::size_t end) const noexcept
{
    if (!map_)
        return;
    std::size_t page = pageSize();
    std::size_t b = (begin + page - 1) / page * page;
    // The last partial page of the file counts as whole.
    std::size_t e = end >= mapSize_ ? (mapSize_ + page - 1) / page * page : end / page * page;
    if (b < e)
        ::madvise(map_ + b, e - b, MADV_DONTNEED);
}

bool MappedFile::truncated() const noexcept
{
    return map_ && mappingDamaged(guard_);
}

} // namespace platform
