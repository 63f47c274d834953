// "3-D Plot Format" as a user drives it, off screen: what every page reads,
// that an untouched OK changes nothing, the refusals with their messages,
// numbers typed with a decimal comma, the per-model tabs, the colour menu,
// lighting schemes, help, and that Apply reaches the picture.
#include "tests/plot/dialog_test_support.h"
#include "tests/plot/plot_test_support.h"

#include "platform/text/cp1251.h"
#include "plot/core/control_persistence.h"
#include "plot/core/plot_control.h"
#include "plot/dialog/color_button.h"
#include "plot/dialog/format_page.h"
#include "plot/dialog/format_sheet.h"
#include "plot/dialog/lighting_page.h"
#include "plot/dialog/number_edit.h"
#include "plot/dialog/special_page.h"
#include "plot/model/plot_model.h"
#include "plot/widget/image_render.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <cmath>
#include <memory>

using namespace plottest;
using namespace dialogtest;
using halvex::FormatSheet;

namespace {

// A switch as 0 or 1, whatever type its property has.
int sw(Dispatch& o, const char* name)
{
    return get(o, name).toBool() ? 1 : 0;
}

// The colour buttons of a page, in the order they were made.
std::vector<halvex::ColorButton*> colorButtons(QWidget* root)
{
    std::vector<halvex::ColorButton*> out;
    for (QToolButton* b : root->findChildren<QToolButton*>())
        if (auto* c = dynamic_cast<halvex::ColorButton*>(b))
            out.push_back(c);
    return out;
}

QPushButton* standard(FormatSheet& s, QDialogButtonBox::StandardButton which)
{
    return s.findChild<QDialogButtonBox*>()->button(which);
}

enum Page { kGeneral, kAxes, kAppearance, kLighting, kTitle, kBackplanes, kSpecial, kAdvanced, kQuickPlot };

class FormatDialog : public PlotTest {
protected:
    FormatDialog()
    {
        for (int k = 0; k < 3; ++k)
            call(*ctl, "AddSurface", {doubles2D(0, 3, 0, 3, {1, 2, 3, 4, 5.0 + k, 6, 7, 8, 9})});
    }
    ~FormatDialog() override { sheet_.reset(); }

    halvex::COpenGLCtrl& control() { return dynamic_cast<halvex::COpenGLCtrl&>(*ctl); }
    Ref<Dispatch> model(int n) { return dispatchOf(call(*ctl, "Model", {Variant(n)})); }
    Ref<Dispatch> box() { return dispatchOf(get(*ctl, "ModelBox")); }
    Ref<Dispatch> boxPart(const char* name) { return dispatchOf(get(*box(), name)); }

    FormatSheet& open()
    {
        sheet_ = std::make_unique<FormatSheet>(control());
        sheet_->setTeller([this](const QString& m) { told.push_back(m); });
        sheet_->setUrlOpener([this](const QUrl& u) {
            opened.push_back(u);
            return true;
        });
        sheet_->show();
        return *sheet_;
    }
    QWidget* page(int k)
    {
        EXPECT_TRUE(sheet_->selectPage(k));
        return &sheet_->page(k);
    }

