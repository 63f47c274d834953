#include "viewer/cli/file_plots.h"

#include "viewer/binding/plot_binding.h"
#include "viewer/cli/headless_commands.h"
#include "viewer/data/matrix_builder.h"

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

} // namespace

int AddFilePlots(platform::Dispatch& control, const std::vector<std::string>& files, const MatrixSettings& s,
                 bool sum, bool vectorField, std::FILE* err, const FillScriptRunner& runFillScript)
{
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
    if (sum) {
        plot.AddSurface(SumOfFiles(files, s, err));
        return 1;
    }
    int added = 0;
    for (const std::string& f : files) {
        std::optional<VisualizationMatrix> m = matrixOf(f, s, runFillScript);
        if (!m) {
            report(err, f);
            continue;
        }
        plot.AddSurface(*m);
        ++added;
    }
    return added;
}

} // namespace tavrin
