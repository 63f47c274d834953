#include "viewer/data/matrix_builder.h"

#include "platform/system/file_io.h"
#include "viewer/data/kept_points.h"
#include "viewer/data/matrix_error.h"
#include "viewer/data/point_reader.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
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

// MapIndex, inline for the hot loops.
inline bool mapIndex(double v, double lo, double hi, std::int64_t& out) noexcept
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

// Runs job(part, worker, pacer) once for every part index below count:
// this thread is worker 0 and runs the pacer; with two threads a helper is
// worker 1, and each takes the next part as it comes free, so a busy core
// never holds the other up.
template <class Job>
void runParts(std::size_t count, bool twoThreads, Pacer* pacer, Job&& job)
{
    std::atomic<std::size_t> next{0};
    auto work = [&](int worker, Pacer* p) {
        for (std::size_t k; (k = next.fetch_add(1, std::memory_order_relaxed)) < count;)
            job(k, worker, p);
    };
    if (!twoThreads || count < 2) {
        work(0, pacer);
        return;
    }
    Helper helper([&] { work(1, nullptr); });
    work(0, pacer);
    helper.join();
}

// Calls fn(point) for the point of every data line of a part, in order,
// stepping the pacer after every line.
template <class Fn>
void forEachPoint(const DataLines& lines, DataLines::Part part, const PointDefaults& defaults, Pacer* pacer,
                  Fn&& fn)
{
    LinePoint pt;
    bool data = false;
    if (part.prefix)
        for (const std::string& line : lines.prefix()) {
            const char* end = line.data() + line.size();
            readLinePoint<false>(line.data(), end, end, defaults, pt, data);
            if (data)
                fn(pt);
            if (pacer)
                pacer->step();
        }
    std::string_view text = lines.text();
    const char* p = text.data() + part.begin;
    const char* end = text.data() + part.end;
    const char* readable = text.data() + text.size();
    while (p < end) {
        p = readLinePoint<true>(p, end, readable, defaults, pt, data);
        if (data)
            fn(pt);
        if (pacer)
            pacer->step();
    }
}

void widen(DataExtremes& e, const double* v) noexcept
{
    if (!e.any) {
        e.minX = e.maxX = v[0];
        e.minY = e.maxY = v[1];
        e.minZ = e.maxZ = v[2];
        e.any = true;
        return;
    }
    if (v[0] < e.minX) e.minX = v[0];
    if (v[0] > e.maxX) e.maxX = v[0];
    if (v[1] < e.minY) e.minY = v[1];
    if (v[1] > e.maxY) e.maxY = v[1];
    if (v[2] < e.minZ) e.minZ = v[2];
    if (v[2] > e.maxZ) e.maxZ = v[2];
}

// The extremes of a before b: on ties the earlier value stays, as it does
// when one thread walks all lines.
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

// A cell index kept in a point, or none: the point is dropped.
constexpr std::uint32_t kNoCell = UINT32_MAX;

// The two passes over one file's lines. The first reads every line once,
// finds the extremes and, while the budget allows, keeps each point's
// values; the second then places the kept points without reading a line
// again: both threads turn them into (Z, cell) in place, part by part, and
// this thread writes them into the matrix in line order, so a later point
// replaces an earlier one exactly as in one walk over the lines.
class PointPasses {
public:
    PointPasses(const DataLines& lines, const MatrixSettings& s, const BuildOptions& o)
        : lines_(lines), settings_(s), options_(o), defaults_{{s.xdef, s.ydef, s.zdef}},
          parts_(lines.parts(o.partBytes)), results_(parts_.size()),
          twoThreads_(lines.text().size() >= o.parallelMinBytes)
    {}

    // The first pass; keep tells whether points may be kept for place().
    DataExtremes scan(Pacer* pacer, bool keep);
    void place(VisualizationMatrix& m, const DataExtremes& e, double sx, double sy, Pacer* pacer);

private:
    struct PartResult {
        DataExtremes e;
        int worker = 0; // whose stores hold the part's points
        std::size_t firstPoint = 0, points = 0, firstAside = 0;
    };
    struct Keeper {
        explicit Keeper(KeepBudget& b) noexcept : points(b), aside(b) {}
        BlockStore<KeptPoint> points;
        BlockStore<double> aside;
    };

    void placeKept(VisualizationMatrix& m, const DataExtremes& e, double sx, double sy, Pacer* pacer);
    void placeByReading(VisualizationMatrix& m, const DataExtremes& e, double sx, double sy, Pacer* pacer);

