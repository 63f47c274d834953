#include "scripthost/spreadsheet/xlsx_reader.h"

#include "platform/text/cp1251.h"
#include "platform/text/number_text.h"

#include <orcus/sax_parser.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <map>
#include <stdexcept>
#include <vector>

namespace tavrin::sheet {

namespace {

using platform::Variant;

class Archive {
public:
    explicit Archive(const std::string& path) : stream_(path.c_str()), zip_(&stream_) { zip_.load(); }
    // The part's bytes; false when the archive has no such part.
    bool read(const std::string& part, std::string& out) const
    {
        std::vector<unsigned char> buf;
        if (!zip_.read_file_entry(part, buf))
            return false;
        out.assign(buf.begin(), buf.end());
        return true;
    }

private:
    orcus::zip_archive_stream_fd stream_;
    orcus::zip_archive zip_;
};

// Calls start(name, attributes), text(chars) and end(name) for the
// elements of an XML part (names without their prefix).
struct Attributes {
    std::vector<std::pair<std::string, std::string>> list;
    std::string get(std::string_view name) const
    {
        for (const auto& [n, v] : list)
            if (n == name)
                return v;
        return {};
    }
};

template <class Visitor>
class SaxAdapter : public orcus::sax_handler {
public:
    explicit SaxAdapter(Visitor& v) : v_(v) {}
    void attribute(const orcus::sax::parser_attribute& a) { attrs_.list.emplace_back(a.name, a.value); }
    // The declaration's own attributes (version, encoding) are not the
    // root element's.
    void end_declaration(std::string_view) { attrs_.list.clear(); }
    void start_element(const orcus::sax::parser_element& e)
    {
        v_.start(e.name, attrs_);
        attrs_.list.clear();
    }
    void end_element(const orcus::sax::parser_element& e) { v_.end(e.name); }
    void characters(std::string_view s, bool) { v_.text(s); }

private:
    Visitor& v_;
    Attributes attrs_;
};

template <class Visitor>
void parse(const std::string& xml, Visitor& v)
{
    SaxAdapter<Visitor> handler(v);
    orcus::sax_parser<SaxAdapter<Visitor>> parser(xml.data(), xml.size(), handler);
    parser.parse();
}

std::string folderOf(const std::string& part)
{
    std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship's target as a part name.
std::string resolve(const std::string& base, const std::string& target)
{
    if (!target.empty() && target.front() == '/')
        return target.substr(1);
    std::string folder = base;
    std::string rest = target;
    while (rest.starts_with("../")) {
        rest.erase(0, 3);
        if (!folder.empty())
            folder.pop_back();
        folder = folderOf(folder);
    }
    return folder + rest;
}

struct Relationships {
    std::map<std::string, std::string> byId;
    std::map<std::string, std::string> byType; // the last word of the type
    void start(std::string_view name, const Attributes& a)
    {
        if (name != "Relationship")
            return;
        std::string target = a.get("Target"), type = a.get("Type");
        byId[a.get("Id")] = target;
        byType[type.substr(type.rfind('/') + 1)] = target;
    }
    void end(std::string_view) {}
    void text(std::string_view) {}
};

Relationships relationshipsOf(const Archive& zip, const std::string& part)
{
    Relationships rels;
    std::string xml;
    if (zip.read(folderOf(part) + "_rels/" + part.substr(folderOf(part).size()) + ".rels", xml))
        parse(xml, rels);
    return rels;
}

struct WorkbookPart {
    std::vector<std::pair<std::string, std::string>> sheets; // name, relationship id
    void start(std::string_view name, const Attributes& a)
    {
        if (name == "sheet")
            sheets.emplace_back(a.get("name"), a.get("id"));
    }
    void end(std::string_view) {}
    void text(std::string_view) {}
};

struct SharedStrings {
    std::vector<std::string> strings;
    int depth = 0;       // inside <si>
    bool inText = false; // inside <t>, not in a phonetic run
    bool phonetic = false;
    void start(std::string_view name, const Attributes&)
    {
        if (name == "si") {
            strings.emplace_back();
            depth = 1;
        } else if (name == "rPh") {
            phonetic = true;
        } else if (name == "t" && depth && !phonetic) {
            inText = true;
        }
    }
    void end(std::string_view name)
    {
        if (name == "si")
            depth = 0;
        else if (name == "rPh")
            phonetic = false;
        else if (name == "t")
            inText = false;
    }
    void text(std::string_view s)
    {
        if (inText)
            strings.back() += s;
    }
};

// Which cell formats are bold: fonts with <b/> (not val="0"), formats by
// font.
struct Styles {
    std::vector<bool> fontBold;
    std::vector<bool> formatBold;
    bool inFonts = false, inCellXfs = false;
    void start(std::string_view name, const Attributes& a)
    {
        if (name == "fonts")
            inFonts = true;
        else if (name == "cellXfs")
            inCellXfs = true;
        else if (inFonts && name == "font")
            fontBold.push_back(false);
        else if (inFonts && name == "b" && !fontBold.empty())
            fontBold.back() = a.get("val") != "0" && a.get("val") != "false";
        else if (inCellXfs && name == "xf") {
            std::int32_t font = 0;
            platform::parseInt32(a.get("fontId"), font);
            formatBold.push_back(font >= 0 && static_cast<std::size_t>(font) < fontBold.size() && fontBold[font]);
        }
    }
    void end(std::string_view name)
    {
        if (name == "fonts")
            inFonts = false;
        else if (name == "cellXfs")
            inCellXfs = false;
    }
    void text(std::string_view) {}
};

struct SheetPart {
    SheetData& sheet;
    const std::vector<std::string>& shared;
    const Styles& styles;
    std::int64_t row = 0, col = 0;
    std::string type, value, inlineText;
    std::int32_t style = 0;
    bool inValue = false, inInline = false, inCell = false;

    void start(std::string_view name, const Attributes& a)
    {
        if (name == "row") {
            std::int64_t r = 0;
            row = platform::parseInt64(a.get("r"), r) ? r : row + 1;
            col = 0;
        } else if (name == "c") {
            inCell = true;
            std::string ref = a.get("r");
            std::int64_t r1, c1, r2, c2;
            if (!ref.empty() && ParseA1(ref, r1, c1, r2, c2)) {
                row = r1;
                col = c1;
            } else {
                ++col;
            }
            type = a.get("t");
            style = 0;
            platform::parseInt32(a.get("s"), style);
            value.clear();
            inlineText.clear();
        } else if (inCell && name == "v") {
            inValue = true;
        } else if (inCell && name == "t") {
            inInline = true;
        }
    }
    void end(std::string_view name)
    {
        if (name == "v")
            inValue = false;
        else if (name == "t")
            inInline = false;
        else if (name == "c") {
            inCell = false;
            store();
        }
    }
    void text(std::string_view s)
    {
        if (inValue)
            value += s;
        else if (inInline)
            inlineText += s;
    }
    void store()
    {
        if (row < 1 || row > kMaxRows || col < 1 || col > kMaxColumns)
            return;
        Variant v;
        if (type == "s") {
            std::int64_t i = -1;
            if (platform::parseInt64(value, i) && i >= 0 && static_cast<std::uint64_t>(i) < shared.size())
                v = Variant(platform::utf8ToCp1251(shared[static_cast<std::size_t>(i)]));
        } else if (type == "inlineStr") {
            v = Variant(platform::utf8ToCp1251(inlineText));
        } else if (type == "b") {
            v = Variant(value == "1" || value == "true");
        } else if (type == "str" || type == "e" || type == "d") {
            if (!value.empty())
                v = Variant(platform::utf8ToCp1251(value));
        } else if (!value.empty()) {
            double d = 0;
            if (platform::parseDecimal(value, d))
                v = Variant(d);
        }
        const bool bold = style > 0 && static_cast<std::size_t>(style) < styles.formatBold.size() &&
                          styles.formatBold[static_cast<std::size_t>(style)];
        if (v.isEmpty() && !bold)
            return;
        Cell& cell = sheet.at(static_cast<std::int32_t>(row), static_cast<std::int32_t>(col));
        cell.value = std::move(v);
        cell.bold = bold;
    }
};

} // namespace

void ReadXlsx(const std::string& path, WorkbookData& book)
{
    Archive zip(path);
    std::string xml;
    Relationships root;
    if (zip.read("_rels/.rels", xml))
        parse(xml, root);
    std::string workbookPart = root.byType.count("officeDocument") ? resolve("", root.byType["officeDocument"])
                                                                   : std::string("xl/workbook.xml");
    if (!zip.read(workbookPart, xml))
        throw std::runtime_error("the archive holds no workbook");
    WorkbookPart workbook;
    parse(xml, workbook);
    Relationships rels = relationshipsOf(zip, workbookPart);
    const std::string base = folderOf(workbookPart);

    SharedStrings shared;
    if (rels.byType.count("sharedStrings") && zip.read(resolve(base, rels.byType["sharedStrings"]), xml))
        parse(xml, shared);
    Styles styles;
    if (rels.byType.count("styles") && zip.read(resolve(base, rels.byType["styles"]), xml))
        parse(xml, styles);

    for (const auto& [name, id] : workbook.sheets) {
        book.sheets.push_back(std::make_shared<SheetData>(platform::utf8ToCp1251(name)));
        auto target = rels.byId.find(id);
        if (target == rels.byId.end() || !zip.read(resolve(base, target->second), xml))
            continue; // a chart sheet or a missing part: an empty sheet
        SheetPart part{*book.sheets.back(), shared.strings, styles, 0, 0, {}, {}, {}, 0, false, false, false};
        parse(xml, part);
    }
}

} // namespace tavrin::sheet
