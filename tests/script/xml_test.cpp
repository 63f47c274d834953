// The engine's XML model: elements, attribute lookup, escaping, the
// tolerant reader and the writer.

#include "platform/text/cp1251.h"
#include "script/script_error.h"
#include "script/xml/xml_document.h"
#include "script/xml/xml_escape.h"
#include "script/xml/xml_reader.h"
#include "tests/script/il_test_support.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using script::TfsXMLDocument;
using script::TfsXMLItem;

TEST(XmlEscape, CharactersThatWouldBreakATagBecomeReferences)
{
    EXPECT_EQ(script::XmlEscape("a\"b<c>d\r\ne"), "a&#34;b&#60;c&#62;d&#13;&#10;e");
    // A lone ampersand stays; one that would start a reference is escaped,
    // so the text comes back as it was.
    EXPECT_EQ(script::XmlEscape("R&D"), "R&D");
    EXPECT_EQ(script::XmlEscape("&#65;"), "&#38;#65;");
    EXPECT_EQ(script::XmlUnescape(script::XmlEscape("&#65; & &#")), "&#65; & &#");
    EXPECT_EQ(script::XmlEscape("\xcf\xf0\xe8\xe2\xe5\xf2"), "\xcf\xf0\xe8\xe2\xe5\xf2");
}

TEST(XmlEscape, UnescapeReadsNumericReferencesOnly)
{
    EXPECT_EQ(script::XmlUnescape("&#65;&#66;C"), "ABC");
    EXPECT_EQ(script::XmlUnescape("x&#34;y"), "x\"y");
    EXPECT_EQ(script::XmlUnescape("&#321;"), "A"); // low eight bits
    EXPECT_EQ(script::XmlUnescape("&amp;"), "&amp;");
    EXPECT_EQ(script::XmlUnescape("a&#"), "a&#");
    EXPECT_EQ(script::XmlUnescape("a&#;b"), "a&#;b");
    EXPECT_EQ(script::XmlUnescape("a&#65"), "a&#65");
    EXPECT_EQ(scripttest::ErrorOf([] { script::XmlUnescape("&#6x;"); }), "'6x' is not a valid integer value");
    EXPECT_EQ(scripttest::ErrorOf([] { script::XmlUnescape("&#-1;"); }), "'-1' is not a valid integer value");
    EXPECT_EQ(scripttest::ErrorOf([] { script::XmlUnescape("&#99999999999;"); }), "'99999999999' is not a valid integer value");
}

TEST(XmlItem, PropFindsAttributesAtTheStartOrAfterABlankOnly)
{
    TfsXMLItem e;
    e.SetText("text=\"a&#34;b\" pos=\"12:5\"");
    EXPECT_EQ(e.Prop("pos"), "12:5");
    EXPECT_EQ(e.Prop("POS"), "12:5");
    EXPECT_EQ(e.Prop("text"), "a\"b");
    EXPECT_EQ(e.Prop("os"), "");
    EXPECT_EQ(e.Prop("ext"), "");
    EXPECT_EQ(e.Prop("missing"), "");
    // Only the first occurrence of the name counts.
    e.SetText("xpos=\"1\" pos=\"2\"");
    EXPECT_EQ(e.Prop("pos"), "");
    // A value without its closing quote runs to the end.
    e.SetText("a=\"open");
    EXPECT_EQ(e.Prop("a"), "open");
}

TEST(XmlItem, ChildrenAreOwnedAndMoveBetweenParents)
{
    TfsXMLItem root;
    EXPECT_EQ(root.Count(), 0);
    EXPECT_EQ(scripttest::ErrorOf([&] { root.Items(0); }), "List index out of bounds");

    TfsXMLItem& a = root.Add();
    a.SetName("Alpha");
    TfsXMLItem& b = root.FindItem("beta"); // absent: added
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(&root.FindItem("BETA"), &b);
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Find("ALPHA"), 0);
    EXPECT_EQ(root.Find("gamma"), -1);
    EXPECT_EQ(scripttest::ErrorOf([&] { root.Items(-1); }), "List index out of bounds");
    EXPECT_EQ(scripttest::ErrorOf([&] { root.Items(2); }), "List index out of bounds");

    TfsXMLItem& c = a.Add();
    c.SetName("c");
    EXPECT_EQ(&c.Root(), &root);
    EXPECT_EQ(c.Parent(), &a);

    // Moving c under b takes it out of a.
    b.AddItem(&c);
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(b.Count(), 1);
    EXPECT_EQ(c.Parent(), &b);

    // InsertItem places the item; an index outside the list is an error.
    TfsXMLItem& d = root.Add();
    d.SetName("d");
    root.InsertItem(0, &d);
    EXPECT_EQ(root.Items(0).Name(), "d");
    EXPECT_EQ(root.Items(1).Name(), "Alpha");
    EXPECT_EQ(root.Count(), 3);
    EXPECT_EQ(scripttest::ErrorOf([&] { root.InsertItem(3, &d); }), "List index out of bounds");

    // An element cannot become its own descendant.
    EXPECT_FALSE(scripttest::ErrorOf([&] { c.AddItem(&b); }).empty());
    EXPECT_FALSE(scripttest::ErrorOf([&] { b.AddItem(&b); }).empty());

    // Freeing an element takes it out of its parent.
    delete &b;
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Find("beta"), -1);
    root.Clear();
    EXPECT_EQ(root.Count(), 0);
}

