#include "plot/dialog/backplanes_page.h"

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

#include <string>
#include <vector>

namespace halvex {

namespace {

// Per axis of the plane (0 first, whose values the "horizontal" elements
// sit at; 1 second, "vertical"): eight slots from kAxisSlots + 8 × axis.
enum Slot { kFill, kFillColor, kBorder, kAxisSlots };
enum AxisSlot { kLines, kTicks, kLineColor, kLineWeight, kSubLines, kSubTicks, kSubColor, kSubWeight, kPerAxis };
constexpr int kSlots = kAxisSlots + 2 * kPerAxis;
constexpr const char* kSides[2] = {"Horizontal", "Vertical"};
constexpr const char* kPlanes[3] = {"XYPlane", "YZPlane", "XZPlane"};
// The first and second axis of each plane, by letter.
constexpr const char* kPlaneAxes[3][2] = {{"X", "Y"}, {"Y", "Z"}, {"Z", "X"}};

struct Named {
    int slot;
    std::string property;
    PropertyKind kind;
    double scale;
};

// The plane's fields by name; the names are built once.
const std::vector<PropertyField>& planeFields()
{
    static const std::vector<Named> named = [] {
        std::vector<Named> n{{kFill, "Fill", PropertyKind::Switch, 1},
                             {kFillColor, "FillColor", PropertyKind::Color, 1},
                             {kBorder, "Border", PropertyKind::Switch, 1}};
        for (int a = 0; a < 2; ++a) {
            std::string side = kSides[a];
            int base = kAxisSlots + a * kPerAxis;
            n.push_back({base + kLines, "Show" + side + "GridLines", PropertyKind::Switch, 1});
            n.push_back({base + kTicks, "Show" + side + "TickMarks", PropertyKind::Switch, 1});
            n.push_back({base + kLineColor, side + "GridColor", PropertyKind::Color, 1});
            n.push_back({base + kLineWeight, side + "GridLineWeight", PropertyKind::Integer, 10});
            n.push_back({base + kSubLines, "Show" + side + "Subdivisions", PropertyKind::Switch, 1});
            n.push_back({base + kSubTicks, "Show" + side + "SubTickMarks", PropertyKind::Switch, 1});
            n.push_back({base + kSubColor, side + "SubdivisionColor", PropertyKind::Color, 1});
            n.push_back({base + kSubWeight, side + "SubdivisionWeight", PropertyKind::Integer, 10});
        }
        return n;
    }();
    static const std::vector<PropertyField> fields = [] {
        std::vector<PropertyField> f;
        for (const Named& n : named)
            f.push_back({n.slot, n.property.c_str(), n.kind, n.scale});
        return f;
    }();
    return fields;
}

} // namespace

BackplanesPage::BackplanesPage(FormatSheet& sheet) : FormatPage(sheet, "Backplanes", "back")
{
    auto* page = new QVBoxLayout(this);
    QBoxLayout* content = nullptr;
    QTabBar* tabs = MakeTabs({"X-Y Backplane", "Y-Z Backplane", "X-Z Backplane"}, this);
    tabs->setToolTip(QStringLiteral("Click tab to choose the backplane."));
    page->addWidget(TabbedFrame(tabs, content, this));

    auto* top = new QGridLayout;
    auto* fill = MakeCheck("&Fill Backplane", "Fill the backplane with a color.", this);
    auto* fillColor = MakeColor("Color of the backplane.", this);
    auto* border = MakeCheck("&Backplane Border", "Draw a border around the backplane.", this);
    auto* borderColor = MakeColor("Color of the backplane borders and of the box edges.", this);
    top->addWidget(fill, 0, 0);
    top->addWidget(MakeLabel("C&olor", fillColor, this), 0, 1);
    top->addWidget(fillColor, 0, 2, Qt::AlignLeft);
    top->addWidget(border, 1, 0);
    top->addWidget(MakeLabel("C&olor", borderColor, this), 1, 1);
    top->addWidget(borderColor, 1, 2, Qt::AlignLeft);
    top->setColumnStretch(3, 1);
    content->addLayout(top);

    tabFields.check(fill, kFill);
    tabFields.color(fillColor, kFillColor);
    tabFields.check(border, kBorder);
    pageFields.color(borderColor, 0);

    for (int sub = 0; sub < 2; ++sub) {
        auto* group = new QGroupBox(sub ? QStringLiteral("Sub-Grids") : QStringLiteral("Grids"), this);
        auto* row = new QHBoxLayout(group);
        for (int a = 0; a < 2; ++a) {
            auto* axis = new QGroupBox(group);
            auto* g = new QGridLayout(axis);
            const int base = kAxisSlots + a * kPerAxis + (sub ? kSubLines : kLines);
            auto* lines = MakeCheck(sub ? "Dra&w Lines" : "&Draw Lines",
                                    sub ? "Draw lines between the grid lines, as many as the axis's subdivisions."
                                        : "Draw grid lines at the axis divisions.",
                                    axis);
            auto* ticks = MakeCheck(sub ? "Draw Ti&cks" : "Draw &Ticks",
                                    sub ? "Draw short marks at the subdivisions along the border."
                                        : "Draw short marks at the axis divisions along the border.",
                                    axis);
            auto* color = MakeColor(sub ? "Color of the sub-grid lines." : "Color of the grid lines.", axis);
            auto* weight = MakeNumber(0.1, 10, false,
                                      sub ? "Width of the sub-grid lines, in pixels (0.1 to 10)."
                                          : "Width of the grid lines, in pixels (0.1 to 10).",
                                      axis);
            g->addWidget(lines, 0, 0, 1, 2);
            g->addWidget(ticks, 1, 0, 1, 2);
            g->addWidget(MakeLabel(sub ? "Line Co&lor" : "Li&ne Color", color, axis), 2, 0);
            g->addWidget(color, 2, 1, Qt::AlignLeft);
            g->addWidget(MakeLabel(sub ? "Line Weig&ht" : "Line Wei&ght", weight, axis), 3, 0);
            g->addWidget(weight, 3, 1);
            row->addWidget(axis, 1);
            tabFields.check(lines, base);
            tabFields.check(ticks, base + 1);
            tabFields.color(color, base + 2);
            tabFields.number(weight, base + 3);
            (sub ? subGrids_ : grids_)[std::size_t(a)] = axis;
        }
        content->addWidget(group);
    }
    page->addStretch(1);
    setTabs(tabs, false);
}

FieldValues BackplanesPage::ReadPage()
{
    return {FieldValue(double(ReadColor(sheet_.modelBox(), "BoxColor")))};
}

void BackplanesPage::WritePage(const FieldRecord& record)
{
    if (record.changed(0))
        WriteColorKeepingHighByte(sheet_.modelBox(), "BoxColor", std::uint32_t(record.now[0].number));
}

FieldValues BackplanesPage::ReadTab(int tab)
{
    FieldValues v(kSlots);
    ReadFields(*ReadObject(sheet_.modelBox(), kPlanes[tab]), planeFields(), v);
    return v;
}

void BackplanesPage::WriteTab(int tab, const FieldRecord& record)
{
    WriteFields(*ReadObject(sheet_.modelBox(), kPlanes[tab]), planeFields(), record);
}

void BackplanesPage::Shown()
{
    int tab = currentTab() < 0 ? 0 : currentTab();
    for (int a = 0; a < 2; ++a) {
        QString title = QStringLiteral("%1-Axis").arg(Caption(kPlaneAxes[tab][a]));
        grids_[std::size_t(a)]->setTitle(title);
        subGrids_[std::size_t(a)]->setTitle(title);
    }
}

} // namespace halvex
