// libFuzzer target: any bytes as a script of one language (FUZZ_LANGUAGE).
// The analysis either fails with a message and a "line:column" position, or
// writes a document that reads back to the same text byte for byte. Units
// are served from memory, never from the file system.

#include "script/parser/il_parser.h"
#include "script/script_error.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool isPosition(const std::string& p)
{
    std::size_t colon = p.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == p.size())
        return false;
    return p.find_first_not_of("0123456789:") == std::string::npos && p.find(':', colon + 1) == std::string::npos;
}

std::string unitText(const std::string& path)
{
    // Odd-length names fail like a missing file.
    if (path.size() % 2)
        throw script::ScriptError("Cannot open file");
    const std::string language = FUZZ_LANGUAGE;
    if (language == "PascalScript")
        return "var u: Integer;\r\nbegin end.\r\n";
    if (language == "BasicScript")
        return "Dim u\r\n";
    if (language == "JScript")
        return "var u;\r\n";
    return "int u;\r\n{ }\r\n";
}

void analyse(std::string_view text)
{
    script::ScriptErrors errors;
    script::TfsILParser parser(errors);
    parser.UseLanguage(FUZZ_LANGUAGE);
    parser.SetUnitReader(unitText);
    bool ok;
    try {
        ok = parser.BuildIntermediate(text);
    } catch (const script::ScriptError&) {
        return; // "#language" naming an unknown language, a unit that cannot be read
    }
    if (!ok) {
        if (errors.ErrorText.empty() || !isPosition(errors.ErrorPosition))
            std::abort();
        return;
    }
    if (!errors.ErrorText.empty() || !errors.ErrorPosition.empty() || !errors.ErrorUnit.empty())
        std::abort();
    std::string written = parser.ILDocument().SaveToText();
    script::TfsXMLDocument again;
    again.LoadFromText(written);
    if (again.SaveToText() != written)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    analyse(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
