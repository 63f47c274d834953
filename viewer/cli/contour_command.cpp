#include "viewer/cli/contour_command.h"

#include "platform/text/number_text.h"
#include "plot/model/contour_tracer.h"
#include "viewer/cli/headless_commands.h"
#include "viewer/data/matrix_builder.h"
#include "viewer/data/matrix_error.h"

#include <cmath>
#include <limits>

namespace tavrin {

namespace {

void message(std::FILE* err, const std::string& text)
{
    std::string line = "tavrin: " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), err);
}

// Writes each curve as it is traced, in pieces, mapping the matrix's
// indices back to the file's coordinates: index = (X − minX) × sx.
class ContourText final : public halvex::ContourSink {
public:
    ContourText(std::FILE* out, const std::vector<double>& levels, const IndexRect& rect, const DataExtremes& e,
                const IndexScale& k)
        : out_(out), levels_(levels), rect_(rect), e_(e), k_(k)
    {
        text_.reserve(kPiece + 256);
    }
    ~ContourText() { Flush(); }

    bool Curve(std::int32_t level, std::span<const halvex::ContourPoint> points, bool) override
    {
        if (any_)
            text_ += '\n';
        any_ = true;
        text_ += "# level ";
        platform::appendShortest(text_, levels_[std::size_t(level)]);
        text_ += '\n';
        // Display coordinates: z is the row (X index), x the column (Y).
        for (const halvex::ContourPoint& p : points) {
            platform::appendShortest(text_, Data(rect_.xmin + p[2], e_.minX, k_.sx));
            text_ += ' ';
            platform::appendShortest(text_, Data(rect_.ymin + p[0], e_.minY, k_.sy));
            text_ += '\n';
            if (text_.size() >= kPiece)
                Flush();
        }
        return true;
    }

    void Flush()
    {
        std::fwrite(text_.data(), 1, text_.size(), out_);
        text_.clear();
    }

private:
    static constexpr std::size_t kPiece = 1 << 16;

    static double Data(double index, double minimum, double scale) noexcept
    {
        return scale != 0.0 ? minimum + index / scale : minimum;
    }

    std::FILE* out_;
    const std::vector<double>& levels_;
    IndexRect rect_;
    DataExtremes e_;
    IndexScale k_;
    std::string text_;
    bool any_ = false;
};

} // namespace

int RunContourCommand(const CommandLine& cl, const std::string& programFolder, std::FILE* out, std::FILE* err)
{
    MatrixSettings s = CommandMatrixSettings(cl, programFolder);
    try {
        if (!CheckDataFiles(cl.files, err))
            return 1;
        const std::string& file = cl.files.front();
        DataLines lines = PrepareFileLines(file, s);
        if (lines.empty()) {
            message(err, "\"" + file + "\" is empty: no matrix can be built from it");
            return 1;
        }
        std::optional<VisualizationMatrix> m = BuildMatrix(lines, s);
        DataExtremes e = ScanExtremes(lines, s);
        IndexScale k = ScaleFactors(e, s);
        lines = DataLines();

        // The heights' range, as the plot takes it; cells a float cannot
        // carry are left out of it.
        double lo = std::numeric_limits<double>::infinity(), hi = -lo;
        const double* cells = m->cells();
        for (std::size_t c = 0; c < m->cellCount(); ++c)
            if (std::isfinite(cells[c])) {
                lo = std::min(lo, cells[c]);
                hi = std::max(hi, cells[c]);
            }
        halvex::ContourTracer tracer(2, !cl.contourLevels, cl.contourLevels.value_or(0));
        if (!tracer.SetRange(lo, hi)) {
            message(err, "\"" + file + "\": the matrix is flat, it has no contour lines");
            return 0;
        }
        if (m->width() > std::size_t(INT32_MAX) || m->height() > std::size_t(INT32_MAX)) {
            message(err, "the matrix is too large to trace");
            return 1;
        }
        halvex::HeightGrid grid{cells, std::int32_t(m->width()), std::int32_t(m->height())};
        ContourText text(out, tracer.levels(), m->rect(), e, k);
        if (!tracer.Trace(grid, text)) {
            text.Flush();
            message(err, "not enough memory to trace the contour lines");
            return 1;
        }
        text.Flush();
        std::fflush(out);
        return 0;
    } catch (const MatrixError& e) {
        message(err, e.what());
    } catch (const FileError& e) {
        message(err, e.what());
    } catch (const std::exception& e) {
        message(err, e.what());
    }
    return 1;
}

} // namespace tavrin
