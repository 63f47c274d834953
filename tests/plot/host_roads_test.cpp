// The host programs' roads into the control, driven by the fake host: the
// data ports and execution step, the evaluation interface with its lists,
// functions and error values, the floating-point environment around both,
// and the graphics library file.
#include "plot/core/host_evaluation.h"
#include "plot/core/plot_control.h"
#include "plot/core/se_exception.h"
#include "plot/host/fake_host.h"
#include "plot/host/graphics_library.h"
#include "plot/model/mesh_model.h"
#include "plot/model/quick_plot_model.h"
#include "plot/model/surface_model.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <fpu_control.h>

using halvex::COpenGLCtrl;
using halvex::HostEvaluation;
using halvex::host::FakeHost;
using halvex::host::HostValue;
using platform::Ref;

namespace {

class HostRoads : public ::testing::Test {
protected:
    HostRoads() : control(new COpenGLCtrl(host)) {}
    ~HostRoads() override { control = nullptr; }

    HostEvaluation& evaluation()
    {
        HostEvaluation* e = control->QueryHostInterface(halvex::host::kHostEvaluationIid);
        EXPECT_NE(e, nullptr);
        e->Release();
        return *e;
    }
    const HostValue* Evaluate(std::vector<const HostValue*> args, bool references = false)
    {
        return host.Evaluate(evaluation(), args, references);
    }
    std::string ErrorOf(const HostValue* result)
    {
        const std::string* text = FakeHost::ErrorText(result);
        return text ? *text : std::string("(no error)");
    }
    halvex::SurfaceModel* surface(int n)
    {
        halvex::CglModel* m = control->FindModel(n);
        return m ? m->AsSurface() : nullptr;
    }
    halvex::QuickPlotModel* quick(int n)
    {
        halvex::CglModel* m = control->FindModel(n);
        return m ? m->AsQuickPlotModel() : nullptr;
    }
    const halvex::host::HostMatrix& Grid(std::int32_t rows, std::int32_t cols, double base = 0)
    {
        std::vector<double> v;
        for (std::int32_t k = 0; k < rows * cols; ++k)
            v.push_back(base + k);
        return host.Matrix(rows, cols, v);
    }

    FakeHost host;
    Ref<COpenGLCtrl> control;
};

// The x87 control word and the SSE state, as the host left them.
struct FpuState {
    fpu_control_t cw = 0;
    fenv_t env{};
    int excepts = 0;
    static FpuState Now()
    {
        FpuState s;
        _FPU_GETCW(s.cw);
        fegetenv(&s.env);
        s.excepts = fegetexcept();
        return s;
    }
};

} // namespace

TEST_F(HostRoads, TheInterfaceAnswersToTheHostsTwoIdentifiersAndCountsOnTheControl)
{
    long before = control->refCount();
    HostEvaluation* a = control->QueryHostInterface(halvex::host::kHostEvaluationIid);
    HostEvaluation* b = control->QueryHostInterface(halvex::host::kHostEvaluationIid2);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(control->refCount(), before + 2);
    a->Release();
    b->Release();
    EXPECT_EQ(control->refCount(), before);
    EXPECT_EQ(control->QueryHostInterface(platform::Guid{}), nullptr);
    EXPECT_EQ(a->Reserved(7), 0);
}

// ---- the port road -------------------------------------------------------------

TEST_F(HostRoads, OnePortMatrixIsASurfaceAndGoesOnToTheFirstConnectedOutput)
{
    host.inputs->Connect(0);
    auto* value = host.PortValue(2, 3, {1, 2, 3, 4, 5, 6});
    host.inputs->Put(0, value);
    control->SetNumOutputs(3);
    host.outputs->Connect(1);
    EXPECT_TRUE(control->OnExecStepEnabled());
    EXPECT_TRUE(control->OnExecStep());
    ASSERT_NE(surface(0), nullptr);
    EXPECT_EQ(surface(0)->rows(), 2);
    EXPECT_EQ(surface(0)->cols(), 3);
    EXPECT_EQ(value->openLocks(), 0);
    ASSERT_EQ(host.outputs->sent[1].size(), 1u);
    EXPECT_EQ(host.outputs->sent[1][0], value);
    EXPECT_EQ(host.destroyed, 0);
    EXPECT_EQ(host.stepsCompleted, 1);
    EXPECT_TRUE(host.messages.empty());

    // Without outputs the value goes back to the host.
    control->SetNumOutputs(0);
    host.inputs->Put(0, host.PortValue(1, 1, {7}));
    EXPECT_TRUE(control->OnExecStep());
    EXPECT_EQ(host.destroyed, 1);
    EXPECT_EQ(host.stepsCompleted, 2);
}

