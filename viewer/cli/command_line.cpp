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
           "  tavrin --export OUT [FILE...] [options]\n"
           "                                   draw the files' surfaces with no display, in the format\n"
           "                                   OUT's extension names: .png, .bmp, .eps (PostScript),\n"
           "                                   .wrl (VRML), .pov (POV-Ray) or .pdf;\n"
           "                                   --each (one surface per file, the default)\n"
           "                                   or --sum (one summed surface); --size WxH (800x600);\n"
           "                                   --dpi N (96): text and lines as at N dots per inch;\n"
           "                                   --colorbar: a bar of the colour map beside the box;\n"
           "                                   --bits 8|16|24|32 (.bmp, 24);\n"
           "                                   --set NAME=VALUE sets a plot property (repeatable);\n"
           "                                   --model-set NAME=VALUE sets it on every surface added;\n"
           "                                   --get NAME prints NAME=VALUE once the picture is drawn;\n"
           "                                   names may go through the control's objects:\n"
           "                                   --set ModelBox.ZAxis.NumGrids=4;\n"
           "                                   --load-state IN loads a saved plot state before the\n"
           "                                   options and files, --save-state OUT saves it after;\n"
           "                                   --scatter draws each file's points as they stand\n"
           "                                   (no matrix), --grid RxC grids them by natural\n"
           "                                   neighbours into a surface of R x C nodes;\n"
           "                                   --wizard-choices TYPE,APPEARANCE,COLOURING sets the\n"
           "                                   plot up as the plot wizard does (see --wizard)\n"
           "                                   --plot-script SCRIPT runs SCRIPT with the plot control\n"
           "                                   as its object Plot before the picture is drawn\n"
           "  tavrin [--load-state IN] [--save-state OUT] [--set NAME=VALUE]... [--get NAME]...\n"
           "                                   the plot control alone, nothing drawn: --save-state\n"
           "                                   alone writes the viewer's initial state\n"
           "  tavrin --contours FILE [options] [--levels N]\n"
           "                                   print the Z contour lines of a file's matrix: for\n"
           "                                   each line \"# level Z\", then \"X Y\" per point in the\n"
           "                                   file's coordinates; a blank line between lines.\n"
           "                                   --levels N: N levels evenly spaced inside the\n"
           "                                   range (default: about 15 at round values)\n"
           "  tavrin --export OUT.png --polyhedron REQUEST [picture options]\n"
           "                                   draw a uniform polyhedron: a name (\"cube\"), a table\n"
           "                                   number (\"#42\") or a Wythoff symbol (\"3|2 4\"), after\n"
           "                                   \"+\" to colour its faces by sides, \"*\" for its dual\n"
           "  tavrin --polyhedron REQUEST --info\n"
           "                                   print its name, dual, symbol, Coxeter and Wenninger\n"
           "                                   numbers and its counts as NAME=VALUE lines\n"
           "  tavrin --grid FILE --size RxC     print a file's points gridded by natural neighbours:\n"
           "                                   \"Xmin Xmax Ymin Ymax\" of the points, then R lines\n"
           "                                   (X from Xmin to Xmax) of C values (Y likewise)\n"
           "  tavrin --wizard [FILE...]        the plot wizard, then a window with the plot of the\n"
           "                                   files (or of sample data)\n"
           "  tavrin --script FILE --il [--language NAME]\n"
           "                                   print a script's intermediate language (the\n"
           "                                   language follows the file's extension: .pas,\n"
           "                                   .vbs, .js, .cpp; PascalScript otherwise)\n"
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

// ROWSxCOLUMNS within the gridder's limits.
bool readGridSize(const std::string& option, const std::string& v, std::array<int, 2>& out, std::string& error)
{
    std::size_t x = v.find_first_of("xX");
    std::int32_t r = 0, c = 0;
    if (x == std::string::npos || !platform::parseInt32(v.substr(0, x), r) ||
        !platform::parseInt32(v.substr(x + 1), c) || r < 2 || c < 2 || r > 4096 || c > 4096 ||
        std::int64_t(r) * c > 4194304) {
        error = "option " + option + ": \"" + v + "\" is not ROWSxCOLUMNS of 2 to 4096 each, 4194304 nodes at most";
        return false;
    }
    out = {r, c};
    return true;
}

} // namespace

// The largest picture side: pictures are drawn in bands, so the size is
// bounded by patience rather than memory.
constexpr std::int32_t kLargestSide = 100000;

