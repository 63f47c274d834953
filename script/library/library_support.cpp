#include "script/library/library_support.h"

#include "platform/automation/value_limits.h"
#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "script/binding/file_access.h"

namespace script::library {

std::string FileSystemName(const Variant& name)
{
    return platform::cp1251ToUtf8(name.toString());
}

std::string FileSystemName(const Variant& name, const std::string& folder)
{
    std::string path = FileSystemName(name);
    if (!folder.empty() && !path.empty() && path.front() != '/')
        path.insert(0, folder);
    return path;
}

std::string ReadScriptData(const Variant& fileName, const std::string& folder)
{
    CheckFileAccess(false, fileName.toString());
    std::string bytes, error;
    if (!platform::readRegularFile(FileSystemName(fileName, folder), bytes, platform::valueLimits().maxStringBytes, &error))
        RaiseRuntime(platform::utf8ToCp1251(error));
    return bytes;
}

void WriteScriptData(const Variant& fileName, std::string_view bytes, const std::string& folder)
{
    CheckFileAccess(true, fileName.toString());
    std::string error;
    if (!platform::writeFileAtomic(FileSystemName(fileName, folder), bytes, &error))
        RaiseRuntime(platform::utf8ToCp1251(error));
}

std::int64_t Int64Arg(const Variant& v)
{
    if (v.type() == platform::varInteger)
        return v.rawInt32();
    return v.toInt64();
}

} // namespace script::library
