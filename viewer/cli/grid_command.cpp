#include "viewer/cli/grid_command.h"

#include "platform/system/file_io.h"
#include "platform/text/number_text.h"
#include "plot/model/natural_neighbour.h"
#include "viewer/cli/headless_commands.h"
#include "viewer/cli/scatter_points.h"
#include "viewer/data/matrix_error.h"

#include <new>

namespace tavrin {

namespace {

void message(std::FILE* err, const std::string& text)
{
    std::string line = "tavrin: " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), err);
}

} // namespace

int RunGridCommand(const CommandLine& cl, const std::string& programFolder, std::FILE* out, std::FILE* err)
{
    const std::string& file = cl.files.front();
    if (!platform::fileExists(file)) {
        message(err, "cannot open file \"" + file + "\"");
        return 1;
    }
    halvex::NaturalNeighbourSettings settings;
    settings.rows = (*cl.gridSize)[0];
    settings.cols = (*cl.gridSize)[1];
    std::vector<double> grid;
    halvex::GridSpan span;
    halvex::GridStatus status;
    try {
        ScatterPoints p = ReadScatterPoints(file, CommandMatrixSettings(cl, programFolder));
        std::vector<halvex::geom::Point2> xy(p.size());
        for (std::size_t k = 0; k < p.size(); ++k)
            xy[k] = {p.x[k], p.y[k]};
        std::vector<double>().swap(p.x);
        std::vector<double>().swap(p.y);
        status = halvex::GridNaturalNeighbour(std::move(xy), std::move(p.z), settings, grid, span);
    } catch (const FileError& e) {
        message(err, e.what());
        return 1;
    } catch (const std::bad_alloc&) {
        message(err, "\"" + file + "\": not enough memory to grid its points");
        return 1;
    }
    if (status != halvex::GridStatus::Ok) {
        message(err, "cannot grid \"" + file + "\": " + halvex::GridStatusText(status));
        return 1;
    }

    // As --matrix writes: the span, then one line per row, each value the
    // shortest text that reads back to the same double. In pieces, so a
    // large grid needs no second copy as text.
    std::string chunk;
    for (double v : {span.x0, span.x1, span.y0, span.y1}) {
        if (!chunk.empty())
            chunk += ' ';
        platform::appendShortest(chunk, v);
    }
    chunk += '\n';
    constexpr std::size_t kPiece = 1 << 16;
    const std::size_t rows = std::size_t(settings.rows), cols = std::size_t(settings.cols);
    for (std::size_t i = 0; i < rows; ++i) {
        for (std::size_t j = 0; j < cols; ++j) {
            if (j)
                chunk += ' ';
            platform::appendShortest(chunk, grid[i + j * rows]);
            if (chunk.size() >= kPiece) {
                std::fwrite(chunk.data(), 1, chunk.size(), out);
                chunk.clear();
            }
        }
        chunk += '\n';
    }
    std::fwrite(chunk.data(), 1, chunk.size(), out);
    std::fflush(out);
    return 0;
}

} // namespace tavrin
