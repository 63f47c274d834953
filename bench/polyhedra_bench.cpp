// Uniform polyhedra and quick plots: the Wythoff construction of a few
// polyhedra (a regular one, snubs solved numerically, the one of four
// numbers, the largest antiprism), the recording of faces as drawing calls,
// the building of a host's mesh value of 200 × 200 points, and the scene
// of a quick plot recorded and replayed off screen (EGL, llvmpipe).
#include "plot/core/offscreen_render.h"
#include "plot/core/plot_control.h"
#include "plot/host/fake_host.h"
#include "plot/model/kaleido.h"
#include "plot/model/polyhedron_recording.h"
#include "plot/model/quick_plot_builder.h"
#include "plot/model/quick_plot_model.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

void generate(benchmark::State& state, const char* symbol)
{
    for (auto _ : state) {
        halvex::kaleido::Polyhedron p;
        halvex::kaleido::Failure f;
        if (!halvex::kaleido::Kaleido(symbol, p, f)) {
            state.SkipWithError(std::string(f.message).c_str());
            return;
        }
        benchmark::DoNotOptimize(p.solid.faces.data());
    }
}
BENCHMARK_CAPTURE(generate, cube, "3|2 4")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(generate, truncated_icosidodecahedron, "2 3 5|")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(generate, snub_dodecahedron, "|2 3 5")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(generate, great_dirhombicosidodecahedron, "|3/2 5/3 3 5/2")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(generate, antiprism_1999, "|2 2 1999")->Unit(benchmark::kMillisecond);

void record(benchmark::State& state)
{
    for (auto _ : state) {
        halvex::RecordedCalls calls;
        benchmark::DoNotOptimize(halvex::DrawPolyhedron("+|2 3 5", calls));
    }
}
BENCHMARK(record)->Unit(benchmark::kMicrosecond);

// A host's mesh of n × n points: a vertex array and a strip per row.
struct HostMesh {
    halvex::host::FakeHost host;
    const halvex::host::HostMesh* mesh = nullptr;
    explicit HostMesh(int n)
    {
        const auto& f = host.Function(2, [](double u, double v) { return std::cos(std::hypot(u, v)); });
        halvex::host::GraphicsRanges r;
        r.m = r.n = n;
        mesh = static_cast<const halvex::host::HostMesh*>(host.library.CreateMesh(host.context, f, r));
    }
};

void buildQuickPlot(benchmark::State& state)
{
    HostMesh m(int(state.range(0)));
    platform::Ref<halvex::QuickPlotModel> model(new halvex::QuickPlotModel({}));
    for (auto _ : state)
        halvex::BuildQuickPlot(*model, *m.mesh, m.host.values());
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(buildQuickPlot)->Arg(200)->Unit(benchmark::kMillisecond);

void quickPlotScene(benchmark::State& state, const char* request)
{
    halvex::COpenGLCtrl control;
    halvex::host::HostText text(request);
    halvex::host::HostMesh list;
    list.elements.push_back(&text);
    halvex::BuildQuickPlotModel(control, 0, list, control.hostFramework().values());
    control.FindModel(0)->put("DrawFilledPolygons", platform::Variant(true));
    halvex::OffscreenRenderer target(control, 800, 600);
    if (!target.valid()) {
        state.SkipWithError(target.error().c_str());
        return;
    }
    for (auto _ : state) {
        control.RefreshScene();
        target.Render();
    }
}
BENCHMARK_CAPTURE(quickPlotScene, great_dirhombicosidodecahedron, "+#80")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
