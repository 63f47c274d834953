#include "viewer/cli/file_plots.h"

#include "viewer/binding/plot_binding.h"
#include "viewer/cli/headless_commands.h"
#include "viewer/data/matrix_builder.h"

#include "platform/automation/dispatch_exception.h"
#include "platform/text/number_text.h"

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

namespace tavrin {

namespace {

std::optional<VisualizationMatrix> matrixOf(const std::string& file, const MatrixSettings& s,
                                            const FillScriptRunner& runFillScript)
{
    DataLines lines = PrepareFileLines(file, s, runFillScript);
    return lines.empty() ? std::nullopt : BuildMatrix(lines, s);
}

void report(std::FILE* err, const std::string& file)
{
    std::string line = "tavrin: \"" + file + "\" is empty: no surface can be built from it\n";
    std::fwrite(line.data(), 1, line.size(), err);
}

// Adds a surface; what the control refuses is told with the source's name
// and, when it is the reason, the first value single precision cannot carry.
void addSurface(PlotBinding& plot, const std::string& source, const VisualizationMatrix& m)
{
    try {
        plot.AddSurface(m);
    } catch (const std::exception& e) {
        const auto* d = dynamic_cast<const platform::DispatchException*>(&e);
        std::string text = "\"" + source + "\": " + (d && !d->description().empty() ? d->description() : e.what());
        const double* c = m.cells();
        for (std::size_t k = 0; k < m.cellCount(); ++k)
            if (!std::isfinite(c[k]) || std::fabs(c[k]) > double(std::numeric_limits<float>::max())) {
                text += " A value of the file (" + platform::formatShortest(c[k]) +
                        ") lies beyond the plot's single precision, ±3.4028235e38.";
                break;
            }
        throw std::runtime_error(text);
    }
}

} // namespace

int AddFilePlots(platform::Dispatch& control, const std::vector<std::string>& files, const MatrixSettings& s,
                 bool sum, bool vectorField, std::FILE* err, std::size_t* leftOut,
                 const FillScriptRunner& runFillScript)
{
    if (leftOut)
        *leftOut = 0;
    PlotBinding plot{platform::Ref<platform::Dispatch>(&control)};
    plot.RemoveSurfaces();
    if (vectorField) {
        if (files.size() != 2 || sum)
            throw std::runtime_error("a vector field plot takes two files, one surface each: "
                                     "the X and the Y components");
        std::optional<VisualizationMatrix> re = matrixOf(files[0], s, runFillScript);
        std::optional<VisualizationMatrix> im = matrixOf(files[1], s, runFillScript);
        for (std::size_t k = 0; k < 2; ++k)
            if (!(k == 0 ? re : im))
                throw std::runtime_error("\"" + files[k] + "\" is empty: no vector components can be built from it");
        std::vector<platform::Variant> args{re->toVariant(), im->toVariant()};
        control.invoke("AddVectorFieldPlot", platform::InvokeKind::Method, args);
        return 1;
    }
    std::size_t missing = 0;
    int added = 0;
    if (sum) {
        VisualizationMatrix total(s.rect);
        for (const std::string& f : files) {
            std::optional<VisualizationMatrix> m = matrixOf(f, s, {});
            if (!m) {
                report(err, f);
                ++missing;
                continue;
            }
            AddToSum(total, *m);
        }
        addSurface(plot, files.size() == 1 ? files.front() : "the sum of the files", total);
        added = 1;
    } else {
        for (const std::string& f : files) {
            std::optional<VisualizationMatrix> m = matrixOf(f, s, runFillScript);
            if (!m) {
                report(err, f);
                ++missing;
                continue;
            }
            addSurface(plot, f, *m);
            ++added;
        }
    }
    if (leftOut)
        *leftOut = missing;
    return added;
}

} // namespace tavrin
