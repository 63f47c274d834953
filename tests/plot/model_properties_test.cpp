// The model object's automation interface: its 72 properties with their
// defaults, the switch bits, the reading and writing rules and the errors.
#include "tests/plot/plot_test_support.h"

#include "plot/core/plot_control.h"
#include "plot/model/plot_model.h"
#include "plot/model/primitive_model.h"
#include "plot/model/quick_plot_model.h"
#include "plot/model/surface_model.h"

using namespace plottest;
using halvex::CglModel;

namespace {

class ModelProperties : public PlotTest {
protected:
    ModelProperties() : m(dispatchOf(call(*ctl, "Model", {Variant(0)}))) {}
    CglModel& model() { return dynamic_cast<CglModel&>(*m); }
    Ref<Dispatch> m;
};

TEST_F(ModelProperties, DefaultsOfAllSeventyTwo)
{
    using platform::varBoolean;
    using platform::varInteger;
    using platform::varLongWord;
    using platform::varSingle;
    using platform::varSmallint;
    struct Expect {
        const char* name;
        platform::VarType type;
        double value;
    };
    const double on = -1; // a BOOL reads True
    const Expect expected[] = {
        {"Shininess", varSmallint, 4}, {"SmoothShading", varInteger, 1}, {"DrawLines", varSmallint, 1},
        {"DrawPoints", varSmallint, 0}, {"DrawXContours", varSmallint, 0}, {"DrawYContours", varSmallint, 0},
        {"DrawZContours", varSmallint, 1}, {"HiddenLineRemoval", varSmallint, 0},
        {"LineColor", varInteger, double(std::int32_t(0xFF000000u))},
        {"PointColor", varInteger, double(std::int32_t(0xFF000000u))},
        {"PolygonColor", varLongWord, 4294967295.0}, {"LineColorMap", varSmallint, 0},
        {"PointColormap", varSmallint, 0}, {"PolygonColormap", varSmallint, 0}, {"LineWidth", varSingle, 1},
        {"PointSize", varSingle, 1}, {"DrawFilledPolygons", varSmallint, 0},
        {"DrawHalfFilledPolygons", varSmallint, 0}, {"ViewAs", varSmallint, 0},
        {"PolygonOffsetFactor", varSingle, 1}, {"BarPlotLayout", varSmallint, 0},
        {"InterpolatedRows", varSmallint, 21}, {"InterpolatedColumns", varSmallint, 21},
        {"SpectrumX", varBoolean, 0}, {"SpectrumY", varBoolean, 0}, {"SpectrumZ", varBoolean, on},
        {"InterpolateMesh", varBoolean, 0}, {"FillXContours", varBoolean, 0}, {"FillYContours", varBoolean, 0},
        {"FillZContours", varBoolean, 0}, {"NumberOfContoursX", varSmallint, 15},
        {"NumberOfContoursY", varSmallint, 15}, {"NumberOfContoursZ", varSmallint, 15},
        {"NumberedContoursX", varBoolean, 0}, {"NumberedContoursY", varBoolean, 0},
        {"NumberedContoursZ", varBoolean, 0}, {"AutoContourX", varBoolean, on}, {"AutoContourY", varBoolean, on},
        {"AutoContourZ", varBoolean, on}, {"ColormapIndex", varSmallint, 0}, {"BarPlotSpacing", varSmallint, 20},
        {"DataPointsConnectivity", varSmallint, 0}, {"LineStyle", varSmallint, 0},
        {"PointSymbol", varSmallint, 0}, {"DrawXContours3D", varSmallint, 0}, {"DrawYContours3D", varSmallint, 0},
        {"DrawZContours3D", varSmallint, 0}, {"FillXContours3D", varBoolean, 0},
        {"FillYContours3D", varBoolean, 0}, {"FillZContours3D", varBoolean, 0},
        {"AutoContourX3D", varBoolean, on}, {"AutoContourY3D", varBoolean, on},
        {"AutoContourZ3D", varBoolean, on}, {"NumberOfContoursX3D", varSmallint, 15},
        {"NumberOfContoursY3D", varSmallint, 15}, {"NumberOfContoursZ3D", varSmallint, 15},
        {"ScatterPoints", varBoolean, on}, {"ScatterLines", varBoolean, 0}, {"BarPoints", varBoolean, 0},
        {"PatchPoints", varBoolean, 0}, {"VectorLines", varBoolean, on}, {"BarLines", varBoolean, on},
        {"PatchLines", varBoolean, on}, {"VectorFilled", varBoolean, 0}, {"BarFilled", varBoolean, on},
        {"PatchFilled", varBoolean, on}, {"BarHalfFilled", varBoolean, 0}, {"PatchHalfFilled", varBoolean, 0},
        {"DrawContourLines", varBoolean, on}, {"DrawFilledContours", varBoolean, 0},
        {"ContourLines3D", varBoolean, 0}, {"IsQuickplot", varBoolean, 0},
    };
    ASSERT_EQ(std::size(expected), 72u);
    platform::DispId id = 1;
    for (const Expect& e : expected) {
        EXPECT_EQ(m->idOfName(e.name), id) << e.name;
        Variant v = m->get(id++);
        EXPECT_EQ(v.type(), e.type) << e.name;
        EXPECT_EQ(v.toDouble(), e.value) << e.name;
    }
    EXPECT_EQ(model().format().shadeModel1, 0x3E202344u);
    EXPECT_EQ(model().format().shadeModel2, 0x1F8u);
    EXPECT_EQ(model().format().contours[2], 14);
    EXPECT_EQ(model().Rect().min, (std::array<float, 3>{-1, -1, -1}));
    EXPECT_EQ(model().Rect().max, (std::array<float, 3>{1, 1, 1}));
}

TEST_F(ModelProperties, EverySwitchIsItsOwnBit)
{
    struct Switch {
        const char* name;
        int word; // 1, 2: the shade words; 3: the spectrum directions
        std::uint32_t bit;
    };
    const Switch switches[] = {
        {"SmoothShading", 1, 0x200}, {"DrawLines", 1, 0x4}, {"DrawPoints", 1, 0x8}, {"DrawXContours", 1, 0x10},
        {"DrawYContours", 1, 0x20}, {"DrawZContours", 1, 0x40}, {"HiddenLineRemoval", 1, 0x80},
        {"DrawFilledPolygons", 1, 0x1}, {"DrawHalfFilledPolygons", 1, 0x2}, {"SpectrumX", 3, 1},
        {"SpectrumY", 3, 2}, {"SpectrumZ", 3, 4}, {"FillXContours", 1, 0x400}, {"FillYContours", 1, 0x800},
        {"FillZContours", 1, 0x1000}, {"NumberedContoursX", 2, 0x200}, {"NumberedContoursY", 2, 0x400},
        {"NumberedContoursZ", 2, 0x800}, {"AutoContourX", 2, 0x8}, {"AutoContourY", 2, 0x10},
        {"AutoContourZ", 2, 0x20}, {"DrawXContours3D", 1, 0x8000}, {"DrawYContours3D", 1, 0x10000},
        {"DrawZContours3D", 1, 0x20000}, {"FillXContours3D", 1, 0x40000}, {"FillYContours3D", 1, 0x80000},
        {"FillZContours3D", 1, 0x100000}, {"AutoContourX3D", 2, 0x40}, {"AutoContourY3D", 2, 0x80},
        {"AutoContourZ3D", 2, 0x100}, {"ScatterPoints", 1, 0x200000}, {"ScatterLines", 1, 0x1000000},
        {"BarPoints", 1, 0x400000}, {"PatchPoints", 1, 0x800000}, {"VectorLines", 1, 0x8000000},
        {"BarLines", 1, 0x2000000}, {"PatchLines", 1, 0x4000000}, {"VectorFilled", 1, 0x40000000},
        {"BarFilled", 1, 0x10000000}, {"PatchFilled", 1, 0x20000000}, {"BarHalfFilled", 1, 0x80000000},
        {"PatchHalfFilled", 2, 0x1}, {"DrawContourLines", 1, 0x2000}, {"DrawFilledContours", 2, 0x2},
        {"ContourLines3D", 2, 0x4},
    };
    auto word = [&](int w) {
        const auto& f = model().format();
        return w == 1 ? f.shadeModel1 : w == 2 ? f.shadeModel2 : std::uint32_t(f.spectrumDir);
    };
    for (const Switch& s : switches) {
        std::uint32_t others[4] = {0, word(1), word(2), word(3)};
        put(*m, s.name, Variant(7));
        EXPECT_EQ(word(s.word), others[s.word] | s.bit) << s.name;
        EXPECT_EQ(get(*m, s.name).toInt32() != 0, true) << s.name;
        put(*m, s.name, Variant(0));
        EXPECT_EQ(word(s.word), others[s.word] & ~s.bit) << s.name;
        EXPECT_EQ(get(*m, s.name).toInt32(), 0) << s.name;
    }
    // Switches of type I2 read 1 for on, not -1.
    put(*m, "DrawPoints", Variant(-5));
    EXPECT_EQ(get(*m, "DrawPoints").toInt32(), 1);
    EXPECT_EQ(get(*m, "SmoothShading").type(), platform::varInteger);
}

TEST_F(ModelProperties, ShininessIsKeptWithinItsRange)
{
    put(*m, "Shininess", Variant(128));
    EXPECT_EQ(get(*m, "Shininess").toInt32(), 128);
    put(*m, "Shininess", Variant(0));
    for (int bad : {129, -1, 1000})
        expectControlError([&] { put(*m, "Shininess", Variant(bad)); }, 32792, "Shininess must be between 0 and 128");
    EXPECT_EQ(get(*m, "Shininess").toInt32(), 0);
}

TEST_F(ModelProperties, ContourCountsReadFifteenWhileAutomatic)
{
    EXPECT_EQ(get(*m, "NumberOfContoursZ").toInt32(), 15);
    put(*m, "AutoContourZ", Variant(false));
    EXPECT_EQ(get(*m, "NumberOfContoursZ").toInt32(), 14);
    put(*m, "AutoContourZ", Variant(true));

    // Writing what reading gives changes nothing; another value is stored
    // behind the automatic switch.
    site.reset();
    put(*m, "NumberOfContoursZ", Variant(15));
    EXPECT_EQ(site.invalidations, 0);
    put(*m, "NumberOfContoursZ", Variant(9));
    EXPECT_EQ(site.invalidations, 1);
    EXPECT_EQ(get(*m, "NumberOfContoursZ").toInt32(), 15);
    put(*m, "AutoContourZ", Variant(0));
    EXPECT_EQ(get(*m, "NumberOfContoursZ").toInt32(), 9);
    EXPECT_EQ(get(*m, "NumberOfContoursX").toInt32(), 15);

    put(*m, "AutoContourY3D", Variant(false));
    put(*m, "NumberOfContoursY3D", Variant(30));
    EXPECT_EQ(get(*m, "NumberOfContoursY3D").toInt32(), 30);
    EXPECT_EQ(model().format().contours3D[1], 30);
    EXPECT_EQ(model().format().contours[1], 14);
}

TEST_F(ModelProperties, ColourMapSwitchesStoreOnlyAChangeOfTruth)
{
    put(*m, "LineColorMap", Variant(1));
    site.reset();
    put(*m, "LineColorMap", Variant(2));
    EXPECT_EQ(get(*m, "LineColorMap").toInt32(), 1);
    EXPECT_EQ(site.invalidations, 0);
    put(*m, "LineColorMap", Variant(0));
    EXPECT_EQ(get(*m, "LineColorMap").toInt32(), 0);
    put(*m, "PolygonColormap", Variant(-3));
    EXPECT_EQ(get(*m, "PolygonColormap").toInt32(), -3);
    EXPECT_EQ(get(*m, "PointColormap").toInt32(), 0);
}

TEST_F(ModelProperties, EveryChangeReachesThePictureOnce)
{
    site.reset();
    put(*m, "LineWidth", Variant(2.0));
    EXPECT_EQ(site.invalidations, 1);
    EXPECT_TRUE(site.modified);
    EXPECT_TRUE(model().Dirty());
    put(*m, "LineWidth", Variant(2.0));
    put(*m, "PolygonColor", Variant::fromUInt32(0xFFFFFFFFu));
    put(*m, "PolygonColor", Variant(-1));
    put(*m, "BarPlotSpacing", Variant(20));
    EXPECT_EQ(site.invalidations, 1);
    put(*m, "PolygonColor", Variant::fromUInt32(0x800000FFu));
    EXPECT_EQ(std::uint32_t(get(*m, "PolygonColor").toInt64()), 0x800000FFu);
    put(*m, "LineColor", Variant::fromUInt32(0xFF00FF00u));
    EXPECT_EQ(get(*m, "LineColor").toInt32(), std::int32_t(0xFF00FF00u));
    EXPECT_EQ(site.invalidations, 3);
}

TEST_F(ModelProperties, IntegerSettingsAreStoredWithoutRangeTests)
{
    const char* names[] = {"ColormapIndex", "BarPlotSpacing", "DataPointsConnectivity", "LineStyle", "PointSymbol",
                           "InterpolatedRows", "InterpolatedColumns", "BarPlotLayout", "ViewAs"};
    for (const char* name : names) {
        put(*m, name, Variant(-7));
        EXPECT_EQ(get(*m, name).toInt32(), -7) << name;
        EXPECT_EQ(errorOf([&] { put(*m, name, Variant(70000)); }).scode(), platform::status::Overflow) << name;
    }
}

TEST_F(ModelProperties, PlotKindChangesRecomputeTheViewFlags)
{
    call(*ctl, "AddSurface", {doubles2D(0, 2, 0, 2, {1, 2, 3, 4})});
    Ref<Dispatch> s = dispatchOf(call(*ctl, "Model", {Variant(0)}));
    auto& control = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);
    put(*s, "ViewAs", Variant(3));
    EXPECT_TRUE(control.FlatPlot());
    // No host program: the host's layout notice stays down.
    EXPECT_FALSE(control.TakePlotKindNotice());
    put(*s, "ViewAs", Variant(5));
    EXPECT_FALSE(control.FlatPlot());
    EXPECT_FALSE(dynamic_cast<CglModel&>(*s).format().barBoxValid);
}

