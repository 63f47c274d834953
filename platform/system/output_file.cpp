#include "platform/system/output_file.h"

#include "platform/system/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr int kMaxLinks = 40;

} // namespace

std::string ResolveOutputPath(const std::string& path)
{
    std::string p = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return p;
        std::string link(std::size_t(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
        if (n < 0)
            return p;
        link.resize(std::size_t(n));
        p = !link.empty() && link[0] == '/' ? link : extractFilePath(p) + link;
    }
    return {};
}

bool SameFile(const std::string& a, const std::string& b) noexcept
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

OutputFile::~OutputFile()
{
    Discard();
}

bool OutputFile::Fail(const std::string& what, int err)
{
    failed_ = true;
    error_ = what + " \"" + shown_ + "\": " + systemErrorText(err);
    return false;
}

bool OutputFile::Open(const std::string& path)
{
    Discard();
    failed_ = false;
    error_.clear();
    written_ = 0;
    shown_ = path;
    target_ = ResolveOutputPath(path);
    if (target_.empty())
        return Fail("Cannot create file", ELOOP);
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Fail("Cannot create file", EISDIR);
        if (!S_ISREG(st.st_mode))
            return Fail("Cannot replace", EINVAL);
        // The rename would replace a file its owner protected: one we may
        // not write, or (for the superuser, whom access() never refuses) one
        // whose owner took the write permission away.
        if (::access(target_.c_str(), W_OK) != 0)
            return Fail("Cannot write file", errno);
        if (!(st.st_mode & S_IWUSR))
            return Fail("Cannot write file", EACCES);
        mode_ = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode_ = 0666 & ~mask;
    }
    std::string tmpl = extractFilePath(target_) + "." + extractFileName(target_) + ".XXXXXX";
    int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail("Cannot create file", errno);
    fd_ = fd;
    temp_ = tmpl;
    try {
        buffer_.reserve(kBufferSize);
    } catch (const std::bad_alloc&) {
        return Fail("Cannot write file", ENOMEM);
    }
    return true;
}

bool OutputFile::Flush()
{
    const char* p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left) {
        ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            buffer_.clear();
            return Fail("Cannot write file", errno);
        }
        p += n;
        left -= std::size_t(n);
    }
    buffer_.clear();
    return true;
}

bool OutputFile::Write(std::string_view bytes)
{
    if (failed_ || fd_ < 0)
        return false;
    written_ += bytes.size();
    if (buffer_.size() + bytes.size() > kBufferSize) {
        if (!Flush())
            return false;
        if (bytes.size() >= kBufferSize) {
            buffer_.assign(bytes);
            return Flush();
        }
    }
    buffer_.append(bytes);
    return true;
}

bool OutputFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size)
{
    if (failed_ || fd_ < 0 || offset + size > written_)
        return false;
    if (!Flush())
        return false;
    const char* p = static_cast<const char*>(data);
    while (size) {
        ssize_t n = ::pwrite(fd_, p, size, off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Fail("Cannot write file", errno);
        }
        p += n;
        size -= std::size_t(n);
        offset += std::uint64_t(n);
    }
    return true;
}

bool OutputFile::Commit()
{
    if (fd_ < 0)
        return false;
    if (failed_ || !Flush()) {
        Discard();
        return false;
    }
    ::fchmod(fd_, mode_t(mode_));
    if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
        fd_ = -1;
        Fail("Cannot write file", errno);
        Discard();
        return false;
    }
    fd_ = -1;
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        Fail("Cannot write file", errno);
        Discard();
        return false;
    }
    temp_.clear();
    return true;
}

void OutputFile::Discard() noexcept
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    buffer_.clear();
}

} // namespace platform
