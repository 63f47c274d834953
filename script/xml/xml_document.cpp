#include "script/xml/xml_document.h"

#include "platform/automation/value_limits.h"
#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "script/script_error.h"
#include "script/xml/xml_reader.h"
#include "script/xml/xml_writer.h"

namespace script {

void TfsXMLDocument::LoadFromStream(std::istream& stream)
{
    TfsXMLReader(stream).ReadDocument(*root_);
}

void TfsXMLDocument::SaveToStream(std::ostream& stream) const
{
    TfsXMLWriter w(stream);
    w.AutoIndent = AutoIndent;
    w.WriteDocument(*root_);
}

void TfsXMLDocument::LoadFromText(std::string_view text)
{
    TfsXMLReader(text).ReadDocument(*root_);
}

std::string TfsXMLDocument::SaveToText() const
{
    std::string text;
    TfsXMLWriter w(text);
    w.AutoIndent = AutoIndent;
    w.WriteDocument(*root_);
    return text;
}

void TfsXMLDocument::LoadFromFile(std::string_view fileName)
{
    std::string bytes, error;
    // A regular file only: a pipe or a device would never end.
    if (!platform::readRegularFile(platform::cp1251ToUtf8(fileName), bytes, platform::valueLimits().maxStringBytes,
                                   &error))
        throw ScriptError(platform::utf8ToCp1251(error));
    LoadFromText(bytes);
}

void TfsXMLDocument::SaveToFile(std::string_view fileName) const
{
    std::string error;
    if (!platform::writeFileAtomic(platform::cp1251ToUtf8(fileName), SaveToText(), &error))
        throw ScriptError(platform::utf8ToCp1251(error));
}

} // namespace script
