// The builders of the other plot kinds through the control's dispatch
// interface (parametric surfaces, scatter plots, vector fields, the host's
// lists and volumes), their errors, the bar boxes, and the gridding of point
// lists as the model keeps it.
#include "tests/plot/plot_test_support.h"

#include "plot/core/plot_control.h"
#include "plot/host/host_framework.h"
#include "plot/model/mesh_builders.h"
#include "plot/model/primitive_model.h"

#include <cmath>
#include <limits>
#include <list>

using namespace plottest;
using halvex::BoundingRecord;
using halvex::COpenGLCtrl;
using halvex::MeshModel;
using halvex::host::HostMatrix;
using halvex::host::makeNestedReference;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

class PlotKinds : public PlotTest {
protected:
    COpenGLCtrl& control() { return dynamic_cast<COpenGLCtrl&>(*ctl); }
    Ref<Dispatch> model(int n) { return dispatchOf(call(*ctl, "Model", {Variant(n)})); }
    MeshModel& mesh(int n)
    {
        halvex::CglModel* m = control().FindModel(n);
        if (!m || !m->AsMesh())
            throw std::runtime_error("no mesh under that number");
        return *m->AsMesh();
    }
    // Ten points of the plane z = 3x − 2y + 1, as a scatter list.
    void addPlanePoints(int n = 10)
    {
        std::vector<double> x, y, z;
        for (int k = 0; k < n; ++k) {
            double px = std::cos(k * 2.4) * (1 + k * 0.3), py = std::sin(k * 2.4) * (1 + k * 0.3) + 5;
            x.push_back(px);
            y.push_back(py);
            z.push_back(3 * px - 2 * py + 1);
        }
        call(*ctl, "AddScatterPlot", {doubles1D(x), doubles1D(y), doubles1D(z)});
    }
};

TEST_F(PlotKinds, AParametricSurfaceHoldsItsVerticesInDisplayCoordinates)
{
    Variant x = doubles2D(0, 2, 0, 3, {1, 2, 3, 4, 5, 6});
    Variant y = doubles2D(0, 2, 0, 3, {10, 20, 30, 40, 50, 60});
    Variant z = doubles2D(0, 2, 0, 3, {-1, -2, -3, -4, -5, -6});
    EXPECT_TRUE(call(*ctl, "AddParametricSurface", {x, y, z}).toBool());
    MeshModel& m = mesh(0);
    EXPECT_EQ(m.rows(), 2);
    EXPECT_EQ(m.cols(), 3);
    // (X, Y, Z) is held as (Y, Z, X); element (1, 2) is the sixth.
    EXPECT_EQ(m.GetVertex(1, 2), (halvex::Vertex{60, -6, 6}));
    EXPECT_EQ(m.Rect().min, (std::array<float, 3>{10, -6, 1}));
    EXPECT_EQ(m.Rect().max, (std::array<float, 3>{60, -1, 6}));
    EXPECT_EQ(get(*model(0), "ViewAs").toInt32(), 0);
    EXPECT_EQ(get(*ctl, "NumberOfModels").toInt32(), 1);
    EXPECT_EQ(control().DataBox().min, m.Rect().min);
    EXPECT_TRUE(site.modified);
    EXPECT_FALSE(get(*model(0), "InterpolateMesh").toBool());
}

TEST_F(PlotKinds, ANonFiniteCoordinateIsRefusedAndTheOldModelStays)
{
    Variant x = doubles2D(0, 2, 0, 2, {1, 2, 3, 4});
    call(*ctl, "AddParametricSurface", {x, x, x});
    halvex::CglModel* before = control().FindModel(0);
    put(*model(0), "PolygonColor", Variant::fromUInt32(0xFF00FF00u));
    const BoundingRecord box = control().DataBox();
    for (double bad : {kNaN, std::numeric_limits<double>::infinity(), 1e300}) {
        Variant y = doubles2D(0, 2, 0, 2, {1, bad, 3, 4});
        // The first data model exists: the next goes to number 1, and its
        // failure changes nothing.
        expectControlError([&] { call(*ctl, "AddParametricSurface", {x, y, x}); }, 32801,
                           "Failed to create surface.");
        EXPECT_EQ(control().FindModel(0), before);
        EXPECT_EQ(control().FindModel(1), nullptr);
        EXPECT_EQ(control().DataBox(), box);
    }
    call(*ctl, "RemoveSurfaces");
    Variant y = doubles2D(0, 2, 0, 2, {1, kNaN, 3, 4});
    halvex::CglModel* placeholder = control().FindModel(0);
    expectControlError([&] { call(*ctl, "AddScatterPlot", {x, y, x}); }, 32801, "Failed to create surface.");
    EXPECT_EQ(control().FindModel(0), placeholder);
}

