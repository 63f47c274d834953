#pragma once
// TfsXMLReader: the tolerant reader of the engine's XML. Character data
// between tags is ignored, comments are skipped, a closing tag may differ in
// letter case from its start tag, and a document that ends before its
// closing tags is accepted. Anything else malformed is "Invalid file format".

#include <iosfwd>
#include <string>
#include <string_view>

namespace script {

class TfsXMLItem;

class TfsXMLReader {
public:
    // Reads from memory.
    explicit TfsXMLReader(std::string_view text) noexcept;
    // Reads from a stream, which is left right after the last byte read.
    explicit TfsXMLReader(std::istream& stream) noexcept;

    // The declaration, then the root element into root (whose children are
    // cleared first). On an error the root holds what was read so far.
    void ReadDocument(TfsXMLItem& root);
    // One element and its children into item; false when the next tag is a
    // closing tag or the stream ended, which is no element.
    bool ReadItem(TfsXMLItem& item);

    // Bytes consumed so far.
    std::size_t Consumed() const noexcept { return consumed_; }

private:
    int get();
    bool readTag(std::string_view& name, std::string_view& text);

    const char* p_ = nullptr;
    const char* end_ = nullptr;
    std::istream* stream_ = nullptr;
    std::size_t consumed_ = 0;
    std::string tag_;
};

} // namespace script
