// libFuzzer target: any bytes as an XML document of the engine's model.
// Reading may fail only with "Invalid file format"; whatever was read can be
// written, copied (the copy writes the same text) and searched.

#include "script/script_error.h"
#include "script/xml/xml_document.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    script::TfsXMLDocument doc;
    try {
        doc.LoadFromText(text);
    } catch (const script::ScriptError& e) {
        if (std::strcmp(e.what(), "Invalid file format") != 0)
            std::abort();
    }
    for (bool indent : {false, true}) {
        doc.AutoIndent = indent;
        std::string written = doc.SaveToText();
        script::TfsXMLDocument copy;
        copy.AutoIndent = indent;
        copy.Root().Assign(doc.Root());
        if (copy.SaveToText() != written)
            std::abort();
        script::TfsXMLDocument again;
        try {
            again.LoadFromText(written);
        } catch (const script::ScriptError&) {
            // A text ending in '/' reads back as an element without
            // children: the format cannot say more.
        }
    }
    std::vector<const script::TfsXMLItem*> pending{&doc.Root()};
    while (!pending.empty()) {
        const script::TfsXMLItem* e = pending.back();
        pending.pop_back();
        try {
            (void)e->Prop("text");
            (void)e->Prop("pos");
        } catch (const script::ScriptError&) {
            // A reference whose digits are no number.
        }
        (void)e->Find("a");
        for (int i = 0; i < e->Count(); ++i)
            pending.push_back(&e->Items(i));
    }
    return 0;
}
