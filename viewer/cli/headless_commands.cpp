#include "viewer/cli/headless_commands.h"

#include "platform/system/file_io.h"
#include "platform/text/number_text.h"
#include "viewer/data/matrix_builder.h"
#include "viewer/data/matrix_error.h"
#include "viewer/data/number_text_format.h"
#include "viewer/settings/program_folder.h"
#include "viewer/settings/viewer_settings.h"

#include <cerrno>
#include <sys/stat.h>

namespace tavrin {

void WriteMatrixText(const VisualizationMatrix& m, std::FILE* out)
{
    const IndexRect& r = m.rect();
    std::string chunk = std::to_string(r.xmin) + ' ' + std::to_string(r.xmax) + ' ' + std::to_string(r.ymin) + ' ' +
                        std::to_string(r.ymax) + '\n';
    const std::size_t nx = m.width(), ny = m.height();
    const double* cells = m.cells();
    // Written in pieces, so a large matrix needs no second copy as text.
    constexpr std::size_t kPiece = 1 << 16;
    chunk.reserve(kPiece + 64);
    for (std::size_t i = 0; i < nx; ++i) {
        for (std::size_t j = 0; j < ny; ++j) {
            if (j)
                chunk += ' ';
            platform::appendShortest(chunk, cells[i + j * nx]);
            if (chunk.size() >= kPiece) {
                std::fwrite(chunk.data(), 1, chunk.size(), out);
                chunk.clear();
            }
        }
        chunk += '\n';
    }
    std::fwrite(chunk.data(), 1, chunk.size(), out);
}

MatrixSettings CommandMatrixSettings(const CommandLine& cl, const std::string& programFolder)
{
    WindowParameters p = LoadWindowParameters(programFolder + kSettingsFileName);
    if (cl.rect)
        p.rect = *cl.rect;
    if (cl.yesScale)
        p.yesScale = *cl.yesScale;
    if (cl.fillMode)
        p.modeMatrixFill = *cl.fillMode;
    if (cl.defaults) {
        // Normalised as the window's fields normalise what is typed.
        p.xdef = FormatNumberText((*cl.defaults)[0]);
        p.ydef = FormatNumberText((*cl.defaults)[1]);
        p.zdef = FormatNumberText((*cl.defaults)[2]);
    }
    return ToMatrixSettings(p);
}

namespace {

void writeAll(std::FILE* f, const std::string& s)
{
    std::fwrite(s.data(), 1, s.size(), f);
}

void message(std::FILE* err, const std::string& text)
{
    writeAll(err, "tavrin: " + text + "\n");
}

} // namespace

bool CheckDataFiles(const std::vector<std::string>& files, std::FILE* err)
{
    for (const std::string& f : files)
        if (!platform::fileExists(f)) {
            struct stat st {};
            int e = ::stat(f.c_str(), &st) == 0 ? EISDIR : errno;
            std::string why = e == EISDIR && !S_ISDIR(st.st_mode) ? "not a regular file" : platform::systemErrorText(e);
            message(err, "Cannot open file \"" + f + "\": " + why);
            return false;
        }
    return true;
}

VisualizationMatrix SumOfFiles(const std::vector<std::string>& files, const MatrixSettings& s, std::FILE* err)
{
    VisualizationMatrix sum(s.rect);
    for (const std::string& f : files) {
        std::optional<VisualizationMatrix> m = BuildMatrix(DataLines::fromFile(f), s);
        if (m)
            AddToSum(sum, *m);
        else
            message(err, "Ошибка при формировании поверхности из файла : " + f);
    }
    return sum;
}

int RunMatrixCommand(const CommandLine& cl, const std::string& programFolder, std::FILE* out, std::FILE* err,
                     const FillScriptRunner& runFillScript)
{
    MatrixSettings s = CommandMatrixSettings(cl, programFolder);
    try {
        if (!CheckDataFiles(cl.files, err))
            return 1;

        std::optional<VisualizationMatrix> m;
        if (cl.mode == CommandLine::Mode::Matrix) {
            // The file's lines go before the matrix is written out.
            DataLines lines = PrepareFileLines(cl.files.front(), s, runFillScript);
            if (lines.empty()) {
                message(err, "\"" + cl.files.front() + "\" is empty: no matrix can be built from it");
                return 1;
            }
            m = BuildMatrix(lines, s);
        } else {
            m = SumOfFiles(cl.files, s, err);
        }
        WriteMatrixText(*m, out);
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
