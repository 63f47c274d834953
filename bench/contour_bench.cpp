// Tracing the contour lines of an N × N smooth surface: every automatic Z
// level (about fifteen at round values), and 50 manual levels. Counters:
// the levels, curves and points traced, and the most memory the tracing
// held at once beyond the surface itself, in bytes per point traced (it is
// to stay flat as N grows: memory follows the points, not the grid). At
// N = 1000 the automatic levels are to trace in under 100 ms.
//
// Then the scene of an 800 × 600 picture (off screen) built with contour
// lines and bands on the surface, beside the same surface filled from the
// colour map, for what the contours add to a picture.
#include "platform/automation/safe_array.h"
#include "plot/core/offscreen_render.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_ids.h"
#include "plot/model/contour_tracer.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

void noteAllocated(void* p)
{
    if (!p)
        return;
    std::size_t now = liveBytes += malloc_usable_size(p);
    std::size_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
}

} // namespace

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    noteAllocated(p);
    return p;
}

void operator delete(void* p) noexcept
{
    if (p)
        liveBytes -= malloc_usable_size(p);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace {

using halvex::ContourPoint;

// Counts what it is given, as a drawing would use it and let it go.
class Count final : public halvex::ContourSink {
public:
    bool Curve(std::int32_t, std::span<const ContourPoint> points, bool) override
    {
        ++curves;
        this->points += points.size();
        return true;
    }
    std::size_t curves = 0, points = 0;
};

// The rings of a damped cosine, as the rendering benchmark draws them.
std::vector<float> surface(int n)
{
    std::vector<float> h(std::size_t(n) * std::size_t(n));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            double x = (i - n / 2) * 12.0 / n, y = (j - n / 2) * 12.0 / n;
            double r = std::sqrt(x * x + y * y);
            h[std::size_t(i) + std::size_t(j) * std::size_t(n)] = float(std::cos(r) * std::exp(-r / 6));
        }
    return h;
}

void trace(benchmark::State& state, bool automatic)
{
    const int n = int(state.range(0));
    std::vector<float> h = surface(n);
    auto [lo, hi] = std::minmax_element(h.begin(), h.end());
    halvex::GridSource grid{h.data(), nullptr, nullptr, n, n};
    Count count;
    for (auto _ : state) {
        halvex::ContourTracer tracer(2, automatic, 50);
        tracer.SetRange(*lo, *hi);
        count = Count();
        if (!tracer.Trace(grid, count)) {
            state.SkipWithError("tracing failed");
            return;
        }
        benchmark::DoNotOptimize(count.points);
        state.counters["levels"] = double(tracer.levels().size());
    }
    // One more run, alone, for the memory it holds at most.
    halvex::ContourTracer tracer(2, automatic, 50);
    tracer.SetRange(*lo, *hi);
    std::size_t before = liveBytes.load();
    peakBytes = before;
    Count again;
    tracer.Trace(grid, again);
    double extra = double(peakBytes.load() - before);
    state.counters["curves"] = double(count.curves);
    state.counters["points"] = double(count.points);
    state.counters["peak_bytes"] = extra;
    state.counters["bytes_per_point"] = count.points ? extra / double(count.points) : 0.0;
    state.counters["cells"] = double(n) * n;
}

void automaticLevels(benchmark::State& state)
{
    trace(state, true);
}

void fiftyLevels(benchmark::State& state)
{
    trace(state, false);
}

void sceneBuild(benchmark::State& state, bool contours)
{
    using platform::Variant;
    const int n = int(state.range(0));
    halvex::COpenGLCtrl control;
    std::vector<float> h = surface(n);
    platform::SafeArray::Bound b[2] = {{0, std::uint32_t(n)}, {0, std::uint32_t(n)}};
    platform::Ref<platform::SafeArray> a(platform::SafeArray::create(platform::varDouble, b));
    std::copy(h.begin(), h.end(), static_cast<double*>(a->data()));
    std::vector<Variant> args{Variant(a)};
    control.invoke(halvex::dispid::AddSurface, platform::InvokeKind::Method, args);
    std::vector<Variant> first{Variant(0)};
    Variant model = static_cast<platform::Dispatch&>(control).invoke("Model", platform::InvokeKind::Method, first);
    model.dispatch()->put("DrawLines", Variant(false));
    if (contours) {
        model.dispatch()->put("FillZContours3D", Variant(true));
        model.dispatch()->put("DrawZContours3D", Variant::fromInt16(1));
    } else {
        model.dispatch()->put("DrawFilledPolygons", Variant(true));
        model.dispatch()->put("PolygonColormap", Variant::fromInt16(1));
    }
    static_cast<platform::Dispatch&>(control).put("Lighting", Variant(true));
    halvex::OffscreenRenderer target(control, 800, 600);
    if (!target.valid()) {
        state.SkipWithError(target.error().c_str());
        return;
    }
    target.Render();
    halvex::GlRenderer& r = target.renderer();
    for (auto _ : state) {
        target.context().MakeCurrent();
        r.SetViewport(0, 0, 800, 600, 96.0);
        r.BuildScene();
        r.CompileSceneLists();
        glFinish();
    }
}

void sceneWithContours(benchmark::State& state)
{
    sceneBuild(state, true);
}

void sceneFilled(benchmark::State& state)
{
    sceneBuild(state, false);
}

} // namespace

BENCHMARK(sceneFilled)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(sceneWithContours)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(automaticLevels)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(fiftyLevels)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
