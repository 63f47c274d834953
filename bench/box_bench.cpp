// The model box off screen (EGL, llvmpipe) at 800 × 600: a frame with the
// viewer's frame (box outline, numbered perimeter axes, grids on the three
// back planes) against one without, still and while the view turns (the
// edges and far sides then change every frame); and the glyph lists of
// the axis numbers made in a context for the first time.
#include "platform/automation/safe_array.h"
#include "plot/base/glyph_font_list.h"
#include "plot/core/offscreen_render.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_ids.h"
#include "plot/core/view_rotation.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>

namespace {

using platform::Variant;

struct Scene {
    halvex::COpenGLCtrl control;
    std::unique_ptr<halvex::OffscreenRenderer> target;

    explicit Scene(bool framed)
    {
        const int n = 100;
        platform::SafeArray::Bound b[2] = {{0, std::uint32_t(n)}, {0, std::uint32_t(n)}};
        platform::Ref<platform::SafeArray> a(platform::SafeArray::create(platform::varDouble, b));
        auto* cells = static_cast<double*>(a->data());
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                cells[i + std::size_t(j) * n] = std::sin(i * 0.1) * std::cos(j * 0.1);
        std::vector<Variant> args{Variant(a)};
        control.invoke(halvex::dispid::AddSurface, platform::InvokeKind::Method, args);
        platform::Dispatch& c = control;
        Variant box = c.get("ModelBox");
        platform::Dispatch& bx = *box.dispatch();
        if (framed) {
            bx.put("AxesStyle", Variant::fromInt16(0));
            bx.put("ShowBox", Variant(true));
            for (const char* name : {"XYPlane", "YZPlane", "XZPlane"}) {
                Variant p = bx.get(name);
                p.dispatch()->put("ShowVerticalGridLines", Variant(true));
                p.dispatch()->put("ShowHorizontalGridLines", Variant(true));
            }
        } else {
            bx.put("AxesStyle", Variant::fromInt16(2));
        }
        target = std::make_unique<halvex::OffscreenRenderer>(control, 800, 600);
        target->Render();
    }
};

void frames(benchmark::State& state, bool framed, bool turning)
{
    Scene scene(framed);
    if (!scene.target->valid()) {
        state.SkipWithError(scene.target->error().c_str());
        return;
    }
    double rotation = 0.0;
    for (auto _ : state) {
        if (turning) {
            // As a drag turns it: the angles change, nothing is rebuilt.
            rotation += 7.0;
            scene.control.SetViewAngles(halvex::ViewAngles{0.6, rotation * 0.017453292519943295, 0.17});
        }
        scene.target->Render();
        glFinish();
    }
}

void BM_FrameWithoutBox(benchmark::State& s) { frames(s, false, false); }
void BM_FrameWithBox(benchmark::State& s) { frames(s, true, false); }
void BM_TurningWithoutBox(benchmark::State& s) { frames(s, false, true); }
void BM_TurningWithBox(benchmark::State& s) { frames(s, true, true); }

void BM_NumberGlyphsFirstUse(benchmark::State& state)
{
    halvex::EglRenderContext context(64, 64);
    if (!context.valid() || !context.MakeCurrent()) {
        state.SkipWithError(context.error().c_str());
        return;
    }
    for (auto _ : state) {
        halvex::SceneFonts fonts; // a context's first use of the font
        halvex::GlyphFontList* list = fonts.Get("Arial", 10, 96);
        list->Draw("-0123456789.\xB7");
        glFinish();
    }
}

#define TIMES Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BM_FrameWithoutBox)->TIMES;
BENCHMARK(BM_FrameWithBox)->TIMES;
BENCHMARK(BM_TurningWithoutBox)->TIMES;
BENCHMARK(BM_TurningWithBox)->TIMES;
BENCHMARK(BM_NumberGlyphsFirstUse)->TIMES;

} // namespace

BENCHMARK_MAIN();
