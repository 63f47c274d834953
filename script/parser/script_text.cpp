#include "script/parser/script_text.h"

#include "platform/system/file_io.h"
#include "platform/text/line_split.h"

namespace script {

std::string NormalizeLineEnds(std::string_view text)
{
    return platform::joinLinesCrLf(platform::splitLines(text));
}

bool ReadScriptFile(const std::string& path, std::string& bytes, std::string* error)
{
    return platform::readRegularFile(path, bytes, kMaxScriptFileBytes, error);
}

} // namespace script
