#pragma once
// What scripts ask of the user, through the host: messages, questions and
// the errors of event handlers. Without a window the engine answers on the
// terminal (standard error, answers read from standard input); a host with
// windows installs its own. All texts are code page 1251.

#include <string>

namespace script {

// Modal results, as MessageDlg returns them.
enum TfsModalResult : int {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
    mrAll = 8, mrNoToAll = 9, mrYesToAll = 10,
};

// Message kinds (TMsgDlgType) and the bits of the button set (TMsgDlgButtons).
enum TfsMessageKind : int { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TfsMessageButton : int {
    mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64, mbAll = 128,
    mbNoToAll = 256, mbYesToAll = 512, mbHelp = 1024,
};

class TfsHostUi {
public:
    virtual ~TfsHostUi() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    // True with the new value when the user accepts; value is left as it
    // was otherwise.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
    // buttons: TfsMessageButton bits (none: OK); returns a TfsModalResult.
    virtual int MessageDlg(const std::string& text, int kind, int buttons) = 0;
    // An error that has no script left to go to (an event handler's).
    virtual void ShowError(const std::string& text) = 0;
};

// The host's, or the terminal's.
TfsHostUi& HostUi();
// Installs the host's; nullptr goes back to the terminal's. The host keeps
// ownership and removes it before it goes.
void SetHostUi(TfsHostUi* ui);

} // namespace script