TEST_F(HostRoads, OnePortListOfNestedValuesBuildsOneModelEach)
{
    const auto& a = Grid(2, 2);
    const auto& b = Grid(3, 1, 10);
    host.inputs->Connect(0);
    auto* list = host.PortValue(3, 1, {host.RefTo(a), 42.0, host.RefTo(b)});
    list->vector = true;
    host.inputs->Put(0, list);
    EXPECT_TRUE(control->OnExecStep());
    ASSERT_NE(surface(0), nullptr);
    EXPECT_EQ(surface(0)->rows(), 2);
    EXPECT_EQ(surface(1), nullptr); // an ordinary number is passed over
    ASSERT_NE(surface(2), nullptr);
    EXPECT_EQ(surface(2)->rows(), 3);
    EXPECT_EQ(list->openLocks(), 0);

    // Outside the first host program a vector is no plot.
    host.zorvic = false;
    host.inputs->Put(0, list);
    EXPECT_FALSE(control->OnExecStep());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(list->openLocks(), 0);
    // A one-column matrix holding references is numbers, NaNs and all:
    // comparing a NaN is an invalid operation, which the host's control
    // word traps.
    auto* matrix = host.PortValue(3, 1, {host.RefTo(a), 42.0, host.RefTo(b)});
    host.inputs->Put(0, matrix);
    EXPECT_FALSE(control->OnExecStep());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "floating point error");
    EXPECT_EQ(matrix->openLocks(), 0);
}

TEST_F(HostRoads, InvalidValuesAndPortsThatAreNotReady)
{
    EXPECT_FALSE(control->OnExecStepEnabled()); // one input, not connected
    control->SetNumInputs(0);
    EXPECT_TRUE(control->OnExecStepEnabled());
    control->SetNumInputs(2);
    host.inputs->Connect(0);
    EXPECT_FALSE(control->OnExecStepEnabled());
    host.inputs->Connect(1);
    EXPECT_TRUE(control->OnExecStepEnabled());
    host.inputs->SetReady(1, false);
    EXPECT_FALSE(control->OnExecStepEnabled());

    control->SetNumInputs(1);
    host.inputs->SetReady(1, true);
    auto* bad = host.PortValue(1, 1, {1});
    bad->valid = false;
    host.inputs->Put(0, bad);
    EXPECT_FALSE(control->OnExecStep());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.destroyed, 1);
    // Nothing waiting at the port.
    EXPECT_FALSE(control->OnExecStep());
    EXPECT_EQ(host.stepsCompleted, 2);
}

TEST_F(HostRoads, TwoPortsOfDifferentSizesPlotNothingAndSayNothing)
{
    control->SetNumInputs(2);
    host.inputs->Connect(0);
    host.inputs->Connect(1);
    host.inputs->Put(0, host.PortValue(2, 2, {1, 2, 3, 4}));
    host.inputs->Put(1, host.PortValue(3, 1, {1, 2, 3}));
    EXPECT_FALSE(control->OnExecStep());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.destroyed, 2);
    EXPECT_EQ(control->FindModel(0)->AsMesh(), nullptr);
}

