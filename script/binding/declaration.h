#pragma once
// The declaration texts of host routines and members, in Pascal syntax:
//   "function Copy(s: String; from, count: Integer): String"
//   "procedure Inc(var i: Integer; incr: Integer = 1)"
//   "constructor Create(AOwner: TComponent)"
// The first word makes a function ("function") or a procedure (anything
// else); the second is the name; a function's result type is the
// identifier after the last colon of the text. Parameters come in groups
// separated by ";": names separated by ",", optionally after "var" (by
// reference) or "const", then ":" and a type, then optionally "=" and a
// default: a number, a string, or the name of a constant of the scope (any
// other name gives Null). Only the last name of a group has the default.

#include "platform/automation/variant.h"
#include "script/program/type_code.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace script {

class TfsCustomVariable;
class TfsParamItem;
class TfsScript;

struct TfsDeclaredParam {
    std::string name;
    std::string typeName; // as written ("Integer", "TStrings", "array")
    bool byRef = false;
    bool hasDefault = false;
    platform::Variant defaultValue;
};

struct TfsDeclaration {
    std::string kind; // the first word, lower case
    bool isFunction = false;
    std::string name;
    std::string resultType; // empty for a procedure
    std::vector<TfsDeclaredParam> params;
};

// Reads a declaration; constants for defaults are looked up from scope.
// Throws ScriptError "Invalid declaration: ..." for a text it cannot read.
TfsDeclaration ParseDeclaration(std::string_view text, const TfsScript& scope);

// A type name as the engine resolves it from scope: a registered type gives
// its code (an enumeration also its own name); any other name is a class
// type of that name.
TfsVarType ResolveTypeName(std::string_view name, const TfsScript& scope, std::string& typeName);

// Adds the declared parameters to a member entry.
void AddDeclaredParams(TfsCustomVariable& member, const TfsDeclaration& decl, const TfsScript& scope);

} // namespace script
