// Pictures of the nine pages of "3-D Plot Format" and the three pages of
// "3-D Plot Wizard", for people to look at: written when
// TAVRIN_SCREENSHOTS names a folder, and otherwise only checked for size
// (every page fits the dialog).
#include "tests/plot/dialog_test_support.h"
#include "tests/plot/plot_test_support.h"

#include "plot/core/plot_control.h"
#include "plot/dialog/format_page.h"
#include "plot/dialog/format_sheet.h"
#include "plot/dialog/plot_wizard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPixmap>
#include <QTabBar>
#include <QWizardPage>

#include <cstdlib>

using namespace plottest;

namespace {

class DialogPictures : public PlotTest {
protected:
    void save(QWidget& w, const QString& name)
    {
        QPixmap p = w.grab();
        EXPECT_FALSE(p.isNull()) << name.toStdString();
        if (const char* dir = std::getenv("TAVRIN_SCREENSHOTS")) {
            EXPECT_TRUE(p.save(QString::fromLocal8Bit(dir) + u'/' + name + QStringLiteral(".png")));
        }
    }
};

TEST_F(DialogPictures, FormatPagesFitTheirDialog)
{
    for (int k = 0; k < 2; ++k)
        call(*ctl, "AddSurface", {doubles2D(0, 3, 0, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9})});
    put(*ctl, "GraphTitle", Variant("Damped ripple"));
    put(*ctl, "GraphTitlePosition", Variant::fromInt16(0));
    halvex::FormatSheet sheet(dynamic_cast<halvex::COpenGLCtrl&>(*ctl));
    sheet.show();
    QApplication::processEvents();
    for (int k = 0; k < halvex::FormatSheet::kPageCount; ++k) {
        ASSERT_TRUE(sheet.selectPage(k));
        QApplication::processEvents();
        // Nothing the page holds needs more room than the dialog gives it.
        halvex::FormatPage& page = sheet.page(k);
        EXPECT_GE(page.width(), page.minimumSizeHint().width()) << page.caption();
        EXPECT_GE(page.height(), page.minimumSizeHint().height()) << page.caption();
        for (QAbstractButton* b : page.findChildren<QAbstractButton*>()) {
            if (b->isVisible() && !b->text().isEmpty()) {
                EXPECT_GE(b->width(), b->minimumSizeHint().width()) << page.caption() << ": " << b->text().toStdString();
            }
        }
        // Every tab of every row in sight, none behind scroll arrows.
        for (QTabBar* bar : sheet.findChildren<QTabBar*>()) {
            if (!bar->isVisible())
                continue;
            for (int t = 0; t < bar->count(); ++t)
                EXPECT_LE(bar->tabRect(t).right(), bar->width()) << page.caption() << ": " << bar->tabText(t).toStdString();
        }
        save(sheet, QStringLiteral("format-%1-%2").arg(k + 1).arg(QString::fromLatin1(page.caption()).replace(u' ', u'-')));
    }
}

TEST_F(DialogPictures, WizardPages)
{
    halvex::PlotWizard wizard;
    wizard.show();
    QApplication::processEvents();
    save(wizard, QStringLiteral("wizard-1-plot-type"));
    wizard.next();
    QApplication::processEvents();
    save(wizard, QStringLiteral("wizard-2-appearance"));
    halvex::WizardChoices c;
    c.appearance = 2;
    c.coloring = halvex::kColorUsingLighting;
    wizard.setChoices(c);
    wizard.next();
    QApplication::processEvents();
    EXPECT_EQ(wizard.currentId(), halvex::PlotWizard::kColoringPage);
    save(wizard, QStringLiteral("wizard-3-coloring"));
}

} // namespace
