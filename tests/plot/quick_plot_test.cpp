// Quick plots: the recorded call list and its arena, the building of a
// host's mesh value (bounds, calls, polyhedron texts and their errors), and
// the replay into frames with the model's format.
#include "tests/plot/render_test_support.h"

#include "plot/base/plot_errors.h"
#include "plot/host/fake_host.h"
#include "plot/model/quick_plot_builder.h"
#include "plot/model/quick_plot_calls.h"
#include "plot/model/quick_plot_model.h"
#include "plot/model/quick_plot_replay.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

using namespace plottest;
using halvex::DrawOp;
using halvex::RecordedCalls;
using halvex::host::FakeHost;
using halvex::host::HostMesh;
using halvex::host::HostValue;

namespace {

std::uint16_t ErrorCodeOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const platform::DispatchException& e) {
        return e.code();
    }
    return 0;
}

class QuickPlots : public RenderTest {
protected:
    QuickPlots() : hosted(new halvex::COpenGLCtrl(host))
    {
        hosted->setSite(&site);
        put(*dispatchOf(get(*hosted, "ModelBox")), "AxesStyle", Variant::fromInt16(2));
    }
    ~QuickPlots() override
    {
        // The control goes before its host.
        offscreen_.reset();
        hosted->setSite(nullptr);
        ctl = nullptr;
        hosted = nullptr;
    }

    void Build(int number, std::vector<const HostValue*> elements)
    {
        const HostMesh& mesh = host.Mesh(std::move(elements));
        halvex::BuildQuickPlotModel(*hosted, number, mesh, host.values());
        hosted->RecomputeViewFlags();
        hosted->RefreshScene();
    }
    halvex::QuickPlotModel* quick(int n)
    {
        halvex::CglModel* m = hosted->FindModel(n);
        return m ? m->AsQuickPlotModel() : nullptr;
    }
    // The frames are those of the hosted control.
    halvex::OffscreenRenderer& hostedTarget(int width = 200, int height = 150)
    {
        ctl = Ref<Dispatch>(hosted.get());
        return target(width, height);
    }

    FakeHost host;
    Ref<halvex::COpenGLCtrl> hosted;
};

} // namespace

TEST(RecordedCallList, CallsGoIntoBlocksOf2048BytesAndABigCallGetsItsOwn)
{
    RecordedCalls calls;
    for (int i = 0; i < 100; ++i)
        halvex::RecordCall(calls, DrawOp::Vertex, {double(i), 1.0, 2.0});
    // 8 bytes of head and 24 of arguments: 64 calls a block.
    EXPECT_EQ(calls.blockCount(), 2u);
    std::vector<double> big(1000, 0.5);
    halvex::RecordArrayCall(calls, DrawOp::VertexArray, big);
    EXPECT_EQ(calls.blockCount(), 3u);
    halvex::RecordCall(calls, DrawOp::End, {});
    // Small calls go on filling the shared block.
    EXPECT_EQ(calls.blockCount(), 3u);
    ASSERT_EQ(calls.calls().size(), 102u);
    const RecordedCalls::Call* c = calls.calls()[57];
    EXPECT_EQ(c->op, DrawOp::Vertex);
    EXPECT_EQ(c->byteLength, 24u);
    EXPECT_EQ(halvex::GetNumber(c->words()), 57.0);
    const RecordedCalls::Call* array = calls.calls()[100];
    EXPECT_EQ(array->byteLength, 8u * 1001);
    EXPECT_EQ(halvex::GetNumber(array->words()), 1000.0);
    // The doubles of a call are aligned for GL to read.
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(array->words() + 2) % alignof(double), 0u);
    for (const auto* call : calls.calls())
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(call) % 8, 0u);
    calls.Truncate(3);
    EXPECT_EQ(calls.calls().size(), 3u);
    calls.Clear();
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(calls.blockCount(), 0u);
}

