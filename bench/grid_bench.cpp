// Natural-neighbour gridding of scattered points onto 200 × 200 nodes:
// 100,000 random points (target: under 0.4 s) and 1,000,000 (under 3 s),
// at most 200 bytes per point at the peak, the points themselves included;
// and a 1000 × 1000 lattice, every cell of which is cocircular (the exact
// predicates' worst case). For reference, in the same run, the Delaunay
// triangulation alone of the same points by the qhull library (when it is
// installed), and the grid_vs_gnuplot.sh script times gnuplot's dgrid3d.
#include "plot/model/natural_neighbour.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <random>
#include <vector>

#ifdef TAVRIN_HAVE_QHULL
extern "C" {
#include <libqhull_r/qhull_ra.h>
}
#endif

namespace {

// Live and peak bytes of everything allocated through operator new.
std::size_t gLive = 0;
std::size_t gPeak = 0;

void* counted(std::size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (p) {
        gLive += malloc_usable_size(p);
        if (gLive > gPeak)
            gPeak = gLive;
    }
    return p;
}

void uncounted(void* p) noexcept
{
    if (!p)
        return;
    gLive -= malloc_usable_size(p);
    std::free(p);
}

} // namespace

void* operator new(std::size_t n)
{
    if (void* p = counted(n))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n)
{
    if (void* p = counted(n))
        return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return counted(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return counted(n); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { uncounted(p); }

namespace {

using halvex::geom::Point2;

struct Points {
    std::vector<Point2> xy;
    std::vector<double> z;
};

Points randomPoints(std::size_t n)
{
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> U(0.0, 1.0);
    Points p;
    p.xy.resize(n);
    p.z.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        p.xy[k] = {U(rng), U(rng)};
        p.z[k] = std::sin(6 * p.xy[k].x) * std::cos(4 * p.xy[k].y);
    }
    return p;
}

Points lattice(std::size_t side)
{
    Points p;
    for (std::size_t i = 0; i < side; ++i)
        for (std::size_t j = 0; j < side; ++j) {
            p.xy.push_back({double(i), double(j)});
            p.z.push_back(std::sin(i * 0.01) * std::cos(j * 0.02));
        }
    return p;
}

void grid(benchmark::State& state, const Points& source)
{
    halvex::NaturalNeighbourSettings settings;
    settings.rows = 200;
    settings.cols = 200;
    const std::size_t n = source.xy.size();
    double peakPerPoint = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t before = gLive;
        gPeak = gLive;
        // The caller's points, handed over.
        std::vector<Point2> xy = source.xy;
        std::vector<double> z = source.z;
        std::vector<double> out;
        halvex::GridSpan span;
        state.ResumeTiming();
        auto status = halvex::GridNaturalNeighbour(std::move(xy), std::move(z), settings, out, span);
        benchmark::DoNotOptimize(out.data());
        state.PauseTiming();
        if (status != halvex::GridStatus::Ok)
            state.SkipWithError("not gridded");
        peakPerPoint = double(gPeak - before) / double(n);
        out = {};
        state.ResumeTiming();
    }
    state.counters["points"] = double(n);
    state.counters["peak_bytes_per_point"] = peakPerPoint;
}

void BM_GridRandom(benchmark::State& state)
{
    static Points p100k = randomPoints(100000);
    static Points p1m = randomPoints(1000000);
    grid(state, state.range(0) == 100000 ? p100k : p1m);
}
BENCHMARK(BM_GridRandom)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GridLattice(benchmark::State& state)
{
    static Points p = lattice(1000);
    grid(state, p);
}
BENCHMARK(BM_GridLattice)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef TAVRIN_HAVE_QHULL
// The library's Delaunay triangulation of the same points (joggle off,
// triangulated output), nothing more: no interpolation.
void BM_QhullDelaunay(benchmark::State& state)
{
    static Points p100k = randomPoints(100000);
    static Points p1m = randomPoints(1000000);
    const Points& p = state.range(0) == 100000 ? p100k : p1m;
    const std::size_t n = p.xy.size();
    std::vector<double> coords(2 * n);
    for (std::size_t k = 0; k < n; ++k) {
        coords[2 * k] = p.xy[k].x;
        coords[2 * k + 1] = p.xy[k].y;
    }
    double bytesPerPoint = 0.0;
    long triangles = 0;
    for (auto _ : state) {
        struct mallinfo2 before = mallinfo2();
        qhT qh_qh;
        qhT* qh = &qh_qh;
        qh_zero(qh, stderr);
        char flags[] = "qhull d Qbb Qt";
        int rc = qh_new_qhull(qh, 2, int(n), coords.data(), False, flags, nullptr, stderr);
        if (rc != 0)
            state.SkipWithError("qhull failed");
        struct mallinfo2 after = mallinfo2();
        facetT* facet;
        triangles = 0;
        FORALLfacets {
            if (!facet->upperdelaunay)
                ++triangles;
        }
        // In use once the triangulation stands (the library's own pools
        // included); the coordinates are not counted.
        bytesPerPoint =
            double((after.uordblks + after.hblkhd) - (before.uordblks + before.hblkhd)) / double(n);
        state.PauseTiming();
        qh_freeqhull(qh, !qh_ALL);
        int curlong = 0, totlong = 0;
        qh_memfreeshort(qh, &curlong, &totlong);
        state.ResumeTiming();
    }
    state.counters["points"] = double(n);
    state.counters["triangles"] = double(triangles);
    state.counters["bytes_per_point_in_use"] = bytesPerPoint;
}
BENCHMARK(BM_QhullDelaunay)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

} // namespace

BENCHMARK_MAIN();
