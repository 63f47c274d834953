#include "platform/system/user_dirs.h"

#include "platform/system/file_io.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string withSlash(std::string s)
{
    if (!s.empty() && s.back() != '/')
        s += '/';
    return s;
}

std::string homeDir()
{
    if (const char* h = std::getenv("HOME"); h && *h)
        return h;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

} // namespace

std::string configHome()
{
    if (const char* c = std::getenv("XDG_CONFIG_HOME"); c && *c == '/')
        return withSlash(c);
    return withSlash(homeDir()) + ".config/";
}

std::string runtimeDir()
{
    if (const char* r = std::getenv("XDG_RUNTIME_DIR"); r && *r == '/' && directoryExists(r))
        return withSlash(r);
    if (const char* t = std::getenv("TMPDIR"); t && *t == '/' && directoryExists(t))
        return withSlash(t);
    return "/tmp/";
}

bool makeDirectories(const std::string& path)
{
    if (path.empty())
        return false;
    std::string partial;
    std::size_t i = 0;
    while (i <= path.size()) {
        std::size_t slash = path.find('/', i);
        if (slash == std::string::npos)
            slash = path.size();
        partial = path.substr(0, slash);
        if (!partial.empty() && !directoryExists(partial))
            ::mkdir(partial.c_str(), 0700);
        i = slash + 1;
    }
    return directoryExists(path);
}

} // namespace platform
