#include "viewer/settings/drive_probe.h"

#include "platform/system/file_io.h"
#include "platform/text/number_text.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {

namespace {

bool entryExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

std::string MakeUniqueFileName(const std::string& name)
{
    if (!entryExists(name))
        return name;
    std::string ext = platform::extractFileExt(name);
    std::string stem = name.substr(0, name.size() - ext.size());
    for (int k = 1; k <= 999999; ++k) {
        std::string candidate = stem + "-" + std::to_string(k) + ext;
        if (!entryExists(candidate))
            return candidate;
    }
    return name;
}

bool IsDriveWritable(const std::string& rawPath)
{
    std::string path(platform::trimSpaces(rawPath));
    if (path.empty())
        return false;
    std::string folder;
    if (path.back() == '/' || platform::directoryExists(path))
        folder = path.back() == '/' ? path : path + "/";
    else
        folder = platform::extractFilePath(path);
    if (folder.empty())
        folder = "./";
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string probe = MakeUniqueFileName(folder + "~!789.~~~");
        int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
            return true;
        }
        if (errno != EEXIST) // another process took the name: try the next one
            return false;
    }
    return false;
}

} // namespace tavrin