TEST_F(ModelProperties, InterpolateMeshAnswersForGriddableModelsOnly)
{
    // A placeholder and a matrix surface cannot be gridded, whatever is written.
    site.reset();
    put(*m, "InterpolateMesh", Variant(true));
    EXPECT_FALSE(get(*m, "InterpolateMesh").toBool());
    EXPECT_TRUE(model().format().interpolate);
    EXPECT_EQ(site.invalidations, 1);
    put(*m, "InterpolateMesh", Variant(false));
    EXPECT_EQ(site.invalidations, 1);
}

TEST_F(ModelProperties, QuickPlotFlagIsReadOnly)
{
    EXPECT_FALSE(get(*m, "IsQuickplot").toBool());
    expectSetNotSupported([&] { put(*m, "IsQuickplot", Variant(true)); });
    EXPECT_EQ(errorOf([&] { get(*m, "Nonsense"); }).scode(), platform::status::UnknownName);
}

TEST_F(ModelProperties, ScaleStretchesEveryAxisToTheLongest)
{
    halvex::BoundingRecord box;
    box.min = {0, -1, 5};
    box.max = {2, 3, 5};
    model().ComputeScale(box);
    EXPECT_EQ(model().Scale(), (std::array<float, 3>{2, 1, 1}));
    box.min = {0, 0, 0};
    box.max = {0.5f, 2, 8};
    model().ComputeScale(box);
    EXPECT_EQ(model().Scale(), (std::array<float, 3>{16, 4, 1}));
}

