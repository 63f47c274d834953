#include "script/parser/il_parser.h"

#include "platform/system/large_stack.h"
#include "script/binding/file_access.h"
#include "platform/text/cp1251.h"
#include "script/parser/grammar.h"
#include "script/parser/lexical_parser.h"
#include "script/parser/script_text.h"
#include "script/script_error.h"
#include "script/xml/xml_escape.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace script {

namespace {

// How deep the grammar interpreter may recurse: ten thousand levels of
// nested statements take a few hundred thousand items, so a million is
// far beyond any script, and the builder and the interpreter can still
// handle what it read. It also stops where the stack it runs on (a large
// one of its own) runs short.
constexpr int kMaxDepth = 1000000;
constexpr std::size_t kStackLeft = std::size_t(1) << 20;

const char* const kStatementExpected = "Statement expected";
const char* const kNestingTooDeep = "Nesting too deep";


// One output line: a start tag, an end tag or an empty element. Names point
// at grammar texts or literals, which live for the process; attribute texts
// live in the analyser's arena.
struct Line {
    enum Kind : unsigned char { Open, Close, Leaf };
    Kind kind;
    std::string_view name;
    std::size_t textStart;
    std::size_t textLen;
    std::size_t tokenStart; // where the token of a Leaf began
};

// What the analysers of one compilation share: the units being analysed
// (to stop a unit that includes itself), the nesting depth, and how unit
// files are read.
struct Session {
    std::vector<std::filesystem::path> openUnits;
    // Units already read in this compilation: naming one again adds nothing.
    std::vector<std::filesystem::path> loadedUnits;
    int depth = 0;
    std::uintptr_t stackFloor = 0;
    // Set when the nesting went too deep: every item fails from then on,
    // and the analysis unwinds without an exception (an exception thrown
    // that deep would leave the address sanitizer's view of the stack
    // stale).
    bool aborted = false;
    TfsILParser::UnitReader readUnit;
};

std::string readUnitFile(const std::string& path)
{
    if (!FileAccessAllowed(false))
        throw ScriptError(platform::utf8ToCp1251("File access denied: " + path));
    // Only a regular file of sane size: a device or a pipe named as a unit
    // would never end, or never answer.
    std::string bytes, error;
    if (!ReadScriptFile(path, bytes, &error))
        throw ScriptError(platform::utf8ToCp1251(error));
    return bytes;
}

bool equalsLower(std::string_view token, std::string_view lower) noexcept
{
    if (token.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < token.size(); ++i)
        if (platform::lowerCp1251(token[i]) != lower[i])
            return false;
    return true;
}

} // namespace

struct TfsILParser::Impl {
    explicit Impl(ScriptErrors& s) : script(s) {}

    ScriptErrors& script;
    TfsParser lex;
    const Grammar* g = nullptr;
    std::string language;
    bool declareVars = true;
    std::string unitName;
    std::filesystem::path unitFolder;
    TfsXMLDocument il;

    std::vector<Line> lines;
    std::string arena;
    std::string token; // scratch for tokens that are not plain text spans

    bool errRecorded = false;
    bool errTerm = false;
    std::uint64_t errSerial = 0, serials = 0;
    std::string errText, errPos, errUnit;

    Session ownSession;
    Session* session = &ownSession;

    void useLanguage(std::string_view name);
    bool analyse(std::string_view text);
    void buildDocument();

    bool parseItem(std::uint32_t index);
    bool parseChildren(const GrammarItem& it);
    bool parseLoop(const GrammarItem& it, std::size_t S, std::size_t N, std::size_t A);
    bool readTerminal(const GrammarItem& it, std::string_view& tok);
    void frString(const GrammarItem& it, std::string_view& tok);

    void report(const GrammarItem& it, std::size_t S);
    // Nesting too deep: stops the whole analysis (and its units').
    void abortTooDeep();
    std::string abortText, abortPos, abortUnit;
    void record(std::string text, std::string pos, std::string unit, bool term);
    std::size_t tokenStartFrom(std::size_t S);
    void truncate(std::size_t n, std::size_t a)
    {
        lines.resize(n);
        arena.resize(a);
    }

