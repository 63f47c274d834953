#include "script/xml/xml_writer.h"

#include "script/xml/xml_item.h"

#include <ostream>
#include <vector>

namespace script {

TfsXMLWriter::~TfsXMLWriter()
{
    try {
        Flush();
    } catch (...) {
    }
}

void TfsXMLWriter::Flush()
{
    if (stream_ && !buffer_.empty()) {
        stream_->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }
}

void TfsXMLWriter::maybeFlush()
{
    if (stream_ && buffer_.size() > 4096)
        Flush();
}

void TfsXMLWriter::lineEnd()
{
    if (AutoIndent)
        *out_ += "\r\n";
}

void TfsXMLWriter::startText(const TfsXMLItem& item, int level)
{
    std::string& o = *out_;
    if (AutoIndent)
        o.append(static_cast<std::size_t>(level), ' ');
    o += '<';
    o += item.Name();
    const std::string& t = item.Text();
    if (!t.empty()) {
        if (t[0] != ' ')
            o += ' ';
        o += t;
    }
    o += item.Count() > 0 ? ">" : "/>";
    lineEnd();
    maybeFlush();
}

void TfsXMLWriter::endText(const TfsXMLItem& item, int level)
{
    std::string& o = *out_;
    if (AutoIndent)
        o.append(static_cast<std::size_t>(level), ' ');
    o += "</";
    o += item.Name();
    o += '>';
    lineEnd();
    maybeFlush();
}

void TfsXMLWriter::WriteDocument(const TfsXMLItem& root)
{
    *out_ += "<?xml version=\"1.0\"?>";
    lineEnd();
    WriteItem(root, 0);
    Flush();
}

void TfsXMLWriter::WriteItem(const TfsXMLItem& item, int level)
{
    // Depth-first without recursion: each open element with the index of
    // its next child.
    struct Open {
        const TfsXMLItem* item;
        int next;
        int level;
    };
    std::vector<Open> open;
    startText(item, level);
    if (item.Count() > 0)
        open.push_back({&item, 0, level});
    while (!open.empty()) {
        Open& top = open.back();
        if (top.next == top.item->Count()) {
            endText(*top.item, top.level);
            open.pop_back();
            continue;
        }
        const TfsXMLItem& child = top.item->Items(top.next++);
        int childLevel = top.level + 2;
        startText(child, childLevel);
        if (child.Count() > 0)
            open.push_back({&child, 0, childLevel});
    }
}

} // namespace script
