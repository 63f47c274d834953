#include "plot/dialog/axes_page.h"

#include "plot/dialog/color_button.h"
#include "plot/dialog/format_sheet.h"
#include "plot/dialog/number_edit.h"
#include "plot/dialog/page_widgets.h"
#include "plot/dialog/property_io.h"

#include <QLabel>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTabBar>
#include <QVBoxLayout>

#include <array>
#include <cmath>
#include <string>

namespace halvex {

namespace {

enum Slot { kDrawLines, kDrawTicks, kAutoGrid, kLineColor, kNumber, kLineWeight, kNumbered, kAxisColor, kAxisWeight,
            kAutoScale, kMin, kMax, kSlots };

constexpr std::array<PropertyField, 8> kAxisFields{{
    {kAutoGrid, "AutoGridAxis", PropertyKind::Switch},
    {kNumber, "NumGrids", PropertyKind::Integer},
    {kNumbered, "Numbered", PropertyKind::Switch},
    {kAxisColor, "AxisColor", PropertyKind::Color},
    {kAxisWeight, "AxisLineWeight", PropertyKind::Integer, 10.0},
    {kAutoScale, "AutoScaleAxis", PropertyKind::Switch},
    {kMin, "MinVal", PropertyKind::Number},
    {kMax, "MaxVal", PropertyKind::Number},
}};

// The planes an axis's grid lines lie on, and which of their elements
// (named by the planes' property prefix) sit at its values.
struct PlaneSide {
    const char* plane;
    const char* side;
};
constexpr std::array<std::array<PlaneSide, 2>, 3> kAxisPlanes{{
    {{{"XYPlane", "Horizontal"}, {"XZPlane", "Vertical"}}},  // X
    {{{"XYPlane", "Vertical"}, {"YZPlane", "Horizontal"}}},  // Y
    {{{"YZPlane", "Vertical"}, {"XZPlane", "Horizontal"}}},  // Z
}};
constexpr const char* kAxisNames[3] = {"XAxis", "YAxis", "ZAxis"};

std::string name(const char* prefix, const char* side, const char* rest)
{
    return std::string(prefix) + side + rest;
}

} // namespace

AxesPage::AxesPage(FormatSheet& sheet) : FormatPage(sheet, "Axes", "axes")
{
    auto* page = new QVBoxLayout(this);
    QBoxLayout* content = nullptr;
    QTabBar* tabs = MakeTabs({"X-Axis", "Y-Axis", "Z-Axis"}, this);
    tabs->setToolTip(QStringLiteral("Click tab to choose the axis."));
    page->addWidget(TabbedFrame(tabs, content, this));

    auto* grids = new QGroupBox(QStringLiteral("Grids"), this);
    auto* g = new QGridLayout(grids);
    auto* lines = MakeCheck("Draw &Lines", "Draw grid lines on the backplanes at the axis divisions.", grids);
    auto* ticks = MakeCheck("Draw &Ticks", "Draw tick marks on the backplanes at the axis divisions.", grids);
    autoGrid_ = MakeCheck("Auto &Grid", "Choose the axis divisions automatically.", grids);
    auto* lineColor = MakeColor("Color of the grid lines of this axis.", grids);
    number_ = MakeNumber(1, 99, true, "Number of major axis divisions on axis.", grids);
    auto* lineWeight = MakeNumber(0.1, 10, false, "Width of the grid lines, in pixels (0.1 to 10).", grids);
    g->addWidget(lines, 0, 0);
    g->addWidget(ticks, 1, 0);
    g->addWidget(autoGrid_, 2, 0);
    g->addWidget(MakeLabel("Line &Color", lineColor, grids), 0, 1);
    g->addWidget(lineColor, 0, 2, Qt::AlignLeft);
    g->addWidget(MakeLabel("&Number", number_, grids), 1, 1);
    g->addWidget(number_, 1, 2);
    g->addWidget(MakeLabel("Line &Weight", lineWeight, grids), 2, 1);
    g->addWidget(lineWeight, 2, 2);
    g->setColumnStretch(3, 1);
    content->addWidget(grids);

    auto* row = new QHBoxLayout;
    auto* format = new QGroupBox(QStringLiteral("Axis Format"), this);
    auto* f = new QGridLayout(format);
    auto* numbered = MakeCheck("&Show Numbers", "Draw numbered axes.", format);
    auto* axisColor = MakeColor("Color of the axis line, its ticks and numbers.", format);
    auto* axisWeight = MakeNumber(0.1, 10, false, "Width of the axis line, in pixels (0.1 to 10).", format);
    f->addWidget(numbered, 0, 0, 1, 2);
    f->addWidget(MakeLabel("Axis C&olor", axisColor, format), 1, 0);
    f->addWidget(axisColor, 1, 1, Qt::AlignLeft);
    f->addWidget(MakeLabel("Axis W&eight", axisWeight, format), 2, 0);
    f->addWidget(axisWeight, 2, 1);
    row->addWidget(format);

    auto* limits = new QGroupBox(QStringLiteral("Axis Limits"), this);
    auto* l = new QGridLayout(limits);
    autoScale_ = MakeCheck("A&uto Scale", "Take the axis limits from the data.", limits);
    min_ = MakeFreeNumber("Lowest value shown on the axis when it is not scaled automatically.", limits);
    max_ = MakeFreeNumber("Highest value shown on the axis when it is not scaled automatically.", limits);
    l->addWidget(autoScale_, 0, 0, 1, 2);
    l->addWidget(MakeLabel("&Minimum Value", min_, limits), 1, 0);
    l->addWidget(min_, 1, 1);
    l->addWidget(MakeLabel("Ma&ximum Value", max_, limits), 2, 0);
    l->addWidget(max_, 2, 1);
    row->addWidget(limits, 1);
    content->addLayout(row);
    page->addStretch(1);

    tabFields.check(lines, kDrawLines);
    tabFields.check(ticks, kDrawTicks);
    tabFields.check(autoGrid_, kAutoGrid);
    tabFields.color(lineColor, kLineColor);
    tabFields.number(number_, kNumber);
    tabFields.number(lineWeight, kLineWeight);
    tabFields.check(numbered, kNumbered);
    tabFields.color(axisColor, kAxisColor);
    tabFields.number(axisWeight, kAxisWeight);
    tabFields.check(autoScale_, kAutoScale);
    tabFields.number(min_, kMin);
    tabFields.number(max_, kMax);
    setTabs(tabs, false);
}

FieldValues AxesPage::ReadTab(int tab)
{
    FieldValues v(kSlots);
    platform::Ref<platform::Dispatch> axis = ReadObject(sheet_.modelBox(), kAxisNames[tab]);
    ReadFields(*axis, kAxisFields, v);
    // A switch on one plane and off on the other shows as mixed.
    auto both = [&](const char* rest) {
        double a = ReadNumber(*ReadObject(sheet_.modelBox(), kAxisPlanes[std::size_t(tab)][0].plane),
                              name("Show", kAxisPlanes[std::size_t(tab)][0].side, rest));
        double b = ReadNumber(*ReadObject(sheet_.modelBox(), kAxisPlanes[std::size_t(tab)][1].plane),
                              name("Show", kAxisPlanes[std::size_t(tab)][1].side, rest));
        return FieldValue(a == b ? a : 2.0);
    };
    v[kDrawLines] = both("GridLines");
    v[kDrawTicks] = both("TickMarks");
    const PlaneSide& first = kAxisPlanes[std::size_t(tab)][0];
    platform::Ref<platform::Dispatch> plane = ReadObject(sheet_.modelBox(), first.plane);
    v[kLineColor] = FieldValue(double(ReadColor(*plane, name("", first.side, "GridColor"))));
    v[kLineWeight] = FieldValue(ReadNumber(*plane, name("", first.side, "GridLineWeight")) / 10.0);
    return v;
}

void AxesPage::WriteTab(int tab, const FieldRecord& record)
{
    platform::Ref<platform::Dispatch> axis = ReadObject(sheet_.modelBox(), kAxisNames[tab]);
    WriteFields(*axis, kAxisFields, record);
    long long tenths = std::llround(record.now[kLineWeight].number * 10.0);
    if (record.changed(kLineWeight))
        WriteInt(*axis, "GridLineWeight", tenths);
    for (const PlaneSide& p : kAxisPlanes[std::size_t(tab)]) {
        platform::Ref<platform::Dispatch> plane = ReadObject(sheet_.modelBox(), p.plane);
        if (record.changed(kDrawLines))
            WriteSwitch(*plane, name("Show", p.side, "GridLines"), record.now[kDrawLines].number != 0.0);
        if (record.changed(kDrawTicks))
            WriteSwitch(*plane, name("Show", p.side, "TickMarks"), record.now[kDrawTicks].number != 0.0);
        if (record.changed(kLineColor))
            WriteColorKeepingHighByte(*plane, name("", p.side, "GridColor"),
                                      std::uint32_t(record.now[kLineColor].number));
        if (record.changed(kLineWeight))
            WriteInt(*plane, name("", p.side, "GridLineWeight"), tenths);
    }
}

void AxesPage::Shown()
{
    number_->setEnabled(!autoGrid_->isChecked());
    min_->setEnabled(!autoScale_->isChecked());
    max_->setEnabled(!autoScale_->isChecked());
}

QWidget* AxesPage::CrossCheck(QString& message)
{
    const FieldRecord& r = tabRecord();
    double lo = 0.0, hi = 0.0;
    // Limits the user typed, or limits that come into use.
    bool limitsChanged = r.changed(kMin) || r.changed(kMax) || (r.changed(kAutoScale) && r.now[kAutoScale].number == 0.0);
    // A limit that does not read was refused before this.
    if (!limitsChanged || !min_->value(lo) || !max_->value(hi))
        return nullptr;
    if (hi > lo)
        return nullptr;
    message = QStringLiteral("Maximum value must be greater than minimum value.");
    return max_;
}

} // namespace halvex
