// The four grammars as the engine holds them (their tables), the language
// registry, and the grammar format's own rules on small grammars of their
// own.

#include "script/il/il_vocabulary.h"
#include "script/parser/il_parser.h"
#include "script/parser/language_registry.h"
#include "script/parser/lexical_parser.h"
#include "script/script_error.h"
#include "script/xml/xml_document.h"
#include "tests/script/il_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

struct Tables {
    std::string rootText;
    std::map<std::string, std::string> settings;
    std::vector<std::string> keywords;
    std::map<std::string, std::string> errors;
    std::map<std::string, std::string> types;
};

Tables tablesOf(const std::string& language)
{
    script::TfsXMLDocument doc;
    doc.LoadFromText(script::GetLanguageGrammar(language));
    Tables t;
    const script::TfsXMLItem& root = doc.Root();
    EXPECT_EQ(root.Name(), "language");
    t.rootText = root.Prop("text");
    // Children in this order: parser, types, then the rules.
    EXPECT_EQ(root.Items(0).Name(), "parser");
    EXPECT_EQ(root.Items(1).Name(), "types");
    const script::TfsXMLItem& parser = root.Items(0);
    for (int i = 0; i < parser.Count(); ++i) {
        const script::TfsXMLItem& s = parser.Items(i);
        if (s.Name() == "keywords") {
            for (int k = 0; k < s.Count(); ++k)
                t.keywords.push_back(s.Items(k).Name());
        } else if (s.Name() == "errors") {
            for (int k = 0; k < s.Count(); ++k)
                t.errors[s.Items(k).Name()] = s.Items(k).Prop("text");
        } else {
            t.settings[s.Name()] = s.Prop("text");
        }
    }
    const script::TfsXMLItem& types = root.Items(1);
    for (int i = 0; i < types.Count(); ++i)
        t.types[types.Items(i).Name()] = types.Items(i).Prop("type");
    return t;
}

std::vector<std::string> words(const std::string& list)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < list.size()) {
        std::size_t e = list.find(", ", i);
        if (e == std::string::npos)
            e = list.size();
        out.push_back(list.substr(i, e - i));
        i = e + 2;
    }
    return out;
}

const std::map<std::string, std::string> kCommonErrors = {
    {"err1", "Identifier expected"}, {"err2", "Expression expected"}, {"err4", "':' expected"},
    {"err7", "')' expected"},        {"err8", "']' expected"},        {"err20", "'>' expected"},
};

std::map<std::string, std::string> withCommon(std::map<std::string, std::string> own)
{
    own.insert(kCommonErrors.begin(), kCommonErrors.end());
    return own;
}

} // namespace

TEST(Grammars, RegisteredInOrder)
{
    std::vector<std::string> names = script::LanguageNames();
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
              (std::vector<std::string>{"BasicScript", "JScript", "C++Script", "PascalScript"}));
    EXPECT_EQ(script::GetLanguageGrammar("pascalscript"), script::GetLanguageGrammar("PascalScript"));
    EXPECT_EQ(scripttest::ErrorOf([] { script::GetLanguageGrammar("Fortran"); }), "Language 'Fortran' not found");
    // The first registration wins.
    std::string pascal = script::GetLanguageGrammar("PascalScript");
    script::RegisterLanguage("PASCALSCRIPT", "<?xml version=\"1.0\"?><language/>");
    EXPECT_EQ(script::GetLanguageGrammar("PascalScript"), pascal);
}

TEST(Grammars, PascalTables)
{
    Tables t = tablesOf("PascalScript");
    EXPECT_EQ(t.rootText, "");
    EXPECT_EQ(t.settings, (std::map<std::string, std::string>{{"commentline1", "//"},
                                                               {"commentblock1", "{,}"},
                                                               {"commentblock2", "(*,*)"},
                                                               {"stringquotes", "'"},
                                                               {"hexsequence", "$"}}));
    EXPECT_EQ(t.keywords, words("and, array, begin, break, case, const, continue, div, do, downto, else, end, "
                                "except, exit, finally, for, function, goto, if, in, is, label, mod, not, of, or, "
                                "procedure, program, repeat, shl, shr, then, to, try, until, uses, var, while, with, "
                                "xor"));
    EXPECT_EQ(t.errors, withCommon({{"err5", "';' expected"},
                                    {"err6", "'.' expected"},
                                    {"err9", "'=' expected"},
                                    {"err10", "'BEGIN' expected"},
                                    {"err11", "'END' expected"},
                                    {"err12", "'OF' expected"},
                                    {"err13", "'THEN' expected"},
                                    {"err14", "'UNTIL' expected"},
                                    {"err15", "'TO' or 'DOWNTO' expected"},
                                    {"err16", "'DO' expected"},
                                    {"err17", "'FINALLY' or 'EXCEPT' expected"},
                                    {"err18", "'[' expected"}}));
    EXPECT_TRUE(t.types.empty());
}

