#pragma once
// From data-file lines to a visualization matrix: the two passes over the
// lines, the fill modes, and the summing of several files.

#include "viewer/data/data_lines.h"
#include "viewer/data/fill_script.h"
#include "viewer/data/matrix_settings.h"
#include "viewer/data/pacer.h"
#include "viewer/data/visualization_matrix.h"

#include <optional>
#include <string>

namespace tavrin {

// The lines of a data file; in fill mode 4, preceded by the lines its
// fill-algorithm script computes when the script exists and succeeds.
// Throws FileError when the file cannot be read.
DataLines PrepareFileLines(const std::string& path, const MatrixSettings& settings,
                           const FillScriptRunner& runFillScript = {});

// How large files are built. The defaults suit the program; tests force one
// path or the other.
struct BuildOptions {
    // Files from this size on are read by two threads: this one (which also
    // runs the pacer) and a helper take parts of the lines as they come free.
    std::size_t parallelMinBytes = std::size_t(1) << 22;
    // The size of those parts.
    std::size_t partBytes = std::size_t(1) << 20;
    // The points of the first pass are kept for the second (twelve bytes a
    // point) while they take at most this share of the text: of a mapped
    // file, whose pages are let go as they are read, or of text held in
    // memory. Beyond it the second pass reads the lines again.
    double keepShareOfMappedText = 1.0;
    double keepShareOfTextInMemory = 0.1;
    // When the lines are read again, the second pass runs in two threads
    // only while the helper's private copy of the matrix stays below this
    // share of the file's size, so memory stays near the file plus one
    // matrix.
    double overlayShareOfFile = 0.05;
};

// The matrix of one file's lines, or nothing when there are no lines at all.
// Throws MatrixError when the rectangle cannot form a matrix.
std::optional<VisualizationMatrix> BuildMatrix(const DataLines& lines, const MatrixSettings& settings,
                                               Pacer* pacer = nullptr, const BuildOptions& options = {});

// The extremes of the first pass (all zero when there is no data line).
struct DataExtremes {
    double minX = 0, maxX = 0, minY = 0, maxY = 0, minZ = 0, maxZ = 0;
    bool any = false;
};
DataExtremes ScanExtremes(const DataLines& lines, const MatrixSettings& settings, Pacer* pacer = nullptr,
                          const BuildOptions& options = {});

// The factors that stretch the data's X and Y spans onto the index
// rectangle when YesScale is set; 1 otherwise, and for a span of 0.0001 or
// less. A point (X, Y) lands on the indices (X − minX) × sx, (Y − minY) × sy.
struct IndexScale {
    double sx = 1.0;
    double sy = 1.0;
};
IndexScale ScaleFactors(const DataExtremes& extremes, const MatrixSettings& settings) noexcept;

// The index of a mapped coordinate v: the nearest integer (ties to even), or,
// when that falls outside [lo, hi], v truncated toward zero. False when
// neither is inside: the point is dropped. Infinite, NaN and huge values
// are never converted to integers.
bool MapIndex(double v, double lo, double hi, std::int64_t& out) noexcept;

// Adds a file's matrix to the sum cell by cell.
void AddToSum(VisualizationMatrix& sum, const VisualizationMatrix& m, Pacer* pacer = nullptr);

} // namespace tavrin
