// Matrices handed over with AddSurface: the element types and errors of
// the argument, surface models in display coordinates, the data box, the
// model numbering and the format kept across RemoveSurfaces.
#include "tests/plot/plot_test_support.h"

#include "plot/core/matrix_argument.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_ids.h"
#include "plot/model/surface_builder.h"
#include "plot/model/surface_model.h"

#include <cmath>
#include <limits>

using namespace plottest;
using halvex::BoundingRecord;
using halvex::COpenGLCtrl;
using halvex::SurfaceModel;

namespace {

class Surfaces : public PlotTest {
protected:
    COpenGLCtrl& control() { return dynamic_cast<COpenGLCtrl&>(*ctl); }
    Variant addSurface(Variant m) { return call(*ctl, halvex::dispid::AddSurface, {std::move(m)}); }
    void removeSurfaces() { call(*ctl, halvex::dispid::RemoveSurfaces); }
    Ref<Dispatch> model(int n) { return dispatchOf(call(*ctl, "Model", {Variant(n)})); }
    SurfaceModel& surface(int n)
    {
        halvex::CglModel* m = control().FindModel(n);
        if (!m || !m->AsSurface())
            throw std::runtime_error("no surface under that number");
        return *m->AsSurface();
    }
    int numberOfModels() { return get(*ctl, "NumberOfModels").toInt32(); }
};

void expectRecord(const BoundingRecord& r, std::array<float, 3> lo, std::array<float, 3> hi)
{
    for (int a = 0; a < 3; ++a) {
        EXPECT_FLOAT_EQ(r.min[a], lo[a]) << "min " << a;
        EXPECT_FLOAT_EQ(r.max[a], hi[a]) << "max " << a;
    }
}

TEST_F(Surfaces, NumbersFollowTheDataModels)
{
    EXPECT_EQ(numberOfModels(), 1);
    Variant first = addSurface(doubles2D(0, 2, 0, 2, {1, 2, 3, 4}));
    EXPECT_EQ(first.type(), platform::varBoolean);
    EXPECT_FALSE(first.toBool());
    EXPECT_EQ(numberOfModels(), 1);
    EXPECT_NE(control().FindModel(0)->AsSurface(), nullptr);
    EXPECT_FALSE(addSurface(doubles2D(0, 2, 0, 2, {1, 2, 3, 4})).toBool());
    EXPECT_EQ(numberOfModels(), 2);
    EXPECT_NE(control().FindModel(1)->AsSurface(), nullptr);
    EXPECT_TRUE(site.modified);
    EXPECT_GE(site.invalidations, 2);
    EXPECT_TRUE(control().NeedsRebuild());
}

TEST_F(Surfaces, OneByOneOpensTheDegenerateDataBox)
{
    addSurface(doubles2D(0, 1, 0, 1, {5.0}));
    expectRecord(surface(0).Rect(), {0, 5, 0}, {0, 5, 0});
    expectRecord(control().DataBox(), {-1, 4.95f, -1}, {1, 5.05f, 1});

    removeSurfaces();
    addSurface(doubles2D(0, 1, 0, 1, {0.0}));
    expectRecord(control().DataBox(), {-1, -1, -1}, {1, 1, 1});
}

TEST_F(Surfaces, DisplayCoordinatesPutColumnsAlongXAndRowsAlongZ)
{
    // 3 rows (first index) × 5 columns, value 10 i + j.
    std::vector<double> cells(15);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 3; ++i)
            cells[std::size_t(i + 3 * j)] = 10.0 * i + j;
    addSurface(doubles2D(0, 3, 0, 5, cells));
    SurfaceModel& s = surface(0);
    expectRecord(s.Rect(), {0, 0, 0}, {4, 24, 2});
    EXPECT_EQ(s.Rect().vector, (std::array<float, 3>{0, 0, 1}));
    EXPECT_EQ(s.rows(), 3);
    EXPECT_EQ(s.cols(), 5);
    EXPECT_EQ(s.GetVertex(2, 4), (halvex::Vertex{4, 24, 2}));
    EXPECT_EQ(s.GetVertex(1, 3), (halvex::Vertex{3, 13, 1}));
    expectRecord(control().DataBox(), {0, 0, 0}, {4, 24, 2});
}

TEST_F(Surfaces, LowerBoundsAreIgnoredAndOneDimensionIsOneColumn)
{
    addSurface(doubles2D(-3, 2, -7, 2, {1, 2, 3, 4}));
    EXPECT_EQ(surface(0).GetVertex(1, 0)[1], 2.0f);
    EXPECT_EQ(surface(0).GetVertex(0, 1)[1], 3.0f);

    addSurface(doubles1D({4, 5, 6, 7}));
    SurfaceModel& s = surface(1);
    EXPECT_EQ(s.rows(), 4);
    EXPECT_EQ(s.cols(), 1);
    expectRecord(s.Rect(), {0, 4, 0}, {0, 7, 3});
}

