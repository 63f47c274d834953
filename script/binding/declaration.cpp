#include "script/binding/declaration.h"

#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"
#include "script/il/number_literal.h"
#include "script/parser/lexical_parser.h"
#include "script/program/entries.h"
#include "script/program/script.h"
#include "script/script_error.h"

#include <cctype>

namespace script {

using platform::Variant;

namespace {

[[noreturn]] void invalid(std::string_view text, const char* why)
{
    throw ScriptError("Invalid declaration: \"" + std::string(text) + "\": " + why);
}

// The punctuation character at the parser's position, read; 0 when none.
char readPunct(TfsParser& p)
{
    p.SkipBlanks();
    std::string c = p.ReadPunct();
    return c.empty() ? '\0' : c[0];
}

char peekPunct(TfsParser& p)
{
    p.SkipBlanks();
    char c = p.At(p.Position());
    return TfsParser::IsPunct(c) ? c : '\0';
}

Variant defaultOf(TfsParser& p, const TfsScript& scope)
{
    p.SkipBlanks();
    char c = p.At(p.Position());
    if (c == '\'') {
        std::string quoted = p.ReadString();
        return Variant(std::string_view(quoted).substr(1, quoted.size() - 2));
    }
    if (c == '-' || c == '+') {
        p.ReadPunct();
        Variant v = defaultOf(p, scope);
        if (c == '-')
            v = v.isFloat() ? Variant(-v.toDouble()) : Variant(static_cast<int>(-v.toInt64()));
        return v;
    }
    std::string number = p.ReadNumber();
    if (!number.empty()) {
        Variant v;
        if (il::NumberLiteralValue(number, v))
            return v;
        return Variant::null();
    }
    std::string name = p.ReadIdent();
    if (!name.empty())
        if (const TfsCustomVariable* e = scope.Find(name); e && e->IsReadOnly && e->kind() == TfsCustomVariable::Kind::Variable)
            return e->Value;
    return Variant::null();
}

// The identifier after the last colon of the text.
std::string resultTypeOf(std::string_view text)
{
    std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos)
        return {};
    std::size_t b = colon + 1;
    while (b < text.size() && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    std::size_t e = b;
    while (e < text.size() && (std::isalnum(static_cast<unsigned char>(text[e])) || text[e] == '_'))
        ++e;
    return std::string(text.substr(b, e - b));
}

} // namespace

TfsDeclaration ParseDeclaration(std::string_view text, const TfsScript& scope)
{
    TfsDeclaration d;
    TfsParser p;
    p.SetText(text);
    d.kind = platform::lowerAscii(p.ReadWord());
    if (d.kind.empty())
        invalid(text, "no first word");
    d.isFunction = d.kind == "function";
    d.name = p.ReadIdent();
    if (d.name.empty())
        invalid(text, "no name");
    if (d.isFunction) {
        d.resultType = resultTypeOf(text);
        if (d.resultType.empty())
            invalid(text, "a function needs a result type");
    }
    if (peekPunct(p) != '(')
        return d;
    readPunct(p);
    if (peekPunct(p) == ')')
        return d;
    for (;;) {
        TfsDeclaredParam proto;
        std::string word = p.ReadWord();
        std::string lower = platform::lowerAscii(word);
        std::vector<std::string> names;
        if (lower == "var" || lower == "out")
            proto.byRef = true;
        else if (lower != "const")
            names.push_back(word);
        if (names.empty()) {
            std::string first = p.ReadIdent();
            if (first.empty())
                invalid(text, "parameter name expected");
            names.push_back(first);
        }
        while (peekPunct(p) == ',') {
            readPunct(p);
            std::string next = p.ReadIdent();
            if (next.empty())
                invalid(text, "parameter name expected");
            names.push_back(next);
        }
        if (readPunct(p) != ':')
            invalid(text, "':' expected");
        proto.typeName = p.ReadIdent();
        if (proto.typeName.empty())
            invalid(text, "type expected");
        bool hasDefault = false;
        Variant def = Variant::null();
        if (peekPunct(p) == '=') {
            readPunct(p);
            hasDefault = true;
            def = defaultOf(p, scope);
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            TfsDeclaredParam param = proto;
            param.name = names[i];
            if (i + 1 == names.size()) {
                param.hasDefault = hasDefault;
                param.defaultValue = def;
            }
            d.params.push_back(std::move(param));
        }
        char sep = readPunct(p);
        if (sep == ')')
            break;
        if (sep != ';')
            invalid(text, "';' or ')' expected");
    }
    return d;
}

TfsVarType ResolveTypeName(std::string_view name, const TfsScript& scope, std::string& typeName)
{
    if (const TfsCustomVariable* e = scope.Find(name); e && e->kind() == TfsCustomVariable::Kind::Type) {
        typeName = e->Type == fvtEnum ? e->TypeName : e->Name;
        return e->Type;
    }
    if (const TfsCustomVariable* e = scope.Find(name); e && e->kind() == TfsCustomVariable::Kind::Class) {
        typeName = e->Name;
        return fvtClass;
    }
    typeName = std::string(name);
    return fvtClass;
}

void AddDeclaredParams(TfsCustomVariable& member, const TfsDeclaration& decl, const TfsScript& scope)
{
    for (const TfsDeclaredParam& dp : decl.params) {
        std::string typeName;
        TfsVarType t = ResolveTypeName(dp.typeName, scope, typeName);
        auto param = std::make_unique<TfsParamItem>(dp.name, t, typeName, dp.byRef, dp.hasDefault, dp.defaultValue);
        param->Value = dp.hasDefault ? dp.defaultValue : Variant::null();
        member.AddParam(std::move(param));
    }
}

} // namespace script
