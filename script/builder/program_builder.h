#pragma once
// The program builder: turns an intermediate-language document into the
// entries, statements and expressions of a TfsScript. All names are
// resolved and all types checked here; the first error stops the build
// with its message and position in the script's error fields.

#include <memory>
#include <string>

namespace script {

class ExprNode;
class TfsScript;
class TfsXMLDocument;
class TfsXMLItem;

// Builds into script (its global scope is reached through its parents).
// declareVars false makes unknown names Variant variables. Never throws a
// build error: it lands in ErrorText, ErrorPosition and ErrorUnit.
void BuildProgram(const TfsXMLDocument& document, TfsScript& script, bool declareVars);

// Builds a designator that was deferred at compile time, now that its head
// has a value. Errors are run-time errors.
std::unique_ptr<ExprNode> BuildDesignatorAtRun(const TfsXMLItem& element, TfsScript& scope, bool declareVars,
                                               const std::string& unitName, bool needResult);

} // namespace script
