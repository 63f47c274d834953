// The control's properties as a container sees them: defaults, constants,
// range checks with their errors, packed colours and when the picture is
// redrawn.
#include "tests/plot/plot_test_support.h"

#include "platform/automation/class_registry.h"
#include "platform/system/user_settings.h"
#include "plot/core/plot_control.h"
#include "plot/core/plot_ids.h"

#include <cmath>
#include <limits>

using namespace plottest;
using platform::DispId;

namespace {

constexpr std::int32_t kRangeStatus = std::int32_t(0x800A03E8u);

class ControlProperties : public PlotTest {};

TEST_F(ControlProperties, DefaultsReadWithTheirDeclaredTypes)
{
    struct Expect {
        const char* name;
        platform::VarType type;
        double value;
    };
    const Expect expected[] = {
        {"ShowBackplanes", platform::varBoolean, 0},  {"TitlePosition", platform::varSmallint, 0},
        {"NumberOfModels", platform::varSmallint, 1}, {"Lighting", platform::varBoolean, 0},
        {"Fog", platform::varBoolean, 0},             {"FogMode", platform::varSmallint, 0x0801},
        {"FogColor", platform::varInteger, -1},       {"FogDensity", platform::varSingle, 0.02f},
        {"FogStart", platform::varSingle, 0},         {"FogEnd", platform::varSingle, 1},
        {"AmbientLight", platform::varInteger, std::int32_t(0xFF333333u)},
        {"Radius", platform::varDouble, 1.0},         {"PerspectiveView", platform::varBoolean, 0},
        {"ViewingDistance", platform::varSmallint, 18}, {"ConstrainedView", platform::varBoolean, 0},
        {"HardwareRendering", platform::varBoolean, -1}, {"BorderColor", platform::varInteger, 0},
        {"ShowBorder", platform::varBoolean, -1},     {"VerticalScale", platform::varSmallint, 100},
        {"GraphTitlePosition", platform::varSmallint, 2}, {"HighQualityPrinting", platform::varBoolean, 0},
        {"Moveable", platform::varBoolean, -1},
    };
    for (const Expect& e : expected) {
        Variant v = get(*ctl, e.name);
        EXPECT_EQ(v.type(), e.type) << e.name;
        EXPECT_EQ(v.toDouble(), e.value) << e.name;
    }
    // Angles read in degrees from radians computed in single precision.
    EXPECT_FLOAT_EQ(float(get(*ctl, "Tilt").toDouble()), 35.0f);
    EXPECT_FLOAT_EQ(float(get(*ctl, "Twist").toDouble()), 10.0f);
    EXPECT_EQ(get(*ctl, "Rotation").toDouble(), 0.0);
    EXPECT_EQ(get(*ctl, "Title").toString(), "");
    EXPECT_EQ(get(*ctl, "GraphTitle").toString(), "");
    auto& c = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);
    EXPECT_EQ(c.state().tilt, 0.6108652017876098);
    EXPECT_EQ(c.state().twist, 0.17453291479645996);
    EXPECT_FALSE(c.IsModified());
}

TEST_F(ControlProperties, ConstantsAndReadOnlyPropertiesRefuseWriting)
{
    const std::pair<DispId, int> constants[] = {
        {6, 1},  {7, 0x80}, {8, 2},  {9, 4},  {10, 8}, {11, 4}, {12, 0x40}, {27, 0}, {28, 1}, {29, 2},
        {34, 1}, {35, 2},   {36, 4}, {37, 5}, {38, 0}, {39, 3}, {40, 0},    {41, 1}, {42, 2}, {46, 0},
        {47, 1}, {48, 2},   {49, 0}, {50, 1}, {51, 2}, {52, 3}, {53, 0},    {54, 1}, {55, 2}, {56, 3},
        {57, 0}, {58, 1},   {59, 2}, {60, 3}, {61, 4},
    };
    for (auto [id, value] : constants) {
        Variant v = ctl->get(id);
        EXPECT_EQ(v.type(), platform::varSmallint) << id;
        EXPECT_EQ(v.toInt32(), value) << id;
        expectSetNotSupported([&] { ctl->put(id, Variant(7)); });
    }
    for (const char* name : {"NumberOfModels", "ModelBox", "Moveable"})
        expectSetNotSupported([&] { put(*ctl, name, Variant(1)); });
    EXPECT_EQ(site.invalidations, 0);
}