TEST(RecordedCallList, ArgumentsAreCheckedAgainstTheOperation)
{
    RecordedCalls calls;
    halvex::RecordCall(calls, DrawOp::Begin, {4});
    halvex::RecordCall(calls, DrawOp::Begin, {10});
    halvex::RecordCall(calls, DrawOp::Begin, {2.5});
    halvex::RecordCall(calls, DrawOp::Enable, {3});
    halvex::RecordCall(calls, DrawOp::Enable, {4});
    halvex::RecordCall(calls, DrawOp::ArrayElement, {-1});
    std::uint32_t* w = calls.Append(DrawOp::Vertex, 4); // one number short
    halvex::PutNumber(w, 1);
    halvex::PutNumber(w + 2, 2);
    w = calls.Append(DrawOp::VertexArray, 4); // claims 5 doubles, holds 1
    halvex::PutNumber(w, 5);
    halvex::PutNumber(w + 2, 0);
    const auto& c = calls.calls();
    EXPECT_TRUE(halvex::CallArgumentsValid(*c[0]));
    EXPECT_FALSE(halvex::CallArgumentsValid(*c[1]));
    EXPECT_FALSE(halvex::CallArgumentsValid(*c[2]));
    EXPECT_TRUE(halvex::CallArgumentsValid(*c[3]));
    EXPECT_FALSE(halvex::CallArgumentsValid(*c[4]));
    EXPECT_FALSE(halvex::CallArgumentsValid(*c[5]));
    EXPECT_FALSE(halvex::CallArgumentsValid(*c[6]));
    EXPECT_FALSE(halvex::CallArgumentsValid(*c[7]));
}

TEST_F(QuickPlots, BoundsAreDeclaredInDataOrderAndHeldInDisplayOrder)
{
    // x 4..−2 (swapped), y 0..1, z −3..3.
    Build(0, {&host.Call({1, 4, -2, 0, 1, -3, 3}), &host.Call({double(DrawOp::End)})});
    halvex::QuickPlotModel* q = quick(0);
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(q->IsQuickplot());
    const halvex::BoundingRecord& r = q->Rect();
    EXPECT_EQ(r.min, (std::array<float, 3>{0, -3, -2}));
    EXPECT_EQ(r.max, (std::array<float, 3>{1, 3, 4}));
    EXPECT_EQ(hosted->DataBox().min, r.min);
    EXPECT_EQ(q->calls().calls().size(), 1u);

    // Without a declaration: the box −1 … 1; a rebuild keeps the format.
    put(*q, "LineWidth", Variant(3.0f));
    Build(0, {&host.Text("cube")});
    EXPECT_EQ(quick(0), q);
    EXPECT_EQ(q->Rect().min, (std::array<float, 3>{-1, -1, -1}));
    EXPECT_EQ(q->Rect().max, (std::array<float, 3>{1, 1, 1}));
    EXPECT_FLOAT_EQ(q->format().lineWidth, 3.0f);
    EXPECT_GT(q->calls().calls().size(), 6u);
}

TEST_F(QuickPlots, IllegalElementsAndCallsAreRefusedAndTheOldCallsStay)
{
    Build(0, {&host.Text("cube")});
    const std::size_t cube = quick(0)->calls().calls().size();
    constexpr std::uint16_t illegal = halvex::err::IllegalGraphicsPrimitive;
    auto build = [&](std::vector<const HostValue*> e) { return ErrorCodeOf([&] { Build(0, std::move(e)); }); };
    EXPECT_EQ(build({&host.Call({0, 1, 2})}), illegal);
    EXPECT_EQ(build({&host.Call({99})}), illegal);
    EXPECT_EQ(build({&host.Call({double(DrawOp::Vertex), 1, 2})}), illegal);         // argument missing
    EXPECT_EQ(build({&host.Call({double(DrawOp::Vertex), 1, 2, 3, 4})}), illegal);   // one too many
    EXPECT_EQ(build({&host.Call({double(DrawOp::VertexArray), 1.0})}), illegal);    // a number, not a matrix
    EXPECT_EQ(build({&host.Call({double(DrawOp::VertexArray), host.RefTo(host.Text("x"))})}), illegal);
    EXPECT_EQ(build({&host.Call({double(DrawOp::Vertex), host.RefTo(host.Matrix(1, 1, {1})), 0, 0})}), illegal);
    EXPECT_EQ(build({&host.Call({1, 0, 1, 0, 1, 0})}), illegal);                      // six elements
    EXPECT_EQ(build({&host.Call({1, 0, 1, 0, std::nan(""), 0, 1})}), illegal);
    EXPECT_EQ(build({&host.Call({1, 0, 1, 0, 1e39, 0, 1})}), illegal);                // beyond a float
    EXPECT_EQ(build({&host.Call({double(DrawOp::Begin), 12})}), illegal);
    EXPECT_EQ(build({&host.PlotList({})}), illegal);
    EXPECT_EQ(build({nullptr}), illegal);
    halvex::host::HostMatrix lying = host.Matrix(2, 2, {2, 3, 4, 5});
    lying.byteSize = 64;
    EXPECT_EQ(build({&lying}), illegal);
    testing::internal::CaptureStderr();
    EXPECT_EQ(build({&host.Text("#0")}), 57685);
    EXPECT_EQ(build({&host.Text("*tetrahemihexahedron")}), 57680);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(build({&host.Text("dodecahedrons")}), 57681);
    ASSERT_NE(quick(0), nullptr);
    EXPECT_EQ(quick(0)->calls().calls().size(), cube);

    // Only a surface plot takes a quick plot.
    put(*quick(0), "ViewAs", Variant::fromInt16(1));
    EXPECT_EQ(build({&host.Text("cube")}), halvex::err::MustViewAsSurface);
    try {
        Build(0, {&host.Text("cube")});
    } catch (const platform::DispatchException& e) {
        EXPECT_EQ(e.description(), "must view as a surface plot");
    }
}

