#pragma once
// What scripts ask of the user, in the viewer's windows: ShowMessage,
// InputBox and InputQuery, MessageDlg, and the errors of event handlers,
// as Qt message boxes and input dialogs. While one of these lives it is
// the engine's host interface; before and after, the terminal's.

#include "script/binding/host_ui.h"

class QWidget;

namespace tavrin {

class QtScriptUi : public script::TfsHostUi {
public:
    explicit QtScriptUi(QWidget* parent = nullptr);
    ~QtScriptUi() override;
    QtScriptUi(const QtScriptUi&) = delete;
    QtScriptUi& operator=(const QtScriptUi&) = delete;

    void ShowMessage(const std::string& text) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    int MessageDlg(const std::string& text, int kind, int buttons) override;
    void ShowError(const std::string& text) override;

private:
    QWidget* parent_;
};

} // namespace tavrin
