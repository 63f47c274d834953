#pragma once
// Compiling and running scripts in tests.

#include "script/program/script.h"

#include <memory>
#include <string>
#include <string_view>

namespace scripttest {

struct Program {
    std::unique_ptr<script::TfsScript> script;
    bool compiled = false;
    // "line:col: message" of a compile error, or empty.
    std::string error;

    // The text of a variable's value, as the engine converts it.
    std::string Var(std::string_view name) const;
    // Runs; returns the run-time error's message, or empty.
    std::string Run();
};

// Compiles a script (LF line ends are fine) whose parent is the global
// scope with the standard library, or parent when given.
Program Compile(std::string_view text, std::string_view language = "PascalScript",
                script::TfsScript* parent = nullptr);

// Compiles and runs; the value of one variable, or "ERROR line:col:
// message" / "RUNTIME ERROR: message".
std::string RunFor(std::string_view text, std::string_view var, std::string_view language = "PascalScript");

} // namespace scripttest
