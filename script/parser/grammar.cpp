#include "script/parser/grammar.h"

#include "platform/text/cp1251.h"
#include "script/parser/language_registry.h"
#include "script/script_error.h"
#include "script/xml/xml_document.h"
#include "script/xml/xml_escape.h"

#include <map>
#include <mutex>

namespace script {

namespace {

ItemKind kindOf(std::string_view lowerName) noexcept
{
    static const std::pair<std::string_view, ItemKind> kinds[] = {
        {"char", ItemKind::Char},
        {"keyword", ItemKind::Keyword},
        {"ident", ItemKind::Ident},
        {"number", ItemKind::Number},
        {"string", ItemKind::String},
        {"frstring", ItemKind::FrString},
        {"eol", ItemKind::Eol},
        {"sequence", ItemKind::Sequence},
        {"switch", ItemKind::Switch},
        {"optionalswitch", ItemKind::OptionalSwitch},
        {"loop", ItemKind::Loop},
        {"optionalloop", ItemKind::OptionalLoop},
        {"optional", ItemKind::Optional},
    };
    for (const auto& [name, kind] : kinds)
        if (name == lowerName)
            return kind;
    return ItemKind::Reference;
}

class Compiler {
public:
    explicit Compiler(Grammar& g) : g_(g) {}

    void parserSettings(const TfsXMLItem& parser)
    {
        for (int i = 0; i < parser.Count(); ++i) {
            const TfsXMLItem& s = parser.Items(i);
            const std::string name = platform::lowerCp1251(s.Name());
            if (name == "keywords") {
                for (int k = 0; k < s.Count(); ++k)
                    g_.keywords.push_back(s.Items(k).Name());
                continue;
            }
            if (name == "errors") {
                for (int k = 0; k < s.Count(); ++k) {
                    errorNames_.push_back(s.Items(k).Name());
                    g_.errors.push_back(s.Items(k).Prop("text"));
                }
                continue;
            }
            const std::string value = s.Prop("text");
            if (name == "identchars")
                g_.identChars = value;
            else if (name == "commentline1")
                g_.commentLine1 = value;
            else if (name == "commentline2")
                g_.commentLine2 = value;
            else if (name == "commentblock1")
                g_.commentBlock1 = value;
            else if (name == "commentblock2")
                g_.commentBlock2 = value;
            else if (name == "stringquotes")
                g_.stringQuotes = value;
            else if (name == "hexsequence")
                g_.hexSequence = value;
            else if (name == "skipchar")
                g_.skipChar = value;
            else if (name == "declarevars")
                g_.declareVars = value != "0";
            else if (name == "skipeol")
                g_.skipEol = value != "0";
        }
    }

    std::uint32_t item(const TfsXMLItem& e, bool isRule)
    {
        GrammarItem gi;
        const std::string lowerName = platform::lowerCp1251(e.Name());
        gi.kind = isRule ? ItemKind::Rule : kindOf(lowerName);
        gi.name = isRule || gi.kind == ItemKind::Reference ? lowerName : std::string();
        gi.text = platform::lowerCp1251(e.Prop("text"));
        gi.hasText = !gi.text.empty();
        const std::string skip = e.Prop("skip");
        gi.skipBlanks = !(gi.kind == ItemKind::Char && skip == "0");
        gi.discardErrors = skip == "1";
        gi.term = e.Prop("term") == "1";
        if (gi.kind == ItemKind::Char)
            gi.unless = e.Prop("unless");
        gi.node = e.Prop("node");
        gi.usesNode = platform::equalsIgnoreCaseCp1251(gi.node, "uses");
        gi.add = e.Prop("add");
        const std::string addText = e.Prop("addtext");
        gi.hasAddText = !addText.empty();
        gi.addTextEscaped = XmlEscape(addText);
        const std::string err = e.Prop("err");
        if (!err.empty())
            for (std::size_t k = 0; k < errorNames_.size(); ++k)
                if (platform::equalsIgnoreCaseCp1251(errorNames_[k], err)) {
                    gi.err = static_cast<std::int32_t>(k);
                    break;
                }
        const auto index = static_cast<std::uint32_t>(g_.items.size());
        g_.items.push_back(std::move(gi));
        std::vector<std::uint32_t> kids;
        kids.reserve(static_cast<std::size_t>(e.Count()));
        for (int i = 0; i < e.Count(); ++i)
            kids.push_back(item(e.Items(i), false));
        GrammarItem& self = g_.items[index];
        self.first = static_cast<std::uint32_t>(g_.children.size());
        self.count = static_cast<std::uint32_t>(kids.size());
        g_.children.insert(g_.children.end(), kids.begin(), kids.end());
        return index;
    }