TEST_F(PlotKinds, AScatterPlotIsAPointListShownAsDataPoints)
{
    addPlanePoints();
    MeshModel& m = mesh(0);
    EXPECT_EQ(m.rows(), 10);
    EXPECT_EQ(m.cols(), 1);
    EXPECT_EQ(get(*model(0), "ViewAs").toInt32(), 2);
    EXPECT_TRUE(m.CanInterpolate());
    // Shown as points it is not gridded; as a surface it is.
    EXPECT_FALSE(get(*model(0), "InterpolateMesh").toBool());
    put(*model(0), "ViewAs", Variant(0));
    EXPECT_TRUE(get(*model(0), "InterpolateMesh").toBool());
    put(*model(0), "ViewAs", Variant(3));
    EXPECT_FALSE(get(*model(0), "InterpolateMesh").toBool());
}

TEST_F(PlotKinds, APointListIsGriddedAtTheAskedSizeAndReleasedForPoints)
{
    addPlanePoints();
    Ref<Dispatch> m0 = model(0);
    put(*m0, "ViewAs", Variant(0));
    MeshModel& m = mesh(0);
    ASSERT_TRUE(m.EnsureGrid());
    EXPECT_TRUE(m.HasGrid());
    EXPECT_EQ(m.rows(), 21);
    EXPECT_EQ(m.cols(), 21);
    // Rows run along display x (the points' Y), columns along display z
    // (their X), from the smallest to the largest; the plane is kept (to
    // float precision: the model holds floats).
    const BoundingRecord& r = m.Rect();
    for (int i : {0, 7, 20})
        for (int j : {0, 13, 20}) {
            halvex::Vertex v = m.GetVertex(i, j);
            EXPECT_NEAR(v[0], r.min[0] + i * (r.max[0] - r.min[0]) / 20, 1e-5);
            EXPECT_NEAR(v[2], r.min[2] + j * (r.max[2] - r.min[2]) / 20, 1e-5);
            EXPECT_NEAR(v[1], 3.0 * v[2] - 2.0 * v[0] + 1.0, 1e-4);
        }
    // A new size rebuilds the grid; the same size keeps it.
    put(*m0, "InterpolatedRows", Variant(30));
    ASSERT_TRUE(m.EnsureGrid());
    EXPECT_EQ(m.rows(), 30);
    EXPECT_EQ(m.cols(), 21);
    // Shown as data points, the model draws its own ten points again.
    put(*m0, "ViewAs", Variant(2));
    ASSERT_TRUE(m.EnsureGrid());
    EXPECT_FALSE(m.HasGrid());
    EXPECT_EQ(m.rows(), 10);
    EXPECT_EQ(m.cols(), 1);
}

TEST_F(PlotKinds, ASizeTheGridderCannotMakeIsToldAndKept)
{
    addPlanePoints();
    Ref<Dispatch> m0 = model(0);
    put(*m0, "ViewAs", Variant(0));
    for (int bad : {1, 0, -5, 4097}) {
        put(*m0, "InterpolatedRows", Variant(bad));
        EXPECT_EQ(get(*m0, "InterpolatedRows").toInt32(), bad);
        EXPECT_FALSE(mesh(0).EnsureGrid());
        EXPECT_FALSE(mesh(0).HasGrid());
    }
    ASSERT_FALSE(control().drawMessages().empty());
    EXPECT_EQ(control().drawMessages().back(), "can't interpolate");
    // 2048 × 2049 is within each side but over 4 M nodes.
    put(*m0, "InterpolatedRows", Variant(2048));
    put(*m0, "InterpolatedColumns", Variant(2049));
    EXPECT_FALSE(mesh(0).EnsureGrid());
    put(*m0, "InterpolatedRows", Variant(2));
    put(*m0, "InterpolatedColumns", Variant(4096));
    EXPECT_TRUE(mesh(0).EnsureGrid());
    EXPECT_EQ(mesh(0).rows(), 2);
    EXPECT_EQ(mesh(0).cols(), 4096);
}

