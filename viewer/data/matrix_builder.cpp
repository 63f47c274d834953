#include "viewer/data/matrix_builder.h"

#include "platform/system/file_io.h"
#include "viewer/data/point_reader.h"
#include "viewer/data/matrix_error.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <system_error>
#include <thread>

namespace tavrin {

std::string fillScriptPathFor(const std::string& dataFilePath)
{
    return platform::changeFileExt(dataFilePath, ".Tavrin");
}

DataLines PrepareFileLines(const std::string& path, const MatrixSettings& settings,
                           const FillScriptRunner& runFillScript)
{
    DataLines lines = DataLines::fromFile(path);
    if (settings.modeMatrixFill != FillComputed || !runFillScript)
        return lines;
    std::string script = fillScriptPathFor(path);
    if (!platform::fileExists(script))
        return lines;
    std::vector<std::string> computed;
    if (runFillScript(script, settings.rect, computed) && !computed.empty())
        lines.setPrefix(std::move(computed));
    return lines;
}

namespace {

// Nearest integer, ties to even. Adding and removing 1.5 * 2^52 rounds in
// the default rounding mode without a library call.
inline double roundHalfEven(double v) noexcept
{
    constexpr double kMagic = 6755399441055744.0;
    if (std::fabs(v) < 2251799813685248.0) // 2^51
        return (v + kMagic) - kMagic;
    return std::nearbyint(v);
}

// Calls fn(x, y, z) for the point of every data line of a part, in order.
template <class Fn>
void forEachPoint(const DataLines& lines, DataLines::Part part, const MatrixSettings& s, Pacer* pacer, Fn&& fn)
{
    const PointDefaults defaults{{s.xdef, s.ydef, s.zdef}};
    auto cursor = lines.cursor(part);
    std::string_view line;
    double p[3];
    while (cursor.next(line)) {
        if (pacer)
            pacer->step();
        if (readDataPoint(line, defaults, p))
            fn(p[0], p[1], p[2]);
    }
}

DataExtremes scanPart(const DataLines& lines, DataLines::Part part, const MatrixSettings& settings, Pacer* pacer)
{
    DataExtremes e;
    forEachPoint(lines, part, settings, pacer, [&e](double x, double y, double z) {
        if (!e.any) {
            e.minX = e.maxX = x;
            e.minY = e.maxY = y;
            e.minZ = e.maxZ = z;
            e.any = true;
            return;
        }
        if (x < e.minX) e.minX = x;
        if (x > e.maxX) e.maxX = x;
        if (y < e.minY) e.minY = y;
        if (y > e.maxY) e.maxY = y;
        if (z < e.minZ) e.minZ = z;
        if (z > e.maxZ) e.maxZ = z;
    });
    return e;
}

DataExtremes combine(const DataExtremes& a, const DataExtremes& b)
{
    if (!a.any)
        return b;
    if (!b.any)
        return a;
    DataExtremes e = a;
    e.minX = std::min(a.minX, b.minX);
    e.maxX = std::max(a.maxX, b.maxX);
    e.minY = std::min(a.minY, b.minY);
    e.maxY = std::max(a.maxY, b.maxY);
    e.minZ = std::min(a.minZ, b.minZ);
    e.maxZ = std::max(a.maxZ, b.maxZ);
    return e;
}

// Runs work on a helper thread while the caller goes on; falls back to
// running it at join() when no thread can be started.
class Helper {
public:
    explicit Helper(std::function<void()> work) : work_(std::move(work))
    {
        try {
            thread_ = std::thread(work_);
        } catch (const std::system_error&) {
        }
    }
    ~Helper() { join(); }
    void join()
    {
        if (thread_.joinable())
            thread_.join();
        else if (work_)
            work_();
        work_ = nullptr;
    }

private:
    std::function<void()> work_;
    std::thread thread_;
};

} // namespace

bool MapIndex(double v, double lo, double hi, std::int64_t& out) noexcept
{
    double r = roundHalfEven(v);
    if (!(r >= lo && r <= hi)) {
        r = std::trunc(v);
        if (!(r >= lo && r <= hi))
            return false;
    }
    out = static_cast<std::int64_t>(r);
    return true;
}

DataExtremes ScanExtremes(const DataLines& lines, const MatrixSettings& settings, Pacer* pacer,
                          const BuildOptions& options)
{
    auto [first, second] = lines.halves();
    if (second.empty() || lines.text().size() < options.parallelMinBytes)
        return scanPart(lines, lines.whole(), settings, pacer);
    DataExtremes later;
    Helper helper([&] { later = scanPart(lines, second, settings, nullptr); });
    DataExtremes earlier = scanPart(lines, first, settings, pacer);
    helper.join();
    return combine(earlier, later);
}

IndexScale ScaleFactors(const DataExtremes& e, const MatrixSettings& s) noexcept
{
    IndexScale k;
    if (s.yesScale) {
        // Spans in double: Xmax - Xmin may overflow 32 bits.
        const IndexRect& r = s.rect;
        double spanIx = double(r.xmax) - double(r.xmin);
        double spanIy = double(r.ymax) - double(r.ymin);
        if (std::fabs(e.maxX - e.minX) > 0.0001)
            k.sx = std::fabs(spanIx / (e.maxX - e.minX));
        if (std::fabs(e.maxY - e.minY) > 0.0001)
            k.sy = std::fabs(spanIy / (e.maxY - e.minY));
    }
    return k;
}

std::optional<VisualizationMatrix> BuildMatrix(const DataLines& lines, const MatrixSettings& s, Pacer* pacer,
                                               const BuildOptions& options)
{
    if (lines.empty())
        return std::nullopt;

    DataExtremes e = ScanExtremes(lines, s, pacer, options);

    const IndexRect& r = s.rect;
    const auto [sx, sy] = ScaleFactors(e, s);

    VisualizationMatrix m(r);
    switch (s.modeMatrixFill) {
    case FillMin: m.fill(e.minZ); break;
    case FillMax: m.fill(e.maxZ); break;
    case FillMid: m.fill((e.maxZ + e.minZ) / 2); break;
    default: break;
    }

    const double xlo = r.xmin, xhi = r.xmax, ylo = r.ymin, yhi = r.ymax;
    const std::size_t nx = m.width();
    double* cells = m.cells();
    // Calls put(cell, z) for every point of a part that lands in the matrix.
    auto place = [&](DataLines::Part part, Pacer* partPacer, auto&& put) {
        forEachPoint(lines, part, s, partPacer, [&](double x, double y, double z) {
            std::int64_t i, j;
            if (MapIndex((x - e.minX) * sx, xlo, xhi, i) && MapIndex((y - e.minY) * sy, ylo, yhi, j))
                put(static_cast<std::size_t>(i - r.xmin) + static_cast<std::size_t>(j - r.ymin) * nx, z);
        });
    };
    auto direct = [cells](std::size_t c, double z) { cells[c] = z; };

    // Two threads: the helper places the later half into a private overlay
    // with a mark per cell it wrote; the marks then win over this thread's
    // writes, as later lines win over earlier ones.
    auto [first, second] = lines.halves();
    const std::size_t count = m.cellCount();
    const double overlayBytes = static_cast<double>(count) * (sizeof(double) + 0.125);
    bool parallel = !second.empty() && lines.text().size() >= options.parallelMinBytes &&
                    overlayBytes <= options.overlayShareOfFile * static_cast<double>(lines.text().size());
    std::vector<double> overlay;
    std::vector<std::uint64_t> marks;
    if (parallel) {
        try {
            overlay.resize(count);
            marks.resize((count + 63) / 64);
        } catch (const std::bad_alloc&) {
            parallel = false;
        }
    }
    if (!parallel) {
        place(lines.whole(), pacer, direct);
        return m;
    }
    Helper helper([&] {
        place(second, nullptr, [&](std::size_t c, double z) {
            overlay[c] = z;
            marks[c >> 6] |= std::uint64_t(1) << (c & 63);
        });
    });
    place(first, pacer, direct);
    helper.join();
    for (std::size_t w = 0; w < marks.size(); ++w)
        for (std::uint64_t bits = marks[w]; bits; bits &= bits - 1) {
            std::size_t c = w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits));
            cells[c] = overlay[c];
        }
    return m;
}

void AddToSum(VisualizationMatrix& sum, const VisualizationMatrix& m, Pacer* pacer)
{
    const IndexRect &a = sum.rect(), &b = m.rect();
    if (a.xmin != b.xmin || a.xmax != b.xmax || a.ymin != b.ymin || a.ymax != b.ymax)
        throw MatrixError("Matrices over different rectangles cannot be summed");
    if (!pacer) {
        sum.add(m);
        return;
    }
    // One Y index at a time, so events can run between.
    std::size_t nx = sum.width(), ny = sum.height();
    double* dst = sum.cells();
    const double* src = m.cells();
    for (std::size_t j = 0; j < ny; ++j) {
        for (std::size_t i = 0; i < nx; ++i)
            dst[j * nx + i] += src[j * nx + i];
        pacer->step();
    }
}

} // namespace tavrin
