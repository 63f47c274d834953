#include "plot/dialog/advanced_page.h"

#include "plot/dialog/format_sheet.h"
#include "plot/dialog/number_edit.h"
#include "plot/dialog/page_widgets.h"
#include "plot/dialog/property_io.h"
#include "plot/model/colormaps.h"

#include <QLabel>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTabBar>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace halvex {

namespace {

enum PageSlot { kFog, kPerspective, kVerticalScale, kViewingDistance, kHighQuality, kSetDefault, kPageSlots };
enum TabSlot { kSpectrumX, kSpectrumY, kSpectrumZ, kColormap, kShininess, kTransparency, kOffset, kTabSlots };

constexpr std::array<PropertyField, 5> kControlFields{{
    {kFog, "Fog", PropertyKind::Switch},
    {kPerspective, "PerspectiveView", PropertyKind::Switch},
    {kVerticalScale, "VerticalScale", PropertyKind::Integer},
    {kViewingDistance, "ViewingDistance", PropertyKind::Integer},
    {kHighQuality, "HighQualityPrinting", PropertyKind::Switch},
}};
constexpr std::array<PropertyField, 6> kModelFields{{
    {kSpectrumX, "SpectrumX", PropertyKind::Switch},
    {kSpectrumY, "SpectrumY", PropertyKind::Switch},
    {kSpectrumZ, "SpectrumZ", PropertyKind::Switch},
    {kColormap, "ColormapIndex", PropertyKind::Integer},
    {kShininess, "Shininess", PropertyKind::Integer},
    {kOffset, "PolygonOffsetFactor", PropertyKind::Number},
}};

} // namespace

int AdvancedPage::TransparencyOf(std::uint32_t color) noexcept
{
    int alpha = int(color >> 24);
    return int(std::lround((255 - alpha) * 100.0 / 255.0));
}

std::uint32_t AdvancedPage::AlphaOf(int transparency) noexcept
{
    return std::uint32_t(std::lround(255.0 * (100 - transparency) / 100.0));
}