    std::vector<QString> told;
    std::vector<QUrl> opened;
    std::unique_ptr<FormatSheet> sheet_;
};

TEST_F(FormatDialog, OpensWhereItWasLeftWithAPlotTabPerModel)
{
    control().setLastFormatPage(kTitle);
    control().setLastFormatModel(1);
    FormatSheet& s = open();
    EXPECT_EQ(s.windowTitle(), "3-D Plot Format");
    EXPECT_EQ(s.currentPage(), kTitle);
    EXPECT_EQ(s.modelCount(), 3);
    const char* captions[] = {"General", "Axes", "Appearance", "Lighting", "Title", "Backplanes", "Special",
                              "Advanced", "QuickPlot Data"};
    for (int k = 0; k < FormatSheet::kPageCount; ++k)
        EXPECT_STREQ(s.page(k).caption(), captions[k]);
    for (int k : {kGeneral, kAppearance, kSpecial, kAdvanced, kQuickPlot}) {
        page(k);
        QTabBar* tabs = s.page(k).tabBar();
        ASSERT_NE(tabs, nullptr) << k;
        ASSERT_EQ(tabs->count(), 3) << k;
        EXPECT_EQ(tabs->tabText(0), "Plot 1");
        EXPECT_EQ(tabs->tabText(2), "Plot 3");
        EXPECT_EQ(s.page(k).currentTab(), 1) << "the model shown last, page " << k;
    }
    page(kAxes);
    EXPECT_EQ(s.page(kAxes).tabBar()->tabText(2), "Z-Axis");
    page(kLighting);
    EXPECT_EQ(s.page(kLighting).tabBar()->count(), 8);
    EXPECT_EQ(s.page(kLighting).tabBar()->tabText(7), "Light 8");
    page(kBackplanes);
    EXPECT_EQ(s.page(kBackplanes).tabBar()->tabText(1), "Y-Z Backplane");
    // The control remembers the page and the model tab for next time.
    page(kSpecial);
    s.page(kSpecial).selectTab(2);
    sheet_.reset();
    EXPECT_EQ(control().lastFormatPage(), kSpecial);
    EXPECT_EQ(control().lastFormatModel(), 2);
    FormatSheet& again = open();
    EXPECT_EQ(again.currentPage(), kSpecial);
    EXPECT_EQ(again.page(kSpecial).currentTab(), 2);
}

TEST_F(FormatDialog, EveryPageReadsTheControl)
{
    put(*ctl, "Rotation", Variant(30.5));
    put(*ctl, "Tilt", Variant(60.0));
    put(*ctl, "Radius", Variant(2.5));
    put(*ctl, "ConstrainedView", Variant(true));
    put(*ctl, "ShowBorder", Variant(false));
    put(*box(), "AxesStyle", Variant::fromInt16(0));
    put(*box(), "ShowBox", Variant(true));
    put(*box(), "BoxColor", Variant(0x0000FF));
    put(*model(1), "ViewAs", Variant::fromInt16(4));
    Ref<Dispatch> y = boxPart("YAxis");
    put(*y, "NumGrids", Variant::fromInt16(7));
    put(*y, "AutoGridAxis", Variant(false));
    put(*y, "Numbered", Variant(false));
    put(*y, "AxisLineWeight", Variant::fromInt16(25));
    put(*y, "AutoScaleAxis", Variant(false));
    put(*y, "MinVal", Variant(-3.0));
    put(*y, "MaxVal", Variant(8.5));
    // Y's grid lines: the vertical ones of the XY plane, the horizontal
    // ones of the YZ plane. X's: on one plane only.
    put(*boxPart("XYPlane"), "ShowVerticalGridLines", Variant(true));
    put(*boxPart("YZPlane"), "ShowHorizontalGridLines", Variant(true));
    put(*boxPart("YZPlane"), "HorizontalGridLineWeight", Variant::fromInt16(15));
    put(*boxPart("XYPlane"), "ShowHorizontalGridLines", Variant(true));
    put(*model(0), "DrawFilledPolygons", Variant::fromInt16(1));
    put(*model(0), "LineWidth", Variant(2.5));
    put(*model(0), "PointSymbol", Variant::fromInt16(3));
    put(*model(0), "PolygonColormap", Variant::fromInt16(1));
    put(*ctl, "Lighting", Variant(true));
    put(*ctl, "AmbientLight", Variant(0x202020));
    put(*ctl, "GraphTitle", Variant(platform::utf8ToCp1251("Рябь 1")));
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(0));
    put(*boxPart("XZPlane"), "Fill", Variant(true));
    put(*model(0), "AutoContourY", Variant(false));
    put(*model(0), "NumberOfContoursY", Variant::fromInt16(9));
    put(*model(0), "BarPlotLayout", Variant::fromInt16(2));
    put(*model(0), "InterpolatedRows", Variant::fromInt16(30));
    put(*model(0), "DataPointsConnectivity", Variant::fromInt16(3));
    put(*model(0), "LineStyle", Variant::fromInt16(2));
    put(*ctl, "Fog", Variant(true));
    put(*ctl, "VerticalScale", Variant::fromInt16(50));
    put(*model(0), "SpectrumX", Variant(true));
    put(*model(0), "ColormapIndex", Variant::fromInt16(1));
    put(*model(0), "Shininess", Variant::fromInt16(64));
    put(*model(0), "PolygonColor", Variant::fromInt32(std::int32_t(200u << 24 | 0x00FF00)));
    put(*model(0), "PolygonOffsetFactor", Variant(2.5));
    control().setLastFormatModel(0);
    FormatSheet& s = open();

    QWidget* p = page(kGeneral);
    EXPECT_EQ(number(p, "&Rotation:")->text(), "30.5");
    EXPECT_EQ(number(p, "&Tilt:")->text(), "60");
    EXPECT_EQ(number(p, "&Zoom:")->text(), "2.5");
    EXPECT_TRUE(button(p, "P&erimeter")->isChecked());
    EXPECT_TRUE(button(p, "E&qual Scales")->isChecked());
    EXPECT_FALSE(button(p, "Show Bor&der")->isChecked());
    EXPECT_TRUE(button(p, "Show Bo&x")->isChecked());
    EXPECT_TRUE(button(p, "&Surface Plot")->isChecked());
    s.page(kGeneral).selectTab(1);
    EXPECT_TRUE(button(p, "&Bar Plot")->isChecked());

