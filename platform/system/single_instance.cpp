#include "platform/system/single_instance.h"

#include "platform/system/user_dirs.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

SingleInstanceLock::SingleInstanceLock(std::string directory) : directory_(std::move(directory))
{
    if (directory_.empty())
        directory_ = runtimeDir();
    if (directory_.back() != '/')
        directory_ += '/';
}

SingleInstanceLock::~SingleInstanceLock()
{
    release();
}

SingleInstanceLock::Result SingleInstanceLock::acquire(const std::string& programFileName)
{
    release();
    std::string name = programFileName;
    for (char& c : name)
        if (c == '/')
            c = '_';
    // In a shared temporary folder the name carries the user, so two users
    // do not lock each other out.
    path_ = directory_ + name;
    if (directory_ == "/tmp/")
        path_ += "-" + std::to_string(::getuid());
    path_ += ".lock";
    int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Result::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? Result::AlreadyRunning : Result::Failed;
    }
    fd_ = fd;
    return Result::Acquired;
}

void SingleInstanceLock::release() noexcept
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace platform
