#pragma once
// The dialogs of a run without a window: answers come from a list given in
// advance (the command line's --answer options), one per question, in
// order; messages and views go to standard error. With no answer left a
// question is cancelled (or given its gentlest button). It serves the
// engine's own dialogs too (ShowMessage, InputBox, MessageDlg).

#include "script/binding/host_ui.h"
#include "scripthost/host_dialogs.h"

#include <cstdio>
#include <deque>

namespace tavrin {

class HeadlessDialogs : public HostDialogs, public script::TfsHostUi {
public:
    // answers in UTF-8, as typed on the command line.
    explicit HeadlessDialogs(std::vector<std::string> answers = {}, std::FILE* err = stderr);

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    std::string SelectFile(const std::string& startDir, const std::string& startName, const std::string& filter,
                           const std::string& title) override;
    int MessageDlg(const std::string& text, int kind, int buttons) override;
    bool ListView(const std::string& head, const std::vector<std::string>& lines) override;
    bool TextView(const std::string& caption, const std::string& head, const std::vector<std::string>& text,
                  const std::vector<std::string>& listInit) override;
    void MessageBeep(int kind) override;
    void ProcessMessages() override {}

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;

    std::size_t AnswersLeft() const noexcept { return answers_.size(); }

private:
    bool nextAnswer(std::string& utf8);
    void write(const std::string& cp1251Text);
    std::deque<std::string> answers_;
    std::FILE* err_;
};

} // namespace tavrin
