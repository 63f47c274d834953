#include "plot/dialog/lighting_page.h"

#include "plot/dialog/color_button.h"
#include "plot/dialog/format_sheet.h"
#include "plot/dialog/lighting_schemes.h"
#include "plot/dialog/number_edit.h"
#include "plot/dialog/page_widgets.h"
#include "plot/dialog/property_io.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <array>

namespace halvex {

namespace {

enum PageSlot { kLighting, kAmbient, kPageSlots };
// kOff: 0 on, 1 off (the order of the buttons); kExists: the slot holds a
// light.
enum TabSlot { kOff, kDiffuse, kSpecular, kX, kY, kZ, kInfinite, kExists, kTabSlots };

constexpr std::array<PropertyField, 2> kPageFields{{
    {kLighting, "Lighting", PropertyKind::Switch},
    {kAmbient, "AmbientLight", PropertyKind::Color},
}};
constexpr std::array<PropertyField, 5> kLightFields{{
    {kDiffuse, "Diffuse", PropertyKind::Color},
    {kSpecular, "Specular", PropertyKind::Color},
    {kX, "PosX", PropertyKind::Number},
    {kY, "PosY", PropertyKind::Number},
    {kZ, "PosZ", PropertyKind::Number},
}};

FieldValues readLight(platform::Dispatch& light)
{
    FieldValues v(kTabSlots);
    ReadFields(light, kLightFields, v);
    v[kOff] = FieldValue(ReadNumber(light, "Enabled") != 0.0 ? 0.0 : 1.0);
    v[kInfinite] = FieldValue(ReadNumber(light, "PositionScale") == 0.0 ? 1.0 : 0.0);
    v[kExists] = FieldValue(1.0);
    return v;
}

// An empty slot shows what a new light there would start with, off.
FieldValues emptySlot()
{
    FieldValues v(kTabSlots);
    v[kOff] = FieldValue(1.0);
    v[kInfinite] = FieldValue(1.0);
    return v;
}

void writeLight(platform::Dispatch& light, const FieldRecord& r)
{
    WriteFields(light, kLightFields, r);
    if (r.changed(kOff))
        WriteInt(light, "Enabled", r.now[kOff].number == 0.0 ? 1 : 0);
    if (r.changed(kInfinite))
        WriteNumber(light, "PositionScale", r.now[kInfinite].number != 0.0 ? 0.0 : 1.0);
}

} // namespace

LightingPage::LightingPage(FormatSheet& sheet) : FormatPage(sheet, "Lighting", "light")
{
    auto* page = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    auto* lighting = MakeCheck("&Enable Lighting", "Light the plot with the lights below.", this);
    auto* ambient = MakeColor("Color of the light that falls on every side alike.", this);
    schemes_ = new QComboBox(this);
    for (const LightingScheme& s : kLightingSchemes)
        schemes_->addItem(Caption(s.name));
    schemes_->setToolTip(QStringLiteral("Set the ambient color and lights 1 to 3 to one of the prepared schemes."));
    top->addWidget(lighting, 0, 0, 1, 2);
    top->addWidget(MakeLabel("A&mbient Light Color", ambient, this), 1, 0);
    top->addWidget(ambient, 1, 1, Qt::AlignLeft);
    top->addWidget(MakeLabel("Lighting S&cheme:", schemes_, this), 2, 0);
    top->addWidget(schemes_, 2, 1);
    top->setColumnStretch(2, 1);
    page->addLayout(top);

    QBoxLayout* content = nullptr;
    QTabBar* tabs = new QTabBar(this);
    for (int k = 0; k < 8; ++k)
        tabs->addTab(QStringLiteral("%1 %2").arg(QStringLiteral("Light")).arg(k + 1));
    tabs->setToolTip(QStringLiteral("Click tab to choose light 1-8"));
    tabs->setUsesScrollButtons(false);
    page->addWidget(TabbedFrame(tabs, content, this));

    auto* row = new QHBoxLayout;
    auto* light = new QGridLayout;
    QButtonGroup* off = MakeChoice({"&On", "O&ff"}, {"Switch the light on.", "Switch the light off."}, nullptr, this);
    auto* diffuse = MakeColor("Color of the light on the lit side of the surface.", this);
    auto* specular = MakeColor("Color of the light's highlights.", this);
    light->addWidget(off->button(0), 0, 0, 1, 2);
    light->addWidget(off->button(1), 1, 0, 1, 2);
    light->addWidget(MakeLabel("&Diffuse Color", diffuse, this), 2, 0);
    light->addWidget(diffuse, 2, 1, Qt::AlignLeft);
    light->addWidget(MakeLabel("&Specular Color", specular, this), 3, 0);
    light->addWidget(specular, 3, 1, Qt::AlignLeft);
    light->setRowStretch(4, 1);
    row->addLayout(light);
    auto* position = new QGroupBox(QStringLiteral("Position"), this);
    auto* p = new QGridLayout(position);
    std::array<NumberEdit*, 3> xyz{};
    const char* labels[3] = {"&X", "&Y", "&Z"};
    const char* tips[3] = {"Position of the light along the X axis (its direction for an infinite light).",
                           "Position of the light along the Y axis (its direction for an infinite light).",
                           "Position of the light along the Z axis (its direction for an infinite light)."};
    for (int k = 0; k < 3; ++k) {
        xyz[std::size_t(k)] = MakeFreeNumber(tips[k], position);
        xyz[std::size_t(k)]->setSingle(true);
        p->addWidget(MakeLabel(labels[k], xyz[std::size_t(k)], position), k, 0);
        p->addWidget(xyz[std::size_t(k)], k, 1);
    }
    auto* infinite = MakeCheck("&Infinite Light Source", "The light shines from far away, in parallel rays from its direction.", position);
    p->addWidget(infinite, 3, 0, 1, 2);
    p->setColumnStretch(2, 1);
    row->addWidget(position, 1);
    content->addLayout(row);
    page->addStretch(1);

    pageFields.check(lighting, kLighting);
    pageFields.color(ambient, kAmbient);
    tabFields.choice(off, kOff);
    tabFields.color(diffuse, kDiffuse);
    tabFields.color(specular, kSpecular);
    tabFields.number(xyz[0], kX);
    tabFields.number(xyz[1], kY);
    tabFields.number(xyz[2], kZ);
    tabFields.check(infinite, kInfinite);
    setTabs(tabs, false);
    connect(schemes_, &QComboBox::activated, this, [this](int s) { ChooseScheme(s); });
}

FieldValues LightingPage::ReadPage()
{
    FieldValues v(kPageSlots);
    ReadFields(sheet_.control(), kPageFields, v);
    return v;
}

void LightingPage::WritePage(const FieldRecord& record)
{
    WriteFields(sheet_.control(), kPageFields, record);
}

FieldValues LightingPage::ReadTab(int tab)
{
    platform::Ref<platform::Dispatch> light = CallForObject(sheet_.control(), "Light", tab);
    return light ? readLight(*light) : emptySlot();
}

void LightingPage::WriteTab(int tab, const FieldRecord& record)
{
    platform::Ref<platform::Dispatch> light = CallForObject(sheet_.control(), "Light", tab);
    if (light) {
        writeLight(*light, record);
        return;
    }
    // A new light starts as the control makes it; what the user set differs
    // from that where it differs.
    CallMethod(sheet_.control(), "CreateLight", platform::Variant::fromInt16(std::int16_t(tab)));
    light = CallForObject(sheet_.control(), "Light", tab);
    if (!light)
        return;
    FieldRecord fresh(readLight(*light));
    fresh.now = record.now;
    fresh.now[kExists] = FieldValue(1.0);
    writeLight(*light, fresh);
}

void LightingPage::ChooseScheme(int scheme)
{
    if (scheme < 0 || scheme >= int(kLightingSchemes.size()) || !loaded())
        return;
    const LightingScheme& s = kLightingSchemes[std::size_t(scheme)];
    FieldValue& ambient = pageRecord().now[kAmbient];
    ambient = FieldValue(double((std::uint32_t(ambient.number) & 0xFF000000u) | s.ambient));
    for (int k = 0; k < 3; ++k) {
        FieldValues& v = tabRecord(k).now;
        const SchemeLight& l = s.lights[std::size_t(k)];
        v[kOff] = FieldValue(0.0);
        v[kInfinite] = FieldValue(1.0);
        v[kSpecular] = FieldValue(double(std::uint32_t(v[kSpecular].number) & 0xFF000000u));
        v[kDiffuse] = FieldValue(double((std::uint32_t(v[kDiffuse].number) & 0xFF000000u) | l.diffuse));
        v[kX] = FieldValue(l.x);
        v[kY] = FieldValue(l.y);
        v[kZ] = FieldValue(l.z);
    }
    showRecords();
    sheet_.PageEdited();
}

void LightingPage::Shown()
{
    std::array<LightState, 8> lights;
    for (int k = 0; k < tabRecordCount() && k < 8; ++k) {
        const FieldValues& v = tabRecord(k).now;
        LightState& l = lights[std::size_t(k)];
        l.on = v[kOff].number == 0.0;
        l.diffuse = std::uint32_t(v[kDiffuse].number);
        l.specular = std::uint32_t(v[kSpecular].number);
        l.x = v[kX].number;
        l.y = v[kY].number;
        l.z = v[kZ].number;
        l.infinite = v[kInfinite].number != 0.0;
    }
    QSignalBlocker block(schemes_);
    schemes_->setCurrentIndex(MatchingScheme(std::uint32_t(pageRecord().now[kAmbient].number), lights));
}

} // namespace halvex