TEST_F(PlotKinds, PointsOnALineCannotBeGridded)
{
    call(*ctl, "AddScatterPlot",
         {doubles1D({0, 1, 2, 3}), doubles1D({0, 2, 4, 6}), doubles1D({5, 6, 7, 8})});
    put(*model(0), "ViewAs", Variant(4));
    EXPECT_FALSE(mesh(0).EnsureGrid());
    ASSERT_FALSE(control().drawMessages().empty());
    EXPECT_EQ(control().drawMessages().back(), "can't interpolate");
}

TEST_F(PlotKinds, VectorFieldsCheckTheirArguments)
{
    Variant row = doubles2D(0, 1, 0, 3, {1, 2, 3});
    expectControlError([&] { call(*ctl, "AddVectorFieldPlot", {row, row}); }, 57714,
                       "Must be a multidimensional array");
    Variant re = doubles2D(0, 2, 0, 2, {1, 0, 0, kNaN});
    Variant im = doubles2D(0, 2, 0, 2, {0, 1, 0, 0});
    expectControlError([&] { call(*ctl, "AddVectorFieldPlot", {re, im}); }, 57712, "non-scalar value");
    EXPECT_EQ(control().FindModel(0)->AsMesh(), nullptr);

    re = doubles2D(0, 2, 0, 3, {3, 0, 0, 0, 1, 0});
    im = doubles2D(0, 2, 0, 3, {4, 0, 0, 1, 0, 0});
    EXPECT_TRUE(call(*ctl, "AddVectorFieldPlot", {re, im}).toBool());
    MeshModel& m = mesh(0);
    EXPECT_TRUE(m.FlatKind());
    EXPECT_EQ(get(*model(0), "ViewAs").toInt32(), 3);
    EXPECT_DOUBLE_EQ(m.LargestMagnitude(), 5.0);
    // (imaginary, 0, real) in display coordinates.
    EXPECT_EQ(m.GetVertex(0, 0), (halvex::Vertex{4, 0, 3}));
    EXPECT_EQ(m.GetVertex(1, 1), (halvex::Vertex{1, 0, 0}));
    // The grid, and the arrows' reach beyond it: (1, 1) points 1 / 5 along
    // x, (0, 2) 1 / 5 along z, its head 0.16 of that to either side.
    EXPECT_FLOAT_EQ(m.Rect().min[0], -0.032f);
    EXPECT_FLOAT_EQ(m.Rect().max[0], 1.2f);
    EXPECT_FLOAT_EQ(m.Rect().min[2], 0.0f);
    EXPECT_FLOAT_EQ(m.Rect().max[2], 2.2f);
    EXPECT_EQ(m.Rect().min[1], 0.0f);
    EXPECT_EQ(m.Rect().max[1], 0.0f);
    EXPECT_TRUE(control().FlatPlot());

    // All zero: no largest magnitude, and nothing divides by it.
    std::vector<double> zeros(6, 0.0);
    call(*ctl, "AddVectorFieldPlot", {doubles2D(0, 2, 0, 3, zeros), doubles2D(0, 2, 0, 3, zeros)});
    EXPECT_EQ(mesh(0).LargestMagnitude(), 0.0);
}

TEST_F(PlotKinds, EveryArrayIsCheckedAgainstItsStride)
{
    std::vector<double> a(10, 1.0);
    auto& owner = static_cast<halvex::PlotOwner&>(control());
    // 2 rows × 3 columns at stride 4 read elements up to 2 × 4 + 2 = 10.
    EXPECT_TRUE(halvex::BuildMesh(owner, {a.data(), 10, 4}, {a.data(), 10, 4}, {a.data(), 10, 4}, 2, 3, 0));
    halvex::CglModel* built = control().FindModel(0);
    expectControlError([&] { halvex::BuildMesh(owner, {a.data(), 9, 4}, {}, {}, 2, 3, 0); }, 32801,
                       "Failed to create surface.");
    // A stride of 0 means rows.
    expectControlError([&] { halvex::BuildMesh(owner, {}, {a.data(), 5, 0}, {}, 2, 3, 0); }, 32801,
                       "Failed to create surface.");
    EXPECT_TRUE(halvex::BuildMesh(owner, {}, {a.data(), 6, 0}, {}, 2, 3, 0));
    // A stride so large that the product would wrap is refused too.
    expectControlError(
        [&] {
            halvex::BuildMesh(owner, {a.data(), 10, std::numeric_limits<std::size_t>::max() / 2}, {}, {}, 2, 3, 0);
        },
        32801, "Failed to create surface.");
    EXPECT_NE(control().FindModel(0), built);
    expectControlError([&] { halvex::BuildMesh(owner, {}, {}, {}, 0, 3, 0); }, 32801, "Failed to create surface.");
}

