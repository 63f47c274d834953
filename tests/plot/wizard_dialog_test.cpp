// "3-D Plot Wizard" off screen: its pages and where each leads, the
// captions that follow the plot type, the preview the control draws, and
// the wizard as the class registry hands it to a container.
#include "tests/plot/dialog_test_support.h"
#include "tests/plot/plot_test_support.h"

#include "platform/automation/class_registry.h"
#include "plot/dialog/color_button.h"
#include "plot/dialog/plot_wizard.h"
#include "plot/dialog/wizard_object.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QTimer>
#include <QWizardPage>

using namespace plottest;
using halvex::PlotWizard;
using halvex::WizardChoices;

namespace {

class WizardDialog : public PlotTest {};

TEST_F(WizardDialog, PagesFollowThePlotType)
{
    PlotWizard w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "3-D Plot Wizard");
    EXPECT_EQ(w.page(PlotWizard::kTypePage)->title(), "Plot Type");
    EXPECT_EQ(w.page(PlotWizard::kAppearancePage)->title(), "Appearance");
    EXPECT_EQ(w.page(PlotWizard::kColoringPage)->title(), "Coloring");
    EXPECT_EQ(w.currentId(), PlotWizard::kTypePage);
    EXPECT_EQ(w.nextId(), PlotWizard::kAppearancePage);
    struct Case {
        const char* type;
        bool coloring;
        const char* first;
        const char* third;
    };
    const Case cases[] = {
        {"&Surface Plot", true, "&Draw lines", "Fill &surface and draw lines"},
        {"&Contour Plot", false, "&Draw contour lines", "D&raw contour lines and fill with color"},
        {"&Vector Field Plot", false, "&Draw wire arrows", "Dr&aw filled arrows with lines"},
        {"&Bar Plot", false, "&Matrix", "Si&de by side"},
        {"Scatter &Plot", true, "&Draw points", "D&raw points and connect with lines"},
    };
    for (const Case& c : cases) {
        while (w.currentId() != PlotWizard::kTypePage)
            w.back();
        dialogtest::button(w.page(PlotWizard::kTypePage), c.type)->click();
        w.next();
        ASSERT_EQ(w.currentId(), PlotWizard::kAppearancePage) << c.type;
        QWizardPage* look = w.page(PlotWizard::kAppearancePage);
        EXPECT_NO_THROW(dialogtest::button(look, c.first)) << c.type;
        EXPECT_NO_THROW(dialogtest::button(look, c.third)) << c.type;
        // Finish here, or Next to the colouring.
        EXPECT_EQ(w.nextId(), c.coloring ? int(PlotWizard::kColoringPage) : -1) << c.type;
        EXPECT_EQ(dialogtest::button(look, "&Numbered Contours")->isVisible(),
                  std::string(c.type) == "&Contour Plot");
        EXPECT_EQ(look->findChild<QComboBox*>()->isVisible(), std::string(c.type) == "Scatter &Plot");
        if (c.coloring) {
            w.next();
            EXPECT_EQ(w.currentId(), PlotWizard::kColoringPage);
            EXPECT_EQ(w.nextId(), -1);
        }
    }
}

TEST_F(WizardDialog, ChoicesAsTheUserMakesThem)
{
    PlotWizard w;
    w.show();
    dialogtest::button(w.page(PlotWizard::kTypePage), "Scatter &Plot")->click();
    w.next();
    QWizardPage* look = w.page(PlotWizard::kAppearancePage);
    dialogtest::button(look, "D&raw points and connect with lines")->click();
    dialogtest::pick(look->findChild<QComboBox*>(), 3);
    look->findChild<QSpinBox*>()->setValue(4);
    w.next();
    QWizardPage* colors = w.page(PlotWizard::kColoringPage);
    halvex::ColorButton* solid = nullptr;
    for (QToolButton* b : colors->findChildren<QToolButton*>())
        if (auto* c = dynamic_cast<halvex::ColorButton*>(b))
            solid = c;
    ASSERT_NE(solid, nullptr);
    solid->choose(0x00FF00);
    WizardChoices c = w.choices();
    EXPECT_EQ(c.plotType, halvex::kWizardScatter);
    EXPECT_EQ(c.appearance, 2);
    EXPECT_EQ(c.symbol, 3);
    EXPECT_EQ(c.symbolSize, 4);
    EXPECT_EQ(c.coloring, halvex::kSolidColor) << "a colour picked chooses the solid colour";
    EXPECT_EQ(c.solidColor, 0x00FF00u);
}

// The preview is the control's own drawing of the sample data with the
// choices applied, and changes with them.
TEST_F(WizardDialog, PreviewFollowsTheChoices)
{
    PlotWizard w;
    ASSERT_FALSE(w.preview().isNull());
    EXPECT_EQ(w.preview().size(), QSize(PlotWizard::kPreviewSize, PlotWizard::kPreviewSize));
    QImage lines = w.preview();
    WizardChoices c;
    c.appearance = 1; // filled, coloured by height
    w.setChoices(c);
    QImage filled = w.preview();
    EXPECT_NE(lines, filled);
    int coloured = 0;
    for (int y = 0; y < filled.height(); ++y)
        for (int x = 0; x < filled.width(); ++x) {
            QColor p = filled.pixelColor(x, y);
            coloured += std::max({p.red(), p.green(), p.blue()}) - std::min({p.red(), p.green(), p.blue()}) > 80;
        }
    EXPECT_GT(coloured, 500) << "the colour map over the saddle";
    c.plotType = halvex::kWizardBar;
    w.setChoices(c);
    EXPECT_FALSE(w.preview().isNull());
    EXPECT_NE(w.preview(), filled);
}

TEST_F(WizardDialog, RegisteredForContainers)
{
    halvex::registerPlotWizard();
    auto& registry = platform::ClassRegistry::instance();
    ASSERT_TRUE(registry.isRegistered("Zorvic.3DPlot.Wizard"));
    EXPECT_NE(registry.findByClsid(halvex::kWizardClassId), nullptr);
    Ref<Dispatch> wizard = registry.create("zorvic.3dplot.wizard");
    put(*wizard, "PlotType", Variant(3));
    put(*wizard, "Appearance", Variant(2));
    EXPECT_EQ(get(*wizard, "PlotType").toInt32(), 3);
    // Run shows the wizard; finishing it keeps what was chosen.
    QTimer::singleShot(0, [] {
        auto* w = qobject_cast<QWizard*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        w->next();
        w->accept();
    });
    EXPECT_TRUE(call(*wizard, "Run").toBool());
    EXPECT_EQ(get(*wizard, "PlotType").toInt32(), 3);
    EXPECT_EQ(get(*wizard, "Appearance").toInt32(), 2);
    // Handed the plot, it applies the choices; anything else, nothing.
    call(*ctl, "AddSurface", {doubles2D(0, 2, 0, 2, {1, 2, 3, 4})});
    EXPECT_TRUE(call(*wizard, "Apply", {Variant(ctl)}).toBool());
    Ref<Dispatch> m = dispatchOf(call(*ctl, "Model", {Variant(0)}));
    EXPECT_EQ(get(*m, "ViewAs").toInt32(), 4);
    EXPECT_EQ(get(*m, "BarPlotLayout").toInt32(), 2);
    EXPECT_FALSE(call(*wizard, "Apply", {Variant(m)}).toBool());
    EXPECT_FALSE(call(*wizard, "Apply", {Variant()}).toBool());
    // Cancelled: false, and the choices stay.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(call(*wizard, "Run").toBool());
}

} // namespace