    // Output lines.
    std::size_t appendPos(std::size_t position)
    {
        std::size_t start = arena.size();
        arena += "pos=\"";
        lex.AppendPositionText(arena, position);
        arena += '"';
        return start;
    }
    void fillOpen(std::size_t at, std::string_view name, std::size_t position)
    {
        std::size_t start = appendPos(position);
        lines[at] = {Line::Open, name, start, arena.size() - start, 0};
    }
    void open(std::string_view name, std::size_t position)
    {
        lines.push_back({});
        fillOpen(lines.size() - 1, name, position);
    }
    void close(std::string_view name) { lines.push_back({Line::Close, name, arena.size(), 0, 0}); }
    // An empty element with text (already escaped) and pos.
    void leaf(std::string_view name, std::string_view escapedText, bool escape, std::size_t position,
              std::size_t tokenStart)
    {
        std::size_t start = arena.size();
        arena += "text=\"";
        if (escape)
            AppendXmlEscaped(arena, escapedText);
        else
            arena += escapedText;
        arena += "\" ";
        appendPos(position);
        lines.push_back({Line::Leaf, name, start, arena.size() - start, tokenStart});
    }
    void appendTree(const TfsXMLItem& item);

    // Units.
    void includeUnits(std::size_t N);
    void includeUnit(const std::string& fileName, std::size_t tokenStart);
};

// --- language -------------------------------------------------------------

void TfsILParser::Impl::useLanguage(std::string_view name)
{
    const Grammar& gr = Grammar::ForLanguage(name);
    language = name;
    g = &gr;
    lex.ClearKeywords();
    if (gr.identChars)
        lex.SetIdentChars(*gr.identChars);
    if (gr.commentLine1)
        lex.SetCommentLine1(*gr.commentLine1);
    if (gr.commentLine2)
        lex.SetCommentLine2(*gr.commentLine2);
    if (gr.commentBlock1)
        lex.SetCommentBlock1(*gr.commentBlock1);
    if (gr.commentBlock2)
        lex.SetCommentBlock2(*gr.commentBlock2);
    if (gr.stringQuotes)
        lex.SetStringQuote(gr.stringQuotes->empty() ? '\0' : (*gr.stringQuotes)[0]);
    if (gr.hexSequence)
        lex.SetHexSequence(*gr.hexSequence);
    if (gr.skipEol)
        lex.SetSkipEOL(*gr.skipEol);
    if (gr.skipChar)
        lex.SetSkipChar(gr.skipChar->empty() ? '\0' : (*gr.skipChar)[0]);
    if (gr.declareVars)
        declareVars = *gr.declareVars;
    for (const std::string& k : gr.keywords)
        lex.AddKeyword(k);
}

// --- errors ---------------------------------------------------------------

std::size_t TfsILParser::Impl::tokenStartFrom(std::size_t S)
{
    std::size_t saved = lex.Position();
    lex.SetPosition(S);
    lex.SkipBlanks();
    std::size_t p = lex.Position();
    lex.SetPosition(saved);
    return p;
}

void TfsILParser::Impl::record(std::string text, std::string pos, std::string unit, bool term)
{
    errRecorded = true;
    errText = std::move(text);
    errPos = std::move(pos);
    errUnit = std::move(unit);
    errTerm = term;
    errSerial = ++serials;
}

void TfsILParser::Impl::abortTooDeep()
{
    session->aborted = true;
    if (errRecorded) {
        abortText = errText;
        abortPos = errPos;
        abortUnit = errUnit;
    } else {
        abortText = kNestingTooDeep;
        abortPos = lex.PositionText(tokenStartFrom(lex.Position()));
        abortUnit.clear();
    }
}

void TfsILParser::Impl::report(const GrammarItem& it, std::size_t S)
{
    if (it.err < 0 || errRecorded)
        return;
    record(g->errors[static_cast<std::size_t>(it.err)], lex.PositionText(tokenStartFrom(S)), {}, it.term);
}

// --- the grammar interpreter ------------------------------------------------

