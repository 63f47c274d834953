#include "plot/dialog/appearance_page.h"

#include "plot/dialog/appearance_switches.h"
#include "plot/dialog/color_button.h"
#include "plot/dialog/format_sheet.h"
#include "plot/dialog/number_edit.h"
#include "plot/dialog/page_widgets.h"
#include "plot/dialog/property_io.h"

#include <QLabel>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTabBar>
#include <QVBoxLayout>

#include <array>

namespace halvex {

namespace {

enum Slot { kFill, kHalfFill, kSmooth, kFillMap, kFillColor, kLines, kHideLines, kWeight, kLineMap, kLineColor,
            kPoints, kSymbol, kSize, kPointMap, kPointColor, kKind, kSlots };
enum FillChoice { kFillSurface, kFillContours, kNoFill };
enum LineChoice { kWireframe, kContourLines, kNoLines };

constexpr std::array<PropertyField, 8> kCommonFields{{
    {kSmooth, "SmoothShading", PropertyKind::Switch},
    {kFillColor, "PolygonColor", PropertyKind::Color},
    {kHideLines, "HiddenLineRemoval", PropertyKind::Switch},
    {kWeight, "LineWidth", PropertyKind::Number},
    {kLineColor, "LineColor", PropertyKind::Color},
    {kSymbol, "PointSymbol", PropertyKind::Integer},
    {kSize, "PointSize", PropertyKind::Number},
    {kPointColor, "PointColor", PropertyKind::Color},
}};

// The colour-map switches read as a choice: 0 colour map, 1 solid colour.
constexpr std::array<std::pair<int, const char*>, 3> kMapChoices{{
    {kFillMap, "PolygonColormap"}, {kLineMap, "LineColorMap"}, {kPointMap, "PointColormap"}}};

bool anyOn(platform::Dispatch& model, const std::array<const char*, 2>& names)
{
    for (const char* n : names)
        if (ReadNumber(model, n) != 0.0)
            return true;
    return false;
}

void writeAll(platform::Dispatch& model, const std::array<const char*, 2>& names, bool on)
{
    for (const char* n : names)
        WriteSwitch(model, n, on);
}

// A colour choice beside its button.
QGroupBox* colorOptions(const char* mapCaption, QButtonGroup*& choice, ColorButton*& button, const char* what,
                        QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("Color Options"), parent);
    auto* g = new QGridLayout(box);
    choice = MakeChoice({mapCaption, "Soli&d Color"},
                        {"Color by the colormap (see the Advanced page).", "Use one color."}, nullptr, box);
    button = MakeColor(what, box);
    g->addWidget(choice->button(0), 0, 0, 1, 2);
    g->addWidget(choice->button(1), 1, 0);
    g->addWidget(button, 1, 1, Qt::AlignLeft);
    g->setColumnStretch(2, 1);
    g->setRowStretch(2, 1);
    return box;
}

} // namespace