AdvancedPage::AdvancedPage(FormatSheet& sheet) : FormatPage(sheet, "Advanced", "adv")
{
    auto* page = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* view = new QGroupBox(QStringLiteral("View"), this);
    auto* v = new QGridLayout(view);
    auto* fog = MakeCheck("Enable &Fog", "Fade the far parts of the plot into the fog color.", view);
    auto* perspective = MakeCheck("&Perspective", "Draw far parts smaller than near ones.", view);
    auto* scale = MakeNumber(1, 100, true, "Height of the box in percent of its width (1 to 100).", view);
    auto* distance = MakeNumber(1, 99, true, "Distance from the eye to the screen in inches, for the perspective (1 to 99).", view);
    v->addWidget(fog, 0, 0, 1, 2);
    v->addWidget(perspective, 1, 0, 1, 2);
    v->addWidget(MakeLabel("&Vertical Scale", scale, view), 2, 0);
    v->addWidget(scale, 2, 1);
    v->addWidget(MakeLabel("Viewing &Distance", distance, view), 3, 0);
    v->addWidget(distance, 3, 1);
    top->addWidget(view, 1);
    auto* printing = new QGroupBox(QStringLiteral("Printing"), this);
    auto* p = new QVBoxLayout(printing);
    auto* quality = MakeCheck("High &Quality Printing", "Print at the printer's full resolution.", printing);
    auto* setDefault = MakeCheck("S&et as default", "New plots start with this printing quality.", printing);
    p->addWidget(quality);
    p->addWidget(setDefault);
    p->addStretch(1);
    top->addWidget(printing, 1);
    page->addLayout(top);

    QBoxLayout* content = nullptr;
    QTabBar* tabs = MakeModelTabs(sheet, this);
    page->addWidget(TabbedFrame(tabs, content, this));
    auto* row = new QHBoxLayout;
    auto* colormap = new QGroupBox(QStringLiteral("Colormap"), this);
    auto* c = new QGridLayout(colormap);
    auto* sx = MakeCheck("Increasing &X", "Lay the colors of the colormap along X.", colormap);
    auto* sy = MakeCheck("Increasing &Y", "Lay the colors of the colormap along Y.", colormap);
    auto* sz = MakeCheck("Increasing &Z", "Lay the colors of the colormap along Z (height).", colormap);
    auto* maps = new QComboBox(colormap);
    maps->addItems({QStringLiteral("Rainbow"), QStringLiteral("Greyscale")});
    const ColormapList& loaded = ColormapList::instance();
    for (std::size_t k = 0; k < loaded.size(); ++k)
        maps->addItem(QString::fromStdString(loaded.at(k).name));
    maps->setToolTip(QStringLiteral("The colors the plot is colored with."));
    c->addWidget(sx, 0, 0);
    c->addWidget(sy, 1, 0);
    c->addWidget(sz, 2, 0);
    c->addWidget(MakeLabel("C&hoose Colormap", maps, colormap), 3, 0);
    c->addWidget(maps, 4, 0);
    row->addWidget(colormap, 1);
    auto* material = new QGroupBox(QStringLiteral("Material"), this);
    auto* m = new QGridLayout(material);
    auto* shininess = MakeNumber(0, 128, true, "The shininess of the filled surface (0-128).", material);
    auto* transparency = MakeNumber(0, 100, true, "How much of what lies behind shows through the fill, in percent (0 to 100).", material);
    auto* offset = MakeNumber(0, 10, false, "How far the fill is pushed behind its lines, so that they stay visible (0 to 10).", material);
    offset->setSingle(true);
    m->addWidget(MakeLabel("&Shininess", shininess, material), 0, 0);
    m->addWidget(shininess, 0, 1);
    m->addWidget(MakeLabel("% &Transparency", transparency, material), 1, 0);
    m->addWidget(transparency, 1, 1);
    m->addWidget(MakeLabel("P&olygon Offset", offset, material), 2, 0);
    m->addWidget(offset, 2, 1);
    m->setRowStretch(3, 1);
    row->addWidget(material, 1);
    content->addLayout(row);
    page->addStretch(1);

    pageFields.check(fog, kFog);
    pageFields.check(perspective, kPerspective);
    pageFields.number(scale, kVerticalScale);
    pageFields.number(distance, kViewingDistance);
    pageFields.check(quality, kHighQuality);
    pageFields.check(setDefault, kSetDefault);
    tabFields.check(sx, kSpectrumX);
    tabFields.check(sy, kSpectrumY);
    tabFields.check(sz, kSpectrumZ);
    tabFields.list(maps, kColormap);
    tabFields.number(shininess, kShininess);
    tabFields.number(transparency, kTransparency);
    tabFields.number(offset, kOffset);
    setTabs(tabs, true);
}

FieldValues AdvancedPage::ReadPage()
{
    FieldValues v(kPageSlots);
    ReadFields(sheet_.control(), kControlFields, v);
    v[kSetDefault] = FieldValue(0.0);
    return v;
}

void AdvancedPage::WritePage(const FieldRecord& record)
{
    WriteFields(sheet_.control(), kControlFields, record);
    if (record.now[kSetDefault].number != 0.0) {
        platform::Variant hq(record.now[kHighQuality].number != 0.0);
        platform::Variant ok = sheet_.control().invoke("SetDefaultHighQualityPrinting",
                                                        platform::InvokeKind::Method, std::span(&hq, 1));
        if (!ok.toBool())
            sheet_.Tell(QStringLiteral("The default printing quality could not be saved."));
    }
}

int AdvancedPage::TabCount() const
{
    return sheet_.modelCount();
}

FieldValues AdvancedPage::ReadTab(int tab)
{
    platform::Dispatch& model = sheet_.model(tab);
    FieldValues v(kTabSlots);
    ReadFields(model, kModelFields, v);
    v[kTransparency] = FieldValue(double(TransparencyOf(ReadColor(model, "PolygonColor"))));
    return v;
}

void AdvancedPage::WriteTab(int tab, const FieldRecord& record)
{
    platform::Dispatch& model = sheet_.model(tab);
    WriteFields(model, kModelFields, record);
    if (record.changed(kTransparency)) {
        // Only the alpha: red, green and blue stay as the model holds them.
        std::uint32_t color = ReadColor(model, "PolygonColor");
        std::uint32_t alpha = AlphaOf(int(std::lround(record.now[kTransparency].number)));
        color = (color & 0xFFFFFFu) | alpha << 24;
        model.put("PolygonColor", platform::Variant::fromInt32(std::int32_t(color)));
    }
}

} // namespace halvex