TEST_F(HostRoads, TwoPortsMakeAVectorFieldAndThreeAParametricSurface)
{
    // Two values of one size: the real and imaginary parts of a field,
    // each passed on to its own output.
    control->SetNumInputs(2);
    control->SetNumOutputs(2);
    host.inputs->Connect(0);
    host.inputs->Connect(1);
    host.outputs->Connect(0);
    host.outputs->Connect(1);
    auto* re = host.PortValue(2, 3, {1, 2, 3, 4, 5, 6});
    auto* im = host.PortValue(2, 3, {6, 5, 4, 3, 2, 1});
    host.inputs->Put(0, re);
    host.inputs->Put(1, im);
    ASSERT_TRUE(control->OnExecStepEnabled());
    EXPECT_TRUE(control->OnExecStep());
    halvex::MeshModel* field = control->FindModel(0)->AsMesh();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(control->FindModel(0)->ViewAs(), halvex::kVectorFieldPlot);
    EXPECT_TRUE(field->FlatKind());
    EXPECT_EQ(field->rows(), 2);
    EXPECT_EQ(field->cols(), 3);
    ASSERT_EQ(host.outputs->sent[0].size(), 1u);
    ASSERT_EQ(host.outputs->sent[1].size(), 1u);
    EXPECT_EQ(host.outputs->sent[0][0], re);
    EXPECT_EQ(host.outputs->sent[1][0], im);
    EXPECT_EQ(re->openLocks() + im->openLocks(), 0);
    EXPECT_TRUE(host.messages.empty());

    // One complex value is a field as well.
    control->SetNumInputs(1);
    control->SetNumOutputs(0);
    host.inputs->Put(0, host.PortValue(3, 2, {1, 2, 3, 4, 5, 6}, {0, 1, 0, 1, 0, 1}));
    EXPECT_TRUE(control->OnExecStep());
    ASSERT_NE(control->FindModel(0)->AsMesh(), nullptr);
    EXPECT_EQ(control->FindModel(0)->AsMesh()->rows(), 3);
    EXPECT_EQ(control->FindModel(0)->ViewAs(), halvex::kVectorFieldPlot);

    // Three values of one size: the x, y and z of a surface.
    control->SetNumInputs(3);
    control->SetNumOutputs(3);
    for (int k = 0; k < 3; ++k) {
        host.inputs->Connect(k); // a port count that shrank dropped the links
        host.outputs->Connect(k);
    }
    control->FindModel(0)->SetPlotKind(halvex::kSurfacePlot);
    std::vector<halvex::host::FakeDataValue*> xyz{host.PortValue(2, 2, {0, 1, 0, 1}),
                                                  host.PortValue(2, 2, {0, 0, 1, 1}),
                                                  host.PortValue(2, 2, {1, 2, 3, 4})};
    for (int k = 0; k < 3; ++k)
        host.inputs->Put(k, xyz[std::size_t(k)]);
    EXPECT_TRUE(control->OnExecStep());
    halvex::MeshModel* mesh = control->FindModel(0)->AsMesh();
    ASSERT_NE(mesh, nullptr);
    EXPECT_FALSE(mesh->FlatKind());
    EXPECT_EQ(mesh->rows(), 2);
    EXPECT_EQ(mesh->cols(), 2);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(xyz[std::size_t(k)]->openLocks(), 0);
        ASSERT_FALSE(host.outputs->sent[k].empty());
        EXPECT_EQ(host.outputs->sent[k].back(), xyz[std::size_t(k)]);
    }
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.stepsCompleted, 3);

    // A coordinate that is no number fails the build, and the step says so.
    for (int k = 0; k < 3; ++k)
        host.inputs->Put(k, host.PortValue(1, 2, {k == 2 ? INFINITY : 1.0, 2}));
    EXPECT_FALSE(control->OnExecStep());
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(HostRoads, ADivisionByZeroInAStepIsReportedAndKillsNothing)
{
    FpuState before = FpuState::Now();
    // The host's interruption question, asked between the rows of the
    // surface, computes and divides by zero on the way.
    volatile double divisor = 0.0;
    volatile double sink = 0.0;
    host.whenAsked = [&] { sink = 1.0 / divisor; };
    host.inputs->Connect(0);
    host.inputs->Put(0, host.PortValue(2, 2, {1, 2, 3, 4}));
    EXPECT_FALSE(control->OnExecStep());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "singularity");
    EXPECT_EQ(host.stepsCompleted, 1);
    // The surface built before the report stays.
    EXPECT_NE(surface(0), nullptr);
    FpuState after = FpuState::Now();
    EXPECT_EQ(after.cw, before.cw);
    EXPECT_EQ(after.excepts, before.excepts);
    EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO), 0);
    (void)sink;
}

