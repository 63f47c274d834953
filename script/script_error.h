#pragma once
// The exception of the script engine: malformed XML, unknown languages,
// broken grammars, unreadable unit files. Syntax errors of scripts are not
// exceptions; they are recorded with their position.

#include <stdexcept>
#include <string>

namespace script {

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace script