TEST_F(PlotKinds, BarBoxesOfTheLayouts)
{
    // A single row of bars far from 0 along display z (data X = −5): the
    // spacing is a tenth of its distance from 0, a positive one.
    call(*ctl, "AddParametricSurface",
         {doubles2D(0, 1, 0, 3, {-5, -5, -5}), doubles2D(0, 1, 0, 3, {0, 1, 2}), doubles2D(0, 1, 0, 3, {1, 2, 3})});
    put(*model(0), "ViewAs", Variant(4));
    const BoundingRecord& b = mesh(0).DataRecord();
    EXPECT_FLOAT_EQ(b.min[2], -5.25f);
    EXPECT_FLOAT_EQ(b.max[2], -4.75f);
    EXPECT_FLOAT_EQ(b.min[0], -0.5f);
    EXPECT_FLOAT_EQ(b.max[0], 2.5f);
    EXPECT_FLOAT_EQ(b.min[1], 0.0f);
    EXPECT_FLOAT_EQ(b.max[1], 3.0f);

    // Stacked: each column's positive values upwards, negative downwards.
    call(*ctl, "RemoveSurfaces");
    call(*ctl, "AddSurface", {doubles2D(0, 3, 0, 2, {1, -2, 4, -1, -1, 2})});
    Ref<Dispatch> m0 = model(0);
    put(*m0, "ViewAs", Variant(4));
    put(*m0, "BarPlotLayout", Variant(1));
    const BoundingRecord& s = control().FindModel(0)->DataRecord();
    EXPECT_FLOAT_EQ(s.min[1], -2.0f);
    EXPECT_FLOAT_EQ(s.max[1], 5.0f);
    EXPECT_FLOAT_EQ(s.min[2], -0.5f);
    EXPECT_FLOAT_EQ(s.max[2], 1.5f);
    EXPECT_TRUE(control().AllBars());
    // Side by side: the tallest and the deepest bar.
    put(*m0, "BarPlotLayout", Variant(2));
    const BoundingRecord& sb = control().FindModel(0)->DataRecord();
    EXPECT_FLOAT_EQ(sb.min[1], -2.0f);
    EXPECT_FLOAT_EQ(sb.max[1], 4.0f);
    // A layout outside the table is kept and drawn as the matrix layout.
    put(*m0, "BarPlotLayout", Variant(9));
    EXPECT_EQ(get(*m0, "BarPlotLayout").toInt32(), 9);
    const BoundingRecord& mb = control().FindModel(0)->DataRecord();
    EXPECT_FLOAT_EQ(mb.min[0], -0.5f);
    EXPECT_FLOAT_EQ(mb.max[0], 1.5f);
    EXPECT_FALSE(control().AllBars());
}

TEST_F(PlotKinds, OutOfRangeStylesAreKept)
{
    Ref<Dispatch> m0 = model(0);
    for (const char* name : {"LineStyle", "PointSymbol", "DataPointsConnectivity"}) {
        put(*m0, name, Variant(-3));
        EXPECT_EQ(get(*m0, name).toInt32(), -3) << name;
        put(*m0, name, Variant(77));
        EXPECT_EQ(get(*m0, name).toInt32(), 77) << name;
    }
}

TEST_F(PlotKinds, ConnectionOrders)
{
    // Heights 3, 1, 2, 0 at X 0, 3, 1, 2 and Y 2, 0, 3, 1.
    call(*ctl, "AddScatterPlot",
         {doubles1D({0, 3, 1, 2}), doubles1D({2, 0, 3, 1}), doubles1D({3, 1, 2, 0})});
    Ref<Dispatch> m0 = model(0);
    MeshModel& m = mesh(0);
    using Order = std::vector<std::uint32_t>;
    EXPECT_EQ(m.ConnectionOrder(), (Order{0, 1, 2, 3}));
    put(*m0, "DataPointsConnectivity", Variant(1));
    EXPECT_EQ(m.ConnectionOrder(), (Order{0, 2, 3, 1}));
    put(*m0, "DataPointsConnectivity", Variant(2));
    EXPECT_EQ(m.ConnectionOrder(), (Order{1, 3, 0, 2}));
    put(*m0, "DataPointsConnectivity", Variant(3));
    EXPECT_EQ(m.ConnectionOrder(), (Order{3, 1, 2, 0}));
    put(*m0, "DataPointsConnectivity", Variant(12));
    EXPECT_EQ(m.ConnectionOrder(), (Order{0, 1, 2, 3}));

    // A matrix surface's rows follow X and its columns Y without sorting.
    call(*ctl, "RemoveSurfaces");
    call(*ctl, "AddSurface", {doubles2D(0, 2, 0, 3, {1, 1, 1, 1, 1, 1})});
    put(*model(0), "DataPointsConnectivity", Variant(1));
    EXPECT_EQ(mesh(0).ConnectionOrder(), (Order{0, 2, 4, 1, 3, 5}));
    put(*model(0), "DataPointsConnectivity", Variant(2));
    EXPECT_EQ(mesh(0).ConnectionOrder(), (Order{0, 1, 2, 3, 4, 5}));
}

