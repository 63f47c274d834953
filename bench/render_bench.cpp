// The rendering engine off screen (EGL, llvmpipe) at 800 × 600: building
// the scene (BuildScene and the two recorded lists), replaying a still
// frame, and frames while the mouse turns the picture, for N × N surfaces,
// as a wireframe (the default look) and filled with a colour map under
// lighting. The CPU column is the time of all the process's threads (the
// driver rasterizes on threads of its own).
#include "platform/automation/safe_array.h"
#include "plot/core/offscreen_render.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_ids.h"
#include "plot/core/view_gestures.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>

namespace {

using platform::Variant;

struct Scene {
    halvex::COpenGLCtrl control;
    std::unique_ptr<halvex::OffscreenRenderer> target;

    Scene(int n, bool filled)
    {
        platform::SafeArray::Bound b[2] = {{0, std::uint32_t(n)}, {0, std::uint32_t(n)}};
        platform::Ref<platform::SafeArray> a(platform::SafeArray::create(platform::varDouble, b));
        auto* cells = static_cast<double*>(a->data());
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                double x = (i - n / 2) * 12.0 / n, y = (j - n / 2) * 12.0 / n;
                double r = std::sqrt(x * x + y * y);
                cells[i + std::size_t(j) * n] = std::cos(r) * std::exp(-r / 6);
            }
        std::vector<Variant> args{Variant(a)};
        control.invoke(halvex::dispid::AddSurface, platform::InvokeKind::Method, args);
        if (filled) {
            std::vector<Variant> m{Variant(0)};
            Variant model = static_cast<platform::Dispatch&>(control).invoke("Model", platform::InvokeKind::Method, m);
            model.dispatch()->put("DrawFilledPolygons", Variant(true));
            model.dispatch()->put("DrawLines", Variant(false));
            model.dispatch()->put("PolygonColormap", Variant::fromInt16(1));
            static_cast<platform::Dispatch&>(control).put("Lighting", Variant(true));
        }
        target = std::make_unique<halvex::OffscreenRenderer>(control, 800, 600);
        target->Render();
    }
};

void sceneBuild(benchmark::State& state, bool filled)
{
    Scene scene(int(state.range(0)), filled);
    if (!scene.target->valid()) {
        state.SkipWithError(scene.target->error().c_str());
        return;
    }
    halvex::GlRenderer& r = scene.target->renderer();
    for (auto _ : state) {
        scene.target->context().MakeCurrent();
        r.SetViewport(0, 0, 800, 600, 96.0);
        r.BuildScene();
        r.CompileSceneLists();
        glFinish();
    }
    state.counters["cells"] = double(state.range(0) * state.range(0));
}

void frameReplay(benchmark::State& state, bool filled)
{
    Scene scene(int(state.range(0)), filled);
    if (!scene.target->valid()) {
        state.SkipWithError(scene.target->error().c_str());
        return;
    }
    for (auto _ : state) {
        scene.target->Render();
        glFinish();
    }
}

// Frames while the mouse turns the picture: the level of detail of a
// picture in motion (its lists are recorded on the first turn).
void frameTurning(benchmark::State& state, bool filled)
{
    Scene scene(int(state.range(0)), filled);
    if (!scene.target->valid()) {
        state.SkipWithError(scene.target->error().c_str());
        return;
    }
    halvex::ViewGestures& g = scene.control.gestures();
    int x = 400;
    g.LeftDown(x, 300, false);
    g.MouseMove(x += 10, 300, false);
    scene.target->Render();
    glFinish();
    for (auto _ : state) {
        g.MouseMove(x += 2, 300, false);
        scene.target->Render();
        glFinish();
    }
    g.LeftUp(x, 300);
}

void BM_SceneBuildWireframe(benchmark::State& s) { sceneBuild(s, false); }
void BM_SceneBuildFilled(benchmark::State& s) { sceneBuild(s, true); }
void BM_FrameReplayWireframe(benchmark::State& s) { frameReplay(s, false); }
void BM_FrameReplayFilled(benchmark::State& s) { frameReplay(s, true); }
void BM_FrameTurningWireframe(benchmark::State& s) { frameTurning(s, false); }
void BM_FrameTurningFilled(benchmark::State& s) { frameTurning(s, true); }

#define SIZES \
    Arg(100)->Arg(300)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()
BENCHMARK(BM_SceneBuildWireframe)->SIZES;
BENCHMARK(BM_SceneBuildFilled)->SIZES;
BENCHMARK(BM_FrameReplayWireframe)->SIZES;
BENCHMARK(BM_FrameReplayFilled)->SIZES;
BENCHMARK(BM_FrameTurningWireframe)->SIZES;
BENCHMARK(BM_FrameTurningFilled)->SIZES;

} // namespace

BENCHMARK_MAIN();
