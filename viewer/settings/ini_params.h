#pragma once
// The settings operations of the viewer (also offered to scripts): each
// opens the INI file, does one read or one write and closes it. Writes
// happen only when a file can be created beside the INI file; they are
// atomic. File names are in the file system's encoding; sections, keys and
// values are 8-bit text.

#include <string>

namespace tavrin {

std::string GetFromINI_StringParamDef(const std::string& file, const std::string& section, const std::string& key,
                                      const std::string& def);
int GetFromINI_IntegerParamDef(const std::string& file, const std::string& section, const std::string& key, int def);
bool GetFromINI_BoolParamDef(const std::string& file, const std::string& section, const std::string& key, bool def);

// Each returns whether the value was written.
bool PutToINI_StringParamW(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& value);
bool PutToINI_IntegerParamW(const std::string& file, const std::string& section, const std::string& key, int value);
bool PutToINI_BoolParamW(const std::string& file, const std::string& section, const std::string& key, bool value);

} // namespace tavrin
