#include "plot/dialog/color_button.h"

#include "plot/dialog/swatch_colors.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QWidgetAction>

namespace halvex {

namespace {

QColor colorOf(std::uint32_t packed)
{
    return QColor(int(packed & 0xFF), int(packed >> 8 & 0xFF), int(packed >> 16 & 0xFF));
}

std::uint32_t packedOf(const QColor& c)
{
    return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

QIcon swatchIcon(const QColor& c, QSize size)
{
    QPixmap p(size);
    p.fill(c);
    QPainter painter(&p);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(p);
}

} // namespace

ColorButton::ColorButton(QWidget* parent) : QToolButton(parent)
{
    setIconSize(QSize(32, 14));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setArrowType(Qt::NoArrow);
    setFocusPolicy(Qt::StrongFocus);
    setValue(0);
    connect(this, &QToolButton::clicked, this, [this] { openMenu(); });
}

void ColorButton::setValue(std::uint32_t packed)
{
    value_ = packed;
    setIcon(swatchIcon(colorOf(packed), iconSize()));
}

void ColorButton::choose(std::uint32_t rgb)
{
    setValue((value_ & 0xFF000000u) | (rgb & 0xFFFFFFu));
    if (onPicked)
        onPicked();
}

QMenu* ColorButton::makeMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    auto* grid = new QWidget(menu);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    int k = 0;
    for (const SwatchColor& s : kSwatchColors) {
        auto* b = new QToolButton(grid);
        b->setAutoRaise(true);
        b->setIconSize(QSize(16, 16));
        b->setIcon(swatchIcon(colorOf(s.rgb), QSize(16, 16)));
        b->setToolTip(QString::fromLatin1(s.name));
        b->setAccessibleName(QString::fromLatin1(s.name));
        b->setObjectName(QString::fromLatin1(s.name));
        const std::uint32_t rgb = s.rgb;
        connect(b, &QToolButton::clicked, menu, [this, menu, rgb] {
            menu->close();
            choose(rgb);
        });
        layout->addWidget(b, k / kSwatchColumns, k % kSwatchColumns);
        ++k;
    }
    auto* swatches = new QWidgetAction(menu);
    swatches->setDefaultWidget(grid);
    menu->addAction(swatches);
    menu->addSeparator();
    menu->addAction(QStringLiteral("&More Colors..."), this, [this] { moreColors(); });
    return menu;
}

void ColorButton::openMenu()
{
    QMenu* menu = makeMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(mapToGlobal(QPoint(0, height())));
}

void ColorButton::moreColors()
{
    QColor c = QColorDialog::getColor(colorOf(value_), this, QStringLiteral("Color"));
    if (c.isValid())
        choose(packedOf(c));
}

} // namespace halvex