TEST_F(HostRoads, AComputationStartsWithPlaceholdersAndAKindForThePorts)
{
    host.inputs->Connect(0);
    host.inputs->Put(0, host.PortValue(2, 2, {1, 2, 3, 4}));
    ASSERT_TRUE(control->OnExecStep());
    Ref<halvex::CglModel> surfaceModel(control->FindModel(0));
    surfaceModel->put("LineWidth", platform::Variant(4.0f));
    control->OnExecStateChange(1); // not a start: nothing
    EXPECT_EQ(control->FindModel(0), surfaceModel.get());
    control->SetNumInputs(2);
    control->OnExecStateChange(0);
    halvex::CglModel* first = control->FindModel(0);
    EXPECT_EQ(first->AsSurface(), nullptr);
    EXPECT_FLOAT_EQ(first->format().lineWidth, 4.0f);
    EXPECT_EQ(first->ViewAs(), halvex::kVectorFieldPlot);
    control->SetNumInputs(1);
    control->OnExecStateChange(0);
    EXPECT_EQ(control->FindModel(0)->ViewAs(), halvex::kSurfacePlot);
    control->SetNumInputs(3);
    control->FindModel(0)->SetPlotKind(halvex::kBarPlot);
    control->OnExecStateChange(0);
    EXPECT_EQ(control->FindModel(0)->ViewAs(), halvex::kBarPlot);
}

// ---- the evaluation road -------------------------------------------------------

TEST_F(HostRoads, WrongNumberOfArgumentsLeavesNoPlots)
{
    const auto& m = Grid(2, 2);
    const HostValue* r = Evaluate({&m, &m});
    EXPECT_EQ(ErrorOf(r), "Wrong number of arguments.");
    EXPECT_EQ(FakeHost::ErrorPosition(r), halvex::host::ErrorNode(2, 2, 2));
    EXPECT_EQ(control->FindModel(0)->AsSurface(), nullptr);
    EXPECT_EQ(host.allocatorRefs, 0);
}

TEST_F(HostRoads, AMatrixIsASurfaceAndAColumnOfNumbersOneOfOneColumn)
{
    EXPECT_EQ(Evaluate({&Grid(2, 3)}), nullptr);
    ASSERT_NE(surface(0), nullptr);
    EXPECT_EQ(surface(0)->cols(), 3);
    EXPECT_EQ(Evaluate({&Grid(4, 1, 5)}), nullptr);
    ASSERT_NE(surface(0), nullptr);
    EXPECT_EQ(surface(0)->rows(), 4);
    EXPECT_EQ(surface(0)->cols(), 1);
    EXPECT_EQ(host.allocatorRefs, 0);
}

TEST_F(HostRoads, AListOfMeshesAndMatricesInAOneColumnMatrix)
{
    const auto& cube = host.Mesh({&host.Text("cube")});
    const auto& m = Grid(2, 2);
    EXPECT_EQ(Evaluate({&host.List({&cube, &m})}), nullptr);
    ASSERT_NE(quick(0), nullptr);
    EXPECT_TRUE(quick(0)->IsQuickplot());
    EXPECT_NE(surface(1), nullptr);
}

TEST_F(HostRoads, AListOfPlotsWhoseSecondFailsClearsAllAndMarksTheSecond)
{
    const auto& cube = host.Mesh({&host.Text("cube")});
    const auto& bad = host.Mesh({&host.Text("#0")});
    const auto& m = Grid(2, 2);
    testing::internal::CaptureStderr();
    const HostValue* r = Evaluate({&host.PlotList({&cube, &bad, &m})});
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(ErrorOf(r), "Polyhedron: zero index");
    EXPECT_EQ(FakeHost::ErrorPosition(r), halvex::ListErrorPosition(3, 2));
    for (const auto& [number, model] : control->models()) {
        EXPECT_EQ(model->AsQuickPlot(), nullptr) << number;
        EXPECT_EQ(model->AsMesh(), nullptr) << number;
    }
    // Every cell was held while it was built, and let go.
    EXPECT_EQ(host.holds, 0);
    EXPECT_EQ(host.holdCalls, 2);

    // A good list: a model per cell, each a data model.
    EXPECT_EQ(Evaluate({&host.PlotList({&cube, &m, &cube})}), nullptr);
    EXPECT_NE(quick(0), nullptr);
    EXPECT_NE(surface(1), nullptr);
    EXPECT_NE(quick(2), nullptr);
}

