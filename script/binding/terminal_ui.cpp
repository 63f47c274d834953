#include "script/binding/terminal_ui.h"

#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"
#include "platform/text/number_text.h"

#include <array>

namespace script {

namespace {

TfsTerminalUi gTerminal;
TfsHostUi* gHostUi = nullptr;

struct ButtonName {
    int bit;
    const char* name;
    int result;
};

constexpr std::array<ButtonName, 11> kButtons{{
    {mbYes, "Yes", mrYes},
    {mbNo, "No", mrNo},
    {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel},
    {mbAbort, "Abort", mrAbort},
    {mbRetry, "Retry", mrRetry},
    {mbIgnore, "Ignore", mrIgnore},
    {mbAll, "All", mrAll},
    {mbNoToAll, "NoToAll", mrNoToAll},
    {mbYesToAll, "YesToAll", mrYesToAll},
    {mbHelp, "Help", mrNone},
}};

const char* kindName(int kind)
{
    switch (kind) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    default: return "Message";
    }
}

} // namespace

TfsHostUi& HostUi()
{
    return gHostUi ? *gHostUi : gTerminal;
}

void SetHostUi(TfsHostUi* ui)
{
    gHostUi = ui;
}

void TfsTerminalUi::write(const std::string& text)
{
    std::string utf8 = platform::cp1251ToUtf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), out_);
    std::fflush(out_);
}

bool TfsTerminalUi::readLine(std::string& line)
{
    line.clear();
    int c;
    bool any = false;
    while ((c = std::fgetc(in_)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    line = platform::utf8ToCp1251(line);
    return any;
}

void TfsTerminalUi::ShowMessage(const std::string& text)
{
    write(text + "\n");
}

bool TfsTerminalUi::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    write(caption + ": " + prompt + " [" + value + "] ");
    std::string line;
    if (!readLine(line)) {
        write("\n");
        return false;
    }
    // An empty answer keeps the value offered.
    if (!line.empty())
        value = line;
    return true;
}

int TfsTerminalUi::MessageDlg(const std::string& text, int kind, int buttons)
{
    if ((buttons & ~mbHelp) == 0)
        buttons = mbOK;
    std::string choices;
    for (const ButtonName& b : kButtons)
        if ((buttons & b.bit) && b.result != mrNone)
            choices += (choices.empty() ? "" : "/") + std::string(b.name);
    write(std::string(kindName(kind)) + ": " + text + " (" + choices + ") ");
    for (;;) {
        std::string line;
        if (!readLine(line)) {
            write("\n");
            // No answer: cancel where that is offered, else the gentlest.
            for (int bit : {mbCancel, mbNo, mbAbort, mbIgnore, mbOK, mbYes})
                if (buttons & bit)
                    for (const ButtonName& b : kButtons)
                        if (b.bit == bit)
                            return b.result;
            return mrCancel;
        }
        std::string_view answer = platform::trimBlanks(line);
        for (const ButtonName& b : kButtons)
            if ((buttons & b.bit) && b.result != mrNone &&
                (platform::equalsIgnoreCaseAscii(answer, b.name) ||
                 (answer.size() == 1 && platform::lowerAscii(answer[0]) == platform::lowerAscii(b.name[0]))))
                return b.result;
        write("(" + choices + ") ");
    }
}

void TfsTerminalUi::ShowError(const std::string& text)
{
    write("Error: " + text + "\n");
}

} // namespace script
