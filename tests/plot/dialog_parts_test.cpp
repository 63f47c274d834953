// The format dialog's parts that need no window: numbers as the fields
// show and read them, the colour and scheme tables, help topic names, and
// the model settings object behind the quick-plot page.
#include "tests/plot/plot_test_support.h"

#include "plot/core/plot_control.h"
#include "plot/dialog/appearance_switches.h"
#include "plot/dialog/field_number.h"
#include "plot/dialog/format_help.h"
#include "plot/dialog/lighting_schemes.h"
#include "plot/dialog/swatch_colors.h"
#include "plot/model/model_settings.h"
#include "plot/model/plot_model.h"

#include <cmath>
#include <cstring>
#include <random>
#include <set>

using namespace plottest;

namespace {

double readBack(const std::string& text)
{
    double v = 0;
    EXPECT_TRUE(halvex::ParseFieldNumber(text, v)) << text;
    return v;
}

TEST(FieldNumber, ShownNumbersReadBackExactly)
{
    std::mt19937_64 random(19);
    for (int k = 0; k < 20000; ++k) {
        std::uint64_t bits = random();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d))
            continue;
        EXPECT_EQ(readBack(halvex::FormatFieldNumber(d)), d);
        float f = static_cast<float>(std::ldexp(double(random() % 100000000) - 5e7, int(random() % 40) - 20));
        EXPECT_EQ(static_cast<float>(readBack(halvex::FormatFieldNumber(f, true))), f);
    }
    // What a float's shortest text is, not a double's 17 digits.
    EXPECT_EQ(halvex::FormatFieldNumber(double(35.0f * 0.017453292f * 57.295779f), true).size() <= 9, true);
    EXPECT_EQ(halvex::FormatFieldNumber(1.0 / 3.0), "0.3333333333333333");
}

TEST(FieldNumber, PlainFormWhileItIsShort)
{
    EXPECT_EQ(halvex::FormatFieldNumber(0.0001), "0.0001");
    EXPECT_EQ(halvex::FormatFieldNumber(10000), "10000");
    EXPECT_EQ(halvex::FormatFieldNumber(12500.25), "12500.25");
    EXPECT_EQ(halvex::FormatFieldNumber(-0.5), "-0.5");
    EXPECT_EQ(halvex::FormatFieldNumber(0.0), "0");
    EXPECT_EQ(halvex::FormatFieldNumber(-0.0), "0");
    EXPECT_EQ(halvex::FormatFieldNumber(1e-7), "1e-07");
    EXPECT_EQ(halvex::FormatFieldNumber(2.5e20), "2.5e+20");
    EXPECT_EQ(halvex::FormatFieldNumber(0.1f, true), "0.1");
    EXPECT_EQ(halvex::FormatFieldNumber(360.0f, true), "360");
}

TEST(FieldNumber, CommaReadsAsPointInAnyLocale)
{
    // The tests run in the C locale and in a Russian one.
    EXPECT_EQ(readBack("2,5"), 2.5);
    EXPECT_EQ(readBack(" -0,0001 "), -0.0001);
    EXPECT_EQ(readBack("1,5e3"), 1500.0);
    EXPECT_EQ(readBack("7"), 7.0);
    double v = 0;
    for (const char* bad : {"", " ", "1,2,3", "1.2.3", "abc", "1e", "--1", "1 2", "0x10", "inf", "nan"})
        EXPECT_FALSE(halvex::ParseFieldNumber(bad, v)) << bad;
}