TEST_F(QuickPlots, ACubeIsFilledAndOutlinedOnlyAlongItsEdges)
{
    Build(0, {&host.Text("cube")});
    Ref<Dispatch> m(quick(0));
    put(*m, "DrawFilledPolygons", Variant(true));
    put(*m, "DrawLines", Variant(false));
    hostedTarget();
    Feedback filled = feedback();
    // Six squares, which GL hands back as two triangles each.
    EXPECT_EQ(filled.polygons, 12);
    EXPECT_EQ(filled.lines, 0);

    put(*m, "DrawFilledPolygons", Variant(false));
    put(*m, "DrawLines", Variant(true));
    put(*m, "LineColor", Variant(std::int32_t(0xFF0000FF)));
    Feedback lines = feedback();
    for (const auto& message : hosted->drawMessages())
        ADD_FAILURE() << message;
    EXPECT_EQ(lines.polygons, 0);
    // Each face's four edges, in the line colour.
    EXPECT_EQ(lines.linesOf({255, 0, 0, 255}).size(), 24u);
    EXPECT_EQ(lines.lines, 24);

    put(*m, "DrawLines", Variant(false));
    put(*m, "DrawPoints", Variant(true));
    Feedback dots = feedback();
    EXPECT_EQ(dots.points, 24);
}

TEST_F(QuickPlots, StarFacesShowOnlyTheirTrueEdges)
{
    Build(0, {&host.Text("small stellated dodecahedron")});
    Ref<Dispatch> m(quick(0));
    put(*m, "DrawFilledPolygons", Variant(false));
    put(*m, "DrawLines", Variant(true));
    hostedTarget();
    // Twelve pentagrams of five edges, each drawn there and back by its
    // rim triangle; the spokes of the fans stay dark.
    EXPECT_EQ(feedback().lines, 2 * 60);
}

TEST_F(QuickPlots, FacesColouredBySides)
{
    Build(0, {&host.Text("+rhombicuboctahedron")});
    Ref<Dispatch> m(quick(0));
    put(*m, "DrawFilledPolygons", Variant(true));
    put(*m, "DrawLines", Variant(true));
    hostedTarget(300, 300);
    Feedback f = feedback();
    int red = 0, green = 0, other = 0;
    for (const Rgba& c : f.polygonColors)
        (near(c, {255, 0, 0, 255}, 2) ? red : near(c, {0, 255, 0, 255}, 2) ? green : other) += 1;
    EXPECT_EQ(red, 8);
    EXPECT_EQ(green, 2 * 18);
    EXPECT_EQ(other, 0);
    // The outlines keep the model's black.
    EXPECT_EQ(f.linesOf({0, 0, 0, 255}).size(), std::size_t(f.lines));
    EXPECT_GT(f.lines, 0);
    render();
    EXPECT_GT(count({255, 0, 0, 255}, 10), 100);
    EXPECT_GT(count({0, 255, 0, 255}, 10), 100);
}