TEST_F(HostRoads, ErrorPositionsOfListElements)
{
    const std::uint64_t node = halvex::host::ErrorNode(2, 2, 2);
    EXPECT_EQ(node, 10u);
    EXPECT_EQ(halvex::ListErrorPosition(3, 0), 0u);
    EXPECT_EQ(halvex::ListErrorPosition(0, 1), 0u);
    EXPECT_EQ(halvex::ListErrorPosition(1, 1), node);
    // Three plots, the second failing: one element after it (bit 4), then
    // the step 2 at bit 6.
    EXPECT_EQ(halvex::ListErrorPosition(3, 2), node | 1u << 4 | 2u << 6);
    EXPECT_EQ(halvex::ListErrorPosition(3, 1), node | 1u << 4 | 1u << 6 | 1u << 8);
    EXPECT_EQ(halvex::ListErrorPosition(3, 3), node | 2u << 4);
    // Long lists go past 32 bits, and past 64 they saturate.
    std::uint64_t long20 = node | std::uint64_t(2) << 44;
    for (int j = 0; j < 20; ++j)
        long20 |= std::uint64_t(1) << (4 + 2 * j);
    EXPECT_EQ(halvex::ListErrorPosition(30, 10), long20);
    EXPECT_GT(long20, std::uint64_t(UINT32_MAX));
    EXPECT_EQ(halvex::ListErrorPosition(100, 2), UINT64_MAX);
}

TEST_F(HostRoads, ListsThatReferToThemselvesMustBeArrays)
{
    // A one-column matrix whose only element refers to the matrix itself.
    std::vector<double> cell(1);
    halvex::host::HostMatrix self;
    self.rows = 1;
    self.cols = 1;
    self.real = cell.data();
    halvex::host::SetByteSize(self);
    cell[0] = host.RefTo(self);
    const HostValue* r = Evaluate({&host.PlotList({&self})});
    EXPECT_EQ(ErrorOf(r), "must be array");
    EXPECT_EQ(FakeHost::ErrorPosition(r), halvex::host::ErrorNode(2, 2, 2));

    // A chain of cells that comes back on itself.
    const auto& cube = host.Mesh({&host.Text("cube")});
    auto& list = const_cast<halvex::host::HostPlotList&>(host.PlotList({&cube, &cube}));
    const_cast<halvex::host::HostListCell*>(list.first->next)->next = list.first;
    EXPECT_EQ(ErrorOf(Evaluate({&list})), "must be array");
    EXPECT_EQ(host.allocatorRefs, 0);
}

TEST_F(HostRoads, ANumberWithoutAModelGetsAPlaceholderThatCanBeSaved)
{
    control->PutModel(5, nullptr);
    const auto& m = Grid(2, 2);
    EXPECT_EQ(Evaluate({&host.PlotList({&m, &m, &m})}), nullptr);
    for (int k = 0; k < 3; ++k)
        ASSERT_NE(control->FindModel(k), nullptr) << k;
    for (const auto& [number, model] : control->models())
        EXPECT_TRUE(number == 5 || model) << number;
}

TEST_F(HostRoads, FunctionsGoThroughTheGraphicsLibrary)
{
    const auto& f = host.Function(2, [](double u, double v) { return u * v; });
    EXPECT_EQ(Evaluate({&f}), nullptr);
    ASSERT_EQ(host.library.calls.size(), 1u);
    EXPECT_EQ(host.library.calls[0].entry, "CreateMesh");
    EXPECT_EQ(host.library.calls[0].ranges.u0, -5.0);
    EXPECT_EQ(host.library.calls[0].ranges.m, 21);
    ASSERT_NE(quick(0), nullptr);
    ASSERT_TRUE(quick(0)->format().quickPlotParams);
    EXPECT_EQ(quick(0)->format().quickPlotParams->variables, 2);
    // The bounds the library declared: x, y from −5 to 5 and z = x y.
    EXPECT_EQ(quick(0)->Rect().min, (std::array<float, 3>{-5, -25, -5}));
    EXPECT_EQ(quick(0)->Rect().max, (std::array<float, 3>{5, 25, 5}));

    // The ranges of the model's parameter record are the library's.
    halvex::ModelFormat format = quick(0)->format();
    format.quickPlotParams->U0 = 0;
    format.quickPlotParams->M = 3;
    quick(0)->TakeFormat(format);
    const auto& curve = host.Function(1, [](double u, double) { return u; });
    EXPECT_EQ(Evaluate({&curve}), nullptr);
    EXPECT_EQ(host.library.calls.back().entry, "CreateSpace");
    EXPECT_EQ(host.library.calls.back().ranges.u0, 0.0);
    EXPECT_EQ(host.library.calls.back().ranges.m, 3);
    EXPECT_EQ(quick(0)->format().quickPlotParams->variables, 1);

    // Three functions in a list of plots: a parametric mesh.
    const auto& x = host.Function(2, [](double u, double) { return u; });
    const auto& y = host.Function(2, [](double, double v) { return v; });
    const auto& z = host.Function(2, [](double, double) { return 1.0; });
    EXPECT_EQ(Evaluate({&host.PlotList({&host.List({&x, &y, &z})})}), nullptr);
    EXPECT_EQ(host.library.calls.back().entry, "CreateMesh3");
    EXPECT_NE(quick(0), nullptr);
    EXPECT_EQ(ErrorOf(Evaluate({&host.PlotList({&host.List({&x, &y})})})), "must be 3 functions of 2 variables");
    const auto& three = host.Function(3, [](double, double) { return 0.0; });
    EXPECT_EQ(ErrorOf(Evaluate({&three})), "must be a function of 1 or 2 variables");
    EXPECT_EQ(ErrorOf(Evaluate({&host.PlotList({&host.List({&three, &y, &z})})})),
              "must be a function of 1 or 2 variables");

    // Without the library a function is no plot.
    host.withLibrary = false;
    EXPECT_EQ(ErrorOf(Evaluate({&f})), "must be array");
}