TEST(Swatches, FortyNamedColoursInFiveRows)
{
    std::set<std::string> names;
    std::set<std::uint32_t> colors;
    for (const halvex::SwatchColor& s : halvex::kSwatchColors) {
        names.insert(s.name);
        colors.insert(s.rgb);
        EXPECT_EQ(s.rgb & 0xFF000000u, 0u) << s.name;
    }
    EXPECT_EQ(names.size(), 40u);
    EXPECT_EQ(colors.size(), 40u);
    EXPECT_EQ(halvex::kSwatchColors.size() / halvex::kSwatchColumns, 5u);
    EXPECT_STREQ(halvex::kSwatchColors.front().name, "Black");
    EXPECT_EQ(halvex::kSwatchColors.front().rgb, 0u);
    EXPECT_STREQ(halvex::kSwatchColors[16].name, "Red");
    EXPECT_EQ(halvex::kSwatchColors[16].rgb, 0x0000FFu); // red in the low byte
    EXPECT_STREQ(halvex::kSwatchColors.back().name, "White");
    EXPECT_EQ(halvex::kSwatchColors.back().rgb, 0xFFFFFFu);
}

TEST(LightingSchemes, MatchTheFirstEqualScheme)
{
    using halvex::LightState;
    std::array<LightState, 8> lights{};
    auto setFrom = [&](int scheme) {
        for (int k = 0; k < 3; ++k) {
            const halvex::SchemeLight& l = halvex::kLightingSchemes[std::size_t(scheme)].lights[std::size_t(k)];
            lights[std::size_t(k)] = LightState{true, l.diffuse, 0, l.x, l.y, l.z, true};
        }
    };
    for (int s = 0; s < 6; ++s) {
        setFrom(s);
        EXPECT_EQ(halvex::MatchingScheme(halvex::kLightingSchemes[std::size_t(s)].ambient | 0xFF000000u, lights), s);
    }
    setFrom(0);
    // The default lights of a control are scheme 1's.
    EXPECT_EQ(halvex::MatchingScheme(0xFF333333u, lights), 0);
    EXPECT_EQ(halvex::MatchingScheme(0x343434u, lights), -1);
    lights[5].on = true;
    EXPECT_EQ(halvex::MatchingScheme(0x333333u, lights), -1) << "a light of 4 to 8 is on";
    lights[5].on = false;
    lights[1].infinite = false;
    EXPECT_EQ(halvex::MatchingScheme(0x333333u, lights), -1);
    lights[1].infinite = true;
    lights[2].specular = 0x010101;
    EXPECT_EQ(halvex::MatchingScheme(0x333333u, lights), -1);
    lights[2].specular = 0;
    lights[0].on = false;
    EXPECT_EQ(halvex::MatchingScheme(0x333333u, lights), -1);
}

TEST(AppearanceSwitches, EachKindItsOwn)
{
    EXPECT_STREQ(halvex::AppearanceOfKind(0).fill, "DrawFilledPolygons");
    EXPECT_STREQ(halvex::AppearanceOfKind(4).fill, "BarFilled");
    EXPECT_STREQ(halvex::AppearanceOfKind(4).halfFill, "BarHalfFilled");
    EXPECT_STREQ(halvex::AppearanceOfKind(5).halfFill, "PatchHalfFilled");
    EXPECT_STREQ(halvex::AppearanceOfKind(3).lines, "VectorLines");
    EXPECT_STREQ(halvex::AppearanceOfKind(2).points, "ScatterPoints");
    EXPECT_STREQ(halvex::AppearanceOfKind(3).linesCaption, "W&ire Arrows");
    EXPECT_STREQ(halvex::AppearanceOfKind(1).linesCaption, "L&ines");
    EXPECT_STREQ(halvex::AppearanceOfKind(99).fill, "DrawFilledPolygons");
    // Every name is a member of the model's interface.
    for (int k = 0; k < 6; ++k) {
        const halvex::KindAppearance& a = halvex::AppearanceOfKind(k);
        for (const char* n : {a.fill, a.halfFill, a.lines, a.points})
            EXPECT_NE(halvex::CglModel::memberNames().find(n), platform::kDispIdUnknown) << n;
    }
}

