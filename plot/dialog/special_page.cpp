#include "plot/dialog/special_page.h"

#include "plot/dialog/format_sheet.h"
#include "plot/dialog/number_edit.h"
#include "plot/dialog/page_widgets.h"
#include "plot/dialog/property_io.h"

#include <QLabel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <array>
#include <cmath>
#include <string>

namespace halvex {

namespace {

// Five contour slots per direction, then the model's other fields.
enum ContourSlot { kFill, kLines, kAuto, kNumbered, kNumber, kPerDirection };
enum Slot { kLayout = 3 * kPerDirection, kSpacing, kRows, kColumns, kConnectivity, kLineStyle, kSlots };

constexpr std::array<PropertyField, 6> kModelFields{{
    {kLayout, "BarPlotLayout", PropertyKind::Integer},
    {kSpacing, "BarPlotSpacing", PropertyKind::Integer},
    {kRows, "InterpolatedRows", PropertyKind::Integer},
    {kColumns, "InterpolatedColumns", PropertyKind::Integer},
    {kConnectivity, "DataPointsConnectivity", PropertyKind::Integer},
    {kLineStyle, "LineStyle", PropertyKind::Integer},
}};

// The properties of a contour slot, %c standing for the direction; the
// second has no twin when empty.
struct ContourProperty {
    const char* plain;
    const char* twin;
};
constexpr std::array<ContourProperty, kPerDirection> kContourProperties{{
    {"Fill%cContours", "Fill%cContours3D"},
    {"Draw%cContours", "Draw%cContours3D"},
    {"AutoContour%c", "AutoContour%c3D"},
    {"NumberedContours%c", ""},
    {"NumberOfContours%c", "NumberOfContours%c3D"},
}};

std::string named(const char* pattern, int d)
{
    std::string s = pattern;
    std::size_t at = s.find("%c");
    if (at != std::string::npos)
        s.replace(at, 2, 1, char('X' + d));
    return s;
}

} // namespace

SpecialPage::SpecialPage(FormatSheet& sheet) : FormatPage(sheet, "Special", "specl")
{
    auto* page = new QVBoxLayout(this);
    QBoxLayout* content = nullptr;
    QTabBar* tabs = MakeModelTabs(sheet, this);
    page->addWidget(TabbedFrame(tabs, content, this));

    auto* row1 = new QHBoxLayout;
    auto* contours = new QGroupBox(QStringLiteral("Contours"), this);
    auto* c = new QGridLayout(contours);
    axis_ = new QComboBox(contours);
    axis_->addItems({QStringLiteral("X-Contours"), QStringLiteral("Y-Contours"), QStringLiteral("Z-Contours")});
    axis_->setToolTip(QStringLiteral("Which contours the settings below are for."));
    auto* fill = MakeCheck("&Fill", "Fill the bands between these contours with color.", contours);
    auto* lines = MakeCheck("&Draw Lines", "Draw these contour lines.", contours);
    auto_ = MakeCheck("Aut&o Contour", "Choose the contour levels automatically.", contours);
    auto* numbered = MakeCheck("&Numbered", "Write the level on each contour line.", contours);
    number_ = MakeNumber(1, 99, true, "Number of contour levels (1 to 99).", contours);
    c->addWidget(axis_, 0, 0, 1, 2);
    c->addWidget(fill, 1, 0);
    c->addWidget(lines, 1, 1);
    c->addWidget(auto_, 2, 0);
    c->addWidget(numbered, 2, 1);
    c->addWidget(MakeLabel("N&umber", number_, contours), 3, 0);
    c->addWidget(number_, 3, 1);
    row1->addWidget(contours, 1);
    contourFields_ = {fill, lines, auto_, numbered, number_};

    auto* bars = new QGroupBox(QStringLiteral("Bar Plot Layout"), this);
    auto* b = new QVBoxLayout(bars);
    QButtonGroup* layout = MakeChoice({"&Matrix", "S&tacked", "&Side by Side"},
                                      {"Bars of the plots stand in a grid.", "Bars of the plots stand on each other.",
                                       "Bars of the plots stand beside each other."},
                                      b, bars);
    auto* spacing = MakeNumber(0, 100, true, "Space between the bars, in percent of their width (0 to 100).", bars);
    auto* spacingRow = new QHBoxLayout;
    spacingRow->addWidget(MakeLabel("S&pacing", spacing, bars));
    spacingRow->addWidget(spacing);
    b->addLayout(spacingRow);
    row1->addWidget(bars, 1);
    content->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    auto* mesh = new QGroupBox(QStringLiteral("Interpolated Mesh"), this);
    auto* m = new QGridLayout(mesh);
    const char* meshTip = "Interpolate a regular grid of z-values over ths scatter data.";
    auto* rows = MakeNumber(2, 99, true, meshTip, mesh);
    auto* columns = MakeNumber(2, 99, true, meshTip, mesh);
    m->addWidget(MakeLabel("&Rows", rows, mesh), 0, 0);
    m->addWidget(rows, 0, 1);
    m->addWidget(MakeLabel("&Columns", columns, mesh), 1, 0);
    m->addWidget(columns, 1, 1);
    m->setRowStretch(2, 1);
    row2->addWidget(mesh, 1);

    auto* connect = new QGroupBox(QStringLiteral("Connectivity"), this);
    auto* k = new QVBoxLayout(connect);
    QButtonGroup* order = MakeChoice({"Ro&w Order", "Increasing &X", "Increasing &Y", "Increasing &Z"},
                                     {"Connect the data points in the order they were given.",
                                      "Connect the data points in the order of their X values.",
                                      "Connect the data points in the order of their Y values.",
                                      "Connect the data points in the order of their Z values."},
                                     k, connect);
    row2->addWidget(connect, 1);
    content->addLayout(row2);

    auto* styleRow = new QHBoxLayout;
    auto* style = new QComboBox(this);
    style->addItems({QStringLiteral("solid"), QStringLiteral("dashed"), QStringLiteral("dotted"), QStringLiteral("da-dot")});
    style->setToolTip(QStringLiteral("The pattern of the lines."));
    styleRow->addWidget(MakeLabel("&Line Style", style, this));
    styleRow->addWidget(style);
    styleRow->addStretch(1);
    content->addLayout(styleRow);
    page->addStretch(1);

    tabFields.check(fill, kFill);
    tabFields.check(lines, kLines);
    tabFields.check(auto_, kAuto);
    tabFields.check(numbered, kNumbered);
    tabFields.number(number_, kNumber);
    tabFields.choice(layout, kLayout);
    tabFields.number(spacing, kSpacing);
    tabFields.number(rows, kRows);
    tabFields.number(columns, kColumns);
    tabFields.choice(order, kConnectivity);
    tabFields.list(style, kLineStyle);
    setTabs(tabs, true);
    axis_->setCurrentIndex(direction_);
    ShowContours(direction_);
    QObject::connect(axis_, &QComboBox::activated, this, [this](int d) { ShowContours(d); });
}

bool SpecialPage::ShowContours(int d)
{
    if (d < 0 || d > 2)
        return false;
    if (d != direction_ && loaded() && !Validate()) {
        QSignalBlocker block(axis_);
        axis_->setCurrentIndex(direction_);
        return false;
    }
    direction_ = d;
    for (int k = 0; k < kPerDirection; ++k)
        tabFields.rebind(contourFields_[std::size_t(k)], d * kPerDirection + k);
    QSignalBlocker block(axis_);
    axis_->setCurrentIndex(d);
    showRecords();
    return true;
}

int SpecialPage::TabCount() const
{
    return sheet_.modelCount();
}

FieldValues SpecialPage::ReadTab(int tab)
{
    platform::Dispatch& model = sheet_.model(tab);
    FieldValues v(kSlots);
    ReadFields(model, kModelFields, v);
    for (int d = 0; d < 3; ++d)
        for (int k = 0; k < kPerDirection; ++k) {
            const ContourProperty& p = kContourProperties[std::size_t(k)];
            double x = ReadNumber(model, named(p.plain, d));
            v[std::size_t(d * kPerDirection + k)] = FieldValue(k == kNumber ? x : double(x != 0.0));
        }
    return v;
}

void SpecialPage::WriteTab(int tab, const FieldRecord& record)
{
    platform::Dispatch& model = sheet_.model(tab);
    for (int d = 0; d < 3; ++d)
        for (int k = 0; k < kPerDirection; ++k) {
            std::size_t slot = std::size_t(d * kPerDirection + k);
            if (!record.changed(slot))
                continue;
            const ContourProperty& p = kContourProperties[std::size_t(k)];
            double x = record.now[slot].number;
            for (const char* pattern : {p.plain, p.twin}) {
                if (!*pattern)
                    continue;
                if (k == kNumber)
                    WriteInt(model, named(pattern, d), std::llround(x));
                else
                    WriteSwitch(model, named(pattern, d), x != 0.0);
            }
        }
    WriteFields(model, kModelFields, record);
}

void SpecialPage::Shown()
{
    if (currentTab() >= 0)
        number_->setEnabled(!auto_->isChecked());
}

} // namespace halvex
