#include "tests/script/run_support.h"

#include "script/library/standard_library.h"

#include <exception>

namespace scripttest {

std::string Program::Var(std::string_view name) const
{
    return script->GetVariable(name).toString();
}

std::string Program::Run()
{
    try {
        script->Execute();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

Program Compile(std::string_view text, std::string_view language, script::TfsScript* parent)
{
    Program p;
    p.script = std::make_unique<script::TfsScript>(parent ? parent : &script::InstallStandardLibrary());
    p.script->SyntaxType = language;
    p.script->SetText(text);
    p.compiled = p.script->Compile();
    if (!p.compiled)
        p.error = p.script->ErrorPosition() + ": " + p.script->ErrorText();
    return p;
}

std::string RunFor(std::string_view text, std::string_view var, std::string_view language)
{
    Program p = Compile(text, language);
    if (!p.compiled)
        return "ERROR " + p.error;
    std::string e = p.Run();
    if (!e.empty())
        return "RUNTIME ERROR: " + e;
    return p.Var(var);
}

} // namespace scripttest