    p = page(kAxes);
    s.page(kAxes).selectTab(1);
    EXPECT_EQ(number(p, "&Number")->text(), "7");
    EXPECT_TRUE(number(p, "&Number")->isEnabled());
    EXPECT_FALSE(button(p, "Auto &Grid")->isChecked());
    EXPECT_FALSE(button(p, "&Show Numbers")->isChecked());
    EXPECT_EQ(number(p, "Axis W&eight")->text(), "2.5");
    EXPECT_EQ(number(p, "&Minimum Value")->text(), "-3");
    EXPECT_EQ(number(p, "Ma&ximum Value")->text(), "8.5");
    EXPECT_EQ(qobject_cast<QCheckBox*>(button(p, "Draw &Lines"))->checkState(), Qt::Checked);
    EXPECT_EQ(number(p, "Line &Weight")->text(), "1") << "the XY plane's vertical weight";
    s.page(kAxes).selectTab(0);
    EXPECT_EQ(qobject_cast<QCheckBox*>(button(p, "Draw &Lines"))->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(button(p, "A&uto Scale")->isChecked());
    EXPECT_FALSE(number(p, "&Minimum Value")->isEnabled());

    p = page(kAppearance);
    EXPECT_EQ(s.page(kAppearance).currentTab(), 1) << "the model chosen on the General page";
    s.page(kAppearance).selectTab(0);
    EXPECT_TRUE(button(p, "&Fill Surface")->isChecked());
    EXPECT_TRUE(button(p, "W&ireframe")->isChecked());
    EXPECT_EQ(number(p, "W&eight")->text(), "2.5");
    EXPECT_EQ(list(p, "S&ymbol")->currentText(), "boxes");
    EXPECT_TRUE(button(p, "C&olormap")->isChecked());
    s.page(kAppearance).selectTab(1);
    EXPECT_TRUE(button(p, "&Fill Bars")->isChecked()) << "a bar plot's own switch, on by default";
    EXPECT_TRUE(button(p, "W&ire Bars")->isChecked());
    s.page(kAppearance).selectTab(0);

    p = page(kLighting);
    EXPECT_TRUE(button(p, "&Enable Lighting")->isChecked());
    EXPECT_EQ(color(p, "A&mbient Light Color")->value() & 0xFFFFFFu, 0x202020u);
    EXPECT_EQ(list(p, "Lighting S&cheme:")->currentIndex(), -1) << "no scheme has these";
    EXPECT_EQ(color(p, "&Diffuse Color")->value() & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(number(p, "&X")->text(), "1");
    EXPECT_EQ(number(p, "&Z")->text(), "0");
    EXPECT_TRUE(button(p, "&Infinite Light Source")->isChecked());
    s.page(kLighting).selectTab(5);
    EXPECT_TRUE(button(p, "O&ff")->isChecked()) << "an empty slot";

    p = page(kTitle);
    EXPECT_EQ(p->findChild<QLineEdit*>()->text(), QString::fromUtf8("Рябь 1"));
    EXPECT_TRUE(button(p, "Ab&ove")->isChecked());

    p = page(kBackplanes);
    s.page(kBackplanes).selectTab(2);
    EXPECT_TRUE(button(p, "&Fill Backplane")->isChecked());
    s.page(kBackplanes).selectTab(1);
    EXPECT_FALSE(button(p, "&Fill Backplane")->isChecked());
    EXPECT_EQ(number(p, "Line Wei&ght")->text(), "1.5") << "Y is the YZ plane's first axis";

    p = page(kSpecial);
    auto& special = static_cast<halvex::SpecialPage&>(s.page(kSpecial));
    EXPECT_EQ(special.contourAxis()->currentText(), "Z-Contours");
    EXPECT_TRUE(special.ShowContours(1));
    EXPECT_EQ(number(p, "N&umber")->text(), "9");
    EXPECT_FALSE(button(p, "Aut&o Contour")->isChecked());
    EXPECT_TRUE(button(p, "&Side by Side")->isChecked());
    EXPECT_EQ(number(p, "&Rows")->text(), "30");
    EXPECT_TRUE(button(p, "Increasing &Z")->isChecked());
    EXPECT_EQ(list(p, "&Line Style")->currentText(), "dotted");

    p = page(kAdvanced);
    EXPECT_TRUE(button(p, "Enable &Fog")->isChecked());
    EXPECT_EQ(number(p, "&Vertical Scale")->text(), "50");
    EXPECT_TRUE(button(p, "Increasing &X")->isChecked());
    EXPECT_EQ(list(p, "C&hoose Colormap")->currentText(), "Greyscale");
    EXPECT_EQ(number(p, "&Shininess")->text(), "64");
    EXPECT_EQ(number(p, "% &Transparency")->text(), "22") << "alpha 200";
    EXPECT_EQ(number(p, "P&olygon Offset")->text(), "2.5");

    p = page(kQuickPlot);
    EXPECT_EQ(number(p, "start")->text(), "-5");
    EXPECT_EQ(number(p, "# of Grids")->text(), "21");
    EXPECT_FALSE(number(p, "start")->isEnabled()) << "not a quick plot";
    EXPECT_TRUE(told.empty());
}

// Values that no field shows exactly as it holds them, and fields that
// meet values outside their ranges: an OK without a change writes none.
TEST_F(FormatDialog, UntouchedOkChangesNothing)
{
    put(*ctl, "Tilt", Variant(33.333));
    put(*ctl, "Rotation", Variant(-0.1));
    put(*ctl, "Radius", Variant(1.0 / 3.0));
    put(*ctl, "VerticalScale", Variant::fromInt16(200));
    put(*ctl, "ViewingDistance", Variant::fromInt16(150));
    put(*ctl, "GraphTitle", Variant(std::string(150, 'T')));
    put(*ctl, "AmbientLight", Variant(0x123456));
    call(*ctl, "CreateLight", {Variant::fromInt16(4)});
    Ref<Dispatch> light = dispatchOf(call(*ctl, "Light", {Variant::fromInt16(4)}));
    put(*light, "Enabled", Variant::fromInt16(0));
    put(*light, "PosX", Variant(0.1));
    put(*light, "PositionScale", Variant(2.5));
    put(*boxPart("XYPlane"), "ShowHorizontalGridLines", Variant(true)); // X's lines: mixed
    put(*boxPart("XZPlane"), "VerticalGridLineWeight", Variant::fromInt16(3));
    put(*boxPart("YAxis"), "MinVal", Variant(0.1 + 0.2));
    put(*boxPart("YAxis"), "MaxVal", Variant(-4.0)); // not above the minimum
    put(*boxPart("ZAxis"), "NumGrids", Variant::fromInt16(500));
    put(*model(0), "PolygonColor", Variant::fromInt32(std::int32_t(200u << 24 | 0x123456)));
    put(*model(0), "ColormapIndex", Variant::fromInt16(-1));
    put(*model(1), "ColormapIndex", Variant::fromInt16(99));
    put(*model(1), "BarPlotSpacing", Variant::fromInt16(250));
    put(*model(2), "LineWidth", Variant(0.3));
    put(*model(2), "PointSize", Variant(0.01));
    put(*model(2), "DrawXContours3D", Variant::fromInt16(1));
    put(*model(2), "ViewAs", Variant::fromInt16(5));
    dynamic_cast<halvex::CglModel&>(*model(1)).SetQuickPlotFlag(true);
    auto before = Snapshot(*ctl);
    std::vector<std::uint8_t> saved = halvex::SaveControlState(control());
    control().SetModifiedFlag(false);
    site.reset();

    FormatSheet& s = open();
    // Every page, every tab, every contour direction.
    for (int k = 0; k < FormatSheet::kPageCount; ++k) {
        page(k);
        QTabBar* tabs = s.page(k).tabBar();
        for (int t = 0; tabs && t < tabs->count(); ++t) {
            ASSERT_TRUE(s.page(k).selectTab(t)) << k << " " << t;
            for (int d = 0; k == kSpecial && d < 3; ++d)
                ASSERT_TRUE(static_cast<halvex::SpecialPage&>(s.page(k)).ShowContours(d));
        }
    }
    EXPECT_FALSE(s.applyButton()->isEnabled());
    standard(s, QDialogButtonBox::Ok)->click();
    EXPECT_EQ(s.result(), QDialog::Accepted);
    EXPECT_TRUE(told.empty()) << told.front().toStdString();
    EXPECT_EQ(Snapshot(*ctl), before);
    EXPECT_EQ(halvex::SaveControlState(control()), saved) << "the saved state, byte for byte";
    EXPECT_FALSE(control().IsModified());
    EXPECT_EQ(site.invalidations, 0);
}

TEST_F(FormatDialog, CancelWritesNothing)
{
    auto before = Snapshot(*ctl);
    FormatSheet& s = open();
    type(number(page(kGeneral), "&Tilt:"), "90");
    button(page(kAdvanced), "Enable &Fog")->click();
    EXPECT_TRUE(s.applyButton()->isEnabled());
    s.reject();
    EXPECT_EQ(Snapshot(*ctl), before);
}

struct Refusal {
    int page;
    const char* label;
    const char* typed;
    const char* message;
};

// Each field refuses what is outside its range when the sheet applies;
// the value stays, the focus goes to the field, the dialog stays open.
TEST_F(FormatDialog, RangeRefusals)
{
    dynamic_cast<halvex::CglModel&>(*model(0)).SetQuickPlotFlag(true);
    const Refusal cases[] = {
        {kGeneral, "&Zoom:", "0.00005", "Please enter a number between 0.0001 and 10000."},
        {kGeneral, "&Tilt:", "180,5", "Please enter a number between 0 and 180."},
        {kGeneral, "T&wist:", "-361", "Please enter a number between -360 and 360."},
        {kGeneral, "&Rotation:", "1,2,3", "Please enter a number between -360 and 360."},
        {kAxes, "&Number", "0", "Please enter an integer between 1 and 99."},
        {kAxes, "&Number", "2.5", "Please enter an integer between 1 and 99."},
        {kAxes, "Line &Weight", "0,05", "Please enter a number between 0.1 and 10."},
        {kAxes, "Axis W&eight", "10.01", "Please enter a number between 0.1 and 10."},
        {kAppearance, "W&eight", "11", "Please enter a number between 0.1 and 10."},
        {kAppearance, "Si&ze", "0", "Please enter a number between 0.1 and 10."},
        {kLighting, "&X", "", "Please enter a number."},
        {kBackplanes, "Line Weig&ht", "20", "Please enter a number between 0.1 and 10."},
        {kSpecial, "S&pacing", "101", "Please enter an integer between 0 and 100."},
        {kSpecial, "&Rows", "1", "Please enter an integer between 2 and 99."},
        {kSpecial, "&Columns", "100", "Please enter an integer between 2 and 99."},
        {kAdvanced, "&Vertical Scale", "0", "Please enter an integer between 1 and 100."},
        {kAdvanced, "Viewing &Distance", "100", "Please enter an integer between 1 and 99."},
        {kAdvanced, "&Shininess", "129", "Please enter an integer between 0 and 128."},
        {kAdvanced, "% &Transparency", "101", "Please enter an integer between 0 and 100."},
        {kAdvanced, "P&olygon Offset", "10.5", "Please enter a number between 0 and 10."},
        {kQuickPlot, "# of Grids", "201", "Please enter an integer between 1 and 200."},
    };
    for (const Refusal& c : cases) {
        auto before = Snapshot(*ctl);
        FormatSheet& s = open();
        QWidget* p = page(c.page);
        if (c.page == kAxes)
            button(p, "Auto &Grid")->click(); // the number is used only then
        halvex::NumberEdit* field = number(p, c.label);
        type(field, c.typed);
        told.clear();
        EXPECT_FALSE(s.ApplyAll()) << c.label << " " << c.typed;
        ASSERT_EQ(told.size(), 1u) << c.label;
        EXPECT_EQ(told[0].toStdString(), c.message) << c.label << " " << c.typed;
        QWidget* focus = s.focusWidget();
        EXPECT_TRUE(focus == field || focus == field->findChild<QLineEdit*>()) << c.label;
        EXPECT_EQ(Snapshot(*ctl), before) << c.label;
        // Leaving the page is refused as well.
        told.clear();
        s.selectPage(c.page == kGeneral ? kTitle : kGeneral);
        EXPECT_EQ(s.currentPage(), c.page) << c.label;
        EXPECT_EQ(told.size(), 1u);
        sheet_.reset();
    }
}

TEST_F(FormatDialog, BoundsAreAcceptedAndCommasReadAsPoints)
{
    FormatSheet& s = open();
    type(number(page(kGeneral), "&Zoom:"), "0,0001");
    type(number(page(kGeneral), "&Tilt:"), "12,5");
    halvex::NumberEdit* weight = number(page(kAxes), "Line &Weight");
    type(weight, "2,5");
    type(number(page(kAdvanced), "P&olygon Offset"), "10");
    ASSERT_TRUE(s.ApplyAll()) << (told.empty() ? "" : told[0].toStdString());
    EXPECT_EQ(get(*ctl, "Radius").toDouble(), 0.0001);
    EXPECT_FLOAT_EQ(float(get(*ctl, "Tilt").toDouble()), 12.5f);
    EXPECT_EQ(get(*boxPart("XAxis"), "GridLineWeight").toInt32(), 25);
    EXPECT_EQ(get(*boxPart("XYPlane"), "HorizontalGridLineWeight").toInt32(), 25);
    EXPECT_EQ(get(*boxPart("XZPlane"), "VerticalGridLineWeight").toInt32(), 25);
    EXPECT_EQ(get(*model(0), "PolygonOffsetFactor").toDouble(), 10.0);
    // Shown afterwards in the C locale's form.
    EXPECT_EQ(weight->text(), "2.5");
    EXPECT_FALSE(s.applyButton()->isEnabled());
}

TEST_F(FormatDialog, AxisLimitsMustBeInOrder)
{
    FormatSheet& s = open();
    QWidget* p = page(kAxes);
    button(p, "A&uto Scale")->click();
    type(number(p, "&Minimum Value"), "5");
    type(number(p, "Ma&ximum Value"), "5");
    EXPECT_FALSE(s.ApplyAll());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], "Maximum value must be greater than minimum value.");
    EXPECT_TRUE(get(*boxPart("XAxis"), "AutoScaleAxis").toBool());
    type(number(p, "Ma&ximum Value"), "5,5");
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_FALSE(get(*boxPart("XAxis"), "AutoScaleAxis").toBool());
    EXPECT_EQ(get(*boxPart("XAxis"), "MinVal").toDouble(), 5.0);
    EXPECT_EQ(get(*boxPart("XAxis"), "MaxVal").toDouble(), 5.5);
    // Also when switching axes.
    type(number(p, "&Minimum Value"), "9");
    told.clear();
    EXPECT_FALSE(s.page(kAxes).selectTab(2));
    EXPECT_EQ(s.page(kAxes).currentTab(), 0);
    EXPECT_EQ(told.size(), 1u);
}

