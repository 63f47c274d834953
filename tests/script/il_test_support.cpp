#include "tests/script/il_test_support.h"

#include "script/parser/script_text.h"
#include "script/script_error.h"

namespace scripttest {

std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const script::ScriptError& e) {
        return e.what();
    }
    return {};
}

std::string Brief(const script::TfsXMLItem& item)
{
    std::string out = item.Name();
    std::string_view raw;
    if (item.RawProp("text", raw))
        out += ":" + item.Prop("text");
    std::string inner;
    if (item.Count()) {
        bool first = true;
        for (int i = 0; i < item.Count(); ++i) {
            const script::TfsXMLItem& c = item.Items(i);
            if (item.Parent() == nullptr && c.Name() == "types")
                continue;
            if (!first)
                inner += ' ';
            first = false;
            inner += Brief(c);
        }
    }
    if (!inner.empty())
        out += "(" + inner + ")";
    return out;
}

Analysis Analyse(std::string_view language, std::string_view text, std::string_view unitFolder)
{
    Analysis a;
    script::TfsILParser parser(a.errors);
    parser.UseLanguage(language);
    parser.SetUnitFolder(unitFolder);
    a.ok = parser.BuildIntermediate(script::NormalizeLineEnds(text));
    if (a.ok)
        a.brief = Brief(parser.ILDocument().Root());
    return a;
}

} // namespace scripttest