TEST(XmlItem, AssignCopiesTheWholeSubtree)
{
    int marker = 0;
    TfsXMLItem src;
    src.SetName("s");
    src.SetText("k=\"v\"");
    src.Data = &marker;
    src.Add().SetName("x");
    src.Items(0).Add().SetName("y");

    TfsXMLItem dst;
    dst.Add().SetName("old");
    dst.Assign(src);
    EXPECT_EQ(dst.Name(), "s");
    EXPECT_EQ(dst.Prop("k"), "v");
    EXPECT_EQ(dst.Data, &marker);
    ASSERT_EQ(dst.Count(), 1);
    EXPECT_EQ(dst.Items(0).Items(0).Name(), "y");
    EXPECT_NE(&dst.Items(0), &src.Items(0));

    // From a descendant of its own, and from its own ancestor.
    dst.Assign(dst.Items(0));
    EXPECT_EQ(dst.Name(), "x");
    ASSERT_EQ(dst.Count(), 1);
    EXPECT_EQ(dst.Items(0).Name(), "y");
    TfsXMLItem& inner = src.Items(0);
    inner.Assign(src);
    EXPECT_EQ(inner.Name(), "s");
    EXPECT_EQ(inner.Items(0).Name(), "x");
    EXPECT_EQ(inner.Items(0).Items(0).Name(), "y");
}

TEST(XmlReader, ReadsTagsAndSkipsCommentsAndText)
{
    TfsXMLDocument doc;
    doc.LoadFromText("<?xml version=\"1.0\" encoding=\"x\"?>\r\n<!-- a <b> comment -- still > -->"
                     "<root a=\"1\">text is ignored<!---->"
                     "<leaf/><leaf2 b=\"2\"/><leaf3 c=\"3\" /><inner x=\"y\"><deep/></inner></root>");
    TfsXMLItem& r = doc.Root();
    EXPECT_EQ(r.Name(), "root");
    EXPECT_EQ(r.Text(), "a=\"1\"");
    ASSERT_EQ(r.Count(), 4);
    EXPECT_EQ(r.Items(0).Name(), "leaf");
    EXPECT_EQ(r.Items(0).Text(), "");
    EXPECT_EQ(r.Items(1).Text(), "b=\"2\"");
    EXPECT_EQ(r.Items(2).Text(), "c=\"3\" "); // only the '/' goes
    EXPECT_EQ(r.Items(3).Items(0).Name(), "deep");
}

TEST(XmlReader, IsTolerantOfTruncationAndLetterCase)
{
    TfsXMLDocument doc;
    doc.LoadFromText("<?xml version=\"1.0\"?><Program><Var pos=\"1:1\"><ident/></VAR></program>");
    EXPECT_EQ(doc.Root().Items(0).Items(0).Name(), "ident");

    // A document that ends before its closing tags loads.
    doc.LoadFromText("<?xml version=\"1.0\"?><a><b><c/>");
    EXPECT_EQ(doc.Root().Name(), "a");
    EXPECT_EQ(doc.Root().Items(0).Items(0).Name(), "c");
    // Also inside a comment.
    doc.LoadFromText("<?xml version=\"1.0\"?><a><b/><!-- cut");
    EXPECT_EQ(doc.Root().Count(), 1);
}

TEST(XmlReader, MalformedTextIsInvalidFileFormat)
{
    const char* bad[] = {
        "<a/>",                                  // no declaration
        "",                                      // nothing
        "<?xml version=\"1.0\"?><a></b>",        // another element closed
        "<?xml version=\"1.0\"?><a x=\"<\"/>",   // '<' inside a tag
        "<?xml version=\"1.0\"?><a><b x=\"1\"",  // end inside a tag
    };
    for (const char* text : bad) {
        TfsXMLDocument doc;
        EXPECT_EQ(scripttest::ErrorOf([&] { doc.LoadFromText(text); }), "Invalid file format") << text;
    }
    // What was read before the error stays.
    TfsXMLDocument doc;
    EXPECT_EQ(scripttest::ErrorOf([&] { doc.LoadFromText("<?xml version=\"1.0\"?><a><b/><c></d>"); }), "Invalid file format");
    EXPECT_EQ(doc.Root().Name(), "a");
    EXPECT_EQ(doc.Root().Count(), 2);
}