TEST_F(FormatDialog, DisplayAsChangesOnlyItsModel)
{
    FormatSheet& s = open();
    QWidget* p = page(kGeneral);
    ASSERT_TRUE(s.page(kGeneral).selectTab(1));
    button(p, "&Contour Plot")->click();
    // The Appearance page already names the pending kind's choices.
    QWidget* look = page(kAppearance);
    s.page(kAppearance).selectTab(1);
    EXPECT_NO_THROW(button(look, "L&ines"));
    s.page(kAppearance).selectTab(0);
    EXPECT_NO_THROW(button(look, "W&ireframe"));
    standard(s, QDialogButtonBox::Ok)->click();
    EXPECT_EQ(get(*model(0), "ViewAs").toInt32(), 0);
    EXPECT_EQ(get(*model(1), "ViewAs").toInt32(), 1);
    EXPECT_EQ(get(*model(2), "ViewAs").toInt32(), 0);
}

TEST_F(FormatDialog, TitleOfAHundredCharacters)
{
    FormatSheet& s = open();
    auto* edit = page(kTitle)->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, QString(101, u'x'));
    EXPECT_EQ(edit->text().size(), 100);
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_EQ(get(*ctl, "GraphTitle").toString(), std::string(100, 'x'));
    // Cyrillic text is the control's 8-bit text, code page 1251.
    edit->selectAll();
    // Typed as keys that carry their text, as a Russian keyboard sends them.
    for (QChar c : QString::fromUtf8("Поверхность")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
    button(page(kTitle), "&Below")->click();
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_EQ(get(*ctl, "GraphTitle").toString(), platform::utf8ToCp1251("Поверхность"));
    EXPECT_EQ(get(*ctl, "GraphTitlePosition").toInt32(), 1);
}

