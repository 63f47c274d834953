#pragma once
// The script library's dialogs in the viewer's windows: input and message
// boxes through the engine's host interface (Qt message boxes), the
// viewer's open-file dialog, simple list and text views, the system beep
// and the event loop.

#include "scripthost/host_dialogs.h"

class QWidget;

namespace tavrin {

class QtHostDialogs : public HostDialogs {
public:
    explicit QtHostDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    std::string SelectFile(const std::string& startDir, const std::string& startName, const std::string& filter,
                           const std::string& title) override;
    int MessageDlg(const std::string& text, int kind, int buttons) override;
    bool ListView(const std::string& head, const std::vector<std::string>& lines) override;
    bool TextView(const std::string& caption, const std::string& head, const std::vector<std::string>& text,
                  const std::vector<std::string>& listInit) override;
    void MessageBeep(int kind) override;
    void ProcessMessages() override;

private:
    QWidget* parent_;
};

} // namespace tavrin
