#include "plot/dialog/quickplot_page.h"

#include "plot/dialog/format_sheet.h"
#include "plot/dialog/number_edit.h"
#include "plot/dialog/page_widgets.h"
#include "plot/dialog/property_io.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabBar>
#include <QVBoxLayout>

#include <array>

namespace halvex {

namespace {

enum Slot { kStart1, kEnd1, kGrids1, kStart2, kEnd2, kGrids2, kSystem, kQuickPlot, kSlots };

constexpr std::array<PropertyField, 8> kFields{{
    {kStart1, "Range1Start", PropertyKind::Number},
    {kEnd1, "Range1End", PropertyKind::Number},
    {kGrids1, "Range1Grids", PropertyKind::Integer},
    {kStart2, "Range2Start", PropertyKind::Number},
    {kEnd2, "Range2End", PropertyKind::Number},
    {kGrids2, "Range2Grids", PropertyKind::Integer},
    {kSystem, "CoordinateSystem", PropertyKind::Integer},
    {kQuickPlot, "IsQuickplot", PropertyKind::Switch},
}};

} // namespace

QuickPlotPage::QuickPlotPage(FormatSheet& sheet) : FormatPage(sheet, "QuickPlot Data", "qp")
{
    auto* page = new QVBoxLayout(this);
    QBoxLayout* content = nullptr;
    QTabBar* tabs = MakeModelTabs(sheet, this);
    page->addWidget(TabbedFrame(tabs, content, this));

    auto* ranges = new QHBoxLayout;
    for (int r = 0; r < 2; ++r) {
        auto* box = new QGroupBox(r == 0 ? QStringLiteral("Range 1") : QStringLiteral("Range 2"), this);
        auto* g = new QGridLayout(box);
        auto* start = MakeFreeNumber(r == 0 ? "First value of the first plot parameter."
                                            : "First value of the second plot parameter.",
                                     box);
        auto* end = MakeFreeNumber(r == 0 ? "Last value of the first plot parameter."
                                          : "Last value of the second plot parameter.",
                                   box);
        auto* grids = MakeNumber(1, 200, true, "Number of grid steps over the range (1 to 200).", box);
        g->addWidget(MakeLabel("start", start, box), 0, 0);
        g->addWidget(start, 0, 1);
        g->addWidget(MakeLabel("end", end, box), 1, 0);
        g->addWidget(end, 1, 1);
        g->addWidget(MakeLabel("# of Grids", grids, box), 2, 0);
        g->addWidget(grids, 2, 1);
        ranges->addWidget(box, 1);
        tabFields.number(start, r == 0 ? kStart1 : kStart2);
        tabFields.number(end, r == 0 ? kEnd1 : kEnd2);
        tabFields.number(grids, r == 0 ? kGrids1 : kGrids2);
    }
    content->addLayout(ranges);
    auto* system = new QGroupBox(QStringLiteral("Coordinate System"), this);
    auto* s = new QHBoxLayout(system);
    QButtonGroup* choice = MakeChoice({"Cartesian", "Spherical", "Cylindrical"},
                                      {"The functions give x, y and z.",
                                       "The functions give radius, azimuth and elevation.",
                                       "The functions give radius, angle and height."},
                                      s, system);
    s->addStretch(1);
    content->addWidget(system);
    note_ = new QLabel(QStringLiteral("These settings are for plots computed by the host program."), this);
    note_->setWordWrap(true);
    content->addWidget(note_);
    page->addStretch(1);
    tabFields.choice(choice, kSystem);
    setTabs(tabs, true);
}

int QuickPlotPage::TabCount() const
{
    return sheet_.modelCount();
}

FieldValues QuickPlotPage::ReadTab(int tab)
{
    FieldValues v(kSlots);
    ReadFields(*sheet_.modelSettings(tab), kFields, v);
    return v;
}

void QuickPlotPage::WriteTab(int tab, const FieldRecord& record)
{
    WriteFields(*sheet_.modelSettings(tab), kFields, record);
}

void QuickPlotPage::Shown()
{
    bool quick = currentTab() >= 0 && tabRecord().now[kQuickPlot].number != 0.0;
    tabFields.setEnabled(quick);
    note_->setText(quick ? QStringLiteral("The host program computes this plot again with these settings.")
                         : QStringLiteral("This plot is not computed by the host program: these settings apply "
                                          "to quick plots only."));
}

} // namespace halvex
