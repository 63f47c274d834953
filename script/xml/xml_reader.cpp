#include "script/xml/xml_reader.h"

#include "platform/text/cp1251.h"
#include "script/script_error.h"
#include "script/xml/xml_item.h"

#include <istream>
#include <string>
#include <vector>

namespace script {

namespace {

[[noreturn]] void invalidFormat()
{
    throw ScriptError("Invalid file format");
}

// A name or attribute text ending in '/' marks an element without children.
bool stripSlash(std::string_view& s) noexcept
{
    if (!s.empty() && s.back() == '/') {
        s.remove_suffix(1);
        return true;
    }
    return false;
}

} // namespace

TfsXMLReader::TfsXMLReader(std::string_view text) noexcept : p_(text.data()), end_(text.data() + text.size()) {}

TfsXMLReader::TfsXMLReader(std::istream& stream) noexcept : stream_(&stream) {}

int TfsXMLReader::get()
{
    if (!stream_) {
        if (p_ == end_)
            return -1;
        ++consumed_;
        return static_cast<unsigned char>(*p_++);
    }
    // The stream's own buffer does the block reads; taking one byte at a
    // time leaves the stream exactly after what was consumed.
    std::streambuf* sb = stream_->rdbuf();
    int c = sb ? sb->sbumpc() : std::char_traits<char>::eof();
    if (c == std::char_traits<char>::eof())
        return -1;
    ++consumed_;
    return static_cast<unsigned char>(c);
}

// One tag into name and attribute text (views into tag_); false with both
// empty at the end of the stream.
bool TfsXMLReader::readTag(std::string_view& name, std::string_view& text)
{
    std::string& tag = tag_;
    for (;;) {
        int c;
        while ((c = get()) != '<')
            if (c < 0) {
                name = text = {};
                return false;
            }
        tag.clear();
        bool comment = false;
        for (;;) {
            c = get();
            if (c < 0 || c == '<')
                invalidFormat();
            if (c == '>')
                break;
            tag += static_cast<char>(c);
            if (tag.size() == 3 && tag == "!--") {
                comment = true;
                break;
            }
        }
        if (comment) {
            int dashes = 0;
            for (;;) {
                c = get();
                if (c < 0) { // a comment cut off by the end of the stream ends it
                    name = text = {};
                    return false;
                }
                if (c == '>' && dashes >= 2)
                    break;
                dashes = c == '-' ? dashes + 1 : 0;
            }
            continue;
        }
        std::string_view t = tag;
        if (!t.empty() && t.back() == ' ')
            t.remove_suffix(1);
        std::size_t blank = t.find(' ');
        if (blank == std::string_view::npos) {
            name = t;
            text = {};
        } else {
            name = t.substr(0, blank);
            text = t.substr(blank + 1);
        }
        return true;
    }
}

void TfsXMLReader::ReadDocument(TfsXMLItem& root)
{
    root.Clear();
    std::string_view name, text;
    readTag(name, text);
    if (name.substr(0, 4) != "?xml")
        invalidFormat();
    ReadItem(root);
}

bool TfsXMLReader::ReadItem(TfsXMLItem& item)
{
    std::string_view name, text;
    readTag(name, text);
    if (name.empty() || name[0] == '/')
        return false;
    bool leaf = stripSlash(name);
    leaf = stripSlash(text) || leaf;
    item.SetName(name);
    item.SetText(text);
    if (leaf)
        return true;
    // Open elements, innermost last; no recursion, so any depth reads.
    std::vector<TfsXMLItem*> open{&item};
    while (!open.empty()) {
        readTag(name, text);
        if (name.empty()) { // end of stream (or an empty tag): closes without a check
            open.pop_back();
            continue;
        }
        if (name[0] == '/') {
            std::string_view closed = name.substr(1);
            if (!platform::equalsIgnoreCaseCp1251(closed, open.back()->Name()))
                invalidFormat();
            open.pop_back();
            continue;
        }
        TfsXMLItem& child = open.back()->Add();
        leaf = stripSlash(name);
        leaf = stripSlash(text) || leaf;
        child.SetName(name);
        child.SetText(text);
        if (!leaf)
            open.push_back(&child);
    }
    return true;
}

} // namespace script