TEST_F(Surfaces, FloatAndVariantElementsAreConverted)
{
    addSurface(floats2D(2, 1, {1.5f, -2.25f}));
    expectRecord(surface(0).Rect(), {0, -2.25f, 0}, {0, 1.5f, 1});

    std::vector<Variant> values = {Variant::fromInt16(-3),    Variant(7),
                                   Variant::fromUInt8(200),   Variant::fromInt8(-8),
                                   Variant::fromUInt16(60000), Variant::fromUInt32(4000000000u),
                                   Variant::fromSingle(0.5f), Variant(2.75),
                                   Variant("12.5"),           Variant(true),
                                   Variant::fromInt64(-9),    Variant::fromCurrencyUnits(12345)};
    addSurface(variants2D(4, 3, values));
    SurfaceModel& s = surface(1);
    const float expected[] = {-3, 7, 200, -8, 60000, 4e9f, 0.5f, 2.75f, 12.5f, -1, -9, 1.2345f};
    for (int k = 0; k < 12; ++k)
        EXPECT_FLOAT_EQ(s.heights()[k], expected[k]) << k;
}

TEST_F(Surfaces, ArgumentErrorsCarryTheirCodes)
{
    const char* notMatrix = "Must be a 2-D matrix";
    expectControlError([&] { addSurface(Variant(5.0)); }, 32783, notMatrix);
    expectControlError([&] { addSurface(Variant()); }, 32783, notMatrix);
    expectControlError([&] { addSurface(arrayOf(platform::varDouble, {{0, 2}, {0, 2}, {0, 2}})); }, 32783, notMatrix);
    expectControlError([&] { addSurface(arrayOf(platform::varDouble, {{0, 0}, {0, 4}})); }, 32783, notMatrix);
    expectControlError([&] { addSurface(arrayOf(platform::varDouble, {{5, 0}})); }, 32783, notMatrix);
    expectControlError([&] { addSurface(variants2D(1, 2, {Variant(1), Variant("abc")})); }, 32786, "Type Mismatch.");
    expectControlError([&] { addSurface(variants2D(1, 1, {arrayOf(platform::varDouble, {{0, 1}})})); }, 32786,
                       "Type Mismatch.");
    expectControlError([&] { addSurface(arrayOf(platform::varInteger, {{0, 2}, {0, 2}})); }, 32787,
                       "Unsupported Type.");
    expectControlError([&] { addSurface(arrayOf(platform::varOleStr, {{0, 2}})); }, 32787, "Unsupported Type.");
    EXPECT_EQ(numberOfModels(), 1);
    EXPECT_EQ(control().FindModel(0)->AsSurface(), nullptr);
    EXPECT_EQ(site.invalidations, 0);
}

TEST(MatrixCellCount, SizesBeyondWhatCanBeHeldAreRefused)
{
    EXPECT_EQ(halvex::MatrixCellCount(2000, 2000), 4000000u);
    EXPECT_EQ(halvex::MatrixCellCount(0, 5), 0u);
    const char* text = "Not enough Memory.";
    expectControlError([] { halvex::MatrixCellCount(0x7FFFFFFF, 0x7FFFFFFF); }, 32785, text);
    expectControlError([] { halvex::MatrixCellCount(0x80000000u, 1); }, 32785, text);
    expectControlError([] { halvex::MatrixCellCount(1, 0xFFFFFFFFu); }, 32785, text);
    expectControlError([] { halvex::MatrixCellCount(std::uint64_t(1) << 40, std::uint64_t(1) << 40); }, 32785, text);
}

TEST_F(Surfaces, ValuesAFloatCannotCarryAreRefusedAndChangeNothing)
{
    addSurface(doubles2D(0, 2, 0, 1, {1, 2}));
    addSurface(doubles2D(0, 2, 0, 1, {3, 4}));
    BoundingRecord box = control().DataBox();
    site.reset();
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(), 1e300, -3.5e38};
    for (double v : bad)
        expectControlError([&] { addSurface(doubles2D(0, 2, 0, 1, {0.0, v})); }, 32801, "Failed to create surface.");
    EXPECT_EQ(numberOfModels(), 2);
    EXPECT_EQ(control().FindModel(2), nullptr);
    EXPECT_EQ(control().DataBox(), box);
    EXPECT_EQ(site.invalidations, 0);
    EXPECT_FALSE(site.modified);
    // The largest float itself is carried.
    addSurface(doubles2D(0, 1, 0, 1, {3.4028234663852886e38}));
    EXPECT_EQ(surface(2).Rect().max[1], std::numeric_limits<float>::max());
}

