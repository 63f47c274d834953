// The host programs' list values (AddSurfaces, AddVolumes): references
// inside doubles resolve only through the host's table; and the argument
// checks of the methods whose plots other builders make.
#include "tests/plot/plot_test_support.h"

#include "plot/core/plot_control.h"
#include "plot/host/host_framework.h"
#include "plot/model/surface_model.h"

#include <bit>
#include <cmath>
#include <limits>

using namespace plottest;
using halvex::host::HostMatrix;
using halvex::host::makeNestedReference;

namespace {

// A host program that keeps its nested values in the table.
class TestHost final : public halvex::host::HostFramework {
public:
    bool zorvic = false;
    halvex::host::HostValueTable table;
    int events = 0;

    bool InZorvicContainer() const override { return zorvic; }
    bool InPellixContainer() const override { return false; }
    std::unique_ptr<halvex::host::DataPorts> createPorts() override { return halvex::host::noHost().createPorts(); }
    void fireHostEvent(halvex::host::HostEvent, std::string_view) override { ++events; }
    void StepComplete() override {}
    const halvex::host::GraphicsLibrary* graphicsLibrary() const override { return nullptr; }
    const halvex::host::HostValueTable& values() const override { return table; }
};

HostMatrix matrix(const std::vector<double>& cells, std::int32_t rows, std::int32_t cols)
{
    HostMatrix m;
    m.real = cells.data();
    m.rows = rows;
    m.cols = cols;
    halvex::host::SetByteSize(m);
    return m;
}

class HostLists : public PlotTest {
protected:
    HostLists() : hosted(new halvex::COpenGLCtrl(host)) { hosted->setSite(&site); }
    ~HostLists() override { hosted->setSite(nullptr); }
    halvex::SurfaceModel* surface(int n)
    {
        halvex::CglModel* m = hosted->FindModel(n);
        return m ? m->AsSurface() : nullptr;
    }
    TestHost host;
    Ref<halvex::COpenGLCtrl> hosted;
};

TEST(HostValues, OnlyAllOnesInTheUpperHalfCarriesAReference)
{
    EXPECT_EQ(halvex::host::nestedReference(makeNestedReference(0x10005)), 0x10005u);
    EXPECT_FALSE(halvex::host::nestedReference(1.5));
    EXPECT_FALSE(halvex::host::nestedReference(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(halvex::host::nestedReference(std::bit_cast<double>(0xFFFFFFFE00010000ull)));
    EXPECT_TRUE(std::isnan(makeNestedReference(7)));
}

TEST_F(HostLists, WithoutAHostNothingIsBuiltAndNoPatternIsFollowed)
{
    // Ordinary numbers and NaNs with the reference pattern, one of them the
    // very number a host table would hand out first.
    Variant list = doubles1D({1.0, makeNestedReference(0x10000), makeNestedReference(0xDEADBEEF),
                              std::numeric_limits<double>::quiet_NaN()});
    site.reset();
    EXPECT_TRUE(call(*ctl, "AddSurfaces", {list}).toBool());
    EXPECT_TRUE(call(*ctl, "AddVolumes", {list}).toBool());
    auto& control = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);
    EXPECT_EQ(control.models().size(), 1u);
    EXPECT_EQ(control.FindModel(0)->AsMesh(), nullptr);
    EXPECT_EQ(get(*ctl, "NumberOfModels").toInt32(), 1);
    EXPECT_EQ(site.invalidations, 2);
    expectControlError([&] { call(*ctl, "AddSurfaces", {Variant(3)}); }, 32783, "Must be a 2-D matrix");
}

TEST_F(HostLists, PlainNestedMatricesBecomeSurfacesUnderTheirIndex)
{
    std::vector<double> a = {1, 2, 3, 4, 5, 6}, b = {-1};
    HostMatrix ma = matrix(a, 2, 3), mb = matrix(b, 1, 1);
    std::uint32_t ra = host.table.add(ma), rb = host.table.add(mb);
    HostMatrix gone = matrix(b, 1, 1);
    std::uint32_t stale = host.table.add(gone);
    ASSERT_TRUE(host.table.remove(stale));

    Variant list = doubles1D({makeNestedReference(ra), 7.0, makeNestedReference(rb), makeNestedReference(stale)});
    EXPECT_TRUE(call(*hosted, "AddSurfaces", {list}).toBool());
    ASSERT_NE(surface(0), nullptr);
    ASSERT_NE(surface(2), nullptr);
    EXPECT_EQ(hosted->FindModel(1), nullptr);
    EXPECT_EQ(hosted->FindModel(3), nullptr);
    EXPECT_EQ(surface(0)->GetVertex(1, 2), (halvex::Vertex{2, 6, 1}));
    EXPECT_EQ(surface(2)->Rect().min[1], -1.0f);
    EXPECT_TRUE(hosted->AllSurfaces());
    EXPECT_TRUE(hosted->IsModified());
}

TEST_F(HostLists, ABuilderKeepsThePlotKindAndFormatItReplaces)
{
    Ref<Dispatch> m0 = dispatchOf(call(*hosted, "Model", {Variant(0)}));
    put(*m0, "ViewAs", Variant(4));
    put(*m0, "PolygonColor", Variant::fromUInt32(0xFF0000FFu));
    put(*m0, "ColormapIndex", Variant(3));
    std::vector<double> one = {0.5};
    HostMatrix m = matrix(one, 1, 1);
    call(*hosted, "AddSurfaces", {doubles1D({makeNestedReference(host.table.add(m))})});
    Ref<Dispatch> built = dispatchOf(call(*hosted, "Model", {Variant(0)}));
    ASSERT_NE(surface(0), nullptr);
    EXPECT_EQ(get(*built, "ViewAs").toInt32(), 4);
    EXPECT_EQ(std::uint32_t(get(*built, "PolygonColor").toInt64()), 0xFF0000FFu);
    EXPECT_EQ(get(*built, "ColormapIndex").toInt32(), 3);
    // A 1 × 1 bar of 0.5: its bar box spans one cell in x and z and 0..0.5
    // in height, and that box widens the data box.
    const halvex::BoundingRecord& bars = surface(0)->BarBox();
    EXPECT_EQ(bars.min, (std::array<float, 3>{-0.5f, 0.0f, -0.5f}));
    EXPECT_EQ(bars.max, (std::array<float, 3>{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(hosted->DataBox().min, bars.min);
    EXPECT_EQ(hosted->DataBox().max, bars.max);
}

TEST_F(HostLists, ListsOfOtherLengthsNeedAVectorField)
{
    std::vector<double> a = {1, 2};
    HostMatrix ma = matrix(a, 2, 1);
    double ref = makeNestedReference(host.table.add(ma));
    std::vector<double> pair = {ref, ref};
    HostMatrix list = matrix(pair, 2, 1);
    Variant arg = doubles1D({makeNestedReference(host.table.add(list))});

    expectControlError([&] { call(*hosted, "AddSurfaces", {arg}); }, 57757, "too few arguments");
    put(*dispatchOf(call(*hosted, "Model", {Variant(0)})), "ViewAs", Variant(1));
    expectControlError([&] { call(*hosted, "AddSurfaces", {arg}); }, 57756, "too many arguments");
    EXPECT_EQ(surface(0), nullptr);
}

TEST_F(HostLists, PlotKindChangesAreNoticedInTheFirstHostProgram)
{
    host.zorvic = true;
    Ref<Dispatch> m0 = dispatchOf(call(*hosted, "Model", {Variant(0)}));
    put(*m0, "ViewAs", Variant(1));
    EXPECT_FALSE(hosted->TakePlotKindNotice());
    put(*m0, "ViewAs", Variant(3));
    EXPECT_TRUE(hosted->TakePlotKindNotice());
    EXPECT_FALSE(hosted->TakePlotKindNotice());
    put(*m0, "ViewAs", Variant(0));
    EXPECT_TRUE(hosted->TakePlotKindNotice());
    EXPECT_EQ(hosted->inputs().GetSize(), 1);
    EXPECT_FALSE(hosted->inputs().IsConnected(0));
}

TEST_F(HostLists, CoordinateMatricesMustAgreeInSize)
{
    Variant a = doubles2D(0, 2, 0, 2, {1, 2, 3, 4}), b = doubles2D(0, 2, 0, 1, {1, 2}), c = doubles1D({1, 2, 3, 4});
    const char* mismatch = "array size mismatch";
    expectControlError([&] { call(*ctl, "AddParametricSurface", {a, a, b}); }, 32784, mismatch);
    expectControlError([&] { call(*ctl, "AddScatterPlot", {a, c, a}); }, 32784, mismatch);
    expectControlError([&] { call(*ctl, "AddVectorFieldPlot", {a, b}); }, 32784, mismatch);
    expectControlError([&] { call(*ctl, "AddScatterPlot", {a, a, Variant("x")}); }, 32783, "Must be a 2-D matrix");
    expectControlError([&] { call(*ctl, "AddParametricSurface", {arrayOf(platform::varBoolean, {{0, 2}}), a, a}); },
                       32787, "Unsupported Type.");
    EXPECT_EQ(dynamic_cast<halvex::COpenGLCtrl&>(*ctl).FindModel(0)->ViewAs(), 0);
}

} // namespace
