#pragma once
// TfsXMLWriter: writes a declaration and an element tree. Attribute texts
// are written as they are stored (already escaped). Without AutoIndent the
// whole document is one line; with it every tag stands on a line of its
// own, indented by its level (two blanks a level), ending in CR LF.

#include <iosfwd>
#include <string>

namespace script {

class TfsXMLItem;

class TfsXMLWriter {
public:
    // Appends to text.
    explicit TfsXMLWriter(std::string& text) noexcept : out_(&text) {}
    // Writes to a stream in blocks of about 4096 bytes.
    explicit TfsXMLWriter(std::ostream& stream) noexcept : stream_(&stream), out_(&buffer_) {}
    ~TfsXMLWriter();

    bool AutoIndent = false;

    void WriteDocument(const TfsXMLItem& root);
    void WriteItem(const TfsXMLItem& item, int level = 0);
    // Writes out what is buffered for a stream.
    void Flush();

private:
    void startText(const TfsXMLItem& item, int level);
    void endText(const TfsXMLItem& item, int level);
    void lineEnd();
    void maybeFlush();

    std::ostream* stream_ = nullptr;
    std::string buffer_;
    std::string* out_;
};

} // namespace script