TEST(Grammars, BasicTables)
{
    Tables t = tablesOf("BasicScript");
    EXPECT_EQ(t.rootText, "BasicScript");
    EXPECT_EQ(t.settings, (std::map<std::string, std::string>{{"commentline1", "'"},
                                                               {"commentline2", "rem"},
                                                               {"commentblock1", "/\\,/\\"},
                                                               {"commentblock2", "/\\,/\\"},
                                                               {"stringquotes", "\""},
                                                               {"hexsequence", "0x"},
                                                               {"declarevars", "0"},
                                                               {"skipeol", "0"},
                                                               {"skipchar", "_"}}));
    EXPECT_EQ(t.keywords, words("addressof, and, as, byref, byval, case, catch, delete, dim, do, else, elseif, end, "
                                "endif, exit, finally, for, function, if, imports, is, loop, mod, new, next, not, or, "
                                "rem, return, select, set, step, sub, then, to, try, wend, while, with, xor"));
    EXPECT_EQ(t.errors, withCommon({{"err3", "End of line expected"},
                                    {"err9", "'=' expected"},
                                    {"err10", "'TO' expected"},
                                    {"err11", "'END' expected"},
                                    {"err13", "'THEN' expected"},
                                    {"err14", "'WHILE' expected"},
                                    {"err15", "'CASE' expected"},
                                    {"err16", "'SELECT' expected"},
                                    {"err17", "'FINALLY' or 'CATCH' expected"},
                                    {"err21", "'WEND' expected"},
                                    {"err22", "'NEXT' expected"},
                                    {"err23", "'WITH' expected"},
                                    {"err24", "'TRY' expected"},
                                    {"err25", "'SUB' expected"},
                                    {"err26", "'FUNCTION' expected"},
                                    {"err27", "'ELSE' expected"},
                                    {"err28", "'IF' expected"}}));
    EXPECT_EQ(t.types, (std::map<std::string, std::string>{{"decimal", "extended"}}));
}

TEST(Grammars, JScriptTables)
{
    Tables t = tablesOf("JScript");
    EXPECT_EQ(t.rootText, "JScript");
    EXPECT_EQ(t.settings, (std::map<std::string, std::string>{{"commentline1", "//"},
                                                               {"commentblock1", "/*,*/"},
                                                               {"commentblock2", "/*,*/"},
                                                               {"stringquotes", "\""},
                                                               {"hexsequence", "0x"},
                                                               {"declarevars", "0"}}));
    EXPECT_EQ(t.keywords, words("break, case, continue, default, delete, do, else, except, finally, for, function, "
                                "import, in, is, if, new, return, switch, try, var, while, with"));
    EXPECT_EQ(t.errors, withCommon({{"err5", "';' expected"},
                                    {"err10", "'{' expected"},
                                    {"err11", "'}' expected"},
                                    {"err12", "'(' expected"},
                                    {"err14", "'WHILE' expected"},
                                    {"err17", "'FINALLY' or 'EXCEPT' expected"}}));
    EXPECT_TRUE(t.types.empty());
}

