#include "viewer/cli/script_commands.h"

#include "platform/system/file_io.h"
#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"
#include "script/library/standard_library.h"
#include "script/parser/il_parser.h"
#include "script/parser/script_text.h"
#include "script/program/script.h"
#include "script/script_error.h"

#include <exception>

namespace tavrin {

namespace {

void writeAll(std::FILE* f, const std::string& s)
{
    std::fwrite(s.data(), 1, s.size(), f);
}

// Engine text (code page 1251, CR LF) for the terminal (UTF-8, LF).
std::string terminalText(std::string_view text)
{
    std::string lf;
    lf.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lf += text[i];
    return platform::cp1251ToUtf8(lf);
}

struct ScriptOptions {
    std::string file;
    std::string language; // empty: by the file's extension
    bool il = false;
    std::vector<std::string> print; // variables to print after a run
};

bool parseOptions(const std::vector<std::string>& args, ScriptOptions& o, std::string& error)
{
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--script" || a == "--language") {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            if (a == "--script") {
                if (haveFile) {
                    error = "--script takes exactly one script file";
                    return false;
                }
                o.file = args[++i];
                haveFile = true;
            } else {
                o.language = args[++i];
            }
        } else if (a == "--il") {
            o.il = true;
        } else if (a == "--print") {
            if (i + 1 >= args.size() || args[i + 1].starts_with("--")) {
                error = "option --print needs a variable name";
                return false;
            }
            while (i + 1 < args.size() && !args[i + 1].starts_with("--"))
                o.print.push_back(args[++i]);
        } else {
            error = "option " + a + " cannot be combined with --script";
            return false;
        }
    }
    if (!haveFile) {
        error = "--script needs a script file";
        return false;
    }
    if (o.il && !o.print.empty()) {
        error = "--print cannot be combined with --il";
        return false;
    }
    return true;
}

std::string errorLine(const script::ScriptErrors& e)
{
    std::string line = "ERROR " + e.ErrorPosition + ": " + e.ErrorText;
    if (!e.ErrorUnit.empty())
        line += " (unit \"" + e.ErrorUnit + "\")";
    return line;
}

int compileAndRun(script::TfsScript& program, const std::string& file, const std::string& language,
                  const std::string& bytes, std::FILE* err)
{
    program.SyntaxType = platform::utf8ToCp1251(language);
    program.UnitFolder = platform::extractFilePath(file);
    program.SetText(bytes);
    try {
        if (!program.Compile()) {
            writeAll(err, terminalText(errorLine(program.Errors())) + "\n");
            return 2;
        }
    } catch (const std::exception& e) {
        writeAll(err, "tavrin: " + terminalText(e.what()) + "\n");
        return 1;
    }
    try {
        program.Execute();
    } catch (const std::exception& e) {
        writeAll(err, "RUNTIME ERROR: " + terminalText(e.what()) + "\n");
        return 3;
    }
    return 0;
}

// Compiles against the global scope, runs, then prints the variables asked
// for as NAME=TEXT.
int runScript(const ScriptOptions& o, const std::string& bytes, std::FILE* out, std::FILE* err)
{
    script::TfsScript program(&script::InstallStandardLibrary());
    int status = compileAndRun(program, o.file, o.language, bytes, err);
    if (status != 0) {
        std::fflush(out);
        return status;
    }
    try {
        std::string text;
        for (const std::string& name : o.print) {
            std::string engineName = platform::utf8ToCp1251(name);
            text += engineName + "=" + program.GetVariable(engineName).toString() + "\n";
        }
        writeAll(out, terminalText(text));
    } catch (const std::exception& e) {
        std::fflush(out);
        writeAll(err, "RUNTIME ERROR: " + terminalText(e.what()) + "\n");
        return 3;
    }
    return 0;
}

} // namespace

std::string ScriptLanguageOfFile(const std::string& file)
{
    std::string ext = platform::lowerAscii(platform::extractFileExt(file));
    if (ext == ".vbs" || ext == ".bas" || ext == ".vb")
        return "BasicScript";
    if (ext == ".js")
        return "JScript";
    if (ext == ".cpp" || ext == ".cc" || ext == ".c" || ext == ".h")
        return "C++Script";
    return "PascalScript";
}

int RunScriptFile(script::TfsScript& program, const std::string& file, const std::string& language,
                  std::FILE* err)
{
    std::string bytes, error;
    if (!script::ReadScriptFile(file, bytes, &error)) {
        writeAll(err, "tavrin: " + error + "\n");
        return 1;
    }
    script::InstallStandardLibrary();
    return compileAndRun(program, file, language.empty() ? ScriptLanguageOfFile(file) : language, bytes, err);
}

bool IsScriptCommand(const std::vector<std::string>& args)
{
    for (const std::string& a : args)
        if (a == "--script")
            return true;
    return false;
}

int RunScriptCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err)
{
    ScriptOptions o;
    std::string error;
    if (!parseOptions(args, o, error)) {
        writeAll(err, "tavrin: " + error + "\n");
        return 1;
    }
    if (o.language.empty())
        o.language = ScriptLanguageOfFile(o.file);
    std::string bytes;
    if (!script::ReadScriptFile(o.file, bytes, &error)) {
        writeAll(err, "tavrin: " + error + "\n");
        return 1;
    }
    if (!o.il)
        return runScript(o, bytes, out, err);
    try {
        script::ScriptErrors result;
        script::TfsILParser parser(result);
        parser.UseLanguage(platform::utf8ToCp1251(o.language));
        parser.SetUnitFolder(platform::extractFilePath(o.file));
        if (!parser.BuildIntermediate(script::NormalizeLineEnds(bytes))) {
            writeAll(err, terminalText(errorLine(result)) + "\n");
            return 2;
        }
        script::TfsXMLDocument& doc = parser.ILDocument();
        doc.AutoIndent = true;
        writeAll(out, terminalText(doc.SaveToText()));
        return 0;
    } catch (const std::exception& e) {
        writeAll(err, "tavrin: " + terminalText(e.what()) + "\n");
        return 1;
    }
}

} // namespace tavrin