TEST(XmlReader, StreamIsLeftAfterTheLastByteRead)
{
    std::istringstream in("<?xml version=\"1.0\"?><a><b/></a>TAIL");
    TfsXMLDocument doc;
    doc.LoadFromStream(in);
    EXPECT_EQ(doc.Root().Items(0).Name(), "b");
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "TAIL");
}

TEST(XmlWriter, WritesOneLineOrIndentedLines)
{
    TfsXMLDocument doc;
    TfsXMLItem& r = doc.Root();
    r.SetName("a");
    r.Add().SetName("b");
    r.Items(0).SetText("x=\"1\"");
    TfsXMLItem& c = r.Add();
    c.SetName("c");
    c.Add().SetName("d");
    EXPECT_EQ(doc.SaveToText(), "<?xml version=\"1.0\"?><a><b x=\"1\"/><c><d/></c></a>");
    doc.AutoIndent = true;
    EXPECT_EQ(doc.SaveToText(), "<?xml version=\"1.0\"?>\r\n"
                                "<a>\r\n"
                                "  <b x=\"1\"/>\r\n"
                                "  <c>\r\n"
                                "    <d/>\r\n"
                                "  </c>\r\n"
                                "</a>\r\n");
    // Attribute text is written as it is stored; a leading blank is not
    // doubled.
    r.Items(0).SetText(" y=\"2\"");
    doc.AutoIndent = false;
    EXPECT_EQ(doc.SaveToText(), "<?xml version=\"1.0\"?><a><b y=\"2\"/><c><d/></c></a>");
}

TEST(XmlWriter, RoundTripIsByteForByte)
{
    TfsXMLDocument doc;
    TfsXMLItem& r = doc.Root();
    r.SetName("program");
    for (int i = 0; i < 300; ++i) {
        TfsXMLItem& e = r.Add();
        e.SetName(i % 2 ? "string" : "node");
        std::string value = "'q\"<>\r\n&&#65;\xe0\xff " + std::to_string(i) + "'";
        e.SetText("text=\"" + script::XmlEscape(value) + "\" pos=\"" + std::to_string(i) + ":1\"");
        if (i % 7 == 0)
            e.Add().SetName("inner");
    }
    for (bool indent : {false, true}) {
        doc.AutoIndent = indent;
        std::string text = doc.SaveToText();
        TfsXMLDocument again;
        again.AutoIndent = indent;
        again.LoadFromText(text);
        EXPECT_EQ(again.SaveToText(), text);
        EXPECT_EQ(again.Root().Items(3).Prop("text"), "'q\"<>\r\n&&#65;\xe0\xff 3'");
        // Through a stream too, in blocks.
        std::ostringstream out;
        doc.SaveToStream(out);
        EXPECT_EQ(out.str(), text);
    }
}

TEST(XmlDocument, DeepTreesNeedNoDeepStack)
{
    const int depth = 100000;
    std::string text = "<?xml version=\"1.0\"?>";
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    text += "<b/>";
    TfsXMLDocument doc;
    doc.LoadFromText(text);
    TfsXMLItem* p = &doc.Root();
    int levels = 0;
    while (p->Count()) {
        p = &p->Items(0);
        ++levels;
    }
    EXPECT_EQ(levels, depth);
    EXPECT_EQ(p->Name(), "b");
    TfsXMLItem copy;
    copy.Assign(doc.Root());
    std::string written = doc.SaveToText();
    EXPECT_EQ(written.size(), 21 + (depth * 7) + 4);
}

TEST(XmlDocument, FilesWithCyrillicNames)
{
    testsupport::TempDir dir;
    // The name as a script writes it: code page 1251.
    std::string name = platform::utf8ToCp1251(dir.path()) + "\xe4\xe0\xed\xed\xfb\xe5.xml";
    TfsXMLDocument doc;
    doc.Root().SetName("r");
    TfsXMLItem& child = doc.Root().Add();
    child.SetName("c");
    child.SetText("t=\"\xcf\xf0\xe8\xe2\xe5\xf2\"");
    doc.SaveToFile(name);
    TfsXMLDocument back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.Root().Items(0).Prop("t"), "\xcf\xf0\xe8\xe2\xe5\xf2");
    EXPECT_NE(scripttest::ErrorOf([&] { back.LoadFromFile(name + "x"); }).find("Cannot open file"), std::string::npos);
}