TEST_F(HostRoads, ALibraryThatMakesNoMeshAnswersWithItsOwnError)
{
    const auto& f = host.Function(2, [](double, double) { return 0.0; });
    const auto& m = Grid(2, 2);
    host.library.failNext = true;
    const HostValue* r = Evaluate({&host.PlotList({&m, &f})});
    EXPECT_EQ(ErrorOf(r), "no mesh for element 2");
    ASSERT_EQ(host.library.calls.back().entry, "GetGraphicsLibError");
    EXPECT_EQ(host.library.calls.back().listPosition, 2);
    EXPECT_EQ(host.library.calls.back().errorPosition, halvex::ListErrorPosition(2, 2));
    // A library that answers with an error value: its text.
    host.library.failNext = true;
    host.library.failWithText = "domain error";
    EXPECT_EQ(ErrorOf(Evaluate({&f})), "domain error");
}

TEST_F(HostRoads, ErrorValuesTextsAndReferences)
{
    auto& e = const_cast<halvex::host::HostError&>(
        static_cast<const halvex::host::HostError&>(*host.MakeError(host.MakeText("bad input"), 77, 0, 0)));
    EXPECT_EQ(ErrorOf(Evaluate({&e})), "bad input");
    EXPECT_EQ(ErrorOf(Evaluate({&host.Text("cube")})), "must be array");
    // References stand for their values on the second road only.
    const auto& ref = host.Reference(Grid(2, 2));
    EXPECT_EQ(ErrorOf(Evaluate({&ref})), "must be array");
    EXPECT_EQ(Evaluate({&ref}, true), nullptr);
    EXPECT_NE(surface(0), nullptr);
    // A host that gives no constructors learns nothing, and nothing breaks.
    host.giveAllocator = false;
    EXPECT_EQ(Evaluate({&host.Text("cube")}), nullptr);
    EXPECT_EQ(host.allocatorRefs, 0);
}

TEST_F(HostRoads, ADivisionByZeroInAnEvaluationIsReportedAndTheEnvironmentRestored)
{
    FpuState before = FpuState::Now();
    const auto& f = host.Function(2, [](double u, double v) {
        volatile double zero = u - u;
        return v / zero;
    });
    const HostValue* r = Evaluate({&f});
    EXPECT_EQ(ErrorOf(r), "singularity");
    const auto& g = host.Function(2, [](double u, double) {
        volatile double big = 1e308;
        return u * big * big;
    });
    EXPECT_EQ(ErrorOf(Evaluate({&g})), "overflow");
    const auto& h = host.Function(2, [](double u, double) { return std::sqrt(u - 10.0); });
    EXPECT_EQ(ErrorOf(Evaluate({&h})), "floating point error");
    FpuState after = FpuState::Now();
    EXPECT_EQ(after.cw, before.cw);
    EXPECT_EQ(after.excepts, before.excepts);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT & ~FE_INEXACT), 0);
}