TEST_F(FormatDialog, TransparencyIsTheFillColoursAlpha)
{
    put(*model(0), "PolygonColor", Variant::fromInt32(std::int32_t(0xFF336699u)));
    FormatSheet& s = open();
    type(number(page(kAdvanced), "% &Transparency"), "100");
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_EQ(std::uint32_t(get(*model(0), "PolygonColor").toInt64()), 0x00336699u);
    type(number(page(kAdvanced), "% &Transparency"), "25");
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_EQ(std::uint32_t(get(*model(0), "PolygonColor").toInt64()), 0xBF336699u);
}

TEST_F(FormatDialog, ColourMenuKeepsTheAlpha)
{
    put(*model(0), "PolygonColor", Variant::fromInt32(std::int32_t(0xC8336699u)));
    FormatSheet& s = open();
    QWidget* p = page(kAppearance);
    // The first "Soli&d Color" is the fill's; its button is beside it.
    button(p, "Soli&d Color")->click();
    std::vector<halvex::ColorButton*> buttons = colorButtons(p);
    ASSERT_EQ(buttons.size(), 3u);
    halvex::ColorButton* fill = buttons[0];
    std::unique_ptr<QMenu> menu(fill->makeMenu(nullptr));
    auto* red = menu->findChild<QToolButton*>("Red");
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->toolTip(), "Red");
    EXPECT_EQ(menu->findChildren<QToolButton*>().size(), 40u);
    red->click();
    EXPECT_EQ(fill->value(), 0xC80000FFu);
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_EQ(std::uint32_t(get(*model(0), "PolygonColor").toInt64()), 0xC80000FFu);
    EXPECT_EQ(sw(*model(0), "PolygonColormap"), 0);
}