bool TfsILParser::Impl::parseChildren(const GrammarItem& it)
{
    for (std::uint32_t k = 0; k < it.count; ++k)
        if (!parseItem(g->children[it.first + k]))
            return false;
    return true;
}

bool TfsILParser::Impl::readTerminal(const GrammarItem& it, std::string_view& tok)
{
    const std::string_view text = lex.Text();
    switch (it.kind) {
    case ItemKind::Char: {
        if (it.skipBlanks)
            lex.SkipBlanks();
        std::size_t p = lex.Position();
        char c = lex.At(p);
        if (p > lex.Length() || !TfsParser::IsPunct(c))
            return false;
        if (!it.unless.empty() && lex.Text().substr(p - 1, it.unless.size()) == it.unless)
            return false;
        lex.SetPosition(p + 1);
        tok = text.substr(p - 1, 1);
        break;
    }
    case ItemKind::Keyword:
    case ItemKind::Ident: {
        std::size_t n = it.kind == ItemKind::Keyword ? lex.ScanWord() : lex.ScanIdent();
        if (!n)
            return false;
        tok = text.substr(lex.TokenStart() - 1, n);
        break;
    }
    case ItemKind::Number: {
        std::size_t n = lex.ScanNumber();
        if (!n)
            return false;
        tok = lex.NumberText(n, token);
        break;
    }
    case ItemKind::String: {
        if (!lex.ScanString(token))
            return false;
        token.insert(token.begin(), '\'');
        token += '\'';
        tok = token;
        break;
    }
    default:
        return false;
    }
    return !it.hasText || equalsLower(tok, it.text);
}

// A report expression between angle brackets becomes a call of Get with the
// bracketed text as its argument.
void TfsILParser::Impl::frString(const GrammarItem& it, std::string_view& tok)
{
    token = lex.ReadBracketText();
    const std::size_t p = lex.Position();
    static constexpr std::string_view dsgn = "dsgn", node = "node", expr = "expr", str = "string";
    open(dsgn, p);
    leaf(node, "Get", false, p, p);
    open(expr, p);
    std::string quoted;
    quoted.reserve(token.size() + 2);
    quoted += '\'';
    quoted += token;
    quoted += '\'';
    leaf(str, quoted, true, p, p);
    close(expr);
    close(dsgn);
    tok = token;
}

bool TfsILParser::Impl::parseLoop(const GrammarItem& it, std::size_t S, std::size_t N, std::size_t A)
{
    const std::uint64_t serialAtStart = serials;
    int iterations = 0;
    bool lastOk = false;
    std::size_t W = S;
    for (;;) {
        const std::size_t I = lex.Position(), lineMark = lines.size(), arenaMark = arena.size();
        bool ok = parseChildren(it);
        ++iterations;
        if (!ok) {
            // A failed iteration takes back everything it read and wrote,
            // so an operator whose operand is missing is not left behind.
            lex.SetPosition(I);
            truncate(lineMark, arenaMark);
        }
        W = lex.Position();
        lastOk = ok;
        if (!ok)
            break;
        if (it.hasText) {
            lex.SkipBlanks();
            std::size_t p = lex.Position();
            if (p <= lex.Length() && TfsParser::IsPunct(lex.At(p)) &&
                it.text.size() == 1 && platform::lowerCp1251(lex.At(p)) == it.text[0]) {
                lex.SetPosition(p + 1);
            } else {
                lex.SetPosition(W);
                break;
            }
        }
        if (lex.Position() == I)
            break;
    }
    if (iterations >= 2) {
        lex.SetPosition(W);
        // Only an error raised inside this loop is the loop's to discard.
        if (errRecorded && errSerial > serialAtStart && (it.discardErrors || errTerm))
            errRecorded = false;
        return true;
    }
    if (lastOk)
        return true;
    if (it.kind == ItemKind::OptionalLoop) {
        lex.SetPosition(S);
        truncate(N, A);
        return true;
    }
    return false;
}