    const DataLines& lines_;
    const MatrixSettings& settings_;
    const BuildOptions& options_;
    const PointDefaults defaults_;
    const std::vector<DataLines::Part> parts_;
    std::vector<PartResult> results_;
    const bool twoThreads_;
    KeepBudget budget_;
    std::unique_ptr<Keeper> keepers_[2];
    bool kept_ = false;
};

DataExtremes PointPasses::scan(Pacer* pacer, bool keep)
{
    // Kept points must fit in the budget and their cells in 32 bits.
    const IndexRect& r = settings_.rect;
    std::int64_t nx = std::int64_t(r.xmax) - r.xmin + 1, ny = std::int64_t(r.ymax) - r.ymin + 1;
    bool cellsFit = nx > 0 && ny > 0 && static_cast<double>(nx) * static_cast<double>(ny) < double(kNoCell);
    std::size_t bytes = lines_.text().size();
    for (const std::string& line : lines_.prefix())
        bytes += line.size();
    double share = lines_.file().mapped() ? options_.keepShareOfMappedText : options_.keepShareOfTextInMemory;
    double limit = keep && cellsFit ? share * static_cast<double>(bytes) : 0;
    budget_.limit = limit < double(SIZE_MAX / 2) ? static_cast<std::size_t>(limit) : SIZE_MAX / 2;
    std::atomic<bool> keeping{budget_.limit > 0};
    if (keeping) {
        keepers_[0] = std::make_unique<Keeper>(budget_);
        keepers_[1] = std::make_unique<Keeper>(budget_);
    }

    const platform::MappedFile& file = lines_.file();
    runParts(parts_.size(), twoThreads_, pacer, [&](std::size_t k, int worker, Pacer* p) {
        const DataLines::Part& part = parts_[k];
        PartResult& res = results_[k];
        res.worker = worker;
        if (file.truncated())
            return; // what is left reads as zeros; the build is refused
        file.prefetch(part.begin, part.end);
        if (!keeping.load(std::memory_order_relaxed)) {
            forEachPoint(lines_, part, defaults_, p, [&res](const LinePoint& pt) { widen(res.e, pt.v); });
        } else {
            Keeper& keeper = *keepers_[worker];
            res.firstPoint = keeper.points.size();
            res.firstAside = keeper.aside.size();
            bool ok = true;
            forEachPoint(lines_, part, defaults_, p, [&](const LinePoint& pt) {
                widen(res.e, pt.v);
                if (!ok)
                    return;
                for (int f = 0; f < 3; ++f)
                    if (pt.code[f] == kCodeAside)
                        ok = ok && keeper.aside.push(pt.v[f]);
                ok = ok && keeper.points.push(KeptPoint{{pt.code[0], pt.code[1], pt.code[2]}});
            });
            res.points = keeper.points.size() - res.firstPoint;
            if (!ok)
                keeping.store(false, std::memory_order_relaxed);
        }
        // What was read is not needed again when the points are kept, and
        // comes back from the file when it is: either way the pages can go.
        file.release(part.begin, part.end);
    });

    kept_ = keeping.load();
    if (!kept_)
        for (auto& k : keepers_)
            k.reset();
    DataExtremes e;
    for (const PartResult& res : results_)
        e = combine(e, res.e);
    return e;
}

void PointPasses::place(VisualizationMatrix& m, const DataExtremes& e, double sx, double sy, Pacer* pacer)
{
    if (kept_)
        placeKept(m, e, sx, sy, pacer);
    else
        placeByReading(m, e, sx, sy, pacer);
}

void PointPasses::placeKept(VisualizationMatrix& m, const DataExtremes& e, double sx, double sy, Pacer* pacer)
{
    const IndexRect& r = m.rect();
    const double xlo = r.xmin, xhi = r.xmax, ylo = r.ymin, yhi = r.ymax;
    const std::size_t nx = m.width();
    // Both threads: codes to values, values to (Z, cell), in place.
    runParts(parts_.size(), twoThreads_, pacer, [&](std::size_t k, int, Pacer* p) {
        const PartResult& res = results_[k];
        Keeper& keeper = *keepers_[res.worker];
        std::size_t aside = res.firstAside;
        auto value = [&](ValueCode c, int f) {
            return c == kCodeDefault ? defaults_.v[f] : c == kCodeAside ? keeper.aside[aside++] : decodeValue(c);
        };
        keeper.points.forEachRun(res.firstPoint, res.points, [&](KeptPoint* begin, KeptPoint* end) {
            for (KeptPoint* kp = begin; kp != end; ++kp) {
                double x = value(kp->w[0], 0), y = value(kp->w[1], 1), z = value(kp->w[2], 2);
                std::int64_t ci, cj;
                std::uint32_t cell = kNoCell;
                if (mapIndex((x - e.minX) * sx, xlo, xhi, ci) && mapIndex((y - e.minY) * sy, ylo, yhi, cj))
                    cell = static_cast<std::uint32_t>(static_cast<std::size_t>(ci - r.xmin) +
                                                      static_cast<std::size_t>(cj - r.ymin) * nx);
                std::memcpy(kp->w, &z, sizeof z);
                kp->w[2] = cell;
                if (p)
                    p->step();
            }
        });
    });
    // This thread: into the matrix, in line order. (Both threads writing
    // each its half of the cells, every point read by both, took longer.)
    double* cells = m.cells();
    for (const PartResult& res : results_)
        keepers_[res.worker]->points.forEachRun(res.firstPoint, res.points, [&](KeptPoint* begin, KeptPoint* end) {
            for (const KeptPoint* kp = begin; kp != end; ++kp) {
                if (kp->w[2] != kNoCell)
                    std::memcpy(cells + kp->w[2], kp->w, sizeof(double));
                if (pacer)
                    pacer->step();
            }
        });
    for (auto& k : keepers_)
        k.reset();
}