TEST(Grammars, CppTables)
{
    Tables t = tablesOf("C++Script");
    EXPECT_EQ(t.rootText, "");
    EXPECT_EQ(t.settings, (std::map<std::string, std::string>{{"commentline1", "//"},
                                                               {"commentblock1", "/*,*/"},
                                                               {"commentblock2", "/*,*/"},
                                                               {"stringquotes", "\""},
                                                               {"hexsequence", "0x"}}));
    EXPECT_EQ(t.keywords, words("break, case, continue, define, default, delete, do, else, except, finally, for, "
                                "in, is, if, new, return, switch, try, while"));
    EXPECT_EQ(t.errors, withCommon({{"err5", "';' expected"},
                                    {"err10", "'{' expected"},
                                    {"err11", "'}' expected"},
                                    {"err12", "'(' expected"},
                                    {"err13", "'DEFINE' expected"},
                                    {"err14", "'WHILE' expected"},
                                    {"err17", "'FINALLY' or 'EXCEPT' expected"}}));
    EXPECT_EQ(t.types, (std::map<std::string, std::string>{
                           {"int", "integer"}, {"long", "integer"}, {"void", "integer"}, {"bool", "boolean"},
                           {"float", "extended"}}));
}

TEST(Grammars, WriteOnlyTheVocabularyOfTheIntermediateLanguage)
{
    // Every element a grammar writes, and every operator text, is one the
    // program builder knows; every error a rule names is defined and every
    // rule it names exists.
    const std::string kinds = " char keyword ident number string frstring eol sequence switch optionalswitch loop "
                              "optionalloop optional ";
    for (const char* language : {"PascalScript", "BasicScript", "JScript", "C++Script"}) {
        script::TfsXMLDocument doc;
        doc.LoadFromText(script::GetLanguageGrammar(language));
        const script::TfsXMLItem& root = doc.Root();
        std::function<void(const script::TfsXMLItem&)> walk = [&](const script::TfsXMLItem& e) {
            for (const char* attr : {"node", "add"}) {
                std::string v = e.Prop(attr);
                if (!v.empty()) {
                    EXPECT_NE(script::il::TagOf(v), script::il::Tag::Unknown) << language << " " << v;
                }
            }
            if (e.Prop("add") == "op") {
                std::string op = e.Prop("addtext").empty() ? e.Prop("text") : e.Prop("addtext");
                EXPECT_NE(script::il::OperatorOf(op), script::il::Operator::Unknown) << language << " " << op;
            }
            std::string err = e.Prop("err");
            if (!err.empty()) {
                EXPECT_GE(root.Items(0).FindItem("errors").Find(err), 0) << language << " " << err;
            }
            if (kinds.find(" " + e.Name() + " ") == std::string::npos && e.Parent() != &root) {
                EXPECT_GE(root.Find(e.Name()), 0) << language << " rule " << e.Name();
            }
            for (int i = 0; i < e.Count(); ++i)
                walk(e.Items(i));
        };
        for (int i = 2; i < root.Count(); ++i)
            walk(root.Items(i));
        EXPECT_GE(root.Find("program"), 0);
        EXPECT_GE(root.Find("empty"), 0);
    }
}

TEST(Grammars, Vocabulary)
{
    using script::il::Tag;
    for (int t = 1; t <= static_cast<int>(Tag::Addr); ++t) {
        Tag tag = static_cast<Tag>(t);
        EXPECT_EQ(script::il::TagOf(script::il::TagName(tag)), tag);
    }
    EXPECT_EQ(script::il::TagOf("AssignStmt"), Tag::AssignStmt);
    EXPECT_EQ(script::il::TagOf("nonsense"), Tag::Unknown);
    EXPECT_EQ(script::il::OperatorOf("UnMinus"), script::il::Operator::UnMinus);
    EXPECT_EQ(script::il::OperatorText(script::il::Operator::NotEq), "<>");
}

// --- the grammar format, on grammars of its own ----------------------------------

namespace {

void registerOnce(const char* name, const char* rules)
{
    script::RegisterLanguage(name, std::string("<?xml version=\"1.0\"?><language><parser><errors>"
                                               "<e1 text=\"first\"/><e2 text=\"second\"/></errors>"
                                               "<keywords><stop/></keywords></parser><types/>") +
                                       rules + "</language>");
}

} // namespace

