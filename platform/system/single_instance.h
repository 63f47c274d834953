#pragma once
// One running instance per program file: an advisory lock on a file named
// after the program in the user's runtime folder. The lock dies with the
// process, so a crash leaves nothing stale behind.

#include <string>

namespace platform {

class SingleInstanceLock {
public:
    enum class Result {
        Acquired,       // this process is the one instance
        AlreadyRunning, // another process holds the lock
        Failed,         // the lock file could not be made
    };

    // directory: where the lock file goes (default: the runtime folder).
    explicit SingleInstanceLock(std::string directory = {});
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    Result acquire(const std::string& programFileName);
    void release() noexcept;
    const std::string& lockPath() const noexcept { return path_; }

private:
    std::string directory_;
    std::string path_;
    int fd_ = -1;
};

} // namespace platform