TEST_F(ControlProperties, EveryMemberAnswersToItsNameAndNumber)
{
    const char* props[] = {
        "ShowBackplanes", "Title", "Tilt", "Twist", "Rotation", "RenderFilled", "RenderHiddenLine",
        "RenderAlternate", "RenderLines", "RenderPoints", "RenderWireFrame", "RenderContour", "TitlePosition",
        "NumberOfModels", "Lighting", "Fog", "FogMode", "FogColor", "FogDensity", "FogStart", "FogEnd",
        "AmbientLight", "Radius", "PerspectiveView", "ViewingDistance", "ConstrainedView", "PerimeterAxes",
        "CornerAxes", "NoAxes", "HardwareRendering", "ModelBox", "BorderColor", "ShowBorder",
        "ViewAsContourPlot", "ViewAsDataPoints", "ViewAsBarPlot", "ViewAsPatchPlot", "ViewAsSurfacePlot",
        "ViewAsVectorFieldPlot", "LayoutMatrix", "LayoutStacked", "LayoutSideBySide", "VerticalScale",
        "GraphTitle", "GraphTitlePosition", "TitlePosAbove", "TitlePosBelow", "TitlePosHidden", "ConnectByRow",
        "ConnectByX", "ConnectByY", "ConnectByZ", "SolidLine", "DashedLine", "DottedLine", "DaDotLine",
        "DotSymbol", "XSymbol", "PlusSymbol", "BoxSymbol", "DiamondSymbol", "HighQualityPrinting", "Moveable",
        "CreateLight", "AddSurfaces", "RemoveSurfaces", "Render", "AddVolumes", "MakeCurrent", "MakeNotCurrent",
        "Aspect", "PolygonOffset", "AddSurface", "AddParametricSurface", "Light", "DestroyLight", "Model",
        "CreateModel", "AddVectorFieldPlot", "SetDefaultHighQualityPrinting", "AddScatterPlot"};
    DispId id = 1;
    for (const char* name : props)
        EXPECT_EQ(ctl->idOfName(name), id++) << name;
    EXPECT_EQ(ctl->idOfName("aboutbox"), -552);
    EXPECT_EQ(ctl->idOfName("ADDSURFACE"), 73);
    EXPECT_EQ(halvex::COpenGLCtrl::memberNames().entries().size(), 82u);
    EXPECT_EQ(errorOf([&] { get(*ctl, "NoSuchMember"); }).scode(), platform::status::UnknownName);
    EXPECT_EQ(errorOf([&] { ctl->get(82); }).scode(), platform::status::MemberNotFound);
    EXPECT_EQ(errorOf([&] { call(*ctl, 73); }).scode(), platform::status::BadParamCount);
}

TEST_F(ControlProperties, FogModeAcceptsOnlyItsThreeModes)
{
    for (int mode : {0x0800, 0x2601, 0x0801}) {
        put(*ctl, "FogMode", Variant(mode));
        EXPECT_EQ(get(*ctl, "FogMode").toInt32(), mode);
    }
    for (int bad : {0, 0x0802, 0x2600, -1})
        expectError([&] { put(*ctl, "FogMode", Variant(bad)); }, 32799, "Invalid Fog Mode", kRangeStatus);
    EXPECT_EQ(get(*ctl, "FogMode").toInt32(), 0x0801);
}

TEST_F(ControlProperties, FogRangesAreCheckedAndLeaveTheOldValue)
{
    put(*ctl, "FogDensity", Variant(1.0));
    EXPECT_EQ(get(*ctl, "FogDensity").toDouble(), 1.0);
    put(*ctl, "FogDensity", Variant(0.0));
    EXPECT_EQ(get(*ctl, "FogDensity").toDouble(), 0.0);
    const char* densityText = "Fog Density must be between 0.0 and 1.0";
    for (double bad : {1.0001, -0.1, std::numeric_limits<double>::quiet_NaN()})
        expectError([&] { put(*ctl, "FogDensity", Variant(bad)); }, 32796, densityText, kRangeStatus);
    EXPECT_EQ(get(*ctl, "FogDensity").toDouble(), 0.0);

    put(*ctl, "FogStart", Variant(0));
    EXPECT_EQ(get(*ctl, "FogStart").toDouble(), 0.0);
    put(*ctl, "FogStart", Variant(0.25));
    expectError([&] { put(*ctl, "FogStart", Variant(-0.5)); }, 32794, "FogStart must be greater than 0", kRangeStatus);
    EXPECT_EQ(get(*ctl, "FogStart").toDouble(), 0.25);
    expectError([&] { put(*ctl, "FogEnd", Variant(-1)); }, 32795, "FogEnd must be greater than 0", kRangeStatus);
    EXPECT_EQ(get(*ctl, "FogEnd").toDouble(), 1.0);
}