// A host program's nested values: parametric triples in AddSurfaces and
// pieces of volumes in AddVolumes.
class TestHost final : public halvex::host::HostFramework {
public:
    halvex::host::HostValueTable table;
    bool InZorvicContainer() const override { return false; }
    bool InPellixContainer() const override { return false; }
    std::unique_ptr<halvex::host::DataPorts> createPorts() override { return halvex::host::noHost().createPorts(); }
    void fireHostEvent(halvex::host::HostEvent, std::string_view) override {}
    void StepComplete() override {}
    const halvex::host::GraphicsLibrary* graphicsLibrary() const override { return nullptr; }
    const halvex::host::HostValueTable& values() const override { return table; }
};

class HostedKinds : public PlotTest {
protected:
    HostedKinds() : hosted(new COpenGLCtrl(host)) { hosted->setSite(&site); }
    ~HostedKinds() override { hosted->setSite(nullptr); }
    // The host keeps the cells and the matrix record alive while the
    // table refers to them.
    double ref(const std::vector<double>& cells, std::int32_t rows, std::int32_t cols)
    {
        keep.push_back(cells);
        HostMatrix& m = matrices.emplace_back();
        m.real = keep.back().data();
        m.rows = rows;
        m.cols = cols;
        halvex::host::SetByteSize(m); // a record states its size, as a host's do
        return makeNestedReference(host.table.add(m));
    }
    TestHost host;
    Ref<COpenGLCtrl> hosted;
    std::list<std::vector<double>> keep;
    std::list<HostMatrix> matrices;
};

TEST_F(HostedKinds, ThreeMatricesMakeAParametricSurface)
{
    double x = ref({1, 2, 3, 4}, 2, 2), y = ref({5, 6, 7, 8}, 2, 2), z = ref({9, 10, 11, 12}, 2, 2);
    double triple = ref({x, y, z}, 3, 1);
    EXPECT_TRUE(call(*hosted, "AddSurfaces", {doubles1D({triple})}).toBool());
    MeshModel* m = hosted->FindModel(0)->AsMesh();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->AsSurface(), nullptr);
    EXPECT_EQ(m->GetVertex(1, 1), (halvex::Vertex{8, 12, 4}));
}

TEST_F(HostedKinds, VolumesHoldTheirPiecesOneAfterAnother)
{
    double a = ref({0, 1, 0, 1}, 2, 2), b = ref({0, 0, 1, 1}, 2, 2), c = ref({5, 5, 5, 5}, 2, 2);
    double d = ref({7, 7, 7, 7}, 2, 2);
    double first = ref({a, b, c}, 3, 1), second = ref({a, b, d}, 3, 1);
    double volume = ref({first, second}, 2, 1);
    EXPECT_TRUE(call(*hosted, "AddVolumes", {doubles1D({volume})}).toBool());
    auto* m = dynamic_cast<halvex::PrimitiveModel*>(hosted->FindModel(0));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->PieceCount(), 2);
    EXPECT_EQ(m->rows(), 2);
    EXPECT_EQ(m->cols(), 4);
    EXPECT_EQ(m->Piece(1).at(0, 0), (halvex::Vertex{0, 7, 0}));
    EXPECT_EQ(m->Rect().min[1], 5.0f);
    EXPECT_EQ(m->Rect().max[1], 7.0f);

    // A piece of another size, or one that is not a triple, builds nothing.
    double small = ref({1}, 1, 1);
    double odd = ref({small, small, small}, 3, 1);
    double pair = ref({a, b}, 2, 1);
    for (double bad : {ref({first, odd}, 2, 1), ref({first, pair}, 2, 1), ref({first, 1.5}, 2, 1)}) {
        expectControlError([&] { call(*hosted, "AddVolumes", {doubles1D({bad})}); }, 32801,
                           "Failed to create surface.");
        EXPECT_EQ(hosted->FindModel(0), m);
    }
}

} // namespace