TEST_F(FormatDialog, AppearanceWritesTheKindsOwnSwitches)
{
    put(*model(1), "ViewAs", Variant::fromInt16(4));
    FormatSheet& s = open();
    QWidget* p = page(kAppearance);
    s.page(kAppearance).selectTab(1);
    button(p, "&No Fill")->click();
    button(p, "Alte&rnate Mesh")->click();
    button(p, "No &Lines")->click();
    s.page(kAppearance).selectTab(0);
    button(p, "Fill &Contours")->click();
    button(p, "Con&tour Lines")->click();
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_EQ(sw(*model(1), "BarFilled"), 0);
    EXPECT_EQ(sw(*model(1), "BarHalfFilled"), 1);
    EXPECT_EQ(sw(*model(1), "BarLines"), 0);
    EXPECT_EQ(sw(*model(1), "DrawFilledPolygons"), 0);
    EXPECT_EQ(sw(*model(1), "DrawHalfFilledPolygons"), 0);
    EXPECT_EQ(sw(*model(0), "DrawFilledPolygons"), 1);
    EXPECT_EQ(sw(*model(0), "FillZContours"), 1);
    EXPECT_EQ(sw(*model(0), "FillZContours3D"), 1);
    EXPECT_EQ(sw(*model(0), "DrawLines"), 0);
    EXPECT_EQ(sw(*model(0), "DrawZContours"), 1);
    EXPECT_EQ(sw(*model(0), "DrawZContours3D"), 1);
    EXPECT_EQ(sw(*model(2), "DrawLines"), 1) << "untouched";
}

