#include "viewer/settings/ini_params.h"

#include "platform/ini/ini_file.h"
#include "platform/text/number_text.h"
#include "viewer/settings/drive_probe.h"

namespace tavrin {

std::string GetFromINI_StringParamDef(const std::string& file, const std::string& section, const std::string& key,
                                      const std::string& def)
{
    auto v = platform::readIniValue(file, section, key);
    return std::string(platform::trimSpaces(v ? *v : def));
}

int GetFromINI_IntegerParamDef(const std::string& file, const std::string& section, const std::string& key, int def)
{
    auto v = platform::readIniValue(file, section, key);
    std::int32_t i = 0;
    if (!v || !platform::parseInt32(platform::trimBlanks(*v), i))
        return def;
    return i;
}

bool GetFromINI_BoolParamDef(const std::string& file, const std::string& section, const std::string& key, bool def)
{
    auto v = platform::readIniValue(file, section, key);
    std::int32_t i = 0;
    if (!v || !platform::parseInt32(platform::trimBlanks(*v), i))
        return def;
    return i != 0;
}

bool PutToINI_StringParamW(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& value)
{
    if (!IsDriveWritable(file))
        return false;
    return platform::writeIniValue(file, section, key, platform::trimSpaces(value));
}

bool PutToINI_IntegerParamW(const std::string& file, const std::string& section, const std::string& key, int value)
{
    if (!IsDriveWritable(file))
        return false;
    return platform::writeIniValue(file, section, key, std::to_string(value));
}

bool PutToINI_BoolParamW(const std::string& file, const std::string& section, const std::string& key, bool value)
{
    if (!IsDriveWritable(file))
        return false;
    return platform::writeIniValue(file, section, key, value ? "1" : "0");
}

} // namespace tavrin