TEST_F(Surfaces, AFailedBuildLeavesTheModelItWouldReplace)
{
    Ref<Dispatch> m0 = model(0);
    put(*m0, "ViewAs", Variant(4));
    put(*m0, "PolygonColor", Variant::fromUInt32(0xFF0000FFu));
    expectControlError([&] { addSurface(variants2D(1, 2, {Variant(1.0), Variant(std::nan(""))})); }, 32801,
                       "Failed to create surface.");
    EXPECT_EQ(control().FindModel(0), m0.get());
    EXPECT_EQ(get(*m0, "ViewAs").toInt32(), 4);
    EXPECT_EQ(control().DataBox(), BoundingRecord::empty());
}

TEST_F(Surfaces, RemoveSurfacesKeepsTheFormatsNumberByNumber)
{
    addSurface(doubles2D(0, 2, 0, 2, {1, 2, 3, 4}));
    addSurface(doubles2D(0, 2, 0, 2, {1, 2, 3, 4}));
    put(*model(0), "PolygonColor", Variant::fromUInt32(0xFF0000FFu));
    put(*model(0), "ColormapIndex", Variant(3));
    put(*model(0), "DrawPoints", Variant(1));
    put(*model(1), "LineWidth", Variant(2.5));
    put(*model(1), "ViewAs", Variant(1));

    site.reset();
    EXPECT_TRUE(call(*ctl, halvex::dispid::RemoveSurfaces).toBool());
    EXPECT_EQ(numberOfModels(), 1);
    EXPECT_EQ(control().DataBox(), BoundingRecord::empty());
    EXPECT_EQ(control().FindModel(0)->AsMesh(), nullptr);
    EXPECT_EQ(control().FindModel(1)->AsMesh(), nullptr);
    EXPECT_EQ(site.invalidations, 1);
    EXPECT_TRUE(site.modified);

    addSurface(doubles2D(0, 1, 0, 1, {1}));
    Ref<Dispatch> m0 = model(0);
    EXPECT_EQ(std::uint32_t(get(*m0, "PolygonColor").toInt64()), 0xFF0000FFu);
    EXPECT_EQ(get(*m0, "ColormapIndex").toInt32(), 3);
    EXPECT_EQ(get(*m0, "DrawPoints").toInt32(), 1);
    EXPECT_EQ(numberOfModels(), 1);

    // The second surface takes over number 1 and its format, as a surface.
    addSurface(doubles2D(0, 1, 0, 1, {2}));
    Ref<Dispatch> m1 = model(1);
    EXPECT_EQ(get(*m1, "LineWidth").toDouble(), 2.5);
    EXPECT_EQ(get(*m1, "ViewAs").toInt32(), 0);
    EXPECT_NE(control().FindModel(1)->AsSurface(), nullptr);
}

TEST_F(Surfaces, ModelLooksUpWithoutMakingAnEntry)
{
    for (int k = 0; k < 4; ++k)
        addSurface(doubles2D(0, 1, 0, 2, {1, 2}));
    EXPECT_TRUE(control().AllSurfaces());
    expectControlError([&] { model(5); }, 57652, "Model 5 doesn't exist");
    expectControlError([&] { model(-1); }, 57652, "Model -1 doesn't exist");
    EXPECT_EQ(control().models().size(), 4u);
    addSurface(doubles2D(0, 1, 0, 2, {1, 2}));
    EXPECT_NE(control().FindModel(4)->AsSurface(), nullptr);
    EXPECT_EQ(control().FindModel(5), nullptr);
    control().RecomputeViewFlags();
    EXPECT_TRUE(control().AllSurfaces());
    EXPECT_EQ(model(4)->className(), "glModel");
}

TEST_F(Surfaces, CreateModelRefusesATakenNumber)
{
    expectControlError([&] { call(*ctl, "CreateModel", {Variant(0)}); }, 57698,
                       "Can't create model 0: model already exists");
    addSurface(doubles2D(0, 1, 0, 1, {1}));
    EXPECT_TRUE(control().AllSurfaces());
    Ref<Dispatch> m7 = dispatchOf(call(*ctl, "CreateModel", {Variant(7)}));
    ASSERT_TRUE(m7);
    EXPECT_EQ(m7.get(), model(7).get());
    EXPECT_FALSE(control().AllSurfaces());
    EXPECT_EQ(numberOfModels(), 1);
    // The next surface still goes to the next number, not after 7.
    addSurface(doubles2D(0, 1, 0, 1, {1}));
    EXPECT_NE(control().FindModel(1)->AsSurface(), nullptr);
}

