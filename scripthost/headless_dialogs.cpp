#include "scripthost/headless_dialogs.h"

#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"
#include "platform/text/number_text.h"

namespace tavrin {

using namespace script;

namespace {

struct ButtonName {
    int bit;
    int result;
    const char* name;
};
// Answers name a button in English, any letter case, or give its result
// number.
constexpr ButtonName kButtons[] = {
    {mbYes, mrYes, "Yes"},          {mbNo, mrNo, "No"},           {mbOK, mrOk, "OK"},
    {mbCancel, mrCancel, "Cancel"}, {mbAbort, mrAbort, "Abort"},  {mbRetry, mrRetry, "Retry"},
    {mbIgnore, mrIgnore, "Ignore"}, {mbAll, mrAll, "All"},        {mbNoToAll, mrNoToAll, "NoToAll"},
    {mbYesToAll, mrYesToAll, "YesToAll"},
};

const char* kindName(int kind)
{
    switch (kind) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtConfirmation: return "Confirm";
    case mtCustom: return "Message";
    default: return "Information";
    }
}

} // namespace

bool PathToCp1251(const std::string& utf8, std::string& out)
{
    out = platform::utf8ToCp1251(utf8);
    return platform::cp1251ToUtf8(out) == utf8;
}

HeadlessDialogs::HeadlessDialogs(std::vector<std::string> answers, std::FILE* err)
    : answers_(answers.begin(), answers.end()), err_(err)
{
}

bool HeadlessDialogs::nextAnswer(std::string& utf8)
{
    if (answers_.empty())
        return false;
    utf8 = std::move(answers_.front());
    answers_.pop_front();
    return true;
}

void HeadlessDialogs::write(const std::string& cp1251Text)
{
    std::string t = platform::cp1251ToUtf8(cp1251Text) + "\n";
    std::fwrite(t.data(), 1, t.size(), err_);
    std::fflush(err_);
}

bool HeadlessDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    std::string answer;
    if (!nextAnswer(answer)) {
        write(caption + ": " + prompt + " (cancelled: no answer given)");
        return false;
    }
    value = platform::utf8ToCp1251(answer);
    return true;
}

std::string HeadlessDialogs::SelectFile(const std::string&, const std::string&, const std::string&,
                                        const std::string& title)
{
    std::string answer;
    if (!nextAnswer(answer)) {
        write(title + " (cancelled: no answer given)");
        return {};
    }
    std::string name;
    if (!PathToCp1251(answer, name)) {
        write("The file name \"" + platform::utf8ToCp1251(answer) +
              "\" has characters that scripts cannot hold; no file was chosen");
        return {};
    }
    return std::string(platform::trimSpaces(name));
}

int HeadlessDialogs::MessageDlg(const std::string& text, int kind, int buttons)
{
    if ((buttons & ~mbHelp) == 0)
        buttons = mbOK;
    std::string choices;
    for (const ButtonName& b : kButtons)
        if (buttons & b.bit)
            choices += (choices.empty() ? "" : "/") + std::string(b.name);
    write(std::string(kindName(kind)) + ": " + text + " (" + choices + ")");
    std::string answer;
    if (nextAnswer(answer)) {
        std::string_view a = platform::trimBlanks(answer);
        std::int32_t n = 0;
        for (const ButtonName& b : kButtons)
            if ((buttons & b.bit) &&
                (platform::equalsIgnoreCaseAscii(a, b.name) || (platform::parseInt32(a, n) && n == b.result)))
                return b.result;
        write("The answer \"" + platform::utf8ToCp1251(answer) + "\" names no button of the box; it is cancelled");
    }
    // No usable answer: cancel where that is offered, else the gentlest.
    for (int bit : {mbCancel, mbNo, mbAbort, mbIgnore, mbOK, mbYes, mbRetry, mbNoToAll, mbAll, mbYesToAll})
        if (buttons & bit)
            for (const ButtonName& b : kButtons)
                if (b.bit == bit)
                    return b.result;
    return mrCancel;
}

bool HeadlessDialogs::ListView(const std::string& head, const std::vector<std::string>& lines)
{
    write("List: " + head);
    for (const std::string& l : lines)
        write("  " + l);
    return true;
}

bool HeadlessDialogs::TextView(const std::string& caption, const std::string& head,
                               const std::vector<std::string>& text, const std::vector<std::string>&)
{
    write("Text: " + caption + (head.empty() ? "" : " - " + head));
    for (const std::string& l : text)
        write("  " + l);
    return true;
}

// No sound without a window: a bell on standard error would garble what a
// caller reads there.
void HeadlessDialogs::MessageBeep(int) {}

void HeadlessDialogs::ShowMessage(const std::string& text)
{
    write(text);
}

void HeadlessDialogs::ShowError(const std::string& text)
{
    write("Error: " + text);
}

} // namespace tavrin
