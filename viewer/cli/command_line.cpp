#include "viewer/cli/command_line.h"

#include "platform/text/number_text.h"

namespace tavrin {

const char* UsageText()
{
    return "Usage:\n"
           "  tavrin [FILE...]                 open the viewer; the files are added to the list,\n"
           "                                   checked, and the first is shown\n"
           "  tavrin --matrix FILE [options]   print the visualization matrix of a data file\n"
           "  tavrin --sum FILE... [options]   print the cell-by-cell sum of the files' matrices\n"
           "  tavrin --script FILE --il [--language NAME]\n"
           "                                   print a script's intermediate language (the\n"
           "                                   language defaults to PascalScript)\n"
           "  tavrin --script FILE [--language NAME] [--print NAME...]\n"
           "                                   compile and run a script, then print the named\n"
           "                                   variables as NAME=TEXT\n"
           "\n"
           "Matrix options (not given: taken from Tavrin.ini, as the window shows them):\n"
           "  --rect XMIN XMAX YMIN YMAX       index rectangle (inclusive)\n"
           "  --scale | --no-scale             stretch the data's X and Y span onto the rectangle\n"
           "  --fill N                         fill mode: 0 none, 1 min, 2 max, 3 midpoint, 4 computed\n"
           "  --defaults X Y Z                 values of missing or non-numeric fields\n"
           "\n"
           "  --help, --version\n";
}

namespace {

bool isOption(const std::string& a)
{
    return a.size() > 1 && a[0] == '-' && a[1] == '-';
}

bool needValues(const std::vector<std::string>& args, std::size_t i, std::size_t count, std::string& error)
{
    if (i + count >= args.size()) {
        error = "option " + args[i] + " needs " + std::to_string(count) + (count == 1 ? " value" : " values");
        return false;
    }
    return true;
}

bool readInt(const std::string& option, const std::string& text, std::int32_t& out, std::string& error)
{
    if (!platform::parseInt32(platform::trimBlanks(text), out)) {
        error = "option " + option + ": \"" + text + "\" is not a 32-bit integer";
        return false;
    }
    return true;
}

} // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& cl, std::string& error)
{
    bool modeSet = false;
    auto setMode = [&](CommandLine::Mode m, const std::string& opt) {
        if (modeSet && cl.mode != m) {
            error = "option " + opt + " cannot be combined with another command";
            return false;
        }
        cl.mode = m;
        modeSet = true;
        return true;
    };

    bool filesOnly = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (filesOnly || !isOption(a)) {
            cl.files.push_back(a);
            continue;
        }
        if (a == "--") {
            filesOnly = true;
        } else if (a == "--help" || a == "-h") {
            if (!setMode(CommandLine::Mode::Help, a))
                return false;
        } else if (a == "--version") {
            if (!setMode(CommandLine::Mode::Version, a))
                return false;
        } else if (a == "--matrix") {
            if (!setMode(CommandLine::Mode::Matrix, a) || !needValues(args, i, 1, error))
                return false;
            cl.files.push_back(args[++i]);
        } else if (a == "--sum") {
            if (!setMode(CommandLine::Mode::Sum, a))
                return false;
        } else if (a == "--rect") {
            if (!needValues(args, i, 4, error))
                return false;
            IndexRect r;
            if (!readInt(a, args[i + 1], r.xmin, error) || !readInt(a, args[i + 2], r.xmax, error) ||
                !readInt(a, args[i + 3], r.ymin, error) || !readInt(a, args[i + 4], r.ymax, error))
                return false;
            cl.rect = r;
            i += 4;
        } else if (a == "--scale") {
            cl.yesScale = true;
        } else if (a == "--no-scale") {
            cl.yesScale = false;
        } else if (a == "--fill") {
            if (!needValues(args, i, 1, error))
                return false;
            std::int32_t mode = 0;
            if (!readInt(a, args[i + 1], mode, error))
                return false;
            if (mode < 0 || mode > 4) {
                error = "option --fill: the fill mode must be 0 to 4";
                return false;
            }
            cl.fillMode = mode;
            ++i;
        } else if (a == "--defaults") {
            if (!needValues(args, i, 3, error))
                return false;
            std::array<std::string, 3> d;
            for (int k = 0; k < 3; ++k) {
                d[k] = args[i + 1 + k];
                double v = 0;
                if (!platform::parseDecimal(platform::trimSpaces(d[k]), v, true)) {
                    error = "option --defaults: \"" + d[k] + "\" is not a number";
                    return false;
                }
            }
            cl.defaults = d;
            i += 3;
        } else {
            error = "unknown option " + a;
            return false;
        }
    }

    if (cl.mode == CommandLine::Mode::Matrix && cl.files.size() != 1) {
        error = "--matrix takes exactly one data file";
        return false;
    }
    if (cl.mode == CommandLine::Mode::Sum && cl.files.empty()) {
        error = "--sum needs at least one data file";
        return false;
    }
    bool matrixOptions = cl.rect || cl.yesScale || cl.fillMode || cl.defaults;
    if (matrixOptions && !cl.headless()) {
        error = "matrix options need --matrix or --sum";
        return false;
    }
    return true;
}

} // namespace tavrin
