#pragma once
// Run-time errors of scripts: exceptions with English messages that end
// Execute unless a try statement with a handler catches them.

#include <stdexcept>
#include <string>

namespace script {

class TfsRuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A run ended from outside (TfsScript::Terminate): a try statement of the
// script does not swallow it.
class TfsScriptStopped : public TfsRuntimeError {
public:
    using TfsRuntimeError::TfsRuntimeError;
};

[[noreturn]] void RaiseRuntime(const std::string& message);

} // namespace script