TEST_F(ControlProperties, RadiusRefusesWhatHasNoFiniteReciprocal)
{
    put(*ctl, "Radius", Variant(4.0));
    EXPECT_EQ(get(*ctl, "Radius").toDouble(), 4.0);
    EXPECT_EQ(dynamic_cast<halvex::COpenGLCtrl&>(*ctl).state().depthScale, 0.25);
    const double bad[] = {0.0, -2.0, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), 1e-320};
    for (double r : bad)
        expectError([&] { put(*ctl, "Radius", Variant(r)); }, 32797,
                    "Radius must be a finite number greater than 0", kRangeStatus);
    EXPECT_EQ(get(*ctl, "Radius").toDouble(), 4.0);
}

TEST_F(ControlProperties, AnglesTravelInDegrees)
{
    put(*ctl, "Tilt", Variant(90));
    EXPECT_FLOAT_EQ(float(get(*ctl, "Tilt").toDouble()), 90.0f);
    put(*ctl, "Rotation", Variant(-45.5));
    EXPECT_FLOAT_EQ(float(get(*ctl, "Rotation").toDouble()), -45.5f);
    EXPECT_NEAR(dynamic_cast<halvex::COpenGLCtrl&>(*ctl).state().rotation, -45.5 * 0.017453292519943295, 1e-12);
}

TEST_F(ControlProperties, PackedColoursFollowTheByteRule)
{
    put(*ctl, "FogColor", Variant::fromUInt32(0x80402010u));
    EXPECT_EQ(std::uint32_t(get(*ctl, "FogColor").toInt32()), 0x80402010u);
    auto& c = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);
    EXPECT_FLOAT_EQ(c.state().fogColor[0], 16.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.state().fogColor[3], 128.0f / 255.0f);
    // The high byte of AmbientLight is ignored and always reads 0xFF.
    put(*ctl, "AmbientLight", Variant(0x00102030));
    EXPECT_EQ(std::uint32_t(get(*ctl, "AmbientLight").toInt32()), 0xFF102030u);
    EXPECT_EQ(c.state().ambient[3], 1.0f);
    // A colour given as an unsigned number beyond the signed range still fits.
    put(*ctl, "BorderColor", Variant(4294967295.0));
    EXPECT_EQ(get(*ctl, "BorderColor").toInt32(), -1);
    EXPECT_EQ(errorOf([&] { put(*ctl, "BorderColor", Variant(4294967296.0)); }).scode(), platform::status::Overflow);
}

TEST_F(ControlProperties, ChangesRedrawAndUnchangedWritesDoNothing)
{
    put(*ctl, "Lighting", Variant(true));
    EXPECT_EQ(site.invalidations, 1);
    EXPECT_EQ(site.erases, 1);
    EXPECT_TRUE(site.modified);
    put(*ctl, "Lighting", Variant(true));
    put(*ctl, "Tilt", get(*ctl, "Tilt"));
    put(*ctl, "GraphTitle", Variant("Plot"));
    put(*ctl, "GraphTitle", Variant("Plot"));
    EXPECT_EQ(site.invalidations, 2);

    // These two only mark the control modified.
    site.reset();
    put(*ctl, "ShowBorder", Variant(false));
    put(*ctl, "HighQualityPrinting", Variant(true));
    EXPECT_EQ(site.invalidations, 0);
    EXPECT_EQ(site.modifiedCalls, 2);
    EXPECT_EQ(get(*ctl, "ShowBorder").toBool(), false);

    // TitlePosition drops its value but always redraws.
    site.reset();
    put(*ctl, "TitlePosition", Variant(1));
    put(*ctl, "TitlePosition", Variant(1));
    EXPECT_EQ(get(*ctl, "TitlePosition").toInt32(), 0);
    EXPECT_EQ(site.invalidations, 2);
}