TEST(StructuredExceptions, NamesAndFamilies)
{
    EXPECT_EQ(halvex::StructuredExceptionName(0xC000008E), "singularity");
    EXPECT_EQ(halvex::StructuredExceptionName(0xC0000090), "floating point error");
    EXPECT_EQ(halvex::StructuredExceptionName(0xC0000091), "overflow");
    EXPECT_EQ(halvex::StructuredExceptionName(0xC00000FD), "EXCEPTION_STACK_OVERFLOW");
    EXPECT_EQ(halvex::StructuredExceptionName(0x12345678), "EXCEPTION_UNKNOWN_EXCEPTION");
    EXPECT_THROW(halvex::ThrowStructuredException(0xC000008E), halvex::SE_FPE_Exception);
    try {
        halvex::ThrowStructuredException(0xC0000005, true, 0x1234);
    } catch (const halvex::SE_Memory_Exception& e) {
        EXPECT_TRUE(e.write());
        EXPECT_EQ(e.address(), 0x1234u);
        EXPECT_EQ(e.name(), "EXCEPTION_ACCESS_VIOLATION");
    }
    EXPECT_THROW(halvex::ThrowStructuredException(0x80000003), halvex::SE_Exception);
}

TEST(GraphicsLibraryFile, LoadedWithAllFiveEntryPointsElseReleased)
{
    std::string why;
    auto library = halvex::host::LoadGraphicsLibrary(GRAPHICS_MODULE, &why);
    ASSERT_NE(library, nullptr) << why;
    halvex::host::HostContext context;
    halvex::host::HostFunction f(2), g(2), h(2);
    halvex::host::GraphicsRanges r;
    EXPECT_EQ(library->CreateMesh(context, f, r), &f);
    EXPECT_EQ(library->CreateMesh(context, f, g, h, r), &g);
    EXPECT_EQ(library->CreateSpace(context, f, r), &f);
    EXPECT_EQ(library->CreateSpace(context, f, g, h, r), &h);
    r.m = 0;
    EXPECT_EQ(library->CreateSpace(context, f, r), nullptr);
    EXPECT_EQ(static_cast<const void*>(library->GetGraphicsLibError(context, 1, 2)), &context);

    EXPECT_EQ(halvex::host::LoadGraphicsLibrary(GRAPHICS_MODULE_INCOMPLETE, &why), nullptr);
    EXPECT_NE(why.find("entry point"), std::string::npos);
    EXPECT_EQ(halvex::host::LoadGraphicsLibrary("/nonexistent/graphics.so", &why), nullptr);
    EXPECT_FALSE(why.empty());
    // Nothing lies beside the control's own library here.
    EXPECT_EQ(halvex::host::ModuleGraphicsLibrary(), nullptr);
}

TEST_F(HostRoads, MatrixRecordsAreCheckedBeforeTheyAreRead)
{
    std::vector<double> cells{1, 2, 3, 4};
    auto record = [&](std::int32_t rows, std::int32_t cols, std::int32_t bytes) {
        auto& m = const_cast<halvex::host::HostMatrix&>(host.Matrix(2, 2, cells));
        m.rows = rows;
        m.cols = cols;
        m.byteSize = bytes;
        return &m;
    };
    EXPECT_EQ(ErrorOf(Evaluate({record(-2, -2, 32)})), "must be array");
    EXPECT_EQ(ErrorOf(Evaluate({record(2, 2, 64)})), "must be array");
    // rows × cols × 8 past 32 bits is no record either.
    EXPECT_EQ(ErrorOf(Evaluate({record(65536, 65536, 0)})), "must be array");
    EXPECT_EQ(ErrorOf(Evaluate({record(0x10000000, 2, 0)})), "must be array");
    EXPECT_EQ(Evaluate({record(2, 2, 32)}), nullptr);
    EXPECT_NE(surface(0), nullptr);
    // Inside a list as well.
    EXPECT_EQ(ErrorOf(Evaluate({&host.PlotList({record(3, 1, 8)})})), "must be array");
    // A record that lies is no nested value the table gives out.
    halvex::host::HostValueTable table;
    EXPECT_EQ(table.findMatrix(table.add(*record(3, 3, 32))), nullptr);
    EXPECT_NE(table.findMatrix(table.add(*record(2, 2, 32))), nullptr);
}