    void resolve(const std::map<std::string, std::uint32_t>& rules)
    {
        for (GrammarItem& gi : g_.items)
            if (gi.kind == ItemKind::Reference) {
                auto it = rules.find(gi.name);
                gi.target = it == rules.end() ? -1 : static_cast<std::int32_t>(it->second);
            }
    }

    // Whether an item, when it succeeds, has ended with a token of its own
    // rather than with something that may stop anywhere.
    bool endsClosed(std::uint32_t index, std::vector<bool>& visiting) const
    {
        const GrammarItem& gi = g_.items[index];
        switch (gi.kind) {
        case ItemKind::Char:
        case ItemKind::Keyword:
        case ItemKind::Ident:
        case ItemKind::Number:
        case ItemKind::String:
        case ItemKind::FrString:
        case ItemKind::Eol:
            return true;
        case ItemKind::Reference:
            if (gi.target < 0 || visiting[static_cast<std::size_t>(gi.target)])
                return false;
            return endsClosed(static_cast<std::uint32_t>(gi.target), visiting);
        case ItemKind::Rule:
        case ItemKind::Sequence: {
            if (gi.count == 0)
                return false;
            visiting[index] = true;
            bool closed = endsClosed(g_.children[gi.first + gi.count - 1], visiting);
            visiting[index] = false;
            return closed;
        }
        case ItemKind::Switch: {
            if (gi.count == 0)
                return false;
            visiting[index] = true;
            bool closed = true;
            for (std::uint32_t k = 0; k < gi.count && closed; ++k)
                closed = endsClosed(g_.children[gi.first + k], visiting);
            visiting[index] = false;
            return closed;
        }
        default:
            return false;
        }
    }

private:
    Grammar& g_;
    std::vector<std::string> errorNames_;
};

} // namespace

std::unique_ptr<Grammar> Grammar::Compile(std::string_view grammarText)
{
    TfsXMLDocument doc;
    doc.LoadFromText(grammarText);
    const TfsXMLItem& root = doc.Root();
    auto g = std::make_unique<Grammar>();
    Compiler c(*g);
    for (int i = 0; i < root.Count(); ++i)
        if (platform::equalsIgnoreCaseCp1251(root.Items(i).Name(), "parser"))
            c.parserSettings(root.Items(i));
    int types = root.Find("types");
    if (types >= 0)
        g->types.Assign(root.Items(types));
    // Every child of the root can be named as a rule; the first of a name
    // wins.
    std::map<std::string, std::uint32_t> rules;
    for (int i = 0; i < root.Count(); ++i) {
        std::uint32_t index = c.item(root.Items(i), true);
        rules.emplace(g->items[index].name, index);
    }
    c.resolve(rules);
    auto program = rules.find("program");
    if (program != rules.end()) {
        g->program = static_cast<std::int32_t>(program->second);
        std::vector<bool> visiting(g->items.size());
        g->programEndsClosed = c.endsClosed(program->second, visiting);
    }
    return g;
}

const Grammar& Grammar::ForLanguage(std::string_view name)
{
    static std::mutex lock;
    static std::map<std::string, std::unique_ptr<Grammar>> compiled;
    const std::string key = platform::lowerCp1251(name);
    {
        std::lock_guard guard(lock);
        auto it = compiled.find(key);
        if (it != compiled.end())
            return *it->second;
    }
    std::unique_ptr<Grammar> g = Compile(GetLanguageGrammar(name));
    std::lock_guard guard(lock);
    auto [it, added] = compiled.emplace(key, std::move(g));
    return *it->second;
}

} // namespace script
