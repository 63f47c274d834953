#pragma once
// What the library's dialog routines ask of the host: input, file choice,
// message boxes, the two view dialogs, a beep and a turn of the event loop.
// The viewer answers in windows; a run on the command line answers from
// its --answer options and writes messages to standard error. All texts
// are code page 1251.

#include <string>
#include <vector>

namespace tavrin {

class HostDialogs {
public:
    virtual ~HostDialogs() = default;
    // True with the new value on OK; value unchanged otherwise.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
    // The file chosen, or empty when cancelled or refused.
    virtual std::string SelectFile(const std::string& startDir, const std::string& startName,
                                   const std::string& filter, const std::string& title) = 0;
    // kind: 0..4 (warning .. custom); buttons: the engine's button bits, at
    // least one; a modal result.
    virtual int MessageDlg(const std::string& text, int kind, int buttons) = 0;
    virtual bool ListView(const std::string& head, const std::vector<std::string>& lines) = 0;
    virtual bool TextView(const std::string& caption, const std::string& head, const std::vector<std::string>& text,
                          const std::vector<std::string>& listInit) = 0;
    virtual void MessageBeep(int kind) = 0;
    virtual void ProcessMessages() = 0;
};

// A UTF-8 path as code page 1251, only when every character has a byte
// there; a path that would come back with "?" must not be used for a
// later write.
bool PathToCp1251(const std::string& utf8, std::string& out);

} // namespace tavrin