bool TfsILParser::Impl::parseItem(std::uint32_t index)
{
    if (session->aborted)
        return false;
    if (session->depth >= kMaxDepth || platform::StackPosition() < session->stackFloor) {
        abortTooDeep();
        return false;
    }
    struct Depth {
        explicit Depth(Session& s) : s_(s) { ++s_.depth; }
        ~Depth() { --s_.depth; }
        Session& s_;
    } depth(*session);

    const GrammarItem& it = g->items[index];
    const std::size_t S = lex.Position(), N = lines.size(), A = arena.size();

    switch (it.kind) {
    case ItemKind::Switch:
    case ItemKind::OptionalSwitch:
        for (std::uint32_t k = 0; k < it.count; ++k)
            if (parseItem(g->children[it.first + k]))
                return true;
        if (it.kind == ItemKind::OptionalSwitch)
            return true;
        report(it, S);
        lex.SetPosition(S);
        return false;
    case ItemKind::Loop:
    case ItemKind::OptionalLoop:
        return parseLoop(it, S, N, A);
    case ItemKind::Optional:
        if (!parseChildren(it)) {
            lex.SetPosition(S);
            truncate(N, A);
        }
        return true;
    default:
        break;
    }

    // A wrapper's start tag goes in front of what the item writes: keep
    // its place.
    const bool wraps = !it.node.empty() && !it.usesNode;
    if (wraps)
        lines.push_back({});

    bool matched = true;
    std::string_view tok;
    switch (it.kind) {
    case ItemKind::Rule:
    case ItemKind::Sequence:
        break;
    case ItemKind::FrString:
        frString(it, tok);
        matched = !tok.empty() && (!it.hasText || equalsLower(tok, it.text));
        break;
    case ItemKind::Eol:
        matched = lex.SkipLineEnd();
        break;
    case ItemKind::Reference:
        if (it.target < 0)
            throw ScriptError("Invalid language definition");
        matched = parseItem(static_cast<std::uint32_t>(it.target));
        break;
    default:
        matched = readTerminal(it, tok);
        break;
    }

    if (!matched) {
        report(it, S);
        lex.SetPosition(S);
        truncate(N, A);
        return false;
    }

    if (it.kind != ItemKind::Rule) {
        if (it.usesNode) {
            includeUnits(N);
        } else if (wraps) {
            fillOpen(N, it.node, tokenStartFrom(S));
            close(it.node);
        }
        if (!it.add.empty()) {
            const std::size_t tokenStart = lex.TokenStart();
            if (it.hasAddText)
                leaf(it.add, it.addTextEscaped, false, lex.Position(), tokenStart);
            else
                leaf(it.add, tok, true, lex.Position(), tokenStart);
        }
    }

    if (it.count && !parseChildren(it)) {
        report(it, S);
        lex.SetPosition(S);
        truncate(N, A);
        return false;
    }

    if (it.kind == ItemKind::Rule) {
        if (it.usesNode) {
            includeUnits(N);
        } else if (wraps) {
            fillOpen(N, it.node, tokenStartFrom(S));
            close(it.node);
        }
    }
    return true;
}

// --- units ------------------------------------------------------------------

void TfsILParser::Impl::appendTree(const TfsXMLItem& item)
{
    struct Step {
        const TfsXMLItem* item;
        int next;
    };
    auto start = [&](const TfsXMLItem& e) {
        std::size_t s = arena.size();
        arena += e.Text();
        lines.push_back({e.Count() ? Line::Open : Line::Leaf, e.Name(), s, arena.size() - s, 0});
    };
    start(item);
    if (!item.Count())
        return;
    std::vector<Step> open{{&item, 0}};
    while (!open.empty()) {
        Step& top = open.back();
        if (top.next == top.item->Count()) {
            close(top.item->Name());
            open.pop_back();
            continue;
        }
        const TfsXMLItem& child = top.item->Items(top.next++);
        start(child);
        if (child.Count())
            open.push_back({&child, 0});
    }
}