AppearancePage::AppearancePage(FormatSheet& sheet) : FormatPage(sheet, "Appearance", "appearance")
{
    auto* page = new QVBoxLayout(this);
    QBoxLayout* content = nullptr;
    QTabBar* tabs = MakeModelTabs(sheet, this);
    page->addWidget(TabbedFrame(tabs, content, this));

    // Each option group with its colours beside it, in one grid so that
    // the columns line up.
    auto* grid = new QGridLayout;
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    content->addLayout(grid);

    // Fill.
    auto* fillBox = new QGroupBox(QStringLiteral("Fill Options"), this);
    auto* f = new QVBoxLayout(fillBox);
    fill_ = MakeChoice({"&Fill Surface", "Fill &Contours", "&No Fill"},
                       {"Fill the plot with color.", "Fill the bands between the Z contours with color.",
                        "Leave the plot unfilled."},
                       f, fillBox);
    auto* half = MakeCheck("Alte&rnate Mesh", "Fill every other cell of the mesh.", fillBox);
    auto* smooth = MakeCheck("S&mooth Shading", "Blend the colors across each cell instead of one color a cell.", fillBox);
    f->addWidget(half);
    f->addWidget(smooth);
    grid->addWidget(fillBox, 0, 0);
    QButtonGroup* fillMap = nullptr;
    ColorButton* fillColor = nullptr;
    grid->addWidget(colorOptions("C&olormap", fillMap, fillColor, "Fill color (its transparency stays).", this), 0, 1);

    // Lines.
    auto* lineBox = new QGroupBox(QStringLiteral("Line Options"), this);
    auto* l = new QGridLayout(lineBox);
    auto* lineChoices = new QVBoxLayout;
    lines_ = MakeChoice({"W&ireframe", "Con&tour Lines", "No &Lines"},
                        {"Draw the lines of the mesh.", "Draw the Z contour lines.", "Draw no lines."},
                        lineChoices, lineBox);
    l->addLayout(lineChoices, 0, 0, 2, 1);
    auto* hide = MakeCheck("&Hide Lines", "Hide the lines behind the surface.", lineBox);
    auto* weight = MakeNumber(0.1, 10, false, "Width of the lines, in pixels (0.1 to 10).", lineBox);
    weight->setSingle(true);
    l->addWidget(hide, 0, 1, 1, 2);
    l->addWidget(MakeLabel("W&eight", weight, lineBox), 1, 1);
    l->addWidget(weight, 1, 2);
    l->setColumnStretch(3, 1);
    grid->addWidget(lineBox, 1, 0);
    QButtonGroup* lineMap = nullptr;
    ColorButton* lineColor = nullptr;
    grid->addWidget(colorOptions("Col&ormap", lineMap, lineColor, "Line color.", this), 1, 1);

    // Points.
    auto* pointBox = new QGroupBox(QStringLiteral("Point Options"), this);
    auto* p = new QGridLayout(pointBox);
    auto* points = MakeCheck("Draw &Points", "Draw a symbol at each data point.", pointBox);
    auto* symbol = new QComboBox(pointBox);
    symbol->addItems({QStringLiteral("dots"), QStringLiteral("x's"), QStringLiteral("+'s"), QStringLiteral("boxes"),
                      QStringLiteral("diamonds")});
    symbol->setToolTip(QStringLiteral("The symbol drawn at each point."));
    auto* size = MakeNumber(0.1, 10, false, "Size of the symbols, in pixels (0.1 to 10).", pointBox);
    size->setSingle(true);
    p->addWidget(points, 0, 0, 1, 2);
    p->addWidget(MakeLabel("S&ymbol", symbol, pointBox), 1, 0);
    p->addWidget(symbol, 1, 1);
    p->addWidget(MakeLabel("Si&ze", size, pointBox), 2, 0);
    p->addWidget(size, 2, 1);
    p->setColumnStretch(2, 1);
    grid->addWidget(pointBox, 2, 0);
    QButtonGroup* pointMap = nullptr;
    ColorButton* pointColor = nullptr;
    grid->addWidget(colorOptions("C&olormap", pointMap, pointColor, "Point color.", this), 2, 1);
    page->addStretch(1);

    tabFields.choice(fill_, kFill);
    tabFields.check(half, kHalfFill);
    tabFields.check(smooth, kSmooth);
    tabFields.choice(fillMap, kFillMap);
    tabFields.color(fillColor, kFillColor);
    tabFields.choice(lines_, kLines);
    tabFields.check(hide, kHideLines);
    tabFields.number(weight, kWeight);
    tabFields.choice(lineMap, kLineMap);
    tabFields.color(lineColor, kLineColor);
    tabFields.check(points, kPoints);
    tabFields.list(symbol, kSymbol);
    tabFields.number(size, kSize);
    tabFields.choice(pointMap, kPointMap);
    tabFields.color(pointColor, kPointColor);
    setTabs(tabs, true);
}

int AppearancePage::TabCount() const
{
    return sheet_.modelCount();
}

FieldValues AppearancePage::ReadTab(int tab)
{
    platform::Dispatch& model = sheet_.model(tab);
    // The switches of the kind the General page holds now.
    int kind = sheet_.plotKindOf(tab);
    const KindAppearance& a = AppearanceOfKind(kind);
    FieldValues v(kSlots);
    ReadFields(model, kCommonFields, v);
    bool fill = ReadNumber(model, a.fill) != 0.0;
    v[kFill] = FieldValue(anyOn(model, kContourFillSwitches) ? kFillContours : fill ? kFillSurface : kNoFill);
    v[kHalfFill] = FieldValue(ReadNumber(model, a.halfFill));
    bool lines = ReadNumber(model, a.lines) != 0.0;
    v[kLines] = FieldValue(lines ? kWireframe : anyOn(model, kContourLineSwitches) ? kContourLines : kNoLines);
    v[kPoints] = FieldValue(ReadNumber(model, a.points));
    for (auto [slot, name] : kMapChoices)
        v[std::size_t(slot)] = FieldValue(ReadNumber(model, name) != 0.0 ? 0.0 : 1.0);
    v[kKind] = FieldValue(double(kind));
    return v;
}

void AppearancePage::WriteTab(int tab, const FieldRecord& record)
{
    platform::Dispatch& model = sheet_.model(tab);
    // Written as the kind the user saw while choosing.
    const KindAppearance& a = AppearanceOfKind(int(record.now[kKind].number));
    auto now = [&](int slot) { return record.now[std::size_t(slot)].number; };
    const int fill = int(now(kFill)), lines = int(now(kLines));
    if (record.changed(kFill)) {
        WriteSwitch(model, a.fill, fill != kNoFill);
        writeAll(model, kContourFillSwitches, fill == kFillContours);
    }
    if (record.changed(kHalfFill))
        WriteSwitch(model, a.halfFill, now(kHalfFill) != 0.0);
    if (record.changed(kLines)) {
        WriteSwitch(model, a.lines, lines == kWireframe);
        writeAll(model, kContourLineSwitches, lines == kContourLines);
    }
    if (record.changed(kPoints))
        WriteSwitch(model, a.points, now(kPoints) != 0.0);
    for (auto [slot, name] : kMapChoices)
        if (record.changed(slot))
            WriteSwitch(model, name, now(slot) == 0.0);
    WriteFields(model, kCommonFields, record);
}

void AppearancePage::Shown()
{
    int kind = currentTab() >= 0 ? int(tabRecord().now[kKind].number) : 0;
    const KindAppearance& a = AppearanceOfKind(kind);
    fill_->button(kFillSurface)->setText(Caption(a.fillCaption));
    lines_->button(kWireframe)->setText(Caption(a.linesCaption));
}

} // namespace halvex
