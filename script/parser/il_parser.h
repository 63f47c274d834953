#pragma once
// TfsILParser, first half: the syntax analyser. It walks a language's
// grammar against a script text with a TfsParser and writes the program in
// the intermediate language (an XML document whose element names are the
// same for every language). Syntax errors are not exceptions: the first one
// is recorded with its position and the analysis fails. Units named by the
// script are analysed by analysers of their own and inserted where they are
// named.
//
// The program builder (the second half) reads ILDocument() and
// DeclareVars().

#include "script/xml/xml_document.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace script {

class TfsParser;

// The outcome fields of the script being compiled. All empty after a
// successful analysis; ErrorUnit names the unit file that holds the error.
struct ScriptErrors {
    std::string ErrorText;
    std::string ErrorPosition; // "line:column"
    std::string ErrorUnit;
};

class TfsILParser {
public:
    explicit TfsILParser(ScriptErrors& script);
    ~TfsILParser();
    TfsILParser(const TfsILParser&) = delete;
    TfsILParser& operator=(const TfsILParser&) = delete;

    // Takes the language's grammar and lexical settings; throws
    // "Language '<name>' not found".
    void UseLanguage(std::string_view name);
    const std::string& LanguageName() const noexcept;

    // Analyses a script text (CR LF line ends). A first line
    // "#language NAME" chooses another language. True when the
    // intermediate-language document holds the program; the script's error
    // fields get the outcome either way. Throws "Invalid language
    // definition" for a grammar that names a missing rule, and the file
    // system's error for a unit that cannot be read.
    bool BuildIntermediate(std::string_view text);

    TfsXMLDocument& ILDocument() noexcept;
    // False when the language creates undeclared names as variables.
    bool DeclareVars() const noexcept;
    // The unit being analysed; empty for the main text.
    const std::string& UnitName() const noexcept;
    // Where relative unit names are looked up (UTF-8); empty for the
    // working folder. A unit's own units are looked up beside it.
    void SetUnitFolder(std::string_view folder);
    TfsParser& Parser() noexcept;

    // Reads a unit's text from its path (UTF-8); throws ScriptError when it
    // cannot. The default reads regular files of the file system.
    using UnitReader = std::function<std::string(const std::string& path)>;
    void SetUnitReader(UnitReader reader);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace script