void TfsILParser::Impl::includeUnits(std::size_t N)
{
    // The names in the clause, last first: each unit is added after those
    // added before it, so units stand in the reverse order of their names.
    struct Named {
        std::string fileName;
        std::size_t tokenStart;
    };
    std::vector<Named> named;
    for (std::size_t i = lines.size(); i-- > N;) {
        const Line& l = lines[i];
        TfsXMLItem probe;
        probe.SetText(std::string_view(arena).substr(l.textStart, l.textLen));
        std::string quoted = probe.Prop("text");
        std::string name = quoted.size() >= 2 ? quoted.substr(1, quoted.size() - 2) : std::string();
        named.push_back({std::move(name), l.tokenStart});
    }
    lines.resize(N);
    for (const Named& n : named)
        includeUnit(n.fileName, n.tokenStart);
}

void TfsILParser::Impl::includeUnit(const std::string& fileName, std::size_t tokenStart)
{
    static constexpr std::string_view uses = "uses";
    auto openUses = [&] {
        std::size_t s = arena.size();
        arena += "unit=\"";
        AppendXmlEscaped(arena, fileName);
        arena += '"';
        lines.push_back({Line::Open, uses, s, arena.size() - s, 0});
    };
    auto failed = [&](std::string text, std::string pos, std::string unit) {
        if (!errRecorded)
            record(std::move(text), std::move(pos), std::move(unit), false);
        openUses();
        close(uses);
    };

    std::filesystem::path path(platform::cp1251ToUtf8(fileName));
    if (path.is_relative() && !unitFolder.empty())
        path = unitFolder / path;
    std::error_code ec;
    std::filesystem::path key = std::filesystem::weakly_canonical(path, ec);
    if (ec)
        key = path.lexically_normal();
    for (const auto& openUnit : session->openUnits)
        if (openUnit == key) {
            // A unit that includes itself, directly or through others.
            failed("Circular unit reference: '" + fileName + "'", lex.PositionText(tokenStart), unitName);
            return;
        }
    for (const auto& loaded : session->loadedUnits)
        if (loaded == key)
            return; // read once per compilation, where it was first named

    const std::string bytes = session->readUnit ? session->readUnit(path.string()) : readUnitFile(path.string());

    ScriptErrors unitErrors;
    TfsILParser unit(unitErrors);
    Impl& u = *unit.d_;
    u.session = session;
    u.unitName = fileName;
    u.unitFolder = path.parent_path();
    u.useLanguage(language);
    session->openUnits.push_back(key);
    bool ok;
    try {
        ok = u.analyse(NormalizeLineEnds(bytes));
    } catch (...) {
        session->openUnits.pop_back();
        throw;
    }
    session->openUnits.pop_back();
    session->loadedUnits.push_back(key);
    if (!ok) {
        // The innermost unit that holds the error names it.
        failed(u.errText, u.errPos, u.errUnit.empty() ? fileName : u.errUnit);
        return;
    }
    static constexpr std::string_view program = "program";
    openUses();
    lines.push_back({Line::Open, program, arena.size(), 0, 0});
    const std::size_t offset = arena.size();
    arena += u.arena;
    lines.reserve(lines.size() + u.lines.size());
    for (Line l : u.lines) {
        l.textStart += offset;
        lines.push_back(l);
    }
    if (!u.g->types.Name().empty())
        appendTree(u.g->types);
    close(program);
    close(uses);
}

// --- the whole text ---------------------------------------------------------

