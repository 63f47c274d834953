#include "platform/system/user_settings.h"

#include "platform/ini/ini_file.h"
#include "platform/system/file_io.h"
#include "platform/system/user_dirs.h"
#include "platform/text/number_text.h"

namespace platform {

UserSettings::UserSettings(std::string vendor, std::string product)
    : product_(std::move(product)), path_(configHome() + vendor + "/" + product_ + ".conf")
{
}

std::optional<std::string> UserSettings::readString(std::string_view name) const
{
    return readIniValue(path_, product_, name);
}

int UserSettings::readInt(std::string_view name, int defaultValue) const
{
    auto text = readString(name);
    std::int32_t v = 0;
    if (!text || !parseInt32(*text, v))
        return defaultValue;
    return v;
}

bool UserSettings::writeString(std::string_view name, std::string_view value) const
{
    if (!makeDirectories(extractFilePath(path_)))
        return false;
    return writeIniValue(path_, product_, name, value);
}

bool UserSettings::writeInt(std::string_view name, int value) const
{
    return writeString(name, std::to_string(value));
}

} // namespace platform