TEST(GrammarFormat, ALoopDiscardsOnlyErrorsOfItsOwn)
{
    // "!" followed by no identifier records "first"; the loop that follows
    // may discard what it raises itself, but not that.
    registerOnce("TestDiscard", "<program><optional><char text=\"!\"/><ident err=\"e1\"/></optional>"
                                "<char text=\"!\"/><loop text=\",\" skip=\"1\"><number add=\"number\" err=\"e2\"/>"
                                "</loop></program>");
    scripttest::Analysis a = scripttest::Analyse("TestDiscard", "! 1, 2, x");
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.errors.ErrorText, "first");
    EXPECT_EQ(a.errors.ErrorPosition, "1:3");
    a = scripttest::Analyse("TestDiscard", "!! 1, 2, x");
    EXPECT_FALSE(a.ok); // "x" is left: the loop's own error went, the text is not all read
    a = scripttest::Analyse("TestDiscard", "! 1, 2,");
    EXPECT_FALSE(a.ok);
}

TEST(GrammarFormat, NodesAddsAndTerms)
{
    // node on a sequence wraps nothing; add after node; add on a
    // reference carries no token; term lets a loop end on a failure.
    registerOnce("TestNodes", "<empty/>"
                              "<program><sequence node=\"seq\"><keyword text=\"go\" node=\"kw\" add=\"word\"/>"
                              "</sequence><item node=\"wrap\"/><empty add=\"mark\"/>"
                              "<loop><ident add=\"ident\" err=\"e1\" term=\"1\"/></loop><keyword text=\"STOP\"/>"
                              "</program><item><number add=\"number\"/></item>");
    scripttest::Analysis a = scripttest::Analyse("TestNodes", "GO 42 a b stop");
    ASSERT_TRUE(a.ok) << a.errors.ErrorText;
    EXPECT_EQ(a.brief, "program(seq kw word:GO wrap(number:42) mark: ident:a ident:b)");
    // A required word of another letter case, and a term error that ends
    // the loop when nothing else is wrong.
    a = scripttest::Analyse("TestNodes", "go 1 a stop");
    EXPECT_TRUE(a.ok);
    a = scripttest::Analyse("TestNodes", "go 1 stop");
    EXPECT_FALSE(a.ok); // a single failed iteration keeps its error
    EXPECT_EQ(a.errors.ErrorText, "first");
}

TEST(GrammarFormat, BrokenGrammars)
{
    registerOnce("TestMissingRule", "<program><char text=\";\"/><nothere/></program>");
    EXPECT_EQ(scripttest::ErrorOf([] { scripttest::Analyse("TestMissingRule", ";"); }), "Invalid language definition");
    // Not reached: no error.
    EXPECT_FALSE(scripttest::Analyse("TestMissingRule", "x").ok);
    registerOnce("TestNoProgram", "<start/>");
    EXPECT_EQ(scripttest::ErrorOf([] { scripttest::Analyse("TestNoProgram", "x"); }), "Invalid language definition");
    script::RegisterLanguage("TestNotXml", "language");
    EXPECT_EQ(scripttest::ErrorOf([] { scripttest::Analyse("TestNotXml", "x"); }), "Invalid file format");
}

TEST(GrammarFormat, SettingsOfAGrammarAndThoseItLeavesAlone)
{
    // identchars replaces the identifier set; what a grammar does not name
    // keeps the value of the grammar chosen before it.
    script::RegisterLanguage("TestIdent", "<?xml version=\"1.0\"?><language><parser>"
                                          "<identchars text=\"ab\"/><skipeol text=\"1\"/></parser><types/>"
                                          "<program><loop><ident add=\"ident\"/></loop></program></language>");
    EXPECT_EQ(scripttest::Analyse("TestIdent", "ab ba c").errors.ErrorText, "Statement expected");
    EXPECT_EQ(scripttest::Analyse("TestIdent", "ab ba").brief, "program(ident:ab ident:ba)");
    // Chosen after the Basic-like language, which set "rem" and "_".
    script::ScriptErrors errors;
    script::TfsILParser p(errors);
    p.UseLanguage("BasicScript");
    ASSERT_TRUE(p.BuildIntermediate("#language TestIdent\r\nab _\r\n ba rem bb\r\n"));
    EXPECT_EQ(scripttest::Brief(p.ILDocument().Root()), "program(ident:ab ident:ba)");
    EXPECT_FALSE(p.DeclareVars());
}