bool TfsILParser::Impl::analyse(std::string_view text)
{
    lines.clear();
    arena.clear();
    errRecorded = false;
    errText.clear();
    errPos.clear();
    errUnit.clear();

    lex.SetText(text);
    // "#language NAME" on the first line chooses the language.
    std::size_t start = 1;
    if (lex.ReadPunct() == "#" && platform::equalsIgnoreCaseCp1251(lex.ReadIdent(), "language")) {
        std::size_t from = lex.Position();
        std::size_t cr = text.find('\r', from - 1);
        std::size_t to = cr == std::string_view::npos ? text.size() : cr;
        std::string_view name = text.substr(from - 1, to - (from - 1));
        while (!name.empty() && static_cast<unsigned char>(name.front()) <= ' ')
            name.remove_prefix(1);
        while (!name.empty() && static_cast<unsigned char>(name.back()) <= ' ')
            name.remove_suffix(1);
        useLanguage(name);
        start = cr == std::string_view::npos ? text.size() + 1 : std::min(cr + 3, text.size() + 1);
    }
    lex.SetPosition(start);
    if (g->program < 0)
        throw ScriptError("Invalid language definition");

    bool ok = parseItem(static_cast<std::uint32_t>(g->program));
    if (session->aborted) {
        // The error that stood when the analysis stopped, whatever the
        // unwinding did to it since (a unit that stopped it reported
        // through its uses clause).
        if (!abortText.empty()) {
            errText = abortText;
            errPos = abortPos;
            errUnit = abortUnit;
        } else if (!errRecorded) {
            errText = kNestingTooDeep;
            errPos = lex.PositionText(tokenStartFrom(lex.Position()));
            errUnit.clear();
        }
        errRecorded = true;
        return false;
    }

    if (!errRecorded && !g->programEndsClosed) {
        // A program that ends with an open loop stops at the first line it
        // cannot start; what follows must not be dropped silently.
        if (!ok)
            lex.SetPosition(start);
        while (lex.SkipLineEnd()) {
        }
        if (lex.Position() <= lex.Length()) {
            record(kStatementExpected, lex.PositionText(lex.Position()), {}, false);
            return false;
        }
        if (!ok) { // nothing but blanks and comments: an empty program
            truncate(0, 0);
            ok = true;
        }
    }
    return ok && !errRecorded;
}

void TfsILParser::Impl::buildDocument()
{
    TfsXMLItem& root = il.Root();
    root.Clear();
    root.SetName("program");
    root.SetText({});
    std::vector<TfsXMLItem*> open{&root};
    const std::string_view texts = arena;
    for (const Line& l : lines) {
        if (l.kind == Line::Close) {
            if (open.size() > 1)
                open.pop_back();
            continue;
        }
        TfsXMLItem& item = open.back()->Add();
        item.SetName(l.name);
        item.SetText(texts.substr(l.textStart, l.textLen));
        if (l.kind == Line::Open)
            open.push_back(&item);
    }
    if (!g->types.Name().empty())
        root.Add().Assign(g->types);
}

// --- public -------------------------------------------------------------------

TfsILParser::TfsILParser(ScriptErrors& script) : d_(std::make_unique<Impl>(script)) {}

TfsILParser::~TfsILParser() = default;

void TfsILParser::UseLanguage(std::string_view name)
{
    d_->useLanguage(name);
}

const std::string& TfsILParser::LanguageName() const noexcept
{
    return d_->language;
}

bool TfsILParser::BuildIntermediate(std::string_view text)
{
    Impl& d = *d_;
    d.il.Root().Clear();
    d.session->openUnits.clear();
    d.session->loadedUnits.clear();
    d.session->depth = 0;
    d.session->aborted = false;
    if (!d.g)
        d.useLanguage("PascalScript");
    bool ok = false;
    // The analysis unwinds by return values only, so it may use a stack as
    // deep as it likes in any build.
    platform::RunOnLargeStack(
        [&] {
            d.session->stackFloor = platform::StackFloor(kStackLeft);
            ok = d.analyse(text);
        },
        platform::kDeepStackSize);
    if (ok)
        d.buildDocument();
    d.script.ErrorText = ok ? std::string() : d.errText;
    d.script.ErrorPosition = ok ? std::string() : d.errPos;
    d.script.ErrorUnit = ok ? std::string() : d.errUnit;
    d.lines.clear();
    d.arena.clear();
    return ok;
}

TfsXMLDocument& TfsILParser::ILDocument() noexcept
{
    return d_->il;
}

bool TfsILParser::DeclareVars() const noexcept
{
    return d_->declareVars;
}

const std::string& TfsILParser::UnitName() const noexcept
{
    return d_->unitName;
}

void TfsILParser::SetUnitFolder(std::string_view folder)
{
    d_->unitFolder = std::filesystem::path(std::string(folder));
}

TfsParser& TfsILParser::Parser() noexcept
{
    return d_->lex;
}

void TfsILParser::SetUnitReader(UnitReader reader)
{
    d_->ownSession.readUnit = std::move(reader);
}

} // namespace script