TEST_F(FormatDialog, LightingSchemesAndNewLights)
{
    FormatSheet& s = open();
    QWidget* p = page(kLighting);
    auto& lighting = static_cast<halvex::LightingPage&>(s.page(kLighting));
    EXPECT_EQ(lighting.schemes()->currentText(), "Scheme 1") << "a new control's lights";
    pick(lighting.schemes(), 4);
    EXPECT_EQ(lighting.schemes()->currentText(), "Scheme 5");
    // Light 6, an empty slot, switched on.
    ASSERT_TRUE(s.page(kLighting).selectTab(5));
    button(p, "&On")->click();
    type(number(p, "&Y"), "2,5");
    EXPECT_EQ(lighting.schemes()->currentIndex(), -1) << "a light of 4 to 8 is on";
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_EQ(std::uint32_t(get(*ctl, "AmbientLight").toInt64()), 0xFF202020u);
    Ref<Dispatch> first = dispatchOf(call(*ctl, "Light", {Variant::fromInt16(0)}));
    EXPECT_EQ(get(*first, "Diffuse").toInt32(), 0x0000FF);
    EXPECT_EQ(get(*first, "PosX").toDouble(), 1.0);
    EXPECT_EQ(get(*first, "PosY").toDouble(), 0.0);
    EXPECT_EQ(get(*first, "PositionScale").toDouble(), 0.0);
    Ref<Dispatch> third = dispatchOf(call(*ctl, "Light", {Variant::fromInt16(2)}));
    EXPECT_EQ(get(*third, "Diffuse").toInt32(), 0xFF0000);
    EXPECT_EQ(get(*third, "PosZ").toDouble(), 1.0);
    Ref<Dispatch> sixth = dispatchOf(call(*ctl, "Light", {Variant::fromInt16(5)}));
    ASSERT_TRUE(sixth);
    EXPECT_EQ(get(*sixth, "Enabled").toInt32(), 1);
    EXPECT_EQ(get(*sixth, "PosY").toDouble(), 2.5);
    // Switched off again, the light stays but is off.
    button(p, "O&ff")->click();
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_EQ(get(*sixth, "Enabled").toInt32(), 0);
    EXPECT_EQ(lighting.schemes()->currentText(), "Scheme 5");
}

TEST_F(FormatDialog, AxisGridsAreThePlanesLines)
{
    put(*boxPart("XYPlane"), "ShowHorizontalGridLines", Variant(true));
    FormatSheet& s = open();
    QWidget* p = page(kAxes);
    auto* lines = qobject_cast<QCheckBox*>(button(p, "Draw &Lines"));
    EXPECT_EQ(lines->checkState(), Qt::PartiallyChecked);
    lines->click();
    EXPECT_EQ(lines->checkState(), Qt::Checked);
    ASSERT_TRUE(s.page(kAxes).selectTab(2));
    button(p, "Draw &Ticks")->click();
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_TRUE(get(*boxPart("XYPlane"), "ShowHorizontalGridLines").toBool());
    EXPECT_TRUE(get(*boxPart("XZPlane"), "ShowVerticalGridLines").toBool());
    EXPECT_FALSE(get(*boxPart("YZPlane"), "ShowHorizontalGridLines").toBool());
    EXPECT_TRUE(get(*boxPart("YZPlane"), "ShowVerticalTickMarks").toBool()) << "Z: second axis of YZ";
    EXPECT_TRUE(get(*boxPart("XZPlane"), "ShowHorizontalTickMarks").toBool()) << "Z: first axis of XZ";
    EXPECT_FALSE(get(*boxPart("XYPlane"), "ShowVerticalTickMarks").toBool());
}

