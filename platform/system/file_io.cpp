#include "platform/system/file_io.h"

#include "platform/system/file_buffer.h"
#include "platform/system/output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string systemErrorText(int err)
{
    char buf[256];
    // The GNU strerror_r returns the text, possibly not in buf.
    const char* text = strerror_r(err, buf, sizeof buf);
    return text;
}

namespace {

void setError(std::string* error, const std::string& what, const std::string& path, int err)
{
    if (error)
        *error = what + " \"" + path + "\": " + systemErrorText(err);
}

} // namespace

bool readFile(const std::string& path, std::string& out, std::string* error)
{
    FileBuffer buffer;
    if (!buffer.load(path, error))
        return false;
    try {
        out.assign(buffer.view());
    } catch (const std::bad_alloc&) {
        setError(error, "Cannot read file", path, ENOMEM);
        return false;
    }
    return true;
}

bool readRegularFile(const std::string& path, std::string& out, std::size_t maxBytes, std::string* error)
{
    auto fail = [&](int fd, const std::string& why) {
        if (fd >= 0)
            ::close(fd);
        if (error)
            *error = "Cannot open file \"" + path + "\": " + why;
        return false;
    };
    auto tooLarge = [&](int fd) {
        std::string limit = maxBytes % (1024 * 1024) == 0 ? std::to_string(maxBytes / (1024 * 1024)) + " MiB"
                                                           : std::to_string(maxBytes) + " bytes";
        return fail(fd, "larger than " + limit);
    };
    // Non-blocking, so that opening a pipe does not wait for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail(-1, systemErrorText(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(fd, systemErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return fail(fd, "not a regular file");
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return tooLarge(fd);
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t size = 0;
        for (;;) {
            if (size == bytes.size()) {
                if (size >= maxBytes) {
                    // At the limit: one more byte tells whether it grew past it.
                    char probe;
                    ssize_t n = ::read(fd, &probe, 1);
                    if (n < 0 && errno == EINTR)
                        continue;
                    if (n > 0)
                        return tooLarge(fd);
                    break;
                }
                bytes.resize(std::min(maxBytes, std::max<std::size_t>(size * 2, 65536)));
            }
            ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(fd, systemErrorText(errno));
            if (n == 0)
                break;
            size += static_cast<std::size_t>(n);
        }
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return fail(fd, systemErrorText(ENOMEM));
    }
    ::close(fd);
    out = std::move(bytes);
    return true;
}

bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* error)
{
    OutputFile file;
    if (file.Open(path) && file.Write(bytes) && file.Commit())
        return true;
    if (error)
        *error = file.error();
    return false;
}

bool fileExists(const std::string& path) noexcept
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool directoryExists(const std::string& path) noexcept
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string extractFilePath(std::string_view path)
{
    auto pos = path.rfind('/');
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string extractFileName(std::string_view path)
{
    auto pos = path.rfind('/');
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string extractFileExt(std::string_view path)
{
    auto slash = path.rfind('/');
    auto dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return std::string(path.substr(dot));
}

std::string changeFileExt(std::string_view path, std::string_view ext)
{
    std::string current = extractFileExt(path);
    std::string out(path.substr(0, path.size() - current.size()));
    out += ext;
    return out;
}

} // namespace platform