void PointPasses::placeByReading(VisualizationMatrix& m, const DataExtremes& e, double sx, double sy,
                                 Pacer* pacer)
{
    const IndexRect& r = m.rect();
    const double xlo = r.xmin, xhi = r.xmax, ylo = r.ymin, yhi = r.ymax;
    const std::size_t nx = m.width();
    double* cells = m.cells();
    const platform::MappedFile& file = lines_.file();
    // Calls put(cell, z) for every point of the parts [from, to) that lands
    // in the matrix.
    auto place = [&](std::size_t from, std::size_t to, Pacer* partPacer, auto&& put) {
        for (std::size_t k = from; k < to; ++k) {
            const DataLines::Part& part = parts_[k];
            file.prefetch(part.begin, part.end);
            forEachPoint(lines_, part, defaults_, partPacer, [&](const LinePoint& pt) {
                std::int64_t i, j;
                if (mapIndex((pt.v[0] - e.minX) * sx, xlo, xhi, i) && mapIndex((pt.v[1] - e.minY) * sy, ylo, yhi, j))
                    put(static_cast<std::size_t>(i - r.xmin) + static_cast<std::size_t>(j - r.ymin) * nx, pt.v[2]);
            });
            file.release(part.begin, part.end);
        }
    };
    auto direct = [cells](std::size_t c, double z) { cells[c] = z; };

    // Two threads: the helper places the later half of the parts into a
    // private overlay with a mark per cell it wrote; the marks then win
    // over this thread's writes, as later lines win over earlier ones.
    std::size_t half = 0;
    while (half < parts_.size() && (parts_[half].prefix || parts_[half].begin < lines_.text().size() / 2))
        ++half;
    const std::size_t count = m.cellCount();
    const double overlayBytes = static_cast<double>(count) * (sizeof(double) + 0.125);
    bool parallel = twoThreads_ && half > 0 && half < parts_.size() &&
                    overlayBytes <= options_.overlayShareOfFile * static_cast<double>(lines_.text().size());
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
        place(0, parts_.size(), pacer, direct);
        return;
    }
    Helper helper([&] {
        place(half, parts_.size(), nullptr, [&](std::size_t c, double z) {
            overlay[c] = z;
            marks[c >> 6] |= std::uint64_t(1) << (c & 63);
        });
    });
    place(0, half, pacer, direct);
    helper.join();
    for (std::size_t w = 0; w < marks.size(); ++w)
        for (std::uint64_t bits = marks[w]; bits; bits &= bits - 1) {
            std::size_t c = w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits));
            cells[c] = overlay[c];
        }
}

} // namespace

bool MapIndex(double v, double lo, double hi, std::int64_t& out) noexcept
{
    return mapIndex(v, lo, hi, out);
}

DataExtremes ScanExtremes(const DataLines& lines, const MatrixSettings& settings, Pacer* pacer,
                          const BuildOptions& options)
{
    PointPasses passes(lines, settings, options);
    DataExtremes e = passes.scan(pacer, false);
    lines.checkIntact();
    return e;
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

    PointPasses passes(lines, s, options);
    DataExtremes e = passes.scan(pacer, true);
    lines.checkIntact();

    const IndexRect& r = s.rect;
    const auto [sx, sy] = ScaleFactors(e, s);

    VisualizationMatrix m(r);
    switch (s.modeMatrixFill) {
    case FillMin: m.fill(e.minZ); break;
    case FillMax: m.fill(e.maxZ); break;
    case FillMid: m.fill((e.maxZ + e.minZ) / 2); break;
    default: break;
    }

    passes.place(m, e, sx, sy, pacer);
    lines.checkIntact();
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