TEST_F(ControlProperties, ArgumentsOfTheWrongKindAreRefused)
{
    EXPECT_EQ(errorOf([&] { put(*ctl, "Tilt", Variant("steep")); }).scode(), platform::status::TypeMismatch);
    EXPECT_EQ(errorOf([&] { put(*ctl, "ViewingDistance", Variant(40000)); }).scode(), platform::status::Overflow);
    EXPECT_EQ(errorOf([&] { put(*ctl, "FogDensity", Variant(1e300)); }).scode(), platform::status::Overflow);
    // Numbers in text are read in the "." form whatever the locale.
    put(*ctl, "VerticalScale", Variant("150"));
    EXPECT_EQ(get(*ctl, "VerticalScale").toInt32(), 150);
    put(*ctl, "Tilt", Variant("12.5"));
    EXPECT_FLOAT_EQ(float(get(*ctl, "Tilt").toDouble()), 12.5f);
}

TEST_F(ControlProperties, MethodsWithoutARenderer)
{
    auto& c = dynamic_cast<halvex::COpenGLCtrl&>(*ctl);
    EXPECT_EQ(call(*ctl, "Aspect").toDouble(), 1.0);
    c.SetControlSize(300, 150);
    EXPECT_EQ(call(*ctl, "Aspect").toDouble(), 2.0);
    c.SetControlSize(300, 0);
    EXPECT_EQ(call(*ctl, halvex::dispid::Aspect).toDouble(), 1.0);

    site.reset();
    EXPECT_TRUE(call(*ctl, "Render").toBool());
    EXPECT_EQ(site.invalidations, 1);
    EXPECT_EQ(site.erases, 1);
    EXPECT_FALSE(site.modified);
    EXPECT_FALSE(call(*ctl, "MakeCurrent").toBool());
    EXPECT_FALSE(call(*ctl, "MakeNotCurrent").toBool());
    EXPECT_TRUE(call(*ctl, "PolygonOffset", {Variant(1.0), Variant(2.0)}).isEmpty());
    call(*ctl, halvex::dispid::AboutBox);
    EXPECT_EQ(site.aboutBoxes, 1);
    // Methods may also be called as property reads, as scripts do.
    EXPECT_EQ(ctl->get(halvex::dispid::Aspect).toDouble(), 1.0);
    EXPECT_EQ(errorOf([&] { ctl->put(halvex::dispid::Aspect, Variant(2)); }).scode(), platform::status::MemberNotFound);
}

TEST_F(ControlProperties, SettingsFileDecidesRenderingAndPrintingDefaults)
{
    EXPECT_TRUE(call(*ctl, "SetDefaultHighQualityPrinting", {Variant(true)}).toBool());
    platform::UserSettings settings("Corvane", "3-D Plot");
    EXPECT_EQ(settings.readInt("HighResolutionPrinting", -1), 1);
    ASSERT_TRUE(settings.writeInt("ForceSoftwareRendering", 1));
    Ref<Dispatch> second = newControl();
    EXPECT_TRUE(get(*second, "HighQualityPrinting").toBool());
    EXPECT_FALSE(get(*second, "HardwareRendering").toBool());
    EXPECT_FALSE(get(*ctl, "HighQualityPrinting").toBool()); // read once, at construction

    EXPECT_TRUE(call(*ctl, "SetDefaultHighQualityPrinting", {Variant(0)}).toBool());
    EXPECT_EQ(settings.readInt("HighResolutionPrinting", -1), 0);
    dynamic_cast<halvex::COpenGLCtrl&>(*second).setSite(nullptr);
}

TEST_F(ControlProperties, CreatedByClassIdentifierToo)
{
    Ref<Dispatch> c = platform::ClassRegistry::instance().create(halvex::kPlotClassId);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->className(), "OpenGL");
    EXPECT_EQ(get(*c, "NumberOfModels").toInt32(), 1);
    EXPECT_EQ(platform::ClassRegistry::instance().findByProgId("corvane.plot3d.1")->clsid, halvex::kPlotClassId);
}

} // namespace
