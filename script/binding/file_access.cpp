#include "script/binding/file_access.h"

#include "script/program/run_error.h"

#include <atomic>
#include <string>

namespace script {

namespace {
std::atomic<TfsFileAccess> gAccess{TfsFileAccess::ReadWrite};
} // namespace

TfsFileAccess FileAccess() noexcept
{
    return gAccess.load(std::memory_order_relaxed);
}

void SetFileAccess(TfsFileAccess access) noexcept
{
    gAccess.store(access, std::memory_order_relaxed);
}

bool FileAccessAllowed(bool write) noexcept
{
    TfsFileAccess a = FileAccess();
    return a == TfsFileAccess::ReadWrite || (a == TfsFileAccess::ReadOnly && !write);
}

void CheckFileAccess(bool write, std::string_view fileName)
{
    if (!FileAccessAllowed(write))
        RaiseRuntime("File access denied: " + std::string(fileName));
}

} // namespace script
