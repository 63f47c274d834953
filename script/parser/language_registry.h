#pragma once
// The process-wide list of languages: name = grammar text. The four
// languages of the engine are there from the start, in the order
// "BasicScript", "JScript", "C++Script", "PascalScript".

#include <string>
#include <string_view>
#include <vector>

namespace script {

// Adds the pair unless the name (ignoring case) is already present: the
// first registration wins.
void RegisterLanguage(std::string_view name, std::string_view grammar);
// The grammar text; throws "Language '<name>' not found".
std::string GetLanguageGrammar(std::string_view name);
// The registered names in order.
std::vector<std::string> LanguageNames();

} // namespace script
