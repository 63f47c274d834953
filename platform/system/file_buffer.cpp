#include "platform/system/file_buffer.h"

#include "platform/system/file_io.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void FileBuffer::Free::operator()(char* p) const noexcept
{
    std::free(p);
}

FileBuffer::FileBuffer(std::string_view bytes)
{
    if (bytes.empty())
        return;
    char* p = static_cast<char*>(std::malloc(bytes.size()));
    if (!p)
        throw std::bad_alloc();
    std::memcpy(p, bytes.data(), bytes.size());
    data_.reset(p);
    size_ = bytes.size();
}

bool FileBuffer::load(const std::string& path, std::string* error)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = "Cannot open file \"" + path + "\": " + systemErrorText(errno);
        return false;
    }
    bool ok = load(fd, path, error);
    ::close(fd);
    return ok;
}

bool FileBuffer::load(int fd, const std::string& path, std::string* error)
{
    auto fail = [&](int err, const char* what) {
        if (error)
            *error = std::string(what) + " \"" + path + "\": " + systemErrorText(err);
        return false;
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(errno, "Cannot open file");
    if (S_ISDIR(st.st_mode))
        return fail(EISDIR, "Cannot open file");

    std::size_t capacity = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    std::size_t size = 0;
    char* p = capacity ? static_cast<char*>(std::malloc(capacity)) : nullptr;
    if (capacity && !p)
        return fail(ENOMEM, "Cannot read file");
    if (capacity >= (std::size_t(1) << 21))
        ::madvise(p, capacity, MADV_HUGEPAGE); // fewer page faults on big files
    for (;;) {
        if (size == capacity) {
            // Files that grow, or report no size: read on in chunks.
            std::size_t grown = capacity ? capacity * 2 : 65536;
            char* q = static_cast<char*>(std::realloc(p, grown));
            if (!q) {
                std::free(p);
                return fail(ENOMEM, "Cannot read file");
            }
            p = q;
            capacity = grown;
        }
        ssize_t n = ::read(fd, p + size, capacity - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int err = errno;
            std::free(p);
            return fail(err, "Cannot read file");
        }
        if (n == 0)
            break;
        size += static_cast<std::size_t>(n);
    }
    data_.reset(p);
    size_ = size;
    return true;
}

} // namespace platform
