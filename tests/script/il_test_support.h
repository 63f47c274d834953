#pragma once
// Running the analyser in tests, and a compact form of its documents.

#include "script/parser/il_parser.h"

#include <functional>
#include <string>
#include <string_view>

namespace scripttest {

struct Analysis {
    bool ok = false;
    script::ScriptErrors errors;
    std::string brief; // the program in brief form (see Brief)
};

// Analyses text (line ends normalised to CR LF) in a language.
Analysis Analyse(std::string_view language, std::string_view text, std::string_view unitFolder = {});

// The message of the ScriptError that f throws, or empty when it throws none.
std::string ErrorOf(const std::function<void()>& f);

// An element as name(children), a token element as name:text, children
// separated by blanks; the program's `types` element is left out.
std::string Brief(const script::TfsXMLItem& item);

} // namespace scripttest
