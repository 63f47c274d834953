// AddSurface from the automation argument to a built surface model: an
// n × n matrix of doubles (the viewer's hand-over), and of floats, which
// must be widened first. Reports the time per cell and the memory the call
// needs beyond the model's own floats (4 bytes per cell); and the builders
// of the other plot kinds from the same matrices.
//
//   add_surface_bench [gbench options]

#include "platform/automation/class_registry.h"
#include "platform/automation/safe_array.h"
#include "plot/core/plot_ids.h"
#include "plot/core/plot_registration.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

// Live and peak bytes of everything allocated through operator new, the
// control's buffers included.
std::size_t gLive = 0;
std::size_t gPeak = 0;

void* counted(std::size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    gLive += malloc_usable_size(p);
    if (gLive > gPeak)
        gPeak = gLive;
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

void* operator new(std::size_t n) { return counted(n); }
void* operator new[](std::size_t n) { return counted(n); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { uncounted(p); }

namespace {

platform::Variant matrix(platform::VarType type, std::uint32_t n)
{
    platform::SafeArray::Bound bounds[2] = {{0, n}, {-5, n}};
    auto* a = platform::SafeArray::create(type, bounds);
    if (!a)
        std::abort();
    std::size_t cells = std::size_t(n) * n;
    for (std::size_t k = 0; k < cells; ++k) {
        double v = double(k % 1000) * 0.25 - 100.0;
        if (type == platform::varDouble)
            static_cast<double*>(a->data())[k] = v;
        else
            static_cast<float*>(a->data())[k] = float(v);
    }
    platform::Variant m(a);
    a->release();
    return m;
}

void addSurface(benchmark::State& state, platform::VarType type)
{
    halvex::registerPlotControl();
    auto plot = platform::ClassRegistry::instance().create(halvex::kPlotClassId);
    auto n = static_cast<std::uint32_t>(state.range(0));
    platform::Variant m = matrix(type, n);
    std::size_t cells = std::size_t(n) * n;
    std::size_t worstExtra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        plot->invoke(halvex::dispid::RemoveSurfaces, platform::InvokeKind::Method, {});
        std::size_t before = gLive;
        gPeak = gLive;
        platform::Variant arg = m;
        state.ResumeTiming();
        plot->invoke(halvex::dispid::AddSurface, platform::InvokeKind::Method, std::span<platform::Variant>(&arg, 1));
        state.PauseTiming();
        std::size_t extra = gPeak - before;
        worstExtra = extra > worstExtra ? extra : worstExtra;
        state.ResumeTiming();
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(cells));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * cells));
    state.counters["peak_bytes_per_cell"] = double(worstExtra) / double(cells);
    state.counters["transient_bytes_per_cell"] = (double(worstExtra) - 4.0 * double(cells)) / double(cells);
}

void BM_AddSurfaceDoubles(benchmark::State& state) { addSurface(state, platform::varDouble); }
void BM_AddSurfaceFloats(benchmark::State& state) { addSurface(state, platform::varSingle); }

// The other builders from n × n matrices of doubles: a parametric surface
// (three matrices), a scatter plot of the same, a vector field (two), and
// the bar box of the parametric surface shown as bars. Each is to stay
// linear in the cells, as AddSurface is.
void addOther(benchmark::State& state, const char* method, int matrices, bool bars)
{
    halvex::registerPlotControl();
    auto plot = platform::ClassRegistry::instance().create(halvex::kPlotClassId);
    auto n = static_cast<std::uint32_t>(state.range(0));
    platform::Variant m = matrix(platform::varDouble, n);
    std::size_t cells = std::size_t(n) * n;
    for (auto _ : state) {
        state.PauseTiming();
        plot->invoke(halvex::dispid::RemoveSurfaces, platform::InvokeKind::Method, {});
        if (bars) {
            std::vector<platform::Variant> zero{platform::Variant(0)};
            platform::Variant model = plot->invoke("Model", platform::InvokeKind::Method, zero);
            platform::Variant four(4);
            model.dispatch()->invoke("ViewAs", platform::InvokeKind::PropertyPut, std::span<platform::Variant>(&four, 1));
        }
        std::vector<platform::Variant> args(std::size_t(matrices), m);
        state.ResumeTiming();
        plot->invoke(method, platform::InvokeKind::Method, args);
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(cells));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * cells));
}

void BM_AddParametricSurface(benchmark::State& state) { addOther(state, "AddParametricSurface", 3, false); }
void BM_AddScatterPlot(benchmark::State& state) { addOther(state, "AddScatterPlot", 3, false); }
void BM_AddVectorFieldPlot(benchmark::State& state) { addOther(state, "AddVectorFieldPlot", 2, false); }
void BM_AddParametricBars(benchmark::State& state) { addOther(state, "AddParametricSurface", 3, true); }

} // namespace

BENCHMARK(BM_AddSurfaceDoubles)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_AddSurfaceFloats)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_AddParametricSurface)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_AddScatterPlot)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_AddVectorFieldPlot)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_AddParametricBars)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
