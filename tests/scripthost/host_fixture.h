#pragma once
// A script host as the viewer keeps one, with dialogs answered in advance
// and its program folder in a temporary folder.

#include "tests/test_support.h"

#include "script/binding/host_ui.h"
#include "script/program/script.h"
#include "scripthost/headless_dialogs.h"
#include "scripthost/script_host.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace hosttest {

struct HostRun {
    testsupport::TempDir dir;
    std::FILE* messages = std::tmpfile();
    std::unique_ptr<tavrin::HeadlessDialogs> dialogs;
    std::unique_ptr<tavrin::ScriptHost> host;

    explicit HostRun(std::vector<std::string> answers = {})
        : dialogs(std::make_unique<tavrin::HeadlessDialogs>(std::move(answers), messages)),
          host(std::make_unique<tavrin::ScriptHost>(dir.path(), *dialogs))
    {
        script::SetHostUi(dialogs.get());
    }
    ~HostRun()
    {
        script::SetHostUi(nullptr);
        host.reset();
        std::fclose(messages);
    }

    // Prepares, compiles and runs; "" on success, else "ERROR pos: text" or
    // "RUNTIME ERROR: text".
    std::string Run(const std::string& text, tavrin::IndexRect rect = {0, 10, 0, 10})
    {
        host->Prepare(rect);
        script::TfsScript& s = host->Script();
        s.SetText(text);
        if (!s.Compile())
            return "ERROR " + s.ErrorPosition() + ": " + s.ErrorText();
        try {
            s.Execute();
        } catch (const std::exception& e) {
            return std::string("RUNTIME ERROR: ") + e.what();
        }
        return {};
    }
    std::string Var(const std::string& name) { return host->Script().GetVariable(name).toString(); }
    // "var r: Variant; begin r := EXPR; end." and r's text.
    std::string Eval(const std::string& expression)
    {
        std::string e = Run("var r: Variant; begin r := " + expression + "; end.");
        return e.empty() ? Var("r") : e;
    }
    std::string Messages()
    {
        std::fflush(messages);
        std::rewind(messages);
        std::string out;
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, messages)) > 0)
            out.append(buf, n);
        return out;
    }
};

} // namespace hosttest