TEST(FormatHelp, TopicNamesAndTheirFiles)
{
    EXPECT_EQ(halvex::FormatHelpTopic(false, "axes", false), "Pellix3d_plot_format_dialog_box_axes.html");
    EXPECT_EQ(halvex::FormatHelpTopic(true, "axes", false), "Zorvic3d_plot_format_dialog_box_axes.html");
    EXPECT_EQ(halvex::FormatHelpTopic(true, "adv", true), "Zorvic3D_Plot_Format_dialog_box_adv.html");
    testsupport::TempDir dir;
    dir.write("Pellix3d_plot_format_dialog_box_qp.html", "<html></html>");
    EXPECT_EQ(halvex::FindHelpFile(dir.path(), halvex::FormatHelpTopic(false, "qp", true)),
              dir.file("Pellix3d_plot_format_dialog_box_qp.html"));
    EXPECT_EQ(halvex::FindHelpFile(dir.path(), "Pellix3d_plot_format_dialog_box_adv.html"), "");
    EXPECT_EQ(halvex::FindHelpFile(dir.file("missing"), "x.html"), "");
    // The build puts every page's topic beside the programs.
    for (const char* stem : {"general", "axes", "appearance", "light", "title", "back", "specl", "adv", "qp"})
        EXPECT_FALSE(halvex::FindHelpFile(halvex::HelpFolder(), halvex::FormatHelpTopic(false, stem, false)).empty())
            << stem;
}

class ModelSettingsTest : public PlotTest {};

// The quick-plot ranges through the model's settings object, which follows
// the model's format to its successor.
TEST_F(ModelSettingsTest, RangesFollowTheModel)
{
    Ref<Dispatch> m = dispatchOf(call(*ctl, "Model", {Variant(0)}));
    auto* model = dynamic_cast<halvex::CglModel*>(m.get());
    ASSERT_NE(model, nullptr);
    Ref<Dispatch> settings = halvex::ModelSettings(*model);
    EXPECT_EQ(settings.get(), halvex::ModelSettings(*model).get()) << "one object per model";
    EXPECT_EQ(get(*settings, "Range1Start").toDouble(), -5.0);
    EXPECT_EQ(get(*settings, "Range2Grids").toInt32(), 21);
    EXPECT_FALSE(get(*settings, "IsQuickplot").toBool());
    EXPECT_FALSE(model->format().quickPlotParams.has_value()) << "reading makes nothing";
    site.reset();
    put(*settings, "Range1End", Variant(2.5));
    put(*settings, "Range2Grids", Variant(40));
    put(*settings, "CoordinateSystem", Variant(2));
    ASSERT_TRUE(model->format().quickPlotParams.has_value());
    EXPECT_EQ(model->format().quickPlotParams->U1, 2.5);
    EXPECT_EQ(model->format().quickPlotParams->N, 40);
    EXPECT_EQ(model->format().quickPlotParams->c, 2);
    EXPECT_TRUE(site.modified);
    // A surface built in its place takes over the format and the object.
    call(*ctl, "AddSurface", {doubles2D(0, 2, 0, 2, {1, 2, 3, 4})});
    Ref<Dispatch> successor = dispatchOf(call(*ctl, "Model", {Variant(0)}));
    ASSERT_NE(successor.get(), m.get());
    EXPECT_EQ(get(*settings, "Range1End").toDouble(), 2.5);
    put(*settings, "Range1Start", Variant(-1.0));
    auto* built = dynamic_cast<halvex::CglModel*>(successor.get());
    EXPECT_EQ(built->format().quickPlotParams->U0, -1.0);
    EXPECT_EQ(halvex::ModelSettings(*built).get(), settings.get());
    expectSetNotSupported([&] { put(*settings, "IsQuickplot", Variant(true)); });
}

TEST_F(ModelSettingsTest, AModelGoneWithoutSuccessorFailsCleanly)
{
    Ref<Dispatch> settings;
    {
        Ref<halvex::CglModel> lone(new halvex::CglModel);
        settings = halvex::ModelSettings(*lone);
        put(*settings, "Range1Grids", Variant(3));
    }
    expectControlError([&] { get(*settings, "Range1Grids"); }, 57651, "Unknown error");
}

} // namespace
