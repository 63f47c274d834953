#include "viewer/cli/host_script_command.h"

#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "platform/text/number_text.h"
#include "script/binding/host_ui.h"
#include "script/library/string_list.h"
#include "script/parser/script_text.h"
#include "script/program/script.h"
#include "scripthost/headless_dialogs.h"
#include "scripthost/script_host.h"
#include "viewer/settings/program_folder.h"
#include "viewer/settings/viewer_settings.h"

#include <optional>

namespace tavrin {

namespace {

struct HostOptions {
    std::string file;
    std::optional<IndexRect> rect;
    std::string newMatrix;
    std::vector<std::string> answers;
    std::vector<std::string> print;
    bool printList = false;
};

void writeAll(std::FILE* f, const std::string& s)
{
    std::fwrite(s.data(), 1, s.size(), f);
}

// Engine text (code page 1251) for the terminal (UTF-8).
std::string terminal(std::string_view cp1251)
{
    return platform::cp1251ToUtf8(cp1251);
}

bool parse(const std::vector<std::string>& args, HostOptions& o, std::string& error)
{
    bool haveFile = false;
    auto value = [&](std::size_t& i, const char* what) -> const std::string* {
        if (i + 1 >= args.size()) {
            error = std::string("option ") + what + " needs a value";
            return nullptr;
        }
        return &args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--host") {
            continue;
        } else if (a == "--script") {
            const std::string* v = value(i, "--script");
            if (!v)
                return false;
            if (haveFile) {
                error = "--script takes exactly one script file";
                return false;
            }
            o.file = *v;
            haveFile = true;
        } else if (a == "--answer") {
            // Taken as it stands, even when it starts with "--".
            const std::string* v = value(i, "--answer");
            if (!v)
                return false;
            o.answers.push_back(*v);
        } else if (a == "--new-matrix") {
            const std::string* v = value(i, "--new-matrix");
            if (!v)
                return false;
            o.newMatrix = *v;
        } else if (a == "--rect") {
            if (i + 4 >= args.size()) {
                error = "option --rect needs four integers: X0 X1 Y0 Y1";
                return false;
            }
            std::int32_t v[4];
            for (int k = 0; k < 4; ++k)
                if (!platform::parseInt32(args[i + 1 + static_cast<std::size_t>(k)], v[k])) {
                    error = "--rect: \"" + args[i + 1 + static_cast<std::size_t>(k)] + "\" is not an integer";
                    return false;
                }
            o.rect = IndexRect{v[0], v[1], v[2], v[3]};
            i += 4;
        } else if (a == "--print") {
            if (i + 1 >= args.size() || args[i + 1].starts_with("--")) {
                error = "option --print needs a variable name";
                return false;
            }
            while (i + 1 < args.size() && !args[i + 1].starts_with("--"))
                o.print.push_back(args[++i]);
        } else if (a == "--print-list") {
            o.printList = true;
        } else {
            error = "option " + a + " cannot be combined with --script --host";
            return false;
        }
    }
    if (!haveFile) {
        error = "--script needs a script file";
        return false;
    }
    return true;
}

// The dialogs' interface for the engine's own questions, for this run.
struct HostUiScope {
    explicit HostUiScope(script::TfsHostUi& ui) { script::SetHostUi(&ui); }
    ~HostUiScope() { script::SetHostUi(nullptr); }
};

} // namespace

bool IsHostScriptCommand(const std::vector<std::string>& args)
{
    bool script = false, host = false;
    for (const std::string& a : args) {
        script = script || a == "--script";
        host = host || a == "--host";
    }
    return script && host;
}

int RunHostScriptCommand(const std::vector<std::string>& args, const std::string& programFolder, std::FILE* out,
                         std::FILE* err)
{
    HostOptions o;
    std::string error;
    if (!parse(args, o, error)) {
        writeAll(err, "tavrin: " + error + "\n");
        return 1;
    }
    std::string bytes;
    if (!script::ReadScriptFile(o.file, bytes, &error)) {
        writeAll(err, "tavrin: " + error + "\n");
        return 1;
    }
    HeadlessDialogs dialogs(o.answers, err);
    HostUiScope uiScope(dialogs);
    try {
        ScriptHost host(programFolder, dialogs);
        IndexRect rect = o.rect ? *o.rect : LoadWindowParameters(programFolder + kSettingsFileName).rect;
        host.Prepare(rect);
        script::TfsScript& s = host.Script();
        s.SetVariable("FileName_Matrix_New", platform::Variant(platform::utf8ToCp1251(o.newMatrix)));
        s.UnitFolder = platform::extractFilePath(o.file);
        s.SetText(bytes);
        if (!s.Compile()) {
            writeAll(err, "ERROR " + terminal(s.ErrorPosition()) + ": " + terminal(s.ErrorText()) + "\n");
            return 2;
        }
        try {
            s.Execute();
        } catch (const std::exception& e) {
            std::fflush(out);
            writeAll(err, "RUNTIME ERROR: " + terminal(e.what()) + "\n");
            return 3;
        }
        std::string text;
        for (const std::string& name : o.print) {
            std::string engineName = platform::utf8ToCp1251(name);
            text += engineName + "=" + s.GetVariable(engineName).toString() + "\n";
        }
        if (o.printList)
            for (const script::TfsStringList::Line& l : host.ListData().Lines())
                text += l.text + "\n";
        writeAll(out, terminal(text));
        std::fflush(out);
        return 0;
    } catch (const std::exception& e) {
        std::fflush(out);
        writeAll(err, "tavrin: " + terminal(e.what()) + "\n");
        return 1;
    }
}

} // namespace tavrin
