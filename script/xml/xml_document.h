#pragma once
// TfsXMLDocument: one root element and the indentation flag of the writer.

#include "script/xml/xml_item.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace script {

class TfsXMLDocument {
public:
    TfsXMLDocument() : root_(std::make_unique<TfsXMLItem>()) {}

    TfsXMLItem& Root() noexcept { return *root_; }
    const TfsXMLItem& Root() const noexcept { return *root_; }

    bool AutoIndent = false;

    void LoadFromStream(std::istream& stream);
    void SaveToStream(std::ostream& stream) const;
    void LoadFromText(std::string_view text);
    std::string SaveToText() const;
    // File names are 8-bit text (code page 1251), as scripts write them.
    void LoadFromFile(std::string_view fileName);
    void SaveToFile(std::string_view fileName) const;

private:
    std::unique_ptr<TfsXMLItem> root_;
};

} // namespace script