TEST_F(ModelProperties, TheFamilyAnswersTheControlsTests)
{
    auto& control = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);
    auto link = control.Link();
    Ref<CglModel> plain(new CglModel(link));
    Ref<halvex::SurfaceModel> surface(new halvex::SurfaceModel(link));
    Ref<halvex::PrimitiveModel> primitives(new halvex::PrimitiveModel(link));
    Ref<halvex::QuickPlotModel> quick(new halvex::QuickPlotModel(link));

    EXPECT_EQ(plain->AsMesh(), nullptr);
    EXPECT_EQ(plain->AsSurface(), nullptr);
    EXPECT_EQ(plain->AsQuickPlot(), nullptr);
    EXPECT_FALSE(halvex::CGLCOleControl::IsDataModel(*plain));
    plain->SetPlotFlag(true);
    EXPECT_TRUE(halvex::CGLCOleControl::IsDataModel(*plain));

    EXPECT_EQ(surface->AsSurface(), surface.get());
    EXPECT_EQ(surface->AsGridSurface(), surface.get());
    EXPECT_EQ(surface->AsMeshModel(), surface.get());
    EXPECT_FALSE(surface->HasExplicitVertices());
    EXPECT_FALSE(surface->HasData());
    EXPECT_EQ(primitives->AsMesh(), primitives.get());
    EXPECT_EQ(primitives->AsSurface(), nullptr);
    EXPECT_TRUE(primitives->HasExplicitVertices());
    EXPECT_EQ(quick->AsQuickPlotModel(), quick.get());
    EXPECT_EQ(quick->AsMesh(), nullptr);
    for (CglModel* m : {plain.get(), static_cast<CglModel*>(surface.get())}) {
        EXPECT_EQ(m->AsReservedA(), nullptr);
        EXPECT_EQ(m->AsReservedB(), nullptr);
        EXPECT_FALSE(m->NeedsDirectDraw());
        EXPECT_FALSE(m->DrawForPicking());
    }

    // Each of them counts as a data model; a quick plot keeps the table
    // from being "all surfaces".
    control.PutModel(1, quick);
    control.PutModel(2, primitives);
    EXPECT_EQ(get(*ctl, "NumberOfModels").toInt32(), 2);
    control.PutModel(0, plain);
    EXPECT_EQ(get(*ctl, "NumberOfModels").toInt32(), 3);
    control.RecomputeViewFlags();
    EXPECT_FALSE(control.AllSurfaces());
}

} // namespace
