#include "plot/dialog/general_page.h"

#include "plot/dialog/color_button.h"
#include "plot/dialog/format_sheet.h"
#include "plot/dialog/number_edit.h"
#include "plot/dialog/page_widgets.h"
#include "plot/dialog/property_io.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabBar>
#include <QVBoxLayout>

#include <array>

namespace halvex {

namespace {

enum Slot { kRotation, kTilt, kTwist, kZoom, kAxesStyle, kEqualScales, kShowBorder, kBorderColor, kShowBox, kBoxColor,
            kSlots };

constexpr std::array<PropertyField, 7> kControlFields{{
    {kRotation, "Rotation", PropertyKind::Number},
    {kTilt, "Tilt", PropertyKind::Number},
    {kTwist, "Twist", PropertyKind::Number},
    {kZoom, "Radius", PropertyKind::Number},
    {kEqualScales, "ConstrainedView", PropertyKind::Switch},
    {kShowBorder, "ShowBorder", PropertyKind::Switch},
    {kBorderColor, "BorderColor", PropertyKind::Color},
}};
constexpr std::array<PropertyField, 3> kBoxFields{{
    {kAxesStyle, "AxesStyle", PropertyKind::Integer},
    {kShowBox, "ShowBox", PropertyKind::Switch},
    {kBoxColor, "BoxColor", PropertyKind::Color},
}};

} // namespace

GeneralPage::GeneralPage(FormatSheet& sheet) : FormatPage(sheet, "General", "general")
{
    auto* page = new QVBoxLayout(this);

    auto* view = new QGroupBox(QStringLiteral("View"), this);
    auto* grid = new QGridLayout(view);
    auto* rotation = MakeNumber(-360, 360, false, "Rotation of the plot about the vertical axis, in degrees (-360 to 360).", view);
    auto* tilt = MakeNumber(0, 180, false, "Tilt of the plot toward the viewer, in degrees (0 to 180).", view);
    auto* twist = MakeNumber(-360, 360, false, "Twist of the plot about the viewing direction, in degrees (-360 to 360).", view);
    auto* zoom = MakeNumber(0.0001, 10000, false, "Distance of the plot from the viewer: larger values make it smaller (0.0001 to 10000).", view);
    for (NumberEdit* e : {rotation, tilt, twist})
        e->setSingle(true);
    zoom->setStep(0.1);
    grid->addWidget(MakeLabel("&Rotation:", rotation, view), 0, 0);
    grid->addWidget(rotation, 0, 1);
    grid->addWidget(MakeLabel("&Tilt:", tilt, view), 0, 2);
    grid->addWidget(tilt, 0, 3);
    grid->addWidget(MakeLabel("T&wist:", twist, view), 1, 0);
    grid->addWidget(twist, 1, 1);
    grid->addWidget(MakeLabel("&Zoom:", zoom, view), 1, 2);
    grid->addWidget(zoom, 1, 3);
    page->addWidget(view);

    auto* row = new QHBoxLayout;
    auto* axes = new QGroupBox(QStringLiteral("Axes Style"), this);
    auto* axesLayout = new QVBoxLayout(axes);
    QButtonGroup* style = MakeChoice({"P&erimeter", "C&orner", "&None"},
                                     {"Draw the axes along the outer edges of the box.",
                                      "Draw the axes from the corner of the box.", "Draw no axes."},
                                     axesLayout, axes);
    row->addWidget(axes);

    auto* frame = new QGroupBox(QStringLiteral("Frame"), this);
    auto* frameGrid = new QGridLayout(frame);
    auto* equal = MakeCheck("E&qual Scales", "Draw all three axes to the same scale.", frame);
    auto* border = MakeCheck("Show Bor&der", "Draw a border around the control.", frame);
    auto* borderColor = MakeColor("Color of the border.", frame);
    auto* box = MakeCheck("Show Bo&x", "Draw the edges of the box around the plot.", frame);
    auto* boxColor = MakeColor("Color of the box edges and of the backplane borders.", frame);
    frameGrid->addWidget(equal, 0, 0, 1, 2);
    frameGrid->addWidget(border, 1, 0);
    frameGrid->addWidget(borderColor, 1, 1);
    frameGrid->addWidget(box, 2, 0);
    frameGrid->addWidget(boxColor, 2, 1);
    frameGrid->setColumnStretch(2, 1);
    row->addWidget(frame, 1);
    page->addLayout(row);

    QBoxLayout* content = nullptr;
    QTabBar* tabs = MakeModelTabs(sheet, this);
    page->addWidget(TabbedFrame(tabs, content, this));
    auto* displayLabel = new QLabel(QStringLiteral("Display As:"), this);
    content->addWidget(displayLabel);
    auto* kinds = new QGridLayout;
    displayAs_ = MakeChoice({"&Surface Plot", "&Contour Plot", "Data Po&ints Plot", "&Vector Field Plot", "&Bar Plot",
                             "&Patch Plot"},
                            {"Show the data as a surface.", "Show the data as contours seen from above.",
                             "Show the data as points.", "Show the data as a field of arrows.",
                             "Show the data as bars.", "Show the data as patches of constant height."},
                            nullptr, this);
    for (int k = 0; k < 6; ++k)
        kinds->addWidget(displayAs_->button(k), k % 3, k / 3);
    content->addLayout(kinds);
    page->addStretch(1);

    pageFields.number(rotation, kRotation);
    pageFields.number(tilt, kTilt);
    pageFields.number(twist, kTwist);
    pageFields.number(zoom, kZoom);
    pageFields.choice(style, kAxesStyle);
    pageFields.check(equal, kEqualScales);
    pageFields.check(border, kShowBorder);
    pageFields.color(borderColor, kBorderColor);
    pageFields.check(box, kShowBox);
    pageFields.color(boxColor, kBoxColor);
    tabFields.choice(displayAs_, 0);
    setTabs(tabs, true);
}

FieldValues GeneralPage::ReadPage()
{
    FieldValues v(kSlots);
    ReadFields(sheet_.control(), kControlFields, v);
    ReadFields(sheet_.modelBox(), kBoxFields, v);
    return v;
}

void GeneralPage::WritePage(const FieldRecord& record)
{
    WriteFields(sheet_.control(), kControlFields, record);
    WriteFields(sheet_.modelBox(), kBoxFields, record);
}

int GeneralPage::TabCount() const
{
    return sheet_.modelCount();
}

FieldValues GeneralPage::ReadTab(int tab)
{
    return {FieldValue(ReadNumber(sheet_.model(tab), "ViewAs"))};
}

void GeneralPage::WriteTab(int tab, const FieldRecord& record)
{
    WriteInt(sheet_.model(tab), "ViewAs", std::llround(record.now[0].number));
}

int GeneralPage::plotKind(int k) const
{
    if (!loaded() || k < 0 || k >= tabRecordCount())
        return -1;
    return int(tabRecord(k).now[0].number);
}

} // namespace halvex
