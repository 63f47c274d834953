#pragma once
// A language grammar compiled from its XML text into a flat table of items,
// so the analyser walks indices instead of XML elements and compares
// prepared lower-case texts. Compiled grammars are kept for the process:
// the registry never replaces a language once it is registered.

#include "script/xml/xml_item.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace script {

enum class ItemKind : std::uint8_t {
    Rule,
    Sequence,
    Char,
    Keyword,
    Ident,
    Number,
    String,
    FrString,
    Eol,
    Switch,
    OptionalSwitch,
    Loop,
    OptionalLoop,
    Optional,
    Reference,
};

struct GrammarItem {
    ItemKind kind = ItemKind::Sequence;
    bool skipBlanks = true;     // char: skip="0" clears it
    bool discardErrors = false; // loops: skip="1"
    bool term = false;
    bool hasText = false;
    bool usesNode = false;      // node="uses": include the units named
    std::int32_t err = -1;      // index of the error message
    std::int32_t target = -1;   // reference: the rule's item; -1 when there is no such rule
    std::uint32_t first = 0;    // children: Grammar::children[first .. first+count)
    std::uint32_t count = 0;
    std::string text;           // lower case
    std::string unless;         // char: no match where this text stands (".." against ".")
    std::string node;           // wrapper element, or empty
    std::string add;            // element written on success, or empty
    std::string addTextEscaped; // addtext, escaped; used when hasAddText
    bool hasAddText = false;
    std::string name;           // element name, for rules
};

struct Grammar {
    // Lexical settings the grammar names; what it leaves out keeps the
    // analyser's current value.
    std::optional<std::string> identChars, commentLine1, commentLine2, commentBlock1, commentBlock2,
        stringQuotes, hexSequence, skipChar;
    std::optional<bool> declareVars, skipEol;
    std::vector<std::string> keywords;
    std::vector<std::string> errors;

    std::vector<GrammarItem> items;
    std::vector<std::uint32_t> children;
    std::int32_t program = -1; // the start rule's item
    // Whether the start rule ends with a closing token (Pascal's final
    // ".", a closing brace); otherwise it ends wherever its last loop
    // stops.
    bool programEndsClosed = false;
    // The `types` element, copied into every program.
    TfsXMLItem types;

    static std::unique_ptr<Grammar> Compile(std::string_view grammarText);
    // The compiled grammar of a registered language (kept for the process).
    static const Grammar& ForLanguage(std::string_view name);
};

} // namespace script