TEST_F(Surfaces, ViewFlagsFollowThePlotKinds)
{
    EXPECT_FALSE(control().FlatPlot());
    EXPECT_FALSE(control().AllSurfaces());
    addSurface(doubles2D(0, 2, 0, 2, {1, 2, 3, 4}));
    EXPECT_TRUE(control().AllSurfaces());
    EXPECT_FALSE(control().FlatPlot());
    EXPECT_FALSE(control().AllBars());

    Ref<Dispatch> m0 = model(0);
    put(*m0, "ViewAs", Variant(1));
    EXPECT_TRUE(control().FlatPlot());
    put(*m0, "ViewAs", Variant(3));
    EXPECT_TRUE(control().FlatPlot());
    put(*m0, "ViewAs", Variant(4));
    EXPECT_FALSE(control().FlatPlot());
    EXPECT_FALSE(control().AllBars());
    put(*m0, "BarPlotLayout", Variant(1));
    EXPECT_TRUE(control().AllBars());
    put(*m0, "BarPlotLayout", Variant(2));
    EXPECT_TRUE(control().AllBars());
    put(*m0, "BarPlotLayout", Variant(0));
    EXPECT_FALSE(control().AllBars());
    put(*m0, "BarPlotLayout", Variant(2));

    // A contour plot next to a surface is not flat; a placeholder entry
    // ends every "all" flag.
    addSurface(doubles2D(0, 1, 0, 1, {1}));
    EXPECT_FALSE(control().AllBars());
    put(*m0, "ViewAs", Variant(1));
    EXPECT_FALSE(control().FlatPlot());
    EXPECT_TRUE(control().AllSurfaces());
    put(*model(1), "ViewAs", Variant(3));
    EXPECT_TRUE(control().FlatPlot());
    call(*ctl, "RemoveSurfaces");
    EXPECT_FALSE(control().FlatPlot());
    EXPECT_FALSE(control().AllSurfaces());
}

// A host's interrupt source that fires after a number of looks.
struct InterruptAfter final : halvex::InterruptSource {
    int looks;
    explicit InterruptAfter(int n) : looks(n) {}
    bool InterruptPending() override { return --looks < 0; }
};

TEST_F(Surfaces, AnInterruptedBuildChangesNothing)
{
    std::vector<double> cells(12, 1.0);
    InterruptAfter interrupt(2);
    halvex::SurfaceBuildOptions options;
    options.interrupt = &interrupt;
    halvex::CglModel* before = control().FindModel(0);
    expectControlError([&] { halvex::BuildSurface(control(), cells.data(), 3, 4, 0, options); }, 57763, "interrupted");
    EXPECT_EQ(control().FindModel(0), before);
    EXPECT_EQ(control().DataBox(), BoundingRecord::empty());
    EXPECT_FALSE(control().IsModified());
    InterruptAfter patient(4);
    EXPECT_TRUE(halvex::BuildSurface(control(), cells.data(), 3, 4, 0, options = {{}, &patient}));
}

TEST_F(Surfaces, BarAndPatchPlotsWidenTheDataBoxByTheirCells)
{
    // Two rows, three columns; the kind of the replaced model stays.
    std::vector<double> cells = {1, -2, 3, 4, -5, 6};
    put(*model(0), "ViewAs", Variant(5));
    halvex::BuildSurface(control(), cells.data(), 2, 3, 0);
    expectRecord(surface(0).BarBox(), {-0.5f, -5, -0.5f}, {2.5f, 6, 1.5f});
    expectRecord(control().DataBox(), {-0.5f, -5, -0.5f}, {2.5f, 6, 1.5f});

    // Stacked bars: per column the positive values up, the negative down.
    put(*model(0), "ViewAs", Variant(4));
    put(*model(0), "BarPlotLayout", Variant(1));
    surface(0).ComputeBarBox();
    expectRecord(surface(0).BarBox(), {-0.5f, -5, -0.5f}, {0.5f, 7, 2.5f});
    // The matrix layout reaches down or up to the floor.
    std::vector<double> high = {2, 3};
    put(*model(0), "BarPlotLayout", Variant(0));
    halvex::BuildSurface(control(), high.data(), 1, 2, 0);
    expectRecord(surface(0).BarBox(), {-0.5f, 0, -0.5f}, {1.5f, 3, 0.5f});
}

TEST_F(Surfaces, CalledByNameAsScriptsDo)
{
    EXPECT_FALSE(call(*ctl, "addsurface", {doubles2D(1, 2, 1, 1, {8, 9})}).toBool());
    expectRecord(surface(0).Rect(), {0, 8, 0}, {0, 9, 1});
}

} // namespace