// The options of --export.
static bool parseExportOption(const std::vector<std::string>& args, std::size_t& i, CommandLine& cl, bool& modeSet,
                       std::string& error)
{
    const std::string& a = args[i];
    auto& ex = cl.exportTo;
    if (a == "--export") {
        // A --sum before it asked for the summed surface.
        if (modeSet && cl.mode != CommandLine::Mode::Export && cl.mode != CommandLine::Mode::Sum) {
            error = "option --export cannot be combined with another command";
            return false;
        }
        ex.sum = ex.sum || (modeSet && cl.mode == CommandLine::Mode::Sum);
        cl.mode = CommandLine::Mode::Export;
        modeSet = true;
        if (!needValues(args, i, 1, error))
            return false;
        ex.output = args[++i];
        return true;
    }
    if (a == "--each") {
        ex.sum = false;
        return true;
    }
    if (a == "--colorbar") {
        ex.colorBar = true;
        return true;
    }
    if (a == "--scatter") {
        ex.scatter = true;
        return true;
    }
    if (!needValues(args, i, 1, error))
        return false;
    const std::string& v = args[++i];
    if (a == "--size") {
        std::size_t x = v.find_first_of("xX");
        std::int32_t w = 0, h = 0;
        if (x == std::string::npos || !platform::parseInt32(v.substr(0, x), w) ||
            !platform::parseInt32(v.substr(x + 1), h) || w < 1 || h < 1 || w > kLargestSide || h > kLargestSide) {
            error = "option --size: \"" + v + "\" is not WIDTHxHEIGHT of 1 to " + std::to_string(kLargestSide) +
                    " pixels";
            return false;
        }
        ex.width = w;
        ex.height = h;
        return true;
    }
    if (a == "--dpi") {
        std::int32_t dpi = 0;
        if (!platform::parseInt32(platform::trimBlanks(v), dpi) || dpi < 10 || dpi > 2400) {
            error = "option --dpi: \"" + v + "\" is not a resolution of 10 to 2400 dots per inch";
            return false;
        }
        ex.dpi = dpi;
        return true;
    }
    if (a == "--bits") {
        std::int32_t bits = 0;
        if (!platform::parseInt32(v, bits) || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
            error = "option --bits: \"" + v + "\" is not 8, 16, 24 or 32";
            return false;
        }
        ex.bits = bits;
        ex.bitsGiven = true;
        return true;
    }
    if (a == "--get") {
        ex.gets.push_back(v);
        return true;
    }
    if (a == "--wizard-choices") {
        ex.wizardChoices = v;
        return true;
    }
    if (a == "--plot-script") {
        if (!ex.plotScript.empty()) {
            error = "--plot-script takes one script";
            return false;
        }
        ex.plotScript = v;
        return true;
    }
    if (a == "--grid") {
        std::array<int, 2> size{};
        if (!readGridSize(a, v, size, error))
            return false;
        ex.grid = size;
        return true;
    }
    std::size_t eq = v.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "option " + a + ": \"" + v + "\" is not NAME=VALUE";
        return false;
    }
    (a == "--set" ? ex.sets : ex.modelSets).emplace_back(v.substr(0, eq), v.substr(eq + 1));
    return true;
}

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
    std::string exportOnly, pictureOption; // the first option that needs --export (or a state)
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
        } else if (a == "--contours") {
            if (!setMode(CommandLine::Mode::Contours, a) || !needValues(args, i, 1, error))
                return false;
            cl.files.push_back(args[++i]);
        } else if (a == "--levels") {
            if (!needValues(args, i, 1, error))
                return false;
            std::int32_t n = 0;
            if (!readInt(a, args[i + 1], n, error))
                return false;
            if (n < 0) {
                error = "option --levels: the number of levels must be 0 or more";
                return false;
            }
            cl.contourLevels = n;
            ++i;
        } else if (a == "--sum") {
            if (cl.mode == CommandLine::Mode::Export)
                cl.exportTo.sum = true;
            else if (!setMode(CommandLine::Mode::Sum, a))
                return false;
        } else if (a == "--wizard") {
            if (!setMode(CommandLine::Mode::Wizard, a))
                return false;
        } else if (a == "--grid" && cl.mode != CommandLine::Mode::Export) {
            if (!setMode(CommandLine::Mode::Grid, a) || !needValues(args, i, 1, error))
                return false;
            cl.files.push_back(args[++i]);
        } else if (a == "--size" && cl.mode == CommandLine::Mode::Grid) {
            if (!needValues(args, i, 1, error))
                return false;
            std::array<int, 2> size{};
            if (!readGridSize(a, args[++i], size, error))
                return false;
            cl.gridSize = size;
        } else if (a == "--export" || a == "--each" || a == "--size" || a == "--dpi" || a == "--bits" ||
                   a == "--set" || a == "--model-set" || a == "--get" || a == "--plot-script" || a == "--scatter" ||
                   a == "--grid" || a == "--wizard-choices" || a == "--colorbar") {
            // Options of the picture come after --export.
            std::string early = exportOnly.empty() ? pictureOption : exportOnly;
            if (a == "--export" && !early.empty()) {
                error = "option " + early + " needs --export before it";
                return false;
            }
            if (!parseExportOption(args, i, cl, modeSet, error))
                return false;
            if (a != "--export" && a != "--set" && a != "--get" && exportOnly.empty())
                exportOnly = a;
            if ((a == "--set" || a == "--get") && pictureOption.empty())
                pictureOption = a;
        } else if (a == "--load-state" || a == "--save-state") {
            if (!needValues(args, i, 1, error))
                return false;
            (a == "--load-state" ? cl.loadState : cl.saveState) = args[++i];
        } else if (a == "--polyhedron") {
            if (!needValues(args, i, 1, error))
                return false;
            cl.polyhedron = args[++i];
        } else if (a == "--info") {
            cl.info = true;
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

    bool state = !cl.loadState.empty() || !cl.saveState.empty();
    if (state && cl.mode != CommandLine::Mode::Export) {
        if (modeSet) {
            error = "--load-state and --save-state go with --export or alone";
            return false;
        }
        if (!cl.files.empty()) {
            error = "data files need --export";
            return false;
        }
        cl.mode = CommandLine::Mode::State;
    }
    if (!exportOnly.empty() && cl.mode != CommandLine::Mode::Export) {
        error = "option " + exportOnly + " needs --export";
        return false;
    }
    if (!pictureOption.empty() && cl.mode != CommandLine::Mode::Export && cl.mode != CommandLine::Mode::State) {
        error = "option " + pictureOption + " needs --export or a state";
        return false;
    }
    if (cl.mode == CommandLine::Mode::Matrix && cl.files.size() != 1) {
        error = "--matrix takes exactly one data file";
        return false;
    }
    if (cl.mode == CommandLine::Mode::Contours && cl.files.size() != 1) {
        error = "--contours takes exactly one data file";
        return false;
    }
    if (cl.contourLevels && cl.mode != CommandLine::Mode::Contours) {
        error = "option --levels needs --contours";
        return false;
    }
    if (cl.info && !cl.polyhedron) {
        error = "--info needs --polyhedron";
        return false;
    }
    if (cl.polyhedron) {
        if (cl.info && (modeSet || state)) {
            error = "--info cannot be combined with another command";
            return false;
        }
        if (cl.info) {
            cl.mode = CommandLine::Mode::PolyhedronInfo;
        } else if (cl.mode != CommandLine::Mode::Export) {
            error = "--polyhedron needs --export or --info";
            return false;
        }
        if (!cl.files.empty()) {
            error = "--polyhedron draws no data files";
            return false;
        }
        if (cl.exportTo.scatter || cl.exportTo.sum) {
            error = "--polyhedron draws no data files: --scatter and --sum do not apply";
            return false;
        }
    }
    if (cl.mode == CommandLine::Mode::Export && cl.files.empty() && cl.loadState.empty() && !cl.polyhedron &&
        cl.exportTo.plotScript.empty()) {
        error = "--export needs at least one data file, --load-state or --plot-script";
        return false;
    }
    if (cl.mode == CommandLine::Mode::Grid && cl.files.size() != 1) {
        error = "--grid takes exactly one data file";
        return false;
    }
    if (cl.mode == CommandLine::Mode::Grid && !cl.gridSize) {
        error = "--grid FILE needs --size ROWSxCOLUMNS";
        return false;
    }
    if (cl.mode == CommandLine::Mode::Export && cl.exportTo.grid && !cl.exportTo.scatter) {
        error = "--grid ROWSxCOLUMNS needs --scatter";
        return false;
    }
    if (cl.mode == CommandLine::Mode::Export && cl.exportTo.scatter && cl.exportTo.sum) {
        error = "--scatter draws each file's points: it cannot be combined with --sum";
        return false;
    }
    if (cl.mode == CommandLine::Mode::Sum && cl.files.empty()) {
        error = "--sum needs at least one data file";
        return false;
    }
    bool matrixOptions = cl.rect || cl.yesScale || cl.fillMode || cl.defaults;
    if (matrixOptions && cl.mode == CommandLine::Mode::Window) {
        error = "matrix options need --matrix, --sum, --export, --contours or --wizard";
        return false;
    }
    // Scattered points take no rectangle, scale or fill; only the defaults
    // of missing fields.
    bool points = cl.mode == CommandLine::Mode::Grid || (cl.mode == CommandLine::Mode::Export && cl.exportTo.scatter);
    if (points && (cl.rect || cl.yesScale || cl.fillMode)) {
        error = "--rect, --scale, --no-scale and --fill make matrices; scattered points take only --defaults";
        return false;
    }
    return true;
}

} // namespace tavrin
