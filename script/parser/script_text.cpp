#include "script/parser/script_text.h"

#include "platform/text/line_split.h"

namespace script {

std::string NormalizeLineEnds(std::string_view text)
{
    return platform::joinLinesCrLf(platform::splitLines(text));
}

} // namespace script
