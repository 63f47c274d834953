#include "viewer/settings/program_folder.h"

#include "platform/system/file_io.h"
#include "platform/system/user_dirs.h"
#include "viewer/settings/drive_probe.h"

#include <cstdlib>
#include <unistd.h>

namespace tavrin {

std::string ExecutablePath()
{
    std::string buf(4096, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return "tavrin";
    buf.resize(static_cast<std::size_t>(n));
    return buf;
}

std::string ResolveProgramFolder()
{
    if (const char* home = std::getenv("TAVRIN_HOME"); home && *home) {
        std::string folder = home;
        if (folder.back() != '/')
            folder += '/';
        platform::makeDirectories(folder);
        return folder;
    }
    std::string folder = platform::extractFilePath(ExecutablePath());
    if (!folder.empty() && IsDriveWritable(folder))
        return folder;
    std::string fallback = platform::configHome() + "Tavrin/";
    platform::makeDirectories(fallback);
    return fallback;
}

} // namespace tavrin
