#pragma once
// The host's user interface on a terminal: messages and errors go to
// standard error, answers are read from standard input, one line each.
// At the end of input a question is cancelled.

#include "script/binding/host_ui.h"

#include <cstdio>

namespace script {

class TfsTerminalUi : public TfsHostUi {
public:
    TfsTerminalUi(std::FILE* in = stdin, std::FILE* out = stderr) noexcept : in_(in), out_(out) {}
    void ShowMessage(const std::string& text) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    int MessageDlg(const std::string& text, int kind, int buttons) override;
    void ShowError(const std::string& text) override;

private:
    bool readLine(std::string& line);
    void write(const std::string& text);
    std::FILE* in_;
    std::FILE* out_;
};

} // namespace script