TEST_F(FormatDialog, ContourSettingsWriteTheirTwins)
{
    FormatSheet& s = open();
    auto& special = static_cast<halvex::SpecialPage&>(s.page(kSpecial));
    QWidget* p = page(kSpecial);
    ASSERT_TRUE(special.ShowContours(0));
    button(p, "Aut&o Contour")->click();
    EXPECT_TRUE(number(p, "N&umber")->isEnabled());
    type(number(p, "N&umber"), "6");
    button(p, "&Draw Lines")->click();
    // A bad value keeps the list on its direction.
    type(number(p, "N&umber"), "0");
    EXPECT_FALSE(special.ShowContours(2));
    EXPECT_EQ(special.contourAxis()->currentIndex(), 0);
    type(number(p, "N&umber"), "6");
    ASSERT_TRUE(s.ApplyAll());
    EXPECT_FALSE(get(*model(0), "AutoContourX").toBool());
    EXPECT_FALSE(get(*model(0), "AutoContourX3D").toBool());
    EXPECT_EQ(get(*model(0), "NumberOfContoursX").toInt32(), 6);
    EXPECT_EQ(get(*model(0), "NumberOfContoursX3D").toInt32(), 6);
    EXPECT_EQ(sw(*model(0), "DrawXContours"), 1);
    EXPECT_EQ(sw(*model(0), "DrawXContours3D"), 1);
    EXPECT_TRUE(get(*model(0), "AutoContourY").toBool()) << "another direction, untouched";
}

TEST_F(FormatDialog, QuickPlotRangesOfQuickPlotsOnly)
{
    dynamic_cast<halvex::CglModel&>(*model(2)).SetQuickPlotFlag(true);
    control().setLastFormatModel(2);
    FormatSheet& s = open();
    QWidget* p = page(kQuickPlot);
    EXPECT_TRUE(number(p, "start")->isEnabled());
    type(number(p, "start"), "-0,25");
    button(p, "Spherical")->click();
    ASSERT_TRUE(s.ApplyAll());
    const auto& qp = dynamic_cast<halvex::CglModel&>(*model(2)).format().quickPlotParams;
    ASSERT_TRUE(qp.has_value());
    EXPECT_EQ(qp->U0, -0.25);
    EXPECT_EQ(qp->c, 1);
    EXPECT_EQ(qp->M, 21);
    s.page(kQuickPlot).selectTab(0);
    EXPECT_FALSE(number(p, "start")->isEnabled());
}

TEST_F(FormatDialog, ApplyReachesThePicture)
{
    std::string error;
    QImage before = halvex::RenderControlImage(control(), 160, 120, error);
    ASSERT_FALSE(before.isNull()) << error;
    FormatSheet& s = open();
    QWidget* p = page(kAppearance);
    button(p, "Soli&d Color")->click(); // the fill's
    colorButtons(p)[0]->choose(0x0000FF);
    button(p, "&Fill Surface")->click();
    site.reset();
    EXPECT_TRUE(s.applyButton()->isEnabled());
    s.applyButton()->click();
    EXPECT_FALSE(s.applyButton()->isEnabled());
    EXPECT_TRUE(site.modified);
    EXPECT_GE(site.invalidations, 1);
    EXPECT_TRUE(control().NeedsRebuild());
    QImage after = halvex::RenderControlImage(control(), 160, 120, error);
    ASSERT_FALSE(after.isNull()) << error;
    int red = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            QColor c = after.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 60 && c.blue() < 60 ? 1 : 0;
        }
    EXPECT_GT(red, 200) << "the red fill";
    EXPECT_NE(before, after);
}

TEST_F(FormatDialog, HelpTopicsThroughTheDesktop)
{
    FormatSheet& s = open();
    page(kAdvanced);
    s.Help();
    ASSERT_EQ(opened.size(), 1u) << (told.empty() ? "" : told[0].toStdString());
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].path().endsWith("/help/Pellix3d_plot_format_dialog_box_adv.html"));
    // F1: context help, the capitalised name, the same file.
    QTest::keyClick(&s, Qt::Key_F1);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], opened[0]);
    standard(s, QDialogButtonBox::Help)->click();
    EXPECT_EQ(opened.size(), 3u);
    EXPECT_TRUE(told.empty());
}

TEST_F(FormatDialog, FieldsCarryTips)
{
    FormatSheet& s = open();
    int fields = 0;
    for (int k = 0; k < FormatSheet::kPageCount; ++k)
        for (QWidget* w : s.page(k).findChildren<QWidget*>()) {
            bool field = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                         dynamic_cast<halvex::NumberEdit*>(w) ||
                         (qobject_cast<QLineEdit*>(w) && !dynamic_cast<halvex::NumberEdit*>(w->parentWidget()));
            if (!field || qobject_cast<QTabBar*>(w->parentWidget()))
                continue;
            ++fields;
            EXPECT_FALSE(w->toolTip().isEmpty()) << s.page(k).caption() << ": " << w->metaObject()->className() << " "
                                                 << w->property("text").toString().toStdString();
        }
    EXPECT_GT(fields, 100);
    EXPECT_EQ(number(page(kAxes), "&Number")->toolTip(), "Number of major axis divisions on axis.");
    EXPECT_EQ(button(page(kAxes), "&Show Numbers")->toolTip(), "Draw numbered axes.");
    EXPECT_EQ(number(page(kAdvanced), "&Shininess")->toolTip(), "The shininess of the filled surface (0-128).");
}

} // namespace