TEST_F(QuickPlots, AReplayTheChecksRefuseSkipsTheModelAndTheOthersDraw)
{
    // An element past the vertex array of two points.
    Build(1, {&host.Call({double(DrawOp::VertexArray), host.RefTo(host.Matrix(6, 1, {0, 0, 0, 1, 1, 1}))}),
              &host.Call({double(DrawOp::EnableArray), 0}), &host.Call({double(DrawOp::Begin), 1}),
              &host.Call({double(DrawOp::ArrayElement), 0}), &host.Call({double(DrawOp::ArrayElement), 2}),
              &host.Call({double(DrawOp::End)})});
    Build(0, {&host.Text("cube")});
    put(*quick(0), "DrawFilledPolygons", Variant(true));
    hostedTarget();
    ASSERT_EQ(render(), halvex::GlRenderer::Frame::Drawn);
    ASSERT_FALSE(hosted->drawMessages().empty());
    EXPECT_EQ(hosted->drawMessages().front(), "Illegal graphics primitive specified");
    EXPECT_EQ(feedback().polygons, 12);
    // The GL state the refused replay began is given back.
    GLint depth = 0;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 0);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(QuickPlots, CallsOfTheVocabularyDrawWhatTheySay)
{
    // A red triangle through matrix calls and a green one from arrays.
    Build(0, {&host.Call({1, -1, 1, -1, 1, -1, 1}), &host.Call({double(DrawOp::PushState)}),
              &host.Call({double(DrawOp::Disable), 0}), &host.Call({double(DrawOp::Color), 1, 0, 0, 1}),
              &host.Call({double(DrawOp::Begin), 4}), &host.Call({double(DrawOp::Vertex), -1, 0, -1}),
              &host.Call({double(DrawOp::Vertex), 1, 0, -1}), &host.Call({double(DrawOp::Vertex), 0, 0, 1}),
              &host.Call({double(DrawOp::End)}),
              &host.Call({double(DrawOp::VertexArray),
                          host.RefTo(host.Matrix(9, 1, {-1, 0.5, -1, 1, 0.5, -1, 0, 0.5, 1}))}),
              &host.Call({double(DrawOp::ColorArray),
                          host.RefTo(host.Matrix(12, 1, {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1}))}),
              &host.Call({double(DrawOp::EnableArray), 0}), &host.Call({double(DrawOp::EnableArray), 2}),
              &host.Call({double(DrawOp::PushMatrix)}), &host.Call({double(DrawOp::Translate), 0, 0.1, 0}),
              &host.Call({double(DrawOp::DrawElements), 4, host.RefTo(host.Matrix(3, 1, {0, 1, 2}))}),
              &host.Call({double(DrawOp::PopMatrix)}), &host.Call({double(DrawOp::PopState)})});
    put(*quick(0), "DrawFilledPolygons", Variant(true));
    hostedTarget();
    Feedback f = feedback();
    ASSERT_EQ(f.polygons, 2);
    EXPECT_TRUE(near(f.polygonColors[0], {255, 0, 0, 255}, 2));
    EXPECT_TRUE(near(f.polygonColors[1], {0, 255, 0, 255}, 2));
    EXPECT_TRUE(hosted->drawMessages().empty());
}

TEST_F(QuickPlots, PickingFindsAQuickPlot)
{
    Build(3, {&host.Text("cube")});
    hostedTarget(100, 100);
    render();
    EXPECT_EQ(control().glRenderer()->Pick(50, 50, 40), std::vector<int>{3});
    EXPECT_TRUE(control().glRenderer()->Pick(1, 1, 2).empty());
}

TEST_F(QuickPlots, HiddenLineRemovalHidesTheBackEdges)
{
    Build(0, {&host.Text("cube")});
    Ref<Dispatch> m(quick(0));
    put(*m, "DrawFilledPolygons", Variant(false));
    put(*m, "DrawLines", Variant(true));
    put(*m, "LineColor", Variant(std::int32_t(0xFF0000FF)));
    hostedTarget(200, 200);
    render();
    const int all = count({255, 0, 0, 255}, 40);
    put(*m, "HiddenLineRemoval", Variant(true));
    render();
    const int front = count({255, 0, 0, 255}, 40);
    EXPECT_GT(front, all / 3);
    EXPECT_LT(front, all - all / 8);
    // The faces went into the depth buffer only: nothing white was drawn.
    EXPECT_TRUE(hosted->drawMessages().empty());
}
